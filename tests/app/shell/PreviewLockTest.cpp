// After a print preview, closed in any of the ways a user closes it, the main window takes
// clicks and close requests again: the preview's modal run must not outlive its window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/PrinterDialogs.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/TPgWin.h"
#include "printing/TRwPreview.h"
#include "app/vynwMDI.h"
#include "platform/gui/GadgetWindow.h"
#include "views/QPView.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "platform/core/DocManager.h"
#include "platform/gui/Dialog.h"
#include "report_designer/AttrControls.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"

using namespace vyn;

namespace {

struct CloseWay {
    const char* name;
    std::function<void(TRwPreview&, TTestHook&)> close;
};

void PressClose(TRwPreview& p, TTestHook&) { ClickGadget(p.GetControlBar(), CM_PREVIEWCLOSE); }

const CloseWay kWays[] = {
    {"TitleBarX", [](TRwPreview& p, TTestHook&) { RequestClose(p); }},
    {"Escape", [](TRwPreview& p, TTestHook&) { PressKey(p.GetPageWindow(), VK_ESCAPE); }},
    {"CloseButton", PressClose},
    {"PrintThenClose",
     [](TRwPreview& p, TTestHook& hook) {
         hook.AnswerDialog(TPrintDialog::kResId, IDCANCEL);
         ClickGadget(p.GetControlBar(), CM_PREVIEWPRINT);
         PressClose(p, hook);
     }},
};

void PrintTo(const CloseWay& way, std::ostream* os) { *os << way.name; }

// The running program, its main window shown, with the demo plate open.
class PreviewLock : public ::testing::TestWithParam<CloseWay> {
protected:
    PreviewLock()
    {
        main.ShowWindow(SW_SHOW);
        plate = s.app->OpenPlate(s.env.data + "/Demo.plt");
    }
    TTestHook hook;
    ShellFixture s;
    RwMainWindow& main = *s.app->GetMainFrame();
    TDocument* plate = nullptr;
};

// Picks the command that opens the preview from the menu bar and closes the preview in the way
// given; answers whether the preview ran.
bool PreviewAndClose(TWindow& main, unsigned command, const CloseWay& way, TTestHook& hook)
{
    bool ran = false;
    WhenModalWindowRuns([&](TWindow& modal) {
        auto* preview = dynamic_cast<TRwPreview*>(&modal);
        if (!preview) return;
        ran = true;
        EXPECT_FALSE(ClickReaches(main)) << "the main window waits while the preview is open";
        way.close(*preview, hook);
    });
    if (!ChooseMenuItem(main, command)) return false;
    TTestHook::ProcessEvents();
    return ran;
}

}  // namespace

TEST_P(PreviewLock, MainWindowTakesInputAfterThePreview)
{
    ASSERT_NE(plate, nullptr);
    ASSERT_TRUE(TakesInput(main));
    ASSERT_TRUE(ClickReaches(main)) << "a click on the main window arrives before the preview";

    ASSERT_TRUE(PreviewAndClose(main, CM_PREVIEW, GetParam(), hook));
    EXPECT_FALSE(InModalLoop());
    EXPECT_TRUE(main.IsWindowVisible());
    EXPECT_TRUE(TakesInput(main));
    EXPECT_TRUE(ClickReaches(main)) << "a click on the main window arrives";
    EXPECT_TRUE(ChooseMenuItem(main, CM_SHOWLIST)) << "the menu works";
    TTestHook::ProcessEvents();
    EXPECT_EQ(s.app->GetMDIClient()->Children().size(), 2u);
    // The close request of the title bar ends the program.
    RequestClose(main);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(main.IsWindow()) << "a close request is heard";
    EXPECT_TRUE(TakeQuitRequest());
}

namespace {

// What the main window shows for the active child: its menu bar with the items' enabled state,
// the gadgets on its bars and the shared mode button's command.
struct ShellState {
    std::vector<std::string> menu;
    std::vector<int> gadgets;
    unsigned modeButton = 0;
    bool operator==(const ShellState&) const = default;
};

ShellState StateOf(RwMainWindow& main)
{
    ShellState s;
    for (const TMenuBarItem& i : MenuBarItems(main))
        s.menu.push_back(i.path + (i.enabled ? "" : " (greyed)"));
    for (TMyControlBar* bar : {gToolBar, gToolPalette})
        if (bar)
            for (TGadget* g : bar->Gadgets()) s.gadgets.push_back(g->GetId());
    if (gModeButton) s.modeButton = gModeButton->GetCommandId();
    return s;
}

}  // namespace

TEST_P(PreviewLock, DesignerStateComesBackAfterItsPreview)
{
    ASSERT_NE(plate, nullptr);
    TDocTemplate* tpl = s.app->GetDocManager().FindTemplate("Report");
    ASSERT_NE(s.app->GetDocManager().CreateDoc(*tpl, "", dtNewDoc), nullptr);
    TTestHook::ProcessEvents();
    TMDIChild* designer = s.app->GetMDIClient()->GetActiveMDIChild();
    ASSERT_NE(dynamic_cast<QRPMDIChild*>(designer), nullptr);
    // The attribute window, opened by the user, stands beside the designer; it is hidden while
    // the preview is open. (The choice lasts for the run: an earlier test may have left it on.)
    gAttrEditorShown = false;
    ASSERT_TRUE(ChooseMenuItem(main, cmRepAttributes));
    TTestHook::ProcessEvents();
    ASSERT_NE(QRAttrGlobals::gAttrFrame, nullptr);
    ASSERT_TRUE(QRAttrGlobals::gAttrFrame->IsWindowVisible());
    const ShellState before = StateOf(main);
    ASSERT_NE(std::find(before.gadgets.begin(), before.gadgets.end(), cmRepPreview), before.gadgets.end());
    ASSERT_NE(std::find(before.menu.begin(), before.menu.end(), "&Tools/&Text Box"), before.menu.end());

    // The preview runs over the open plate, chosen in the printout mode dialog.
    hook.AnswerDialog(kDlgRepPrintMode, IDOK, [](TDialog& d) {
        if (TWindow* w = d.GetDlgItem(102)) {
            EXPECT_TRUE(ClickReaches(*w));
        }
    });
    ASSERT_TRUE(PreviewAndClose(main, cmRepPreview, GetParam(), hook));
    EXPECT_FALSE(InModalLoop());
    EXPECT_TRUE(main.IsWindowVisible());
    EXPECT_TRUE(TakesInput(main));
    EXPECT_TRUE(main.IsWindowEnabled());
    EXPECT_EQ(s.app->GetMDIClient()->GetActiveMDIChild(), designer) << "the designer stays the active child";
    const ShellState after = StateOf(main);
    EXPECT_EQ(after.menu, before.menu) << "the designer's menu, enabled as before";
    EXPECT_EQ(after.gadgets, before.gadgets) << "the designer's gadgets on the bars";
    EXPECT_EQ(after.modeButton, before.modeButton);
    EXPECT_TRUE(QRAttrGlobals::gAttrFrame->IsWindowVisible()) << "the attribute window is back";
    EXPECT_TRUE(ChooseMenuItem(main, cmRepTextBox)) << "the designer's menu works";
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}

INSTANTIATE_TEST_SUITE_P(EachWayOfClosing, PreviewLock, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return std::string(info.param.name); });
