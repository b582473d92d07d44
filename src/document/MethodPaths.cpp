#include "document/MethodPaths.h"

namespace vyn {

namespace {

struct Paths {
    std::string dir;
    std::string library = "VYN.MTW";
    std::string temp = "VYN.MT~";
};

Paths& ThePaths()
{
    static Paths paths;
    return paths;
}

}  // namespace

void SetSysFilesDir(const std::string& dir)
{
    Paths& p = ThePaths();
    p.dir = dir;
    std::string prefix = dir;
    if (!prefix.empty() && prefix.back() != '/') prefix += '/';
    p.library = prefix + "VYN.MTW";
    p.temp = prefix + "VYN.MT~";
}

const std::string& GetSysFilesDir()
{
    return ThePaths().dir;
}

const std::string& GetMtwFilePath()
{
    return ThePaths().library;
}

const std::string& GetMtwTempPath()
{
    return ThePaths().temp;
}

}  // namespace vyn
