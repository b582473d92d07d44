#pragma once
// Small text routines of the installer.
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/core/AsciiText.h"

namespace vyn {

// Removes leading and trailing blanks (only the space character).
void TrimSpaces(std::string& text);
// Trims and then appends a '/' unless the text already ends with one (an empty text becomes "/").
void TrimAndAddSlash(std::string& text);
// Appends a '/' unless the text is empty or already ends with one.
void EnsureTrailingSlash(std::string& text);

// The part after the last '/', or the whole text when it has none.
std::string FileNameOf(const std::string& path);
// The part up to and including the last '/', or the empty text.
std::string FolderOf(const std::string& path);

// Fills the "%s" of a pattern with the arguments in order ("%%" gives '%'); a "%s" without an
// argument stays empty.
std::string FormatTexts(const std::string& pattern, std::initializer_list<std::string_view> args);

// The system's text for an errno value.
std::string SystemErrorText(int error);

}  // namespace vyn
