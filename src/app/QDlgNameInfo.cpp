#include "app/QDlgNameInfo.h"

#include "platform/gui/ControlEdit.h"

namespace vyn {

QDlgNameInfo::QDlgNameInfo(TWindow* parent, const std::string& name, const std::string& comment)
    : TDialog(parent, kResId),
      Name(name),
      Comment(comment),
      name_(new TEdit(this, 113, kMaxText)),
      comment_(new TEdit(this, 112, kMaxText))
{
}

void QDlgNameInfo::SetupWindow()
{
    TDialog::SetupWindow();
    SetContextHelpId(3173);
    name_->SetWindowText(Name);
    comment_->SetWindowText(Comment);
    name_->ClearModify();
    comment_->ClearModify();
}

void QDlgNameInfo::CmOk()
{
    // Nothing typed counts as cancelled, so the caller marks no edit it would have to write.
    if (!name_->IsModified() && !comment_->IsModified()) {
        CloseWindow(IDCANCEL);
        return;
    }
    Name = name_->GetWindowText().substr(0, kMaxText);
    Comment = comment_->GetWindowText().substr(0, kMaxText);
    CloseWindow(IDOK);
}

}  // namespace vyn
