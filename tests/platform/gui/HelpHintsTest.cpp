// What explains the program to the user: a bar gadget's tool tip and its status-bar hint while the
// mouse rests on it, and F1 (or a Help button) asking for the help of the focus window, the
// dialog or the highlighted menu item.
#include <gtest/gtest.h>

#include <QApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QToolTip>

#include "platform/core/StringTable.h"
#include "platform/gui/Application.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/Menu.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

constexpr int kExplained = 1;  // a command's hint entry: "status text\ntool tip"

class HelpApp : public TApplication {
public:
    std::vector<THelpInfo> asked;
    void EvHelp(const THelpInfo& info) override { asked.push_back(info); }
};

TEST(GadgetHints, ToolTipAndStatusHintComeFromTheStringTable)
{
    HelpApp app;
    TTestHook hook;
    ASSERT_STREQ(FindResString(kExplained), "Confirm entry\nConfirm");
    TDecoratedFrame frame(nullptr, "frame", new TWindow);
    auto* bar = new TControlBar(&frame);
    bar->Insert(*new TButtonGadget(0, kExplained, TButtonGadget::Command, true));
    bar->Insert(*new TButtonGadget(0, 0x7FFF, TButtonGadget::Command, true));
    auto* status = new TStatusBar(&frame, TGadget::Recessed, 0, TFont());
    frame.Insert(*bar, TDecoratedFrame::Top);
    frame.Insert(*status, TDecoratedFrame::Bottom);
    ASSERT_TRUE(frame.Create());
    frame.ShowWindow(SW_SHOW);
    status->SetText("Method A");

    QWidget* w = bar->Widget();
    auto at = [&](int index) {
        const TRect r = bar->Gadgets()[static_cast<std::size_t>(index)]->GetBounds();
        return QPoint(r.left + r.Width() / 2, r.top + r.Height() / 2);
    };
    QHelpEvent none(QEvent::ToolTip, at(1), w->mapToGlobal(at(1)));
    QApplication::sendEvent(w, &none);
    EXPECT_FALSE(QToolTip::isVisible()) << "an id of 32767 has no tool tip";
    QHelpEvent tip(QEvent::ToolTip, at(0), w->mapToGlobal(at(0)));
    QApplication::sendEvent(w, &tip);
    EXPECT_TRUE(QToolTip::isVisible());
    EXPECT_EQ(QToolTip::text().toStdString(), "Confirm") << "the part after the line break";

    QMouseEvent move(QEvent::MouseMove, QPointF(at(0)), QPointF(w->mapToGlobal(at(0))), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(w, &move);
    EXPECT_EQ(status->GetText(), "Confirm entry") << "the hint while the mouse is on the gadget: the part before it";
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(w, &leave);
    EXPECT_EQ(status->GetText(), "Method A") << "the earlier text is back when it leaves";
}

const TControlTemplate kAskControls[] = {
    {301, TControlKind::EDIT, "", dlgstyle::TABSTOP, 4, 4, 60, 12},
    {IDHELP, TControlKind::BUTTON, "Help", dlgstyle::TABSTOP, 4, 20, 40, 14},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::TABSTOP, 50, 20, 40, 14},
};
const TDialogTemplate kAsk{9961, "Ask", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 100, 40,
                           kAskControls, 3};

TEST(ContextHelp, F1AndTheHelpButtonAskForTheDialogsContext)
{
    HelpApp app;
    TTestHook hook;
    TDialog dlg(nullptr, kAsk);
    dlg.SetContextHelpId(4321);
    hook.AnswerDialog(kAsk.id, IDOK, [](TDialog& d) {
        d.GetDlgItem(301)->SetFocus();
        TTestHook::Key(VK_F1);
        TTestHook::Click(*d.GetDlgItem(IDHELP));
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    ASSERT_EQ(app.asked.size(), 2u);
    EXPECT_EQ(app.asked[0].contextType, HELPINFO_WINDOW);
    EXPECT_EQ(app.asked[0].ctrlId, 301) << "F1 names the focus window";
    EXPECT_EQ(app.asked[0].contextId, 4321u) << "with the nearest context on its route";
    EXPECT_EQ(app.asked[1].contextId, 4321u);

    // A window that answers the request itself keeps it from the application.
    app.asked.clear();
    TDialog own(nullptr, kAsk);
    int answered = 0;
    own.OnMessage(WM_HELP, [&](TParam1, TParam2) -> TResult {
        ++answered;
        return 1;
    });
    hook.AnswerDialog(kAsk.id, IDOK, [](TDialog& d) {
        d.GetDlgItem(301)->SetFocus();
        TTestHook::Key(VK_F1);
    });
    own.Execute();
    EXPECT_EQ(answered, 1);
    EXPECT_TRUE(app.asked.empty());
}

constexpr unsigned kOpen = 24332;  // an item of menu 110's first popup

// A frame with menu 110 on its bar.
struct MenuFrame {
    HelpApp app;
    TTestHook hook;
    TDecoratedFrame frame{nullptr, "frame", new TWindow};
    MenuFrame()
    {
        frame.SetMenuDescr(TMenuDescr(110));
        frame.Create();
        frame.ShowWindow(SW_SHOW);
    }
    // The first popup, opened under the bar.
    QMenu* OpenFile()
    {
        QMenuBar* bar = static_cast<QMainWindow*>(frame.Widget())->menuBar();
        QMenu* file = bar->actions().at(0)->menu();
        if (file) file->popup(bar->mapToGlobal(QPoint(0, 0)));
        TTestHook::ProcessEvents();
        return file;
    }
};

TEST(ContextHelp, F1OnAnOpenMenuAsksForTheItem)
{
    MenuFrame m;
    m.app.OnCommandEnable(kOpen, [](TCommandEnabler& ce) { ce.Enable(); });
    QMenu* file = m.OpenFile();
    ASSERT_NE(file, nullptr);
    HelpApp& app = m.app;
    QAction* item = nullptr;
    for (QAction* a : file->actions())
        if (MenuActionId(*a) == kOpen) item = a;
    ASSERT_NE(item, nullptr);
    const unsigned id = kOpen;
    file->setActiveAction(item);
    ASSERT_EQ(file->activeAction(), item);
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(file, &f1);
    ASSERT_EQ(app.asked.size(), 1u);
    EXPECT_EQ(app.asked[0].contextType, HELPINFO_MENUITEM);
    EXPECT_EQ(app.asked[0].ctrlId, static_cast<int>(id));
    file->hide();
}

TEST(ContextHelp, F1OnAGreyedMenuItemAsksForThatItem)
{
    MenuFrame m;  // no enabler for kOpen: greyed
    QMenu* file = m.OpenFile();
    ASSERT_NE(file, nullptr);
    HelpApp& app = m.app;
    // The arrow keys walk onto the greyed item as onto any other.
    for (int step = 0; step < 30; ++step) {
        QAction* a = file->activeAction();
        if (a && MenuActionId(*a) == kOpen) break;
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
        QApplication::sendEvent(file, &down);
    }
    QAction* item = file->activeAction();
    ASSERT_NE(item, nullptr);
    ASSERT_EQ(MenuActionId(*item), kOpen) << "the highlight skipped the greyed item";
    EXPECT_FALSE(item->isEnabled());
    QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
    QApplication::sendEvent(file, &f1);
    ASSERT_EQ(app.asked.size(), 1u);
    EXPECT_EQ(app.asked[0].ctrlId, static_cast<int>(kOpen));
    // Enter on it still chooses nothing.
    m.OpenFile();
    file->setActiveAction(item);
    bool ran = false;
    app.OnCommand(kOpen, [&ran] { ran = true; });
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(file, &enter);
    TTestHook::ProcessEvents();
    EXPECT_FALSE(ran);
    file->hide();
}

TEST(ProgramIcon, EveryWindowShowsTheProgramsIcon)
{
    HelpApp app;
    TWindow w(nullptr, 0, "top");
    ASSERT_TRUE(w.Create());
    EXPECT_FALSE(QApplication::windowIcon().isNull());
    EXPECT_FALSE(w.Widget()->windowIcon().isNull());
    EXPECT_EQ(w.Widget()->windowIcon().cacheKey(), QApplication::windowIcon().cacheKey());
}

}  // namespace
}  // namespace vyn
