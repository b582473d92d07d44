#include "evaluator/NumberText.h"

#include <charconv>
#include <limits>
#include <system_error>

namespace vyn {

namespace {
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

std::string FormatG(double value, int precision)
{
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, precision);
    return std::string(buf, res.ptr);
}

std::size_t ScanDecimal(std::string_view text, double& value)
{
    const std::size_t n = text.size();
    std::size_t i = 0;
    std::size_t intDigits = 0, fracDigits = 0;
    while (i < n && IsDigit(text[i])) ++i, ++intDigits;
    std::size_t fracStart = i;
    if (i < n && text[i] == '.') {
        fracStart = ++i;
        while (i < n && IsDigit(text[i])) ++i, ++fracDigits;
    }
    if (intDigits + fracDigits == 0) return 0;
    std::size_t mantissaEnd = i;
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool negative = false;
        if (j < n && (text[j] == '+' || text[j] == '-')) negative = text[j++] == '-';
        if (j < n && IsDigit(text[j])) {
            while (j < n && IsDigit(text[j])) {
                if (exponent < 1000000000) exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (negative) exponent = -exponent;
            i = j;
        }
    }

    auto res = std::from_chars(text.data(), text.data() + i, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too large or too small for a double: decide by the position of the first significant
        // digit, as the C library's conversion does (infinity or zero).
        long long magnitude = 0;
        bool found = false;
        for (std::size_t k = 0; k < intDigits; ++k) {
            if (text[k] != '0') {
                magnitude = static_cast<long long>(intDigits - k);
                found = true;
                break;
            }
        }
        if (!found) {
            for (std::size_t k = fracStart; k < mantissaEnd; ++k) {
                if (text[k] != '0') {
                    magnitude = -static_cast<long long>(k - fracStart);
                    found = true;
                    break;
                }
            }
        }
        value = (found && magnitude + exponent > 0) ? std::numeric_limits<double>::infinity() : 0.0;
    } else if (res.ec != std::errc()) {
        value = 0.0;
    }
    return i;
}

}  // namespace vyn
