#include "app/QDlgNameInfo.h"

#include "platform/core/StringTable.h"
#include "platform/gui/ControlEdit.h"

namespace vyn {

QDlgNameInfo::QDlgNameInfo(TWindow* parent, const std::string& name, const std::string& comment)
    : TDialog(parent, kResId),
      Name(name),
      Comment(comment),
      name_(new TEdit(this, 113, kMaxText + 1)),
      comment_(new TEdit(this, 112, kMaxText + 1))
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
    // Cut whole characters: half a character would come back from the file as other text.
    Name = CutUtf8(name_->GetWindowText(), kMaxText);
    Comment = CutUtf8(comment_->GetWindowText(), kMaxText);
    CloseWindow(IDOK);
}

}  // namespace vyn
