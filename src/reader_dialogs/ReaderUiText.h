#pragma once
#include <string>

namespace vyn {

// " 405": a wavelength as the filter lists show it, at least three characters, right-aligned.
std::string FormatFilter(int wavelength);
// The integer at the start of the text after blanks (an optional sign, then digits), as the
// dialogs read typed numbers; 0 when there is none. Values beyond int saturate.
int ParseLeadingInt(const std::string& text);
// A multi-line text for a push button: the line breaks "\r\n" become "\n".
std::string ButtonText(const std::string& text);

}  // namespace vyn
