#include "setup/core/Uninstall.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/core/StringTable.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupRegistry.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

constexpr const char* kVynKey = "Software\\Talvorne\\Vyn";
constexpr const char* kSetupKey = "Software\\Talvorne\\Vyn\\Setup";
constexpr const char* kMakerKey = "Software\\Talvorne";
constexpr const char* kAppPaths = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool IsAbsolutePath(const std::string& p) { return !p.empty() && p.front() == '/' && p != "/"; }

// The folder resolved through every link, with a trailing '/'; empty when it does not exist.
std::string ResolvedFolder(const std::string& path)
{
    if (path.empty()) return {};
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return {};
    std::string out = real;
    std::free(real);
    EnsureTrailingSlash(out);
    return out;
}

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return !prefix.empty() && text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

// The folders an uninstall may act in. The destination is the folder of the running
// uninstaller: the installed copy that Add/Remove starts lives there, and nothing in the
// record file can move it.
struct Places {
    std::string destination;
    std::string programs;
    std::string desktop;
    std::string programFiles;
};

// Splits a path below root (which ends with '/') into its parts; false when it is not below
// it or has an empty, "." or ".." part.
bool PartsBelow(const std::string& path, const std::string& root, std::vector<std::string>& parts)
{
    parts.clear();
    if (!StartsWith(path, root)) return false;
    std::string rest = path.substr(root.size());
    if (!rest.empty() && rest.back() == '/') rest.pop_back();
    if (rest.empty()) return false;
    std::size_t pos = 0;
    while (pos <= rest.size()) {
        std::size_t next = rest.find('/', pos);
        if (next == std::string::npos) next = rest.size();
        std::string part = rest.substr(pos, next - pos);
        if (part.empty() || part == "." || part == "..") return false;
        parts.push_back(part);
        pos = next + 1;
    }
    return true;
}

bool HasDotParts(const std::string& path)
{
    std::vector<std::string> parts;
    return !PartsBelow(path, "/", parts);
}

// The folder that holds the last part, opened from root one part at a time without following
// a link; -1 (errno set) when a part on the way is a link or no folder.
int OpenParentNoFollow(const std::string& root, const std::vector<std::string>& parts)
{
    int fd = ::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    for (std::size_t i = 0; fd >= 0 && i + 1 < parts.size(); ++i) {
        int next = ::openat(fd, parts[i].c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        int err = errno;
        ::close(fd);
        errno = err;
        fd = next;
    }
    return fd;
}

enum class Verdict { Remove, Keep, Refuse };

struct Entry {
    const UninstallRecord* record;
    std::string root;  // the folder the record lies below
    std::vector<std::string> parts;
};

// The reason a record is not acted on, or empty when it may be.
std::string PlaceOf(const UninstallRecord& r, const Places& at, Entry& e)
{
    e.record = &r;
    if (HasDotParts(r.path)) return "the path is not plain";
    auto below = [&](const std::string& root) {
        if (root.empty() || !PartsBelow(r.path, root, e.parts)) return false;
        e.root = root;
        return true;
    };
    switch (r.kind) {
    case kRecCopiedFile:
        if (below(at.destination)) return {};
        return "not below the installation folder";
    case kRecShortcut:
        if (r.path.size() < 8 || r.path.compare(r.path.size() - 8, 8, ".desktop") != 0) return "not a shortcut";
        if (below(at.programs) || below(at.desktop)) return {};
        return "not in the menu or on the desktop";
    case kRecCreatedFolder: {
        // A folder that was there before the install is not the install's to remove.
        if (r.error != 0) return "it was there before the installation";
        std::string folder = r.path;
        EnsureTrailingSlash(folder);
        if (below(at.destination)) return {};
        if (below(at.programs) && e.parts.size() == 1) return {};
        e.parts.clear();
        e.root.clear();
        // The destination itself and the folders the copy made above it: only those on the
        // way down from the program-files folder.
        if (folder == at.destination || (StartsWith(at.destination, folder) && StartsWith(folder, at.programFiles) &&
                                         folder != at.programFiles))
            return {};
        return "not a folder of the installation";
    }
    default: return "unknown record";
    }
}

std::string RemoveFile(SetupContext& ctx, const Entry& e, bool& cancelled)
{
    const UninstallRecord& r = *e.record;
    int dir = OpenParentNoFollow(e.root, e.parts);
    if (dir < 0) return "a folder on the way is a link or missing";
    const std::string& leaf = e.parts.back();
    struct stat st{};
    std::string why;
    // Only the name is looked at: nothing that is not a regular file is ever opened.
    if (::fstatat(dir, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) {
        why = errno == ENOENT ? std::string() : SystemErrorText(errno);
    } else if (!S_ISREG(st.st_mode)) {
        why = "not a regular file";
    } else {
        if (r.kind == kRecCopiedFile) {
            std::uint64_t written = FileTimeOf(st.st_mtim);
            std::uint32_t size = static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFFu);
            bool unchanged = (written & 0xFFFFFFFFu) == (r.lastWriteTime & 0xFFFFFFFFu) && size == r.size;
            if (!unchanged) {
                int a = ctx.Message(FormatTexts(GetResString(kIdsFileChanged), {r.path}), GetResString(kIdsCaptionUninstall),
                                    kBoxYesNoCancel | kIconQuestion);
                if (a == kAnswerCancel) cancelled = true;
                if (a != kAnswerYes) {
                    ::close(dir);
                    return {};
                }
            }
        }
        if (::unlinkat(dir, leaf.c_str(), 0) != 0) why = SystemErrorText(errno);
    }
    ::close(dir);
    return why;
}

// A folder that is gone already needs no word; one that still holds files stays.
std::string FolderError(int err)
{
    if (err == ENOENT) return {};
    return err == ENOTEMPTY || err == EEXIST ? "not empty" : SystemErrorText(err);
}

std::string RemoveFolder(const Entry& e)
{
    const UninstallRecord& r = *e.record;
    if (e.parts.empty()) {
        // The destination or a folder above it: their paths are resolved already.
        return ::rmdir(r.path.c_str()) == 0 ? std::string() : FolderError(errno);
    }
    int dir = OpenParentNoFollow(e.root, e.parts);
    if (dir < 0) return "a folder on the way is a link or missing";
    const std::string& leaf = e.parts.back();
    struct stat st{};
    std::string why;
    if (::fstatat(dir, leaf.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 && !S_ISDIR(st.st_mode)) why = "not a folder";
    else if (::unlinkat(dir, leaf.c_str(), AT_REMOVEDIR) != 0) why = FolderError(errno);
    ::close(dir);
    return why;
}

// A key by its parts, for comparing without regard to case or doubled backslashes.
std::vector<std::string> KeyParts(const std::string& key)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= key.size()) {
        std::size_t next = key.find('\\', pos);
        if (next == std::string::npos) next = key.size();
        if (next > pos) parts.push_back(LowerAscii(key.substr(pos, next - pos)));
        pos = next + 1;
    }
    return parts;
}

// Whether key is prefix followed by extra more parts (extra < 0: any number, none included).
bool KeyBelow(const std::vector<std::string>& key, const std::string& prefix, int extra)
{
    std::vector<std::string> p = KeyParts(prefix);
    if (key.size() < p.size()) return false;
    for (std::size_t i = 0; i < p.size(); ++i)
        if (key[i] != p[i]) return false;
    return extra < 0 || key.size() == p.size() + static_cast<std::size_t>(extra);
}

bool NamesDestination(const std::string& text, const std::string& destination)
{
    return StartsWith(text, destination) || StartsWith(text, "\"" + destination);
}

// A file type is ours when its open command starts the program in the destination.
bool TypeIsOurs(const std::string& type, const std::string& destination)
{
    return !type.empty() && type.find('\\') == std::string::npos &&
           NamesDestination(ReadRegString(HKEY_CLASSES_ROOT, type + "\\shell\\open\\command", ""), destination);
}

// Registry keys are removed only below the product's own keys, or where their values show
// that this installation wrote them.
std::string KeyVerdict(const UninstallRecord& r, const Places& at)
{
    RegRoot root = static_cast<RegRoot>(r.code);
    std::vector<std::string> key = KeyParts(r.path);
    bool onlyWhenEmpty = (r.kind & kRecKeyOnlyWhenEmpty) != 0;
    if (key.empty()) return "no key";
    if (root == HKEY_LOCAL_MACHINE) {
        if (KeyBelow(key, kVynKey, -1)) return {};
        if (onlyWhenEmpty && KeyBelow(key, kMakerKey, 0)) return {};
        if (KeyBelow(key, kAppPaths, 1) && NamesDestination(ReadRegString(root, r.path, ""), at.destination)) return {};
        if (KeyBelow(key, kUninstallKey, 1) && NamesDestination(ReadRegString(root, r.path, "UninstallString"), at.destination))
            return {};
    } else if (root == HKEY_CLASSES_ROOT && key.size() == 1) {
        if (TypeIsOurs(r.path, at.destination) || TypeIsOurs(ReadRegString(root, r.path, ""), at.destination)) return {};
    }
    return "not a key of this installation";
}

void LogLeft(SetupLog& log, const std::string& path, const std::string& why)
{
    log.Printf("Left in place: %s\r\n", path);
    log.Printf("   %s\r\n", why);
}

}  // namespace

bool IsUsableRecord(const UninstallRecord& r)
{
    switch (r.kind) {
    case kRecCopiedFile:
    case kRecCreatedFolder:
    case kRecShortcut: return IsAbsolutePath(r.path);
    case kRecRegistryKey:
    case kRecRegistryKey | kRecKeyOnlyWhenEmpty:
        return !r.path.empty() && r.code >= static_cast<std::uint32_t>(RegRoot::ClassesRoot) &&
               r.code <= static_cast<std::uint32_t>(RegRoot::Users);
    default: return false;
    }
}

int Uninstall(SetupContext& ctx)
{
    std::string product = ReadRegString(HKEY_LOCAL_MACHINE, kVynKey, "ProductName");
    if (ctx.Message(FormatTexts(GetResString(kIdsReallyRemove), {product}), GetResString(kIdsCaptionUninstall),
                    kBoxYesNo | kIconQuestion) != kAnswerYes)
        return 0;

    UninstallList& list = ctx.records;
    list.Clear();
    std::string path;
    std::string fileList = ReadRegString(HKEY_LOCAL_MACHINE, kSetupKey, "FileList");
    if (!fileList.empty()) {
        path = fileList.find('/') != std::string::npos ? fileList : ctx.setupFolder + fileList;
        list.Load(path);
    }
    if (list.RecordCount() == 0) {
        path = ctx.setupFolder + "zzzzzzzz.zzz";
        list.Load(path);
    }
    if (list.RecordCount() == 0) {
        ctx.Message(FormatTexts(GetResString(kIdsCannotFindRecords), {path}), GetResString(kIdsCaptionUninstall),
                    kBoxOk | kIconError);
        return 0;
    }

    Places at;
    at.destination = ResolvedFolder(ctx.setupFolder);
    at.programs = ResolvedFolder(ctx.GetProgramsFolder());
    if (const std::string* desktop = ctx.GetDesktopFolder()) at.desktop = ResolvedFolder(*desktop);
    at.programFiles = ResolvedFolder(ctx.programFilesFolder);

    SetupLog& log = ctx.log;
    log.Open();
    log.Printf("\r\nUninstall from: %s\r\n", path);
    log.Printf("Folder       : %s\r\n", at.destination);

    // Keys are judged before any is removed: a file type is recognised by its type's command,
    // which an earlier record of the walk removes.
    std::vector<std::string> keyVerdicts(list.Records().size());
    for (std::size_t i = 0; i < list.Records().size(); ++i) {
        const UninstallRecord& r = list.Records()[i];
        if ((r.kind & 0xFF) == kRecRegistryKey && IsUsableRecord(r)) keyVerdicts[i] = KeyVerdict(r, at);
    }

    int result = 1;
    int index = list.RecordCount() - 1;
    for (const UninstallRecord* r = list.LastRecord(); r; r = list.PrevRecord(), --index) {
        if (!IsUsableRecord(*r)) {
            if (!r->path.empty()) LogLeft(log, r->path, "damaged record");
            continue;
        }
        std::string why;
        if ((r->kind & 0xFF) == kRecRegistryKey) {
            why = keyVerdicts[static_cast<std::size_t>(index)];
            if (why.empty()) DeleteRegistryKey(static_cast<RegRoot>(r->code), r->path, (r->kind & kRecKeyOnlyWhenEmpty) != 0);
        } else {
            Entry e;
            why = PlaceOf(*r, at, e);
            if (why.empty()) {
                bool cancelled = false;
                why = r->kind == kRecCreatedFolder ? RemoveFolder(e) : RemoveFile(ctx, e, cancelled);
                if (cancelled) {
                    result = 0;
                    break;
                }
            }
        }
        if (!why.empty()) LogLeft(log, r->path, why);
    }
    log.Close();
    return result;
}

}  // namespace vyn
