#include "setup/core/InstallRegistry.h"

#include <cerrno>
#include <charconv>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupRegistry.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

constexpr const char* kVynKey = "Software\\Talvorne\\Vyn";
constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* kDefaultName = "Vyn Immunochemical Processing";

bool ParseNumber(std::string text, std::uint32_t& out)
{
    TrimSpaces(text);
    if (text.empty()) {
        out = 0;
        return true;
    }
    int base = 10;
    std::size_t skip = 0;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        skip = 2;
    }
    auto r = std::from_chars(text.data() + skip, text.data() + text.size(), out, base);
    return r.ec == std::errc() && r.ptr == text.data() + text.size();
}

long ApplyAddReg(const InfFile& inf, const InfLine& l)
{
    std::string rootName, subKey, name, flagText;
    inf.GetField(l, 1, rootName);
    inf.GetField(l, 2, subKey);
    inf.GetField(l, 3, name);
    inf.GetField(l, 4, flagText);
    RegRoot root;
    std::uint32_t flags = 0;
    if (!RootKeyFromName(rootName, root) || !ParseNumber(flagText, flags)) return ERROR_INVALID_PARAMETER;
    if (long rc = RegCreateKey(root, subKey)) return rc;
    int count = InfFile::FieldCount(l);
    if (flags & 0x10) return ERROR_SUCCESS;                  // the key only
    if (flags & 0x4) {
        long rc = RegDeleteValue(root, subKey, name);
        return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
    }
    if (count < 5 && name.empty()) return ERROR_SUCCESS;     // no value: the key only
    if (flags & 0x2) {
        std::uint32_t type;
        std::vector<unsigned char> old;
        if (RegQueryValue(root, subKey, name, &type, old) == ERROR_SUCCESS) return ERROR_SUCCESS;
    }
    std::string value;
    inf.GetField(l, 5, value);
    if (flags == 0x10001) {
        std::uint32_t n = 0;
        if (!ParseNumber(value, n)) return ERROR_INVALID_PARAMETER;
        unsigned char b[4] = {static_cast<unsigned char>(n), static_cast<unsigned char>(n >> 8),
                              static_cast<unsigned char>(n >> 16), static_cast<unsigned char>(n >> 24)};
        return RegSetValue(root, subKey, name, REG_DWORD, b, 4);
    }
    if (flags & 0x1) {
        std::vector<unsigned char> bytes;
        for (int f = 5; f <= count; ++f) {
            std::string hex;
            inf.GetField(l, f, hex);
            std::uint32_t b = 0;
            TrimSpaces(hex);
            auto r = std::from_chars(hex.data(), hex.data() + hex.size(), b, 16);
            if (hex.empty() || r.ec != std::errc() || r.ptr != hex.data() + hex.size() || b > 0xFF) return ERROR_INVALID_PARAMETER;
            bytes.push_back(static_cast<unsigned char>(b));
        }
        return RegSetValue(root, subKey, name, REG_BINARY, bytes.data(), bytes.size());
    }
    std::uint32_t type = (flags & 0x20000) ? REG_EXPAND_SZ : REG_SZ;
    return RegSetValue(root, subKey, name, type, value.c_str(), value.size() + 1);
}

long ApplyDelReg(const InfFile& inf, const InfLine& l)
{
    std::string rootName, subKey, name;
    inf.GetField(l, 1, rootName);
    inf.GetField(l, 2, subKey);
    RegRoot root;
    if (!RootKeyFromName(rootName, root) || subKey.empty()) return ERROR_INVALID_PARAMETER;
    long rc = inf.GetField(l, 3, name) ? RegDeleteValue(root, subKey, name) : RegDeleteTree(root, subKey);
    return rc == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : rc;
}

std::string RegErrorText(long rc)
{
    switch (rc) {
    case ERROR_FILE_NOT_FOUND: return SystemErrorText(ENOENT);
    case ERROR_ACCESS_DENIED: return SystemErrorText(EACCES);
    case ERROR_WRITE_FAULT: return SystemErrorText(EIO);
    case ERROR_INVALID_PARAMETER: return SystemErrorText(EINVAL);
    default: return "error " + std::to_string(rc);
    }
}

}  // namespace

long ApplyRegistryDirectives(const InfFile& inf, const std::string& section)
{
    const InfSection* s = inf.FindSection(section);
    if (!s) return ERROR_FILE_NOT_FOUND;
    long first = ERROR_SUCCESS;
    for (const InfLine& l : s->lines) {
        if (!l.hasKey) continue;
        std::string key = inf.Substitute(l.fields[0]);
        bool add = EqualsNoCase(key, "AddReg"), del = EqualsNoCase(key, "DelReg");
        if (!add && !del) continue;
        for (int f = 1; f <= InfFile::FieldCount(l); ++f) {
            std::string name;
            inf.GetField(l, f, name);
            const InfSection* regs = name.empty() ? nullptr : inf.FindSection(name);
            if (!regs) {
                if (!name.empty() && first == ERROR_SUCCESS) first = ERROR_FILE_NOT_FOUND;
                continue;
            }
            for (const InfLine& rl : regs->lines) {
                long rc = add ? ApplyAddReg(inf, rl) : ApplyDelReg(inf, rl);
                if (rc != ERROR_SUCCESS && first == ERROR_SUCCESS) first = rc;
            }
        }
    }
    return first;
}

bool ReadProgramVersion(const std::string& versionFile, std::string& text, unsigned char bin[8])
{
    std::string content;
    if (versionFile.empty() || !ReadWholeFile(versionFile, content) || content.empty() || content.size() >= 4096) return false;
    std::size_t end = content.find_first_of("\r\n");
    text = content.substr(0, end);
    TrimSpaces(text);
    std::uint32_t parts[4] = {0, 0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 4 && pos <= text.size(); ++i) {
        std::size_t dot = text.find('.', pos);
        if (dot == std::string::npos) dot = text.size();
        auto r = std::from_chars(text.data() + pos, text.data() + dot, parts[i]);
        if (r.ec != std::errc() || r.ptr != text.data() + dot || parts[i] > 0xFFFF) return false;
        pos = dot + 1;
        if (dot == text.size()) break;
    }
    if (pos < text.size()) return false;
    std::uint32_t ms = (parts[0] << 16) | parts[1], ls = (parts[2] << 16) | parts[3];
    for (int i = 0; i < 4; ++i) {
        bin[i] = static_cast<unsigned char>(ms >> (8 * i));
        bin[4 + i] = static_cast<unsigned char>(ls >> (8 * i));
    }
    return true;
}

int InstallRegistry(SetupContext& ctx)
{
    InfFile& inf = ctx.inf;
    SetupLog& log = ctx.log;

    // 1. The install section's own registry lines.
    long rc = ApplyRegistryDirectives(inf, "VynInstall");
    if (rc == ERROR_SUCCESS) {
        log.Print(" Add regs by SetupInstallFromInfSection(...) OK\r\n");
    } else {
        log.Print(" Add regs by SetupInstallFromInfSection(...) failed:\r\n");
        log.Printf("   %s\r\n", RegErrorText(rc));
    }

    // 2. Keys to remove at uninstall.
    if (const InfSection* s = inf.FindSection("KeysToDelete"))
        for (const InfLine& l : s->lines) {
            if (InfFile::FieldCount(l) < 2) continue;
            std::string subKey, rootName, flag;
            inf.GetField(l, 0, subKey);
            inf.GetField(l, 1, rootName);
            inf.GetField(l, 2, flag);
            if (subKey.empty() || rootName.empty() || flag.empty() || flag.size() >= 16) continue;
            ctx.records.RecordRegistryKeyByName(rootName, subKey, flag[0] == '1');
        }

    // 3. Version and product name of the main program.
    std::string app = CutUtf8(GetInfString(inf, "MainVynSetup", "VynApplication", "vyn"), 63);
    std::string appPath = ctx.records.FindCopiedFile(app);
    if (!appPath.empty()) {
        std::string version;
        unsigned char bin[8];
        if (ReadProgramVersion(ctx.records.FindCopiedFile(app + ".version"), version, bin)) {
            WriteRegBinary(HKEY_LOCAL_MACHINE, kVynKey, "VersionBin", bin, sizeof bin);
            WriteRegString(HKEY_LOCAL_MACHINE, kVynKey, "Version", version);
        }
        WriteRegString(HKEY_LOCAL_MACHINE, kVynKey, "ProductName", GetInfString(inf, "MainVynSetup", "VynProductName", kDefaultName));

        // 4. App Paths.
        std::string key = std::string(kAppPaths) + "\\" + app;
        if (CreateRegString(HKEY_LOCAL_MACHINE, key, "", appPath) == ERROR_SUCCESS)
            ctx.records.RecordRegistryKey(HKEY_LOCAL_MACHINE, key, false);
    }

    // 5. Add/Remove Programs.
    std::string uninstKey = std::string(kUninstallKey) + "\\" + GetInfString(inf, "MainVynSetup", "VynUninstKey", kDefaultName);
    if (RegCreateKey(HKEY_LOCAL_MACHINE, uninstKey) == ERROR_SUCCESS) {
        WriteRegString(HKEY_LOCAL_MACHINE, uninstKey, "DisplayName", GetInfString(inf, "MainVynSetup", "VynUninstDisp", kDefaultName));
        std::string setupCopy = ctx.records.FindCopiedFile(GetInfString(inf, "MainVynSetup", "VynSetupApp", "vynsetup"));
        if (!setupCopy.empty()) WriteRegString(HKEY_LOCAL_MACHINE, uninstKey, "UninstallString", "\"" + setupCopy + "\" -U");
        ctx.records.RecordRegistryKey(HKEY_LOCAL_MACHINE, uninstKey, false);
    }

    // 6. File types.
    if (const InfSection* s = inf.FindSection("VynRegisterExt"))
        for (const InfLine& l : s->lines) {
            if (InfFile::FieldCount(l) < 3) continue;
            std::string ext, type, desc, icon;
            inf.GetField(l, 0, ext);
            inf.GetField(l, 1, type);
            inf.GetField(l, 2, desc);
            inf.GetField(l, 3, icon);
            if (ext.empty() || type.empty() || desc.empty() || icon.empty() || ext.size() > 7 || type.size() > 31 ||
                desc.size() > 31 || icon.size() > 7)
                continue;
            std::vector<unsigned char> bound;
            std::uint32_t vt = 0;
            if (RegQueryValue(HKEY_CLASSES_ROOT, ext, "", &vt, bound) == ERROR_SUCCESS && bound.size() <= 64) {
                std::string now(bound.begin(), bound.end());
                if (std::size_t nul = now.find('\0'); nul != std::string::npos) now.resize(nul);
                if (!now.empty()) {
                    std::vector<unsigned char> cmd;
                    bool ours = RegQueryValue(HKEY_CLASSES_ROOT, now + "\\shell\\open\\command", "", &vt, cmd) == ERROR_SUCCESS &&
                                std::string(cmd.begin(), cmd.end()).find(app) != std::string::npos;
                    if (!ours) {
                        std::string q = FormatTexts(GetResString(kIdsFileTypeUsed), {ext, app});
                        if (ctx.Message(q, GetResString(kIdsCaptionProblem), kBoxYesNo | kIconQuestion) != kAnswerYes) continue;
                        RegDeleteTree(HKEY_CLASSES_ROOT, now);
                    }
                }
            }
            RegDeleteTree(HKEY_CLASSES_ROOT, ext);
            RegDeleteTree(HKEY_CLASSES_ROOT, type);
            if (appPath.empty()) continue;
            bool ok = CreateRegString(HKEY_CLASSES_ROOT, ext, "", type) == ERROR_SUCCESS &&
                      CreateRegString(HKEY_CLASSES_ROOT, type, "", desc) == ERROR_SUCCESS &&
                      CreateRegString(HKEY_CLASSES_ROOT, type + "\\DefaultIcon", "", appPath + "," + icon) == ERROR_SUCCESS &&
                      CreateRegString(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", "", "\"" + appPath + "\" \"%1\"") == ERROR_SUCCESS;
            if (ok) {
                ctx.records.RecordRegistryKey(HKEY_CLASSES_ROOT, ext, false);
                ctx.records.RecordRegistryKey(HKEY_CLASSES_ROOT, type, false);
            } else {
                RegDeleteTree(HKEY_CLASSES_ROOT, ext);
                RegDeleteTree(HKEY_CLASSES_ROOT, type);
            }
        }
    return 0;
}

void WriteKeyDirSection(SetupContext& ctx, const std::string& section)
{
    InfFile& inf = ctx.inf;
    const InfSection* s = inf.FindSection(section);
    if (!s) return;
    for (const InfLine& l : s->lines) {
        if (InfFile::FieldCount(l) < 3) continue;
        std::string subKey, rootName, valueName, dirSection, path;
        inf.GetField(l, 0, subKey);
        inf.GetField(l, 1, rootName);
        inf.GetField(l, 2, valueName);
        inf.GetField(l, 3, dirSection);
        RegRoot root;
        if (subKey.empty() || rootName.empty() || !RootKeyFromName(rootName, root)) continue;
        if (valueName.empty() || dirSection.empty() || !inf.HasSection(dirSection)) continue;
        if (!inf.GetTargetPath(dirSection, path) || path.empty()) continue;
        WriteRegString(root, subKey, valueName, path);
    }
}

}  // namespace vyn
