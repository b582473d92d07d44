// Tab, Shift+Tab and the labels' marked letters in dialogs, pressed as a user presses them:
// every dialog resource is walked round with Tab and back with Shift+Tab, each label's letter
// must reach a control that can take the focus, the arrows go round each radio group and check
// its buttons, Space presses every button, an Alt+letter no control has types nothing, and a
// button's letter has acted before the Enter pressed right after it. The small dialog below holds the
// controls that used to keep the Tab key (an owner-drawn list, a multi-line edit) and one that
// asks for it.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/gui/Control.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/TabWalk.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

std::string Lines(const std::vector<std::string>& v)
{
    std::string all;
    for (const std::string& s : v) all += s + "\n";
    return all;
}

// A dialog of a resource whose buttons only tell what they heard: how often each was pressed,
// and what the check boxes and radio buttons showed when Enter pressed the default button (or
// Escape Cancel). Nothing closes it but the test.
class HearingDialog : public TDialog {
public:
    using TDialog::TDialog;
    int Presses(int id) const { return presses_.count(id) ? presses_.at(id) : 0; }
    int CheckSeenAtEnter(int id) const { return checksAtEnter_.count(id) ? checksAtEnter_.at(id) : -1; }

protected:
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override
    {
        if (notifyCode == BN_CLICKED) ++presses_[static_cast<int>(id)];
        if (id == static_cast<unsigned>(GetDefaultId()) || id == IDCANCEL) {
            checksAtEnter_.clear();
            for (TWindow* c : Children())
                if (auto* b = dynamic_cast<TCheckBox*>(c)) checksAtEnter_[c->GetId()] = b->GetCheck();
        }
        (void)control;
        return 1;
    }

private:
    std::map<int, int> presses_, checksAtEnter_;
};

TEST(DialogTabWalk, EveryDialogResourceWalksRoundWithTabAndBackWithShiftTab)
{
    std::vector<std::string> faults;
    for (int d = 0; d < res::kDialogCount; ++d) {
        const TDialogTemplate& tmpl = res::kDialogTable[d];
        TTestHook hook;
        HearingDialog dlg(nullptr, tmpl);
        hook.AnswerDialog(tmpl.id, 0, [&](TDialog& shown) {
            for (const std::string& f : WalkWithTab(shown)) faults.push_back(f);
            for (const std::string& f : PressLabelMnemonics(shown)) faults.push_back(f);
            for (const std::string& f : WalkRadioGroups(shown)) faults.push_back(f);
            for (const std::string& f : PressUnmarkedAltLetters(shown)) faults.push_back(f);
            for (const std::string& f : PressMarkedLettersThenEnter(shown, [&](int id) { return dlg.CheckSeenAtEnter(id); }))
                faults.push_back(f);
            for (const std::string& f : PressSpaceOnButtons(shown, [&](int id) { return dlg.Presses(id); })) faults.push_back(f);
            shown.CloseWindow(IDCANCEL);
        });
        dlg.Execute();
        for (const std::string& m : hook.MessageTexts()) faults.push_back("dialog " + std::to_string(tmpl.id) + ": message " + m);
    }
    EXPECT_TRUE(faults.empty()) << Lines(faults);
}

// A control that the system gives the Tab key (it moves within itself, as the report
// designer's attribute rows do).
class TabTakingEdit : public TEdit {
public:
    using TEdit::TEdit;
    int tabs = 0;

protected:
    unsigned EvGetDlgCode(const TMsg* msg) override { return TEdit::EvGetDlgCode(msg) | DLGC_WANTTAB; }
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override
    {
        if (key == VK_TAB) ++tabs;
        else TEdit::EvKeyDown(key, repeatCount, flags);
    }
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override
    {
        if (ch != 9) TEdit::EvChar(ch, repeatCount, flags);
    }
};

const TControlTemplate kWalkKeysControls[] = {
    {-1, TControlKind::STATIC, "&List", 0, 4, 4, 40, 10},
    {301, TControlKind::LISTBOX, "", dlgstyle::OWNERDRAWFIXED | dlgstyle::NOTIFY | dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 14, 80, 30},
    {302, TControlKind::EDIT, "", dlgstyle::MULTILINE | dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 48, 80, 12},
    {-1, TControlKind::STATIC, "&Hidden next", 0, 4, 62, 60, 10},
    {303, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP | dlgstyle::HIDDEN, 4, 72, 80, 12},
    {304, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP | dlgstyle::DISABLED, 4, 86, 80, 12},
    {305, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 100, 80, 12},
    {306, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 114, 80, 12},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::TABSTOP | dlgstyle::DEFPUSHBUTTON, 90, 14, 40, 14},
};
const TDialogTemplate kWalkKeys{9974, "Keys", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 140, 130,
                            kWalkKeysControls, 9};

TEST(DialogTabWalk, TabLeavesListsAndMultiLineEditsAndStaysWithAControlThatAsksForIt)
{
    TTestHook hook;
    TDialog dlg(nullptr, kWalkKeys);
    auto* list = new TListBox(&dlg, 301);
    auto* taker = new TabTakingEdit(&dlg, 306);
    hook.AnswerDialog(kWalkKeys.id, IDOK, [&](TDialog& d) {
        list->AddString("a");
        list->AddString("b");
        ClickAt(ScreenPoint(*list, 5, 3));
        ASSERT_EQ(TWindow::GetFocus(), list);
        struct Row {
            const char* name;
            unsigned mods;
            int from, to;
        };
        for (const Row& r : {Row{"Tab out of the owner-drawn list", 0, 301, 302},
                             Row{"Tab out of the multi-line edit, past the hidden and the disabled edit", 0, 302, 305},
                             Row{"Shift+Tab back into the multi-line edit", MK_SHIFT, 305, 302},
                             Row{"Shift+Tab back into the list", MK_SHIFT, 302, 301},
                             Row{"Shift+Tab round the start to OK", MK_SHIFT, 301, IDOK}}) {
            SCOPED_TRACE(r.name);
            ASSERT_EQ(TWindow::GetFocus(), d.GetDlgItem(r.from));
            PressKeys(VK_TAB, r.mods);
            EXPECT_EQ(TWindow::GetFocus(), d.GetDlgItem(r.to));
        }
        EXPECT_EQ(d.GetDlgItemText(302), "") << "the multi-line edit took the tab as text";

        d.GetDlgItem(305)->SetFocus();
        PressKeys(VK_TAB);
        ASSERT_EQ(TWindow::GetFocus(), taker);
        PressKeys(VK_TAB);
        PressKeys(VK_TAB, MK_SHIFT);
        EXPECT_EQ(TWindow::GetFocus(), taker) << "the control that asks for Tab keeps it";
        EXPECT_EQ(taker->tabs, 2);

        // The label's control is hidden and the next one disabled: its letter goes on to 305.
        PressKeys('H', TTestHook::kAlt);
        EXPECT_EQ(TWindow::GetFocus(), d.GetDlgItem(305));
        d.GetDlgItem(304)->EnableWindow(true);
        PressKeys('H', TTestHook::kAlt);
        EXPECT_EQ(TWindow::GetFocus(), d.GetDlgItem(304)) << "enabled again, it takes the letter's focus";
        PressKeys('L', TTestHook::kAlt);
        EXPECT_EQ(TWindow::GetFocus(), list);
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
    EXPECT_TRUE(hook.MessageTexts().empty()) << Lines(hook.MessageTexts());
}

const TControlTemplate kWalkSheetControls[] = {
    {TPropertySheet::ID_PSBACK, TControlKind::BUTTON, "< &Back", dlgstyle::TABSTOP, 8, 80, 40, 14},
    {TPropertySheet::ID_PSNEXT, TControlKind::BUTTON, "&Next >", dlgstyle::TABSTOP | dlgstyle::DEFPUSHBUTTON, 52, 80, 40, 14},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 96, 80, 40, 14},
};
const TDialogTemplate kWalkSheet{9975, "Wizard", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 150, 100,
                            kWalkSheetControls, 3};
const TControlTemplate kWalkPageControls[] = {
    {-1, TControlKind::STATIC, "&Name", 0, 4, 4, 40, 10},
    {101, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 16, 80, 12},
    {102, TControlKind::LISTBOX, "", dlgstyle::OWNERDRAWFIXED | dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 30, 80, 30},
};
const TDialogTemplate kWalkPage{9976, "Page", 8, "MS Sans Serif", dlgstyle::POPUP, 0, 0, 140, 70, kWalkPageControls, 3};

TEST(DialogTabWalk, ASheetWalksItsPageBeforeItsButtonsAndADialogFromThePageWalksItsOwn)
{
    TTestHook hook;
    TPropertySheet sheet(nullptr, kWalkSheet);
    auto* page = new TPropertyPage(&sheet, kWalkPage);
    sheet.AddPage(page);
    std::vector<std::string> faults;
    hook.AnswerDialog(kWalkSheet.id, IDCANCEL, [&](TDialog&) {
        page->GetDlgItem(101)->SetFocus();
        const std::vector<int> order = {102, TPropertySheet::ID_PSBACK, TPropertySheet::ID_PSNEXT, IDCANCEL, 101};
        for (int id : order) {
            PressKeys(VK_TAB);
            TWindow* at = TWindow::GetFocus();
            EXPECT_EQ(at ? at->GetId() : 0, id) << "Tab goes from the page's fields to the sheet's buttons";
        }
        // A dialog the page opens is a window of its own: Tab goes round its controls alone.
        TDialog inner(page, kWalkKeys);
        hook.AnswerDialog(kWalkKeys.id, IDOK, [&](TDialog& d) {
            for (const std::string& f : WalkWithTab(d)) faults.push_back(f);
        });
        inner.Execute();
    });
    sheet.Execute();
    EXPECT_TRUE(faults.empty()) << Lines(faults);
}

}  // namespace
}  // namespace vyn
