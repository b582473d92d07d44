// Every accelerator of the menus of the views, pressed with real keys while its view is active
// after a click into it: the key reaches the command of the item its menu shows, and does
// nothing while the item shows greyed (F9 once the plate needs no calculating).
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
#include "app/ReportCommands.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/Menu.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRepView.h"
#include "report_designer/RPListDialogs.h"
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
    std::vector<unsigned> notPressed;      // items whose key would end the session
};

}  // namespace

TEST(AcceleratorJourney, EveryKeyOfEachViewsMenuRunsItsCommandOrStaysGrey)
{
    TTestHook hook;
    KeysShell s;
    auto* doc = dynamic_cast<QDoc*>(s.app->OpenPlate(s.env.data + "/Demo.plt"));
    ASSERT_NE(doc, nullptr);
    TTestHook::ProcessEvents();
    auto choose = [](unsigned id) {
        return [id](KeysShell& sh) {
            const bool chosen = ChooseMenuItem(sh.Main(), id);
            TTestHook::ProcessEvents();
            return chosen;
        };
    };
    const ViewKeys rows[] = {
        {"plate matrix", 111, choose(CM_SHOWPLATE), {}},
        {"sample list", 112, choose(CM_SHOWLIST), {}},
        {"calibration curve", 113, choose(CM_SHOWCURVE), {}},
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
         },
         {}},
        {"report designer", 140,
         [](KeysShell& sh) {
             if (ActiveReportView(*sh.app)) return true;
             TTestHook::Get().AnswerDialog(kDlgRepManager, 104);  // "&New  >"
             TTestHook::Get().AnswerDialog(idRPSecDlg, IDOK);
             // The report list is on the plate matrix's menu.
             return ChooseMenuItem(sh.Main(), CM_SHOWPLATE) && ChooseMenuItem(sh.Main(), CM_REPORTS) &&
                    ActiveReportView(*sh.app) != nullptr;
         },
         {24310}},  // Alt+F4 ends the program
    };
    // Whatever a key opens is answered as a user cancels it; a modal window is closed.
    SetFileDialogAnswer([](bool, const std::string&) { return std::string(); });
    int pressed = 0;
    for (const ViewKeys& row : rows) {
        for (const TMenuItemInfo& item : MenuItems(row.menu)) {
            if (item.key.empty()) continue;
            bool skip = false;
            for (unsigned id : row.notPressed) skip = skip || id == static_cast<unsigned>(item.id);
            if (skip) continue;
            SCOPED_TRACE(std::string(row.view) + ": " + item.text + " " + item.key);
            ASSERT_TRUE(row.show(s));
            TWindow* view = s.ActiveView();
            ASSERT_NE(view, nullptr);
            ClickAt(ScreenPoint(*view));
            TTestHook::ProcessEvents();
            ASSERT_EQ(s.Main().GetShownMenuId(), row.menu) << "the view's menu is shown";
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
            PressShortcut(item.key);
            TTestHook::ProcessEvents();
            QObject::disconnect(c);
            CloseHelpWindow();
            if (pointer)  // the view takes Esc before the shortcut map and runs the command itself
                EXPECT_EQ(designer->Tool(), 0) << "Esc did not give the pointer back";
            else
                EXPECT_EQ(ran, grey ? 0 : 1) << (grey ? "greyed, yet the key acted" : "the key did not reach the command");
            ++pressed;
        }
    }
    EXPECT_GE(pressed, 10);
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
