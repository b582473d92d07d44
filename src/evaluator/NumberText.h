#pragma once
// Numbers read from and written into expression texts, independent of the process locale:
// the decimal point is always '.'.
#include <cstddef>
#include <string>
#include <string_view>

namespace vyn {

// As printf's "%.<precision>g" in the C locale ("%lg" with the default precision 6).
std::string FormatG(double value, int precision = 6);

// Reads the longest decimal number at the start of text: digits, an optional fraction and an
// optional exponent (e or E, optional sign, digits); no sign, no blanks, no hexadecimal, no
// inf or nan. Returns the count of bytes read (0 when there is no number) and sets value.
// A number too large for a double reads as +infinity, one too small as 0.
std::size_t ScanDecimal(std::string_view text, double& value);

}  // namespace vyn
