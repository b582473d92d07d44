#include "evaluator/NumFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

#include "evaluator/NoValue.h"

namespace vyn {

char gDecimalChar = '.';
char gNumText[28];
int gNumTextLen = 0;

namespace {

// The longest text FormatDouble may produce before its terminating zero.
constexpr int kPlainLimit = 25;

// The n-digit decimal rounding of |value|: value = 0.D x 10^e.
struct Digits {
    char d[24];
    int n = 0;
    int e = 0;
};

Digits MakeDigits(double value, int n)
{
    Digits r;
    n = std::clamp(n, 1, 17);
    char buf[40];
    // Scientific to_chars gives a correctly rounded d.ddd...e±XX whatever the locale.
    auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::scientific, n - 1);
    const char* p = buf;
    r.n = 0;
    for (; p < res.ptr && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') r.d[r.n++] = *p;
    int exp10 = 0;
    if (p < res.ptr) std::from_chars(p[1] == '+' ? p + 2 : p + 1, res.ptr, exp10);
    r.e = exp10 + 1;
    r.d[r.n] = '\0';
    return r;
}

class Writer {
public:
    void Put(char c)
    {
        if (len_ < static_cast<int>(sizeof gNumText) - 1) gNumText[len_++] = c;
    }
    void Put(const char* s, int n)
    {
        for (int i = 0; i < n; ++i) Put(s[i]);
    }
    void PutExponent(int exp)
    {
        if (exp >= 0) Put('+');
        char buf[12];
        auto res = std::to_chars(buf, buf + sizeof buf, exp);
        Put(buf, static_cast<int>(res.ptr - buf));
    }
    const char* Finish()
    {
        gNumText[len_] = '\0';
        gNumTextLen = len_;
        return gNumText;
    }

private:
    int len_ = 0;
};

int ExponentTextLength(int exp)
{
    char buf[12];
    auto res = std::to_chars(buf, buf + sizeof buf, exp);
    return static_cast<int>(res.ptr - buf) + (exp >= 0 ? 1 : 0);
}

const char* FormatGeneral(Writer& w, Digits dg, bool negative, double value)
{
    if (value == 0) {
        w.Put('0');
        return w.Finish();
    }
    int k = dg.n;
    while (k > 1 && dg.d[k - 1] == '0') --k;
    const int e = dg.e;
    const int sign = negative ? 1 : 0;
    int plain;
    if (e >= k)
        plain = e + sign;
    else if (e > 0)
        plain = k + sign + 1;
    else
        plain = k - e + sign + 2;

    if (negative) w.Put('-');
    if (plain <= kPlainLimit) {
        if (e >= k) {
            w.Put(dg.d, k);
            for (int i = k; i < e; ++i) w.Put('0');
        } else if (e > 0) {
            w.Put(dg.d, e);
            w.Put(gDecimalChar);
            w.Put(dg.d + e, k - e);
        } else {
            w.Put('0');
            w.Put(gDecimalChar);
            for (int i = 0; i < -e; ++i) w.Put('0');
            w.Put(dg.d, k);
        }
        return w.Finish();
    }
    // Exponent form; drop mantissa digits from the end rather than pass the limit.
    const int fixedPart = sign + 1 + 1 + ExponentTextLength(e - 1);
    int mantissa = k - 1;
    if (mantissa > 0 && fixedPart + 1 + mantissa > kPlainLimit) mantissa = std::max(0, kPlainLimit - fixedPart - 1);
    w.Put(dg.d[0]);
    if (mantissa > 0) {
        w.Put(gDecimalChar);
        w.Put(dg.d + 1, mantissa);
    }
    w.Put('e');
    w.PutExponent(e - 1);
    return w.Finish();
}

const char* FormatScientific(Writer& w, const Digits& dg, bool negative, int decimals)
{
    if (negative) w.Put('-');
    w.Put(dg.d[0]);
    if (decimals > 0) {
        w.Put(gDecimalChar);
        w.Put(dg.d + 1, dg.n - 1);
        for (int i = dg.n - 1; i < decimals; ++i) w.Put('0');
    }
    w.Put('e');
    w.PutExponent(dg.e - 1);
    return w.Finish();
}

// Second rounding, half up, on the digit text: the result of a display is what the digits
// say, so 2.345 shown with two places is 2.35 although the double lies just below.
const char* FormatFixed(Writer& w, Digits dg, bool negative, int decimals)
{
    std::string d(dg.d, static_cast<std::size_t>(dg.n));
    int e = dg.e;
    const int p = e + decimals;
    if (p >= 0 && p < dg.n) {
        const bool up = d[static_cast<std::size_t>(p)] >= '5';
        d.resize(static_cast<std::size_t>(p));
        if (up) {
            int i = p - 1;
            while (i >= 0 && d[static_cast<std::size_t>(i)] == '9') d[static_cast<std::size_t>(i--)] = '0';
            if (i >= 0)
                ++d[static_cast<std::size_t>(i)];
            else {
                d.insert(d.begin(), '1');
                ++e;
            }
        }
    }
    const int len = static_cast<int>(d.size());
    auto digitAt = [&](int i) { return (i >= 0 && i < len) ? d[static_cast<std::size_t>(i)] : '0'; };

    if (negative) w.Put('-');
    if (e <= 0)
        w.Put('0');
    else
        for (int i = 0; i < e; ++i) w.Put(digitAt(i));
    if (decimals > 0) {
        w.Put(gDecimalChar);
        for (int j = 0; j < decimals; ++j) w.Put(digitAt(e + j));
    }
    return w.Finish();
}

}  // namespace

int QNumFormat::SetMode(int value)
{
    if (value < nmGeneral || value > nmFixed) value = nmGeneral;
    if (mode == value) return 0;
    mode = value;
    return 1;
}

int QNumFormat::SetDigits(int value)
{
    if (value < 0 || value > 15) value = 0;
    if (digits == value) return 0;
    digits = value;
    return 1;
}

int QNumFormat::SetDecimals(int value)
{
    value = std::clamp(value, 0, 15);
    if (decimals == value) return 0;
    decimals = value;
    return 1;
}

const char* FormatDouble(double value, int mode, int decimals, int digits, int missingFlag)
{
    Writer w;
    if (value == NoValue) {
        if (missingFlag) w.Put('#');
        return w.Finish();
    }
    if (std::isnan(value) || std::isinf(value)) {
        w.Put(std::isnan(value) ? "nan" : "-inf", std::isnan(value) ? 3 : 4);
        return w.Finish();
    }
    // Formats built from stored text are unchecked; out-of-range fields must not be able
    // to overrun the result buffer.
    decimals = std::clamp(decimals, 0, 15);
    int n = (digits <= 0 || digits > 15) ? 15 : digits;
    if (mode == nmScientific && decimals + 1 < n) n = decimals + 1;

    const Digits dg = MakeDigits(value, n);
    const bool negative = value < 0;

    if (mode == nmScientific) return FormatScientific(w, dg, negative, decimals);
    if (mode == nmFixed) {
        const int width = (decimals > 0 ? decimals + 1 : 0) + std::max(dg.e, 1) + (negative ? 1 : 0);
        if (width <= kPlainLimit) return FormatFixed(w, dg, negative, decimals);
    }
    return FormatGeneral(w, dg, negative, value);
}

bool ReadCDouble(const char* text, double& value, const char** end)
{
    return ScanNumber(text, '.', value, end);
}

double ParseDouble(const char* text, const char** end)
{
    double value = NoValue;
    return ScanNumber(text, gDecimalChar, value, end) ? value : NoValue;
}

double RoundToSignificant(double value, int n)
{
    if (n == 0 || value == NoValue || !std::isfinite(value)) return value;
    const Digits dg = MakeDigits(value, n);
    // Written as d.ddd e(x) and read back, so the result is the double nearest the digits.
    int len = 0;
    if (value < 0) gNumText[len++] = '-';
    gNumText[len++] = dg.d[0];
    if (dg.n > 1) {
        gNumText[len++] = '.';
        std::memcpy(gNumText + len, dg.d + 1, static_cast<std::size_t>(dg.n - 1));
        len += dg.n - 1;
    }
    gNumText[len++] = 'e';
    auto res = std::to_chars(gNumText + len, gNumText + sizeof gNumText - 1, dg.e - 1);
    *res.ptr = '\0';
    double out = value;
    ScanNumber(gNumText, '.', out, nullptr);
    return out;
}

int DiffersFromText(double value)
{
    FormatDouble(value, nmGeneral, 0, 0, 0);
    return ParseDouble(gNumText) != value ? 1 : 0;
}

}  // namespace vyn
