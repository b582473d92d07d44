#include "setup/core/Uninstall.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/StringTable.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupRegistry.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

constexpr const char* kVynKey = "Software\\Talvorne\\Vyn";
constexpr const char* kSetupKey = "Software\\Talvorne\\Vyn\\Setup";

bool IsAbsolutePath(const std::string& p) { return !p.empty() && p.front() == '/' && p != "/"; }

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

    for (const UninstallRecord* r = list.LastRecord(); r; r = list.PrevRecord()) {
        if (!IsUsableRecord(*r)) continue;
        switch (r->kind & 0xFF) {
        case kRecCopiedFile: {
            struct stat st{};
            int fd = ::open(r->path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
            if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
                std::uint64_t created, written;
                std::uint32_t size;
                ReadFileStamp(r->path, created, written, size);
                ::close(fd);
                bool unchanged = (written & 0xFFFFFFFFu) == (r->lastWriteTime & 0xFFFFFFFFu) && size == r->size;
                if (!unchanged) {
                    int a = ctx.Message(FormatTexts(GetResString(kIdsFileChanged), {r->path}), GetResString(kIdsCaptionUninstall),
                                        kBoxYesNoCancel | kIconQuestion);
                    if (a == kAnswerCancel) return 0;
                    if (a != kAnswerYes) break;
                }
            } else if (fd >= 0) {
                ::close(fd);
            }
            ::unlink(r->path.c_str());
            break;
        }
        case kRecCreatedFolder: ::rmdir(r->path.c_str()); break;
        case kRecShortcut: ::unlink(r->path.c_str()); break;
        case kRecRegistryKey:
            DeleteRegistryKey(static_cast<RegRoot>(r->code), r->path, (r->kind & kRecKeyOnlyWhenEmpty) != 0);
            break;
        default: break;
        }
    }
    return 1;
}

}  // namespace vyn
