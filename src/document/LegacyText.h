#pragma once
// Texts of files written by older installations may be in the Windows Western code page.
#include <string>

namespace vyn {

// True when text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(const std::string& text);

// UTF-8 text unchanged; anything else read byte by byte as Windows-1252 and given as UTF-8.
std::string TextFromFile(const std::string& text);

}  // namespace vyn
