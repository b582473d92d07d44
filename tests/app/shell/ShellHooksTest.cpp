// The finished subsystems as the running program reaches them: the plate commands open the
// method wizard, the method sheet and the calibration dialog through the document's dialog chain.
#include <gtest/gtest.h>

#include <algorithm>

#include "ShellEnv.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "calibration/ui/QCalDlg.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QWizzAll.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

namespace {

struct HookedShell {
    ShellEnv env;
    int argc = 1;
    char arg0[4] = "vyn";
    char* argv[2] = {arg0, nullptr};
    std::unique_ptr<vynwApp> app;
    HookedShell()
    {
        InitAppPaths();
        InstallDemoData();
        app = std::make_unique<vynwApp>("Vyn32", argc, argv, "", "");
        app->InitMainWindow();
        app->GetMainFrame()->Create();
        TTestHook::ProcessEvents();
    }
    ~HookedShell()
    {
        app.reset();
        SetSysFilesDir("");
    }
    bool Enabled(unsigned id)
    {
        TCommandEnabler ce(id);
        app->EvCommandEnable(ce);
        return ce.GetHandled() && ce.IsEnabled();
    }
    void Command(unsigned id)
    {
        app->GetMainFrame()->SendCommand(id);
        TTestHook::ProcessEvents();
    }
};

bool Ran(const TTestHook& hook, int resId)
{
    return std::find(hook.DialogsRun().begin(), hook.DialogsRun().end(), resId) != hook.DialogsRun().end();
}

}  // namespace

TEST(ShellHooksTest, MethodCommandsOpenTheWizardAndTheSheetOfTheDemoPlate)
{
    TTestHook hook;
    HookedShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    ASSERT_NE(gCurrentDoc, nullptr);
    const std::string methodBefore = gCurrentDoc->GetPlate().methodName;

    struct Row {
        const char* name;
        unsigned command;
        int resId;
    };
    const Row rows[] = {
        {"Calculations... opens the method wizard", CM_CALCULATIONS, QWizzAll::kSheetResId},
        {"Advanced calculations... opens the method sheet", CM_ADVANCEDCALC, QAllPsh::kResId},
    };
    for (const Row& r : rows) {
        EXPECT_TRUE(s.Enabled(r.command)) << r.name;
        bool sawPlate = false;
        hook.AnswerDialog(r.resId, IDCANCEL, [&](TDialog&) { sawPlate = gCurrentDoc != nullptr; });
        s.Command(r.command);
        EXPECT_TRUE(Ran(hook, r.resId)) << r.name;
        EXPECT_TRUE(sawPlate) << r.name;
        EXPECT_EQ(hook.UnansweredDialogs(), 0) << r.name;
    }
    // Cancelled editors leave the plate as it was.
    EXPECT_EQ(gCurrentDoc->GetPlate().methodName, methodBefore);
    EXPECT_FALSE(gCurrentDoc->IsDirty());
}

TEST(ShellHooksTest, WithoutAPlateTheMethodCommandsAreGreyed)
{
    TTestHook hook;
    HookedShell s;
    for (unsigned id : {CM_CALCULATIONS, CM_ADVANCEDCALC, CM_CALIBRATION}) EXPECT_FALSE(s.Enabled(id)) << id;
}
