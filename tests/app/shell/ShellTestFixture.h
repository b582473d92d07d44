#pragma once
// The running program for one test: fresh configuration and data folders with the demo data,
// and the application with its main window created and its first events handled. Torn down in
// the reverse order, the system folder forgotten, so the next test starts clean.
#include <memory>
#include <string>

#include "ShellEnv.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "platform/gui/Command.h"
#include "platform/gui/TestHook.h"

struct ShellFixture {
    ShellEnv env;
    int argc = 1;
    char arg0[4] = "vyn";
    char* argv[2] = {arg0, nullptr};
    std::unique_ptr<vyn::vynwApp> app;

    // prepare runs once the folders and demo data are in place, before the application exists,
    // for globals the application reads while it starts. commandLine and handOverName are the
    // start's own file names and the channel later starts hand theirs over on.
    explicit ShellFixture(void (*prepare)() = nullptr, const std::string& commandLine = "",
                          const std::string& handOverName = "")
    {
        vyn::InitAppPaths();
        vyn::InstallDemoData();
        if (prepare) prepare();
        app = std::make_unique<vyn::vynwApp>("Vyn32", argc, argv, commandLine, handOverName);
        app->InitMainWindow();
        app->GetMainFrame()->Create();
        vyn::TTestHook::ProcessEvents();
    }
    ~ShellFixture()
    {
        app.reset();
        vyn::SetSysFilesDir("");
    }
    ShellFixture(const ShellFixture&) = delete;
    ShellFixture& operator=(const ShellFixture&) = delete;

    // Whether the application handles the command and lets it run now.
    bool Enabled(unsigned id)
    {
        vyn::TCommandEnabler ce(id);
        app->EvCommandEnable(ce);
        return ce.GetHandled() && ce.IsEnabled();
    }
};
