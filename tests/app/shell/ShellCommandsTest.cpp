// The shell's commands over the real main window: the plate view in its frame with its gadgets
// on the bars, the command enablers with and without a plate, the options dialog saved to the
// settings file, the presentation dialog's copy-back and the blank formula texts.
#include <gtest/gtest.h>

#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/BlankFormula.h"
#include "app/QAppDlg.h"
#include "app/QChView.h"
#include "app/QDefPres.h"
#include "app/QPViewGadgets.h"
#include "app/QPictButtGadget.h"
#include "app/RwMainWindow.h"
#include "app/ShellDocDialogs.h"
#include "app/TMyControlBar.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "controls/QGEdit.h"
#include "document/MethodPaths.h"
#include "document/QDoc.h"
#include "plate/Profile.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/core/StringTable.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QPView.h"

using namespace vyn;

namespace {

using Shell = ShellFixture;

void ClickRadio(TDialog& d, int id)
{
    auto* b = dynamic_cast<TButton*>(d.GetDlgItem(id));
    ASSERT_NE(b, nullptr) << id;
    EXPECT_TRUE(ClickReaches(*b));
}

bool IsChecked(TDialog& d, int id)
{
    auto* b = dynamic_cast<TCheckBox*>(d.GetDlgItem(id));
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

}  // namespace

TEST(ShellCommandsTest, PlateViewPutsItsGadgetsOnTheBarsAndTakesThemOff)
{
    TTestHook hook;
    Shell s;
    TDocument* doc = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(doc, nullptr);
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr) << "the plate opens in its plate matrix view";
    EXPECT_EQ(gCurrentDoc, doc);
    TGadget* calc = PlateViewGadgets().ButtonFor(cmCalculate);
    TGadget* entry = PlateViewGadgets().ButtonFor(cmDataEntry);
    ASSERT_NE(calc, nullptr);
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(gToolBar->Contains(*calc));
    EXPECT_TRUE(gToolPalette->Contains(*entry));
    EXPECT_EQ(gToolBar->Gadgets()[2], gToolBarGadgets[0]) << "the view's gadgets follow the anchors";
    EXPECT_EQ(gModeButton->GetCommandId(), static_cast<int>(cmLayoutMode));

    // Data entry shows the entry box on the tool bar; display mode takes it off again.
    view->SendCommand(cmDataEntry);
    EXPECT_TRUE(view->Bars().entryBoxShown);
    bool boxOnBar = false;
    for (TGadget* g : gToolBar->Gadgets())
        if (auto* c = dynamic_cast<TControlGadget*>(g)) boxOnBar |= &c->GetControl() == static_cast<TWindow*>(view->EntryBox());
    EXPECT_TRUE(boxOnBar);
    EXPECT_FALSE(gToolBar->Contains(*calc));

    s.app->GetMainFrame()->SendCommand(CM_FILECLOSE);
    TTestHook::ProcessEvents();
    EXPECT_EQ(gCurrentDoc, nullptr);
    EXPECT_EQ(gToolBar->GadgetCount(), 5) << "only the neutral gadgets stay";
    EXPECT_EQ(gToolPalette->GadgetCount(), 1);
    EXPECT_EQ(gModeButton->GetCommandId(), static_cast<int>(CM_MODEBUTTON));
    EXPECT_EQ(gModeButton->GetPicture(), 0);
}

TEST(ShellCommandsTest, EnablersFollowTheCurrentPlate)
{
    TTestHook hook;
    Shell s;
    struct Row {
        const char* name;
        unsigned id;
        bool withoutPlate;
        bool withPlate;
    };
    GetAppSettings().expFixes = 0;
    const Row rows[] = {
        {"new plate", CM_FILENEW, true, true},
        {"options", CM_APPLICATION, true, true},
        {"save", CM_FILESAVE, false, true},
        {"names", CM_NAMES, false, true},
        {"show status", CM_SHOWSTATUS, false, true},
        {"plate presentation", CM_DATAPRESENTATION, false, true},
        {"sample list", CM_SHOWLIST, false, true},
        {"export results", CM_EXPORTRESULTS, false, true},
        {"import identifications", CM_IMPORTIDS, false, true},
        {"calculate after the automatic calculation", CM_CALCULATE, false, false},
        {"calibrate after the fit", CM_CALIBRATE, false, false},
        {"measure needs a plate to fill", CM_MEASURE, false, true},
    };
    for (const Row& r : rows) EXPECT_EQ(s.Enabled(r.id), r.withoutPlate) << r.name << " without a plate";
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    for (const Row& r : rows) EXPECT_EQ(s.Enabled(r.id), r.withPlate) << r.name << " with the demo plate";

    // Only fixed samples to exchange: both commands grey unless fixed samples take part.
    QPlate& p = gCurrentDoc->GetPlate();
    const int saved = p.fixedCount;
    p.fixedCount = p.sampleCount;
    EXPECT_FALSE(s.Enabled(CM_EXPORTRESULTS));
    EXPECT_FALSE(s.Enabled(CM_IMPORTIDS));
    GetAppSettings().expFixes = 1;
    EXPECT_TRUE(s.Enabled(CM_EXPORTRESULTS));
    p.fixedCount = saved;
    GetAppSettings().expFixes = 0;
}

TEST(ShellCommandsTest, StatusCommandShowsTheSummaryInTheStatusDialog)
{
    TTestHook hook;
    Shell s;
    GetAppSettings().autoMakeAftLoad = 0;
    TDocument* doc = s.app->OpenPlate(s.env.data + "/Demo.plt");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(vynwApp::NeedsCalculation(*gCurrentDoc)) << "not calculated on load";
    EXPECT_TRUE(s.Enabled(CM_CALCULATE));
    // Every Status dialog is read and closed with its first button.
    std::vector<std::string> texts, labels;
    auto read = [&](TDialog& d) {
        texts.push_back(d.GetDlgItemText(101));
        labels.push_back(d.GetDlgItemText(102));
        d.SendCommand(102);
    };
    for (int i = 0; i < 4; ++i) hook.AnswerDialog(8267, 0, read);
    s.app->GetMainFrame()->SendCommand(CM_CALCULATE);
    EXPECT_FALSE(vynwApp::NeedsCalculation(*gCurrentDoc));
    EXPECT_GT(gCurrentDoc->GetPlate().samplesWithResults, 0);
    EXPECT_FALSE(s.Enabled(CM_CALCULATE));
    const std::size_t before = labels.size();
    s.app->GetMainFrame()->SendCommand(CM_SHOWSTATUS);
    ASSERT_EQ(labels.size(), before + 1);
    EXPECT_EQ(labels.back(), "Close") << "information mode";
    EXPECT_FALSE(texts.back().empty());
    GetAppSettings().autoMakeAftLoad = 1;
}

TEST(ShellCommandsTest, OptionsDialogSavesToTheSettingsFileOnlyWithSave)
{
    TTestHook hook;
    Shell s;
    QAppDlg::ResetLastPage();
    const char oldDecimal = gDecimalChar;
    const AppSettings before = GetAppSettings();

    // Cancel leaves everything, but the page shown is remembered for the next dialog.
    hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [](TDialog& d) {
        ClickRadio(d, 104);
        d.SetDlgItemText(506, "99");
    });
    s.app->GetMainFrame()->SendCommand(CM_APPLICATION);
    EXPECT_EQ(QAppDlg::LastPage(), 3);
    EXPECT_EQ(GetAppSettings().cellValLen, before.cellValLen);

    int openedOn = -1;
    std::string tName, tabName, wideWidth;
    hook.AnswerDialog(QAppDlg::kResId, IDOK, [&](TDialog& d) {
        auto& dlg = dynamic_cast<QAppDlg&>(d);
        openedOn = dlg.CurrentPage();
        ClickRadio(d, 101);
        ClickRadio(d, 203);  // comma
        ClickRadio(d, 103);
        d.SetDlgItemText(403, "T");
        tName = d.GetDlgItemText(404);
        d.SetDlgItemText(403, "t");
        tabName = d.GetDlgItemText(404);
        d.SetDlgItemText(403, "T");
        ClickRadio(d, 402);  // width
        d.SetDlgItemText(406, "128");
        ClickRadio(d, 414);  // fixed
        d.SetDlgItemText(416, "3");
        d.SetDlgItemText(421, "");
        dlg.SendCommand(417, 0);
        wideWidth = d.GetDlgItemText(421);
        ClickRadio(d, 106);
        ClickRadio(d, 704);
        EXPECT_TRUE(IsChecked(d, 402)) << "the page buttons do not take other groups' checks";
        EXPECT_TRUE(IsChecked(d, 203));
    });
    s.app->GetMainFrame()->SendCommand(CM_APPLICATION);
    EXPECT_EQ(openedOn, 3) << "opens where the previous dialog was closed, also after Cancel";
    EXPECT_EQ(tName, "") << "a typed T has no name";
    EXPECT_EQ(tabName, "tabulator");
    const AppSettings& now = GetAppSettings();
    EXPECT_EQ(gDecimalChar, ',');
    EXPECT_EQ(now.expSeparator, '\t');
    EXPECT_EQ(now.expFixFields, 1);
    EXPECT_EQ(now.expIdLen, 128) << "the widest there is";
    EXPECT_EQ(now.expFormat.mode, nmFixed);
    EXPECT_EQ(now.expFormat.decimals, 3);
    EXPECT_EQ(now.expFixes, 1);
    EXPECT_EQ(ProfileGetInt(kAppSection, "comma", 0), 1) << "saved to the settings file at once";
    EXPECT_EQ(ProfileGetInt(kAppSection, "exp_id_len", 0), 128);
    EXPECT_EQ(ProfileGetInt(kAppSection, "exp_separator", 0), 9);
    EXPECT_EQ(ProfileGetInt(kAppSection, "exp_fixes", 0), 1);

    // A width of 500 in the settings opens clamped.
    GetAppSettings().expIdLen = 500;
    std::string shownWidth;
    hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [&](TDialog& d) { shownWidth = d.GetDlgItemText(406); });
    s.app->GetMainFrame()->SendCommand(CM_APPLICATION);
    EXPECT_EQ(shownWidth, "128");
    gDecimalChar = oldDecimal;
    GetAppSettings() = before;
    QAppDlg::ResetLastPage();
}

TEST(ShellCommandsTest, OptionsDialogRefusesAnEmptyExportSeparator)
{
    TTestHook hook;
    Shell s;
    s.app->ShowMainWindow();
    const AppSettings before = GetAppSettings();
    bool stayed = false;
    int pageShown = -1;
    hook.AnswerMessageBox(IDOK);
    hook.AnswerDialog(QAppDlg::kResId, 0, [&](TDialog& d) {
        auto& dlg = dynamic_cast<QAppDlg&>(d);
        ClickRadio(d, 104);
        d.SetDlgItemText(503, "");
        ClickRadio(d, 101);
        dlg.SendCommand(IDOK, BN_CLICKED, dlg.GetDlgItem(IDOK));
        stayed = !dlg.HasEnded();
        pageShown = dlg.CurrentPage();
        d.SetDlgItemText(503, ";");
        dlg.SendCommand(IDOK, BN_CLICKED, dlg.GetDlgItem(IDOK));
    });
    ASSERT_TRUE(ChooseMenuItem(*s.app->GetMainFrame(), CM_APPLICATION));
    EXPECT_TRUE(stayed) << "OK with no separator keeps the dialog open";
    EXPECT_EQ(pageShown, 3) << "on the page of the empty separator";
    ASSERT_EQ(hook.Messages().size(), 1u);
    EXPECT_EQ(hook.Messages()[0].text, GetResStringStd(21096));
    EXPECT_EQ(GetAppSettings().cellSeparator, ';');
    EXPECT_EQ(ProfileGetInt(kAppSection, "cell_separator", 0), ';');
    GetAppSettings() = before;
}

TEST(ShellCommandsTest, DataEntryOnBothLayersAsksWhichAndTakesMeasured)
{
    TTestHook hook;
    Shell s;
    s.app->ShowMainWindow();
    ASSERT_NE(s.app->OpenPlate(s.env.data + "/Demo.plt"), nullptr);
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    // The measured layer shown beside the data layer: the entry has to ask which one.
    view->SetLayers(view->Layers | plData | plMeasured);
    ASSERT_EQ(view->Layers & (plData | plMeasured), unsigned(plData | plMeasured));
    bool transformedFirst = false;
    hook.AnswerDialog(QChView::kResId, IDOK, [&](TDialog& d) {
        transformedFirst = static_cast<TCheckBox*>(d.GetDlgItem(QChView::IDC_TRANSFORMED))->GetCheck() == TCheckBox::BF_CHECKED;
        ClickRadio(d, QChView::IDC_MEASURED);
    });
    // The palette's data entry button reaches the view once the window layer routes gadget
    // commands to the active view; until then the command goes to the view's window.
    if (!ClickGadget(*gToolPalette, 2472) || hook.DialogsRun().empty()) view->SendCommand(2472);
    TTestHook::ProcessEvents();
    ASSERT_EQ(hook.DialogsRun(), std::vector<int>{QChView::kResId});
    EXPECT_TRUE(transformedFirst);
    EXPECT_EQ(view->Mode, pmDataEntry);
    EXPECT_EQ(view->EntryLayer, unsigned(plMeasured)) << "measured data can be chosen";
}

TEST(ShellCommandsTest, PresentationDialogCopiesBackOnlyOnOk)
{
    TTestHook hook;
    Shell s;
    ShellDocDialogs ui(s.app->GetMainFrame());
    PresentationData data;
    data.resultMode = false;
    data.fieldWidth = 24;
    data.units = "ng/ml";
    bool unitsVisible = true;
    std::string sample;
    hook.AnswerDialog(QDefPres::kResId, IDOK, [&](TDialog& d) {
        unitsVisible = d.GetDlgItem(113)->IsWindowVisible();
        ClickRadio(d, 103);
        d.SetDlgItemText(104, "3");
        sample = d.GetDlgItemText(109);
        d.SetDlgItemText(110, "10");
    });
    EXPECT_EQ(ui.RunPresentation(data), IDOK);
    EXPECT_FALSE(unitsVisible) << "data mode hides the units";
    EXPECT_EQ(data.fieldWidth, 10) << "the narrowest there is";
    EXPECT_EQ(data.format.mode, nmFixed);
    EXPECT_EQ(data.format.decimals, 3);
    EXPECT_EQ(sample, "-3.142");
    EXPECT_EQ(data.units, "ng/ml");

    PresentationData results = data;
    results.resultMode = true;
    std::string caption;
    hook.AnswerDialog(QDefPres::kResId, IDCANCEL, [&](TDialog& d) {
        caption = d.GetWindowText();
        d.SetDlgItemText(113, "IU");
        d.SetDlgItemText(110, "200");
    });
    EXPECT_EQ(ui.RunPresentation(results), IDCANCEL);
    EXPECT_EQ(caption, "Results Presentation");
    EXPECT_EQ(results.units, "ng/ml") << "Cancel copies nothing back";
    EXPECT_EQ(results.fieldWidth, 10);
}

TEST(ShellCommandsTest, BlankFormulaClassification)
{
    struct Row {
        const char* name;
        const char* text;
        int kind;
    };
    const Row rows[] = {
        {"empty", "", 0},
        {"only blanks", "   ", 0},
        {"the name", "Blk", 1},
        {"the name and blanks", "Blk  ", 1},
        {"the name and a digit", "Blk1", 3},
        {"averaged with blanks", "  avg ( Blk )", 2},
        {"averaged tight", "avg(Blk)", 2},
        {"averaged, missing parenthesis", "avg( Blk", 3},
        {"averaged, more after it", "avg( Blk ) + 1", 3},
        {"another name", "Neg", 3},
        {"case counts", "blk", 3},
    };
    for (const Row& r : rows) EXPECT_EQ(ClassifyBlankFormula(r.text, "Blk"), r.kind) << r.name;
    EXPECT_EQ(BlankFormulaText(true, "Blk"), "avg( Blk )");
    EXPECT_EQ(ClassifyBlankFormula(BlankFormulaText(true, "Blk"), "Blk"), 2);
    EXPECT_EQ(BlankFormulaText(false, "Blk"), "Blk");
}
