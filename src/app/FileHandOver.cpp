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
    const std::size_t quote = commandLine.find('"');
    if (quote != std::string::npos) {
        const std::size_t close = commandLine.find('"', quote + 1);
        out.push_back({kHandOverWholeName, true,
                       commandLine.substr(quote + 1, close == std::string::npos ? std::string::npos : close - quote - 1)});
    } else {
        std::size_t pos = 0;
        while (pos < commandLine.size()) {
            std::size_t end = commandLine.find(' ', pos);
            if (end == std::string::npos) end = commandLine.size();
            if (end > pos) out.push_back({kHandOverTokenName, true, commandLine.substr(pos, end - pos)});
            pos = end + 1;
        }
    }
    out.push_back({kHandOverEnd, false, {}});
    return out;
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
        line += a.find(' ') != std::string::npos ? "\"" + a + "\"" : a;
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
