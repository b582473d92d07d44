#include "app/StartupChecks.h"

#include "app/AppPaths.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/ConfigDir.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {
constexpr int kMsgDataFolder = 21097;
constexpr int kMsgSettingsFolder = 21098;
}  // namespace

bool SettingsFolderUsable()
{
    const std::string dir = ConfigDir();
    if (!MakeDirectories(dir)) return false;
    // A probe file tells a folder that exists but takes nothing (read-only, full, foreign). It
    // is written as every settings file is, and dropped before it takes the probe's name.
    AtomicFile probe(dir + "/.vyn-probe");
    return probe.Open() && probe.Write("ok") && probe.Finish();
}

std::vector<std::string> StartupProblems(int demoResult, bool settingsUsable, bool handOverPossible)
{
    std::vector<std::string> out;
    if (demoResult < 0) out.push_back(FormatResString(kMsgDataFolder, GetDataDir().c_str()));
    if (!settingsUsable) out.push_back(FormatResString(kMsgSettingsFolder, ConfigDir().c_str()));
    else if (!handOverPossible) out.push_back(GetResStringStd(kMsgNoHandOverId));
    return out;
}

}  // namespace vyn
