// The Status dialog: the text built from each entry kind, the buttons of both modes, and the
// placement remembered for the rest of the run.
#include <gtest/gtest.h>

#include "controls/QCalErrDlg.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

struct Shown {
    int result = 0;
    std::string text, header;
    bool b103Visible = true, b104Visible = true;
    std::string b102;
    TRect b102Rect, b103Rect, window;
};

Shown RunShown(QCalErrDlg& dlg, int button)
{
    TTestHook hook;
    Shown s;
    hook.AnswerDialog(QCalErrDlg::kResId, button, [&](TDialog& d) {
        s.text = d.GetDlgItemText(101);
        s.header = d.GetDlgItemText(200);
        s.b102 = d.GetDlgItemText(102);
        s.b103Visible = d.GetDlgItem(103)->IsWindowVisible();
        s.b104Visible = d.GetDlgItem(104)->IsWindowVisible();
        s.b102Rect = d.ChildRectInClient(*d.GetDlgItem(102));
        s.b103Rect = d.ChildRectInClient(*d.GetDlgItem(103));
        s.window = d.GetWindowRect();
    });
    s.result = dlg.Execute();
    return s;
}

TEST(StatusDialogText, EachEntryKindAsItIsShown)
{
    QCalErrDlg::ForgetPlacement();
    struct Row {
        const char* name;
        std::function<void(QCalErrDlg&)> fill;
        std::string expected;
    } rows[] = {
        {"no entries: empty text", [](QCalErrDlg&) {}, ""},
        {"entries padded to the longest name",
         [](QCalErrDlg& d) {
             d.AddEntry("a", "1");
             d.AddEntry("abcd", "2");
         },
         "a    = 1\r\nabcd = 2"},
        {"error detail on its own indented line", [](QCalErrDlg& d) { d.AddErrorDetail("x", "1/0", "Division by zero"); },
         "x = 1/0\r\n   Division by zero"},
        {"caret under character 4 of the text (column 5 + 3 + 4 = 12 dots)",
         [](QCalErrDlg& d) { d.AddErrorAt("abcde", "1+2*(x", "Missing )", 4); },
         "abcde = 1+2*(x\r\n............^\r\n   Missing )"},
        {"a negative position counts as 0", [](QCalErrDlg& d) { d.AddErrorAt("n", "t", "e", -5); },
         "n = t\r\n....^\r\n   e"},
        {"messages do not widen the column and show whole",
         [](QCalErrDlg& d) {
             d.AddMessage("A long heading line");
             d.AddEntry("ab", "1");
         },
         "A long heading line\r\nab = 1"},
        {"a trailing blank line is dropped, an inner one shows",
         [](QCalErrDlg& d) {
             d.AddEntry("a", "1");
             d.AddBlankLine();
             d.AddEntry("b", "2");
             d.AddBlankLine();
         },
         "a = 1\r\n \r\nb = 2"},
        {"indent 2 makes a five-letter name seven wide",
         [](QCalErrDlg& d) {
             d.Indent = 2;
             d.AddEntry("abcde", "1");
             d.Indent = 0;
             d.AddEntry("z", "2");
         },
         "  abcde = 1\r\nz       = 2"},
    };
    for (const auto& r : rows) {
        QCalErrDlg dlg(nullptr, false);
        dlg.SetTitle("Title");
        r.fill(dlg);
        Shown s = RunShown(dlg, 102);
        EXPECT_EQ(s.text, r.expected) << r.name;
        EXPECT_EQ(s.header, "Title") << r.name;
        EXPECT_EQ(s.result, 102) << r.name;
    }
}

TEST(StatusDialogButtons, ErrorModeReturnsThePressedButtonInformationModeHasOneClose)
{
    QCalErrDlg::ForgetPlacement();
    for (int button : {102, 103, 104, IDCANCEL}) {
        QCalErrDlg dlg(nullptr, false);
        dlg.AddEntry("a", "1");
        Shown s = RunShown(dlg, button);
        EXPECT_EQ(s.result, button) << "button " << button;
        EXPECT_TRUE(s.b103Visible && s.b104Visible);
        EXPECT_EQ(s.b102, "Ignor this");
        EXPECT_EQ(dlg.EntryCount(), 0) << "clean-up empties the entries";
        EXPECT_EQ(dlg.Indent, 0);
    }
    QCalErrDlg info(nullptr, true);
    info.AddEntry("a", "1");
    Shown s = RunShown(info, 102);
    EXPECT_EQ(s.result, 102);
    EXPECT_EQ(s.b102, "Close");
    EXPECT_FALSE(s.b103Visible);
    EXPECT_FALSE(s.b104Visible);
    EXPECT_EQ(s.b102Rect, s.b103Rect) << "the single button sits where the middle one was";
}

TEST(StatusDialogPlacement, SecondDialogOpensWhereTheFirstClosedAndCannotShrink)
{
    QCalErrDlg::ForgetPlacement();
    TRect moved;
    TRect firstButton, laterButton;
    {
        TTestHook hook;
        hook.AnswerDialog(QCalErrDlg::kResId, 102, [&](TDialog& d) {
            firstButton = d.ChildRectInClient(*d.GetDlgItem(103));
            TRect w = d.GetWindowRect();
            d.MoveWindow(w.left + 20, w.top + 10, w.Width() + 100, w.Height() + 60);
            moved = d.GetWindowRect();
        });
        QCalErrDlg dlg(nullptr, false);
        dlg.Execute();
    }
    TMinMaxInfo info;
    {
        TTestHook hook;
        TRect second;
        hook.AnswerDialog(QCalErrDlg::kResId, 102, [&](TDialog& d) {
            second = d.GetWindowRect();
            laterButton = d.ChildRectInClient(*d.GetDlgItem(103));
            d.SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<TParam2>(&info));
        });
        QCalErrDlg dlg(nullptr, false);
        dlg.Execute();
        EXPECT_EQ(second.Size(), moved.Size());
    }
    // Wider by 100 and taller by 60: the button row moves 50 across and 60 down.
    EXPECT_EQ(laterButton, TRect(firstButton).Offset(50, 60));
    EXPECT_GT(info.minTrackSizeX, 0);
    EXPECT_LT(info.minTrackSizeX, moved.Width()) << "the minimum is the first opening's size";
}

}  // namespace
}  // namespace vyn
