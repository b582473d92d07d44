#pragma once
// The clipboard: plain text and the program's own registered formats. A registered format is
// carried under a MIME type made from its name, so that two running copies of the program
// exchange it while other programs leave it alone. Setting data replaces everything the
// clipboard held, as emptying and then setting does.
#include <cstdint>
#include <string>
#include <vector>

namespace vyn::Clipboard {

// The MIME type that stands for a registered format name.
std::string FormatMimeType(const std::string& formatName);

bool SetText(const std::string& text);
// False when the clipboard holds no text.
bool GetText(std::string& text);

// Replaces the clipboard's contents with the bytes under the registered format.
bool SetData(const std::string& formatName, const std::vector<std::uint8_t>& bytes);
bool HasFormat(const std::string& formatName);
// False when the format is not offered; bytes are then left empty.
bool GetData(const std::string& formatName, std::vector<std::uint8_t>& bytes);

void Clear();

}  // namespace vyn::Clipboard
