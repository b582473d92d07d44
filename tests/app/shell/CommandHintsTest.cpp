// Every command a user can give from a menu or a bar explains itself: a status-line text while
// its menu item is highlighted or the mouse is on its gadget, and a tool tip on its gadget.
#include <gtest/gtest.h>

#include <set>
#include <sstream>

#include "BarWalk.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "app/TMyStatusBar.h"
#include "app/vynwMDI.h"
#include "platform/core/StringTable.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/MenuTemplate.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/HintInput.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace {

// What is wrong with a command's hint: nothing, or which part is missing.
std::string HintFault(int id)
{
    const char* text = FindResString(id);
    if (!text) return "no hint";
    if (StatusHintPart(text).empty()) return "no status text";
    if (ToolTipPart(text).empty()) return "no tool tip";
    return {};
}

void AddBar(std::set<int>& ids, const TGadgetWindow* bar)
{
    if (!bar) return;
    for (const TGadget* g : bar->Gadgets())
        if (g->GetId() > 0) ids.insert(g->GetId());
}

}  // namespace

TEST(CommandHints, EveryMenuItemHasAStatusTextAndATip)
{
    std::ostringstream faults;
    for (int m = 0; m < res::kMenuCount; ++m) {
        const TMenuTemplate& menu = res::kMenuTable[m];
        for (int i = 0; i < menu.count; ++i) {
            const TMenuItemTemplate& item = menu.items[i];
            if (item.kind != miItem || item.id <= 0) continue;
            const std::string fault = HintFault(item.id);
            if (!fault.empty()) faults << " menu " << menu.id << " item " << item.id << " \"" << item.text << "\": " << fault << ';';
        }
    }
    EXPECT_EQ(faults.str(), "");
}

// The bars change with the view and its mode: in each state a user can bring about every
// gadget shown is looked at.
TEST(CommandHints, EveryGadgetOfEveryViewAndModeHasAStatusTextAndATip)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    std::set<int> seen;
    WalkEveryBarState(s, hook, [&](const char*) {
        AddBar(seen, gToolBar);
        AddBar(seen, gToolPalette);
    });
    for (int id : {24331, 24332, 2230, 2231, 1029, 2210, 2211, 24333, 24340, 24337, 2472, 2483, 2487, 2476, 2480,
                   2482, 2493, 2494, 2495, 2496, 2461, 2465, 2462, 2505, 2219, 2226, 2213, 7109, 7118, 24321, 24322,
                   24323, 24324, 2603, 2604})
        EXPECT_TRUE(seen.count(id)) << "gadget " << id << " was never shown";
    std::ostringstream faults;
    for (int id : seen) {
        const std::string fault = HintFault(id);
        if (!fault.empty()) faults << ' ' << id << ": " << fault << ';';
    }
    EXPECT_EQ(faults.str(), "");
}

// A new user rests the mouse on New and Open and reads what they do; highlighting a menu item
// puts its explanation on the status line, which comes back when the menu closes.
TEST(CommandHints, ToolTipOnHoverAndStatusLineOnAHighlightedItem)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    RwMainWindow& main = *s.app->GetMainFrame();
    ASSERT_NE(gToolBar, nullptr);
    ASSERT_NE(gStatusBar, nullptr);
    auto middle = [](TGadgetWindow& bar, int id) {
        const TRect r = bar.GadgetWithId(id)->GetBounds();
        return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    struct Rest {
        TGadgetWindow* bar;
        int id;
        const char* tip;
        const char* status;
    };
    const Rest rests[] = {
        {gToolBar, 24331, "New plate", "Start a new plate"},
        {gToolBar, 24332, "Open", "Read either a plate or a report from a file ..."},
        {gToolPalette, 1029, "Help", "Help on the active window"},
    };
    for (const Rest& r : rests) {
        const TPoint at = middle(*r.bar, r.id);
        EXPECT_EQ(RestMouse(*r.bar, at.x, at.y), r.tip) << r.id;
        EXPECT_EQ(gStatusBar->GetText(), r.status) << r.id;
    }
    // Off the bar (across its empty part) the status line is as it was.
    MouseOver(*gToolPalette, gToolPalette->GetClientRect().Width() / 2, gToolPalette->GetClientRect().Height() - 4);
    MouseOver(*s.app->GetMDIClient());
    EXPECT_EQ(gStatusBar->GetText(), "");

    ASSERT_TRUE(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    TTestHook::ProcessEvents();
    s.app->IdleAction(0);
    const std::string method = gStatusBar->GetText();
    ASSERT_EQ(method, "Demo Linear") << "the status line names the plate's method";
    // A view's own button, and the measure button it puts on the bar.
    for (const Rest& r : {Rest{gToolPalette, 2483, "Samples", "Show sample layout"},
                          Rest{gToolBar, 2210, "Measure", "Measure the plate on the reader ..."}}) {
        const TPoint at = middle(*r.bar, r.id);
        EXPECT_EQ(RestMouse(*r.bar, at.x, at.y), r.tip) << r.id;
        EXPECT_EQ(gStatusBar->GetText(), r.status) << r.id;
    }
    MouseOver(*gToolBar, gToolBar->GetClientRect().Width() - 4, gToolBar->GetClientRect().Height() / 2);
    EXPECT_EQ(gStatusBar->GetText(), method);

    // The mode button, clicked, takes the view into the layout and stands for the way back:
    // under the mouse its hint changes with it.
    ASSERT_NE(gModeButton, nullptr);
    const TRect mb = gModeButton->GetBounds();
    const TPoint mode((mb.left + mb.right) / 2, (mb.top + mb.bottom) / 2);
    MouseOver(*gToolPalette, mode.x, mode.y);
    EXPECT_EQ(gStatusBar->GetText(), "Edit the plate's layout");
    ASSERT_TRUE(ClickReaches(*gToolPalette, mode.x, mode.y));
    TTestHook::ProcessEvents();
    EXPECT_EQ(gStatusBar->GetText(), "Leave the layout and show the plate's values");
    ASSERT_TRUE(ClickReaches(*gToolPalette, mode.x, mode.y));
    TTestHook::ProcessEvents();
    EXPECT_EQ(gStatusBar->GetText(), "Edit the plate's layout");
    MouseOver(*gToolBar, gToolBar->GetClientRect().Width() - 4, gToolBar->GetClientRect().Height() / 2);

    ASSERT_TRUE(HighlightMenuItem(main, 2211));
    EXPECT_EQ(gStatusBar->GetText(), "Calculate blanking, calibration, results and validation of the plate");
    ASSERT_TRUE(HighlightMenuItem(main, 24340));
    EXPECT_EQ(gStatusBar->GetText(), "Preview the active view's printout");
    CloseMenus();
    EXPECT_EQ(gStatusBar->GetText(), method) << "the method's name again once the menu is closed";
}

// The hint of the highlighted item goes with the menu, however the menu closes: by Escape, by a
// click elsewhere, and for the Tools popup that the view puts in place.
TEST(CommandHints, TheLastHintGoesWhenTheMenuCloses)
{
    TTestHook hook;
    ShellFixture s;
    s.app->ShowMainWindow();
    TWindow& main = *s.app->GetMainFrame();
    ASSERT_TRUE(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    TTestHook::ProcessEvents();
    s.app->IdleAction(0);
    const std::string method = StatusLineText(*gStatusBar);
    ASSERT_EQ(method, "Demo Linear");
    for (unsigned id : {2483u, 2211u}) {  // the Tools popup's first item, then the Action menu's
        ASSERT_TRUE(HighlightMenuItem(main, id)) << id;
        EXPECT_NE(StatusLineText(*gStatusBar), method) << id << ": the item's hint shows";
        CloseMenus();
        TTestHook::ProcessEvents();
        EXPECT_EQ(StatusLineText(*gStatusBar), method) << id;
    }
    ASSERT_TRUE(HighlightMenuItem(main, 2211));
    ClickAt(ScreenPoint(*s.app->GetMDIClient(), 4, 4));
    TTestHook::ProcessEvents();
    EXPECT_EQ(StatusLineText(*gStatusBar), method) << "closed by a click elsewhere";
}
