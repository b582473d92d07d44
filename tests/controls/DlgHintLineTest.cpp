// The hint line of a dialog, driven by the mouse moving over the dialog's controls as a user
// moves it: the hint follows the control, the background empties the line once, and controls
// outside the range or without a hint text show none.
#include <gtest/gtest.h>

#include <string>

#include "controls/DlgHintLine.h"
#include "platform/gui/Control.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

// 67 characters, the last ones two bytes each: a cut at 63 must not split one.
const char kLongHint[] = "Shows the wells in the order they were measured, umlauts: \xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC\xC3\xA4\xC3\xB6\xC3\xBC";

const TControlTemplate kControls[] = {
    {101, TControlKind::CHECKBOX, "Order", dlgstyle::AUTO | dlgstyle::TABSTOP, 8, 8, 60, 12},
    {102, TControlKind::BUTTON, "Details", dlgstyle::TABSTOP, 8, 24, 60, 14},
    {103, TControlKind::CHECKBOX, "No hint", dlgstyle::AUTO | dlgstyle::TABSTOP, 8, 42, 60, 12},
    {150, TControlKind::BUTTON, "Outside", dlgstyle::TABSTOP, 8, 58, 60, 14},
    {110, TControlKind::STATIC, "...", dlgstyle::LEFT | dlgstyle::NOPREFIX, 8, 80, 180, 9},
    {2101, TControlKind::STATIC, kLongHint, dlgstyle::HIDDEN, 8, 100, 180, 8},
    {2102, TControlKind::STATIC, "Opens the details.", dlgstyle::HIDDEN, 8, 100, 180, 8},
    {2103, TControlKind::STATIC, "", dlgstyle::HIDDEN, 8, 100, 180, 8},
    {2150, TControlKind::STATIC, "Never shown: 150 lies outside the range.", dlgstyle::HIDDEN, 8, 100, 180, 8},
};
const TDialogTemplate kTemplate{9997, "Hints", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 200, 100,
                                kControls, static_cast<int>(std::size(kControls))};

struct HintDialog : TDialog {
    TStatic* hint = new TStatic(this, 110);
    DlgHintLine line{hint, 101, 109};
    HintDialog() : TDialog(nullptr, kTemplate)
    {
        line.ForwardFrom(*this);
        Create();
        ShowWindow(SW_SHOW);
    }
    std::string Hint() const { return GetDlgItemText(110); }
    void MouseTo(int id) { MouseOver(*GetDlgItem(id)); }
    void MouseToBackground() { MouseOver(*this, 2, 2); }
};

TEST(DlgHintLine, FollowsTheMouseFromControlToControl)
{
    HintDialog d;
    EXPECT_EQ(d.Hint(), "...");  // the resource text stays until the first hint
    d.MouseTo(103);              // no hint text: nothing was shown, so nothing is emptied
    EXPECT_EQ(d.Hint(), "...");
    EXPECT_FALSE(d.line.Shown());

    d.MouseTo(101);
    EXPECT_EQ(d.Hint(), std::string(kLongHint).substr(0, 58 + 2 * 5));  // 63 characters, 68 bytes
    EXPECT_TRUE(d.line.Shown());
    d.MouseTo(102);
    EXPECT_EQ(d.Hint(), "Opens the details.");

    d.MouseToBackground();
    EXPECT_EQ(d.Hint(), "");
    EXPECT_FALSE(d.line.Shown());
}

TEST(DlgHintLine, ControlsWithoutAHintEmptyTheLine)
{
    struct Case {
        const char* name;
        int id;
    } cases[] = {{"empty hint text", 103}, {"id outside the range", 150}, {"the hint line itself", 110}};
    for (const Case& c : cases) {
        HintDialog d;
        d.MouseTo(102);
        ASSERT_EQ(d.Hint(), "Opens the details.") << c.name;
        d.MouseTo(c.id);
        EXPECT_EQ(d.Hint(), "") << c.name;
        EXPECT_FALSE(d.line.Shown()) << c.name;
    }
}

TEST(DlgHintLine, ActsOnlyInTheClientAreaAndOnAChange)
{
    HintDialog d;
    TWindow* details = d.GetDlgItem(102);
    d.line.OnSetCursor(details, 2);  // the caption's hit-test code
    EXPECT_EQ(d.Hint(), "...");
    d.line.OnSetCursor(details, HTCLIENT);
    EXPECT_EQ(d.Hint(), "Opens the details.");
    // The same window again does not bring back a hint that something else replaced.
    d.hint->SetText("changed by the dialog");
    d.line.OnSetCursor(details, HTCLIENT);
    EXPECT_EQ(d.Hint(), "changed by the dialog");
    // A window of another dialog is no child of this one.
    HintDialog other;
    d.line.OnSetCursor(other.GetDlgItem(101), HTCLIENT);
    EXPECT_EQ(d.Hint(), "");
}

}  // namespace
}  // namespace vyn
