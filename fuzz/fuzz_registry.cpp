// A registry store file as found on disk, damaged or hand-edited: every key and value reads;
// a new value either is refused with the file left as it was, or keeps every key and value
// that was there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "FuzzFiles.h"
#include "platform/core/Registry.h"

namespace {

using Values = std::map<std::string, std::pair<std::uint32_t, std::vector<unsigned char>>>;

// Every value below the key, by "key\name"; the walk is bounded so that a deep store stays fast.
void Collect(const std::string& key, Values& out, int depth)
{
    using namespace vyn;
    if (depth > 16) return;
    std::vector<std::string> names;
    if (RegEnumValues(HKEY_CURRENT_USER, key, names) == ERROR_SUCCESS)
        for (const std::string& n : names) {
            std::uint32_t type = 0;
            std::vector<unsigned char> data;
            if (RegQueryValue(HKEY_CURRENT_USER, key, n, &type, data) != ERROR_SUCCESS) std::abort();
            out.emplace(key + "\\" + n, std::make_pair(type, data));
        }
    std::vector<std::string> keys;
    if (RegEnumKeys(HKEY_CURRENT_USER, key, keys) == ERROR_SUCCESS)
        for (const std::string& k : keys) Collect(key.empty() ? k : key + "\\" + k, out, depth + 1);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VYN_CONFIG_DIR", vyn::fuzz::ScratchFolder().c_str(), 1);
    mkdir((vyn::fuzz::ScratchFolder() + "/registry").c_str(), 0700);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string path = RegistryFilePath(HKEY_CURRENT_USER);
    const std::string name = path.substr(path.rfind('/') + 1);
    fuzz::PutFile(("registry/" + name).c_str(), data, size);
    Values before;
    Collect("", before, 0);
    const std::string original = fuzz::ReadFile(path);
    const char text[] = "fuzz";
    if (RegCreateKey(HKEY_CURRENT_USER, "Vyn Fuzz\\Key") != ERROR_SUCCESS ||
        RegSetValue(HKEY_CURRENT_USER, "Vyn Fuzz\\Key", "v", REG_SZ, text, sizeof text) != ERROR_SUCCESS) {
        if (!RegKeyExists(HKEY_CURRENT_USER, "Vyn Fuzz\\Key") && fuzz::ReadFile(path) != original) std::abort();
        return 0;
    }
    Values after;
    Collect("", after, 0);
    for (const auto& [where, value] : before) {
        auto it = after.find(where);
        if (it == after.end() || it->second != value) std::abort();
    }
    return 0;
}
