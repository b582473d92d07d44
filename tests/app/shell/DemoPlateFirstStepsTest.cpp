// The demo plate as it ships, the way a new user first works with it: its samples renumbered
// (it has no fixed sample), the status of a sample asked from its sample graph, and the sample
// list that follows the calculation after opening it when the settings ask for that.
#include <gtest/gtest.h>

#include <QImage>
#include <ostream>

#include "ListRowInput.h"
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
#include "platform/gui/testing/ShownScreen.h"
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
    bool Enabled(unsigned id)
    {
        for (const TMenuBarItem& item : MenuBarItems(Main()))
            if (item.id == id) return item.enabled;
        return false;
    }
    bool opened = false;
};

// What the plate matrix shows in a well's cell, read from its picture on the screen: a sample's
// well is a raised tile where a free well shows a checkerboard, and a value is black text on the
// value line (the second line with the layers the matrix opens with).
struct ShownCell {
    bool free = false;
    bool value = false;
};
ShownCell CellShows(QPView& view, int col, int row)
{
    TTestHook::ProcessEvents();
    const QImage* img = view.ClientImage();
    if (!img) return {};
    const TRect r = view.CellRect(col, row);
    ShownCell shown;
    shown.free = img->pixel(r.left + 1, r.top + 1) != img->pixel(r.left + 2, r.top + 1);
    const int top = r.top + view.MarginY + view.LineHeight;
    for (int y = top; y < top + view.LineHeight; ++y)
        for (int x = r.left + view.MarginX; x < r.left + view.MarginX + view.CellTextWidth; ++x)
            if ((img->pixel(x, y) & 0xFFFFFF) == 0) shown.value = true;
    return shown;
}
bool operator==(ShownCell a, ShownCell b) { return a.free == b.free && a.value == b.value; }
std::ostream& operator<<(std::ostream& os, ShownCell c)
{
    return os << (c.free ? "free" : "sample") << (c.value ? " with a value" : " without a value");
}
constexpr ShownCell kFreeNoValue{true, false}, kFreeValue{true, true}, kSampleNoValue{false, false},
    kSampleValue{false, true};

// The matrix as it stands on the screen, compared with the same matrix painted afresh: a cell
// that was left out of the repaint keeps the old picture and makes them differ.
bool PictureIsCurrent(QPView& view)
{
    TTestHook::ProcessEvents();
    const QImage* kept = view.ClientImage();
    if (!kept) return false;
    const QImage before = kept->copy();
    view.Invalidate(true);
    TTestHook::ProcessEvents();
    const QImage* fresh = view.ClientImage();
    return fresh && *fresh == before;
}

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

// Deleting a sample invalidates the whole plate: the wells keep their measured values, but the
// blanked values derived from them are gone until the plate is calculated again, and every open
// view shows just that, wherever the sample was deleted from and whether or not its sample graph
// was open (which closes with it). Calculating brings every well's value back, the freed wells'
// too.
TEST(DemoPlateFirstSteps, ViewsShowThePlateAfterASampleIsDeleted)
{
    enum From { List, Matrix };
    const struct {
        const char* name;
        From from;
        bool graph;
    } cases[] = {
        {"from the list", List, false},
        {"from the list, its sample graph open", List, true},
        {"from the matrix, its sample graph open", Matrix, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TTestHook hook;
        DemoShell s;
        ASSERT_TRUE(s.opened);
        auto* matrix = dynamic_cast<QPView*>(gActiveView);
        ASSERT_NE(matrix, nullptr);
        // The first sample lies in C1 and C2, the third in C5 and C6; B1 is a standard.
        ASSERT_EQ(CellShows(*matrix, 0, 2), kSampleValue);
        ASSERT_EQ(CellShows(*matrix, 4, 2), kSampleValue);
        ASSERT_EQ(CellShows(*matrix, 0, 1), kSampleValue);
        ASSERT_TRUE(s.Choose(CM_SHOWLIST));
        auto* list = dynamic_cast<QLView*>(gActiveView);
        ASSERT_NE(list, nullptr);
        ASSERT_TRUE(ClickListRow(*list, 0));
        if (c.graph) {
            ASSERT_TRUE(s.Choose(2227)) << "Windows > Sample graph";
            ASSERT_NE(dynamic_cast<QNView*>(gActiveView), nullptr);
        }
        if (c.from == List) {
            // The graph covers the list's left part: a click on its first row's right end.
            ASSERT_TRUE(ClickReaches(*list, list->GetClientRect().right - 4, list->RowHeight() / 2)) << "back to the list";
            TTestHook::ProcessEvents();
            ASSERT_EQ(gActiveView, list);
            ASSERT_TRUE(s.Choose(2502)) << "Tools > List modifications";
            ASSERT_TRUE(ClickListRow(*list, 0));
        } else {
            // A click on a free well of the top row, which the other windows leave uncovered.
            const TRect a6 = matrix->CellRect(5, 0);
            ASSERT_TRUE(ClickReaches(*matrix, (a6.left + a6.right) / 2, (a6.top + a6.bottom) / 2));
            TTestHook::ProcessEvents();
            ASSERT_EQ(gActiveView, matrix);
            ASSERT_TRUE(s.Choose(2473)) << "Tools > Layout";
            const TRect c1 = matrix->CellRect(0, 2), c2 = matrix->CellRect(1, 2);
            DragMouse(*matrix, (c1.left + c1.right) / 2, (c1.top + c1.bottom) / 2, (c2.left + c2.right) / 2,
                      (c2.top + c2.bottom) / 2);
            TTestHook::ProcessEvents();
        }
        ASSERT_TRUE(s.Choose(2490)) << "Tools > Delete";
        EXPECT_TRUE(hook.Messages().empty());

        EXPECT_EQ(gCurrentDoc->GetPlate().sampleCount, 3);
        for (TMDIChild* child : s.app->GetMDIClient()->Children())
            EXPECT_EQ(dynamic_cast<QNView*>(child->GetClientWindow()), nullptr) << "the sample graph went with its sample";
        EXPECT_EQ(ListRows(*list).size(), 3u);
        EXPECT_TRUE(PictureIsCurrent(*matrix)) << "no cell keeps what it showed before the deletion";
        EXPECT_EQ(CellShows(*matrix, 0, 2), kFreeNoValue) << "the freed well, its blanked value dropped";
        EXPECT_EQ(CellShows(*matrix, 1, 2), kFreeNoValue);
        EXPECT_EQ(CellShows(*matrix, 4, 2), kSampleNoValue) << "another sample, its blanked value dropped";
        EXPECT_EQ(CellShows(*matrix, 0, 1), kSampleNoValue);

        if (c.from == Matrix) {
            ASSERT_TRUE(s.Choose(2474)) << "Tools > Normal view: layout editing calculates nothing";
        }
        ASSERT_TRUE(s.Choose(CM_CALCULATE));
        EXPECT_TRUE(PictureIsCurrent(*matrix));
        EXPECT_EQ(CellShows(*matrix, 0, 2), kFreeValue) << "the freed well keeps its measured value";
        EXPECT_EQ(CellShows(*matrix, 4, 2), kSampleValue);
        EXPECT_EQ(CellShows(*matrix, 0, 1), kSampleValue);
        EXPECT_TRUE(hook.Messages().empty());
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
}
