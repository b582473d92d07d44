#include "setup/core/FileCopy.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <memory>
#include <vector>

#include "platform/core/AtomicFile.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

struct CopyItem {
    std::string source;
    std::string target;
    std::unique_ptr<AtomicFile> file;  // the new content, beside the target until placed
    struct timespec times[2] = {};     // the source's, kept by the copy
    std::string backup;  // a second name of the file the target replaces
    bool skip = false;   // the target is newer than the source
    bool placed = false; // renamed over the target
};

bool SafeRelative(const std::string& p)
{
    if (p.empty() || p.front() == '/') return false;
    std::size_t pos = 0;
    while (pos <= p.size()) {
        std::size_t next = p.find('/', pos);
        if (next == std::string::npos) next = p.size();
        if (p.compare(pos, next - pos, "..") == 0 && next - pos == 2) return false;
        pos = next + 1;
    }
    return true;
}

bool SafeFileName(const std::string& n) { return !n.empty() && n != "." && n != ".." && n.find('/') == std::string::npos; }

// Makes the folder and its missing parents, appending those it made (outermost first).
int MakeFolders(const std::string& dir, std::vector<std::string>& made)
{
    struct stat st{};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    std::string parent = dir;
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    std::size_t slash = parent.rfind('/');
    if (slash != std::string::npos && slash > 0)
        if (int rc = MakeFolders(parent.substr(0, slash), made)) return rc;
    if (::mkdir(dir.c_str(), 0755) != 0) return errno == EEXIST ? 0 : errno;
    made.push_back(dir);
    return 0;
}

// Copies the source into a new temporary file beside the target, with the source's mode and
// times, flushed to disk; Commit later puts it in place.
int CopyToTemp(CopyItem& item, const struct stat& srcStat)
{
    const int in = OpenForReading(item.source);
    if (in < 0) return errno;
    // The source's time goes with the copy, so that a later install can tell which is newer.
    item.times[0] = srcStat.st_atim;
    item.times[1] = srcStat.st_mtim;
    ReplaceOptions options;
    // A link standing where a file is installed is replaced, never written through: the
    // installer writes nothing outside its own folders.
    options.followLink = false;
    options.forceMode = static_cast<int>(srcStat.st_mode & 0777);
    options.times = item.times;
    item.file = std::make_unique<AtomicFile>(item.target, options);
    bool ok = item.file->Open();
    int rc = 0;
    char buf[65536];
    while (ok && rc == 0) {
        ssize_t n = ::read(in, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) rc = errno;
        if (n <= 0) break;
        ok = item.file->Write(buf, static_cast<std::size_t>(n));
    }
    ::close(in);
    if (ok && rc == 0) ok = item.file->Finish();
    if (!ok) rc = item.file->Result().error;
    if (rc != 0) item.file->Discard();
    return rc;
}

bool NewerThan(const struct stat& a, const struct stat& b)
{
    return a.st_mtim.tv_sec != b.st_mtim.tv_sec ? a.st_mtim.tv_sec > b.st_mtim.tv_sec : a.st_mtim.tv_nsec > b.st_mtim.tv_nsec;
}

void Undo(std::vector<CopyItem>& items, const std::vector<std::string>& madeFolders)
{
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        if (it->placed) {
            if (!it->backup.empty()) ::rename(it->backup.c_str(), it->target.c_str());
            else ::unlink(it->target.c_str());
        } else if (!it->backup.empty()) {
            ::unlink(it->backup.c_str());
        }
        if (it->file && !it->placed) it->file->Discard();
    }
    for (auto it = madeFolders.rbegin(); it != madeFolders.rend(); ++it) ::rmdir(it->c_str());
}

}  // namespace

int CopyInstallFiles(SetupContext& ctx, const std::string& sourceRoot, const std::string& section, std::string& failedPath)
{
    const InfFile& inf = ctx.inf;
    std::vector<CopyItem> items;
    std::vector<std::string> targets;  // target folders, in the order of the items
    auto addFile = [&](const std::string& dir, const std::string& dest, const std::string& src) -> int {
        if (!SafeFileName(dest)) {
            failedPath = dest;
            return EINVAL;
        }
        if (!SafeRelative(src)) {
            failedPath = src;
            return EINVAL;
        }
        CopyItem item;
        item.source = sourceRoot + src;
        item.target = dir + "/" + dest;
        // The record keeps the path in 260 bytes; a longer one could not be removed again.
        if (item.target.size() >= UninstallList::kPathSize) {
            failedPath = item.target;
            return ENAMETOOLONG;
        }
        items.push_back(std::move(item));
        targets.push_back(dir);
        return 0;
    };

    const InfSection* install = inf.FindSection(section);
    if (install)
        for (const InfLine& l : install->lines) {
            if (!l.hasKey || !EqualsNoCase(inf.Substitute(l.fields[0]), "CopyFiles")) continue;
            for (int f = 1; f <= InfFile::FieldCount(l); ++f) {
                std::string name;
                inf.GetField(l, f, name);
                if (name.empty()) continue;
                std::string dir;
                if (name.front() == '@') {
                    if (!inf.GetTargetPath(section, dir)) {
                        failedPath = section;
                        return ENOENT;
                    }
                    if (int rc = addFile(dir, name.substr(1), name.substr(1))) return rc;
                    continue;
                }
                const InfSection* files = inf.FindSection(name);
                if (!files || !inf.GetTargetPath(name, dir)) {
                    failedPath = name;
                    return ENOENT;
                }
                for (const InfLine& fl : files->lines) {
                    std::string dest, src;
                    inf.GetField(fl, 1, dest);
                    inf.GetField(fl, 2, src);
                    if (dest.empty() && !fl.hasKey) continue;
                    if (dest.empty()) dest = inf.Substitute(fl.fields[0]);
                    if (int rc = addFile(dir, dest, src.empty() ? dest : src)) return rc;
                }
            }
        }

    // The record file of an earlier installation is read before it is replaced, so that an
    // uninstall after this one still removes what that one made; it is always replaced.
    const std::string listName = GetInfString(inf, "MainVynSetup", "VynUninstList", "zzzzzzzz.zzz");
    ctx.earlierRecords.clear();

    ctx.log.Print("\r\n");
    ctx.log.Print("File copy starts:\r\n");
    std::vector<std::string> madeFolders;
    int rc = 0;
    for (std::size_t i = 0; i < items.size() && rc == 0; ++i) {
        CopyItem& item = items[i];
        failedPath = item.source;
        struct stat src{};
        if (::stat(item.source.c_str(), &src) != 0) {
            rc = errno;
            break;
        }
        if (!S_ISREG(src.st_mode)) {
            rc = EISDIR;
            break;
        }
        failedPath = item.target;
        if ((rc = MakeFolders(targets[i], madeFolders))) break;
        struct stat dst{};
        bool exists = ::lstat(item.target.c_str(), &dst) == 0;
        if (exists && S_ISDIR(dst.st_mode)) {
            rc = EISDIR;
            break;
        }
        bool recordFile = exists && S_ISREG(dst.st_mode) && EqualsNoCase(FileNameOf(item.target), listName);
        if (recordFile) {
            UninstallList earlier;
            if (earlier.Load(item.target) == 0) ctx.earlierRecords = earlier.Records();
        }
        if (exists && S_ISREG(dst.st_mode) && NewerThan(dst, src) && !recordFile) {
            item.skip = true;
            continue;
        }
        if ((rc = CopyToTemp(item, src))) break;
        if (exists) {
            item.backup = item.file->TempPath() + "~";
            if (::link(item.target.c_str(), item.backup.c_str()) != 0) {
                rc = errno;
                item.backup.clear();
                break;
            }
        }
    }
    for (std::size_t i = 0; i < items.size() && rc == 0; ++i) {
        CopyItem& item = items[i];
        if (item.skip) continue;
        if (!item.file->Commit()) {
            rc = item.file->Result().error;
            failedPath = item.target;
            break;
        }
        item.placed = true;
    }
    if (rc != 0) {
        ctx.earlierRecords.clear();
        Undo(items, madeFolders);
        ctx.log.Printf("   %s\r\n", failedPath);
        ctx.log.Printf("   %s\r\n", SystemErrorText(rc));
        ctx.log.Print("   The files copied so far were removed again.\r\n");
        return rc;
    }
    failedPath.clear();
    for (CopyItem& item : items)
        if (!item.backup.empty()) ::unlink(item.backup.c_str());
    for (const std::string& dir : madeFolders) ctx.records.RecordCreatedFolder(dir, 0);
    for (const CopyItem& item : items) {
        if (item.skip) {
            ctx.log.Printf("%s\r\n   kept: the file there is newer\r\n", item.target);
            continue;
        }
        if (!ctx.records.RecordCopiedFile(item.target, 0)) ctx.log.Printf("   not recorded: %s\r\n", item.target);
    }
    ctx.log.Print("File copy ends:\r\n");
    ctx.log.Print("\r\n");
    return 0;
}

}  // namespace vyn
