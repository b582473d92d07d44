// The program as the installer leaves it: installed from the product's own setup information
// into a temporary destination, started once and ended through its title bar, then
// uninstalled. Nothing may stay behind, so the program must find its demo library where the
// installer put it instead of writing one of its own.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <unistd.h>

#include "../../setup/core/SetupTree.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "setup/core/InstallSteps.h"
#include "setup/core/SetupJob.h"
#include "setup/core/SetupText.h"

using namespace vyn;
using namespace vyn::test;

TEST(InstalledProgram, InstallStartAndUninstallLeaveNothingBehind)
{
    char cwd[4096];
    const std::string saved = ::getcwd(cwd, sizeof cwd) ? cwd : "/";
    SetupTree tree;
    // The product's medium: its setup information, the demo data beside it.
    const std::string source = VYN_SOURCE_DIR;
    WriteFile(tree.setupFolder + "vyn.inf", ReadFile(source + "/resources/setup/vyn.inf"));
    for (const char* demo : {"Demo.plt", "VYN.MTW"})
        WriteFile(tree.setupFolder + "demo/" + demo, ReadFile(source + "/resources/demo/" + demo));
    {
        SetupContext ctx;
        ScriptedUi ui;
        tree.PrepareInstall(ctx, ui);
        ctx.log.Open();
        ASSERT_EQ(RunInstall(ctx), 0) << (ui.shown.empty() ? "" : ui.shown[0].text);
        ctx.log.Close();
    }

    // The installed program's first start: its folders from what the installer wrote.
    ::unsetenv("VYN_DATA_DIR");
    {
        TTestHook hook;
        InitAppPaths();
        EXPECT_EQ(InstallDemoData(), 0) << "the installed demo data is found";
        int argc = 1;
        char arg0[] = "vyn";
        char* argv[] = {arg0, nullptr};
        auto app = std::make_unique<vynwApp>("Vyn32", argc, argv, "", "");
        app->InitMainWindow();
        app->GetMainFrame()->Create();
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
        RequestClose(*app->GetMainFrame());
        TTestHook::ProcessEvents();
        EXPECT_TRUE(TakeQuitRequest());
        app.reset();
        SetSysFilesDir("");
    }
    ASSERT_EQ(::chdir(saved.c_str()), 0);

    SetupContext ctx;
    ScriptedUi ui;
    ui.answers = {kAnswerYes};
    tree.Start(ctx, tree.destination + "vynsetup", {"-U"}, ui);
    EXPECT_EQ(RunSetupJob(ctx, [](SetupContext&) { return 0; }), 1);
    std::vector<std::string> left;
    for (const auto& e : std::filesystem::recursive_directory_iterator(tree.programFiles)) left.push_back(e.path().string());
    EXPECT_EQ(left, std::vector<std::string>{}) << "left in the destination";
}
