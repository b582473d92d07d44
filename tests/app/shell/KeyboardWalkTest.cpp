// The dialogs a keyboard user meets over the demo plate, opened from the menus and walked with
// the keys alone: Tab round every control and Shift+Tab back, each label's marked letter, the
// wizard's pages one after the other and the method sheet's pages turned with Ctrl+Tab. These
// are the dialogs whose lists and edits are the program's own (owner-drawn sample names, the
// variable lists, the method and report lists), which the bare dialog resources do not show.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ListRowInput.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/QDlgDesc.h"
#include "app/QSelMet.h"
#include "app/QSmpDlg.h"
#include "controls/QVarNameDlg.h"
#include "document/QDoc.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QSheetTabs.h"
#include "method_editors/QWizzAll.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/TabWalk.h"
#include "platform/gui/testing/UserInput.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "report_designer/QRepView.h"
#include "views/QLView.h"
#include "views/ViewCommands.h"

using namespace vyn;

namespace {

constexpr int kReportList = 7031, kSaveToReportList = 7033, kReportSections = 7008;

std::string Lines(const std::vector<std::string>& v)
{
    std::string all;
    for (const std::string& s : v) all += s + "\n";
    return all;
}

// The walks of one dialog, their faults added to the list: Tab round the whole dialog, the
// labels of the page shown in it (of the dialog itself when it has no pages), the arrows round
// every radio group, and Alt with the letters no control has in every field.
void Walk(TDialog& d, std::vector<std::string>& faults, const std::string& where, TDialog* page = nullptr)
{
    for (const std::string& f : WalkWithTab(d)) faults.push_back(where + ": " + f);
    for (const std::string& f : PressLabelMnemonics(page ? *page : d)) faults.push_back(where + ": " + f);
    for (const std::string& f : WalkRadioGroups(d)) faults.push_back(where + ": " + f);
    for (const std::string& f : PressUnmarkedAltLetters(d)) faults.push_back(where + ": " + f);
}

// The program over the demo plate, the test hook in place from its start to its end.
struct Keyboard {
    TTestHook hook;
    std::unique_ptr<ShellFixture> shell = std::make_unique<ShellFixture>();
    std::vector<std::string> faults;
    Keyboard()
    {
        shell->app->ShowMainWindow();
        EXPECT_NE(shell->app->OpenPlate(shell->env.data + "/Demo.plt"), nullptr);
        TTestHook::ProcessEvents();
    }
    // The program ends with nothing to ask: a message on the way out fails the test too.
    ~Keyboard()
    {
        shell.reset();
        EXPECT_TRUE(hook.MessageTexts().empty()) << Lines(hook.MessageTexts());
    }
    bool Choose(unsigned id)
    {
        const bool chosen = ChooseMenuItem(*shell->app->GetMainFrame(), id);
        TTestHook::ProcessEvents();
        return chosen;
    }
    // A walk of the dialog when it comes up; it is then closed with its button.
    void WalkWhenShown(int resId, int closeWith, const char* name)
    {
        hook.AnswerDialog(resId, closeWith, [this, name](TDialog& d) { Walk(d, faults, name); });
    }
    void ExpectNoFault()
    {
        EXPECT_TRUE(faults.empty()) << Lines(faults);
        std::vector<std::string> texts = hook.MessageTexts();
        EXPECT_TRUE(texts.empty()) << "a message no step expects: " << Lines(texts);
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
};

TEST(KeyboardWalk, SampleNamesSelectAMethodAndTheReportListsWalkRoundWithTheKeys)
{
    Keyboard k;
    // Each kind of sample in turn, chosen by its letter: the kinds show their own list, and the
    // colour swatches a Tab stops on only at the one chosen.
    k.hook.AnswerDialog(QDlgDesc::kResId, IDCANCEL, [&k](TDialog& d) {
        auto& names = dynamic_cast<QDlgDesc&>(d);
        struct Kind {
            char letter;
            int page;
        };
        for (const Kind& kind : {Kind{'C', 0}, Kind{'L', 1}, Kind{'S', 2}, Kind{'N', 3}}) {
            PressKeys(static_cast<unsigned>(kind.letter), TTestHook::kAlt);
            EXPECT_TRUE(WaitUntil([&] { return names.CurrentPage() == kind.page; })) << "Alt+" << kind.letter;
            Walk(d, k.faults, std::string("Sample Names, kind ") + kind.letter);
        }
        // A name typed on the list's new row and given a colour: of the swatches only the chosen
        // one is a tab stop.
        PressKeys('M', TTestHook::kAlt);
        PressKeys(VK_END);
        PressKeys(VK_TAB);
        TypeText("N1");
        EXPECT_TRUE(d.GetDlgItem(401)->IsWindowVisible()) << "the swatches show for the new name";
        ClickAt(ScreenPoint(*d.GetDlgItem(406)));  // red
        Walk(d, k.faults, "Sample Names, a new name in red");
    });
    EXPECT_TRUE(k.Choose(CM_NAMES));
    k.WalkWhenShown(QSelMet::kSelectId, IDCANCEL, "Select a method");
    EXPECT_TRUE(k.Choose(CM_FILENEW));
    k.WalkWhenShown(QSelMet::kUpdateId, IDCANCEL, "Method List Updates");
    EXPECT_TRUE(k.Choose(CM_METHODS));
    // "New" in the report list opens the designer, whose report is then saved to the list.
    k.hook.AnswerDialog(kReportList, 104, [&k](TDialog& d) { Walk(d, k.faults, "Report List Manipulation"); });
    k.WalkWhenShown(kReportSections, IDOK, "Report Sections");
    EXPECT_TRUE(k.Choose(CM_REPORTS));
    k.WalkWhenShown(kSaveToReportList, IDCANCEL, "Save to Report List");
    EXPECT_TRUE(k.Choose(cmRepSaveInList));
    EXPECT_EQ(k.hook.DialogsRun(), (std::vector<int>{QDlgDesc::kResId, QSelMet::kSelectId, QSelMet::kUpdateId,
                                                     kReportList, kReportSections, kSaveToReportList}));
    k.ExpectNoFault();
}

TEST(KeyboardWalk, TheSampleDefinitionWalksRoundWithTheKeys)
{
    Keyboard k;
    ASSERT_TRUE(k.Choose(CM_SHOWLIST));
    auto* list = dynamic_cast<QLView*>(gActiveView);
    ASSERT_NE(list, nullptr);
    const QPlate& plate = gCurrentDoc->GetPlate();
    int walked = 0;
    for (int kind : {QSmpDlg::kQualitativeId, QSmpDlg::kQuantitativeId}) {
        // The first sample of the kind, picked in the list.
        int row = -1;
        for (int i = 0; i < plate.sampleCount && row < 0; ++i) {
            const bool quantitative = dynamic_cast<const QNSample*>(plate.GetSample(i)) != nullptr;
            if (dynamic_cast<const QQSample*>(plate.GetSample(i)) && quantitative == (kind == QSmpDlg::kQuantitativeId))
                row = i;
        }
        if (row < 0) continue;
        ASSERT_TRUE(ClickListRow(*list, row)) << kind;
        k.hook.AnswerDialog(kind, IDCANCEL, [&k, &walked](TDialog& d) {
            ++walked;
            Walk(d, k.faults, "Sample Definition");
        });
        EXPECT_TRUE(k.Choose(cmSampleDefinition));
    }
    // The demo plate's samples are quantitative; a qualitative one shows the same lists, fewer.
    EXPECT_GE(walked, 1);
    k.ExpectNoFault();
}

TEST(KeyboardWalk, TheMethodWizardFromPageToPageWithTheKeys)
{
    Keyboard k;
    std::vector<int> pages;
    k.hook.AnswerDialog(QWizzAll::kSheetResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<TPropertySheet&>(d);
        for (int guard = 0; guard < 8; ++guard) {
            const int at = sheet.GetActiveIndex();
            pages.push_back(at);
            TPropertyPage& page = *sheet.GetActivePage();
            if (at == QWizzAll::kCompositionPage) {
                // The absorbance in the long result: its format button shows, and the
                // "&Formats" label stands over it.
                PressKeys('A', TTestHook::kAlt);
                EXPECT_TRUE(WaitUntil([&] { return page.GetDlgItem(114)->IsWindowVisible(); }))
                    << "Alt+A checked \"&Absorbance\"";
            }
            Walk(sheet, k.faults, "wizard page " + page.GetTitle(), &page);
            if (sheet.GetDlgItem(TPropertySheet::ID_PSFINISH)->IsWindowVisible()) break;
            PressKeys('N', TTestHook::kAlt);
            if (!WaitUntil([&] { return sheet.GetActiveIndex() != at; })) {
                ADD_FAILURE() << "Alt+N did not leave page " << page.GetTitle();
                break;
            }
        }
    });
    EXPECT_TRUE(k.Choose(CM_CALCULATIONS));
    EXPECT_EQ(pages.back(), QWizzAll::kMeasurementPage) << "the walk went through to the last page";
    EXPECT_GE(pages.size(), 4u);
    k.ExpectNoFault();
}

TEST(KeyboardWalk, TheMethodSheetTurnsItsPagesWithCtrlTabAndEachPageWalksRound)
{
    Keyboard k;
    std::vector<int> shown;
    k.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        for (int i = 0; i < sheet.GetPageCount(); ++i) {
            shown.push_back(sheet.GetActiveIndex());
            Walk(sheet, k.faults, "sheet page " + sheet.GetActivePage()->GetTitle(), sheet.GetActivePage());
            PressKeys(VK_TAB, MK_CONTROL);
        }
        EXPECT_EQ(sheet.GetActiveIndex(), shown.front()) << "Ctrl+Tab on the last page comes round to the first";
    });
    gMethodSheetPage = 0;
    EXPECT_TRUE(k.Choose(CM_ADVANCEDCALC));
    EXPECT_EQ(shown, (std::vector<int>{0, 1, 2, 3, 4, 5}));
    k.ExpectNoFault();
}

TEST(KeyboardWalk, TheMethodSheetsKeysForItsPages)
{
    Keyboard k;
    k.hook.AnswerDialog(QAllPsh::kResId, IDCANCEL, [&](TDialog& d) {
        auto& sheet = dynamic_cast<QAllPsh&>(d);
        TWindow* tabs = sheet.Tabs();
        struct Row {
            const char* name;
            unsigned vk, mods;
            int from, to;
        };
        // From a field of the page: the new page is shown and its first field has the keyboard.
        for (int i = 0; i < 8 && !sheet.GetPage(0)->HasFocus(); ++i) PressKeys(VK_TAB);
        ASSERT_TRUE(sheet.GetPage(0)->HasFocus()) << "Tab reaches the first page's fields";
        for (const Row& r : {Row{"Ctrl+Tab", VK_TAB, MK_CONTROL, 0, 1}, Row{"Ctrl+PgDn", VK_NEXT, MK_CONTROL, 1, 2},
                             Row{"Ctrl+Shift+Tab", VK_TAB, MK_CONTROL | MK_SHIFT, 2, 1},
                             Row{"Ctrl+PgUp", VK_PRIOR, MK_CONTROL, 1, 0},
                             Row{"Ctrl+PgUp round the start", VK_PRIOR, MK_CONTROL, 0, 5},
                             Row{"Ctrl+Tab round the end", VK_TAB, MK_CONTROL, 5, 0}}) {
            SCOPED_TRACE(r.name);
            ASSERT_EQ(sheet.GetActiveIndex(), r.from);
            PressKeys(r.vk, r.mods);
            EXPECT_EQ(sheet.GetActiveIndex(), r.to);
            EXPECT_TRUE(ShownOnScreen(*sheet.GetPage(r.to)));
            EXPECT_FALSE(ShownOnScreen(*sheet.GetPage(r.from)));
            TWindow* focus = TWindow::GetFocus();
            EXPECT_TRUE(focus && sheet.GetPage(r.to)->HasFocus()) << "the keyboard is in the page shown";
        }
        // Shift+Tab from the page's first field reaches the tab row, where the arrows turn the pages.
        while (!tabs->HasFocus() && sheet.GetPage(0)->HasFocus()) PressKeys(VK_TAB, MK_SHIFT);
        ASSERT_TRUE(tabs->HasFocus()) << "the tab row takes the focus";
        PressKeys(VK_RIGHT);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_TRUE(tabs->HasFocus()) << "the focus stays in the tab row";
        PressKeys(VK_LEFT);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        PressKeys(VK_TAB);
        EXPECT_TRUE(sheet.GetPage(0)->HasFocus()) << "Tab goes on from the tab row into the page";
        // Below the page: OK, Cancel and "Print..." in this order.
        for (int i = 0; i < 8 && !sheet.GetDlgItem(IDOK)->HasFocus(); ++i) PressKeys(VK_TAB);
        ASSERT_TRUE(sheet.GetDlgItem(IDOK)->HasFocus()) << "Tab goes on from the page to OK";
        PressKeys(VK_TAB);
        EXPECT_TRUE(sheet.GetDlgItem(IDCANCEL)->HasFocus());
        PressKeys(VK_TAB);
        EXPECT_TRUE(sheet.GetDlgItem(QAllPsh::kPrintId)->HasFocus()) << "\"Print...\" comes after Cancel";
        PressKeys(VK_TAB);
        EXPECT_TRUE(tabs->HasFocus()) << "and the tab row after it, round the end";

        // A dialog opened from a page keeps its keys: Ctrl+Tab there leaves the sheet's page alone.
        PressKeys(VK_RIGHT);
        PressKeys(VK_RIGHT);
        ASSERT_EQ(sheet.GetActiveIndex(), QAllPsh::pgCalculations);
        PressKeys(VK_TAB);
        ASSERT_TRUE(sheet.GetPage(QAllPsh::pgCalculations)->HasFocus()) << "the list of calculations";
        bool renamed = false;
        k.hook.AnswerDialog(QVarNameDlg::kResId, IDCANCEL, [&](TDialog& name) {
            renamed = true;
            PressKeys(VK_TAB, MK_CONTROL);
            EXPECT_EQ(sheet.GetActiveIndex(), QAllPsh::pgCalculations);
            PressKeys(VK_TAB);
            EXPECT_TRUE(name.HasFocus()) << "Tab goes round the name dialog's own controls";
        });
        PressKeys(VK_RETURN, MK_CONTROL);
        EXPECT_TRUE(renamed) << "Ctrl+Enter on the list opens the name dialog";
    });
    gMethodSheetPage = 0;
    EXPECT_TRUE(k.Choose(CM_ADVANCEDCALC));
    EXPECT_EQ(k.hook.DialogsRun(), (std::vector<int>{QAllPsh::kResId, QVarNameDlg::kResId})) << "the name dialog came once";
    k.ExpectNoFault();
}

}  // namespace
