// The method wizard driven offscreen from its first page to Finish: answers become exactly the
// reserved definitions, pages refuse what the user did not confirm, Cancel changes nothing;
// the number-format and colour dialogs.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include "MethodEditorsTestUtil.h"
#include "document/DocDialogs.h"
#include "evaluator/NoValue.h"
#include "method_editors/ColorDlg.h"
#include "method_editors/MethodWizardDialogs.h"
#include "method_editors/NumFormatDlg.h"
#include "controls/QVarList.h"
#include "controls/QVarNameDlg.h"
#include "method_editors/QWizzAll.h"
#include "plate/QPlate.h"
#include "platform/gui/ChooseColorDialog.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/FilterTable.h"

using namespace vyn;
using vyn::test::Dump;
using vyn::test::Press;

namespace {

using Sheet = TPropertySheet;

bool Enabled(Sheet& s, int id) { return s.GetDlgItem(id)->IsWindowEnabled(); }
bool Visible(Sheet& s, int id) { return s.GetDlgItem(id)->IsWindowVisible(); }

void Check(TPropertyPage& page, int id, bool on)
{
    auto& b = dynamic_cast<TCheckBox&>(*page.GetDlgItem(id));
    if ((b.GetCheck() == TCheckBox::BF_CHECKED) != on) {
        EXPECT_TRUE(ClickReaches(b));
    }
}

// What a user answers on the pages after the curve fit.
struct Answers {
    const char* name;
    std::string valueToCompare;
    std::vector<std::string> thresholds;  // 300..304
    std::vector<std::string> categories;  // 200..206
    std::vector<std::string> matrix;      // empty: "&Matrix" off
    std::vector<int> colourSwatches;      // per row, the swatch of the Colors dialog (0: none picked)
    std::vector<int> include;             // 102..105 checked
    std::vector<std::string> separators;  // 130..133
    const char* calculations;
    const char* evaluations;
};

void Answer(Sheet& sheet, TTestHook& hook, const Answers& a)
{
    ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage) << a.name;
    TPropertyPage& cat = *sheet.GetActivePage();
    cat.SetDlgItemText(102, a.valueToCompare);
    for (std::size_t k = 0; k < a.thresholds.size(); ++k) cat.SetDlgItemText(300 + static_cast<int>(k), a.thresholds[k]);
    for (std::size_t k = 0; k < a.categories.size(); ++k) cat.SetDlgItemText(200 + static_cast<int>(k), a.categories[k]);
    Press(sheet, Sheet::ID_PSNEXT);

    if (sheet.GetActiveIndex() == QWizzAll::kPresentationPage) {
        TPropertyPage& pres = *sheet.GetActivePage();
        Check(pres, 110, !a.matrix.empty());
        for (std::size_t k = 0; k < a.matrix.size(); ++k) pres.SetDlgItemText(400 + static_cast<int>(k), a.matrix[k]);
        Check(pres, 112, !a.colourSwatches.empty());
        for (std::size_t k = 0; k < a.colourSwatches.size(); ++k) {
            if (!a.colourSwatches[k]) continue;
            const int swatch = a.colourSwatches[k];
            hook.AnswerDialog(MyColorDlg::kResId, 0, [swatch](TDialog& d) {
                dynamic_cast<TColorSwatch&>(*d.GetDlgItem(swatch)).Click();
            });
            dynamic_cast<TColorSwatch&>(*pres.GetDlgItem(600 + static_cast<int>(k))).Click();
        }
        Press(sheet, Sheet::ID_PSNEXT);
    }
    ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCompositionPage) << a.name;
    TPropertyPage& comp = *sheet.GetActivePage();
    for (int id : a.include) Check(comp, id, true);
    for (std::size_t i = 0; i < a.separators.size(); ++i) comp.SetDlgItemText(130 + static_cast<int>(i), a.separators[i]);
    Press(sheet, Sheet::ID_PSNEXT);
    ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kValidationPage) << a.name;
    Press(sheet, Sheet::ID_PSNEXT);
    ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kMeasurementPage) << a.name;
    EXPECT_TRUE(Visible(sheet, Sheet::ID_PSFINISH) && !Visible(sheet, Sheet::ID_PSNEXT)) << a.name;
    Press(sheet, Sheet::ID_PSFINISH);
}

MethodWizardData NewPlateData()
{
    MethodWizardData d;
    d.calculations = {{"c0", "1"}};
    d.evaluations = {{"e0", "2"}};
    d.measFilter = 450;
    return d;
}

}  // namespace

TEST(MethodWizard, AnswersOnANewPlateBecomeTheDefinitions)
{
    const Answers rows[] = {
        {"two cut-offs with names, matrix names and colours; absorbance in the long result",
         "avg(od)",
         {"0.3", "0.6"},
         {"neg", "grey", "pos", "x", "", "", "?"},
         {"-", "", "+", "", "", "", ""},
         {101, 0, 106, 0, 0, 0, 118},  // red, none, green, ..., "no colour" for missing values
         {104},
         {"OD ", ""},
         "c0=1\nThr1=0.3\nThr2=0.6\n",
         "e0=2\nValCmp=avg(od)\n_OdFmt=str(avg(od),0,\"F\",5,3)\n"
         "color=category(\"RGB(255,0,0)\",Thr1,\"noc\",Thr2,\"RGB(0,255,0)\",ValCmp,\"noc\")\n"
         "ShortResult=category(\"-\",Thr1,\" \",Thr2,\"+\",ValCmp,\" \")\n"
         "CategResult=category(\"neg\",Thr1,\"grey\",Thr2,\"pos\",ValCmp,\"?\")\n"
         "LongResult=CategResult+\"OD \"+_OdFmt+\" \"\n"},
        {"one cut-off, no presentation, category alone",
         "avg(od)*2",
         {"1"},
         {"low", "high", "", "", "", "", "none"},
         {},
         {},
         {},
         {},
         "c0=1\nThr1=1\n",
         "e0=2\nValCmp=avg(od)*2\nCategResult=category(\"low\",Thr1,\"high\",ValCmp,\"none\")\n"},
        {"no cut-offs: the presentation page is skipped; the value to compare with its format",
         "od[1]",
         {},
         {},
         {},
         {},
         {103},
         {"v=", ";"},
         "c0=1\n",
         "e0=2\nValCmp=od[1]\n_CompFmt=str(ValCmp,4,\"G\",0,2)\nLongResult=\"v=\"+_CompFmt+\";\"\n"},
    };
    for (const Answers& a : rows) {
        TTestHook hook;
        QPlate plate;
        MethodWizardData data = NewPlateData();
        hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
            auto& sheet = dynamic_cast<Sheet&>(d);
            TTestHook::ProcessEvents();
            EXPECT_FALSE(Enabled(sheet, Sheet::ID_PSBACK)) << "a new plate starts on the categories page";
            Answer(sheet, hook, a);
        });
        ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 1) << a.name;
        TTestHook::ProcessEvents();  // the closed wizard's windows go before the next one comes
        EXPECT_EQ(Dump(data.calculations), a.calculations) << a.name;
        EXPECT_EQ(Dump(data.evaluations), a.evaluations) << a.name;
        EXPECT_TRUE(hook.Messages().empty()) << a.name << ": " << hook.Messages().front().text;
        EXPECT_EQ(data.measFilter, 450);

        // Run again: the wizard reads its own definitions back and writes the same.
        MethodWizardData again = data;
        hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
            auto& sheet = dynamic_cast<Sheet&>(d);
            TTestHook::ProcessEvents();
            while (sheet.GetActiveIndex() != QWizzAll::kMeasurementPage) Press(sheet, Sheet::ID_PSNEXT);
            Press(sheet, Sheet::ID_PSFINISH);
        });
        ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, again), 1) << a.name;
        EXPECT_EQ(Dump(again.calculations), a.calculations) << a.name << " (second run)";
        EXPECT_EQ(Dump(again.evaluations), a.evaluations) << a.name << " (second run)";
    }
}

TEST(MethodWizard, PagesAskBeforeLeavingWithDoubtfulAnswers)
{
    TTestHook hook;
    QPlate plate;
    MethodWizardData data = NewPlateData();
    data.validations = {{"cond1", "1"}, {"cond2", "   "}, {"cond3", "x>0"}, {"cond4", "  "}};
    hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        TPropertyPage& cat = *sheet.GetActivePage();
        cat.SetDlgItemText(300, "1");
        cat.SetDlgItemText(302, "3");  // threshold 2 left empty
        cat.SetDlgItemText(102, "");
        cat.SetDlgItemText(204, "dropped");
        hook.AnswerMessageBox(IDNO);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage);
        hook.AnswerMessageBox(IDYES);  // the empty threshold, asked once
        hook.AnswerMessageBox(IDNO);   // no value to compare
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage);
        ASSERT_EQ(hook.Messages().size(), 3u);
        EXPECT_EQ(hook.Messages()[0].caption, "Warning");
        EXPECT_EQ(hook.Messages()[0].text, hook.Messages()[1].text);
        EXPECT_EQ(hook.Messages()[2].text, "Value to compare was not specified.\r\n\r\nDo you really want to continue ?");
        cat.SetDlgItemText(102, "avg(od)");
        hook.AnswerMessageBox(IDYES);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(cat.GetDlgItemText(204), "") << "names above the count are cleared";
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kPresentationPage);
        TPropertyPage& pres = *sheet.GetActivePage();
        EXPECT_TRUE(pres.GetDlgItem(203)->IsWindowVisible());
        EXPECT_FALSE(pres.GetDlgItem(204)->IsWindowVisible()) << "three thresholds: rows 0 to 3 and the missing row";
        EXPECT_TRUE(pres.GetDlgItem(206)->IsWindowVisible());
        Press(sheet, Sheet::ID_PSNEXT);
        Press(sheet, Sheet::ID_PSNEXT);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kValidationPage);
        hook.AnswerMessageBox(IDNO);  // the blank condition in the middle
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kValidationPage);
        EXPECT_EQ(hook.Messages().back().text,
                  "An empty expression was found.\r\nSuch a condition is not allowed.\r\n\r\nDo you really want to continue ?");
        hook.AnswerMessageBox(IDYES);
        Press(sheet, Sheet::ID_PSNEXT);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kMeasurementPage);

        TPropertyPage& mea = *sheet.GetActivePage();
        auto& filter = dynamic_cast<TComboBox&>(*mea.GetDlgItem(802));
        EXPECT_FALSE(mea.GetDlgItem(804)->IsWindowVisible()) << "no reference filter";
        struct Row {
            int filter;
            bool asks;
        } rows[] = {{99, true}, {1000, true}, {100, false}};
        for (const Row& r : rows) {
            filter.SetSelIndex(filter.AddString(std::to_string(r.filter)));
            const std::size_t before = hook.Messages().size();
            if (r.asks) hook.AnswerMessageBox(IDNO);
            Press(sheet, Sheet::ID_PSFINISH);
            EXPECT_EQ(hook.Messages().size() - before, r.asks ? 1u : 0u) << r.filter;
            if (r.asks) {
                EXPECT_EQ(hook.Messages().back().text, "Wrong measurement filter.\r\n\r\nDo you really want to continue ?");
            }
            EXPECT_EQ(d.HasEnded(), !r.asks) << r.filter;
        }
    });
    ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 1);
    EXPECT_EQ(Dump(data.validations), "cond1=1\ncond2=\ncond3=x>0\n") << "trailing blank conditions dropped";
    EXPECT_EQ(Dump(data.calculations), "c0=1\nThr1=1\nThr2=\nThr3=3\n");
    EXPECT_EQ(data.measFilter, 100);
}

TEST(MethodWizard, ValidationPageEditsConditionsInPlaceAndEscapeKeepsTheWizard)
{
    TTestHook hook;
    QPlate plate;
    MethodWizardData data = NewPlateData();
    data.validations = {{"cond1", "a>0"}, {"mine", "b>0"}};
    data.measFilter = 0;
    hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        while (sheet.GetActiveIndex() != QWizzAll::kValidationPage) Press(sheet, Sheet::ID_PSNEXT);
        TPropertyPage& page = *sheet.GetActivePage();
        auto& list = dynamic_cast<QVarList&>(*page.GetDlgItem(102));
        auto& edit = dynamic_cast<TEdit&>(*page.GetDlgItem(103));
        auto& wiz = dynamic_cast<QWizzAll&>(sheet);
        EXPECT_EQ(list.GetCount(), 3) << "two conditions and the new-entry row";
        list.SetFocus();

        // Add: typing on the new-entry row starts the edit; Enter stores and names it.
        TTestHook::Key(VK_END);
        TTestHook::Type("c>0");
        TTestHook::Key(VK_RETURN);
        EXPECT_EQ(Dump(wiz.st.validations), "cond1=a>0\nmine=b>0\ncond3=c>0\n");

        // Edit, then Escape: the edit reloads, the condition and the wizard stay.
        TTestHook::Key(VK_HOME);
        TTestHook::Key(VK_F2);
        EXPECT_TRUE(edit.HasFocus());
        TTestHook::Type("+1");
        TTestHook::Key(VK_ESCAPE);
        TTestHook::ProcessEvents();
        EXPECT_FALSE(sheet.HasEnded()) << "Escape in the edit must not cancel the wizard";
        EXPECT_EQ(edit.GetWindowText(), "a>0");
        EXPECT_TRUE(list.HasFocus());
        // ... and confirmed with the pair's Confirm gadget.
        TTestHook::Key(VK_F2);
        TTestHook::Type("&x");
        page.SendCommand(IDOK);
        EXPECT_EQ(wiz.st.validations[0].text, "a>0&x");

        // Rename with Ctrl+Enter through the variable-name dialog.
        hook.AnswerDialog(QVarNameDlg::kResId, IDOK, [](TDialog& n) { TTestHook::Type("ok", n.GetDlgItem(102)); });
        TTestHook::Key(VK_RETURN, MK_CONTROL);
        EXPECT_EQ(wiz.st.validations[0].name, "cond1ok");

        // Insert before the second row, then delete the first: automatic names follow.
        TTestHook::Key(VK_DOWN);
        TTestHook::Key(VK_INSERT);
        EXPECT_TRUE(edit.HasFocus());
        TTestHook::Type("d>0");
        TTestHook::Key(VK_RETURN);
        TTestHook::Key(VK_HOME);
        TTestHook::Key(VK_DELETE);
        EXPECT_EQ(Dump(wiz.st.validations), "cond1=d>0\nmine=b>0\ncond3=c>0\n");
        EXPECT_EQ(list.GetCount(), 4);

        while (sheet.GetActiveIndex() != QWizzAll::kMeasurementPage) Press(sheet, Sheet::ID_PSNEXT);
        // A fresh installation has no filters in its table: the filter is typed.
        TPropertyPage& mea = *sheet.GetActivePage();
        mea.GetDlgItem(802)->SetFocus();
        TTestHook::Type("405");
        EXPECT_EQ(mea.GetDlgItemText(802), "405");
        Press(sheet, Sheet::ID_PSFINISH);
        EXPECT_TRUE(sheet.HasEnded());
    });
    ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 1);
    EXPECT_EQ(Dump(data.validations), "cond1=d>0\nmine=b>0\ncond3=c>0\n");
    EXPECT_EQ(data.measFilter, 405);
    EXPECT_TRUE(hook.Messages().empty()) << hook.Messages().front().text;
}

TEST(MethodWizard, CancelChangesNothing)
{
    TTestHook hook;
    QPlate plate;
    MethodWizardData data = NewPlateData();
    const MethodWizardData before = data;
    hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        sheet.GetActivePage()->SetDlgItemText(300, "5");
        Press(sheet, Sheet::ID_PSNEXT);
    });
    EXPECT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 0);
    EXPECT_EQ(Dump(data.calculations), Dump(before.calculations));
    EXPECT_EQ(Dump(data.evaluations), Dump(before.evaluations));
}

TEST(MethodWizard, CurveFitPageWithStandardsAndStoredCalibration)
{
    TTestHook hook;
    QPlate plate;
    plate.stdSample.wells = {{0, 0, nullptr}, {1, 1, nullptr}, {2, 2, nullptr}};
    plate.stdInUse = &plate.stdSample;
    plate.calibr.model = 1;
    plate.calibr.concentrations = {10.0, 5.0};
    MethodWizardData data = NewPlateData();
    data.calibration = &plate.calibr;
    hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCurveFitPage);
        EXPECT_FALSE(Enabled(sheet, Sheet::ID_PSBACK));
        auto& wiz = dynamic_cast<QWizzAll&>(sheet);
        EXPECT_EQ(wiz.st.concentrations.size(), 3u) << "padded to the three standard levels";
        hook.AnswerMessageBox(IDNO);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCurveFitPage);
        EXPECT_EQ(hook.Messages().back().text,
                  "Number of concentrations does not match standards.\r\n\r\nDo you really want to continue ?");
        wiz.st.concentrations = {10.0, 5.0, 5.0};
        hook.AnswerMessageBox(IDYES);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(hook.Messages().back().text, "Concentrations has to be ordered.\r\n\r\nDo you really want to continue ?");
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage);
        EXPECT_TRUE(Enabled(sheet, Sheet::ID_PSBACK)) << "standards in use: Back to the curve fit";
        EXPECT_EQ(sheet.GetActivePage()->GetDlgItemText(102), "conc");
        while (sheet.GetActiveIndex() != QWizzAll::kMeasurementPage) Press(sheet, Sheet::ID_PSNEXT);
        Press(sheet, Sheet::ID_PSFINISH);
    });
    ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 1);
    EXPECT_TRUE(data.curveFit.changed);
    EXPECT_EQ(data.curveFit.model, 1);
    EXPECT_EQ(data.curveFit.concentrations, (std::vector<double>{10.0, 5.0, 5.0}));

    // A stored calibration: nothing asked, nothing to apply.
    plate.calibr.stored = 1;
    data = NewPlateData();
    data.calibration = &plate.calibr;
    const std::size_t asked = hook.Messages().size();
    hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        EXPECT_EQ(dynamic_cast<QWizzAll&>(sheet).st.mode, 2);
        EXPECT_FALSE(sheet.GetActivePage()->GetDlgItem(405)->IsWindowEnabled());
        while (sheet.GetActiveIndex() != QWizzAll::kMeasurementPage) Press(sheet, Sheet::ID_PSNEXT);
        Press(sheet, Sheet::ID_PSFINISH);
    });
    ASSERT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 1);
    EXPECT_FALSE(data.curveFit.changed);
    EXPECT_EQ(hook.Messages().size(), asked);
}

TEST(NumberFormatDialog, EditsOneFormat)
{
    TTestHook hook;
    QWizzFormat f;
    hook.AnswerDialog(MyFormatDlg::kResId, IDOK, [](TDialog& d) {
        for (int id : {104, 105, 305}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowVisible()) << id << ": General has no decimals";
        EXPECT_TRUE(d.GetDlgItem(306)->IsWindowVisible()) << "the rounding's arrows stay";
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(103)));
        for (int id : {104, 105, 305}) EXPECT_TRUE(d.GetDlgItem(id)->IsWindowVisible()) << id;
        d.SetDlgItemText(105, "1");
        d.SetDlgItemText(107, "6");
        EXPECT_EQ(d.GetDlgItemText(206), "|   3.1|");
        d.SendMessage(WM_VSCROLL, SB_LINEUP, reinterpret_cast<TParam2>(d.GetDlgItem(305)));
        EXPECT_EQ(d.GetDlgItemText(105), "2");
        d.SetDlgItemText(106, "-3");
        d.SendMessage(WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<TParam2>(d.GetDlgItem(306)));
        EXPECT_EQ(d.GetDlgItemText(106), "0") << "not below 0";
        d.SetDlgItemText(107, "60");
    });
    MyFormatDlg dlg(nullptr, f);
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_EQ(f.format, QNumFormat(nmFixed, 2, 0));
    EXPECT_EQ(f.width, 60) << "the widest there is";

    const QWizzFormat kept = f;
    hook.AnswerDialog(MyFormatDlg::kResId, IDCANCEL, [](TDialog& d) { d.SetDlgItemText(107, "9"); });
    MyFormatDlg cancelled(nullptr, f);
    EXPECT_EQ(cancelled.Execute(), IDCANCEL);
    EXPECT_EQ(f, kept);
}

// The whole-number fields of the wizard: the measurement page's filters and the number-format
// dialog's decimals, rounding and width. Each takes a whole number of its range and refuses every
// other text with a message naming the range, keeping its value.
TEST(WholeNumbers, WizardFieldsTakeTheirRangeAndRefuseEveryOtherText)
{
    TTestHook hook;
    const std::string nines(300, '9');
    const std::vector<std::string> texts = {"", "-5", "0", "8.9", "1e999", "inf", nines, "abc"};
    auto message = [](const std::string& held, int low, int high) {
        return "\"" + held.substr(0, 40) + "\" is not a whole number from " + std::to_string(low) + " to " +
               std::to_string(high) + ".";
    };

    // The measurement page: an empty box and 0 are taken as no filter, which the page then asks
    // about; the answer No keeps the wizard open.
    for (const int box : {802, 804}) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::to_string(box) + " \"" + text.substr(0, 10) + "\"");
            const bool refused = !(text.empty() || text == "0");
            QPlate plate;
            MethodWizardData data = NewPlateData();
            data.refFilter = 620;
            std::string held;
            bool stayed = false;
            const std::size_t shown = hook.Messages().size();
            hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
                auto& sheet = dynamic_cast<Sheet&>(d);
                TTestHook::ProcessEvents();
                vyn::test::NextTo(sheet, QWizzAll::kMeasurementPage);
                ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kMeasurementPage);
                TPropertyPage& mea = *sheet.GetActivePage();
                if (box == 804) Check(mea, 803, true);
                ASSERT_TRUE(TypeIntoField(*mea.GetDlgItem(box), text));
                held = mea.GetDlgItemText(box);
                hook.AnswerMessageBox(IDNO);  // the refusal, or the question about no filter
                Press(sheet, Sheet::ID_PSFINISH);
                stayed = !d.HasEnded();
                if (stayed) Press(sheet, IDCANCEL);
            });
            RunMethodWizardDialog(nullptr, &plate, data);
            EXPECT_TRUE(stayed);
            ASSERT_EQ(hook.Messages().size(), shown + 1);
            if (refused) EXPECT_EQ(hook.Messages().back().text, message(held, 0, QFilterTable::kMaxWavelength));
            else EXPECT_NE(hook.Messages().back().text.find("filter"), std::string::npos) << "the question";
            EXPECT_EQ(data.measFilter, 450) << "the wizard was cancelled";
            EXPECT_EQ(data.refFilter, 620);
        }
    }

    // The number-format dialog, on a Fixed format so the decimals show.
    struct Field {
        int edit, low, high;
        int QWizzFormat::*whole;   // the width, or
        int QNumFormat::*part;     // a field of the format
    };
    const Field fields[] = {{105, 0, 15, nullptr, &QNumFormat::decimals},
                            {106, 0, 15, nullptr, &QNumFormat::digits},
                            {107, 0, MyFormatDlg::kMaxWidth, &QWizzFormat::width, nullptr}};
    for (const Field& f : fields) {
        for (const std::string& text : texts) {
            SCOPED_TRACE(std::to_string(f.edit) + " \"" + text.substr(0, 10) + "\"");
            const bool refused = text != "0";
            QWizzFormat format;
            format.format = QNumFormat(nmFixed, 3, 6);
            format.width = 12;
            const QWizzFormat before = format;
            std::string held;
            bool stayed = false;
            const std::size_t shown = hook.Messages().size();
            hook.AnswerDialog(MyFormatDlg::kResId, 0, [&](TDialog& d) {
                ASSERT_TRUE(TypeIntoField(*d.GetDlgItem(f.edit), text));
                held = d.GetDlgItemText(f.edit);
                // The spin button beside the field does not step a text that is no whole number.
                const bool whole = held.size() < 10 &&
                                   held.find_first_not_of("0123456789", held[0] == '-' ? 1 : 0) == std::string::npos;
                if (!held.empty() && !whole) {
                    TWindow& spin = *d.GetDlgItem(f.edit + 200);
                    EXPECT_TRUE(ClickReaches(spin, spin.GetClientRect().Width() / 2, 2));
                    EXPECT_EQ(d.GetDlgItemText(f.edit), held) << "not stepped";
                }
                if (refused) hook.AnswerMessageBox(IDOK);
                TTestHook::Click(*d.GetDlgItem(IDOK));
                stayed = !d.HasEnded();
                if (stayed) TTestHook::Click(*d.GetDlgItem(IDCANCEL));
            });
            MyFormatDlg dlg(nullptr, format);
            dlg.Execute();
            EXPECT_EQ(stayed, refused);
            auto value = [&](const QWizzFormat& w) { return f.whole ? w.*f.whole : w.format.*f.part; };
            if (refused) {
                ASSERT_EQ(hook.Messages().size(), shown + 1);
                EXPECT_EQ(hook.Messages().back().text, message(held, f.low, f.high));
                EXPECT_EQ(value(format), value(before));
            } else {
                EXPECT_EQ(hook.Messages().size(), shown);
                EXPECT_EQ(value(format), 0);
            }
        }
    }
    EXPECT_EQ(hook.UnansweredBoxes(), 0);
}

TEST(ColorDialog, SwatchesAndTheCurrentColour)
{
    TTestHook hook;
    struct Row {
        const char* name;
        int swatch;
        int chosen;
    } rows[] = {{"red", 101, 255}, {"white", 115, 16777215}, {"no colour", 118, -1}, {"the current colour", 117, 0x123456}};
    for (const Row& r : rows) {
        hook.AnswerDialog(MyColorDlg::kResId, 0, [&](TDialog& d) {
            dynamic_cast<TColorSwatch&>(*d.GetDlgItem(r.swatch)).Click();
        });
        MyColorDlg dlg(nullptr, nullptr, 0x123456);
        EXPECT_EQ(dlg.Execute(), IDOK) << r.name;
        EXPECT_EQ(dlg.Chosen(), r.chosen) << r.name;
    }
    hook.AnswerDialog(MyColorDlg::kResId, IDCANCEL);
    MyColorDlg dlg(nullptr, nullptr, 5);
    EXPECT_EQ(dlg.Execute(), IDCANCEL);

    // "More colors ..." opens the platform's colour chooser, starting from black; its choice
    // ends the dialog, its Cancel leaves the dialog open.
    for (bool choose : {false, true}) {
        TColor offered(1, 1, 1);
        TChooseColorDialog::SetTestAnswer([&](TColor& c) {
            offered = c;
            c = TColor(10, 20, 30);
            return choose;
        });
        hook.AnswerDialog(MyColorDlg::kResId, choose ? 0 : IDCANCEL, [](TDialog& d) { d.SendCommand(MyColorDlg::kMoreColours); });
        MyColorDlg more(nullptr, nullptr, 5);
        EXPECT_EQ(more.Execute(), choose ? IDOK : IDCANCEL);
        EXPECT_EQ(offered.value, 0u);
        EXPECT_EQ(more.Chosen(), choose ? 10 | 20 << 8 | 30 << 16 : 5);
    }
    TChooseColorDialog::SetTestAnswer({});
}

// Alt+N and Alt+B pressed in a page's field: the page turned to takes the keyboard at its first
// field, so that what the user types next lands there.
TEST(MethodWizard, AltNAndAltBGiveThePageTurnedToItsFirstField)
{
    TTestHook hook;
    QPlate plate;
    MethodWizardData data = NewPlateData();
    hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage);
        TPropertyPage& cat = *sheet.GetActivePage();
        ClickAt(ScreenPoint(*cat.GetDlgItem(102)));
        TypeText("avg(od)");
        ClickAt(ScreenPoint(*cat.GetDlgItem(300)));
        TypeText("0.5");  // one cut-off: the presentation page is shown
        struct Step {
            char letter;
            int page, field;
        };
        for (const Step& s : {Step{'N', QWizzAll::kPresentationPage, 110}, Step{'N', QWizzAll::kCompositionPage, 102},
                              Step{'B', QWizzAll::kPresentationPage, 110}, Step{'B', QWizzAll::kCategoriesPage, 102}}) {
            SCOPED_TRACE(std::string("Alt+") + s.letter);
            PressKeys(static_cast<unsigned>(s.letter), TTestHook::kAlt);
            ASSERT_EQ(sheet.GetActiveIndex(), s.page);
            TWindow* field = sheet.GetActivePage()->GetDlgItem(s.field);
            EXPECT_EQ(TWindow::GetFocus(), field);
            EXPECT_TRUE(field->IsWindowVisible());
        }
        // Typed at once, the text goes into the field that shows the focus.
        TypeText("x");
        EXPECT_EQ(cat.GetDlgItemText(102), "x") << "the field's text was selected and typed over";
    });
    EXPECT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 0);
}

// The colour of a category picked with the keys alone: Tab to its swatch, Space opens "Colors",
// an arrow moves to the colour wanted and Space takes it.
TEST(MethodWizard, AColourIsPickedWithTabTheArrowsAndSpace)
{
    TTestHook hook;
    QPlate plate;
    MethodWizardData data = NewPlateData();
    QColor shown;
    hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        TPropertyPage& cat = *sheet.GetActivePage();
        ClickAt(ScreenPoint(*cat.GetDlgItem(102)));
        TypeText("avg(od)");
        ClickAt(ScreenPoint(*cat.GetDlgItem(300)));
        TypeText("0.5");
        PressKeys('N', TTestHook::kAlt);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kPresentationPage);
        TPropertyPage& pres = *sheet.GetActivePage();
        PressKeys('C', TTestHook::kAlt);  // "&Color": the swatches show
        TWindow* swatch = pres.GetDlgItem(600);
        ASSERT_TRUE(swatch->IsWindowVisible());
        PressKeys(VK_TAB);
        ASSERT_EQ(TWindow::GetFocus(), swatch);
        bool picked = false;
        hook.AnswerDialog(MyColorDlg::kResId, 0, [&](TDialog& colours) {
            ASSERT_EQ(TWindow::GetFocus(), colours.GetDlgItem(101)) << "the first colour has the focus";
            PressKeys(VK_RIGHT);
            ASSERT_EQ(TWindow::GetFocus(), colours.GetDlgItem(102));
            PressKeys(VK_SPACE);
            picked = colours.HasEnded();
        });
        PressKeys(VK_SPACE);
        EXPECT_TRUE(picked) << "Space on a colour of \"Colors\" takes it";
        const QImage face = GrabPicture(*swatch);
        shown = face.pixelColor(face.width() / 2, face.height() / 2);
    });
    EXPECT_EQ(RunMethodWizardDialog(nullptr, &plate, data), 0);
    EXPECT_EQ(hook.DialogsRun(), (std::vector<int>{QWizzAll::kSheetResId, MyColorDlg::kResId}));
    EXPECT_EQ(shown, QColor(128, 0, 0)) << "the swatch shows the colour picked (128: dark red)";
}
