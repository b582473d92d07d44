#include "app/QChView.h"

#include "platform/gui/ControlButton.h"

namespace vyn {

QChView::QChView(TWindow* parent, int helpContextId, int resId) : TDialog(parent, resId), helpId_(helpContextId) {}

void QChView::SetupWindow()
{
    TDialog::SetupWindow();
    if (auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(IDC_TRANSFORMED))) b->Check();
    SetContextHelpId(helpId_);
}

void QChView::CmOk()
{
    auto* b = dynamic_cast<TCheckBox*>(GetDlgItem(IDC_MEASURED));
    Measured = b && b->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0;
    TDialog::CmOk();
}

}  // namespace vyn
