#pragma once
// UTF-8 checks and the conversion of texts written by older installations, which may be in the
// Windows Western code page (Windows-1252).
#include <cstddef>
#include <string>
#include <string_view>

namespace vyn {

// True when text is well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view text);

// Length of the well-formed UTF-8 sequence starting at pos, or 0 when none starts there.
std::size_t Utf8SequenceAt(std::string_view text, std::size_t pos);

// Appends the code point (below U+10000) as UTF-8.
void AppendUtf8(std::string& out, char32_t cp);

// The code point of a Windows-1252 byte; the five bytes it leaves undefined keep their C1 value,
// so that nothing is lost.
char32_t Cp1252CodePoint(unsigned char byte);

// A whole text: kept when it is UTF-8, otherwise read byte by byte as Windows-1252.
std::string TextFromFile(const std::string& text);

// Sequence by sequence: well-formed UTF-8 sequences are kept, every other byte is read as
// Windows-1252 (a file edited by hand can mix both).
std::string Utf8FromLegacyBytes(std::string_view bytes);

// The control bytes that no text of the program's files holds: every byte below 32 but the
// tabulator, which the files write as an escape. The writers drop them, so a text keeping one
// would show it (as a box) and come back from its file without it.
inline bool IsUnstorableControl(unsigned char c) { return c < 32 && c != '\t'; }
// text without those bytes.
std::string WithoutUnstorableControls(std::string_view text);

}  // namespace vyn
