// The rulers' ticks and labels at known pixels and their marks; the frame's layout; typing a
// text box's contents in place.
#include <gtest/gtest.h>

#include <QImage>

#include "DesignerFixture.h"
#include "platform/gui/Clipboard.h"
#include "report_designer/QRInPlaceEdit.h"
#include "reports/RPObjectTextBox.h"

namespace vyn::test {
namespace {

QImage Shot(const TWindow& w) { return w.ClientImage() ? w.ClientImage()->copy() : QImage(); }

bool Dark(const QImage& img, int x, int y) { return qGray(img.pixel(x, y)) < 64; }

TEST(Rulers, TicksHangFromTheEdgeAtEverySixteenthOfAnInch)
{
    DesignerFixture f;
    QHRuler& h = f.pane.HRuler();
    h.UpdateWindow();
    const QImage img = Shot(h);
    const DesignerMetrics& m = Metrics();
    const int bottom = img.height() - 1;
    // 96 pixels per inch: the inch tick at 96, the half at 48, a sixteenth at 6; none between.
    struct Case {
        const char* name;
        int x;
        int length;
    } cases[] = {{"one inch", 96, m.hTicks[0] + 1}, {"half inch", 48, m.hTicks[8] + 1},
                 {"quarter", 24, m.hTicks[4] + 1},   {"sixteenth", 6, m.hTicks[1] + 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(Dark(img, c.x, bottom));
        EXPECT_TRUE(Dark(img, c.x, bottom - c.length + 1));
        EXPECT_FALSE(Dark(img, c.x, bottom - c.length)) << "the tick is " << c.length << " long";
        EXPECT_FALSE(Dark(img, c.x + 3, bottom));
    }
    EXPECT_GT(m.hTicks[0], m.hTicks[8]);
    EXPECT_GT(m.hTicks[8], m.hTicks[4]);
    // The label "1" stands just right of the inch tick, at the top.
    bool label = false;
    for (int x = 96 + m.rulerLabelGap; x < 96 + m.rulerLabelGap + m.hLabelReach; ++x)
        for (int y = 0; y < img.height() / 2; ++y) label = label || Dark(img, x, y);
    EXPECT_TRUE(label);
}

TEST(Rulers, EachBandBodyOfTheVerticalRulerCountsFromZero)
{
    DesignerFixture f;
    QVRuler& v = f.pane.VRuler();
    v.UpdateWindow();
    const QImage img = Shot(v);
    const int right = img.width() - 1;
    for (int i : {bandPageHeader, bandDetail}) {
        SCOPED_TRACE(i);
        const int top = f.band(i).BodyTop();
        EXPECT_TRUE(Dark(img, right, top + 48)) << "half an inch into the body";
        EXPECT_TRUE(Dark(img, right, top + 6));
        EXPECT_FALSE(Dark(img, right, top + 3));
    }
}

TEST(Rulers, MarksInvertOnlyWhatChangedAndLeaveNothingBehind)
{
    DesignerFixture f;
    QHRuler& h = f.pane.HRuler();
    h.UpdateWindow();
    const QImage clean = Shot(h);
    h.ShowMark(120, 100);  // reversed: taken in order
    EXPECT_EQ(h.MarkFrom(), 100);
    EXPECT_EQ(h.MarkTo(), 120);
    QImage marked = Shot(h);
    EXPECT_NE(marked.pixel(100, 2), clean.pixel(100, 2));
    EXPECT_NE(marked.pixel(120, 2), clean.pixel(120, 2));
    EXPECT_EQ(marked.pixel(121, 2), clean.pixel(121, 2));
    h.MoveMark(100, 120);
    EXPECT_EQ(Shot(h), marked) << "the same range draws nothing";
    h.MoveMark(110, 140);
    const QImage moved = Shot(h);
    EXPECT_EQ(moved.pixel(105, 2), clean.pixel(105, 2));
    EXPECT_NE(moved.pixel(130, 2), clean.pixel(130, 2));
    h.MoveMark(300, 310);  // disjoint
    h.HideMark();
    EXPECT_EQ(Shot(h), clean);
}

TEST(Frame, RulersKeepTheirThicknessWhenThePaneIsSized)
{
    DesignerFixture f;
    const DesignerMetrics& m = Metrics();
    for (TSize size : {TSize(900, 760), TSize(400, 300)}) {
        f.pane.MoveWindow(0, 0, size.cx, size.cy);
        TTestHook::ProcessEvents();
        EXPECT_EQ(f.pane.HRuler().GetClientRect().Height(), m.hRulerHeight);
        EXPECT_EQ(f.pane.VRuler().GetClientRect().Width(), m.vRulerWidth);
        EXPECT_EQ(f.pane.HRuler().GetClientRect().Width(), size.cx - 1 - m.vRulerWidth);
        EXPECT_EQ(f.pane.Corner().GetClientRect(), TRect(0, 0, m.vRulerWidth, m.hRulerHeight));
    }
    EXPECT_GT(m.vRulerWidth, 0);
}

struct OneBox : DesignerFixture {
    RPObjectTextBox* box = static_cast<RPObjectTextBox*>(Add(bandDetail, otTextBox, 1440, 360, 2880, 360));
    int reloads = 0;
    OneBox()
    {
        box->StoreContents("Result");
        view->SelectObject(box);
        GetRepViewShell().attrUpdate = [this](QRepView&, AttrUpdate how) { reloads += how == AttrUpdate::ReloadValues; };
    }
    TPoint Inside() { return At(bandDetail, box->Pixels().x + 40, box->Pixels().y + 12); }
    void Open()
    {
        view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(Inside().x, Inside().y));
        ASSERT_EQ(view->GetTrackCode(), tcEdit);
        Press(Inside());
        ASSERT_TRUE(view->Editing());
    }
};

TEST(InPlaceEdit, ClickInsideTheOnlySelectedTextBoxOpensTheEditorOverIt)
{
    OneBox f;
    f.Open();
    QRInPlaceEdit& e = *f.view->TextEditor();
    EXPECT_TRUE(e.IsWindowVisible());
    EXPECT_EQ(e.GetWindowText(), "Result");
    EXPECT_EQ(f.view->DragState(), 0) << "no drag starts";
    EXPECT_FALSE(f.box->Selected()) << "the handles are hidden while typing";
    int start = -1, end = -1;
    e.GetSelection(start, end);
    EXPECT_GT(start, 0) << "the caret lands where the click was";
    EXPECT_EQ(start, end);
}

TEST(InPlaceEdit, EnterCommitsEscCancels)
{
    struct Case {
        const char* name;
        std::string typed;
        bool clear;
        unsigned key;
        std::string contents;
        bool dirty;
    } cases[] = {
        {"typed and Enter", "=conc", true, VK_RETURN, "=conc", true},
        {"Enter without typing", "", false, VK_RETURN, "Result", false},
        {"everything deleted and Enter", "", true, VK_RETURN, "", true},
        {"typed and Esc", "xyz", true, VK_ESCAPE, "Result", false},
        {"typed and Down", "abc", true, VK_DOWN, "abc", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OneBox f;
        f.Open();
        QRInPlaceEdit& e = *f.view->TextEditor();
        if (c.clear) {
            e.SetSelection(0, 100);
            e.EditCommand(cmRepDelete);
        }
        if (!c.typed.empty()) TTestHook::Type(c.typed, &e);
        TTestHook::Key(c.key, 0, &e);
        EXPECT_FALSE(f.view->Editing());
        EXPECT_FALSE(e.IsWindowVisible());
        EXPECT_EQ(f.box->GetContents(), c.contents);
        EXPECT_EQ(f.doc.IsDirty(), c.dirty);
        EXPECT_TRUE(f.box->Selected()) << "the handles come back";
        EXPECT_EQ(f.reloads, c.key == VK_ESCAPE ? 0 : 1) << "a commit reloads the attribute values";
    }
}

TEST(InPlaceEdit, TabAndUpNeitherMoveNorCloseAndClipboardKeysEditTheText)
{
    OneBox f;
    f.Open();
    QRInPlaceEdit& e = *f.view->TextEditor();
    TTestHook::Key(VK_TAB, 0, &e);
    TTestHook::Key(VK_UP, 0, &e);
    EXPECT_TRUE(f.view->Editing());
    e.SetSelection(0, 3);
    f.view->SendCommand(cmRepCut);  // with the focus in the editor: cuts text, not objects
    EXPECT_EQ(e.GetWindowText(), "ult");
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 1);
    std::string text;
    ASSERT_TRUE(Clipboard::GetText(text));
    EXPECT_EQ(text, "Res");
    TTestHook::Key(VK_RETURN, 0, &e);
    EXPECT_EQ(f.box->GetContents(), "ult");
}

TEST(InPlaceEdit, OnlyASingleTextBoxCanBeEditedAndLeavingTheProgramCancels)
{
    OneBox f;
    RPObject* other = f.Add(bandDetail, otTextBox, 1440, 900, 1440, 360);
    f.view->SelectObject(other);
    f.view->BeginTextEdit(false);
    EXPECT_FALSE(f.view->Editing()) << "two text boxes selected";
    f.view->DeselectObject(other);
    f.view->BeginTextEdit(false);
    ASSERT_TRUE(f.view->Editing());
    TTestHook::Type("gone", f.view->TextEditor());
    f.view->OnDeactivate(false, false);
    EXPECT_FALSE(f.view->Editing());
    EXPECT_EQ(f.box->GetContents(), "Result");
    f.view->BeginTextEdit(false);
    TTestHook::Type("kept", f.view->TextEditor());
    f.view->OnDeactivate(false, true);
    EXPECT_EQ(f.box->GetContents(), "kept") << "the whole text was selected, typing replaced it";
}

}  // namespace
}  // namespace vyn::test
