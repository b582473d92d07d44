// The window layer: command routing, enablers, cross-thread posting and sending, the
// message-box and dialog hook, and dialog-unit conversion.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include <QGuiApplication>

#include "platform/gui/Application.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/MsgBox.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"

namespace vyn {
namespace {

struct Log {
    std::vector<std::string> lines;
};

class LoggingWindow : public TWindow {
public:
    LoggingWindow(TWindow* parent, Log& log, const std::string& name, unsigned handles)
        : TWindow(parent), log_(log), name_(name)
    {
        OnCommand(handles, [this] { log_.lines.push_back(name_); });
        OnCommandEnable(handles, [this](TCommandEnabler& ce) {
            ce.Enable(name_ != "frame");
            ce.SetText(name_);
        });
    }

private:
    Log& log_;
    std::string name_;
};

TEST(CommandRoute, GoesViewThenFrameThenApplication)
{
    TApplication app;
    Log log;
    app.OnCommand(30, [&] { log.lines.push_back("app"); });
    LoggingWindow frame(nullptr, log, "frame", 20);
    LoggingWindow view(&frame, log, "view", 10);
    ASSERT_TRUE(frame.Create());
    struct Row {
        const char* name;
        unsigned id;
        const char* expected;
    } rows[] = {{"view handles its own", 10, "view"}, {"frame gets what the view lacks", 20, "frame"},
                {"application ends the route", 30, "app"}, {"nobody: dropped", 40, ""}};
    for (const auto& r : rows) {
        log.lines.clear();
        view.SendCommand(r.id);
        EXPECT_EQ(log.lines.empty() ? "" : log.lines[0], r.expected) << r.name;
        EXPECT_LE(log.lines.size(), 1u) << r.name;
    }
}

TEST(CommandRoute, EnablerAnsweredByFirstWindowThatKnowsTheCommand)
{
    TApplication app;
    Log log;
    LoggingWindow frame(nullptr, log, "frame", 20);
    LoggingWindow view(&frame, log, "view", 10);
    TCommandEnabler onView(10), onFrame(20), unknown(99);
    view.RouteCommandEnable(onView);
    view.RouteCommandEnable(onFrame);
    view.RouteCommandEnable(unknown);
    EXPECT_TRUE(onView.IsEnabled());
    EXPECT_EQ(onView.GetText(), "view");
    EXPECT_FALSE(onFrame.IsEnabled());
    EXPECT_TRUE(onFrame.GetHandled());
    EXPECT_FALSE(unknown.GetHandled());
}

TEST(CommandRoute, ControlNotificationsStayWithTheParent)
{
    Log log;
    LoggingWindow frame(nullptr, log, "frame", 5);
    TWindow dlgLike(&frame);
    int changes = 0;
    dlgLike.OnNotify(5, EN_CHANGE, [&] { ++changes; });
    TEdit edit(&dlgLike, 5, "", 0, 0, 50, 20);
    ASSERT_TRUE(frame.Create());
    edit.SetWindowText("abc");  // a program's change notifies too
    EXPECT_EQ(changes, 1);
    EXPECT_TRUE(log.lines.empty()) << "a notification must not travel up as a command";
}

class CountingWindow : public TWindow {
public:
    CountingWindow() { OnMessage(WM_USER + 5, [this](TParam1 a, TParam2 b) { sum += static_cast<long>(a) + b; ++calls; return TResult(a * 2); }); }
    std::atomic<long> sum{0};
    std::atomic<int> calls{0};
};

// A handler a window registers for a message answers it, whatever the message: the ones the
// framework handles itself as well (a page takes the context menus its edits forward).
TEST(MessageTable, RegisteredHandlersAnswerEveryMessage)
{
    struct TableWindow : TWindow {
        using TWindow::OnMessage;
    };
    for (unsigned msg : {WM_COMMAND, WM_TIMER, WM_SIZE, WM_GETMINMAXINFO, WM_KEYDOWN, WM_KEYUP, WM_CHAR, WM_GETDLGCODE,
                         WM_SETFOCUS, WM_KILLFOCUS, WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONDOWN,
                         WM_RBUTTONUP, WM_MOUSEMOVE, WM_CONTEXTMENU, WM_HSCROLL, WM_VSCROLL, WM_CLOSE, WM_ACTIVATE,
                         WM_HELP, WM_USER + 1}) {
        TableWindow w;
        unsigned seen = 0;
        w.OnMessage(msg, [&seen, msg](TParam1, TParam2) {
            seen = msg;
            return TResult(7);
        });
        EXPECT_EQ(w.SendMessage(msg, 0, 0), 7) << "message 0x" << std::hex << msg;
        EXPECT_EQ(seen, msg) << "message 0x" << std::hex << msg;
    }
}

TEST(SettingsChange, ReturningToTheProgramAsksAboutTheWindowsSection)
{
    struct App : TApplication {
        std::vector<std::string> sections;
        void EvWinIniChange(const std::string& section) override { sections.push_back(section); }
    } app;
    auto state = [](Qt::ApplicationState st) { Q_EMIT qApp->applicationStateChanged(st); };
    state(Qt::ApplicationActive);
    EXPECT_TRUE(app.sections.empty()) << "becoming active at start is no return";
    state(Qt::ApplicationInactive);
    EXPECT_TRUE(app.sections.empty());
    state(Qt::ApplicationActive);
    EXPECT_EQ(app.sections, std::vector<std::string>{"windows"});
}

TEST(CrossThread, PostedMessagesArriveInOrderOnTheWindowThread)
{
    CountingWindow w;
    ASSERT_TRUE(w.Create());
    std::thread t([&] {
        for (int i = 1; i <= 100; ++i) w.PostMessage(WM_USER + 5, static_cast<TParam1>(i), 0);
    });
    t.join();
    EXPECT_EQ(w.calls, 0) << "a post must not run on the posting thread";
    TTestHook::ProcessEvents();
    EXPECT_EQ(w.calls, 100);
    EXPECT_EQ(w.sum, 5050);
}

TEST(CrossThread, SendWithTimeoutReturnsTheResultOrGivesUp)
{
    CountingWindow w;
    ASSERT_TRUE(w.Create());
    // Nobody pumps the window's thread: the send gives up, and the message is dropped.
    bool ok = true;
    std::thread t1([&] { ok = w.SendMessageTimeout(WM_USER + 5, 7, 0, 50); });
    t1.join();
    EXPECT_FALSE(ok);
    TTestHook::ProcessEvents();
    EXPECT_EQ(w.calls, 0) << "a send that timed out must never run later";

    // With the window thread pumping, the sender gets the handler's result.
    std::atomic<bool> done{false};
    TResult result = 0;
    std::thread t2([&] {
        ok = w.SendMessageTimeout(WM_USER + 5, 21, 0, 5000, &result);
        done = true;
    });
    while (!done) TTestHook::ProcessEvents();
    t2.join();
    EXPECT_TRUE(ok);
    EXPECT_EQ(result, 42);
    EXPECT_EQ(w.calls, 1);
}

TEST(TestHookBoxes, AnswersInOrderAndRecordsEveryText)
{
    TTestHook hook;
    hook.AnswerMessageBox(IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Save changes?", "Vyn", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBox(nullptr, "Second", "Vyn", MB_OKCANCEL | MB_DEFBUTTON2), IDCANCEL)
        << "unanswered: the default button";
    EXPECT_EQ(hook.MessageTexts(), (std::vector<std::string>{"Save changes?", "Second"}));
    EXPECT_EQ(hook.UnansweredBoxes(), 1);
}

const TControlTemplate kControls[] = {
    {100, TControlKind::EDIT, "start", dlgstyle::TABSTOP, 8, 8, 80, 12},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::DEFPUSHBUTTON | dlgstyle::TABSTOP, 8, 30, 40, 14},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 56, 30, 40, 14},
};
const TDialogTemplate kTemplate{9999, "Test", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 100, 50,
                                kControls, 3};

TEST(TestHookDialogs, DriveControlsThenPressTheAnsweredButton)
{
    TTestHook hook;
    std::string seen;
    hook.AnswerDialog(9999, IDOK, [&](TDialog& d) {
        seen = d.GetDlgItemText(100);
        d.SetDlgItemText(100, "typed");
    });
    TDialog dlg(nullptr, kTemplate);
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(seen, "start");
    EXPECT_FALSE(dlg.IsWindow());
    EXPECT_EQ(dlg.Execute(), IDCANCEL) << "no answer left: cancelled and counted";
    EXPECT_EQ(hook.UnansweredDialogs(), 1);
}

TEST(TestHookDialogs, EnterAndEscapeGoToTheDialogButtons)
{
    TTestHook hook;
    hook.AnswerDialog(9999, 0, [](TDialog& d) {
        d.GetDlgItem(100)->SetFocus();
        TTestHook::Key(VK_RETURN);
    });
    hook.AnswerDialog(9999, 0, [](TDialog& d) {
        d.GetDlgItem(100)->SetFocus();
        TTestHook::Key(VK_ESCAPE);
    });
    TDialog dlg(nullptr, kTemplate);
    EXPECT_EQ(dlg.Execute(), IDOK) << "Enter in a plain edit presses the default button";
    EXPECT_EQ(dlg.Execute(), IDCANCEL) << "Escape cancels";
}

TEST(DialogUnits, ConvertByTheDialogFontsBaseUnits)
{
    // The base units of the 8-point dialog font: the average letter width and the font height.
    TSize bu = TDialog::BaseUnitsOf("MS Sans Serif", 8);
    EXPECT_GE(bu.cx, 5);
    EXPECT_LE(bu.cx, 7);
    EXPECT_GE(bu.cy, 12);
    EXPECT_LE(bu.cy, 14);
    // x * bx / 4 and y * by / 8, rounded to nearest like MulDiv: with 6 x 13 base units,
    // (236, 119) maps to (354, 193.375 -> 193) and 1 unit across to 1.5 -> 2.
    TRect r = TDialog::MapDialogRect(TRect(1, 3, 236, 119), TSize(6, 13));
    EXPECT_EQ(r, TRect(2, 5, 354, 193));

    TDialog dlg(nullptr, kTemplate);
    ASSERT_TRUE(dlg.Create());
    EXPECT_EQ(dlg.GetBaseUnits(), bu);
    TRect expected = TDialog::MapDialogRect(TRect(8, 30, 48, 44), bu);
    EXPECT_EQ(dlg.ChildRectInClient(*dlg.GetDlgItem(IDOK)), expected);
    EXPECT_EQ(dlg.GetClientRect().Size(), TDialog::MapDialogRect(TRect(0, 0, 100, 50), bu).Size());
    dlg.Destroy();
}

}  // namespace
}  // namespace vyn
