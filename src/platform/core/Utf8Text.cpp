#include "platform/core/Utf8Text.h"

namespace vyn {

namespace {

// 0x80..0x9F of Windows-1252.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::size_t Utf8SequenceAt(std::string_view s, std::size_t pos)
{
    if (pos >= s.size()) return 0;
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const unsigned char c = byte(pos);
    if (c < 0x80) return 1;
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;  // no overlong forms
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
    } else {
        return 0;
    }
    if (len > s.size() - pos) return 0;
    if (byte(pos + 1) < lo || byte(pos + 1) > hi) return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) return 0;
    return len;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = Utf8SequenceAt(text, i);
        if (n == 0) return false;
        i += n;
    }
    return true;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char32_t Cp1252CodePoint(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

std::string TextFromFile(const std::string& text)
{
    if (IsValidUtf8(text)) return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (char ch : text) AppendUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(ch)));
    return out;
}

std::string Utf8FromLegacyBytes(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size();) {
        if (const std::size_t n = Utf8SequenceAt(bytes, i)) {
            out.append(bytes.substr(i, n));
            i += n;
            continue;
        }
        AppendUtf8(out, Cp1252CodePoint(static_cast<unsigned char>(bytes[i])));
        ++i;
    }
    return out;
}

std::string WithoutUnstorableControls(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char ch : text)
        if (!IsUnstorableControl(static_cast<unsigned char>(ch))) out += ch;
    return out;
}

}  // namespace vyn
