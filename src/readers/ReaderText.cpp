#include "readers/ReaderText.h"

namespace vyn {

namespace {
constexpr long kSaturate = 100000000L;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
}  // namespace

int ScanIntsAfter(std::string_view text, std::string_view word, int* out, int n)
{
    const std::size_t at = text.find(word);
    if (at == std::string_view::npos) return 0;
    std::size_t i = at + word.size();
    int read = 0;
    while (read < n) {
        while (i < text.size() && IsBlank(text[i])) ++i;
        bool negative = false;
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
        if (i >= text.size() || !IsDigit(text[i])) break;
        long v = 0;
        while (i < text.size() && IsDigit(text[i])) {
            if (v < kSaturate) v = v * 10 + (text[i] - '0');
            ++i;
        }
        out[read++] = static_cast<int>(negative ? -v : v);
    }
    return read;
}

bool ParseIntField(std::string_view field, long& value)
{
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) negative = field[i++] == '-';
    if (i >= field.size() || !IsDigit(field[i])) return false;
    long v = 0;
    while (i < field.size() && IsDigit(field[i])) {
        if (v < kSaturate) v = v * 10 + (field[i] - '0');
        ++i;
    }
    while (i < field.size() && field[i] == ' ') ++i;
    if (i != field.size()) return false;
    value = negative ? -v : v;
    return true;
}

int ExtractNumbers(std::string_view text, int* out, int max)
{
    int n = 0;
    std::size_t i = 0;
    while (n < max && i < text.size()) {
        if (!IsDigit(text[i])) {
            ++i;
            continue;
        }
        long v = 0;
        while (i < text.size() && IsDigit(text[i])) {
            if (v < kSaturate) v = v * 10 + (text[i] - '0');
            ++i;
        }
        out[n++] = static_cast<int>(v);
    }
    return n;
}

}  // namespace vyn
