#include "method_editors/QPageCalcEvalVal.h"

#include "app/controls/QGEdit.h"
#include "method_editors/EditTextLimit.h"
#include "method_editors/ExpressionWizardEntry.h"
#include "method_editors/QHintText.h"
#include "method_editors/QVarList.h"
#include "method_editors/QVarNameDlg.h"
#include "method_editors/TOkCancelGadgetWin.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
constexpr std::size_t kMaxText = 7999;
const TColor kNameColor(0, 0, 255);
}  // namespace

QPageCalcEvalVal::QPageCalcEvalVal(QAllPsh* sheet, int resId, TwostrArray& list)
    : QMethodPage(sheet, resId), defs_(list), list_(new QVarList(this, kList, kNameColor, nullptr, &list)),
      edit_(new QGEdit(this, list_, this, kEdit, true)), pair_(new TOkCancelGadgetWin(this))
{
    if (resId == kCalculationsId) {
        prefix_ = "fct";
        helpId_ = 3122;
        context_ = ecCalculations;
    } else if (resId == kEvaluationsId) {
        prefix_ = "res";
        helpId_ = 3125;
        context_ = ecEvaluations;
    } else {
        prefix_ = "cond";
        helpId_ = 3124;
        context_ = ecValidations;
    }
    new QHintText(this, kHint);
    list_->Activate(true);
    OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2) { return CharToItem(p1); });
    OnMessage(WM_CONTEXTMENU, [this](TParam1 w, TParam2) { return ContextMenu(w); });
}

void QPageCalcEvalVal::ApplyNameRule() { NormalizeDefinitionNames(prefix_, defs_); }

void QPageCalcEvalVal::SetupPage()
{
    ApplyNameRule();
    list_->Refill();
    SetContextHelpId(helpId_);
    edit_->Open(nullptr);
    edit_->ShowWindow(SW_SHOW);
    pair_->PlaceBeside(*edit_);
}

TResult QPageCalcEvalVal::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    switch (id) {
    case kList: ListNotify(notifyCode); return 0;
    case kEdit: EditNotify(notifyCode); return 0;
    case IDOK:
    case IDCANCEL:
        if (edit_->HasFocus()) {
            if (id == IDCANCEL) edit_->Open(nullptr);
            list_->SetFocus();
            return 0;
        }
        break;
    default: break;
    }
    return QMethodPage::EvCommand(id, control, notifyCode);
}

void QPageCalcEvalVal::ListNotify(unsigned code)
{
    const int sel = list_->GetSelIndex();
    switch (code) {
    case QVarList::vlSelChange: edit_->Open(nullptr); break;
    case QVarList::vlDblClk: edit_->OpenSelected(nullptr); break;
    case QVarList::vlF2: edit_->OpenFocused(nullptr); break;
    case QVarList::vlNameClick:
    case QVarList::vlCtrlEnter: Rename(); break;
    case QVarList::vlInsert:
        if (sel < 0) break;
        defs_.insert(defs_.begin() + sel, twostr{});
        ApplyNameRule();
        edit_->OpenFocused("");
        list_->InsertRow();
        break;
    case QVarList::vlDelete:
        if (!list_->HasElementSelected()) break;
        defs_.erase(defs_.begin() + sel);
        ApplyNameRule();
        list_->DeleteRow();
        edit_->Open(nullptr);
        break;
    default: break;
    }
}

void QPageCalcEvalVal::Rename()
{
    if (!list_->HasElementSelected()) return;
    twostr& def = defs_[static_cast<std::size_t>(list_->GetSelIndex())];
    QVarNameDlg dlg(this, QVarNameDlg::kResId);
    dlg.name = def.name;
    if (dlg.Execute() != IDOK) return;
    def.name = dlg.name;
    ApplyNameRule();
    list_->RedrawSelected();
}

void QPageCalcEvalVal::EditNotify(unsigned code)
{
    const int sel = list_->GetSelIndex();
    switch (code) {
    case QGEdit::kEnded:
        edit_->Open(list_->HasElementSelected() ? defs_[static_cast<std::size_t>(sel)].text.c_str() : "");
        break;
    case QGEdit::kChanged: {
        if (sel < 0) break;
        std::string text = LimitChars(edit_->GetWindowText(), kMaxText);
        if (list_->HasElementSelected()) {
            defs_[static_cast<std::size_t>(sel)].text = std::move(text);
            list_->RedrawSelected();
        } else {
            defs_.push_back(twostr{{}, std::move(text)});
            ApplyNameRule();
            list_->InsertRow();
        }
        break;
    }
    case EN_SETFOCUS: pair_->EnableGadgets(true); break;
    case EN_KILLFOCUS: pair_->EnableGadgets(false); break;
    default: break;
    }
}

TResult QPageCalcEvalVal::CharToItem(TParam1 p1)
{
    const unsigned ch = LOWORD(p1);
    if (ch < 32) return -1;
    edit_->OpenWithChar(ch);
    return -2;
}

TResult QPageCalcEvalVal::ContextMenu(TParam1 window)
{
    if (reinterpret_cast<TWindow*>(window) != edit_) {
        DefaultProcessing();
        return 0;
    }
    const QAllPsh& s = Sheet();
    RunExpressionWizardFor(*edit_, context_, s.plate, &s.calculations, &s.validations, &s.evaluations);
    return 0;
}

void QPageCalcEvalVal::KillActive()
{
    for (twostr& d : defs_) d.text = TrimRight(d.text);
    const std::size_t before = defs_.size();
    while (!defs_.empty() && defs_.back().text.empty()) defs_.pop_back();
    if (defs_.size() != before) {
        // The page may be shown again: its rows must match the list.
        list_->Refill();
        edit_->Open(nullptr);
    }
}

}  // namespace vyn
