// After a print preview, closed in any of the ways a user closes it, the main window takes
// clicks and close requests again: the preview's modal run must not outlive its window.
#include <gtest/gtest.h>

#include <functional>

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

class PreviewLock : public ::testing::TestWithParam<CloseWay> {};

}  // namespace

TEST_P(PreviewLock, MainWindowTakesInputAfterThePreview)
{
    TTestHook hook;
    ShellFixture s;
    RwMainWindow& main = *s.app->GetMainFrame();
    main.ShowWindow(SW_SHOW);
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    ASSERT_TRUE(TakesInput(main));
    ASSERT_TRUE(ClickReaches(main)) << "a click on the main window arrives before the preview";

    bool ran = false;
    WhenModalWindowRuns([&](TWindow& modal) {
        auto* preview = dynamic_cast<TRwPreview*>(&modal);
        ASSERT_NE(preview, nullptr);
        ran = true;
        EXPECT_FALSE(ClickReaches(main)) << "the main window waits while the preview is open";
        GetParam().close(*preview, hook);
    });
    ASSERT_TRUE(ChooseMenuItem(main, CM_PREVIEW));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(ran);
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

INSTANTIATE_TEST_SUITE_P(EachWayOfClosing, PreviewLock, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return std::string(info.param.name); });
