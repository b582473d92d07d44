#include "platform/core/ConfigDir.h"

#include <cerrno>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyn {

namespace {
std::string NonEmptyEnv(const char* name)
{
    const char* v = std::getenv(name);
    return (v && *v) ? std::string(v) : std::string();
}

std::string HomeDir()
{
    std::string home = NonEmptyEnv("HOME");
    if (!home.empty()) return home;
    if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) return pw->pw_dir;
    return ".";
}
}  // namespace

std::string ConfigDir()
{
    if (std::string dir = NonEmptyEnv("VYN_CONFIG_DIR"); !dir.empty()) return dir;
    if (std::string xdg = NonEmptyEnv("XDG_CONFIG_HOME"); !xdg.empty()) return xdg + "/vyn";
    return HomeDir() + "/.config/vyn";
}

bool MakeDirectories(const std::string& path)
{
    if (path.empty()) return false;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirectories(path.substr(0, slash))) return false;
    if (::mkdir(path.c_str(), 0755) == 0 || errno == EEXIST) return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
    return false;
}

}  // namespace vyn
