#include "calibration/CalNumeric.h"

#include <cfenv>
#include <charconv>
#include <cmath>

namespace vyn {

int CalFaultFlags()
{
    return FE_DIVBYZERO | FE_INVALID | FE_OVERFLOW;
}

std::string FormatGeneral(double value, int precision)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return std::string(buf, res.ptr);
}

double RoundTrip16(double value)
{
    if (std::isnan(value)) return value;
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 16);
    double back = value;
    const char* first = buf;
    // from_chars takes no leading '+', and reads "inf"/"-inf" itself.
    std::from_chars(first, res.ptr, back);
    return back;
}

}  // namespace vyn
