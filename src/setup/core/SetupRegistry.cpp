#include "setup/core/SetupRegistry.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace vyn {

bool RootKeyFromName(const std::string& text, RegRoot& root)
{
    struct Row {
        const char* name;
        RegRoot root;
    };
    static const Row rows[] = {{"HKCR", HKEY_CLASSES_ROOT}, {"HKCU", HKEY_CURRENT_USER}, {"HKLM", HKEY_LOCAL_MACHINE}, {"HKU", HKEY_USERS}};
    for (const Row& r : rows)
        if (text.compare(0, std::char_traits<char>::length(r.name), r.name) == 0) {
            root = r.root;
            return true;
        }
    return false;
}

std::string ExpandEnvironmentStrings(const std::string& text)
{
    std::string out;
    std::size_t p = 0;
    while (p < text.size()) {
        std::size_t a = text.find('%', p);
        std::size_t b = a == std::string::npos ? a : text.find('%', a + 1);
        if (b == std::string::npos) break;
        out.append(text, p, a - p);
        std::string name = text.substr(a + 1, b - a - 1);
        const char* v = name.empty() ? nullptr : std::getenv(name.c_str());
        if (v) {
            out += v;
            p = b + 1;
        } else {
            out += '%';
            p = a + 1;
        }
    }
    out.append(text, p, std::string::npos);
    return out;
}

std::string ReadRegString(RegRoot root, const std::string& subKey, const std::string& name)
{
    std::uint32_t type = 0;
    std::vector<unsigned char> data;
    if (RegQueryValue(root, subKey, name, &type, data) != ERROR_SUCCESS || data.size() > 260) return {};
    std::string text(data.begin(), data.end());
    if (std::size_t nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    return ExpandEnvironmentStrings(text);
}

long WriteRegString(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text)
{
    return RegSetValue(root, subKey, name, REG_SZ, text.c_str(), text.size() + 1);
}

long WriteRegBinary(RegRoot root, const std::string& subKey, const std::string& name, const void* data, std::size_t size)
{
    return RegSetValue(root, subKey, name, REG_BINARY, data, size);
}

long CreateRegString(RegRoot root, const std::string& subKey, const std::string& name, const std::string& text)
{
    if (long rc = RegCreateKey(root, subKey)) return rc;
    return WriteRegString(root, subKey, name, text);
}

long DeleteRegistryKey(RegRoot root, const std::string& subKey, bool onlyWhenEmpty)
{
    if (!onlyWhenEmpty) return RegDeleteTree(root, subKey);
    long rc = RegDeleteEmptyKey(root, subKey);
    return rc == ERROR_KEY_HAS_CHILDREN ? ERROR_SUCCESS : rc;
}

}  // namespace vyn
