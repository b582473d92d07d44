#include "platform/core/TypedNumbers.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <locale.h>

#include "platform/core/StringTable.h"

namespace vyn {

namespace {

constexpr int kMsgNotANumber = 21340;
constexpr int kMsgNotAWholeNumber = 21343;

locale_t CLocale()
{
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

bool IsCSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// strtod's rules on text whose decimal point is '.', in the "C" locale.
bool ReadPointNumber(const char* text, double& value, const char** end)
{
    const char* p = text;
    while (IsCSpace(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = (*p++ == '-');
    if (*p == '+' || *p == '-') return false;  // from_chars would take a second sign

    const char* last = p + std::strlen(p);
    double v = 0;
    auto res = std::from_chars(p, last, v, std::chars_format::general);
    if (res.ec == std::errc::invalid_argument) return false;
    if (res.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone here; strtod gives the huge value or the
        // underflowed one, which the callers rely on.
        std::string span(p, res.ptr);
        v = strtod_l(span.c_str(), nullptr, CLocale());
    }
    value = negative ? -v : v;
    if (end) *end = res.ptr;
    return true;
}

}  // namespace

bool ScanNumber(const char* text, char decimalChar, double& value, const char** end)
{
    if (end) *end = text;
    if (!text) return false;
    if (decimalChar == '.') return ReadPointNumber(text, value, end);
    std::string copy(text);
    if (auto pos = copy.find(decimalChar); pos != std::string::npos) copy[pos] = '.';
    const char* stop = nullptr;
    if (!ReadPointNumber(copy.c_str(), value, &stop)) return false;
    if (end) *end = text + (stop - copy.c_str());
    return true;
}

TypedNumber ReadTypedNumber(const char* text, char decimalChar, double& value, const char** end)
{
    double v = 0;
    if (!ScanNumber(text, decimalChar, v, end)) {
        value = std::numeric_limits<double>::infinity();
        return tnMissing;
    }
    if (!std::isfinite(v)) return tnNotANumber;
    value = v;
    return tnNumber;
}

TypedNumber ReadTypedWhole(const char* text, int low, int high, int& value)
{
    if (!text) return tnMissing;
    const char* p = text;
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (blank(*p)) ++p;
    if (!*p) return tnMissing;
    bool negative = false;
    if (*p == '+' || *p == '-') negative = *p++ == '-';
    long long v = 0;
    const char* digits = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        v = v * 10 + (*p - '0');
        if (v > (1LL << 40)) return tnNotANumber;  // past any int range
    }
    if (p == digits) return tnNotANumber;
    while (blank(*p)) ++p;
    if (*p) return tnNotANumber;
    if (negative) v = -v;
    if (v < low || v > high) return tnNotANumber;
    value = static_cast<int>(v);
    return tnNumber;
}

std::string NotANumberText(const std::string& typed)
{
    return FormatWithArg(GetResStringStd(kMsgNotANumber).c_str(), CutUtf8(typed, 40).c_str());
}

std::string NotAWholeNumberText(const std::string& typed, const WholeField& field)
{
    // The bounds go into the pattern before the typed text does, so that a "%d" typed is shown
    // as it was typed.
    std::string pattern = GetResStringStd(kMsgNotAWholeNumber);
    for (int bound : {field.low, field.high})
        if (const auto at = pattern.find("%d"); at != std::string::npos) pattern.replace(at, 2, std::to_string(bound));
    return FormatWithArg(pattern.c_str(), CutUtf8(typed, 40).c_str());
}

}  // namespace vyn
