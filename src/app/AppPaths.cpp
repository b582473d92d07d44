#include "app/AppPaths.h"

#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

#include "document/MethodPaths.h"
#include "plate/Profile.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ConfigDir.h"
#include "platform/core/ResFiles.h"

namespace vyn {

namespace {
std::string gDataDir, gSysDir, gMrw, gMrwTemp, gLastPlate;
const std::string kHelpFile = "help/vyn.html";

bool IsDir(const std::string& p)
{
    struct stat st {};
    return !p.empty() && ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string RegDir(const char* name)
{
    char buf[4096];
    if (RegReadValue(HKEY_LOCAL_MACHINE, kSetupKey, name, buf, sizeof buf) <= 1) return {};
    std::string dir = buf;
    return IsDir(dir) ? dir : std::string();
}

}  // namespace

std::string CurrentDirectory()
{
    char* dir = ::getcwd(nullptr, 0);
    if (!dir) return ".";
    std::string out = dir;
    std::free(dir);
    return out;
}

std::string JoinPath(const std::string& dir, const std::string& name)
{
    std::string d = dir.empty() ? std::string(".") : dir;
    if (d.back() != '/') d += '/';
    return d + name;
}

std::string DefaultDataDir()
{
    if (const char* v = std::getenv("VYN_DATA_DIR"); v && *v) return v;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : ".") + "/.local/share/vyn";
}

void InitAppPaths()
{
    // The environment names the data folder for this run whatever the last run stored.
    const char* env = std::getenv("VYN_DATA_DIR");
    std::string data = env && *env ? std::string() : RegDir("IniDataDir");
    if (data.empty()) {
        data = DefaultDataDir();
        MakeDirectories(data);
    }
    if (IsDir(data) && ::chdir(data.c_str()) == 0) gDataDir = CurrentDirectory();
    else gDataDir = CurrentDirectory();
    std::string sys = RegDir("SysFilesDir");
    if (sys.empty()) sys = gDataDir;
    gSysDir = sys;
    SetSysFilesDir(gSysDir);
    gMrw = JoinPath(gSysDir, "VYN.MRW");
    gMrwTemp = JoinPath(gSysDir, "VYN.MR~");
    gLastPlate = JoinPath(gSysDir, "__LAST__.PLT");
}

void SaveIniDataDir()
{
    const std::string dir = CurrentDirectory();
    if (!dir.empty()) RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, "IniDataDir", dir.c_str());
}

const std::string& GetDataDir() { return gDataDir; }
const std::string& GetSysDir() { return gSysDir; }
const std::string& GetMrwFilePath() { return gMrw; }
const std::string& GetMrwTempPath() { return gMrwTemp; }
const std::string& GetLastPlatePath() { return gLastPlate; }
const std::string& GetHelpFilePath() { return kHelpFile; }

int InstallDemoData()
{
    struct stat st {};
    const std::string library = GetMtwFilePath();
    if (::stat(library.c_str(), &st) == 0) return 0;  // not the first start
    int written = 0;
    const std::pair<const char*, std::string> files[] = {
        {"demo/VYN.MTW", library},
        {"demo/Demo.plt", JoinPath(gDataDir.empty() ? CurrentDirectory() : gDataDir, "Demo.plt")},
    };
    for (const auto& [res, target] : files) {
        std::string bytes;
        if (::stat(target.c_str(), &st) == 0 || !ReadResFile(res, bytes)) continue;
        const std::size_t slash = target.find_last_of('/');
        if (slash != std::string::npos && slash > 0) MakeDirectories(target.substr(0, slash));
        if (!WriteFileAtomic(target, bytes)) return -1;
        ++written;
    }
    return written;
}

}  // namespace vyn
