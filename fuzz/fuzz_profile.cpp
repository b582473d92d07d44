// A settings file as found on disk, damaged or hand-edited: every section and key reads;
// writing one new key either is refused (a file that cannot be rewritten safely is left as it
// is) or keeps every value that was there.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>

#include "FuzzFiles.h"
#include "platform/core/ProfileFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string path = fuzz::PutFile("fuzz.ini", data, size);
    ProfileFile file(path);
    std::map<std::pair<std::string, std::string>, std::string> before;
    for (const std::string& section : file.Sections())
        for (const std::string& key : file.Keys(section)) {
            std::string value;
            if (!file.Read(section, key, value)) std::abort();
            before.emplace(std::make_pair(section, key), value);
        }
    const std::string original = fuzz::ReadFile(path);
    if (!file.Write("Vyn fuzz section", "fuzz key", "fuzz value")) {
        if (fuzz::ReadFile(path) != original) std::abort();
        return 0;
    }
    std::string value;
    if (!file.Read("Vyn fuzz section", "fuzz key", value) || value != "fuzz value") std::abort();
    for (const auto& [where, old] : before) {
        if (where.first == "Vyn fuzz section") continue;
        if (!file.Read(where.first, where.second, value) || value != old) std::abort();
    }
    return 0;
}
