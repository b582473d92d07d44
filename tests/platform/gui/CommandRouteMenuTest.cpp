// The user's command route of a main frame (focus window, active view, its MDI child, the frame,
// the application) as menu items and tool-bar buttons take it, and the hand-over of the menu bar
// to the active MDI child. Driven by mouse events on the menu bar and the bar, as a user does.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>

#include "platform/gui/Application.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/MDI.h"
#include "platform/gui/Menu.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

// Commands of the menu resources the tests use: 110 (the frame's) and 140 (a view's).
constexpr unsigned kCalculate = 2211;    // in 110 only
constexpr unsigned kSaveInList = 7301;   // in 140 only
constexpr unsigned kNewPlate = 24331;    // in both

using Log = std::vector<std::string>;

// A view that handles a set of commands and answers their enablers as told.
class View : public TWindow {
public:
    View(Log& log, std::string name, std::vector<unsigned> ids) : TWindow(nullptr), log_(log), name_(std::move(name))
    {
        for (unsigned id : ids) {
            OnCommand(id, [this] { log_.push_back(name_); });
            OnCommandEnable(id, [this](TCommandEnabler& ce) {
                ce.Enable(enabled);
                ce.SetCheck(checked ? TCommandEnabler::Checked : TCommandEnabler::Unchecked);
            });
        }
    }
    bool enabled = true;
    bool checked = false;

private:
    Log& log_;
    std::string name_;
};

void Mouse(QWidget* w, QEvent::Type type, QPoint at)
{
    QMouseEvent e(type, QPointF(at), QPointF(w->mapToGlobal(at)), Qt::LeftButton,
                  type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

QMenuBar* BarOf(TDecoratedFrame& frame) { return static_cast<QMainWindow*>(frame.Widget())->menuBar(); }

std::vector<std::string> Titles(QMenuBar* bar)
{
    std::vector<std::string> out;
    for (QAction* a : bar->actions()) out.push_back(a->text().toStdString());
    return out;
}

std::vector<std::string> PopupTitles(int resId)
{
    QMenuBar bar;
    BuildMenuBar(bar, resId, {}, {});
    return Titles(&bar);
}

// Opens a popup of the menu bar with the mouse, as a user does; its enablers run as it opens.
QMenu* OpenPopup(QMenuBar* bar, const std::string& title)
{
    for (QAction* a : bar->actions())
        if (a->text().toStdString() == title && a->menu()) {
            Mouse(bar, QEvent::MouseButtonPress, bar->actionGeometry(a).center());
            return a->menu();
        }
    return nullptr;
}

QAction* ItemOf(QMenu* menu, unsigned id)
{
    for (QAction* a : menu->actions())
        if (MenuActionId(*a) == id) return a;
    return nullptr;
}

// Clicks an item of an open popup.
void Choose(QMenu* menu, QAction* item)
{
    QPoint at = menu->actionGeometry(item).center();
    Mouse(menu, QEvent::MouseButtonPress, at);
    Mouse(menu, QEvent::MouseButtonRelease, at);
    menu->hide();
}

struct MdiFixture {
    TApplication app;
    TTestHook hook;
    Log log;
    TMDIClient* client = new TMDIClient;
    TMDIFrame frame{"main", 110, *client};

    MdiFixture()
    {
        app.OnCommand(kNewPlate, [this] { log.push_back("app"); });
        app.OnCommandEnable(kNewPlate, [](TCommandEnabler& ce) { ce.Enable(); });
    }
    bool Show()
    {
        if (!frame.Create()) return false;
        frame.ShowWindow(SW_SHOW);
        return true;
    }
    TMDIChild* Open(const std::string& title, View* view, int menu)
    {
        auto* child = new TMDIChild(*client, title, view);
        child->SetMenuDescr(TMenuDescr(menu));
        child->Create();
        return child;
    }
};

TEST(MenuHandOver, ActiveChildsMenuReplacesTheFramesAndGoesBackWhenNoneIsActive)
{
    MdiFixture f;
    ASSERT_TRUE(f.Show());
    QMenuBar* bar = BarOf(f.frame);
    const auto frameMenu = PopupTitles(110), viewMenu = PopupTitles(140);
    ASSERT_NE(frameMenu, viewMenu);
    EXPECT_EQ(Titles(bar), frameMenu);

    TMDIChild* designer = f.Open("designer", new View(f.log, "designer", {kSaveInList}), 140);
    EXPECT_EQ(Titles(bar), viewMenu) << "the active child's menu is shown";
    EXPECT_EQ(f.frame.GetShownMenuId(), 140);
    TMDIChild* plain = f.Open("plain", new View(f.log, "plain", {}), 0);
    EXPECT_EQ(Titles(bar), frameMenu) << "a child without a menu of its own shows the frame's";
    f.client->ActivateChild(*designer);
    EXPECT_EQ(Titles(bar), viewMenu);
    ASSERT_TRUE(designer->CloseWindow());
    EXPECT_EQ(f.client->GetActiveMDIChild(), plain);
    EXPECT_EQ(Titles(bar), frameMenu) << "the closed child's menu goes with it";
    ASSERT_TRUE(plain->CloseWindow());
    TTestHook::ProcessEvents();
    EXPECT_EQ(Titles(bar), frameMenu) << "no child left: the frame's own menu";
}

TEST(MenuHandOver, ItemsAreEnabledAndCheckedByTheActiveViewAndReachIt)
{
    MdiFixture f;
    ASSERT_TRUE(f.Show());
    auto* view = new View(f.log, "view", {kSaveInList});
    f.Open("designer", view, 140);
    QMenuBar* bar = BarOf(f.frame);

    view->enabled = false;
    QMenu* file = OpenPopup(bar, "&File");
    ASSERT_NE(file, nullptr);
    QAction* item = ItemOf(file, kSaveInList);
    ASSERT_NE(item, nullptr);
    EXPECT_FALSE(item->isEnabled()) << "the view's enabler ran as the popup opened";
    file->hide();

    view->enabled = view->checked = true;
    file = OpenPopup(bar, "&File");
    item = ItemOf(file, kSaveInList);
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(item->isChecked());
    Choose(file, item);
    EXPECT_EQ(f.log, Log{"view"});

    // What the view does not know goes on to the application.
    f.log.clear();
    file = OpenPopup(bar, "&File");
    item = ItemOf(file, kNewPlate);
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(item->isEnabled());
    Choose(file, item);
    EXPECT_EQ(f.log, Log{"app"});
}

TEST(MenuHandOver, WindowMenuListsTheChildrenAndActivatesTheChosenOne)
{
    MdiFixture f;
    ASSERT_TRUE(f.Show());
    TMDIChild* first = f.Open("First plate", new View(f.log, "a", {}), 0);
    f.Open("Second plate", new View(f.log, "b", {}), 0);
    QMenu* windows = OpenPopup(BarOf(f.frame), "&Window");
    ASSERT_NE(windows, nullptr);
    std::vector<std::string> listed;
    QAction* firstItem = nullptr;
    for (QAction* a : windows->actions())
        if (!a->isSeparator() && MenuActionId(*a) == 0) {
            listed.push_back(a->text().toStdString() + (a->isChecked() ? " *" : ""));
            if (listed.size() == 1) firstItem = a;
        }
    EXPECT_EQ(listed, (std::vector<std::string>{"&1 First plate", "&2 Second plate *"}));
    ASSERT_NE(firstItem, nullptr);
    Choose(windows, firstItem);
    EXPECT_EQ(f.client->GetActiveMDIChild(), first);

    // Opened again, the list is not doubled.
    windows = OpenPopup(BarOf(f.frame), "&Window");
    int items = 0;
    for (QAction* a : windows->actions()) items += !a->isSeparator() && MenuActionId(*a) == 0;
    EXPECT_EQ(items, 2);
    windows->hide();
}

TEST(MenuHandOver, ViewReplacesAPopupOfItsMenuUntilTheMenuIsShownAgain)
{
    MdiFixture f;
    ASSERT_TRUE(f.Show());
    auto* view = new View(f.log, "view", {kCalculate});
    TMDIChild* designer = f.Open("designer", view, 140);
    QMenuBar* bar = BarOf(f.frame);
    const std::string secondTitle = bar->actions().at(1)->text().toStdString();

    // The second popup takes the first popup of menu 110 (the frame's File popup, then its
    // Plate popup is not taken) and keeps its title.
    ASSERT_TRUE(TDecoratedFrame::FrameOf(*view)->ReplaceMenuPopup(1, 110));
    QMenu* replaced = OpenPopup(bar, secondTitle);
    ASSERT_NE(replaced, nullptr);
    EXPECT_NE(ItemOf(replaced, kNewPlate), nullptr);
    EXPECT_EQ(ItemOf(replaced, kCalculate), nullptr);
    replaced->hide();
    EXPECT_FALSE(f.frame.ReplaceMenuPopup(40, 110)) << "no popup there";
    EXPECT_FALSE(f.frame.ReplaceMenuPopup(1, 99999)) << "no such menu resource";

    TMDIChild* other = f.Open("other", new View(f.log, "o", {}), 0);
    f.client->ActivateChild(*designer);
    QMenu* again = OpenPopup(bar, secondTitle);
    EXPECT_EQ(ItemOf(again, kNewPlate), nullptr) << "the resource's own popup is back";
    again->hide();
    (void)other;
}

// A frame with a tool bar: a button's command and enabler go to the focus window, then the
// active view, then the frame, then the application.
TEST(GadgetRoute, ButtonCommandAndEnablerTakeTheMenusRoute)
{
    MdiFixture f;
    constexpr unsigned kViewCmd = 901, kFocusCmd = 902, kBoth = 903, kAppCmd = 904, kNobody = 905;
    f.app.OnCommand(kAppCmd, [&] { f.log.push_back("app"); });
    f.app.OnCommandEnable(kAppCmd, [](TCommandEnabler& ce) { ce.Enable(); });
    auto* bar = new TControlBar(&f.frame);
    for (unsigned id : {kViewCmd, kFocusCmd, kBoth, kAppCmd, kNobody})
        bar->Insert(*new TButtonGadget(0, static_cast<int>(id), TButtonGadget::Command, true));
    // An edit in the bar that handles two commands itself (the focus window).
    auto* edit = new TEdit(bar, 50, "", 0, 0, 60, 20);
    for (unsigned id : {kFocusCmd, kBoth}) {
        edit->OnCommand(id, [&f] { f.log.push_back("focus"); });
        edit->OnCommandEnable(id, [](TCommandEnabler& ce) { ce.Enable(); });
    }
    bar->Insert(*new TControlGadget(*edit));
    f.frame.Insert(*bar, TDecoratedFrame::Top);
    ASSERT_TRUE(f.Show());
    f.frame.ShowWindow(SW_SHOW);
    auto* view = new View(f.log, "view", {kViewCmd, kBoth});
    f.Open("plate", view, 0);

    auto click = [&](unsigned id) {
        f.log.clear();
        QPoint at(bar->GadgetWithId(static_cast<int>(id))->GetBounds().left + 3,
                  bar->GadgetWithId(static_cast<int>(id))->GetBounds().top + 3);
        Mouse(bar->Widget(), QEvent::MouseButtonPress, at);
        Mouse(bar->Widget(), QEvent::MouseButtonRelease, at);
        return f.log.empty() ? std::string() : f.log.front();
    };
    struct Row {
        unsigned id;
        bool focusInEdit;
        const char* expected;
    } rows[] = {
        {kViewCmd, false, "view"},  {kViewCmd, true, "view"},   {kBoth, false, "view"}, {kBoth, true, "focus"},
        {kFocusCmd, true, "focus"}, {kAppCmd, true, "app"},     {kAppCmd, false, "app"},
    };
    for (const Row& r : rows) {
        if (r.focusInEdit) edit->SetFocus();
        else view->SetFocus();
        ASSERT_EQ(edit->HasFocus(), r.focusInEdit);
        f.frame.IdleAction(0);
        EXPECT_TRUE(bar->GadgetWithId(static_cast<int>(r.id))->GetEnabled()) << r.id << " " << r.focusInEdit;
        EXPECT_EQ(click(r.id), r.expected) << r.id << " focus in edit " << r.focusInEdit;
        EXPECT_LE(f.log.size(), 1u) << "each window is asked once";
    }

    // Enablers decide the button's state: the view's, and nobody's (disabled).
    view->enabled = false;
    f.frame.IdleAction(0);
    EXPECT_FALSE(bar->GadgetWithId(kViewCmd)->GetEnabled());
    EXPECT_FALSE(bar->GadgetWithId(kNobody)->GetEnabled());
    EXPECT_EQ(click(kViewCmd), "") << "a disabled button sends nothing";
}

}  // namespace
}  // namespace vyn
