// Every accelerator of the menus of the views, pressed with real keys while its view is active
// after a click into it: the key reaches the command of the item its menu shows, and does
// nothing while the item shows greyed (F9 once the plate needs no calculating). The main
// window's keys work whichever view is active, the MDI keys move between the frames and close
// the active one, and Esc in the designer is the view's own.
#include <gtest/gtest.h>

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <functional>
#include <string>
#include <vector>

#include "ListRowInput.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QSelMet.h"
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/Menu.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "views/QNView.h"
#include "views/ViewCommands.h"

using namespace vyn;

namespace {

struct KeysShell : ShellFixture {
    KeysShell()
    {
        app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        app->ShowMainWindow();
        TTestHook::ProcessEvents();
        BringToFront(Main());
    }
    RwMainWindow& Main() { return *app->GetMainFrame(); }
    TWindow* ActiveView() const
    {
        if (QRepView* r = ActiveReportView(*app)) return r;
        return dynamic_cast<TWindow*>(gActiveView);
    }
};

QAction* ItemOnBar(TWindow& frame, unsigned id)
{
    auto* main = qobject_cast<QMainWindow*>(frame.Widget()->window());
    std::vector<QMenu*> menus;
    for (QAction* a : main->menuBar()->actions())
        if (a->menu()) menus.push_back(a->menu());
    while (!menus.empty()) {
        QMenu* m = menus.back();
        menus.pop_back();
        for (QAction* a : m->actions()) {
            if (a->menu()) menus.push_back(a->menu());
            else if (MenuActionId(*a) == id) return a;
        }
    }
    return nullptr;
}

struct ViewKeys {
    const char* view;
    int menu;                      // the view's menu resource
    std::function<bool(KeysShell&)> show;  // brings the view up; false when it does not come
};

// Brings the row's view up and gives it the keyboard with a click; false when it did not come
// or its menu is not the one shown.
bool ShowAndClick(KeysShell& s, const ViewKeys& row)
{
    if (!row.show(s)) return false;
    TWindow* view = s.ActiveView();
    if (!view) return false;
    ClickAt(ScreenPoint(*view));
    TTestHook::ProcessEvents();
    return s.Main().GetShownMenuId() == row.menu;
}

// Help that F1 opened: any topic. The help window is closed again.
bool HelpOpenedBy(const std::function<void()>& press)
{
    ResetLastHelpTopic();
    press();
    TTestHook::ProcessEvents();
    const bool shown = LastHelpTopic() > 0;
    CloseHelpWindow();
    TTestHook::ProcessEvents();
    return shown;
}

// The views, each brought up as a user does, on the demo plate.
std::vector<ViewKeys> EachView(QDoc* doc)
{
    auto choose = [](unsigned id) {
        return [id](KeysShell& sh) {
            const bool chosen = ChooseMenuItem(sh.Main(), id);
            TTestHook::ProcessEvents();
            return chosen;
        };
    };
    return {
        {"plate matrix", 111, choose(CM_SHOWPLATE)},
        {"sample list", 112, choose(CM_SHOWLIST)},
        {"calibration curve", 113, choose(CM_SHOWCURVE)},
        {"sample graph", 114,
         [doc](KeysShell& sh) {
             if (dynamic_cast<QNView*>(gActiveView)) return true;
             // The graph of the first quantitative sample, picked in the list.
             if (!ChooseMenuItem(sh.Main(), CM_SHOWLIST)) return false;
             TTestHook::ProcessEvents();
             auto* list = dynamic_cast<QLView*>(gActiveView);
             const QPlate& plate = doc->GetPlate();
             int quant = -1;
             for (int i = 0; i < plate.sampleCount && quant < 0; ++i)
                 if (plate.GetSample(i)->kind == skQuantitative) quant = i;
             if (!list || quant < 0 || !ClickListRow(*list, quant)) return false;
             const bool chosen = ChooseMenuItem(sh.Main(), cmSampleGraph);
             TTestHook::ProcessEvents();
             return chosen && dynamic_cast<QNView*>(gActiveView) != nullptr;
         }},
        {"report designer", 140,
         [](KeysShell& sh) {
             if (ActiveReportView(*sh.app)) return true;
             TTestHook::Get().AnswerDialog(kDlgRepManager, 104);  // "&New  >"
             TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
             // The report list is on the plate matrix's menu.
             return ChooseMenuItem(sh.Main(), CM_SHOWPLATE) && ChooseMenuItem(sh.Main(), CM_REPORTS) &&
                    ActiveReportView(*sh.app) != nullptr;
         }},
    };
}

}  // namespace

TEST(AcceleratorJourney, EveryKeyOfEachViewsMenuRunsItsCommandOrStaysGrey)
{
    TTestHook hook;
    KeysShell s;
    auto* doc = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    const std::vector<ViewKeys> rows = EachView(doc);
    // Whatever a key opens is answered as a user cancels it; a modal window is closed.
    SetFileDialogAnswer([](bool, const std::string&) { return std::string(); });
    int pressed = 0;
    for (const ViewKeys& row : rows) {
        for (const TMenuItemInfo& item : MenuItems(row.menu)) {
            // Alt+F4 would end the program; Ctrl+N opens a plate of its own (walked below).
            if (item.key.empty() || item.id == CM_EXIT || item.id == CM_FILENEW) continue;
            SCOPED_TRACE(std::string(row.view) + ": " + item.text + " " + item.key);
            ASSERT_TRUE(ShowAndClick(s, row)) << "the view's menu is shown";
            QAction* action = ItemOnBar(s.Main(), static_cast<unsigned>(item.id));
            ASSERT_NE(action, nullptr);
            // Esc is the pointer again: a tool is taken first, so that the key has work to do.
            QRepView* designer = ActiveReportView(*s.app);
            const bool pointer = designer && item.id == cmRepPointer;
            if (pointer) {
                ASSERT_TRUE(ChooseMenuItem(s.Main(), cmRepTextBox));
            }
            const bool grey = MenuItemShownGrey(s.Main(), static_cast<unsigned>(item.id));
            int ran = 0;
            const auto c = QObject::connect(action, &QAction::triggered, [&ran] { ++ran; });
            WhenModalWindowRuns([](TWindow& modal) { RequestClose(modal); });
            if (item.id == CM_HELPCONTEXT) {
                // F1 is help on the window with the keyboard, which the view is.
                EXPECT_TRUE(HelpOpenedBy([&item] { PressShortcut(item.key); })) << "F1 opened no help";
            } else {
                PressShortcut(item.key);
                TTestHook::ProcessEvents();
            }
            QObject::disconnect(c);
            CloseHelpWindow();
            if (pointer) {  // the view takes Esc itself and gives the pointer back
                EXPECT_EQ(designer->Tool(), 0) << "Esc did not give the pointer back";
            } else if (item.id != CM_HELPCONTEXT) {
                EXPECT_EQ(ran, grey ? 0 : 1) << (grey ? "greyed, yet the key acted" : "the key did not reach the command");
            }
            ++pressed;
        }
    }
    EXPECT_GE(pressed, 10);
    SetFileDialogAnswer(nullptr);
}

// The keys the main window's menu shows beside New plate, Open, Save, Calculate and Current
// context act with every view active, wherever the view's own menu stands on the bar.
TEST(AcceleratorJourney, TheMainWindowsKeysWorkWhicheverViewIsActive)
{
    TTestHook hook;
    KeysShell s;
    auto* doc = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    int opened = 0;
    SetFileDialogAnswer([&opened](bool, const std::string&) {
        ++opened;
        return std::string();
    });
    for (const ViewKeys& row : EachView(doc)) {
        for (const TMenuItemInfo& item : MenuItems(110)) {
            if (item.key.empty() || item.id == CM_EXIT) continue;
            SCOPED_TRACE(std::string(row.view) + ": " + item.text + " " + item.key);
            ASSERT_TRUE(ShowAndClick(s, row)) << "the view's menu is shown";
            QAction* action = ItemOnBar(s.Main(), static_cast<unsigned>(item.id));
            if (!action) continue;  // not a command of this view (the designer does not calculate)
            std::string shownKey;
            for (const TMenuBarItem& i : MenuBarItems(s.Main()))
                if (i.id == static_cast<unsigned>(item.id)) shownKey = i.key;
            EXPECT_EQ(shownKey, item.key) << "the view's menu does not show the key";
            if (item.id == CM_HELPCONTEXT) {
                EXPECT_TRUE(HelpOpenedBy([&item] { PressShortcut(item.key); })) << "F1 opened no help";
                continue;
            }
            const bool grey = MenuItemShownGrey(s.Main(), static_cast<unsigned>(item.id));
            // New plate asks for the method first; the user cancels there.
            if (item.id == CM_FILENEW) hook.AnswerDialog(QSelMet::kSelectId, IDCANCEL);
            const std::size_t dialogs = hook.DialogsRun().size();
            int ran = 0;
            const auto c = QObject::connect(action, &QAction::triggered, [&ran] { ++ran; });
            PressShortcut(item.key);
            TTestHook::ProcessEvents();
            QObject::disconnect(c);
            EXPECT_EQ(ran, grey ? 0 : 1) << (grey ? "greyed, yet the key acted" : "the key did not reach the command");
            if (item.id == CM_FILENEW && !grey) {
                EXPECT_EQ(hook.DialogsRun().size(), dialogs + 1);
                EXPECT_EQ(hook.DialogsRun().back(), QSelMet::kSelectId) << "Ctrl+N asks for the method";
            }
        }
    }
    EXPECT_GE(opened, 5) << "Ctrl+O asks for a file with each view active";
    SetFileDialogAnswer(nullptr);
}

TEST(AcceleratorJourney, F9CalculatesOnceAndIsThenGrey)
{
    TTestHook hook;
    KeysShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    TWindow* view = s.ActiveView();
    ASSERT_NE(view, nullptr);
    ClickAt(ScreenPoint(*view));
    if (!MenuItemShownGrey(s.Main(), CM_CALCULATE)) {
        PressShortcut("F9");
        TTestHook::ProcessEvents();
    }
    EXPECT_TRUE(MenuItemShownGrey(s.Main(), CM_CALCULATE)) << "nothing is left to calculate";
    QAction* action = ItemOnBar(s.Main(), CM_CALCULATE);
    ASSERT_NE(action, nullptr);
    int ran = 0;
    QObject::connect(action, &QAction::triggered, [&ran] { ++ran; });
    PressShortcut("F9");
    TTestHook::ProcessEvents();
    EXPECT_EQ(ran, 0);
}

// Three frames of the demo plate: Ctrl+F6 and Ctrl+Tab go round them one way, Ctrl+Shift+F6
// and Ctrl+Shift+Tab the other, each frame's menu coming with it; Ctrl+F4 closes the active
// frame, and a designer holding a change asks first, as its close box does.
TEST(AcceleratorJourney, TheWindowKeysGoRoundTheFramesAndCloseTheActiveOne)
{
    TTestHook hook;
    KeysShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    ASSERT_TRUE(ChooseMenuItem(s.Main(), CM_SHOWLIST));
    ASSERT_TRUE(ChooseMenuItem(s.Main(), CM_SHOWCURVE));
    TTestHook::ProcessEvents();
    TMDIClient& client = *s.app->GetMDIClient();
    ASSERT_EQ(client.Children().size(), 3u);
    // The menu on the bar tells which frame is active.
    auto shown = [&s] { return s.Main().GetShownMenuId(); };
    ASSERT_EQ(shown(), 113);
    struct Step {
        const char* keys;
        int menu;
    };
    const Step steps[] = {
        {"Ctrl+F6", 111},       {"Ctrl+F6", 112},       {"Ctrl+F6", 113},       {"Ctrl+Shift+F6", 112},
        {"Ctrl+Shift+F6", 111}, {"Ctrl+Shift+F6", 113}, {"Ctrl+Tab", 111},      {"Ctrl+Tab", 112},
        {"Ctrl+Shift+Tab", 111}, {"Ctrl+Shift+Tab", 113},
    };
    for (const Step& st : steps) {
        SCOPED_TRACE(st.keys);
        // The keys work with the keyboard in the active view.
        ClickAt(ScreenPoint(*s.ActiveView()));
        PressShortcut(st.keys);
        TTestHook::ProcessEvents();
        EXPECT_EQ(shown(), st.menu);
    }
    ClickAt(ScreenPoint(*s.ActiveView()));
    PressShortcut("Ctrl+F4");
    TTestHook::ProcessEvents();
    EXPECT_EQ(client.Children().size(), 2u);
    EXPECT_NE(shown(), 113) << "the curve's frame closed";

    // A designer with a text box placed: Ctrl+F4 asks whether to save.
    TTestHook::Get().AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(ChooseMenuItem(s.Main(), CM_SHOWPLATE) && ChooseMenuItem(s.Main(), CM_REPORTS));
    QRepView* designer = ActiveReportView(*s.app);
    ASSERT_NE(designer, nullptr);
    const int top = designer->Report().Band(bandDetail).BodyTop();
    ASSERT_TRUE(ChooseMenuItem(s.Main(), cmRepTextBox));
    DragMouse(*designer, 60, top + 12, 260, top + 48);
    ASSERT_EQ(client.Children().size(), 3u);
    hook.AnswerMessageBox(IDCANCEL);
    ClickAt(ScreenPoint(*designer, 400, top + 100));
    const std::size_t asked = hook.Messages().size();
    PressShortcut("Ctrl+F4");
    TTestHook::ProcessEvents();
    EXPECT_EQ(hook.Messages().size(), asked + 1) << "no question before closing";
    EXPECT_EQ(client.Children().size(), 3u) << "Cancel keeps the designer";
    hook.AnswerMessageBox(IDNO);
    PressShortcut("Ctrl+F4");
    TTestHook::ProcessEvents();
    EXPECT_EQ(client.Children().size(), 2u) << "No closes it without saving";
    EXPECT_EQ(ActiveReportView(*s.app), nullptr);
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

// Tools > Text Box, a box dragged out, Esc: the box is no longer selected and the attribute
// window shows the report again. Esc with a placing tool chosen gives the pointer back.
TEST(AcceleratorJourney, EscInTheDesignerClearsTheSelectionAndGivesThePointerBack)
{
    TTestHook hook;
    KeysShell s;
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    TTestHook::ProcessEvents();
    TTestHook::Get().AnswerDialog(kDlgRepManager, 104);  // "&New  >"
    TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
    ASSERT_TRUE(ChooseMenuItem(s.Main(), CM_SHOWPLATE) && ChooseMenuItem(s.Main(), CM_REPORTS));
    QRepView* view = ActiveReportView(*s.app);
    ASSERT_NE(view, nullptr);
    const int top = view->Report().Band(bandDetail).BodyTop();
    ASSERT_TRUE(ChooseMenuItem(s.Main(), cmRepTextBox));
    DragMouse(*view, 60, top + 12, 260, top + 48);
    TTestHook::ProcessEvents();
    ASSERT_EQ(view->Tool(), 0);
    ASSERT_EQ(view->Selection().size(), 1u) << "the placed box is selected";
    PressShortcut("Esc");
    TTestHook::ProcessEvents();
    EXPECT_TRUE(view->Selection().empty()) << "the handles stay";

    ASSERT_TRUE(ChooseMenuItem(s.Main(), cmRepRectangle));
    ASSERT_NE(view->Tool(), 0);
    ClickAt(ScreenPoint(*view));
    PressShortcut("Esc");
    TTestHook::ProcessEvents();
    EXPECT_EQ(view->Tool(), 0) << "Esc gives the pointer back";
    EXPECT_FALSE(MenuItemShownGrey(s.Main(), cmRepPointer));
}
