// The expression wizard: which categories a context offers, the items built from the plate
// and the method, insertion into the caller's edit, and the operator palette.
#include <gtest/gtest.h>

#include "controls/QGEdit.h"
#include "method_editors/CtxWzDlg.h"
#include "method_editors/OperatorPalette.h"
#include "plate/QDesc.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

namespace {

std::vector<std::string> Names(const std::vector<std::unique_ptr<QCtxCategory>>& cats)
{
    std::vector<std::string> names;
    for (const auto& c : cats) names.push_back(c->Name());
    return names;
}

const QCtxCategory* Find(const std::vector<std::unique_ptr<QCtxCategory>>& cats, const std::string& name)
{
    for (const auto& c : cats)
        if (c->Name() == name) return c.get();
    return nullptr;
}

std::vector<std::string> Inserts(const QCtxCategory& c)
{
    std::vector<std::string> v;
    for (int i = 0; i < c.ItemCount(); ++i) v.push_back(c.ItemInsert(i));
    return v;
}

// A plate whose controls are QC1 (twice, in two groups), qc1 and C2, and one qualitative
// sample with the groups S and s.
struct LayoutPlate {
    QPlate plate;
    std::vector<std::unique_ptr<QDesc>> descs;

    QDesc* Desc(const std::string& name, const std::string& info)
    {
        descs.push_back(std::make_unique<QDesc>(1, name, TColor(), info));
        return descs.back().get();
    }

    LayoutPlate()
    {
        QDesc* qc1 = Desc("QC1", "low control");
        QDesc* qc1b = Desc("qc1", "same name");
        QDesc* c2 = Desc("C2", "high control");
        plate.globSample.wells = {{0, 0, qc1}, {1, 1, c2}, {2, 2, qc1b}};
        plate.globInUse = &plate.globSample;
        auto s = std::make_unique<QQSample>(&plate);
        QDesc* sd = Desc("S", "sample");
        s->wells = {{0, 10, sd}, {1, 11, Desc("s", "again")}};
        plate.samples.push_back(std::move(s));
        plate.calculations.definitions = {{"plateCalc", "1"}};
        plate.globalQualDef = {{"plateEval", "2"}};
    }
};

}  // namespace

TEST(ExpressionWizardCategories, ContextsOfferTheirCategories)
{
    struct Row {
        int context;
        std::vector<std::string> names;
    } rows[] = {
        {0, {"Controls", "General", "Operators", "Mathematics", "Statistics", "Categories"}},
        {1, {"Controls", "General", "Operators", "Mathematics", "Statistics", "Categories"}},
        {2, {"Controls", "General", "Calibration", "Calculations", "Operators", "Mathematics", "Statistics", "Categories"}},
        {4, {"Controls", "General", "Calibration", "Calculations", "Samples", "Evaluations", "Operators", "Mathematics",
             "Statistics", "Categories"}},
        {7, {"Report", "Plate Cell", "Measurement", "Controls", "General", "Calibration", "Calculations", "Samples",
             "Evaluations", "Operators", "Mathematics", "Statistics", "Categories"}},
    };
    for (const Row& r : rows) {
        CtxContext c;
        c.context = r.context;
        EXPECT_EQ(Names(MakeContextCategories(c)), r.names) << "context " << r.context;
    }
    CtxContext c;
    c.context = 2;
    auto cats = MakeContextCategories(c);
    EXPECT_EQ(Find(cats, "Calibration")->ItemCount(), 8);
    EXPECT_EQ(Find(cats, "Operators")->ItemCount(), 18);
    EXPECT_EQ(Inserts(*Find(cats, "Categories")), (std::vector<std::string>{"category(", "ctle(", "ctlt("}));
    c.context = 7;
    cats = MakeContextCategories(c);
    EXPECT_EQ(Inserts(*Find(cats, "Calibration")).back(), "modelerror");
    EXPECT_EQ(Find(cats, "Calibration")->ItemCount(), 11);
    // Every fixed item has a line and a help text.
    for (const auto& cat : cats)
        for (int i = 0; i < cat->ItemCount(); ++i) {
            EXPECT_FALSE(cat->ItemLine(i).empty()) << cat->Name() << " " << i;
            EXPECT_FALSE(cat->ItemHelp(i).empty()) << cat->Name() << " " << i;
        }
}

TEST(ExpressionWizardCategories, PlateListsAndMethodLists)
{
    CtxContext none;
    none.context = 4;
    auto cats = MakeContextCategories(none);
    EXPECT_EQ(Find(cats, "Controls")->Description().rfind("There is no plate associated.", 0), 0u);
    EXPECT_EQ(Find(cats, "Samples")->Description().rfind("There is no plate associated.", 0), 0u);
    EXPECT_EQ(Inserts(*Find(cats, "Evaluations")), (std::vector<std::string>{"od", "avg(od)", "res()", "conc", "cstat()"}))
        << "without a plate the evaluations count as calibrated";

    LayoutPlate lp;
    TwostrArray working;  // empty working list of calculations: the plate's own are not offered
    TwostrArray evals{{"ValCmp", "avg(od)"}};
    CtxContext c;
    c.context = 4;
    c.plate = &lp.plate;
    c.calculations = &working;
    c.evaluations = &evals;
    cats = MakeContextCategories(c);
    const QCtxCategory& controls = *Find(cats, "Controls");
    EXPECT_EQ(Inserts(controls), (std::vector<std::string>{"QC1", "C2", "avg(QC1)"}))
        << "QC1 and qc1 are one name, met twice: a vector and its average";
    EXPECT_EQ(controls.ItemLine(0), "QC1\t... low control");
    EXPECT_EQ(controls.ItemLine(2), "avg(QC1)");
    EXPECT_NE(controls.ItemHelp(0).find("See: avg(QC1)"), std::string::npos);
    EXPECT_EQ(Inserts(*Find(cats, "Samples")), (std::vector<std::string>{"S", "avg(S)"}));
    const QCtxCategory& calcs = *Find(cats, "Calculations");
    EXPECT_EQ(calcs.ItemCount(), 0);
    EXPECT_EQ(calcs.Description(), "The method defines no calculations yet.");
    const QCtxCategory& ev = *Find(cats, "Evaluations");
    EXPECT_EQ(Inserts(ev), (std::vector<std::string>{"od", "avg(od)", "res()", "ValCmp"})) << "no standards: 3 fixed items";
    EXPECT_EQ(ev.ItemHelp(3), "User variable defined as:\r\n\r\n   avg(od)");

    c.calculations = nullptr;
    c.evaluations = nullptr;
    cats = MakeContextCategories(c);
    EXPECT_EQ(Inserts(*Find(cats, "Calculations")), (std::vector<std::string>{"plateCalc"}));
    EXPECT_EQ(Inserts(*Find(cats, "Evaluations")).back(), "plateEval");
}

TEST(ExpressionWizard, InsertsIntoTheCallersEdit)
{
    TTestHook hook;
    TDialog host(nullptr, *FindDialogTemplate(CtxWzDlg::kResId));
    auto* edit = new TEdit(&host, 107);
    host.Create();
    CtxWzDlg::ForgetPosition();

    struct Row {
        const char* name;
        const char* before;
        int selStart, selEnd;
        bool startWithEq;
        const char* insert;
        const char* after;
    } rows[] = {
        {"empty edit from the method editors", "", 0, 0, false, "avg(", "avg("},
        {"empty edit from the report designer", "", 0, 0, true, "page", "=page"},
        {"blanks only count as empty", "   ", 0, 0, true, "now", "=now"},
        {"a blank separates the new text, at the caret", "a+b", 1, 1, false, "od", "a od+b"},
        {"the selection is replaced", "abc", 1, 2, false, "x", "a xc"},
    };
    for (const Row& r : rows) {
        edit->SetWindowText(r.before);
        edit->SetSelection(r.selStart, r.selEnd);
        edit->ClearModify();
        hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&](TDialog& d) {
            d.SetDlgItemText(107, r.insert);
            d.SendCommand(IDOK);
            EXPECT_EQ(d.GetDlgItemText(107), "") << r.name;
        });
        RunExpressionWizard(*edit, 2, nullptr, nullptr, nullptr, nullptr, r.startWithEq);
        EXPECT_EQ(edit->GetWindowText(), r.after) << r.name;
        EXPECT_TRUE(edit->IsModified()) << r.name;
    }

    // Long insert texts are cut to 127 characters; the palette inserts its character.
    edit->SetWindowText("");
    hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&](TDialog& d) {
        d.SetDlgItemText(107, std::string(200, 'z'));
        d.SendCommand(IDOK);
        d.SendCommand(106, QOperWin::kCharCode | '*', dynamic_cast<CtxWzDlg&>(d).Palette().GetParent());
    });
    RunExpressionWizard(*edit, 0, nullptr, nullptr, nullptr, nullptr, false);
    EXPECT_EQ(edit->GetWindowText(), std::string(127, 'z') + " *");
}

TEST(ExpressionWizard, SelectingShowsDescriptionThenItem)
{
    TTestHook hook;
    TDialog host(nullptr, *FindDialogTemplate(CtxWzDlg::kResId));
    auto* edit = new TEdit(&host, 107);
    host.Create();
    hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&](TDialog& d) {
        auto* cats = dynamic_cast<TListBox*>(d.GetDlgItem(101));
        auto* items = dynamic_cast<TListBox*>(d.GetDlgItem(102));
        ASSERT_TRUE(cats && items);
        EXPECT_EQ(cats->GetCount(), 6);
        EXPECT_FALSE(d.GetDlgItem(IDOK)->IsWindowEnabled());
        cats->UserSelect(cats->FindStringExact("Mathematics"));
        EXPECT_EQ(items->GetCount(), 11);
        EXPECT_EQ(items->GetSelIndex(), -1);
        EXPECT_EQ(d.GetDlgItemText(105), "Mathematical functions.");
        EXPECT_FALSE(d.GetDlgItem(IDOK)->IsWindowEnabled());
        items->UserSelect(6);
        EXPECT_EQ(d.GetDlgItemText(107), "sqrt(");
        EXPECT_TRUE(d.GetDlgItem(IDOK)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(104)->IsWindowEnabled()) << "More is never enabled";
        cats->UserSelect(cats->FindStringExact("General"));
        EXPECT_EQ(items->GetSelIndex(), -1);
        EXPECT_EQ(d.GetDlgItemText(107), "");
        d.SendCommand(IDOK);
    });
    RunExpressionWizard(*edit, 0, nullptr, nullptr, nullptr, nullptr, false);
    EXPECT_EQ(edit->GetWindowText(), "") << "nothing to insert";
}

namespace {

struct PaletteHost : TDialog {
    PaletteHost() : TDialog(nullptr, *FindDialogTemplate(CtxWzDlg::kResId)) {}
    std::vector<unsigned> codes;
    TResult EvCommand(unsigned id, TWindow* control, unsigned code) override
    {
        if (id == 106) codes.push_back(code);
        return TDialog::EvCommand(id, control, code);
    }
};

}  // namespace

TEST(OperatorPalette, PressAndReleaseSendTheCharacterUnderTheRelease)
{
    TTestHook hook;
    {
        PaletteHost host;
        auto* pal = new QOperWin(&host, 106, std::string(40, '+'));
        EXPECT_EQ(pal->Count(), 31) << "cut to 31 cells";
    }
    PaletteHost host;
    auto* ops = new QOperWin(&host, 106, "*/+-(),?:|&=<>![]{}");
    host.Create();
    ops->ShowWindow(SW_SHOW);
    ops->MoveWindow(0, 0, 191, 20);
    TTestHook::ProcessEvents();
    // Cells are (width - 1) * i / count wide: 10 pixels each here.
    struct Cell {
        TPoint p;
        int cell;
    } cells[] = {{{0, 5}, 0}, {{25, 5}, 2}, {{189, 19}, 18}, {{190, 5}, -1}, {{5, 20}, -1}, {{-1, 5}, -1}};
    for (const Cell& c : cells) EXPECT_EQ(ops->CellAt(c.p), c.cell) << c.p.x << "," << c.p.y;

    struct Row {
        const char* name;
        TPoint down, up;
        std::vector<unsigned> codes;
    } rows[] = {
        {"press and release on one cell", {5, 5}, {6, 6}, {QOperWin::kCharCode | '*'}},
        {"released on another cell: its character", {5, 5}, {35, 5}, {QOperWin::kCharCode | '-'}},
        {"released outside: nothing", {5, 5}, {300, 5}, {}},
        {"released below: nothing", {5, 5}, {5, 40}, {}},
    };
    for (const Row& r : rows) {
        host.codes.clear();
        ops->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(r.down.x, r.down.y));
        EXPECT_TRUE(ops->IsPressed()) << r.name;
        EXPECT_EQ(ops->HotCell(), ops->CellAt(r.down)) << r.name;
        ops->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(r.up.x, r.up.y));
        EXPECT_FALSE(ops->IsPressed()) << r.name;
        EXPECT_EQ(ops->HotCell(), -1) << r.name;
        EXPECT_EQ(host.codes, r.codes) << r.name;
    }
    // Hover follows the mouse and goes when it leaves.
    ops->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(45, 5));
    EXPECT_EQ(ops->HotCell(), 4);
    ops->TrackMouse(false, TPoint());
    EXPECT_EQ(ops->HotCell(), -1);
}
