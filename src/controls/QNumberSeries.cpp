#include "controls/QNumberSeries.h"

#include "controls/QGEdit.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "controls/EditTextLimit.h"
#include "controls/InPlaceEditColours.h"
#include "controls/QVarList.h"
#include "controls/TOkCancelGadgetWin.h"
#include "controls/TypedNumberEntry.h"

namespace vyn {

namespace {
constexpr std::size_t kMaxText = 7999;
}  // namespace

QNumberSeries::QNumberSeries(QVarList& list, QGEdit& edit, std::vector<double>& values, TOkCancelGadgetWin* pair,
                             double step)
    : list_(list), edit_(edit), values_(values), pair_(pair), step_(step)
{
}

void QNumberSeries::ListNotify(unsigned code)
{
    const int sel = list_.GetSelIndex();
    switch (code) {
    case QVarList::vlSelChange: edit_.Open(nullptr); break;
    case QVarList::vlDblClk: edit_.OpenSelected(nullptr); break;
    case QVarList::vlF2: edit_.OpenFocused(nullptr); break;
    case QVarList::vlInsert:
        if (sel < 0) break;
        values_.insert(values_.begin() + sel, NoValue);
        edit_.OpenFocused("");
        list_.InsertRow();
        break;
    case QVarList::vlDelete:
        if (!list_.HasElementSelected()) break;
        values_.erase(values_.begin() + sel);
        list_.DeleteRow();
        edit_.Open(nullptr);
        break;
    default: break;
    }
}

void QNumberSeries::EditNotify(unsigned code)
{
    const int sel = list_.GetSelIndex();
    switch (code) {
    case QGEdit::kEnded: {
        std::string text;
        if (list_.HasElementSelected()) {
            const double v = values_[static_cast<std::size_t>(sel)];
            if (v != NoValue) text = FormatDouble(v, nmGeneral, 0, 15, 0);
        }
        edit_.Open(text.c_str());
        break;
    }
    case QGEdit::kChanged: {
        if (sel < 0) break;
        const std::string text = LimitChars(edit_.GetWindowText(), kMaxText);
        double v = NoValue;
        if (ReadTypedNumber(text.c_str(), v) == tnNotANumber) {
            // The entry keeps its value; the edit shows it again before the message takes
            // the focus, so that leaving the edit does not hand the text over a second time.
            edit_.Open(nullptr);
            TellNotANumber(edit_.GetParent(), text);
            break;
        }
        if (list_.HasElementSelected()) {
            values_[static_cast<std::size_t>(sel)] = v;
            list_.RedrawSelected();
        } else {
            values_.push_back(v);
            list_.InsertRow();
        }
        break;
    }
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
        if (pair_) pair_->EnableGadgets(code == EN_SETFOCUS);
        ColourInPlaceEdit(edit_);
        break;
    default: break;
    }
}

bool QNumberSeries::ConfirmOrCancel(unsigned id)
{
    if (!edit_.HasFocus()) return false;
    if (id == IDCANCEL) edit_.Open(nullptr);
    // Leaving the edit stores what was typed (nothing after a cancel, which cleared it).
    list_.SetFocus();
    return true;
}

void QNumberSeries::AppendStep()
{
    if (values_.empty()) return;
    const double last = values_.back();
    if (last == 0.0 || last == NoValue) return;
    values_.push_back(last * step_);
    list_.SelectLast();
    list_.InsertRow();
    edit_.Open(nullptr);
}

TResult QNumberSeries::CharToItem(unsigned ch)
{
    if (ch == '/') {
        AppendStep();
        return -2;
    }
    if (ch == 'e' || ch == 'E' || ch == '+' || ch == '-' || ch == '.' || (ch >= '0' && ch <= '9') ||
        ch == static_cast<unsigned char>(gDecimalChar)) {
        edit_.OpenWithChar(ch);
        return -2;
    }
    return -1;
}

void QNumberSeries::DropTrailingMissing()
{
    const std::size_t before = values_.size();
    while (!values_.empty() && values_.back() == NoValue) values_.pop_back();
    if (values_.size() == before) return;
    // The page may be shown again: its rows must match the array.
    list_.Refill();
    edit_.Open(nullptr);
}

}  // namespace vyn
