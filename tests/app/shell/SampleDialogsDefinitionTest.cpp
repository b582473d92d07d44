// The sample definition dialog and "Sample Names" over the demo plate, through the document's
// commands and the shell's dialogs: the global/local switch, evaluations and dilutions read
// back, no change reported when nothing changed, a view without editing, and the names list.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <cstdlib>
#include <functional>

#include "ShellTestFixture.h"
#include "app/AppPaths.h"
#include "app/QDescLst.h"
#include "app/QDlgDesc.h"
#include "app/QSmpDlg.h"
#include "app/RwMainWindow.h"
#include "app/ShellDocDialogs.h"
#include "controls/QGEdit.h"
#include "app/vynwApp.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "controls/QVarList.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace {

struct DemoPlate : ShellFixture {
    QDoc* doc = nullptr;
    int qual = -1, quant = -1;
    DemoPlate()
    {
        doc = dynamic_cast<QDoc*>(app->OpenPlate(env.data + "/Demo.plt"));
        if (!doc) return;
        QPlate& p = doc->GetPlate();
        // The demo plate measures quantitative samples only; one qualitative sample is added.
        p.InsertSample(std::make_unique<QQSample>(&p), p.sampleCount, false);
        for (int i = 0; i < p.sampleCount; ++i) {
            QSample* s = p.GetSample(i);
            if (quant < 0 && dynamic_cast<QNSample*>(s)) quant = i;
            else if (qual < 0 && dynamic_cast<QQSample*>(s) && !dynamic_cast<QNSample*>(s)) qual = i;
        }
    }
    QQSample* Sample(int i) const { return dynamic_cast<QQSample*>(doc->GetPlate().GetSample(i)); }
};

QVarList& List(TDialog& d, int id) { return *dynamic_cast<QVarList*>(d.GetDlgItem(id)); }
QGEdit& GEdit(TDialog& d, int id) { return *dynamic_cast<QGEdit*>(d.GetDlgItem(id)); }
QSmpDlg& Smp(TDialog& d) { return static_cast<QSmpDlg&>(d); }

// Types an expression into the evaluation list's new-entry row, as the user does.
void AppendEvaluation(TDialog& d, char first)
{
    QVarList& list = List(d, 601);
    list.SelectLast();
    list.ReselectCurrent();
    GEdit(d, 602).OpenWithChar(static_cast<unsigned>(first));
    GEdit(d, 602).Commit();
}

}  // namespace

TEST(SampleDefinitionDialog, LocalDefinitionWithNewEvaluationAndDilutionIsApplied)
{
    TTestHook hook;
    DemoPlate s;
    ASSERT_NE(s.doc, nullptr);
    ASSERT_GE(s.quant, 0);
    QQSample* sample = s.Sample(s.quant);
    const std::size_t evaluations = sample->QualDefinition().size();
    const std::vector<double> before = dynamic_cast<QNSample*>(sample)->QuantDefinition();
    ASSERT_FALSE(before.empty());
    hook.AnswerDialog(QSmpDlg::kQuantitativeId, IDOK, [&](TDialog& d) {
        EXPECT_EQ(d.GetContextHelpId(), 3211);
        EXPECT_NE(d.GetDlgItemText(100).find(':'), std::string::npos);
        if (Smp(d).UseLocal == 0) { EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103))); }
        EXPECT_EQ(Smp(d).UseLocal, 1);
        EXPECT_TRUE(d.GetDlgItem(602)->IsWindowVisible() || !d.IsWindowVisible());
        AppendEvaluation(d, '7');
        // "/" on the dilution list doubles the last dilution.
        TTestHook::Type("/", &List(d, 603));
    });
    ShellDocDialogs ui(s.app->GetMainWindow());
    EXPECT_TRUE(s.doc->EditSampleDefinition(ui, s.quant, 1));
    EXPECT_TRUE(s.doc->IsDirty());
    EXPECT_EQ(sample->UsesGlobalDefinition(), 0);
    ASSERT_EQ(sample->QualDefinition().size(), evaluations + 1);
    EXPECT_EQ(sample->QualDefinition().back().text, "7");
    EXPECT_EQ(sample->QualDefinition().back().name.rfind("res", 0), 0u) << sample->QualDefinition().back().name;
    const std::vector<double>& after = dynamic_cast<QNSample*>(sample)->QuantDefinition();
    ASSERT_EQ(after.size(), before.size() + 1);
    EXPECT_EQ(after.back(), 2 * before.back());
}

TEST(SampleDefinitionDialog, NothingToApplyEndsAsCancelled)
{
    TTestHook hook;
    DemoPlate s;
    ASSERT_NE(s.doc, nullptr);
    ASSERT_GE(s.qual, 0);
    ShellDocDialogs ui(s.app->GetMainWindow());
    // Make the sample's definition local first, with an added entry.
    hook.AnswerDialog(QSmpDlg::kQualitativeId, IDOK, [](TDialog& d) {
        EXPECT_EQ(d.GetDlgItem(603), nullptr) << "a qualitative sample has no dilutions";
        if (Smp(d).UseLocal == 0) { EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103))); }
        AppendEvaluation(d, '1');
    });
    ASSERT_TRUE(s.doc->EditSampleDefinition(ui, s.qual, 1));
    const TwostrArray local = s.Sample(s.qual)->QualDefinition();

    struct Case {
        const char* name;
        int editable;
        std::function<void(TDialog&)> drive;
    };
    const Case cases[] = {
        {"the same local lists", 1, [](TDialog&) {}},
        {"an entry of blanks only is dropped", 1, [](TDialog& d) { AppendEvaluation(d, ' '); }},
        {"without editing OK is Cancel", 0,
         [](TDialog& d) {
             EXPECT_FALSE(d.GetDlgItem(102)->IsWindowEnabled());
             EXPECT_FALSE(d.GetDlgItem(103)->IsWindowEnabled());
             EXPECT_NE(d.GetDlgItem(102)->IsWindowVisible(), d.GetDlgItem(103)->IsWindowVisible())
                 << "only the choice in effect stays visible";
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        hook.AnswerDialog(QSmpDlg::kQualitativeId, IDOK, [&](TDialog& d) {
            d.ShowWindow(SW_SHOW);
            TTestHook::ProcessEvents();
            c.drive(d);
        });
        EXPECT_FALSE(s.doc->EditSampleDefinition(ui, s.qual, c.editable));
        EXPECT_EQ(s.Sample(s.qual)->QualDefinition(), local);
    }
}

TEST(SampleDefinitionDialog, SwitchingToGlobalShowsThePlatesDefinitionAndAppliesIt)
{
    TTestHook hook;
    DemoPlate s;
    ASSERT_NE(s.doc, nullptr);
    ASSERT_GE(s.quant, 0);
    ShellDocDialogs ui(s.app->GetMainWindow());
    hook.AnswerDialog(QSmpDlg::kQuantitativeId, IDOK, [](TDialog& d) {
        if (Smp(d).UseLocal == 0) { EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103))); }
        AppendEvaluation(d, '5');
    });
    ASSERT_TRUE(s.doc->EditSampleDefinition(ui, s.quant, 1));
    ASSERT_EQ(s.Sample(s.quant)->UsesGlobalDefinition(), 0);

    const QPlate& p = s.doc->GetPlate();
    hook.AnswerDialog(QSmpDlg::kQuantitativeId, IDOK, [&](TDialog& d) {
        EXPECT_EQ(Smp(d).UseLocal, 1);
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(102)));
        EXPECT_EQ(Smp(d).UseLocal, 0);
        EXPECT_EQ(Smp(d).Dilutions, p.globalQuantDef);
        EXPECT_EQ(Smp(d).Evaluations.size(), p.globalQualDef.size());
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103)));
        EXPECT_EQ(Smp(d).Dilutions, p.globalQuantDef) << "back to local keeps what is shown";
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(102)));
    });
    EXPECT_TRUE(s.doc->EditSampleDefinition(ui, s.quant, 1));
    EXPECT_EQ(s.Sample(s.quant)->UsesGlobalDefinition(), 1);
}

TEST(SampleNamesThroughTheDocument, RenameMarksTheDocumentChangedAndUnchangedDoesNot)
{
    TTestHook hook;
    DemoPlate s;
    ASSERT_NE(s.doc, nullptr);
    ShellDocDialogs ui(s.app->GetMainWindow());
    hook.AnswerDialog(QDlgDesc::kResId, IDOK, [](TDialog&) {});
    EXPECT_FALSE(s.doc->EditSampleNames(ui, 0));
    EXPECT_FALSE(s.doc->IsDirty());

    QDesc* used = nullptr;
    for (const auto& d : s.doc->GetPlate().descs)
        if (d->kind & QDlgDesc::kInUse) used = d.get();
    hook.AnswerDialog(QDlgDesc::kResId, IDOK, [](TDialog& d) {
        auto& dlg = static_cast<QDlgDesc&>(d);
        // A new control name on the first page.
        auto* list = dlg.PageList(0);
        list->UserSelect(list->GetCount() - 1);
        dynamic_cast<TEdit*>(d.GetDlgItem(701))->SetWindowText("NewCtl");
    });
    EXPECT_TRUE(s.doc->EditSampleNames(ui, 0));
    EXPECT_TRUE(s.doc->IsDirty());
    bool found = false;
    for (const auto& d : s.doc->GetPlate().descs) {
        found = found || d->name == "NewCtl";
        if (used && d.get() == used) used = nullptr;
    }
    EXPECT_TRUE(found);
    EXPECT_EQ(used, nullptr) << "the used descriptor is still the plate's object";
}

namespace {

// How many pixels of the picture are near the colour.
int PixelsNear(const QImage& image, QColor colour)
{
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c(image.pixel(x, y));
            n += std::abs(c.red() - colour.red()) < 40 && std::abs(c.green() - colour.green()) < 40 &&
                 std::abs(c.blue() - colour.blue()) < 40;
        }
    return n;
}

}  // namespace

TEST(SampleDefinitionDialog, TheNumberShowsTheKindsColourAndTheEditItsFocus)
{
    TTestHook hook;
    DemoPlate s;
    ASSERT_NE(s.doc, nullptr);
    ShellDocDialogs ui(s.app->GetMainWindow());
    struct Row {
        const char* name;
        int sample;
        int resId;
        QColor text;
    };
    const Row rows[] = {
        {"quantitative: red", s.quant, QSmpDlg::kQuantitativeId, QColor(255, 0, 0)},
        {"qualitative: blue", s.qual, QSmpDlg::kQualitativeId, QColor(0, 0, 255)},
    };
    const QColor grey(192, 192, 192), white(255, 255, 255);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_GE(row.sample, 0);
        hook.AnswerDialog(row.resId, IDCANCEL, [&](TDialog& d) {
            d.ShowWindow(SW_SHOW);
            if (Smp(d).UseLocal == 0) ClickReaches(*d.GetDlgItem(103));
            TTestHook::ProcessEvents();
            const QImage label = GrabPicture(*d.GetDlgItem(100));
            ASSERT_FALSE(label.isNull());
            EXPECT_GT(PixelsNear(label, row.text), 5) << "the number's text in the kind's colour";
            EXPECT_GT(PixelsNear(label, grey), label.width() * label.height() / 2) << "on light grey";

            TWindow& edit = *d.GetDlgItem(602);
            ASSERT_TRUE(edit.IsWindowVisible());
            const QImage idle = GrabPicture(edit);
            EXPECT_GT(PixelsNear(idle, grey), idle.width() * idle.height() / 2) << "grey while not typed in";
            ASSERT_TRUE(ClickReaches(edit));
            TTestHook::ProcessEvents();
            const QImage typing = GrabPicture(edit);
            EXPECT_GT(PixelsNear(typing, white), typing.width() * typing.height() / 2) << "white while typed in";
            ClickReaches(*d.GetDlgItem(IDCANCEL));  // ends the entry; the second Cancel the dialog
        });
        s.doc->EditSampleDefinition(ui, row.sample, 1);
    }
    EXPECT_EQ(hook.UnansweredDialogs(), 0);
}
