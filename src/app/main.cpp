// The program's entry: one running instance per configuration. A second start hands its file
// names to the running instance and ends; the first sets up its folders and runs.
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/FileHandOver.h"
#include "app/vynwApp.h"
#include "evaluator/FpeHandler.h"
#include "platform/core/InstanceLock.h"
#include "platform/core/StringTable.h"
#include "platform/gui/HandOverChannel.h"

int main(int argc, char** argv)
{
    using namespace vyn;
    const std::string commandLine = JoinArguments(argc, argv);
    TInstanceLock lock(DefaultInstanceLockPath());
    const std::string channel = HandOverNameFor(lock.Path());
    if (lock.HeldElsewhere()) {
        SendHandOver(channel, CommandLineRecords(commandLine), kHandOverTimeoutMs);
        return 0;
    }
    InitAppPaths();
    InstallDemoData();
    InstallFpeHandler();
    int code = 0;
    {
        vynwApp app(GetResStringStd(21090), argc, argv, commandLine, lock.Acquired() ? channel : std::string());
        code = app.Run();
        SaveIniDataDir();
    }
    RemoveFpeHandler();
    return code;
}
