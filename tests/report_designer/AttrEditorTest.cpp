// The attribute editor: value texts and what typed entries read as, the multiple selection's
// common values, and the row pane over a live designer view (rows per target, in-place edits
// written to the model, choices, colours, cancelling).
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "platform/gui/ChooseColorDialog.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/AttrControls.h"
#include "report_designer/AttrDialogs.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/AttrMulti.h"
#include "report_designer/AttrRows.h"
#include "report_designer/AttrValues.h"
#include "reports/RPObject.h"
#include "DesignerFixture.h"

namespace vyn::test {
namespace {

TEST(AttrValues, LengthTexts)
{
    struct Row { const char* name; int twips; const char* text; };
    const Row rows[] = {
        {"six inches", 8640, "6 in"}, {"half", 720, "0.5 in"}, {"hundred twips", 100, "0.0694 in"},
        {"zero", 0, "0 in"}, {"mixed", 32767, ""},
    };
    for (const Row& r : rows) EXPECT_EQ(TwipsToInchText(r.twips), r.text) << r.name;
}

TEST(AttrValues, TypedLengths)
{
    struct Row { const char* name; const char* typed; int result; int twips; };
    const Row rows[] = {
        {"plain inch", "1", 1, 1440}, {"inch unit", "1 in", 1, 1440}, {"points", "72pt", 1, 1440},
        {"centimetres", "2.54 cm", 1, 1440}, {"millimetres", "10 mm", 1, 567}, {"comma", "1,5", 1, 2160},
        {"twips", "300 he", 1, 300}, {"upper case unit is inches", "5 MM", 1, 7200}, {"5mm", "5mm", 1, 283},
        {"zero", "0", 1, 0}, {"negative", "-1", -1, -7}, {"too long", "23 in", -1, -7}, {"no number", "abc", 0, -7},
        {"nan", "nan", -1, -7}, {"infinity", "inf mm", -1, -7}, {"past the doubles", "1e999", -1, -7},
    };
    for (const Row& r : rows) {
        int twips = -7;
        EXPECT_EQ(ParseLengthText(r.typed, twips), r.result) << r.name;
        EXPECT_EQ(twips, r.twips) << r.name;
    }
}

TEST(AttrValues, ColoursFormatsAxesFonts)
{
    EXPECT_EQ(ColorText(0xFFFFFF), "255 255 255");
    EXPECT_EQ(ColorText(-1), "");
    EXPECT_EQ(ParseColorText("255 0 0"), 255);
    EXPECT_EQ(ParseColorText("0 0 255"), 0xFF0000);
    EXPECT_EQ(ParseColorText("256 0 0"), -1);
    EXPECT_EQ(ParseColorText("255 0"), -1);
    EXPECT_EQ(ParseColorText("1 2 3 4"), -1) << "a colour is three numbers, nothing more";
    EXPECT_EQ(ParseColorText("8.9 0 0"), -1);
    RPNumFormat f;
    f.Set(2, 0, 0);
    EXPECT_EQ(FormatValueText(f), "Fixed ");
    f.Set(0, 3, 0);
    EXPECT_EQ(FormatValueText(f), "General ");
    f.Set(2, 2, 4);
    EXPECT_EQ(FormatValueText(f), "Fixed 2 (4)");
    f.Set(-1, 3, 4);
    EXPECT_EQ(FormatValueText(f), "");
    RPAxisSpec a;
    a.Set(0, 0, 1, NoValue, NoValue, NoValue);
    EXPECT_EQ(AxisValueText(a), "Auto / Lin");
    a.Set(1, 1, 1, 1, 10, NoValue);
    EXPECT_EQ(AxisValueText(a), "Fixed / Log");
    RPLogFont lf;
    lf.height = 105;
    lf.SetFace("Arial");
    EXPECT_EQ(FontValueText(&lf), "10 pt  Arial");
    EXPECT_EQ(FontValueText(nullptr), "");
    EXPECT_EQ(ChoiceTexts(cgPresence)[3], "Not with Rpt Hdr/Ftr");
}

TEST(AttrMulti, CommonValuesAndMarkers)
{
    auto a = RPObject::Create(otTextBox), b = RPObject::Create(otTextBox), r = RPObject::Create(otRectangle);
    std::vector<RPObject*> sel{a.get(), b.get()};
    RPMultiAttr m(&sel);
    a->SetPos(TPoint(1000, 0));
    b->SetPos(TPoint(1002, 0));
    EXPECT_EQ(m.GetLeft(), 1001);
    b->SetPos(TPoint(1003, 0));
    EXPECT_EQ(m.GetLeft(), 32767);
    a->SetContents("abc");
    b->SetContents("ABC");
    EXPECT_EQ(m.GetContents(), "");
    b->SetContents("abc");
    EXPECT_EQ(m.GetContents(), "abc");
    RPNumFormat general, fixed;
    general.Set(0, 3, 4);
    fixed.Set(2, 3, 4);
    a->SetFormat(general);
    b->SetFormat(general);
    EXPECT_EQ(m.GetFormat().kind, 0);
    b->SetFormat(fixed);
    EXPECT_EQ(m.GetFormat().kind, -1) << "formats of different kinds have no common value";
    EXPECT_EQ(m.GetFormat().digits, 4);
    EXPECT_EQ(m.GetNOfColumns(), 1);
    EXPECT_EQ(m.GetGranulX(), 32767);

    sel = {a.get(), r.get()};
    EXPECT_FALSE(m.HasAttr(acFont));
    EXPECT_TRUE(m.HasAttr(acRGBBorder));
    ASSERT_NE(m.GetFont(), nullptr) << "the rectangle has no font and is skipped";
    a->SetRGBBorder(0x0000FF);
    r->SetRGBBorder(0x00FF00);
    EXPECT_EQ(m.GetRGBBorder(), -1);
    r->SetRGBBorder(0x0000FF);
    EXPECT_EQ(m.GetRGBBorder(), 0x0000FF);

    sel.clear();
    EXPECT_TRUE(m.HasAttr(acFont));
    EXPECT_EQ(m.GetRGBBorder(), -1);
    EXPECT_EQ(m.GetBorderWidth(), 32767);
}

// The designer with the attribute editor open over it.
struct AttrFixture : DesignerFixture {
    AttrFixture()
    {
        QRAttrDlg::InstallViewHooks();
        QRAttrDlg::CreateEditorWindows();
        QRAttrDlg::CreateFrame();
        QRAttrDlg::ShowForNoActivate(view, 1);
        TTestHook::ProcessEvents();
    }
    ~AttrFixture() { QRAttrDlg::ShowFor(nullptr, 0); }
    QRAttrDlg& dlg() { return *QRAttrGlobals::gAttrDlg; }
    std::vector<std::string> Captions()
    {
        std::vector<std::string> c;
        for (SCtrl* r : dlg().ShownRows()) c.push_back(r->caption);
        return c;
    }
    SCtrl& Row(int code)
    {
        SCtrl* r = dlg().RowWithCode(code);
        EXPECT_NE(r, nullptr) << "no row of code " << code;
        return *r;
    }
    // Makes the row current and starts its edit as the keyboard would.
    void Edit(int code)
    {
        const auto& rows = dlg().ShownRows();
        const int i = static_cast<int>(std::find(rows.begin(), rows.end(), &Row(code)) - rows.begin());
        // A row scrolled out of the pane is scrolled back first, as the user would.
        if (dlg().ValueRect(i).top < 0 || dlg().ValueRect(i).bottom > dlg().GetClientRect().bottom) {
            dlg().SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, i), 0);
            dlg().SendMessage(WM_VSCROLL, SB_ENDSCROLL, 0);
        }
        const TRect v = dlg().ValueRect(i);
        dlg().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(v.left + 2, v.top + 2));
        TTestHook::ProcessEvents();
    }
    void Type(const std::string& text)
    {
        QRAttrGlobals::gAttrEdit->SetWindowText(text);
        QRAttrGlobals::gAttrEdit->SetModify(true);
    }
    void Command(unsigned id)
    {
        dlg().SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0);
        TTestHook::ProcessEvents();
    }
    std::string Header() { return QRAttrGlobals::gAttrHeader->Title(); }
};

TEST(AttrEditor, RowsAndHeaderFollowTheTarget)
{
    AttrFixture f;
    EXPECT_EQ(f.Header(), "Report");
    EXPECT_EQ(f.Captions(), (std::vector<std::string>{"Width", "X Granularity", "Y Granularity"}));

    RPObject* t = f.Add(2, otTextBox, 0, 0, 1440, 360);
    f.view->SelectObject(t);
    f.dlg().Reload(1);
    EXPECT_EQ(f.Header(), "Text Box");
    const std::vector<std::string> textBox{"Contents", "Format", "Source", "Condition", "Left", "Top", "Width",
                                           "Height", "Back Style", "Back Color", "Border Style", "Border Color",
                                           "Border Width", "Border Line Style", "Fore Color", "Font",
                                           "Horz. Align", "Vert. Align"};
    EXPECT_EQ(f.Captions(), textBox);
    EXPECT_EQ(f.Row(acWidth).valueText, "1 in");

    RPObject* u = f.Add(2, otTextBox, 2880, 0, 720, 360);
    f.view->SelectObject(u);
    f.dlg().Reload(1);
    EXPECT_EQ(f.Header(), "Multiple selection (2)");
    EXPECT_EQ(f.Row(acWidth).valueText, "") << "widths differ";
    EXPECT_EQ(f.Row(acHeight).valueText, "0.25 in");

    f.view->ClearSelection();
    f.view->CmTool(6);
    f.dlg().Reload(1);
    EXPECT_EQ(f.Header(), "Default Page Break");
    EXPECT_TRUE(f.dlg().ShownRows().empty());
    f.view->CmTool(1);
    f.dlg().Reload(1);
    EXPECT_EQ(f.Header(), "Default Text Box");
    f.view->CmTool(0);
}

TEST(AttrEditor, TypedValuesAreWrittenOrDropped)
{
    AttrFixture f;
    RPObject* t = f.Add(2, otTextBox, 0, 0, 1440, 360);
    f.view->SelectObject(t);
    f.dlg().Reload(1);

    f.Edit(acWidth);
    f.Type("2 in");
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetWidth(), 2880);
    EXPECT_EQ(f.Row(acWidth).valueText, "2 in");

    f.Edit(acWidth);
    f.Type("abc");
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetWidth(), 2880) << "a length that does not read writes nothing";

    f.Edit(acWidth);
    f.Type("1 in");
    f.Command(cmAttrEsc);
    EXPECT_EQ(t->GetWidth(), 2880) << "Esc writes nothing";
    EXPECT_EQ(QRAttrGlobals::gAttrEdit->GetWindowText(), "2 in") << "and starts again with the stored value";

    f.Edit(acContents);
    f.Type("=Conc");
    f.dlg().SetActive(0);
    EXPECT_EQ(t->GetContents(), "") << "leaving the window discards the typed value";

    f.Edit(acContents);
    f.Type("=Conc");
    f.Command(cmAttrApply);
    EXPECT_EQ(t->GetContents(), "=Conc");

    f.Edit(acRGBBorder);
    f.Type("255 0");
    EXPECT_EQ(QRAttrGlobals::gAttrColor->GetColor(), -1) << "the swatch shows the cross";
    f.Type("255 0 0");
    EXPECT_EQ(QRAttrGlobals::gAttrColor->GetColor(), 255);
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetRGBBorder() & 0xFFFFFF, 255);

    TChooseColorDialog::SetTestAnswer([](TColor& c) { c = TColor(0, 0, 255); return true; });
    f.Edit(acRGBFore);
    f.Command(idAttrMore);
    TChooseColorDialog::SetTestAnswer({});
    EXPECT_EQ(t->GetRGBFore() & 0xFFFFFF, 0xFF0000) << "the colour picked is applied";
}

// The whole-number rows (the detail band's columns, the report's grid) and the whole-number
// fields of the attribute dialogs (a format's decimals and rounding, an axis's sub-ticks) take a
// whole number of their range; every other text is refused with a message naming the range and
// the value is kept. An empty row edit changes nothing; an empty sub-ticks field is none.
TEST(AttrEditor, WholeNumberFieldsTakeTheirRangeAndRefuseEveryOtherText)
{
    AttrFixture f;
    const std::string nines(300, '9');
    struct Row {
        int code;
        bool band;  // the detail band's, else the report's
        int low, high;
    };
    const Row rows[] = {{acNOfColumns, true, 1, 24}, {acGranulX, false, 1, 72}, {acGranulY, false, 1, 72}};
    const std::vector<std::string> texts = {"", "-5", "0", "8.9", "1e999", "inf", nines, "abc", "2"};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.code);
        if (r.band) f.view->SetActiveSection(&f.band(2));
        else f.view->ClearActiveSection();
        f.dlg().Reload(1);
        auto value = [&] {
            return r.code == acNOfColumns ? f.band(2).GetNOfColumns()
                   : r.code == acGranulX  ? f.report().GetGranulX()
                                          : f.report().GetGranulY();
        };
        for (const std::string& text : texts) {
            SCOPED_TRACE("\"" + text.substr(0, 10) + "\"");
            const int before = value();
            const std::size_t shown = f.hook.MessageTexts().size();
            const bool taken = text.empty() || text == "2";
            if (!taken) f.hook.AnswerMessageBox(IDOK);
            f.Edit(r.code);
            f.Type(text);
            f.Command(cmAttrNext);
            const std::vector<std::string> messages = f.hook.MessageTexts();
            if (taken) {
                EXPECT_EQ(messages.size(), shown);
                EXPECT_EQ(value(), text.empty() ? before : 2);
            } else {
                ASSERT_EQ(messages.size(), shown + 1);
                EXPECT_EQ(messages.back(), "\"" + text.substr(0, 40) + "\" is not a whole number from " +
                                               std::to_string(r.low) + " to " + std::to_string(r.high) + ".");
                EXPECT_EQ(value(), before) << "the row keeps its value";
            }
        }
    }

    RPObject* text = f.Add(2, otTextBox, 0, 0, 1440, 360);
    RPObject* graph = f.Add(2, otGraph, 0, 720, 2880, 2880);
    struct Field {
        const char* name;
        RPObject* object;
        int row, dialog;
        std::vector<int> prep;  // radios clicked first: Fixed, so the field shows
        int edit, low, high;
        bool emptyIsZero;
        std::function<int()> value;
    };
    const Field fields[] = {
        {"format decimals", text, acFormat, idQRFmtDlg, {103}, 105, 0, 15, false, [&] { return text->GetFormat().decimals; }},
        {"format rounding", text, acFormat, idQRFmtDlg, {103}, 106, 0, 15, false, [&] { return text->GetFormat().digits; }},
        {"axis sub-ticks", graph, acAxisX, idQRAxisDlg, {104}, 108, 0, 128, true, [&] { return graph->GetAxisX().subticks; }},
    };
    for (const Field& d : fields) {
        SCOPED_TRACE(d.name);
        f.view->ClearSelection();
        f.view->SelectObject(d.object);
        f.dlg().Reload(1);
        for (const std::string& typed : texts) {
            if (typed == "2") continue;
            SCOPED_TRACE("\"" + typed.substr(0, 10) + "\"");
            const bool refused = !(typed == "0" || (typed.empty() && d.emptyIsZero));
            const int before = d.value();
            const std::size_t shown = f.hook.MessageTexts().size();
            std::string held;
            bool stayed = false;
            f.hook.AnswerDialog(d.dialog, 0, [&](TDialog& dlg) {
                for (int id : d.prep) EXPECT_TRUE(ClickReaches(*dlg.GetDlgItem(id))) << id;
                if (d.dialog == idQRAxisDlg) {  // a fixed range the sub-ticks can divide
                    EXPECT_TRUE(TypeIntoField(*dlg.GetDlgItem(105), "10"));
                    EXPECT_TRUE(TypeIntoField(*dlg.GetDlgItem(106), "0"));
                    EXPECT_TRUE(TypeIntoField(*dlg.GetDlgItem(107), "1"));
                }
                ASSERT_TRUE(TypeIntoField(*dlg.GetDlgItem(d.edit), typed));
                held = dlg.GetDlgItemText(d.edit);
                if (refused) f.hook.AnswerMessageBox(IDOK);
                TTestHook::Click(*dlg.GetDlgItem(IDOK));
                stayed = !dlg.HasEnded();
                if (stayed) TTestHook::Click(*dlg.GetDlgItem(IDCANCEL));
            });
            f.Edit(d.row);
            f.Command(idAttrMore);
            f.Command(cmAttrNext);
            EXPECT_EQ(stayed, refused);
            if (refused) {
                ASSERT_EQ(f.hook.MessageTexts().size(), shown + 1);
                EXPECT_EQ(f.hook.MessageTexts().back(), "\"" + held.substr(0, 40) + "\" is not a whole number from " +
                                                            std::to_string(d.low) + " to " + std::to_string(d.high) + ".");
                EXPECT_EQ(d.value(), before);
            } else {
                EXPECT_EQ(f.hook.MessageTexts().size(), shown);
                EXPECT_EQ(d.value(), 0);
            }
        }
    }
    EXPECT_EQ(f.hook.UnansweredBoxes(), 0);
}

// The axis dialog's High, Low and Increment take a number typed in them; a text that is no
// number the report could draw with ("nan", an infinity, a number past the double range) or no
// number at all is refused with a message at OK, the dialog stays with the text for the user to
// mend, and the axis keeps its value. An empty field is a value not given, which the range
// check refuses without a message, as it does an increment that is not above 0.
TEST(AttrEditor, AxisDialogNumberFieldsRefuseTextsThatAreNoNumbers)
{
    AttrFixture f;
    RPObject* graph = f.Add(2, otGraph, 0, 720, 2880, 2880);
    f.view->SelectObject(graph);
    f.dlg().Reload(1);
    const std::string nines(300, '9');
    struct Field {
        const char* name;
        int edit;
        // The texts of the other two edits (High, Low, Increment order; the field's own is
        // skipped): a range that every number of the walk fits, but for the increment's -5 and 0.
        const char* others[3];
        double RPAxisSpec::*member;
    };
    const Field fields[] = {
        {"high", 105, {nullptr, "-100", "1"}, &RPAxisSpec::high},
        {"low", 106, {"1e301", nullptr, "1"}, &RPAxisSpec::low},
        {"increment", 107, {"10", "0", nullptr}, &RPAxisSpec::increment},
    };
    enum Outcome { taken, refused, outOfRange };
    const std::vector<std::string> texts = {"", "-5", "0", "8.9", "1e999", "inf", "nan", nines, "abc"};
    for (const Field& d : fields) {
        SCOPED_TRACE(d.name);
        for (const std::string& typed : texts) {
            SCOPED_TRACE("\"" + typed.substr(0, 10) + "\"");
            Outcome expected = taken;
            if (typed == "1e999" || typed == "inf" || typed == "nan" || typed == "abc") expected = refused;
            else if (typed.empty() || (d.edit == 107 && (typed == "-5" || typed == "0"))) expected = outOfRange;
            const double before = graph->GetAxisX().*d.member;
            const std::size_t shown = f.hook.MessageTexts().size();
            std::string held, heldAfter;
            bool stayed = false;
            f.hook.AnswerDialog(idQRAxisDlg, 0, [&](TDialog& dlg) {
                EXPECT_TRUE(ClickReaches(*dlg.GetDlgItem(104))) << "Fixed";
                for (int k = 0; k < 3; ++k) {
                    if (!d.others[k]) continue;
                    EXPECT_TRUE(TypeIntoField(*dlg.GetDlgItem(105 + k), d.others[k]));
                }
                ASSERT_TRUE(TypeIntoField(*dlg.GetDlgItem(d.edit), typed));
                held = dlg.GetDlgItemText(d.edit);
                if (expected == refused) f.hook.AnswerMessageBox(IDOK);
                EXPECT_TRUE(ClickReaches(*dlg.GetDlgItem(IDOK)));
                stayed = !dlg.HasEnded();
                heldAfter = dlg.GetDlgItemText(d.edit);
                if (stayed) {
                    EXPECT_TRUE(ClickReaches(*dlg.GetDlgItem(IDCANCEL)));
                }
            });
            f.Edit(acAxisX);
            f.Command(idAttrMore);
            f.Command(cmAttrNext);
            EXPECT_EQ(held, typed);
            const double now = graph->GetAxisX().*d.member;
            if (expected == taken) {
                EXPECT_FALSE(stayed);
                EXPECT_EQ(f.hook.MessageTexts().size(), shown);
                EXPECT_EQ(now, std::strtod(typed.substr(0, 63).c_str(), nullptr)) << "read from its first 63 characters";
            } else {
                EXPECT_TRUE(stayed);
                EXPECT_EQ(heldAfter, held) << "the field keeps what was typed for the user to mend";
                EXPECT_EQ(now, before) << "the axis keeps its value";
                if (expected == refused) {
                    ASSERT_EQ(f.hook.MessageTexts().size(), shown + 1);
                    EXPECT_EQ(f.hook.MessageTexts().back(), "\"" + typed + "\" is not a number.");
                } else {
                    EXPECT_EQ(f.hook.MessageTexts().size(), shown) << "the range check beeps";
                }
            }
        }
    }
    EXPECT_EQ(f.hook.UnansweredBoxes(), 0);
}

TEST(AttrEditor, ChoiceRowsPickByLetterAndList)
{
    AttrFixture f;
    RPObject* t = f.Add(2, otTextBox, 0, 0, 1440, 360);
    t->SetBorderWidth(3);
    f.view->SelectObject(t);
    f.dlg().Reload(1);
    EXPECT_EQ(f.Row(acBorderWidth).valueText, "3 pt");

    f.Edit(acBorderWidth);
    for (int k = 0; k < 4; ++k) {
        QRAttrGlobals::gAttrEdit->lastChar = ' ';
        f.Command(cmAttrEditChar);
    }
    EXPECT_EQ(QRAttrGlobals::gAttrEdit->GetWindowText(), "Hairline") << "a blank steps and wraps";
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetBorderWidth(), 0);

    f.Edit(acTextAlignH);
    QRAttrGlobals::gAttrEdit->lastChar = 'r';
    f.Command(cmAttrEditChar);
    EXPECT_EQ(QRAttrGlobals::gAttrEdit->GetWindowText(), "Right");
    EXPECT_EQ(SelectChoiceByChar('r'), 2) << "the only match is the current one";
    f.Command(cmAttrEsc);
    EXPECT_EQ(t->GetTextAlignH(), 0) << "cancelled";

    f.Edit(acTextAlignH);
    QRAttrGlobals::gAttrList->lastChar = 'c';
    f.Command(cmAttrListChar);
    EXPECT_EQ(t->GetTextAlignH(), 1) << "a letter in the open list applies at once";

    f.Edit(acSource);
    QRAttrGlobals::gAttrEdit->lastChar = 'c';
    f.Command(cmAttrEditChar);
    EXPECT_EQ(QRAttrGlobals::gAttrEdit->GetWindowText(), "Cell:A1");
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetSource().kind, srCell);
}

TEST(AttrEditor, DialogRowsCopyBackOnOkOnly)
{
    AttrFixture f;
    RPObject* t = f.Add(2, otTextBox, 0, 0, 1440, 360);
    f.view->SelectObject(t);
    f.dlg().Reload(1);

    const int kindBefore = t->GetFormat().kind;
    f.Edit(acFormat);
    f.hook.AnswerDialog(idQRFmtDlg, IDCANCEL, [](TDialog& d) { d.SendCommand(103, BN_CLICKED, d.GetDlgItem(103)); });
    f.Command(idAttrMore);
    f.Command(cmAttrNext);
    EXPECT_EQ(t->GetFormat().kind, kindBefore) << "Cancel changes nothing";

    f.Edit(acFormat);
    f.hook.AnswerDialog(idQRFmtDlg, IDOK, [](TDialog& d) {
        for (int id = 101; id <= 103; ++id)
            if (auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id))) b->SetCheck(id == 103 ? 1 : 0);
        d.SetDlgItemText(105, "2");
        d.SetDlgItemText(106, "4");
    });
    f.Command(idAttrMore);
    EXPECT_EQ(t->GetFormat().kind, 2);
    EXPECT_EQ(f.Row(acFormat).valueText, "Fixed 2 (4)");

    f.Edit(acContents);
    f.hook.AnswerDialog(idQREdZDlg, IDOK, [](TDialog& d) { d.SetDlgItemText(101, "=A\r\nB"); });
    f.Command(idAttrDrop);
    EXPECT_EQ(t->GetContents(), "=A  B") << "line breaks become blanks";
}

}  // namespace
}  // namespace vyn::test
