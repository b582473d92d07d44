// The method editors as a user reaches them: the main window's "Plate" menu opens the wizard,
// the method sheet and the calibration dialog on the demo plate; what they change reaches the
// plate, and a run that changes nothing leaves the method exactly as it was.
#include <gtest/gtest.h>

#include "../../app/shell/ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "calibration/ui/InvCalDlg.h"
#include "calibration/ui/QCalDlg.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QVarList.h"
#include "method_editors/QWizzAll.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/PropertySheet.h"

using namespace vyn;

namespace {

using Sheet = TPropertySheet;

std::string Dump(const TwostrArray& list)
{
    std::string s;
    for (const auto& t : list) s += t.name + "=" + t.text + "\n";
    return s;
}

// The demo plate open and calculated, in the running program.
struct DemoPlate {
    TTestHook hook;
    ShellFixture shell;
    QDoc* doc = nullptr;

    DemoPlate()
    {
        GetAppSettings().autoMakeAftLoad = 0;
        doc = dynamic_cast<QDoc*>(shell.app->OpenPlate(shell.env.data + "/Demo.plt"));
        GetAppSettings().autoMakeAftLoad = 1;
        if (doc) doc->CalculatePlate();
        TTestHook::ProcessEvents();
    }
    QPlate& Plate() { return doc->GetPlate(); }
    // The plate view's "Definition" menu while it is merged into the bar, else the main menu's.
    bool Choose(const char* item)
    {
        TWindow& frame = *shell.app->GetMainFrame();
        return TTestHook::ChooseMenuItem(frame, "Definition", item) || TTestHook::ChooseMenuItem(frame, "Plate", item);
    }
    // Every sample's results, with their error texts.
    std::string Results()
    {
        std::string s;
        for (const auto& sample : Plate().samples) {
            auto* q = dynamic_cast<QQSample*>(sample.get());
            if (!q) continue;
            for (std::size_t r = 0; r < q->results.size(); ++r)
                s += q->results[r].Name() + "=" + q->results[r].Text() + "|" +
                     (r < q->errorTexts.size() ? q->errorTexts[r] : "") + "\n";
        }
        return s;
    }
};

void Press(Sheet& sheet, int id)
{
    sheet.PressButton(id);
    TTestHook::ProcessEvents();
}

void NextTo(Sheet& sheet, int page)
{
    for (int i = 0; i < 8 && sheet.GetActiveIndex() != page; ++i) Press(sheet, Sheet::ID_PSNEXT);
}

}  // namespace

TEST(MethodMenus, WizardFromThePlateMenuAddsAConditionToTheDemoMethod)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    const TwostrArray calculations = demo.Plate().calculations.definitions;
    const TwostrArray evaluations = demo.Plate().globalQualDef;
    bool ran = false;
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCurveFitPage) << "the demo plate has standards";
        NextTo(sheet, QWizzAll::kValidationPage);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kValidationPage);
        TDialog& page = *sheet.GetActivePage();
        auto& list = dynamic_cast<QVarList&>(*page.GetDlgItem(102));
        list.SetFocus();
        TTestHook::Key(VK_END);
        TTestHook::Type("od>0");
        TTestHook::Key(VK_RETURN);
        TTestHook::ProcessEvents();
        NextTo(sheet, QWizzAll::kMeasurementPage);
        Press(sheet, Sheet::ID_PSFINISH);
        ran = true;
    });
    demo.hook.AnswerMessageBox(IDYES);  // the demo method has no measurement filter
    ASSERT_TRUE(demo.Choose("Calculations..."));
    EXPECT_TRUE(ran);
    EXPECT_EQ(Dump(demo.Plate().validations.definitions), "cond1=blank < 0.1\ncond2=od>0\n");
    EXPECT_EQ(Dump(demo.Plate().calculations.definitions), Dump(calculations));
    EXPECT_EQ(Dump(demo.Plate().globalQualDef), Dump(evaluations));
    EXPECT_TRUE(demo.doc->IsDirty());
}

TEST(MethodMenus, WizardRunWithoutChangesLeavesUserDefinitionsUnderReservedNames)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    QPlate& p = demo.Plate();
    // The user's own definitions under every reserved name, and a fixed K0 with more digits
    // than the default number format shows.
    p.calculations.definitions = {{"Thr1", "caxmax/2"}, {"Thr2", "caxmax"}, {"Thr3", "caxmax*2"},
                                  {"Thr4", "caxmax*3"}, {"Thr5", "caxmax*4"}, {"blank", "gblank"}};
    p.globalQualDef = {{"ValCmp", "conc"},
                       {"_CompFmt", "str(conc,2,\"F\",0,1)"},
                       {"_OdFmt", "str(avg(od),3,\"F\",0,3)"},
                       {"_ConcFmt", "conc*2"},
                       {"color", "conc>50 ? \"RGB(255,0,0)\" : \"noc\""},
                       {"ShortResult", "conc>50 ? \"+\" : \"-\""},
                       {"ExportResult", "ShortResult"},
                       {"CategResult", "conc>50 ? \"high\" : \"low\""},
                       {"LongResult", "CategResult+\" \"+_CompFmt"}};
    p.calibr.fixedK = 1;
    p.calibr.K0 = 0.0123456;
    const TwostrArray calculations = p.calculations.definitions, evaluations = p.globalQualDef;
    std::string k0Shown;
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        k0Shown = sheet.GetActivePage()->GetDlgItemText(411);
        NextTo(sheet, QWizzAll::kMeasurementPage);
        Press(sheet, Sheet::ID_PSFINISH);
    });
    demo.hook.AnswerMessageBox(IDYES);  // no measurement filter
    demo.doc->SetDirty(false);
    ASSERT_TRUE(demo.Choose("Calculations..."));
    EXPECT_EQ(k0Shown, "0.0123456");
    EXPECT_EQ(p.calibr.K0, 0.0123456);
    EXPECT_EQ(Dump(p.calculations.definitions), Dump(calculations));
    EXPECT_EQ(Dump(p.globalQualDef), Dump(evaluations));
    EXPECT_FALSE(demo.doc->IsDirty()) << "nothing changed, nothing to save";
}

TEST(MethodMenus, WizardCategoriesEvaluateOnTheDemoPlateAndQuotesAreRefused)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        NextTo(sheet, QWizzAll::kCategoriesPage);
        TDialog& cat = *sheet.GetActivePage();
        cat.SetDlgItemText(102, "conc");
        cat.SetDlgItemText(300, "20");
        cat.SetDlgItemText(301, "60");
        cat.SetDlgItemText(200, "say \"no\"");
        cat.SetDlgItemText(201, "grey");
        cat.SetDlgItemText(202, "pos");
        demo.hook.AnswerMessageBox(IDOK);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage) << "a name with a quote is refused";
        cat.SetDlgItemText(200, "say no");
        Press(sheet, Sheet::ID_PSNEXT);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kPresentationPage);
        TDialog& pres = *sheet.GetActivePage();
        TTestHook::Click(*pres.GetDlgItem(110));  // matrix names, the grey zone's left empty
        pres.SetDlgItemText(400, "-");
        pres.SetDlgItemText(402, "+");
        NextTo(sheet, QWizzAll::kMeasurementPage);
        demo.hook.AnswerMessageBox(IDYES);  // no measurement filter
        Press(sheet, Sheet::ID_PSFINISH);
    });
    ASSERT_TRUE(demo.Choose("Calculations..."));
    ASSERT_EQ(demo.hook.Messages().size(), 2u);
    EXPECT_NE(demo.hook.Messages()[0].text.find("double quote"), std::string::npos);
    demo.doc->CalculatePlate();
    const std::string results = demo.Results();
    EXPECT_EQ(results.find("Empty value."), std::string::npos) << results;
    EXPECT_NE(results.find("ShortResult= |\nCategResult=grey|"), std::string::npos) << "the grey zone: " << results;
    EXPECT_NE(Dump(demo.Plate().globalQualDef).find("category(\"say no\",Thr1,"), std::string::npos);
}

TEST(MethodMenus, SheetFromThePlateMenuAsksAboutAnExpressionThatDoesNotParse)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    gMethodSheetPage = QAllPsh::pgCalculations;
    demo.hook.AnswerDialog(QAllPsh::kResId, 0, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        TTestHook::ProcessEvents();
        TDialog& page = *sheet.GetActivePage();
        auto& list = dynamic_cast<QVarList&>(*page.GetDlgItem(101));
        list.SetFocus();
        TTestHook::Key(VK_END);
        TTestHook::Type("1+*2");
        TTestHook::Key(VK_RETURN);
        demo.hook.AnswerMessageBox(IDNO);  // correct it
        sheet.SelectPage(QAllPsh::pgEvaluations);
        EXPECT_EQ(sheet.GetActiveIndex(), QAllPsh::pgCalculations) << "the user stays to correct it";
        auto& edit = dynamic_cast<TEdit&>(*page.GetDlgItem(102));
        EXPECT_TRUE(edit.HasFocus());
        int start = -1, end = -1;
        edit.GetSelection(start, end);
        EXPECT_EQ(start, 3) << "the caret stands where the parser stopped";
        demo.hook.AnswerMessageBox(IDYES);  // keep it after all
        sheet.SelectPage(QAllPsh::pgEvaluations);
        EXPECT_EQ(sheet.GetActiveIndex(), QAllPsh::pgEvaluations);
        sheet.SelectPage(QAllPsh::pgCalculations);
        sheet.SelectPage(QAllPsh::pgEvaluations);  // kept: not asked again
        sheet.PressOk();
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    ASSERT_EQ(demo.hook.Messages().size(), 2u);
    const std::string& text = demo.hook.Messages()[0].text;
    EXPECT_NE(text.find("fct2"), std::string::npos) << text;
    EXPECT_NE(text.find("1+*  >>  2"), std::string::npos) << text;
    EXPECT_EQ(Dump(demo.Plate().calculations.definitions), "blank=gblank\nfct2=1+*2\n");
    EXPECT_TRUE(demo.doc->IsDirty());
}

TEST(MethodMenus, CalibrationFromThePlateMenuOpensTheCalibrationDialog)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    int model = -1;
    demo.hook.AnswerDialog(QCalDlg::kResId, IDCANCEL, [&](TDialog& d) { model = dynamic_cast<QCalDlg&>(d).model; });
    ASSERT_TRUE(demo.Choose("Calibration..."));
    EXPECT_EQ(model, demo.Plate().calibr.model);
    EXPECT_EQ(demo.hook.DialogsRun(), std::vector<int>{QCalDlg::kResId});
}

TEST(MethodMenus, InverseCalculationFromTheCurveViewsToolsMenu)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    ASSERT_NE(demo.shell.app->ShowView("Standard"), nullptr);
    TTestHook::ProcessEvents();
    std::string yRange;
    demo.hook.AnswerDialog(InvCalDlg::kResId, IDCANCEL, [&](TDialog& d) { yRange = d.GetDlgItemText(InvCalDlg::kYRange); });
    TWindow& frame = *demo.shell.app->GetMainFrame();
    if (!TTestHook::ChooseMenuItem(frame, "Tools", "Inverse calculate...")) GTEST_SKIP() << "the curve view's menu is not on the bar";
    EXPECT_EQ(demo.hook.DialogsRun(), std::vector<int>{InvCalDlg::kResId});
    EXPECT_FALSE(yRange.empty());
}
