#include "setup/core/SetupText.h"

#include <cstring>
#include <system_error>

namespace vyn {

void TrimSpaces(std::string& text)
{
    std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return;
    }
    std::size_t last = text.find_last_not_of(' ');
    text = text.substr(first, last - first + 1);
}

void TrimAndAddSlash(std::string& text)
{
    TrimSpaces(text);
    if (text.empty() || text.back() != '/') text += '/';
}

void EnsureTrailingSlash(std::string& text)
{
    if (!text.empty() && text.back() != '/') text += '/';
}


std::string FileNameOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string FolderOf(const std::string& path)
{
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FormatTexts(const std::string& pattern, std::initializer_list<std::string_view> args)
{
    std::string out;
    auto next = args.begin();
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == '%') {
            out += '%';
            ++i;
        } else if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] == 's') {
            if (next != args.end()) out.append(*next++);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::string SystemErrorText(int error) { return std::generic_category().message(error); }

}  // namespace vyn
