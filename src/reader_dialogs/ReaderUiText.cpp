#include "reader_dialogs/ReaderUiText.h"

namespace vyn {

std::string FormatFilter(int wavelength)
{
    std::string s = std::to_string(wavelength);
    if (s.size() < 3) s.insert(0, 3 - s.size(), ' ');
    return s;
}

std::string ButtonText(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    return out;
}

}  // namespace vyn
