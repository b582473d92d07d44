#pragma once
#include <string>

namespace vyn {

// " 405": a wavelength as the filter lists show it, at least three characters, right-aligned.
std::string FormatFilter(int wavelength);
// A multi-line text for a push button: the line breaks "\r\n" become "\n".
std::string ButtonText(const std::string& text);

}  // namespace vyn
