// The method property sheet driven offscreen: each page loads the sheet's copies and writes
// them back when it is left, the curve-fit values count only when their page was shown on a
// calibration that may change, and the document takes back exactly what changed.
#include <gtest/gtest.h>

#include <functional>

#include "controls/QGEdit.h"
#include "calibration/QCalibr.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "method_editors/MethodEditorDialogs.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QPageCalcEvalVal.h"
#include "method_editors/QPageCurveFit.h"
#include "method_editors/QSheetTabs.h"
#include "controls/QVarList.h"
#include "controls/QVarNameDlg.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/TestHook.h"
#include "readers/QFoto.h"
#include "readers/QFotoMul.h"
#include "../../platform/core/TempConfigDir.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

using Drive = std::function<void(QAllPsh&)>;

// Runs the sheet through the document's dialog entry; drive acts on the live sheet and ends it
// (OK when it does not).
int RunSheet(MethodSheetData& data, const Drive& drive)
{
    TTestHook hook;
    hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
        auto& sheet = static_cast<QAllPsh&>(d);
        drive(sheet);
        if (!sheet.HasEnded()) sheet.PressOk();
    });
    MethodEditorDialogs ui(nullptr, nullptr);
    return ui.RunMethodSheet(data);
}

template <class T>
T& Item(QAllPsh& s, int page, int id)
{
    return static_cast<T&>(*static_cast<TDialog*>(s.GetPage(page))->GetDlgItem(id));
}

bool Visible(QAllPsh& s, int page, int id) { return static_cast<TDialog*>(s.GetPage(page))->GetDlgItem(id)->IsWindowVisible(); }

bool Checked(QAllPsh& s, int page, int id) { return Item<TCheckBox>(s, page, id).GetCheck() == TCheckBox::BF_CHECKED; }

struct SheetTest : ::testing::Test {
    void SetUp() override
    {
        gMethodSheetPage = 0;
        gMethodSheetPos = TPoint(-1, -1);
    }
};

// --- Blanking ------------------------------------------------------------------------------

TEST_F(SheetTest, BlankingModeOutsideTheRangeShowsNoBlankingAndStoresZero)
{
    MethodSheetData data;
    data.blankMode = 7;
    bool blankShown = true, transformShown = true, noneChecked = false;
    ASSERT_EQ(RunSheet(data,
                       [&](QAllPsh& s) {
                           noneChecked = Checked(s, QAllPsh::pgBlank, 200);
                           blankShown = Visible(s, QAllPsh::pgBlank, 205);
                           transformShown = Visible(s, QAllPsh::pgBlank, 206);
                       }),
              IDOK);
    EXPECT_TRUE(noneChecked);
    EXPECT_FALSE(blankShown);
    EXPECT_FALSE(transformShown);
    EXPECT_EQ(data.blankMode, 0);
    EXPECT_FALSE(data.curveFit.changed) << "the curve-fit page was never shown";
}

TEST_F(SheetTest, BlankingFieldsFollowTheModeAndTextsAreStoredTrimmed)
{
    MethodSheetData data;
    bool simpleBlank = false, simpleTransform = true, generalTransform = false;
    ASSERT_EQ(RunSheet(data,
                       [&](QAllPsh& s) {
                           EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgBlank, 201)));
                           simpleBlank = Visible(s, QAllPsh::pgBlank, 205);
                           simpleTransform = Visible(s, QAllPsh::pgBlank, 206);
                           EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgBlank, 202)));
                           generalTransform = Visible(s, QAllPsh::pgBlank, 206);
                           Item<TEdit>(s, QAllPsh::pgBlank, 206).SetWindowText("  a+b   ");
                           std::string sum;  // a long expression that parses when cut to 7999
                           for (int i = 0; i < 4000; ++i) sum += "1+";
                           Item<TEdit>(s, QAllPsh::pgBlank, 205).SetWindowText(sum);
                       }),
              IDOK);
    EXPECT_TRUE(simpleBlank);
    EXPECT_FALSE(simpleTransform);
    EXPECT_TRUE(generalTransform);
    EXPECT_EQ(data.blankMode, 2);
    EXPECT_EQ(data.transformExpr, "  a+b") << "trailing blanks go, leading ones stay";
    EXPECT_EQ(data.blankExpr.size(), 7999u);
}

// --- Curve fit -----------------------------------------------------------------------------

QCalibr Calibration(int model, int fixedK, std::vector<double> conc, int stored = 0)
{
    QCalibr c;
    c.model = model;
    c.fixedK = fixedK;
    c.concentrations = std::move(conc);
    c.stored = stored;
    return c;
}

TEST_F(SheetTest, CurveFitPageLoadsTheCalibrationAndKeepsOneFixedCoefficient)
{
    const QCalibr cal = Calibration(cmLinear, 3, {1, 2});
    MethodSheetData data;
    data.calibration = &cal;
    bool k0 = false, k1 = true, k1EditAfter = true, k1After = true;
    ASSERT_EQ(RunSheet(data,
                       [&](QAllPsh& s) {
                           s.SelectPage(QAllPsh::pgCurveFit);
                           k0 = Checked(s, QAllPsh::pgCurveFit, 409);
                           k1 = Checked(s, QAllPsh::pgCurveFit, 410);
                           EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgCurveFit, 410)));
                           EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgCurveFit, 409)));
                           k1After = Checked(s, QAllPsh::pgCurveFit, 410);
                           k1EditAfter = Visible(s, QAllPsh::pgCurveFit, 412);
                           Item<TEdit>(s, QAllPsh::pgCurveFit, 411).SetWindowText("");
                           Item<TEdit>(s, QAllPsh::pgCurveFit, 412).SetWindowText("");
                       }),
              IDOK);
    EXPECT_TRUE(k0) << "fixed bits 3 show K0 alone";
    EXPECT_FALSE(k1);
    EXPECT_FALSE(k1After) << "checking K0 unchecks K1";
    EXPECT_FALSE(k1EditAfter);
    EXPECT_TRUE(data.curveFit.changed);
    EXPECT_EQ(data.curveFit.fixedK, 1);
    EXPECT_EQ(data.curveFit.K0, 0.0) << "an empty K0 is 0";
    EXPECT_EQ(data.curveFit.K1, 1.0) << "an empty K1 is 1";
    EXPECT_EQ(data.curveFit.concentrations, (std::vector<double>{1, 2}));
}

TEST_F(SheetTest, FourParameterModelDropsLogX)
{
    QCalibr cal = Calibration(cmLinear, 0, {1});
    cal.logX = 1;
    MethodSheetData data;
    data.calibration = &cal;
    bool logShown = true;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCurveFit);
        auto& combo = Item<TComboBox>(s, QAllPsh::pgCurveFit, 407);
        combo.SetSelIndex(cmFourParameter);
        s.GetPage(QAllPsh::pgCurveFit)->SendCommand(407, CBN_SELCHANGE, &combo);
        logShown = Visible(s, QAllPsh::pgCurveFit, 408);
    });
    EXPECT_FALSE(logShown);
    EXPECT_EQ(data.curveFit.model, cmFourParameter);
    EXPECT_EQ(data.curveFit.logX, 0);
}

struct SlashCase {
    const char* name;
    int list;
    std::vector<double> start;
    int slashes;
    std::vector<double> expected;
};

TEST_F(SheetTest, SlashAppendsTheNextDilutionStep)
{
    const SlashCase cases[] = {
        {"concentrations halve", QPageCurveFit::kConcList, {100}, 3, {100, 50, 25, 12.5}},
        {"dilutions double", QPageCurveFit::kDilList, {1}, 2, {1, 2, 4}},
        {"empty list", QPageCurveFit::kConcList, {}, 1, {}},
        {"last value zero", QPageCurveFit::kDilList, {3, 0}, 1, {3, 0}},
    };
    for (const SlashCase& c : cases) {
        const QCalibr cal = Calibration(cmLinear, 0, c.list == QPageCurveFit::kConcList ? c.start : std::vector<double>{});
        MethodSheetData data;
        data.calibration = &cal;
        if (c.list == QPageCurveFit::kDilList) data.dilutions = c.start;
        RunSheet(data, [&](QAllPsh& s) {
            s.SelectPage(QAllPsh::pgCurveFit);
            auto& list = Item<QVarList>(s, QAllPsh::pgCurveFit, c.list);
            list.SetFocus();
            for (int i = 0; i < c.slashes; ++i) TTestHook::Type("/", &list);
        });
        const auto& got = c.list == QPageCurveFit::kConcList ? data.curveFit.concentrations : data.dilutions;
        EXPECT_EQ(got, c.expected) << c.name;
    }
}

TEST_F(SheetTest, InsertOnTheNewRowAddsAMissingValueThatLeavingDrops)
{
    MethodSheetData data;
    data.dilutions = {1, 2};
    std::vector<double> whileOpen;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCurveFit);
        auto& list = Item<QVarList>(s, QAllPsh::pgCurveFit, QPageCurveFit::kDilList);
        list.SetFocus();
        list.SetSelIndex(2);
        TTestHook::Key(VK_INSERT, 0, &list);
        whileOpen = s.dilutions;
        list.SetSelIndex(1);
        TTestHook::Key(VK_INSERT, 0, &list);
    });
    ASSERT_EQ(whileOpen.size(), 3u);
    EXPECT_EQ(whileOpen[2], NoValue) << "inserted before the new row";
    ASSERT_EQ(data.dilutions.size(), 3u) << "the missing value at the end is dropped, the inner one stays";
    EXPECT_EQ(data.dilutions[1], NoValue);
}

TEST_F(SheetTest, TypedValuesAreStoredWhenTheEditIsLeft)
{
    MethodSheetData data;
    data.dilutions = {1};
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCurveFit);
        auto& list = Item<QVarList>(s, QAllPsh::pgCurveFit, QPageCurveFit::kDilList);
        auto& edit = Item<QGEdit>(s, QAllPsh::pgCurveFit, QPageCurveFit::kDilEdit);
        list.SetFocus();
        list.SetSelIndex(1);
        TTestHook::Type("8", &list);  // starts the edit with the character
        TTestHook::Type("0", &edit);
        TTestHook::Key(VK_RETURN, 0, &edit);
        list.SetSelIndex(0);
        TTestHook::Type("5", &list);
        TTestHook::Key(VK_ESCAPE, 0, &edit);  // thrown away
    });
    EXPECT_EQ(data.dilutions, (std::vector<double>{1, 80}));
}

TEST_F(SheetTest, StoredCalibrationKeepsItsCurveButNotTheDilutions)
{
    const QCalibr cal = Calibration(cmSpline, 0, {1, 2}, 1);
    MethodSheetData data;
    data.calibration = &cal;
    bool modelEnabled = true, storedShown = false, concActive = true, dilActive = false;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCurveFit);
        modelEnabled = Item<TWindow>(s, QAllPsh::pgCurveFit, 407).IsWindowEnabled();
        storedShown = Visible(s, QAllPsh::pgCurveFit, 418);
        concActive = Item<QVarList>(s, QAllPsh::pgCurveFit, QPageCurveFit::kConcList).GetState() != 0;
        dilActive = Item<QVarList>(s, QAllPsh::pgCurveFit, QPageCurveFit::kDilList).GetState() != 0;
        EXPECT_EQ(s.applyCurveFit, 0);
        auto& list = Item<QVarList>(s, QAllPsh::pgCurveFit, QPageCurveFit::kDilList);
        list.SetFocus();
        TTestHook::Type("4", &list);
        list.SetFocus();
    });
    EXPECT_FALSE(modelEnabled);
    EXPECT_TRUE(storedShown);
    EXPECT_FALSE(concActive);
    EXPECT_TRUE(dilActive);
    EXPECT_FALSE(data.curveFit.changed);
    EXPECT_EQ(data.dilutions, std::vector<double>{4}) << "the dilutions stay editable";
}

// --- Calculations, evaluations, validations ------------------------------------------------

TEST_F(SheetTest, NamesAreCleanedAndAutomaticNamesShowTheirPosition)
{
    MethodSheetData data;
    data.calculations = {{"x", "1"}, {"fct7", "2"}, {"", "3"}, {"my var!", "4"}, {std::string(40, 'k'), "5"}};
    data.evaluations = {{"Res1", "1"}, {"res5", "2"}};
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCalculations);
        s.SelectPage(QAllPsh::pgEvaluations);
    });
    EXPECT_EQ(data.calculations[1].name, "fct2");
    EXPECT_EQ(data.calculations[2].name, "fct3");
    EXPECT_EQ(data.calculations[3].name, "myvar");
    EXPECT_EQ(data.calculations[4].name, std::string(31, 'k'));
    EXPECT_EQ(data.evaluations[0].name, "Res1") << "the prefix test is case-sensitive";
    EXPECT_EQ(data.evaluations[1].name, "res2");
}

TEST_F(SheetTest, ListPageEditsAppendsInsertsAndDropsEmptyTails)
{
    MethodSheetData data;
    data.calculations = {{"a", "1"}};
    int beeps = -1;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgCalculations);
        auto& list = Item<QVarList>(s, QAllPsh::pgCalculations, QPageCalcEvalVal::kList);
        auto& edit = Item<QGEdit>(s, QAllPsh::pgCalculations, QPageCalcEvalVal::kEdit);
        list.SetFocus();
        list.SetSelIndex(1);
        TTestHook::Key(VK_DELETE, 0, &list);  // the new row: nothing
        TTestHook::Type("a", &list);           // typing on the new row starts an expression
        TTestHook::Type("+1", &edit);
        TTestHook::Key(VK_RETURN, 0, &edit);
        list.SetSelIndex(2);
        TTestHook::Key(VK_INSERT, 0, &list);   // an empty definition before the new row
        EXPECT_EQ(s.calculations.size(), 3u);
        EXPECT_EQ(s.calculations[2].name, "fct3") << "named by the rule at once";
        list.SetFocus();
        list.SetSelIndex(3);
        TTestHook::Key(VK_INSERT, 0, &list);
        list.SetFocus();
        s.calculations[3].text = "   ";
        beeps = TTestHook::Get().Beeps();
    });
    EXPECT_EQ(beeps, 0);
    ASSERT_EQ(data.calculations.size(), 2u) << "empty and blank expressions at the end are dropped";
    EXPECT_EQ(data.calculations[1].name, "fct2");
    EXPECT_EQ(data.calculations[1].text, "a+1");
}

struct RenameCase {
    const char* name;
    int page;
    std::string typed;
    std::string expected;
};

TEST_F(SheetTest, RenameThroughTheNameDialog)
{
    const RenameCase cases[] = {
        {"leading digit dropped", QAllPsh::pgCalculations, "2x", "x"},
        {"prefix and digits become the position", QAllPsh::pgValidations, "cond9", "cond2"},
        {"cleaned to nothing", QAllPsh::pgEvaluations, "!!", "res2"},
    };
    for (const RenameCase& c : cases) {
        MethodSheetData data;
        data.calculations = data.validations = data.evaluations = {{"first", "1"}, {"second", "2"}};
        TTestHook hook;
        hook.AnswerDialog(QVarNameDlg::kResId, 0, [&](TDialog& d) {
            auto& edit = static_cast<TEdit&>(*d.GetDlgItem(102));
            edit.SetFocus();
            edit.SetSelection(0, 100);
            TTestHook::Type(c.typed, &edit);
            d.SendCommand(IDOK, BN_CLICKED, d.GetDlgItem(IDOK));
        });
        hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
            auto& s = static_cast<QAllPsh&>(d);
            s.SelectPage(c.page);
            auto& list = Item<QVarList>(s, c.page, QPageCalcEvalVal::kList);
            list.SetFocus();
            list.SetSelIndex(1);
            TTestHook::Key(VK_RETURN, MK_CONTROL, &list);
            s.PressOk();
        });
        MethodEditorDialogs ui(nullptr, nullptr);
        ASSERT_EQ(ui.RunMethodSheet(data), IDOK) << c.name;
        const TwostrArray& got = c.page == QAllPsh::pgCalculations ? data.calculations
                                 : c.page == QAllPsh::pgValidations ? data.validations
                                                                    : data.evaluations;
        EXPECT_EQ(got[1].name, c.expected) << c.name;
        EXPECT_EQ(hook.DialogsRun(), (std::vector<int>{QAllPsh::kResId, QVarNameDlg::kResId})) << c.name;
    }
}

// --- Filters -------------------------------------------------------------------------------

TEST_F(SheetTest, FiltersOfferTheTableAndKeepWhatWasTyped)
{
    test::TempConfigDir dir;  // the driver keeps its filter table in the settings
    gReader = std::make_unique<QFoto>();
    const int table[] = {405, 0, 492};
    SetFilters(table, 3);
    MethodSheetData data;
    data.measFilter = 450;
    data.refFilter = 620;
    data.useRefFilter = 0;
    std::vector<std::string> items;
    std::string shown;
    bool refShown = true, optionsShown = false;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgFilters);
        auto& meas = Item<TComboBox>(s, QAllPsh::pgFilters, 802);
        for (int i = 0; i < meas.GetCount(); ++i) items.push_back(meas.GetString(i));
        shown = meas.GetWindowText();
        refShown = Visible(s, QAllPsh::pgFilters, 804);
        optionsShown = Visible(s, QAllPsh::pgFilters, 806);
        Item<TComboBox>(s, QAllPsh::pgFilters, 804).SetWindowText("abc");
    });
    EXPECT_EQ(items, (std::vector<std::string>{"405", "492"})) << "a filter of 0 nm is no filter";
    EXPECT_EQ(shown, "450") << "a filter the table lacks is still shown";
    EXPECT_FALSE(refShown);
    EXPECT_TRUE(optionsShown) << "the simulated reader offers its options too";
    EXPECT_EQ(data.measFilter, 450);
    EXPECT_EQ(data.refFilter, 620) << "a hidden box holding no wavelength keeps the value";

    // A reader family has its options: label and button are shown.
    gReader = std::make_unique<QFotoMul>();
    bool labelShown = false;
    RunSheet(data, [&](QAllPsh& s) {
        s.SelectPage(QAllPsh::pgFilters);
        labelShown = Visible(s, QAllPsh::pgFilters, 805);
        optionsShown = Visible(s, QAllPsh::pgFilters, 806);
    });
    EXPECT_TRUE(labelShown);
    EXPECT_TRUE(optionsShown);
    gReader.reset();
    SetFilters(nullptr, 0);
}

// --- The sheet -----------------------------------------------------------------------------

TEST_F(SheetTest, SecondOpeningStartsOnTheLastTabWhereTheFirstClosed)
{
    MethodSheetData data;
    TPoint firstPos;
    RunSheet(data, [&](QAllPsh& s) {
        s.Tabs()->UserSelect(QAllPsh::pgFilters);
        s.SetWindowPos(nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        firstPos = s.ClientToScreen(TPoint(0, 0));
    });
    int page = -1;
    TPoint secondPos;
    RunSheet(data, [&](QAllPsh& s) {
        page = s.GetActiveIndex();
        secondPos = s.ClientToScreen(TPoint(0, 0));
        EXPECT_EQ(s.Tabs()->GetSel(), QAllPsh::pgFilters);
        EXPECT_EQ(s.GetWindowText(), "Calculation Definition");
        EXPECT_FALSE(s.GetDlgItem(QAllPsh::kApplyId)->IsWindowVisible());
        EXPECT_TRUE(s.PrintButton() && s.PrintButton()->IsWindowVisible());
    });
    EXPECT_EQ(page, QAllPsh::pgFilters);
    EXPECT_EQ(secondPos.x, firstPos.x);
    EXPECT_EQ(secondPos.y, firstPos.y);
}

struct PlateDoc {
    QDoc doc;
    QPlate& p = doc.GetPlate();
    PlateDoc()
    {
        p.calculations.definitions = {{"fct1", "1+1"}};
        p.blankExpr = "0.1";
        p.calibr.concentrations = {1, 2, 4};
        doc.SetDirty(false);
    }
};

TEST_F(SheetTest, PrintWithoutChangesReturnsThreeAndChangesNothing)
{
    PlateDoc f;
    TTestHook hook;
    hook.AnswerDialog(QAllPsh::kResId, 0, [](TDialog& d) {
        auto& s = static_cast<QAllPsh&>(d);
        s.SelectPage(QAllPsh::pgCalculations);
        TTestHook::Click(*s.PrintButton());
    });
    MethodEditorDialogs ui(nullptr, &f.p);
    EXPECT_EQ(f.doc.RunMethodSheet(ui), 3);
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_EQ(f.p.calculations.definitions, (TwostrArray{{"fct1", "1+1"}}));
}

TEST_F(SheetTest, CancelAfterEditsOnSeveralPagesLeavesThePlate)
{
    PlateDoc f;
    TTestHook hook;
    hook.AnswerDialog(QAllPsh::kResId, 0, [](TDialog& d) {
        auto& s = static_cast<QAllPsh&>(d);
        EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgBlank, 202)));
        s.SelectPage(QAllPsh::pgCurveFit);
        EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgCurveFit, 406)));
        s.SelectPage(QAllPsh::pgCalculations);
        s.calculations.clear();
        s.SelectPage(QAllPsh::pgBlank);
        s.CloseWindow(IDCANCEL);
    });
    MethodEditorDialogs ui(nullptr, &f.p);
    EXPECT_EQ(f.doc.RunMethodSheet(ui), 0);
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_EQ(f.p.dataMode, 0);
    EXPECT_EQ(f.p.calibr.decreasing, 0);
    EXPECT_EQ(f.p.calculations.definitions.size(), 1u);
}

TEST_F(SheetTest, OkBringsBackTheCurveOnlyFromAShownPage)
{
    PlateDoc f;
    TTestHook hook;
    hook.AnswerDialog(QAllPsh::kResId, 0, [](TDialog& d) {
        auto& s = static_cast<QAllPsh&>(d);
        s.SelectPage(QAllPsh::pgCurveFit);
        EXPECT_TRUE(ClickReaches(Item<TButton>(s, QAllPsh::pgCurveFit, 406)));
        s.SelectPage(QAllPsh::pgBlank);
        s.PressOk();
    });
    MethodEditorDialogs ui(nullptr, &f.p);
    EXPECT_EQ(f.doc.RunMethodSheet(ui), 1);
    EXPECT_EQ(f.p.calibr.decreasing, 1);
    EXPECT_TRUE(f.doc.IsDirty());
}

}  // namespace
}  // namespace vyn
