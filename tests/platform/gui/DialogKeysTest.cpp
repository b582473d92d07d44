// Keys in dialogs as the user presses them: Enter on the last page of a wizard finishes it, and
// a label's marked letter (Alt+letter) moves the focus to the control after it.
#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>

#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace {

const TControlTemplate kSheetControls[] = {
    {TPropertySheet::ID_PSBACK, TControlKind::BUTTON, "< Back", dlgstyle::TABSTOP, 8, 80, 40, 14},
    {TPropertySheet::ID_PSNEXT, TControlKind::BUTTON, "Next >", dlgstyle::TABSTOP | dlgstyle::DEFPUSHBUTTON, 52, 80, 40, 14},
    {TPropertySheet::ID_PSFINISH, TControlKind::BUTTON, "Finish", dlgstyle::TABSTOP | dlgstyle::HIDDEN, 52, 80, 40, 14},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 96, 80, 40, 14},
};
const TDialogTemplate kSheet{9971, "Wizard", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 150, 100,
                             kSheetControls, 4};
const TControlTemplate kPageControls[] = {
    {-1, TControlKind::STATIC, "&Name", 0, 4, 4, 40, 10},
    {101, TControlKind::EDIT, "", dlgstyle::TABSTOP, 4, 16, 80, 12},
};
const TDialogTemplate kPage{9972, "Page", 8, "MS Sans Serif", dlgstyle::POPUP, 0, 0, 140, 70, kPageControls, 2};

class Page : public TPropertyPage {
public:
    Page(TPropertySheet* sheet, bool last) : TPropertyPage(sheet, kPage), last_(last) {}
    int SetActive() override
    {
        GetSheet()->SetWizardButtons(last_ ? TPropertySheet::PSWIZB_BACK | TPropertySheet::PSWIZB_FINISH
                                           : TPropertySheet::PSWIZB_NEXT);
        return 0;
    }
    bool WizFinish() override
    {
        ++finished;
        return true;
    }
    int finished = 0;

private:
    bool last_;
};

TEST(WizardButtons, EnterOnTheLastPageFinishes)
{
    struct Row {
        const char* name;
        bool typeInField;  // on the last page the user first clicks into the page's field
    };
    for (const Row& r : {Row{"Enter on Next, then Enter again", false}, Row{"Enter in the last page's field", true}}) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        TPropertySheet sheet(nullptr, kSheet);
        auto* first = new Page(&sheet, false);
        auto* last = new Page(&sheet, true);
        sheet.AddPage(first);
        sheet.AddPage(last);
        hook.AnswerDialog(kSheet.id, 0, [&](TDialog&) {
            TWindow* next = sheet.GetDlgItem(TPropertySheet::ID_PSNEXT);
            TWindow* finish = sheet.GetDlgItem(TPropertySheet::ID_PSFINISH);
            next->SetFocus();
            TTestHook::Key(VK_RETURN);
            ASSERT_EQ(sheet.GetActivePage(), last);
            EXPECT_FALSE(next->IsWindowVisible());
            EXPECT_TRUE(finish->IsWindowVisible());
            EXPECT_EQ(TWindow::GetFocus(), finish) << "the focus went to Finish, not to Cancel";
            EXPECT_EQ(sheet.GetDefaultId(), TPropertySheet::ID_PSFINISH);
            EXPECT_TRUE(static_cast<TButton*>(finish)->IsDefault());
            EXPECT_FALSE(static_cast<TButton*>(next)->IsDefault());
            if (r.typeInField) last->GetDlgItem(101)->SetFocus();
            TTestHook::Key(VK_RETURN);
        });
        EXPECT_EQ(sheet.Execute(), IDOK);
        EXPECT_EQ(last->finished, 1);
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
}

const TControlTemplate kFormControls[] = {
    {-1, TControlKind::STATIC, "&Primary filter", 0, 4, 4, 60, 10},
    {201, TControlKind::EDIT, "", dlgstyle::TABSTOP, 70, 4, 60, 12},
    {-1, TControlKind::STATIC, "&Rounding", 0, 4, 20, 60, 10},
    {-1, TControlKind::STATIC, "(digits)", 0, 4, 30, 60, 10},
    {202, TControlKind::EDIT, "", dlgstyle::TABSTOP, 70, 20, 60, 12},
    {-1, TControlKind::STATIC, "Salt && pepper", 0, 4, 46, 60, 10},
    {-1, TControlKind::STATIC, "A&B as is", dlgstyle::NOPREFIX, 4, 58, 60, 10},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::TABSTOP | dlgstyle::DEFPUSHBUTTON, 70, 60, 40, 14},
};
const TDialogTemplate kForm{9973, "Form", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 140, 80,
                            kFormControls, 8};

QLabel* LabelWithText(TDialog& d, const QString& shown)
{
    for (QLabel* l : d.Widget()->findChildren<QLabel*>())
        if (l->text() == shown) return l;
    return nullptr;
}

TEST(Mnemonics, AltLetterOfALabelMovesTheFocusToTheNextControl)
{
    TTestHook hook;
    TDialog dlg(nullptr, kForm);
    hook.AnswerDialog(kForm.id, IDOK, [](TDialog& d) {
        TWindow* primary = d.GetDlgItem(201);
        TWindow* rounding = d.GetDlgItem(202);
        primary->SetFocus();
        TTestHook::Key('R', TTestHook::kAlt);
        EXPECT_EQ(TWindow::GetFocus(), rounding) << "past the unmarked label between them";
        TTestHook::Key('P', TTestHook::kAlt);
        EXPECT_EQ(TWindow::GetFocus(), primary);

        // What the labels show: the marked letter underlined (the label's '&' is not drawn),
        // "&&" as one '&', and NOPREFIX as it stands.
        QLabel* marked = LabelWithText(d, "&Primary filter");
        ASSERT_NE(marked, nullptr);
        EXPECT_EQ(marked->buddy(), primary->Widget());
        EXPECT_NE(LabelWithText(d, "Salt & pepper"), nullptr);
        EXPECT_NE(LabelWithText(d, "A&B as is"), nullptr);
        EXPECT_EQ(LabelWithText(d, "A&B as is")->buddy(), nullptr);
        // The text the program reads back is the text it set.
        EXPECT_EQ(d.GetDlgItemText(-1), "&Primary filter");
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
}

const TControlTemplate kFieldsControls[] = {
    {101, TControlKind::EDIT, "", dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 4, 60, 12},
    {102, TControlKind::EDIT, "", dlgstyle::MULTILINE | dlgstyle::CENTER | dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 20, 60, 12},
    {103, TControlKind::LISTBOX, "", dlgstyle::OWNERDRAWFIXED | dlgstyle::BORDER | dlgstyle::TABSTOP, 4, 36, 80, 40},
    {IDOK, TControlKind::BUTTON, "OK", dlgstyle::TABSTOP | dlgstyle::DEFPUSHBUTTON, 90, 4, 40, 14},
};
const TDialogTemplate kFields{9977, "Fields", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 140, 84,
                              kFieldsControls, 4};

// A multi-line edit (the wizard's separators) entered with Tab has its text selected as a
// one-line edit has: Backspace and Delete take it away.
TEST(DialogKeys, BackspaceAndDeleteInAMultiLineEditEnteredWithTab)
{
    TTestHook hook;
    TDialog dlg(nullptr, kFields);
    hook.AnswerDialog(kFields.id, IDOK, [](TDialog& d) {
        for (unsigned key : {VK_BACK, VK_DELETE}) {
            SCOPED_TRACE(key == VK_BACK ? "Backspace" : "Delete");
            d.SetDlgItemText(102, "OD ");
            d.GetDlgItem(101)->SetFocus();
            PressKeys(VK_TAB);
            ASSERT_EQ(TWindow::GetFocus(), d.GetDlgItem(102));
            PressKeys(key);
            EXPECT_EQ(d.GetDlgItemText(102), "");
            TypeText("ab");
            PressKeys(VK_TAB, MK_SHIFT);
            PressKeys(VK_TAB);
            PressKeys(key);
            EXPECT_EQ(d.GetDlgItemText(102), "");
        }
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
}

// An owner-drawn list with nothing selected shows the focus mark on its current row while it
// has the focus, and selects nothing by getting it.
TEST(DialogKeys, AListWithNothingSelectedShowsTheFocusOnItsCurrentRow)
{
    TTestHook hook;
    TDialog dlg(nullptr, kFields);
    auto* list = new TListBox(&dlg, 103);
    hook.AnswerDialog(kFields.id, IDOK, [&](TDialog& d) {
        for (const char* s : {"first", "second", "third"}) list->AddString(s);
        const TRect r = list->GetItemRect(0);
        const QRect row(r.left, r.top, r.Width(), r.Height());
        d.GetDlgItem(102)->SetFocus();
        const QImage without = GrabPicture(*list, row);
        PressKeys(VK_TAB);
        ASSERT_EQ(TWindow::GetFocus(), list);
        EXPECT_NE(GrabPicture(*list, row), without) << "the first row shows the focus mark";
        EXPECT_EQ(list->GetSelIndex(), LB_ERR) << "getting the focus selects nothing";
        PressKeys(VK_TAB);
        EXPECT_EQ(GrabPicture(*list, row), without) << "the mark goes with the focus";
    });
    EXPECT_EQ(dlg.Execute(), IDOK);
}

}  // namespace
}  // namespace vyn
