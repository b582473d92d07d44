#include "platform/core/AsciiText.h"

namespace vyn {

char LowerAsciiChar(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAsciiChar(a[i]) != LowerAsciiChar(b[i])) return false;
    return true;
}

std::string LowerAscii(std::string_view text)
{
    std::string out(text);
    for (char& c : out) c = LowerAsciiChar(c);
    return out;
}

}  // namespace vyn
