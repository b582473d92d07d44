#include "setup/core/SetupJob.h"

#include <algorithm>
#include <dirent.h>
#include <vector>

#include "platform/core/StringTable.h"
#include "setup/core/InstallSteps.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupResIds.h"
#include "setup/core/SetupText.h"
#include "setup/core/Uninstall.h"

namespace vyn {

int FindInfFile(std::string& path, const std::string& folder)
{
    DIR* d = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!d) return 0;
    std::vector<std::string> found;
    while (dirent* e = ::readdir(d)) {
        std::string name = e->d_name;
        std::string lower = LowerAscii(name);
        if (lower.size() >= 7 && lower.compare(0, 3, "vyn") == 0 && lower.compare(lower.size() - 4, 4, ".inf") == 0)
            found.push_back(name);
    }
    ::closedir(d);
    // Directory order is arbitrary; the first in name order is the one named.
    std::sort(found.begin(), found.end());
    if (!found.empty()) path = folder + found.front();
    return static_cast<int>(found.size());
}

void LogInstallHeading(SetupContext& ctx)
{
    SetupLog& log = ctx.log;
    log.Print("\r\n");
    log.Printf("System    : %s\r\n", ctx.systemName);
    log.Printf("Setup exe : %s\r\n", ctx.ownPath);
    log.Printf("Setup dir : %s\r\n", ctx.setupFolder);
    log.Printf("ProgFiles : %s\r\n", ctx.programFilesFolder);
    log.Printf("INF File  : %s\r\n", ctx.infPath);
    log.Printf("Dest dir 1: %s\r\n", ctx.destination);
    log.Printf("Menu dir  : %s\r\n", ctx.menuName);
}

int RunSetupJob(SetupContext& ctx, const RunWizardFn& runWizard)
{
    if (ctx.uninstallMode) {
        if (Uninstall(ctx) == 1) {
            ctx.Message(GetResString(kIdsUninstalled), GetResString(kIdsCaptionUninstall), kBoxOk | kIconInformation);
            return 1;
        }
        return 0;
    }
    if (!ctx.setupMode) {
        ctx.Message(GetResString(kIdsNothingToDo), ctx.ownFileName, kBoxOk);
        return 0;
    }
    int count = FindInfFile(ctx.infPath, ctx.setupFolder);
    if (count != 1) {
        ctx.Message(FormatTexts(GetResString(count == 0 ? kIdsCannotLocateInf : kIdsTooManyInf), {"vyn*.inf"}),
                    GetResString(kIdsCaptionStop), kBoxOk | kIconError);
        return 0;
    }
    // A file that cannot be read stays closed; the wizard's first page says so.
    ctx.inf.Open(ctx.infPath);
    if (runWizard(ctx) <= 0) return 0;
    ctx.log.Open();
    LogInstallHeading(ctx);
    int rc = RunInstall(ctx);
    ctx.log.Close();
    if (rc != 0) return 0;
    ctx.Message(GetResString(kIdsInstalled), GetResString(kIdsCaptionInstall), kBoxOk | kIconInformation);
    return 2;
}

}  // namespace vyn
