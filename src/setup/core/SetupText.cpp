#include "setup/core/SetupText.h"

#include <cstring>
#include <system_error>

namespace vyn {

void TrimSpaces(std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    std::size_t last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
}

void TrimAndAddSlash(std::string& text)
{
    TrimSpaces(text);
    if (text.empty() || text.back() != '/') text += '/';
}

void EnsureTrailingSlash(std::string& text)
{
    if (!text.empty() && text.back() != '/') text += '/';
}


std::string FileNameOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

namespace {

// Code points of 0x80..0x9F in Windows-1252; the five bytes it leaves undefined keep their
// C1 value, so that nothing is lost.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

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

// Length of the well-formed UTF-8 sequence at pos, or 0.
std::size_t Utf8SequenceAt(std::string_view s, std::size_t pos)
{
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    unsigned char c = byte(pos);
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        len = 3;
        if (c == 0xE0) lo = 0xA0;
        if (c == 0xED) hi = 0x9F;  // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        len = 4;
        if (c == 0xF0) lo = 0x90;
        if (c == 0xF4) hi = 0x8F;
    } else {
        return 0;
    }
    if (pos + len > s.size()) return 0;
    if (byte(pos + 1) < lo || byte(pos + 1) > hi) return 0;
    for (std::size_t i = 2; i < len; ++i)
        if (byte(pos + i) < 0x80 || byte(pos + i) > 0xBF) return 0;
    return len;
}

}  // namespace

std::string Utf8FromLegacyBytes(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t i = 0;
    while (i < bytes.size()) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        if (std::size_t n = Utf8SequenceAt(bytes, i)) {
            out.append(bytes.substr(i, n));
            i += n;
            continue;
        }
        AppendUtf8(out, c < 0xA0 ? kCp1252High[c - 0x80] : c);
        ++i;
    }
    return out;
}

std::string FormatTexts(const std::string& pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
        } else if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next != args.end()) out.append(*next++);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

}  // namespace vyn
