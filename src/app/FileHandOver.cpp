#include "app/FileHandOver.h"

#include "platform/core/AtomicFile.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace vyn {

std::vector<THandOverRecord> CommandLineRecords(const std::string& commandLine)
{
    std::vector<THandOverRecord> out;
    if (commandLine.empty()) return out;
    out.push_back({kHandOverBegin, true, commandLine});
    const std::size_t n = commandLine.size();
    std::size_t pos = 0;
    while (pos < n) {
        if (commandLine[pos] == ' ') {
            ++pos;
            continue;
        }
        std::string name;
        bool quoted = false;
        while (pos < n && commandLine[pos] != ' ') {
            if (commandLine[pos] != '"') {
                name += commandLine[pos++];
                continue;
            }
            // A quoted stretch: blanks belong to the name, \" and \\ stand for " and \.
            quoted = true;
            ++pos;
            while (pos < n && commandLine[pos] != '"') {
                if (commandLine[pos] == '\\' && pos + 1 < n && (commandLine[pos + 1] == '"' || commandLine[pos + 1] == '\\'))
                    ++pos;
                name += commandLine[pos++];
            }
            if (pos < n) ++pos;  // the closing quote; an unclosed one runs to the end
        }
        if (!name.empty()) out.push_back({quoted ? kHandOverWholeName : kHandOverTokenName, true, name});
    }
    out.push_back({kHandOverEnd, false, {}});
    return out;
}

std::string QuoteArgument(const std::string& name)
{
    if (name.find_first_of(" \"") == std::string::npos) return name;
    std::string out = "\"";
    for (char c : name) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

std::vector<THandOverRecord> SecondStartRecords(const std::string& commandLine)
{
    std::vector<THandOverRecord> out = CommandLineRecords(commandLine);
    if (out.empty()) out.push_back({kHandOverBegin, false, {}});
    return out;
}

std::vector<THandOverRecord> DropRecords(const std::vector<std::string>& names)
{
    std::vector<THandOverRecord> out;
    out.push_back({kHandOverBegin, false, {}});
    for (const auto& n : names)
        if (!n.empty()) out.push_back({kHandOverWholeName, true, n});
    out.push_back({kHandOverEnd, false, {}});
    return out;
}

std::string JoinArguments(int argc, char** argv, const std::string& startDir)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i] ? argv[i] : "";
        if (a.empty()) continue;
        // The running instance and the program after its set-up work in other folders.
        if (a[0] != '/' && !startDir.empty()) a = startDir + (startDir.back() == '/' ? "" : "/") + a;
        // "./B.plt" or "../data/A.plt" names the file an open document may hold under its
        // plain name; its window shows the plain name too.
        if (a[0] == '/') a = FilePathIdentity(a);
        if (!line.empty()) line += ' ';
        line += QuoteArgument(a);
    }
    return line;
}

TFileDrop::TFileDrop(bool wholeName, const std::string& name)
    : wholeName_(wholeName), name_(name)
{
}

bool ResolveShortcut(std::string& name)
{
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return false;
    char* target = ::realpath(name.c_str(), nullptr);
    if (!target) return false;
    name = target;
    std::free(target);
    return true;
}

void TFileDrop::ResolveDroppedName()
{
    ResolveShortcut(name_);
}

}  // namespace vyn
