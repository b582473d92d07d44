#include "method_editors/QPageBlank.h"

#include "controls/QGEdit.h"
#include "controls/EditTextLimit.h"
#include "method_editors/ExpressionWizardEntry.h"
#include "method_editors/QHintText.h"
#include "platform/gui/ControlButton.h"

namespace vyn {

namespace {
constexpr int kHelpId = 3121;
// Edit texts are taken as the fields' shared text buffer takes them.
constexpr std::size_t kMaxText = 7999;
}  // namespace

QPageBlank::QPageBlank(QAllPsh* sheet)
    : QMethodPage(sheet, kResId),
      modes_{new TRadioButton(this, kNone), new TRadioButton(this, kSimple), new TRadioButton(this, kGeneral)},
      blank_(new QGEdit(this, nullptr, this, kBlankEdit, true)),
      transform_(new QGEdit(this, nullptr, this, kTransformEdit, true))
{
    new QHintText(this, kHint);
    for (int id : {kNone, kSimple, kGeneral}) OnCommand(static_cast<unsigned>(id), [this, id] { Choose(id); });
    OnMessage(WM_CONTEXTMENU, [this](TParam1 w, TParam2) { return ContextMenu(w); });
}

void QPageBlank::SetupPage()
{
    const QAllPsh& s = Sheet();
    const int mode = s.blankMode >= 0 && s.blankMode <= 2 ? s.blankMode : 0;
    for (int i = 0; i < 3; ++i) modes_[i]->SetCheck(i == mode ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    blank_->SetWindowText(s.gblankText);
    transform_->SetWindowText(s.transformationText);
    SetContextHelpId(kHelpId);
    ShowFields();
}

int QPageBlank::CheckedMode() const
{
    if (modes_[0]->GetCheck() == TCheckBox::BF_CHECKED) return 0;
    if (modes_[1]->GetCheck() == TCheckBox::BF_CHECKED) return 1;
    return 2;
}

void QPageBlank::ShowFields()
{
    const int mode = CheckedMode();
    const int blank = mode >= 1 ? SW_SHOW : SW_HIDE;
    const int transform = mode == 2 ? SW_SHOW : SW_HIDE;
    if (TWindow* w = GetDlgItem(kBlankLabel)) w->ShowWindow(blank);
    blank_->ShowWindow(blank);
    if (TWindow* w = GetDlgItem(kTransformLabel)) w->ShowWindow(transform);
    transform_->ShowWindow(transform);
}

void QPageBlank::Choose(int id)
{
    for (int i = 0; i < 3; ++i)
        modes_[i]->SetCheck(kNone + i == id ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    ShowFields();
}

TResult QPageBlank::ContextMenu(TParam1 window)
{
    auto* from = reinterpret_cast<TWindow*>(window);
    if (from == blank_) RunExpressionWizardFor(*blank_, ecGlobalBlank, Sheet().plate);
    else if (from == transform_) RunExpressionWizardFor(*transform_, ecTransformation, Sheet().plate);
    else DefaultProcessing();
    return 0;
}

bool QPageBlank::KillActive()
{
    QAllPsh& s = Sheet();
    s.blankMode = CheckedMode();
    // Both texts are kept whatever the mode, so a text typed for a mode switched off later
    // stays in the method.
    s.gblankText = TrimRight(LimitChars(blank_->GetWindowText(), kMaxText));
    s.transformationText = TrimRight(LimitChars(transform_->GetWindowText(), kMaxText));
    // Only the expressions the mode uses are calculated, so only those are checked.
    int position = 0;
    if (s.blankMode >= 1 && !guard_.Accept(this, GetDlgItemText(kBlankLabel), s.gblankText, position)) {
        blank_->OpenFocused(s.gblankText.c_str());
        blank_->SetSelection(position, position);
        return false;
    }
    if (s.blankMode == 2 && !guard_.Accept(this, GetDlgItemText(kTransformLabel), s.transformationText, position)) {
        transform_->OpenFocused(s.transformationText.c_str());
        transform_->SetSelection(position, position);
        return false;
    }
    return true;
}

}  // namespace vyn
