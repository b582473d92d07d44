// The program's entry: one running instance per configuration. A second start hands its file
// names to the running instance and ends; the first sets up its folders and runs.
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/FileHandOver.h"
#include "app/StartupChecks.h"
#include "app/vynwApp.h"
#include "evaluator/FpeHandler.h"
#include "platform/core/InstanceLock.h"
#include "platform/core/StringTable.h"
#include "platform/gui/HandOverChannel.h"
#include "platform/gui/MsgBox.h"

int main(int argc, char** argv)
{
    using namespace vyn;
    const std::string commandLine = JoinArguments(argc, argv, CurrentDirectory());
    TInstanceLock lock(DefaultInstanceLockPath());
    const std::string channel = HandOverNameFor(lock.Path());
    if (lock.HeldElsewhere()) {
        SendHandOver(channel, SecondStartRecords(commandLine), kHandOverTimeoutMs);
        return 0;
    }
    const bool settingsUsable = SettingsFolderUsable();
    InitAppPaths();
    const int demo = InstallDemoData();
    InstallFpeHandler();
    int code = 0;
    {
        vynwApp app(GetResStringStd(21090), argc, argv, commandLine, lock.Acquired() ? channel : std::string());
        for (const std::string& text : StartupProblems(demo, settingsUsable, !channel.empty()))
            MessageBox(nullptr, text, GetResStringStd(21090), MB_OK | MB_ICONEXCLAMATION);
        code = app.Run();
        SaveIniDataDir();
    }
    RemoveFpeHandler();
    return code;
}
