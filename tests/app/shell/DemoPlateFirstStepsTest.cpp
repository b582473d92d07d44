// The demo plate as it ships, the way a new user first works with it: its samples renumbered
// (it has no fixed sample), the status of a sample asked from its sample graph, and the sample
// list that follows the calculation after opening it when the settings ask for that.
#include <gtest/gtest.h>

#include <QImage>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "controls/QCalErrDlg.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/Gadget.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/Profile.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

// The program with the demo plate opened through File > Open.
struct DemoShell : ShellFixture {
    explicit DemoShell(void (*prepare)() = nullptr) : ShellFixture(prepare)
    {
        app->ShowMainWindow();
        const std::string demo = env.data + "/Demo.plt";
        SetFileDialogAnswer([demo](bool, const std::string&) { return demo; });
        opened = Choose(CM_FILEOPEN);
        SetFileDialogAnswer(nullptr);
    }
    RwMainWindow& Main() { return *app->GetMainFrame(); }
    bool Choose(unsigned id)
    {
        const bool chosen = ChooseMenuItem(Main(), id);
        TTestHook::ProcessEvents();
        return chosen;
    }
    bool Enabled(unsigned id)
    {
        for (const TMenuBarItem& item : MenuBarItems(Main()))
            if (item.id == id) return item.enabled;
        return false;
    }
    bool opened = false;
};

}  // namespace

TEST(DemoPlateFirstSteps, RenumberingStartsWithTheSequentialSamples)
{
    TTestHook hook;
    DemoShell s;
    ASSERT_TRUE(s.opened);
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(s.Choose(2473));  // Layout
    ASSERT_TRUE(s.Choose(2482));  // Renumber
    ASSERT_FALSE(s.Enabled(2476)) << "the renumbering's own Tools menu";
    auto middle = [view](int col, int row) {
        const TRect r = view->CellRect(col, row);
        return TPoint((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    };
    auto cellPicture = [view](int col, int row) {
        TTestHook::ProcessEvents();
        const TRect r = view->CellRect(col, row);
        const QImage* img = view->ClientImage();
        return img ? img->copy(r.left, r.top, r.Width(), r.Height()) : QImage();
    };
    // The four samples (no fixed one) clicked from the last to the first: the one clicked
    // shows selected, and with the last of them numbered the renumbering ends.
    const QImage before = cellPicture(6, 2);
    for (int col : {6, 0, 2, 4}) {
        const TPoint at = middle(col, 2);
        ASSERT_TRUE(ClickReaches(*view, at.x, at.y));
        TTestHook::ProcessEvents();
        if (col == 6) {
            EXPECT_TRUE(cellPicture(6, 2) != before) << "the clicked sample shows selected";
        }
    }
    EXPECT_TRUE(s.Enabled(2476)) << "back in layout editing, its Tools menu offers the tools";
    EXPECT_EQ(hook.Beeps(), 0);
}

TEST(DemoPlateFirstSteps, SampleStatusFromTheSampleGraph)
{
    TTestHook hook;
    DemoShell s;
    ASSERT_TRUE(s.opened);
    ASSERT_TRUE(s.Choose(CM_SHOWLIST));
    auto* list = dynamic_cast<QLView*>(gActiveView);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(ClickReaches(*list, 20, 4)) << "the first sample's row";
    TTestHook::ProcessEvents();
    ASSERT_TRUE(s.Choose(2227)) << "Window > Sample graph";
    ASSERT_NE(dynamic_cast<QNView*>(gActiveView), nullptr);
    TGadget* sts = nullptr;
    for (TMyControlBar* bar : {gToolBar, gToolPalette}) {
        bar->IdleAction(0);
        for (TGadget* g : bar->Gadgets())
            if (g->GetId() == 2228) sts = g;
    }
    ASSERT_NE(sts, nullptr);
    EXPECT_TRUE(sts->GetEnabled()) << "the Sts button";
    EXPECT_TRUE(s.Enabled(2228)) << "Action > Sample status";
    hook.AnswerDialog(QCalErrDlg::kResId, IDOK);
    EXPECT_TRUE(s.Choose(2228));
    EXPECT_EQ(hook.DialogsRun(), std::vector<int>{QCalErrDlg::kResId});
}

TEST(DemoPlateFirstSteps, SampleListFollowsTheCalculationAfterOpening)
{
    TTestHook hook;
    DemoShell s([] { ProfileWriteInt(kAppSection, "auto_list_aft_make", 1); });
    ASSERT_TRUE(s.opened);
    std::vector<std::string> kinds;
    for (TMDIChild* c : s.app->GetMDIClient()->Children())
        if (c->IsWindowVisible()) kinds.push_back(dynamic_cast<listMDIChild*>(c) ? "list" : "other");
    EXPECT_EQ(kinds, (std::vector<std::string>{"other", "list"})) << "the plate, then its sample list";
    EXPECT_NE(dynamic_cast<QLView*>(gActiveView), nullptr) << "the list comes to the front";
    EXPECT_FALSE(gCurrentDoc && gCurrentDoc->IsDirty()) << "the calculation is no change of the user's";
}
