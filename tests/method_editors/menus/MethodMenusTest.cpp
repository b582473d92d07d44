// The method editors as a user reaches them: the main window's "Plate" menu opens the wizard,
// the method sheet and the calibration dialog on the demo plate; what they change reaches the
// plate, and a run that changes nothing leaves the method exactly as it was.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QToolTip>

#include <QListWidget>

#include <fstream>
#include <map>

#include "../../app/shell/ShellTestFixture.h"
#include "../MethodEditorsTestUtil.h"
#include "app/AppGlobals.h"
#include "app/AppSettings.h"
#include "app/TMyStatusBar.h"
#include "calibration_dialogs/InvCalDlg.h"
#include "calibration_dialogs/QCalDlg.h"
#include "document/QDoc.h"
#include "method_editors/CtxWzDlg.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QPageBlank.h"
#include "method_editors/QPageCalcEvalVal.h"
#include "method_editors/QHintText.h"
#include "method_editors/QSheetTabs.h"
#include "controls/QVarList.h"
#include "method_editors/QWizzAll.h"
#include "controls/TOkCancelGadgetWin.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "platform/gui/Control.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Gadget.h"
#include "platform/gui/HelpWindow.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;
using vyn::test::Dump;

namespace {

using Sheet = TPropertySheet;

// The demo plate open and calculated, in the running program.
struct DemoPlate {
    TTestHook hook;
    ShellFixture shell;
    QDoc* doc = nullptr;

    // plateText, when given, is written as a plate file of the data folder and opened instead.
    explicit DemoPlate(const std::string& plateText = "")
    {
        // Shown, as a user sees it: the mouse and the menu reach only a visible window.
        shell.app->GetMainFrame()->MoveWindow(0, 0, 1100, 800);
        shell.app->GetMainFrame()->ShowWindow(SW_SHOW);
        TTestHook::ProcessEvents();
        GetAppSettings().autoMakeAftLoad = 0;
        std::string file = shell.env.data + "/Demo.plt";
        if (!plateText.empty()) {
            file = shell.env.data + "/Own.plt";
            std::ofstream(file, std::ios::binary) << plateText;
        }
        doc = dynamic_cast<QDoc*>(shell.app->OpenPlate(file));
        GetAppSettings().autoMakeAftLoad = 1;
        if (doc) doc->CalculatePlate();
        TTestHook::ProcessEvents();
    }
    QPlate& Plate() { return doc->GetPlate(); }
    // The plate view's "Definition" menu while it is merged into the bar, else the main menu's.
    bool Choose(const char* item)
    {
        TWindow& frame = *shell.app->GetMainFrame();
        return ClickMenuItem(frame, "Definition", item) || ClickMenuItem(frame, "Plate", item);
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

// A click on the dialog's button of the id.
void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

// Next until the page is shown (or eight presses did not reach it).
void NextTo(TPropertySheet& sheet, int page)
{
    for (int i = 0; i < 8 && sheet.GetActiveIndex() != page; ++i) Press(sheet, TPropertySheet::ID_PSNEXT);
}

// A click on the sheet's tab of the page.
void ClickTab(QAllPsh& sheet, int page)
{
    auto* tabs = dynamic_cast<QSheetTabs*>(sheet.GetDlgItem(QAllPsh::kTabId));
    ASSERT_NE(tabs, nullptr);
    const TRect r = tabs->TabRect(page);
    EXPECT_TRUE(ClickReaches(*tabs, (r.left + r.right) / 2, (r.top + r.bottom) / 2)) << "tab " << page;
    TTestHook::ProcessEvents();
}

// A click into the edit of the id, its text taken whole and the text typed over it.
void TypeInto(TDialog& d, int id, const std::string& text)
{
    TWindow* edit = d.GetDlgItem(id);
    ASSERT_NE(edit, nullptr) << id;
    EXPECT_TRUE(TypeIntoField(*edit, text)) << id;
}

// The first control of the window that takes the keyboard.
TWindow* FirstFocusable(TWindow& page)
{
    for (TWindow* c : page.Children())
        if (c->Widget() && c->IsWindowVisible() && c->IsWindowEnabled() && (c->Widget()->focusPolicy() & Qt::TabFocus))
            return c;
    return nullptr;
}

// The help topic that F1 pressed on the window shows.
int HelpOnF1(TWindow& w)
{
    w.SetFocus();
    TTestHook::ProcessEvents();
    ResetLastHelpTopic();
    PressKeys(VK_F1);
    TTestHook::ProcessEvents();
    return LastHelpTopic();
}

// Whether the text marks a letter with a single '&'.
bool MarksALetter(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return true;
        ++i;
    }
    return false;
}

// The labels below the window that would show a marked letter as a literal '&'; marked counts
// those that underline it.
void LiteralAmpersands(TWindow& w, std::vector<std::string>& literal, int& marked)
{
    for (TWindow* c : w.Children()) {
        if (dynamic_cast<TStatic*>(c)) {
            auto* label = qobject_cast<QLabel*>(c->Widget());
            if (!label || !MarksALetter(label->text().toStdString())) continue;
            if (label->buddy()) ++marked;
            else literal.push_back(label->text().toStdString());
        } else if (dynamic_cast<QHintText*>(c) && MarksALetter(c->GetWindowText())) {
            literal.push_back(c->GetWindowText());  // drawn as it stands
        }
        LiteralAmpersands(*c, literal, marked);
    }
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
        PressKeys(VK_END);
        TypeText("od>0");
        PressKeys(VK_RETURN);
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
        TypeInto(cat, 102, "conc");
        TypeInto(cat, 300, "20");
        TypeInto(cat, 301, "60");
        TypeInto(cat, 200, "say \"no\"");
        TypeInto(cat, 201, "grey");
        TypeInto(cat, 202, "pos");
        demo.hook.AnswerMessageBox(IDOK);
        Press(sheet, Sheet::ID_PSNEXT);
        EXPECT_EQ(sheet.GetActiveIndex(), QWizzAll::kCategoriesPage) << "a name with a quote is refused";
        TypeInto(cat, 200, "say no");
        Press(sheet, Sheet::ID_PSNEXT);
        ASSERT_EQ(sheet.GetActiveIndex(), QWizzAll::kPresentationPage);
        TDialog& pres = *sheet.GetActivePage();
        ASSERT_TRUE(ClickReaches(*pres.GetDlgItem(110)));  // matrix names, the grey zone's left empty
        TypeInto(pres, 400, "-");
        TypeInto(pres, 402, "+");
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
        PressKeys(VK_END);
        TypeText("1+*2");
        PressKeys(VK_RETURN);
        demo.hook.AnswerMessageBox(IDNO);  // correct it
        ClickTab(sheet, QAllPsh::pgEvaluations);
        EXPECT_EQ(sheet.GetActiveIndex(), QAllPsh::pgCalculations) << "the user stays to correct it";
        auto& edit = dynamic_cast<TEdit&>(*page.GetDlgItem(102));
        EXPECT_TRUE(edit.HasFocus());
        int start = -1, end = -1;
        edit.GetSelection(start, end);
        EXPECT_EQ(start, 3) << "the caret stands where the parser stopped";
        demo.hook.AnswerMessageBox(IDYES);  // keep it after all
        ClickTab(sheet, QAllPsh::pgEvaluations);
        EXPECT_EQ(sheet.GetActiveIndex(), QAllPsh::pgEvaluations);
        ClickTab(sheet, QAllPsh::pgCalculations);
        ClickTab(sheet, QAllPsh::pgEvaluations);  // kept: not asked again
        Press(sheet, IDOK);
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
    std::string yRange, concentration;
    demo.hook.AnswerDialog(InvCalDlg::kResId, IDCANCEL, [&](TDialog& d) {
        yRange = d.GetDlgItemText(InvCalDlg::kYRange);
        EXPECT_TRUE(ClickReaches(*d.GetDlgItem(InvCalDlg::kYEdit)));
        TypeText("1");
        TTestHook::ProcessEvents();
        concentration = d.GetDlgItemText(InvCalDlg::kXEdit);
    });
    TWindow& frame = *demo.shell.app->GetMainFrame();
    ASSERT_TRUE(ClickMenuItem(frame, "Tools", "Inverse calculate...")) << "the curve view's menu on the bar";
    EXPECT_EQ(demo.hook.DialogsRun(), std::vector<int>{InvCalDlg::kResId});
    EXPECT_FALSE(yRange.empty());
    EXPECT_FALSE(concentration.empty()) << "a signal typed on the demo curve gives its concentration";
}

TEST(MethodMenus, F1OnTheSheetAndTheWizardShowsTheHelpOfThePage)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    gMethodSheetPage = QAllPsh::pgBlank;
    std::vector<int> sheetTopics;
    demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        for (int i = 0; i < QAllPsh::pgCount; ++i) {
            ClickTab(sheet, i);
            TWindow* control = FirstFocusable(*sheet.GetActivePage());
            ASSERT_NE(control, nullptr) << "page " << i;
            sheetTopics.push_back(HelpOnF1(*control));
        }
        sheetTopics.push_back(HelpOnF1(*sheet.GetDlgItem(QAllPsh::kTabId)));
        sheetTopics.push_back(HelpOnF1(*sheet.GetDlgItem(IDOK)));
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    EXPECT_EQ(sheetTopics, (std::vector<int>{3121, 3123, 3122, 3125, 3124, 3127, 3120, 3128}))
        << "Blanking, Curve-fit, Calculations, Evaluations, Validations, Filters; the tabs; OK";

    std::vector<int> pages, wizardTopics;
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        for (int step = 0; step < 8; ++step) {
            pages.push_back(sheet.GetActiveIndex());
            TWindow* control = FirstFocusable(*sheet.GetActivePage());
            wizardTopics.push_back(control ? HelpOnF1(*control) : -1);
            if (sheet.GetActiveIndex() == QWizzAll::kMeasurementPage) break;
            Press(sheet, Sheet::ID_PSNEXT);
        }
    });
    ASSERT_TRUE(demo.Choose("Calculations..."));
    EXPECT_EQ(pages.back(), QWizzAll::kMeasurementPage);
    EXPECT_EQ(wizardTopics, std::vector<int>(pages.size(), QWizzAll::kHelpId)) << "every page of the wizard";
    EXPECT_TRUE(demo.hook.UnansweredDialogs() == 0);
}

TEST(MethodMenus, ConfirmAndCancelButtonsShowTheirTipAndStatusHint)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    ASSERT_NE(gStatusBar, nullptr);
    const std::string before = "Method of the plate";
    gMethodSheetPage = QAllPsh::pgCalculations;
    std::vector<std::string> tips, hints;
    demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        TDialog& page = *dynamic_cast<QAllPsh&>(d).GetActivePage();
        TOkCancelGadgetWin* pair = nullptr;
        for (TWindow* c : page.Children())
            if (auto* p = dynamic_cast<TOkCancelGadgetWin*>(c)) pair = p;
        ASSERT_NE(pair, nullptr);
        ASSERT_TRUE(pair->IsWindowVisible());
        gStatusBar->SetText(before);
        // Qt shows tips in the active window only; the sheet becomes it as it opens.
        ASSERT_TRUE(WaitUntil([&d] { return d.Widget()->isActiveWindow(); }));
        // The mouse comes across the page onto each button.
        MoveMouseTo(ScreenPoint(page, 12, 12));
        for (TGadget* g : pair->Gadgets()) {
            const TRect r = g->GetBounds();
            // The mouse moves onto the button and rests there.
            tips.push_back(HoverAt(ScreenPoint(*pair, r.left + r.Width() / 2, r.top + r.Height() / 2)));
            hints.push_back(StatusLineText(*gStatusBar));
        }
        // And leaves them for the page, back over the first and off again (the sheet opened
        // from a menu click takes Qt's enter and leave tracking only after the pointer has
        // once left a button for the page).
        MoveMouseTo(ScreenPoint(page, 10, 10));
        const TRect first = pair->Gadgets()[0]->GetBounds();
        MoveMouseTo(ScreenPoint(*pair, first.left + 3, first.top + 3));
        MoveMouseTo(ScreenPoint(page, 10, 10));
        TTestHook::ProcessEvents();
        hints.push_back(StatusLineText(*gStatusBar));
        QToolTip::hideText();
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    EXPECT_EQ(tips, (std::vector<std::string>{"Cancel", "Confirm"}));
    EXPECT_EQ(hints, (std::vector<std::string>{"Cancel entry", "Confirm entry", before}))
        << "the main window's status bar explains the button under the mouse, then shows its text again";
}

TEST(MethodMenus, LabelsOfEveryPageUnderlineTheirMarkedLetter)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    std::vector<std::string> literal;
    int marked = 0;
    gMethodSheetPage = QAllPsh::pgBlank;
    demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        for (int i = 0; i < QAllPsh::pgCount; ++i) ClickTab(sheet, i);
        LiteralAmpersands(sheet, literal, marked);
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    // Thresholds make the wizard show its presentation page too.
    demo.Plate().calculations.definitions.push_back({"Thr1", "0.5"});
    std::vector<int> pages;
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        for (int step = 0; step < 8; ++step) {
            pages.push_back(sheet.GetActiveIndex());
            if (sheet.GetActiveIndex() == QWizzAll::kMeasurementPage) break;
            Press(sheet, Sheet::ID_PSNEXT);
        }
        LiteralAmpersands(sheet, literal, marked);
    });
    ASSERT_TRUE(demo.Choose("Calculations..."));
    EXPECT_EQ(pages.size(), 6u) << "every page of the wizard was shown";
    EXPECT_EQ(literal, std::vector<std::string>{}) << "labels showing a literal '&'";
    EXPECT_GT(marked, 0) << "the composition page's \"&Formats\" underlines its letter";
}

// The expression edits of the method sheet offer the Expression Wizard to the right button, to
// Shift+F10 and to the menu key; it opens over the edit and writes into it.
TEST(MethodMenus, TheSheetsExpressionEditsOpenTheExpressionWizardByMouseAndKeys)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    // What the wizard shows when it opens, and the edit it is opened over; it inserts "x".
    std::vector<std::string> opened;
    auto wizard = [&opened](TDialog& d) {
        opened.push_back(d.Widget()->isVisible() ? d.Widget()->windowTitle().toStdString() : "(hidden)");
        opened.back() += " over " + std::to_string(d.GetParent() ? d.GetParent()->GetId() : 0);
        // The keyboard in the wizard's text (a click there can be taken by the press that
        // opened the wizard, still held while its loop runs), the user types at its end.
        d.GetDlgItem(107)->SetFocus();
        PressKeys(VK_END);
        TypeText("x");
        PressKeys(VK_RETURN);
    };
    // The three ways of asking, on the edit of the id.
    auto ask = [&demo, &wizard](TDialog& page, int id) {
        TWindow& edit = *page.GetDlgItem(id);
        ClickReaches(edit);
        demo.hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, wizard);
        EXPECT_TRUE(RightClickReaches(edit));
        demo.hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, wizard);
        PressKey(edit, VK_F10, MK_SHIFT);
        demo.hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, wizard);
        PressKey(edit, VK_APPS);
        TTestHook::ProcessEvents();
        return edit.GetWindowText();
    };
    const std::string caption = "Expression Wizard over ";
    std::map<int, std::string> written;
    for (int shown : {QAllPsh::pgBlank, QAllPsh::pgCalculations, QAllPsh::pgEvaluations, QAllPsh::pgValidations}) {
        gMethodSheetPage = shown;
        opened.clear();
        demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
            TDialog& page = *dynamic_cast<QAllPsh&>(d).GetActivePage();
            if (shown == QAllPsh::pgBlank) {
                ASSERT_TRUE(ClickReaches(*page.GetDlgItem(QPageBlank::kGeneral)));
                written[QPageBlank::kBlankEdit] = ask(page, QPageBlank::kBlankEdit);
                written[QPageBlank::kTransformEdit] = ask(page, QPageBlank::kTransformEdit);
            } else {
                written[shown] = ask(page, QPageCalcEvalVal::kEdit);
            }
        });
        ASSERT_TRUE(demo.Choose("Advanced calculations..."));
        std::vector<std::string> expected;
        for (int id : shown == QAllPsh::pgBlank ? std::vector<int>{QPageBlank::kBlankEdit, QPageBlank::kTransformEdit}
                                                : std::vector<int>{QPageCalcEvalVal::kEdit})
            expected.insert(expected.end(), 3, caption + std::to_string(id));
        EXPECT_EQ(opened, expected) << "page " << shown << ": right click, Shift+F10, menu key";
    }
    for (const auto& [edit, text] : written)
        EXPECT_NE(text.find("x x x"), std::string::npos) << edit << " shows \"" << text << "\"";
    EXPECT_EQ(demo.hook.UnansweredDialogs(), 0);
}

// Three control groups, each of two wells: the Expression Wizard's "Controls" category offers
// every one of them, as a vector, and each once more as its average.
TEST(MethodMenus, TheControlsCategoryOffersEveryControlGroup)
{
    DemoPlate demo("MNAM 'Controls';'';\r\n"
                   "DSEP '.';\r\n"
                   "DESC G;Blk;32768;'Blank';\r\n"
                   "DESC G;CL;255;'Low control';\r\n"
                   "DESC G;CH;65280;'High control';\r\n"
                   "BLNK 0;'';'';\r\n"
                   "FDEF low;'CL';\r\n"
                   "CALJ 1;0;0;0;0;0;1;\r\n"
                   "SMGL '';6;Blk;84;Blk;85;CL;2;CL;14;CH;26;CH;38;\r\n"
                   "QEND\r\n");
    ASSERT_NE(demo.doc, nullptr);
    gMethodSheetPage = QAllPsh::pgCalculations;
    std::vector<std::string> rows;
    bool wizardRan = false;
    demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        TWindow& edit = *dynamic_cast<QAllPsh&>(d).GetActivePage()->GetDlgItem(QPageCalcEvalVal::kEdit);
        ASSERT_TRUE(ClickReaches(edit));
        demo.hook.AnswerDialog(CtxWzDlg::kResId, IDCANCEL, [&](TDialog& w) {
            wizardRan = true;
            auto* categories = qobject_cast<QListWidget*>(w.GetDlgItem(101)->Widget());
            ASSERT_NE(categories, nullptr);
            const std::vector<std::string> names = ListRows(*w.GetDlgItem(101));
            const auto at = std::find(names.begin(), names.end(), "Controls");
            ASSERT_NE(at, names.end()) << "no category \"Controls\"";
            const QRect row = categories->visualItemRect(categories->item(static_cast<int>(at - names.begin())));
            ClickAt(categories->viewport()->mapToGlobal(row.center()));
            TTestHook::ProcessEvents();
            rows = ListRows(*w.GetDlgItem(102));
            PressKeys(VK_ESCAPE);
        });
        EXPECT_TRUE(RightClickReaches(edit));
        TTestHook::ProcessEvents();
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    ASSERT_TRUE(wizardRan);
    std::vector<std::string> names;
    for (const std::string& r : rows) names.push_back(r.substr(0, r.find_first_of("\t ")));
    std::string shown;
    for (const std::string& r : rows) shown += "[" + r + "] ";
    EXPECT_EQ(names, (std::vector<std::string>{"Blk", "CL", "CH", "avg(Blk)", "avg(CL)", "avg(CH)"})) << shown;
    EXPECT_EQ(demo.hook.UnansweredDialogs(), 0);
}

// Calculations page: a click on the row "blank" gives its edit the caret and lights the
// Confirm/Cancel pair; a right click on the edit opens the Expression Wizard, which greys the
// pair while it is up. Closed with Esc, inserting nothing, the edit has the caret again and
// the pair is lit again, as after a click.
TEST(MethodMenus, ThePairLightsAgainWhenTheExpressionWizardClosesWithoutInserting)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    gMethodSheetPage = QAllPsh::pgCalculations;
    struct Seen {
        bool editFocused = false;
        std::vector<bool> lit;  // the pair's gadgets, cancel then confirm
    };
    auto pairOf = [](TDialog& page) -> TOkCancelGadgetWin* {
        for (TWindow* c : page.Children())
            if (auto* p = dynamic_cast<TOkCancelGadgetWin*>(c)) return p;
        return nullptr;
    };
    auto seen = [](TWindow& edit, TOkCancelGadgetWin& pair) {
        Seen s;
        s.editFocused = edit.HasFocus();
        for (TGadget* g : pair.Gadgets()) s.lit.push_back(g->GetEnabled());
        return s;
    };
    Seen afterClick, inWizard, afterWizard;
    bool wizardRan = false;
    demo.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        TDialog& page = *dynamic_cast<QAllPsh&>(d).GetActivePage();
        auto& list = *dynamic_cast<QVarList*>(page.GetDlgItem(QPageCalcEvalVal::kList));
        TWindow& edit = *page.GetDlgItem(QPageCalcEvalVal::kEdit);
        TOkCancelGadgetWin* pair = pairOf(page);
        ASSERT_NE(pair, nullptr);
        const std::vector<std::string> rows = ListRows(list);
        int row = -1;
        for (std::size_t i = 0; i < rows.size() && row < 0; ++i)
            if (rows[i].find("blank") != std::string::npos) row = static_cast<int>(i);
        ASSERT_GE(row, 0) << "no row \"blank\" on the calculations page";
        // On the expression, right of the name (a click on the name would rename).
        const int h = list.RowHeight();
        ASSERT_TRUE(ClickReaches(list, list.GetClientRect().Width() * 3 / 4, (row - list.TopIndex()) * h + h / 2));
        ASSERT_TRUE(ClickReaches(edit));
        TTestHook::ProcessEvents();
        afterClick = seen(edit, *pair);
        demo.hook.AnswerDialog(CtxWzDlg::kResId, 0, [&](TDialog&) {
            wizardRan = true;
            inWizard = seen(edit, *pair);
            PressKeys(VK_ESCAPE);
        });
        EXPECT_TRUE(RightClickReaches(edit));
        TTestHook::ProcessEvents();
        afterWizard = seen(edit, *pair);
    });
    ASSERT_TRUE(demo.Choose("Advanced calculations..."));
    ASSERT_TRUE(wizardRan);
    EXPECT_TRUE(afterClick.editFocused);
    EXPECT_EQ(afterClick.lit, (std::vector<bool>{true, true})) << "a click into the edit lights the pair";
    EXPECT_EQ(inWizard.lit, (std::vector<bool>{false, false})) << "the pair is grey while the wizard is up";
    EXPECT_TRUE(afterWizard.editFocused) << "the edit has the caret again";
    EXPECT_EQ(afterWizard.lit, (std::vector<bool>{true, true})) << "the pair stays grey after the wizard";
    EXPECT_EQ(demo.hook.UnansweredDialogs(), 0);
}

// The wizard's own Back, Next, Finish and Cancel lead F1 to the wizard's topic, as the sheet's
// OK, Cancel and Print lead to theirs, never on to the main window's.
TEST(MethodMenus, F1OnTheWizardsOwnButtonsShowsTheWizardsTopic)
{
    DemoPlate demo;
    ASSERT_NE(demo.doc, nullptr);
    std::map<std::string, int> topics;
    demo.hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<Sheet&>(d);
        TTestHook::ProcessEvents();
        Press(sheet, Sheet::ID_PSNEXT);  // Back is greyed on the first page
        topics["Back"] = HelpOnF1(*sheet.GetDlgItem(Sheet::ID_PSBACK));
        topics["Next"] = HelpOnF1(*sheet.GetDlgItem(Sheet::ID_PSNEXT));
        topics["Cancel"] = HelpOnF1(*sheet.GetDlgItem(IDCANCEL));
        NextTo(sheet, QWizzAll::kMeasurementPage);
        topics["Finish"] = HelpOnF1(*sheet.GetDlgItem(Sheet::ID_PSFINISH));
        CloseHelpWindow();
    });
    ASSERT_TRUE(demo.Choose("Calculations..."));
    const int w = QWizzAll::kHelpId;
    EXPECT_EQ(topics, (std::map<std::string, int>{{"Back", w}, {"Cancel", w}, {"Finish", w}, {"Next", w}}));
    EXPECT_EQ(demo.hook.UnansweredDialogs(), 0);
}
