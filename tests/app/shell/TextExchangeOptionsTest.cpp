// The options dialog refuses a decimal character that is also a separator of exported fields:
// such values would be read back as other numbers.
#include <gtest/gtest.h>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/vynwApp.h"
#include "app/RwMainWindow.h"
#include "evaluator/NumFormat.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

TEST(TextExchangeOptions, CommaAsDecimalAndSeparatorIsRefusedWhereItIsSet)
{
    TTestHook hook;
    ShellFixture s;
    const char oldDecimal = gDecimalChar;
    const AppSettings before = GetAppSettings();
    hook.AnswerMessageBox(IDOK);
    bool stayed = false;
    hook.AnswerDialog(QAppDlg::kResId, IDOK, [&](TDialog& d) {
        TTestHook::Click(*d.GetDlgItem(203));  // comma
        d.SetDlgItemText(503, ",");
        d.SendCommand(IDOK);
        stayed = !d.HasEnded();
        d.SetDlgItemText(503, ";");
    });
    s.app->GetMainFrame()->SendCommand(CM_APPLICATION);
    EXPECT_TRUE(stayed);
    ASSERT_EQ(hook.MessageTexts().size(), 1u);
    EXPECT_EQ(hook.MessageTexts()[0].find("The decimal character is also the field separator"), 0u);
    EXPECT_EQ(gDecimalChar, ',');
    EXPECT_EQ(GetAppSettings().cellSeparator, ';');
    gDecimalChar = oldDecimal;
    GetAppSettings() = before;
    QAppDlg::ResetLastPage();
}
