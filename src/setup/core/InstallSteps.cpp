#include "setup/core/InstallSteps.h"

#include <cerrno>
#include <sys/stat.h>

#include "platform/core/StringTable.h"
#include "setup/core/FileCopy.h"
#include "setup/core/InstallRegistry.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"
#include "setup/core/ShellLink.h"

namespace vyn {

void CreateMenuShortcuts(SetupContext& ctx, const std::string& menuName, const std::string& section)
{
    InfFile& inf = ctx.inf;
    SetupLog& log = ctx.log;
    const std::string* desktop = ctx.GetDesktopFolder();
    log.Printf("Desktop dir : %s\r\n", desktop ? *desktop : std::string());

    std::string menu = ctx.GetProgramsFolder();
    if (!menuName.empty()) {
        menu += menuName;
        int err = ::mkdir(menu.c_str(), 0755) == 0 ? 0 : errno;
        ctx.records.RecordCreatedFolder(menu, static_cast<std::uint32_t>(err));
        EnsureTrailingSlash(menu);
    }
    log.Printf("Menu dir    : %s\r\n", menu);

    const InfSection* s = inf.FindSection(section);
    if (!s) return;
    for (const InfLine& l : s->lines) {
        std::string key, linkName, workSection, where, workDir;
        inf.GetField(l, 0, key);
        inf.GetField(l, 1, linkName);
        if (key.empty() || linkName.empty()) continue;
        if (InfFile::FieldCount(l) >= 2 && inf.GetField(l, 2, workSection) && inf.HasSection(workSection))
            inf.GetTargetPath(workSection, workDir);
        bool onDesktop = desktop && InfFile::FieldCount(l) >= 3 && inf.GetField(l, 3, where) && EqualsNoCase(where, "Desktop");
        // The link name becomes a file name: it must not climb out of its folder.
        if (linkName.find('/') != std::string::npos || linkName == "." || linkName == "..") {
            log.Printf("Link: %s\r\n   refused: the name contains a slash.\r\n", linkName);
            continue;
        }
        std::string linkPath = (onDesktop ? *desktop : menu) + linkName + ".desktop";
        log.Printf("Link: %s\r\n", linkPath);
        std::string target;
        if (inf.HasSection(key)) {
            if (inf.GetTargetPath(key, target)) log.Print(FormatTexts("  Target for %s\r\n   found: %s\r\n", {key, target}));
            else log.Printf("  Target for %s failed.\r\n", key);
        } else {
            target = ctx.records.FindCopiedFile(key);
            if (!target.empty()) log.Print(FormatTexts("   File target for %s\r\n    found: %s\r\n", {key, target}));
            else log.Printf("   File target for %s failed.\r\n", key);
        }
        if (target.empty()) continue;
        if (linkPath.size() >= UninstallList::kPathSize) {
            log.Print("   refused: the path is too long to be recorded.\r\n");
            continue;
        }
        int err = CreateShellLink(target, linkPath, workDir, linkName, log);
        ctx.records.RecordShortcut(linkPath, static_cast<std::uint32_t>(err));
    }
}

int RunInstall(SetupContext& ctx)
{
    InfFile& inf = ctx.inf;
    std::string message;

    // 1. The destination becomes the directory of the "root" section.
    EnsureTrailingSlash(ctx.destination);
    // Recorded as the uninstall will find it, whatever links lead to it.
    ctx.destination = ResolveExistingPart(ctx.destination);
    inf.SetDirectoryId(InfFile::kDestinationDirId, ctx.destination);
    std::string root;
    if (ctx.destination.empty() || ctx.destination.front() != '/' || !inf.GetTargetPath("root", root)) {
        message = FormatTexts(GetResString(kIdsBadDestination), {ctx.destination, SystemErrorText(ENOENT)});
    } else {
        ctx.destination = root;
        EnsureTrailingSlash(ctx.destination);
        ctx.log.Printf("Dest dir 2: %s\r\n", ctx.destination);
    }

    // 2. and 3. Files, then shortcuts and registry only after a complete copy.
    if (message.empty()) {
        std::string failed;
        int rc = CopyInstallFiles(ctx, ctx.setupFolder, "VynInstall", failed);
        if (rc != 0) {
            message = FormatTexts(GetResString(kIdsCannotCopy), {failed, SystemErrorText(rc)});
        } else {
            ctx.records.MarkRecordCount();
            CreateMenuShortcuts(ctx, ctx.menuName, "MainVynMenu");
            InstallRegistry(ctx);
        }
    }

    // 4. Folder values and the record file.
    if (message.empty()) {
        WriteKeyDirSection(ctx, "KeyDirSection");
        std::string listName = GetInfString(inf, "MainVynSetup", "VynUninstList", "zzzzzzzz.zzz");
        std::string listPath = ctx.records.FindCopiedFile(listName);
        // Without its records an uninstall would find nothing to remove: that is no success.
        if (listPath.empty()) {
            message = FormatTexts(GetResString(kIdsRecordFileNotCopied), {listName});
        } else if (ctx.records.TakeEarlier(ctx.earlierRecords); int rc = ctx.records.Save(listPath)) {
            message = FormatTexts(GetResString(kIdsCannotSaveRecords), {listPath, SystemErrorText(rc)});
        }
    }

    if (message.empty()) return 0;
    ctx.log.Printf("\r\n%s\r\n", message);
    ctx.Message(message, GetResString(kIdsCaptionProblem), kBoxOk | kIconError);
    return 1;
}

}  // namespace vyn
