// The plate document's four views in the running program, driven as a user drives them: items
// of the main window's menu bar chosen while a view is active, its gadgets clicked on the shell's
// bars, each enabled as the view's enabler says; and every command a view handles is on its
// menu, a Tools popup, a gadget or a key.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QStyle>
#include <QStyleOptionTitleBar>
#include <QWidget>
#include <QMenu>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <algorithm>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>

#include "../../app/shell/ListRowInput.h"
#include "../../app/shell/ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/QChView.h"
#include "app/QPictButtGadget.h"
#include "app/TMyControlBar.h"
#include "app/TMyStatusBar.h"
#include "app/TMySwitchTG.h"
#include "app/vynwMDI.h"
#include "controls/QGCombo.h"
#include "controls/QCalErrDlg.h"
#include "controls/QGEdit.h"
#include "document/QDoc.h"
#include "platform/gui/Menu.h"
#include "views/QLView.h"
#include "views/QLViewTitles.h"
#include "views/QNView.h"
#include "views/QPView.h"
#include "views/QSView.h"
#include "views/ViewShell.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/HintInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace {

struct ViewsShell : ShellFixture {
    QDoc* doc = nullptr;
    // plate, when given, writes the plate to open into the data folder and names it.
    explicit ViewsShell(const std::function<std::string(const std::string& dataDir)>& plate = {})
    {
        // Shown as the program shows it, so that the active view has the keyboard focus.
        app->GetMainFrame()->ShowWindow(SW_SHOW);
        doc = dynamic_cast<QDoc*>(app->OpenPlate(plate ? plate(env.data) : env.data + "/Demo.plt"));
        TTestHook::ProcessEvents();
        BringToFront(Main());
    }
    // The user closes the windows before the program ends; a test that changed the plate
    // answers the question about it itself.
    ~ViewsShell() { Choose(24365); }
    TWindow& Main() const { return *app->GetMainFrame(); }
    // The command's item as its popup shows it, opened with the mouse and the pointer on the
    // item: whether it is there to highlight (not greyed), and its check mark.
    struct ShownItem {
        bool shown = false;
        bool checked = false;
    };
    ShownItem Shown(unsigned id)
    {
        ShownItem item;
        item.shown = HighlightMenuItem(Main(), id);
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()); item.shown && menu)
            if (QAction* a = menu->activeAction()) item.checked = a->isChecked();
        CloseMenus();
        return item;
    }
    // Whether the bar shows the command's item at all, greyed or not.
    bool OnBar(unsigned id) { return Shown(id).shown || MenuItemShownGrey(Main(), id); }
    // Chooses the item with the mouse on the menu bar; false when it is missing or grey.
    bool Choose(unsigned id)
    {
        const bool chosen = ChooseMenuItem(Main(), id);
        TTestHook::ProcessEvents();
        return chosen;
    }
    // The gadget of the command on either bar, its enabler asked as at idle.
    TGadget* Gadget(unsigned id)
    {
        for (TMyControlBar* bar : {gToolBar, gToolPalette}) {
            bar->IdleAction(0);
            for (TGadget* g : bar->Gadgets())
                if (g->GetId() == static_cast<int>(id)) return g;
        }
        return nullptr;
    }
    // Clicks the gadget with the mouse; false when it is missing or grey.
    bool Click(unsigned id)
    {
        TGadget* g = Gadget(id);
        if (!g || !g->GetEnabled()) return false;
        const bool reached = ClickGadget(*g->GetGadgetWindow(), static_cast<int>(id));
        TTestHook::ProcessEvents();
        return reached;
    }
    template <class View>
    View* Active() const
    {
        return dynamic_cast<View*>(gActiveView);
    }
    // The view that a Windows menu item brings up, once active; nullptr when it does not.
    template <class View>
    View* Show(unsigned windowCommand)
    {
        return Choose(windowCommand) ? Active<View>() : nullptr;
    }
};

// A click on the middle of the well's cell.
void ClickWell(QPView& view, int well)
{
    const TRect r = view.CellRect(well % view.Cols, well / view.Cols);
    ClickAt(ScreenPoint(view, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
    TTestHook::ProcessEvents();
}

// The child frame's window in the main window's client area, as the user sees it.
QMdiSubWindow* SubWindowOf(TWindow& frame)
{
    for (QWidget* w = frame.Widget(); w; w = w->parentWidget())
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) return sub;
    return nullptr;
}

// A person's pause between two actions with the mouse.
void Pause(int ms)
{
    WaitUntil([] { return false; }, ms);
}

// A click on a button the child frame's title bar shows (close, minimise, ...).
void ClickTitleBarButton(TWindow& frame, QStyle::SubControl button)
{
    QMdiSubWindow* sub = SubWindowOf(frame);
    ASSERT_NE(sub, nullptr);
    QStyleOptionTitleBar opt;
    opt.initFrom(sub);
    opt.subControls = QStyle::SC_All;
    opt.titleBarFlags = sub->windowFlags();
    opt.titleBarState = sub->windowState();
    opt.state |= QStyle::State_Active;
    const int titleHeight = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, &opt, sub);
    opt.rect = QRect(0, 0, sub->width(), titleHeight);
    const QRect box = sub->style()->subControlRect(QStyle::CC_TitleBar, &opt, button, sub);
    ASSERT_FALSE(box.isEmpty());
    Pause(QApplication::doubleClickInterval() + 100);
    MoveMouseTo(sub->mapToGlobal(sub->rect().center()));
    ClickAt(sub->mapToGlobal(box.center()));
    TTestHook::ProcessEvents();
}

void ClickCloseBox(TWindow& frame) { ClickTitleBarButton(frame, QStyle::SC_TitleBarCloseButton); }

// The frame's bottom right corner dragged so that its outer size becomes width x height.
void DragFrameTo(TWindow& frame, int width, int height)
{
    QMdiSubWindow* sub = SubWindowOf(frame);
    ASSERT_NE(sub, nullptr);
    const QPoint from = sub->mapToGlobal(QPoint(sub->width() - 2, sub->height() - 2));
    // A person lets go and takes the corner again after a moment: two presses at one spot
    // within the double-click time would be a double click on the frame's edge.
    Pause(QApplication::doubleClickInterval() + 100);
    // The pointer comes to the corner from inside the frame, so that the frame sees it reach its edge.
    MoveMouseTo(sub->mapToGlobal(sub->rect().center()));
    DragAt(from, from + QPoint(width - sub->width(), height - sub->height()));
    TTestHook::ProcessEvents();
}

TEST(ViewsInShell, PlateViewMenuAndPaletteReachTheView)
{
    TTestHook hook;
    ViewsShell s;
    ASSERT_NE(s.doc, nullptr);
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    const auto identLayer = s.Shown(2483);
    ASSERT_TRUE(identLayer.shown) << "the display mode's Tools popup";
    EXPECT_TRUE(identLayer.checked);
    // The palette's layer buttons are live: identifications on, then off by the menu.
    ASSERT_TRUE(s.Click(2484));
    EXPECT_TRUE(view->Layers & plIdent);
    ASSERT_TRUE(s.Choose(2484));
    EXPECT_FALSE(view->Layers & plIdent);
    // The mode button takes the view into layout edit; the Tools popup follows the mode.
    ASSERT_EQ(gModeButton->GetCommandId(), 2473);
    ASSERT_TRUE(s.Click(2473));
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmLayout));
    EXPECT_FALSE(s.OnBar(2483));
    ASSERT_TRUE(s.Choose(2476));
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmControls));
    EXPECT_TRUE(s.OnBar(2491)) << "the controls tool's popup";
    EXPECT_FALSE(s.Choose(2483)) << "no layer command in a tool";
    ASSERT_TRUE(s.Click(2475));
    ASSERT_TRUE(s.Choose(2474));
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmDisplay));
    // Data entry from the palette; its Tools popup ends it.
    ASSERT_TRUE(s.Click(2472));
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmDataEntry));
    EXPECT_FALSE(s.Choose(2210)) << "measuring waits until the entry ends";
    ASSERT_TRUE(s.Choose(2469));
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmDisplay));
}

// The plate view's layer buttons stand down the side bar as layout, identifications, measured,
// transformed, results.
TEST(ViewsInShell, LayerButtonsStandInTheirOrder)
{
    TTestHook hook;
    ViewsShell s;
    ASSERT_NE(s.Active<QPView>(), nullptr);
    std::vector<std::pair<int, int>> shown;  // top on the bar, command
    for (TGadget* g : gToolPalette->Gadgets())
        if (g->GetId() >= static_cast<int>(cmLayerFirst) && g->GetId() <= static_cast<int>(cmLayerLast))
            shown.emplace_back(g->GetBounds().top, g->GetId());
    std::sort(shown.begin(), shown.end());
    std::vector<int> order;
    for (const auto& [top, id] : shown) order.push_back(id);
    EXPECT_EQ(order, (std::vector<int>{2483, 2484, 2486, 2485, 2487}));
    // And the tips say which is which, where the pointer rests.
    for (const auto& [top, id] : shown) {
        const TRect r = gToolPalette->GadgetWithId(id)->GetBounds();
        const std::string tip = HoverAt(ScreenPoint(*gToolPalette, (r.left + r.right) / 2, (r.top + r.bottom) / 2));
        if (id == 2486) {
            EXPECT_EQ(tip, "Measured data");
        } else if (id == 2485) {
            EXPECT_EQ(tip, "Transformed data");
        }
    }
}

TEST(ViewsInShell, SampleListModesByMenuAndGadgets)
{
    TTestHook hook;
    ViewsShell s;
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    ASSERT_NE(list->Titles(), nullptr);
    EXPECT_TRUE(list->Titles()->IsWindow()) << "the column titles stand above the rows";
    const int row = s.doc->GetPlate().fixedCount;
    ASSERT_TRUE(ClickListRow(*list, row));
    // A narrow main window: the edit must give up what would run past the bar.
    TWindow& main = *s.app->GetMainFrame();
    main.MoveWindow(0, 0, 420, 400);
    TTestHook::ProcessEvents();
    ASSERT_TRUE(s.Click(1572));
    EXPECT_EQ(list->GetMode(), QLView::mdIdEntry);
    EXPECT_TRUE(s.OnBar(2503)) << "the entry's Tools popup";
    // The identification edit stands on the tool bar, within its right edge, and takes typing.
    QGEdit* edit = list->Edit();
    ASSERT_EQ(edit->GetParent(), gToolBar);
    EXPECT_TRUE(edit->IsWindowVisible());
    EXPECT_LE(gToolBar->ChildRectInClient(*edit).right, gToolBar->GetClientRect().right);
    const std::string ident = s.doc->GetPlate().GetSample(row)->ident;
    EXPECT_TRUE(ident.empty() ? ShownTexts(*edit).empty() : ShowsText(edit->Widget(), ident));
    // Typed into the row, then on at the end of the edit's text.
    ASSERT_TRUE(ClickListRow(*list, row));
    TypeText("X");
    const TRect e = edit->GetClientRect();
    ClickAt(ScreenPoint(*edit, e.right - 2, e.bottom / 2));
    TypeText("17");
    ASSERT_TRUE(s.Click(1)) << "the confirm gadget";
    EXPECT_EQ(s.doc->GetPlate().GetSample(row)->ident, "X17");
    bool shown = false;
    for (const std::string& line : ListRows(*list)) shown = shown || line.find("X17") != std::string::npos;
    EXPECT_TRUE(shown) << "the list shows the new identification";
    EXPECT_TRUE(list->HasFocus());
    ASSERT_TRUE(s.Click(2503));  // the mode button ends the entry
    EXPECT_EQ(list->GetMode(), QLView::mdDisplay);
    ASSERT_TRUE(s.Choose(2502));
    EXPECT_EQ(list->GetMode(), QLView::mdListModify);
    const int fixed = s.doc->GetPlate().fixedCount;
    ASSERT_TRUE(ClickListRow(*list, fixed));
    ASSERT_TRUE(s.Click(2505));
    EXPECT_EQ(s.doc->GetPlate().fixedCount, fixed + 1);
    ASSERT_TRUE(s.Choose(2501));
    EXPECT_EQ(list->GetMode(), QLView::mdDisplay);
    // The identification and the fixed sample are not kept: one question for the plate, No.
    hook.AnswerMessageBox(IDNO);
    ASSERT_TRUE(s.Choose(24365));
    EXPECT_EQ(hook.Messages().size(), 1u);
}

// The status bar's mode gadget names the list's work mode while the list is active: the list
// modification in red, the identification entry in yellow.
TEST(ViewsInShell, SampleListShowsItsModeInTheStatusBar)
{
    TTestHook hook;
    ViewsShell s;
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    // What the bar shows once the program has had its idle round, as when it waits for input.
    auto shown = [&](const char* text) {
        s.app->IdleAction(0);
        return WaitUntil([&] { return ShowsText(gStatusBar->Widget(), text); }, 3000);
    };
    // The gadget's face just inside its border, where no letter is painted.
    auto face = [&] {
        const TRect b = gModeGadget->GetBounds();
        return GrabPicture(*gStatusBar).pixelColor(b.left + 3, b.top + 3);
    };
    ASSERT_TRUE(s.Choose(2502));
    ASSERT_EQ(list->GetMode(), QLView::mdListModify);
    EXPECT_TRUE(shown("DEFINITION"));
    EXPECT_EQ(face(), QColor(255, 0, 0));
    ASSERT_TRUE(s.Choose(2501));
    ASSERT_TRUE(s.Click(1572));
    ASSERT_EQ(list->GetMode(), QLView::mdIdEntry);
    EXPECT_TRUE(shown("ID ENTRY"));
    EXPECT_EQ(face(), QColor(255, 255, 0));
    ASSERT_TRUE(s.Click(2503));
    ASSERT_EQ(list->GetMode(), QLView::mdDisplay);
    s.app->IdleAction(0);
    EXPECT_TRUE(WaitUntil([&] { return !ShowsText(gStatusBar->Widget(), "ID ENTRY"); }, 3000))
        << "the plain list leaves the gadget to the measurement time";
}

// The tool bar's edit is white while typing goes there and light grey while it does not.
TEST(ViewsInShell, ToolBarEditIsGreyWithoutTheFocus)
{
    TTestHook hook;
    ViewsShell s;
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    const int row = s.doc->GetPlate().fixedCount;
    ASSERT_TRUE(ClickListRow(*list, row));
    ASSERT_TRUE(s.Click(1572));
    QGEdit* edit = list->Edit();
    ASSERT_EQ(edit->GetParent(), gToolBar);
    // The field's face near its right end, where no letter of a short identification lies.
    auto face = [&] {
        TTestHook::ProcessEvents();
        const TRect r = edit->GetClientRect();
        return GrabPicture(*edit).pixelColor(r.right - 5, r.bottom / 2);
    };
    const TRect e = edit->GetClientRect();
    ClickAt(ScreenPoint(*edit, e.right - 2, e.bottom / 2));
    ASSERT_TRUE(edit->HasFocus());
    EXPECT_EQ(face(), QColor(255, 255, 255)) << "typing goes to the edit";
    ASSERT_TRUE(ClickListRow(*list, row + 1));
    ASSERT_FALSE(edit->HasFocus());
    EXPECT_EQ(face(), QColor(192, 192, 192)) << "the list has the keyboard";
    ASSERT_TRUE(s.Click(2503));
}

// A result wider than its column shows its first digits, cut on the right with the plate
// view's overflow mark (a white box with a triangle), never its last digits alone, which
// would read as another number.
TEST(ViewsInShell, SampleListCutsAWideResultOnTheRightWithTheMark)
{
    TTestHook hook;
    ViewsShell s;
    // The results shown fixed with 15 decimals: wider than the column.
    hook.AnswerDialog(5243, 0, [](TDialog& d) {
        TWindow& fixed = *d.GetDlgItem(103);
        EXPECT_TRUE(ClickReaches(fixed, 6, fixed.GetClientRect().Height() / 2));
        TTestHook::ProcessEvents();
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(104), "15"));
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(IDOK)));
    });
    ASSERT_TRUE(s.Choose(2244));
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    const QPlate& plate = s.doc->GetPlate();
    int row = -1;
    std::string result;
    for (int i = 0; i < list->GetCount() && row < 0; ++i) {
        bool isText = true;
        const std::string text = list->ResultText(i, isText);
        const QSample* sample = plate.GetSample(i);
        if (!isText && text.size() >= 10 && sample && !sample->colourSet && (i + 1) * list->RowHeight() < 200) {
            row = i;
            result = text;
        }
    }
    ASSERT_GE(row, 0) << "the demo plate has a numeric result";
    ASSERT_LT(list->ResultsPixelWidth(), list->CharWidth() * static_cast<int>(result.size()))
        << "the result " << result << " does not fit";
    TTestHook::ProcessEvents();
    const QImage picture = GrabPicture(*list);
    int white = 0;
    for (int x = list->SeparatorX() + 2; x < list->SeparatorX() + list->ResultsPixelWidth() - 1; ++x)
        for (int yy = row * list->RowHeight() + 2; yy < (row + 1) * list->RowHeight() - 2; ++yy)
            if (picture.pixelColor(x, yy) == QColor(255, 255, 255)) ++white;
    EXPECT_GT(white, list->RowHeight()) << "the overflow mark at the end of " << result;
    // Its first whole digits, as many as leave room for the mark.
    bool shown = false;
    for (const std::string& line : ListRows(*list)) {
        const std::string painted = line.substr(line.rfind('\t') + 1);
        shown = shown || (painted.size() >= 4 && painted.size() < result.size() && result.compare(0, painted.size(), painted) == 0);
    }
    EXPECT_TRUE(shown) << "the number is painted from its start: " << result;
    hook.AnswerMessageBox(IDNO);  // the changed presentation is not kept when the windows close
}

// Replication hides the name box while the pattern waits for its place and shows it again
// when the pattern is dropped; the box keeps its place on the bar.
TEST(ViewsInShell, ReplicationHidesTheNameBoxUntilThePatternIsPlaced)
{
    TTestHook hook;
    ViewsShell s;
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(s.Click(cmLayoutMode));
    ASSERT_TRUE(s.Choose(cmStandards));
    ASSERT_TRUE(s.Click(2499)) << "the free-style arrangement replicates";
    ASSERT_NE(view->Pattern, nullptr) << "the plate's standards are the pattern";
    QWidget* box = view->NameBox()->Widget();
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(ShownOnScreen(box));
    ASSERT_TRUE(s.Click(2495));
    EXPECT_TRUE(view->Mode & pmPatternPending);
    EXPECT_FALSE(ShownOnScreen(box)) << "no name is chosen for a pending pattern";
    ASSERT_TRUE(s.Click(2495));
    EXPECT_FALSE(view->Mode & pmPatternPending);
    EXPECT_TRUE(ShownOnScreen(box));
}

// The sample list's frame: the column titles in a strip along the top at full width, the list
// from x = -1 and one pixel above the strip's bottom to the frame's right and bottom edges.
TEST(ViewsInShell, SampleListFrameHoldsTheTitlesAboveTheList)
{
    TTestHook hook;
    ViewsShell s;
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    auto* frame = dynamic_cast<listMDIChild*>(s.app->GetMDIClient()->GetActiveMDIChild());
    ASSERT_NE(frame, nullptr) << "the list has a frame of its own kind";
    ASSERT_EQ(frame->GetClientWindow(), list);
    QLViewTitles* titles = list->Titles();
    ASSERT_NE(titles, nullptr);
    EXPECT_EQ(titles, frame->Titles());
    EXPECT_EQ(titles->GetParent(), frame);
    const int h = titles->Height();
    ASSERT_GT(h, 0);
    auto laidOut = [&](const char* when) {
        SCOPED_TRACE(when);
        const TRect c = frame->GetClientRect();
        EXPECT_EQ(frame->ChildRectInClient(*titles), TRect(0, 0, c.right, h));
        EXPECT_EQ(frame->ChildRectInClient(*list), TRect(-1, h - 1, c.right, c.bottom));
        EXPECT_EQ(list->GetClientRect().Height(), c.Height() - h + 1);
    };
    laidOut("as shown");
    // The user makes the frame larger, then so narrow that the identification title gives way
    // (in a main window with room for the larger frame).
    s.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
    TTestHook::ProcessEvents();
    const TRect before = frame->GetClientRect();
    DragFrameTo(*frame, 640, 470);
    EXPECT_GT(frame->GetClientRect().Width(), before.Width());
    laidOut("larger");
    EXPECT_TRUE(ShowsText(titles->Widget(), "Sample Id"));
    DragFrameTo(*frame, 140, 300);
    laidOut("narrow");
    EXPECT_TRUE(ShowsText(titles->Widget(), "Id")) << "the strip was painted anew for the narrower columns";
    EXPECT_FALSE(ShowsText(titles->Widget(), "Sample Id"));

    // The frame asks the list for its row height; another frame leaves the question unanswered.
    TMeasureItem item{static_cast<unsigned>(list->GetId()), 0, 0, 0};
    frame->SendMessage(WM_MEASUREITEM, static_cast<TParam1>(list->GetId()), reinterpret_cast<TParam2>(&item));
    EXPECT_EQ(item.itemHeight, list->RowHeight());
    item.itemHeight = 0;
    frame->SendMessage(WM_MEASUREITEM, static_cast<TParam1>(list->GetId() + 1), reinterpret_cast<TParam2>(&item));
    EXPECT_EQ(item.itemHeight, 0) << "not the list's id";

    // Closed by its close box: the frame, the list and its titles go; the plate view stays.
    ClickCloseBox(*frame);
    for (TMDIChild* c : s.app->GetMDIClient()->Children()) {
        EXPECT_EQ(dynamic_cast<listMDIChild*>(c), nullptr);
        EXPECT_EQ(dynamic_cast<QLView*>(c->GetClientWindow()), nullptr);
    }
    EXPECT_EQ(s.app->GetMDIClient()->Children().size(), 1u);
    ASSERT_NE(s.app->GetMDIClient()->GetActiveMDIChild(), nullptr);
    EXPECT_NE(dynamic_cast<vynwMDIChild*>(s.app->GetMDIClient()->GetActiveMDIChild()), nullptr);
    EXPECT_NE(dynamic_cast<QPView*>(s.app->GetMDIClient()->GetActiveMDIChild()->GetClientWindow()), nullptr)
        << "the plate view keeps a plain frame";
}

// Closing the plate takes the list with its frame and titles down while the frame still lives.
TEST(ViewsInShell, ClosingThePlateTakesTheSampleListFrameWithIt)
{
    TTestHook hook;
    ViewsShell s;
    ASSERT_NE(s.Show<QLView>(2225), nullptr);
    ASSERT_NE(dynamic_cast<listMDIChild*>(s.app->GetMDIClient()->GetActiveMDIChild()), nullptr);
    ASSERT_TRUE(s.Choose(CM_FILECLOSE));
    TTestHook::ProcessEvents();
    EXPECT_TRUE(s.app->GetMDIClient()->Children().empty());
    EXPECT_EQ(gActiveView, nullptr);
}

// A frame dragged smaller than its view can show stops at the view's minimum size for its
// client area, the frame's borders and caption added.
TEST(ViewsInShell, FramesStopAtTheirViewsMinimumSize)
{
    TTestHook hook;
    ViewsShell s;
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    TMDIChild* frame = s.app->GetMDIClient()->GetActiveMDIChild();
    ASSERT_NE(frame, nullptr);
    ASSERT_GT(list->MinWindowWidth(), 0);
    const TRect outer = frame->GetWindowRect(), inner = frame->GetClientRect();
    const int dx = outer.Width() - inner.Width(), dy = outer.Height() - inner.Height();
    ASSERT_GT(dx, 0) << "the frame's client area lies inside its borders";
    ASSERT_GT(dy, dx) << "and below its caption";

    TMinMaxInfo info;
    frame->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<TParam2>(&info));
    EXPECT_EQ(info.minTrackSizeX, list->MinWindowWidth() + dx);
    EXPECT_EQ(info.minTrackSizeY, list->MinWindowHeight() + dy);

    DragFrameTo(*frame, 20, 20);
    EXPECT_EQ(frame->GetWindowRect().Width(), list->MinWindowWidth() + dx);
    EXPECT_EQ(frame->GetWindowRect().Height(), list->MinWindowHeight() + dy);
}

// Windows > Cascade steps the frames down one title bar each and leaves each a body to work
// in; minimised and lined up by Arrange icons, the plate's and the list's frames are title bars
// as the curve's is, without a grey body below.
TEST(ViewsInShell, CascadedAndMinimisedFramesKeepTheirShape)
{
    TTestHook hook;
    ViewsShell s;
    s.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
    TTestHook::ProcessEvents();
    ASSERT_NE(s.Show<QLView>(2225), nullptr);
    ASSERT_TRUE(s.Choose(2226));
    const std::vector<TMDIChild*> frames = s.app->GetMDIClient()->Children();
    ASSERT_EQ(frames.size(), 3u);
    ASSERT_TRUE(s.Choose(CM_CASCADECHILDREN));
    const int title = SubWindowOf(*frames[0])->style()->pixelMetric(QStyle::PM_TitleBarHeight);
    std::vector<int> tops;
    for (TMDIChild* f : frames) {
        QMdiSubWindow* sub = SubWindowOf(*f);
        ASSERT_NE(sub, nullptr);
        EXPECT_GT(sub->height(), 4 * title) << "a cascaded frame keeps a body";
        EXPECT_GT(sub->width(), 200);
        tops.push_back(sub->y());
    }
    std::sort(tops.begin(), tops.end());
    EXPECT_TRUE(std::adjacent_find(tops.begin(), tops.end()) == tops.end()) << "each title stays in reach";

    for (TMDIChild* f : frames) ClickTitleBarButton(*f, QStyle::SC_TitleBarMinButton);
    ASSERT_TRUE(s.Choose(CM_ARRANGEICONS));
    const int iconHeight = SubWindowOf(*frames[2])->height();  // the curve's, drawn right
    for (TMDIChild* f : frames) {
        QMdiSubWindow* sub = SubWindowOf(*f);
        EXPECT_TRUE(sub->isMinimized());
        EXPECT_EQ(sub->height(), iconHeight) << "no body under the title bar";
        EXPECT_LT(sub->height(), 2 * title);
    }
}

// A sample list that the user made wider or narrower, closed and opened again, comes back as
// wide as it was left.
TEST(ViewsInShell, SampleListOpensAgainAtTheWidthItWasLeftAt)
{
    TTestHook hook;
    ViewsShell s;
    s.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
    TTestHook::ProcessEvents();
    for (int width : {520, 380}) {
        SCOPED_TRACE(width);
        QLView* list = s.Show<QLView>(2225);
        ASSERT_NE(list, nullptr);
        TMDIChild* frame = s.app->GetMDIClient()->GetActiveMDIChild();
        DragFrameTo(*frame, width, SubWindowOf(*frame)->height());
        const int left = SubWindowOf(*frame)->width();
        ASSERT_NEAR(left, width, 2);
        ClickCloseBox(*frame);
        list = s.Show<QLView>(2225);
        ASSERT_NE(list, nullptr);
        frame = s.app->GetMDIClient()->GetActiveMDIChild();
        EXPECT_NEAR(SubWindowOf(*frame)->width(), left, list->CharWidth());
        ClickCloseBox(*frame);
    }
}

TEST(ViewsInShell, CurveAndSampleGraphTakeTheirCommands)
{
    TTestHook hook;
    ViewsShell s;
    QSView* curve = s.Show<QSView>(2226);
    ASSERT_NE(curve, nullptr);
    const int logX = s.doc->GetPlate().curveLogX;
    ASSERT_TRUE(s.Choose(2426));
    EXPECT_NE(s.doc->GetPlate().curveLogX, logX);
    EXPECT_EQ(s.Shown(2426).checked, s.doc->GetPlate().curveLogX != 0);
    EXPECT_TRUE(s.Choose(2426));
    EXPECT_EQ(gModeButton->GetCommandId(), 2213);
    EXPECT_NE(s.Gadget(2208), nullptr);
    // Tab reaches the graph inside its frame: the first standard is selected.
    PressKeys(VK_TAB);
    EXPECT_TRUE(curve->HasSelection());
    PressKeys(VK_ESCAPE);
    // F5 (the menu's key) opens the inverse calculation on the plate's curve.
    hook.AnswerDialog(4047, IDCANCEL);
    ASSERT_TRUE(s.Choose(2425));
    EXPECT_EQ(hook.DialogsRun(), std::vector<int>{4047});
    // A click on a graph without the focus only gives it the focus.
    TWindow::SetFocusNone();
    const QCalibr& cal = s.doc->GetPlate().calibr;
    ASSERT_FALSE(cal.pointX.empty());
    // A middle standard: the range markers stand at the ends of the curve.
    const std::size_t mid = cal.pointX.size() / 2;
    const TPoint at(curve->XDevice(cal.pointX[mid]), curve->YDevice(cal.pointY[mid]));
    ClickAt(ScreenPoint(*curve, at.x, at.y));
    EXPECT_FALSE(curve->HasSelection());
    EXPECT_TRUE(curve->HasFocus());
    ClickAt(ScreenPoint(*curve, at.x, at.y));
    EXPECT_TRUE(curve->HasSelection());

    // The sample graph of the first quantitative sample, from the list.
    QLView* list = s.Show<QLView>(2225);
    ASSERT_NE(list, nullptr);
    int quant = -1;
    for (int i = 0; i < s.doc->GetPlate().sampleCount && quant < 0; ++i)
        if (s.doc->GetPlate().GetSample(i)->kind == skQuantitative) quant = i;
    ASSERT_GE(quant, 0);
    ASSERT_TRUE(ClickListRow(*list, quant));
    ASSERT_TRUE(s.Click(2227));
    QNView* graph = s.Active<QNView>();
    ASSERT_NE(graph, nullptr);
    EXPECT_EQ(graph->SampleIndex(), quant);
    EXPECT_EQ(gModeButton->GetCommandId(), 2214);
    const int grid = s.doc->GetPlate().curveGrid;
    ASSERT_TRUE(s.Choose(2428));
    EXPECT_NE(s.doc->GetPlate().curveGrid, grid);
    EXPECT_TRUE(!s.OnBar(2227) || MenuItemShownGrey(s.Main(), 2227) || s.Shown(2227).checked);
    // The changed axes and grid are not kept: one question for the plate and its four windows.
    hook.AnswerMessageBox(IDNO);
    ASSERT_TRUE(s.Choose(24365));
    EXPECT_EQ(hook.Messages().size(), 1u);
    EXPECT_TRUE(s.app->GetMDIClient()->Children().empty());
}

TEST(ViewsInShell, PlateViewFrameFitsThePlate)
{
    TTestHook hook;
    ViewsShell s;
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    auto fits = [view] {
        const TRect r = view->GetClientRect();
        const TSize wanted = view->WantedClientSize();
        return r.Width() == wanted.cx && r.Height() == wanted.cy;
    };
    EXPECT_TRUE(fits()) << "at first show";
    const int before = view->GetClientRect().Height();
    ASSERT_TRUE(s.Choose(2484));  // one more line per cell
    EXPECT_TRUE(fits());
    EXPECT_GT(view->GetClientRect().Height(), before);
}

TEST(ViewsInShell, AWhollyShownPlateOffersNothingToScroll)
{
    TTestHook hook;
    ViewsShell s;
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    // The bars a user sees beside the cells.
    auto shownBars = [view] {
        int n = 0;
        for (QScrollBar* b : view->Widget()->findChildren<QScrollBar*>())
            n += b->isVisible() && b->maximum() > b->minimum();
        return n;
    };
    EXPECT_EQ(shownBars(), 0) << "at first show";
    // Room enough for the tallest cells.
    s.app->GetMainFrame()->MoveWindow(0, 0, 1400, 1200);
    TTestHook::ProcessEvents();
    // Every further line makes the cells taller, and from some number of lines on wider than
    // the row titles.
    for (unsigned layer : {2484u, 2485u, 2486u, 2487u}) {
        if (view->Layers & (1u << (layer - 2483))) continue;
        if (!s.Choose(layer)) continue;
        const TRect r = view->GetClientRect();
        ASSERT_EQ(r.Width(), view->WantedClientSize().cx) << layer;
        EXPECT_EQ(shownBars(), 0) << "layer command " << layer << ": the whole plate is shown";
        EXPECT_EQ(view->FirstCol, 0);
    }
}

TEST(ViewsInShell, DataEntryAsksForTheValueKindWhenTheLayersDoNotDecide)
{
    TTestHook hook;
    ViewsShell s;
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(s.doc->GetPlate().dataMode, dmMeasured) << "the plate must have data values of its own";
    ASSERT_TRUE(s.Choose(2486));  // the measured layer beside the transformed one
    ASSERT_TRUE((view->Layers & plData) && (view->Layers & plMeasured));

    hook.AnswerDialog(QChView::kResId, IDCANCEL);
    ASSERT_TRUE(s.Choose(2472));
    EXPECT_EQ(hook.DialogsRun(), std::vector<int>{QChView::kResId});
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmDisplay)) << "Cancel leaves the view as it was";

    int helpId = 0;
    hook.AnswerDialog(QChView::kResId, IDOK, [&helpId](TDialog& d) {
        helpId = d.GetContextHelpId();
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(QChView::IDC_MEASURED)));
    });
    ASSERT_TRUE(s.Choose(2472));
    EXPECT_EQ(hook.DialogsRun().size(), 2u);
    EXPECT_EQ(helpId, 3138);
    EXPECT_EQ(view->Mode, static_cast<unsigned>(pmDataEntry));
    EXPECT_EQ(view->EntryLayer, static_cast<unsigned>(plMeasured));
    ASSERT_TRUE(s.Choose(2469));

    // One value layer shown: it decides, nobody is asked.
    ASSERT_TRUE(s.Choose(2486));
    ASSERT_TRUE(s.Choose(2472));
    EXPECT_EQ(hook.DialogsRun().size(), 2u);
    EXPECT_EQ(view->EntryLayer, static_cast<unsigned>(plData));
}

TEST(ViewsInShell, BlankWellsSteerTheBlanking)
{
    TTestHook hook;
    ViewsShell s;
    ASSERT_NE(s.doc, nullptr);
    GetAppSettings().autoBlankBlank = "bl";
    QPView* view = s.Active<QPView>();
    ASSERT_NE(view, nullptr);
    QPlate& p = s.doc->GetPlate();
    ASSERT_EQ(p.dataMode, dmSimple);
    auto deleteWell = [&](int well) {
        ClickWell(*view, well);
        ASSERT_EQ(view->SelectedCount, 1);
        PressKeys(VK_DELETE);
    };
    ASSERT_TRUE(s.Click(cmLayoutMode));
    ASSERT_EQ(view->Mode, static_cast<unsigned>(pmLayout));
    deleteWell(1);  // A2: one blank well left
    EXPECT_EQ(p.dataMode, dmSimple);
    EXPECT_EQ(p.blankExpr, "BL");
    deleteWell(0);  // no blank well: no blanking
    EXPECT_EQ(p.dataMode, dmMeasured);
}

// Every command a view handles, and where the user finds it besides its menus.
struct Reach {
    const char* view;
    std::vector<unsigned> handled;
    std::vector<int> menus;          // the view's bar and its Tools popups
    std::vector<unsigned> otherWays;  // gadgets only, keys, the boxes' own notices
};

TEST(ViewsInShell, EveryHandledCommandCanBeReached)
{
    const Reach reach[] = {
        {"plate matrix",
         {1, 2, 2005, 2205, 2206, 2207, 2212, 2224, 2240, 2461, 2469, 2471, 2472, 2473, 2474, 2475, 2476, 2477, 2478,
          2479, 2480, 2481, 2482, 2483, 2484, 2485, 2486, 2487, 2490, 2491, 2492, 2493, 2494, 2495, 2496, 2497, 2498,
          2499},
         {111, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125},
         {1, 2, 2461}},
        {"sample list",
         {1, 2, 1572, 2005, 2219, 2227, 2228, 2462, 2490, 2501, 2502, 2503, 2505},
         {112, 133, 134, 135},
         {1, 2, 2462}},
        {"calibration curve",
         {2005, 2208, 2213, 2218, 2421, 2422, 2423, 2424, 2425, 2426, 2427, 2428},
         {113},
         {}},
        {"sample graph", {2005, 2214, 2219, 2228, 2421, 2422, 2423, 2424, 2426, 2427, 2428}, {114}, {}},
    };
    for (const Reach& r : reach) {
        std::set<unsigned> found(r.otherWays.begin(), r.otherWays.end());
        for (int menu : r.menus)
            for (const TMenuItemInfo& item : MenuItems(menu)) found.insert(static_cast<unsigned>(item.id));
        for (unsigned id : r.handled) EXPECT_TRUE(found.count(id)) << r.view << ": command " << id << " cannot be reached";
    }
}

}  // namespace

namespace {

// The curve opened from its palette button takes the keyboard at once: a Tab as the keyboard
// gives it, with no click into the graph first, marks a standard on the screen, and Shift+Tab
// and Esc keep reaching the graph afterwards (Qt's own focus chain took the Tab before).
TEST(ViewsInShell, TabWalksTheCurvesPointsStraightAfterItOpens)
{
    TTestHook hook;
    ViewsShell s;
    TGadget* button = s.Gadget(2226);
    ASSERT_NE(button, nullptr);
    ASSERT_TRUE(ClickGadget(*button->GetGadgetWindow(), 2226));
    TTestHook::ProcessEvents();
    QSView* curve = s.Active<QSView>();
    ASSERT_NE(curve, nullptr);
    const QImage before = GrabPicture(*curve);
    PressKeys(VK_TAB);
    EXPECT_TRUE(WaitUntil([&] { return GrabPicture(*curve) != before; }, 1500)) << "Tab marked nothing on the curve";
    EXPECT_TRUE(curve->HasSelection());
    PressKeys(VK_TAB, MK_SHIFT);
    EXPECT_FALSE(curve->HasSelection()) << "Shift+Tab before the first standard marks nothing";
    PressKeys(VK_TAB);
    PressKeys(VK_ESCAPE);
    EXPECT_FALSE(curve->HasSelection()) << "the keys go on reaching the graph";
}

// The calibration information of a four-parameter curve runs longer than its box: the box
// opens at its first line, the model, as the evaluation summaries do; an error to decide on
// still shows its newest entry.
TEST(ViewsInShell, TheCalibrationInformationOpensAtItsFirstLine)
{
    TTestHook hook;
    ViewsShell s([](const std::string& data) {
        std::ifstream in(data + "/Demo.plt", std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::string plate = text.str();
        const std::string linear = "CALJ 1;0;";
        const std::size_t at = plate.find(linear);
        EXPECT_NE(at, std::string::npos);
        if (at != std::string::npos) plate.replace(at, linear.size(), "CALJ 1;5;");
        std::ofstream(data + "/FourParameter.plt", std::ios::binary) << plate;
        return data + "/FourParameter.plt";
    });
    ASSERT_NE(s.doc, nullptr);
    ASSERT_NE(s.Show<QSView>(2226), nullptr);
    ASSERT_EQ(s.doc->GetPlate().calibr.state, csValid) << s.doc->GetPlate().calibr.message;
    std::vector<std::string> shown;
    std::string all;
    hook.AnswerDialog(QCalErrDlg::kResId, 0, [&](TDialog& d) {
        shown = ShownLines(d.GetDlgItem(101)->Widget());
        all = d.GetDlgItemText(101);
        ASSERT_TRUE(ClickReaches(*d.GetDlgItem(102)));
    });
    ASSERT_TRUE(s.Click(2208));
    ASSERT_EQ(hook.DialogsRun(), std::vector<int>{QCalErrDlg::kResId});
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().rfind("Model", 0), 0u) << "the box opened at \"" << shown.front() << "\"";
    EXPECT_LT(shown.size(), static_cast<std::size_t>(std::count(all.begin(), all.end(), '\n') + 1))
        << "the information fits its box: nothing to scroll";
}

}  // namespace
