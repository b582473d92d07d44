#pragma once
// The running program for one test: fresh configuration and data folders with the demo data,
// and the application with its main window created and its first events handled. Torn down in
// the reverse order, the system folder forgotten, so the next test starts clean.
//
// The tear-down asks nothing on the user's behalf: the program's end deletes what is still
// open without questions. A message box that no step of the test answered, or an answer
// registered for a box that never came, fails the test: either the program showed a box where
// it should not, or the test lost track of what the user sees.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "ShellEnv.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "platform/gui/Command.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

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
        if (!vyn::TTestHook::Active()) return;
        const vyn::TTestHook& hook = vyn::TTestHook::Get();
        for (const vyn::TShownMessage& m : hook.Messages())
            if (!m.answered) ADD_FAILURE() << "a message box that no step expects: \"" << m.text << "\"";
        if (hook.PendingBoxAnswers() > 0)
            ADD_FAILURE() << hook.PendingBoxAnswers() << " answer(s) for message boxes that never came";
    }
    ShellFixture(const ShellFixture&) = delete;
    ShellFixture& operator=(const ShellFixture&) = delete;

    vyn::RwMainWindow& Main() { return *app->GetMainFrame(); }
    // The item chosen with the mouse on the main window's menu bar, its events handled; false
    // when it is missing or greyed.
    bool Choose(unsigned id)
    {
        const bool chosen = vyn::ChooseMenuItem(Main(), id);
        vyn::TTestHook::ProcessEvents();
        return chosen;
    }
    // File > Open with the name typed into the file dialog.
    bool OpenByMenu(const std::string& typed)
    {
        vyn::SetFileDialogAnswer([typed](bool, const std::string&) { return typed; });
        const bool chosen = Choose(vyn::CM_FILEOPEN);
        vyn::SetFileDialogAnswer(nullptr);
        return chosen;
    }

    // Whether the application handles the command and lets it run now.
    bool Enabled(unsigned id)
    {
        vyn::TCommandEnabler ce(id);
        app->EvCommandEnable(ce);
        return ce.GetHandled() && ce.IsEnabled();
    }
};
