#pragma once

#include <string>
#include <string_view>

namespace vyn {

// Case-insensitive comparison and lowering of the ASCII letters only: names in files,
// profiles, the registry and expressions compare this way whatever the process locale is,
// and bytes of UTF-8 characters are never changed.
bool EqualsNoCase(std::string_view a, std::string_view b);
char LowerAsciiChar(char c);
std::string LowerAscii(std::string_view text);

}  // namespace vyn
