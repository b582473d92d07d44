// Taking windows down: the Qt widgets of a closed dialog or sheet go after the window objects
// have gone, so nothing those widgets still do (a combo box being hidden closes its list, a
// dialog being hidden rejects) may reach the objects. The faults show as use-after-free in the
// sanitizer build.
#include <gtest/gtest.h>

#include <memory>

#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/PropertySheet.h"
#include "platform/gui/TestHook.h"

namespace vyn {
namespace {

const TControlTemplate kSheetControls[] = {
    {TPropertySheet::ID_PSBACK, TControlKind::BUTTON, "< Back", dlgstyle::TABSTOP, 8, 80, 40, 14},
    {TPropertySheet::ID_PSNEXT, TControlKind::BUTTON, "Next >", dlgstyle::TABSTOP, 52, 80, 40, 14},
    {TPropertySheet::ID_PSFINISH, TControlKind::BUTTON, "Finish", dlgstyle::TABSTOP, 52, 80, 40, 14},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 100, 80, 40, 14},
};
const TDialogTemplate kSheet{9981, "Sheet", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION, 0, 0, 150, 100,
                             kSheetControls, 4};

const TControlTemplate kPageControls[] = {
    {200, TControlKind::COMBOBOX, "", dlgstyle::DROPDOWNLIST | dlgstyle::TABSTOP, 8, 8, 80, 60},
    {201, TControlKind::COMBOBOX, "", dlgstyle::OWNERDRAWFIXED | dlgstyle::DROPDOWNLIST | dlgstyle::TABSTOP, 8, 30, 80, 60},
};
const TDialogTemplate kPage{9982, "Page", 8, "MS Sans Serif", dlgstyle::POPUP, 0, 0, 140, 70, kPageControls, 2};

// A page whose combo boxes are filled when it is shown.
class ComboPage : public TPropertyPage {
public:
    explicit ComboPage(TPropertySheet* sheet) : TPropertyPage(sheet, kPage)
    {
        plain_ = new TComboBox(this, 200);
        drawn_ = new TComboBox(this, 201);
    }
    int SetActive() override
    {
        for (TComboBox* c : {plain_, drawn_}) {
            c->ClearList();
            c->AddString("one");
            c->AddString("two");
            c->SetSelIndex(1);
        }
        return 0;
    }
    TComboBox* plain_;
    TComboBox* drawn_;
};

class ComboSheet : public TPropertySheet {
public:
    ComboSheet() : TPropertySheet(nullptr, kSheet, TPoint(4, 4))
    {
        AddPage(new ComboPage(this));
        AddPage(new ComboPage(this));
    }
};

// The sheet is closed from its second page (the first is hidden, the second shown), the
// objects go at once, and the widgets are deleted afterwards by the event loop.
TEST(WindowTeardown, SheetClosedWithComboBoxesOnTheVisiblePage)
{
    for (int closeButton : {IDCANCEL, int(TPropertySheet::ID_PSFINISH)}) {
        SCOPED_TRACE(closeButton == IDCANCEL ? "cancelled" : "finished");
        TTestHook hook;
        hook.AnswerDialog(kSheet.id, closeButton, [](TDialog& d) {
            auto& sheet = static_cast<TPropertySheet&>(d);
            sheet.PressButton(TPropertySheet::ID_PSNEXT);
            ASSERT_EQ(sheet.GetActiveIndex(), 1);
            auto* page = static_cast<ComboPage*>(sheet.GetActivePage());
            ASSERT_TRUE(page->plain_->IsWindowVisible());
            page->drawn_->SetFocus();
        });
        {
            auto sheet = std::make_unique<ComboSheet>();
            EXPECT_EQ(sheet->Execute(), closeButton == IDCANCEL ? IDCANCEL : IDOK);
        }
        TTestHook::ProcessEvents();
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
}

// A modeless dialog that holds a combo box, destroyed with its object while shown.
TEST(WindowTeardown, ModelessDialogDeletedWhileShown)
{
    {
        ComboSheet sheet;
        ASSERT_TRUE(sheet.Create());
        sheet.ShowWindow(SW_SHOW);
        sheet.PressButton(TPropertySheet::ID_PSNEXT);
        TTestHook::ProcessEvents();
    }
    TTestHook::ProcessEvents();

    // A dialog of its own with the combo boxes directly on it.
    {
        TDialog dlg(nullptr, kPage);
        new TComboBox(&dlg, 200);
        ASSERT_TRUE(dlg.Create());
        dlg.ShowWindow(SW_SHOW);
        static_cast<TComboBox*>(dlg.GetDlgItem(200))->AddString("one");
        TTestHook::ProcessEvents();
    }
    TTestHook::ProcessEvents();
}

}  // namespace
}  // namespace vyn
