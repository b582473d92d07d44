#pragma once
#include <stdexcept>
#include <string>

namespace vyn {

// A floating-point fault met inside a fit (a division by zero, an overflow, a value that is not a
// number). Raised by the fitting routines' own checks; QCalibr::Fit turns it into its failure.
class QNumericFault : public std::runtime_error {
public:
    QNumericFault() : std::runtime_error("numerical fault") {}
};

// The floating-point exceptions that count as faults of a computation.
int CalFaultFlags();

// printf-style "%.<precision>g" text of a double, independent of the process locale.
std::string FormatGeneral(double value, int precision = 6);

// The double that the "%0.16g" text of value reads back as.
double RoundTrip16(double value);

}  // namespace vyn
