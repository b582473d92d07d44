// Texts wider than the place they are shown in, as the user reads them: a plate cell's result
// and the presentation dialogs' sample show their first characters and the overflow mark,
// never their tail alone; a long method name in the status bar leaves the bar's other panes
// on it; and a signal typed into "Inverse Calculate" that is no number converts to nothing.
#include <gtest/gtest.h>

#include <QImage>
#include <QRect>

#include <algorithm>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "app/QDefPres.h"
#include "app/TMyStatusBar.h"
#include "calibration_dialogs/InvCalDlg.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Gdi.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QPView.h"
#include "views/ViewBitmaps.h"

using namespace vyn;

namespace too_wide {

// The demo plate as a file in the data folder, changed by the edits (pattern, replacement).
void RewriteDemo(const std::vector<std::pair<std::string, std::string>>& edits)
{
    const std::string path = std::string(std::getenv("VYN_DATA_DIR")) + "/Demo.plt";
    std::string text = FileText(path);
    for (const auto& [pattern, replacement] : edits) text = std::regex_replace(text, std::regex(pattern), replacement);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// The samples' evaluation is their concentration, and their signals give concentrations of many
// digits: 29.771234 and 100.121111 for the first and the third sample.
void ConcentrationPlate()
{
    RewriteDemo({{"QUAL high;'conc > 50';", "QUAL c;'conc';"},
                 {"0\\.19;0\\.21;0\\.34;0\\.36;0\\.54;0\\.56;", "0.18771234;0.21;0.34;0.36;0.54121111;0.56;"}});
}

// The runs of text shown inside the rectangle (client coordinates of the window read).
std::vector<TShownText> TextsIn(const std::vector<TShownText>& texts, const QRect& area)
{
    std::vector<TShownText> out;
    for (const TShownText& t : texts)
        if (area.contains(t.rect.center())) out.push_back(t);
    return out;
}

// Whether the picture is what the window shows at the rectangle, pixel for pixel.
bool ShowsPictureAt(TWindow& window, const TBitmap& picture, const QRect& at)
{
    const QImage shown = GrabPicture(window, at).convertToFormat(QImage::Format_RGB32);
    const QImage want = picture.Image()->convertToFormat(QImage::Format_RGB32);
    if (shown.size() != want.size()) return false;
    for (int y = 0; y < want.height(); ++y)
        for (int x = 0; x < want.width(); ++x)
            if ((shown.pixel(x, y) & 0xFFFFFF) != (want.pixel(x, y) & 0xFFFFFF)) return false;
    return true;
}

void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

std::string Joined(const std::vector<TShownText>& texts)
{
    std::string out;
    for (const TShownText& t : texts) out += (out.empty() ? "" : " | ") + t.text;
    return out;
}

// With the results rounded to 15 digits, a quantitative sample's concentration is wider than
// its cell's line: drawn to the right, "29.771234" showed as "771234" and "100.121111" as
// "121111" with a half digit before it, read as other numbers. They show from their first digit,
// with the mark that a cut data value has.
TEST(TooWideToShowWhole, APlateCellsResultShowsItsFirstDigitsAndTheOverflowMark)
{
    ShownDemo demo(ConcentrationPlate);
    ASSERT_NE(demo.doc, nullptr);
    demo.hook.AnswerDialog(QDefPres::kResId, 0, [](TDialog& d) {
        TTestHook::ProcessEvents();
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(107), "15"));
        Press(d, IDOK);
    });
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Definition", "Results presentation..."));
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Tools", "Results"));
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    const std::vector<TShownText> shown = ShownTexts(*view);
    const TBitmap mark = ViewBitmaps::OverflowMark(view->WidthM / 2, view->LineHeight);
    struct Case {
        int col, row;
        std::string value;
    };
    // The samples' first wells; the layout, the data and the result make three lines.
    for (const Case& c : {Case{0, 2, "29.771234"}, Case{4, 2, "100.121111"}}) {
        SCOPED_TRACE(c.value);
        const TRect cell = view->CellRect(c.col, c.row);
        const QRect line(cell.left + view->MarginX, cell.top + view->MarginY + 2 * view->LineHeight, view->CellTextWidth,
                         view->LineHeight);
        const std::vector<TShownText> result = TextsIn(shown, line);
        ASSERT_EQ(result.size(), 1u) << Joined(result);
        const std::string& text = result[0].text;
        EXPECT_GE(text.size(), 4u) << text;
        EXPECT_EQ(c.value.compare(0, text.size(), text), 0) << "\"" << text << "\" is the start of the value";
        EXPECT_EQ(result[0].rect.left(), line.left()) << "from the line's left end";
        EXPECT_LE(result[0].rect.right(), line.right() - mark.Width()) << "no digit under the mark";
        EXPECT_TRUE(ShowsPictureAt(*view, mark, QRect(line.right() + 1 - mark.Width(), line.top(), mark.Width(), mark.Height())))
            << "the overflow mark at the line's right end";
    }
}

// "Plate presentation" and "Results presentation" show -pi as the format gives it in a field of
// the field width: a sample too wide showed its tail ("265358979") or lost its sign ("3.0000").
TEST(TooWideToShowWhole, ThePresentationDialogsSampleShowsItsStartAndSignOrTheWholeNumber)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    struct Case {
        const char* dialog;
        int mode;  // radio 101 General, 102 Scientific, 103 Fixed
        const char *decimals, *rounding, *width;
        std::string whole;
        bool cut;
    };
    const Case cases[] = {
        {"Results presentation...", 101, nullptr, "15", nullptr, "-3.14159265358979", true},
        {"Plate presentation...", 103, "4", "1", "22", "-3.0000", true},
        {"Plate presentation...", 101, nullptr, "3", "40", "-3.14", false},
        {"Results presentation...", 102, "2", "3", "240", "-3.14e+0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.dialog) + " " + c.whole);
        std::string read;
        bool marked = false;
        demo.hook.AnswerDialog(QDefPres::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            Press(d, c.mode);
            if (c.decimals) {
                EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(104), c.decimals));
            }
            EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(107), c.rounding));
            if (c.width) {
                EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(110), c.width));
            }
            TTestHook::ProcessEvents();
            const QRect frame = d.GetDlgItem(120)->Widget()->geometry();
            const std::vector<TShownText> sample = TextsIn(ShownTexts(d), frame);
            read = Joined(sample);
            EXPECT_EQ(sample.size(), 1u) << read;
            for (const TShownText& t : sample) EXPECT_TRUE(frame.contains(t.rect)) << "within the frame: " << t.text;
            TWindow* mark = d.GetDlgItem(121);
            if (mark && ShownOnScreen(*mark)) {
                const TRect r = mark->GetClientRect();
                marked = ShowsPicture(*mark, ViewBitmaps::OverflowMark(r.Width(), r.Height()));
                const QRect at = mark->Widget()->geometry();
                for (const TShownText& t : sample) EXPECT_LE(t.rect.right(), at.left()) << "the text ends before the mark";
            }
            Press(d, IDCANCEL);
        });
        ASSERT_TRUE(ClickMenuItem(demo.Main(), "Definition", c.dialog));
        EXPECT_EQ(marked, c.cut) << read;
        if (c.cut) {
            ASSERT_GE(read.size(), 3u);
            EXPECT_LT(read.size(), c.whole.size());
            EXPECT_EQ(c.whole.compare(0, read.size(), read), 0) << read << " is the start of " << c.whole;
        } else {
            EXPECT_EQ(read, c.whole);
        }
    }
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
}

// A method name of 249 characters took the status bar's whole width and pushed CAPS, NUM, the
// measurement time and the validity out of the window: the name's pane is cut instead.
void LongMethodName()
{
    // A text this long is folded onto continuation lines, as the program writes it.
    const std::string piece(60, 'M');
    RewriteDemo({{"MNAM 'Demo Linear';",
                  "MNAM '" + piece + "'\r\n '" + piece + "'\r\n '" + piece + "'\r\n '" + piece + "M the end';"}});
}

TEST(TooWideToShowWhole, ALongMethodNameLeavesTheStatusBarsOtherPanesOnTheBar)
{
    ShownDemo demo(LongMethodName);
    ASSERT_NE(demo.doc, nullptr);
    ASSERT_NE(gStatusBar, nullptr);
    // What the bar shows once the program has had its idle round, as when it waits for input.
    demo.shell.app->IdleAction(0);
    ASSERT_TRUE(WaitUntil([] { return ShowsText(gStatusBar->Widget(), "MMMMMM", false); }, 3000));
    // The window made narrower, as the user drags its edge: the bar lays its panes out again.
    demo.Main().MoveWindow(0, 0, 1000, 800);
    TTestHook::ProcessEvents();
    const int width = gStatusBar->GetClientRect().Width();
    const std::vector<TShownText> shown = ShownTexts(*gStatusBar);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().text.compare(0, 6, "MMMMMM"), 0) << "the method name first: " << Joined(shown);
    std::vector<std::string> onBar;
    for (const TShownText& t : shown)
        if (t.rect.left() >= 0 && t.rect.right() < width && &t != &shown.front()) onBar.push_back(t.text);
    const std::vector<std::string> panes = {"CAPS", "NUM", "VALID"};
    for (const std::string& pane : panes)
        EXPECT_NE(std::find(onBar.begin(), onBar.end(), pane), onBar.end()) << pane << " on the bar: " << Joined(shown);
    bool time = false;
    for (const std::string& t : onBar) time = time || t.find("2024") != std::string::npos;
    EXPECT_TRUE(time) << "the measurement time on the bar: " << Joined(shown);
    EXPECT_LT(shown.front().rect.left(), width);
}

// "nan" typed as the signal read as a number beyond the curve's range and showed "<<"; it
// converts to nothing, as "abc" does, and so do the infinities and numbers past the double range.
TEST(TooWideToShowWhole, InverseCalculateShowsNothingForASignalThatIsNoNumber)
{
    ShownDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Windows", "Calibration curve"));
    TTestHook::ProcessEvents();
    std::vector<std::string> wrong;
    std::string number, beyond;
    demo.hook.AnswerDialog(InvCalDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        auto concentration = [&](const char* signal) {
            EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(InvCalDlg::kYEdit), signal));
            TTestHook::ProcessEvents();
            return Joined(ShownTexts(*d.GetDlgItem(InvCalDlg::kXEdit)));
        };
        number = concentration("0.2");
        beyond = concentration("99");
        for (const char* signal : {"abc", "nan", "-nan", "NaN", "inf", "-inf", "1e999", "-1e999"})
            if (const std::string x = concentration(signal); !x.empty()) wrong.push_back(std::string(signal) + " -> " + x);
        Press(d, IDCANCEL);
    });
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Tools", "Inverse calculate..."));
    EXPECT_EQ(number, "40") << "a signal in the range gives its concentration";
    EXPECT_EQ(beyond, ">>");
    EXPECT_EQ(wrong, std::vector<std::string>{});
}

}  // namespace too_wide
