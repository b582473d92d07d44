#pragma once
// Edit texts are read with the cut-off lengths the user knows from the fields: at most so many
// characters, never a character cut in half.
#include <cstddef>
#include <string>

namespace vyn {

// The first maxChars characters (code points) of a UTF-8 text.
inline std::string LimitChars(const std::string& text, std::size_t maxChars)
{
    std::size_t chars = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) continue;
        if (chars == maxChars) return text.substr(0, i);
        ++chars;
    }
    return text;
}

// Without the blanks at its end.
inline std::string TrimRight(std::string text)
{
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
    return text;
}

}  // namespace vyn
