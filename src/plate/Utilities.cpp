#include "plate/Utilities.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>

#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"

namespace vyn {

namespace {
int Letters(char* buffer, int index, char a)
{
    if (!buffer) return 0;
    if (index < 0 || index > 701) {
        buffer[0] = '\0';
        return 0;
    }
    int len = 0;
    if (index >= 26) buffer[len++] = static_cast<char>(a + index / 26 - 1);
    buffer[len++] = static_cast<char>(a + index % 26);
    buffer[len] = '\0';
    return len;
}

bool IsLetter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
}  // namespace

int IndexToLetters(char* buffer, int index)
{
    return Letters(buffer, index, 'A');
}

int IndexToLettersLower(char* buffer, int index)
{
    return Letters(buffer, index, 'a');
}

std::string IndexToLetters(int index)
{
    char buf[3];
    return std::string(buf, static_cast<std::size_t>(IndexToLetters(buf, index)));
}

int IndexToNumberText(char* buffer, int index)
{
    if (!buffer) return 0;
    auto res = std::to_chars(buffer, buffer + 11, static_cast<long long>(index) + 1);
    *res.ptr = '\0';
    return static_cast<int>(res.ptr - buffer);
}

const char* IndexToLettersStatic(int index)
{
    static char buf[3];
    IndexToLetters(buf, index);
    return buf;
}

const char* IndexToNumberTextStatic(int index)
{
    static char buf[12];
    IndexToNumberText(buf, index);
    return buf;
}

bool NormalizeDefinitionName(const std::string& prefix, int i, std::string& name)
{
    std::string kept;
    for (char c : name) {
        if (kept.size() >= 31) break;
        if (IsLetter(c) || (IsDigit(c) && !kept.empty())) kept += c;
    }
    bool automatic = kept.empty();
    if (!automatic && kept.compare(0, prefix.size(), prefix) == 0) {
        automatic = true;
        for (std::size_t k = prefix.size(); k < kept.size(); ++k)
            if (!IsDigit(kept[k])) automatic = false;
    }
    // Automatic names follow the position so that they stay numbered in list order.
    if (automatic) kept = prefix + std::to_string(i + 1);
    if (kept == name) return false;
    name = kept;
    return true;
}

bool NormalizeDefinitionNames(const std::string& prefix, TwostrArray& list)
{
    bool changed = false;
    for (std::size_t i = 0; i < list.size(); ++i)
        changed = NormalizeDefinitionName(prefix, static_cast<int>(i), list[i].name) || changed;
    return changed;
}

double MinOfValues(double start, const double* values, int n)
{
    double r = start;
    for (int i = 0; values && i < n; ++i) {
        if (r == NoValue || (values[i] != NoValue && values[i] < r)) r = values[i];
    }
    return r;
}

double MaxOfValues(double start, const double* values, int n)
{
    double r = start;
    for (int i = 0; values && i < n; ++i) {
        if (r == NoValue || (values[i] != NoValue && values[i] > r)) r = values[i];
    }
    return r;
}

std::string DoubleToText(double value)
{
    if (value == NoValue) return std::string();
    char buf[40];
    // to_chars with a precision is printf's %.16g in the "C" locale.
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 16);
    return std::string(buf, res.ptr);
}

double TextToDouble(const std::string& text)
{
    double v = 0;
    return ReadCDouble(text.c_str(), v) ? v : NoValue;
}

bool ChangesAsText(double value)
{
    return TextToDouble(DoubleToText(value)) != value;
}

std::int32_t DoubleToInt32(double value)
{
    if (std::isnan(value)) return 0;
    if (value <= static_cast<double>(std::numeric_limits<std::int32_t>::min()))
        return std::numeric_limits<std::int32_t>::min();
    if (value >= static_cast<double>(std::numeric_limits<std::int32_t>::max()))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

bool EqualNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    auto fold = [](std::string_view s, std::size_t i) -> unsigned {
        unsigned c = static_cast<unsigned char>(s[i]);
        if (c >= 'A' && c <= 'Z') return c + 32;
        // The second byte of a UTF-8 Latin-1 capital (U+00C0..U+00DE except U+00D7).
        if (i > 0 && static_cast<unsigned char>(s[i - 1]) == 0xC3 && c >= 0x80 && c <= 0x9E && c != 0x97)
            return c + 32;
        return c;
    };
    for (std::size_t i = 0; i < a.size(); ++i)
        if (fold(a, i) != fold(b, i)) return false;
    return true;
}

void TrimRight(char* text)
{
    if (!text) return;
    std::size_t n = std::strlen(text);
    while (n > 0 && text[n - 1] == ' ') --n;
    text[n] = '\0';
}

void TrimTrailingBlanks(std::string& text)
{
    while (!text.empty() && text.back() == ' ') text.pop_back();
}

unsigned char XorBytes(const unsigned char* bytes, int n)
{
    unsigned char r = 0;
    for (int i = 0; bytes && i < n; ++i) r ^= bytes[i];
    return r;
}

unsigned char CombineNibbles(char first, char second)
{
    return static_cast<unsigned char>((static_cast<unsigned char>(first) << 4) | (static_cast<unsigned char>(second) & 0x0F));
}

}  // namespace vyn
