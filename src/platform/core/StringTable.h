#pragma once
#include <cstddef>
#include <string>

namespace vyn {

// Looks an id up in the compiled string table; nullptr when the table lacks it.
const char* FindResString(int id);

// The text of a string-table entry, at most 1023 bytes, in the shared buffer gResText.
// Valid until the next call. An id that the table lacks gives the empty text.
const char* GetResString(int id);
inline const char* LoadResString(int id) { return GetResString(id); }

// Copies the text into the caller's buffer (cut to size - 1 bytes, always terminated);
// an id the table lacks gives the empty text. Returns the buffer.
char* GetResStringBuf(int id, char* buffer, int size);
std::string GetResStringStd(int id);

// Formats the entry with one text argument for its "%s" ("%%" gives '%'); the result,
// cut to 255 bytes, lives in the shared 256-byte buffer gResFmtText until the next call.
const char* FormatResString(int id, const char* arg);

// Formats any printf-like text with one text argument, the same way, without a length limit.
std::string FormatWithArg(const char* pattern, const char* arg);

// A command's hint entry holds "status text\ntool tip"; an entry without '\n' serves as both.
std::string StatusHintPart(const std::string& entry);
std::string ToolTipPart(const std::string& entry);

// Cuts a UTF-8 text to at most maxBytes bytes without splitting a character.
std::string CutUtf8(const std::string& text, std::size_t maxBytes);

// Copies the text into a caller's buffer of size bytes, cut with CutUtf8 to size - 1 bytes and
// always terminated; returns the number of bytes copied (0 for no buffer or size <= 0).
int CopyTextToBuffer(const std::string& text, char* buffer, int size);

}  // namespace vyn
