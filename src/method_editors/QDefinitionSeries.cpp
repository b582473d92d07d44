#include "method_editors/QDefinitionSeries.h"

#include "controls/QGEdit.h"
#include "controls/EditTextLimit.h"
#include "controls/InPlaceEditColours.h"
#include "controls/QVarList.h"
#include "controls/QVarNameDlg.h"
#include "controls/TOkCancelGadgetWin.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
constexpr std::size_t kMaxText = 7999;
}  // namespace

QDefinitionSeries::QDefinitionSeries(TWindow& owner, QVarList& list, QGEdit& edit, TwostrArray& defs,
                                     TOkCancelGadgetWin& pair, std::string prefix)
    : owner_(owner), list_(list), edit_(edit), defs_(defs), pair_(pair), prefix_(std::move(prefix))
{
}

void QDefinitionSeries::ApplyNameRule() { NormalizeDefinitionNames(prefix_, defs_); }

void QDefinitionSeries::ListNotify(unsigned code)
{
    const int sel = list_.GetSelIndex();
    switch (code) {
    case QVarList::vlSelChange: edit_.Open(nullptr); break;
    case QVarList::vlDblClk: edit_.OpenSelected(nullptr); break;
    case QVarList::vlF2: edit_.OpenFocused(nullptr); break;
    case QVarList::vlNameClick:
    case QVarList::vlCtrlEnter: Rename(); break;
    case QVarList::vlInsert:
        if (sel < 0) break;
        defs_.insert(defs_.begin() + sel, twostr{});
        ApplyNameRule();
        edit_.OpenFocused("");
        list_.InsertRow();
        break;
    case QVarList::vlDelete:
        if (!list_.HasElementSelected()) break;
        defs_.erase(defs_.begin() + sel);
        ApplyNameRule();
        list_.DeleteRow();
        edit_.Open(nullptr);
        break;
    default: break;
    }
}

void QDefinitionSeries::Rename()
{
    if (!list_.HasElementSelected()) return;
    twostr& def = defs_[static_cast<std::size_t>(list_.GetSelIndex())];
    QVarNameDlg dlg(&owner_, QVarNameDlg::kResId);
    dlg.name = def.name;
    const int answer = dlg.Execute();
    // The keyboard goes on with the list, as before the dialog.
    list_.SetFocus();
    if (answer != IDOK) return;
    def.name = dlg.name;
    ApplyNameRule();
    list_.RedrawSelected();
}

void QDefinitionSeries::EditNotify(unsigned code)
{
    const int sel = list_.GetSelIndex();
    switch (code) {
    case QGEdit::kEnded:
        edit_.Open(list_.HasElementSelected() ? defs_[static_cast<std::size_t>(sel)].text.c_str() : "");
        break;
    case QGEdit::kChanged: {
        if (sel < 0) break;
        std::string text = LimitChars(edit_.GetWindowText(), kMaxText);
        if (list_.HasElementSelected()) {
            defs_[static_cast<std::size_t>(sel)].text = std::move(text);
            list_.RedrawSelected();
        } else {
            defs_.push_back(twostr{{}, std::move(text)});
            ApplyNameRule();
            list_.InsertRow();
        }
        break;
    }
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
        pair_.EnableGadgets(code == EN_SETFOCUS);
        ColourInPlaceEdit(edit_);
        break;
    default: break;
    }
}

bool QDefinitionSeries::ConfirmOrCancel(unsigned id)
{
    if (!edit_.HasFocus()) return false;
    // Cancel reloads the edit, which clears its change; leaving it stores what remains changed.
    if (id == IDCANCEL) edit_.Open(nullptr);
    list_.SetFocus();
    return true;
}

TResult QDefinitionSeries::CharToItem(unsigned ch)
{
    if (ch < 32) return -1;
    edit_.OpenWithChar(ch);
    return -2;
}

void QDefinitionSeries::DropTrailingEmpty()
{
    for (twostr& d : defs_) d.text = TrimRight(d.text);
    const std::size_t before = defs_.size();
    while (!defs_.empty() && defs_.back().text.empty()) defs_.pop_back();
    if (defs_.size() != before) {
        // The page may be shown again: its rows must match the list.
        list_.Refill();
        edit_.Open(nullptr);
    }
}

void QDefinitionSeries::ShowDefinition(int index, int pos)
{
    list_.SetSelIndex(index);
    edit_.OpenFocused(nullptr);
    edit_.SetSelection(pos, pos);
}

}  // namespace vyn
