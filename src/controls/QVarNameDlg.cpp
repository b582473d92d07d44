#include "controls/QVarNameDlg.h"

#include "controls/EditTextLimit.h"
#include "platform/gui/ControlEdit.h"

namespace vyn {

QVarNameDlg::QVarNameDlg(TWindow* parent, int resId) : TDialog(parent, resId), edit_(new TEdit(this, 102))
{
    SetContextHelpId(3321);
}

void QVarNameDlg::SetupWindow()
{
    TDialog::SetupWindow();
    edit_->SetWindowText(name);
    edit_->ClearModify();
}

void QVarNameDlg::CmOk()
{
    // An untouched name is no rename: the caller keeps its list as it is.
    if (!edit_->IsModified()) {
        CloseWindow(IDCANCEL);
        return;
    }
    name = LimitChars(edit_->GetWindowText(), kMaxName);
    CloseWindow(IDOK);
}

}  // namespace vyn
