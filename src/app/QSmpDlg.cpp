#include "app/QSmpDlg.h"

#include <cstdio>

#include "controls/QGEdit.h"
#include "evaluator/NoValue.h"
#include "controls/EditTextLimit.h"
#include "controls/InPlaceEditColours.h"
#include "controls/QNumberSeries.h"
#include "controls/QVarList.h"
#include "controls/QVarNameDlg.h"
#include "controls/TOkCancelGadgetWin.h"
#include "platform/gui/ControlButton.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
constexpr int kNumber = 100, kIdent = 101, kGlobal = 102, kLocal = 103, kEvalList = 601, kEvalEdit = 602,
              kDilList = 603, kDilEdit = 604;
constexpr std::size_t kMaxText = 7999;
const char* const kPrefix = "res";
}  // namespace

TRect QSmpDlg::LastRect;

QSmpDlg::QSmpDlg(TWindow* parent, const QPlate& plate, int sampleIndex, int editable, int resId)
    : TDialog(parent, resId), Editable(editable), plate_(plate),
      sample_(dynamic_cast<QQSample*>(plate.GetSample(sampleIndex))),
      quantitative_(sample_ && (sample_->kind & 8) ? 1 : 0)
{
    number_ = new TStatic(this, kNumber);
    ident_ = new TStatic(this, kIdent);
    if (quantitative_) {
        dilList_ = new QVarList(this, kDilList, TColor(255, 0, 0), &Dilutions, nullptr);
        dilEdit_ = new QGEdit(this, dilList_, this, kDilEdit, false);
        dilPair_ = new TOkCancelGadgetWin(this);
        // Each further dilution of a series doubles the last.
        series_ = std::make_unique<QNumberSeries>(*dilList_, *dilEdit_, Dilutions, dilPair_, 2.0);
    }
    evalList_ = new QVarList(this, kEvalList, TColor(0, 0, 255), nullptr, &Evaluations);
    evalEdit_ = new QGEdit(this, evalList_, this, kEvalEdit, false);
    evalPair_ = new TOkCancelGadgetWin(this);
    OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2 p2) { return CharToItem(p1, p2); });
}

QSmpDlg::~QSmpDlg() = default;

void QSmpDlg::SetupWindow()
{
    if (sample_) {
        if (auto* quant = dynamic_cast<QNSample*>(sample_)) Dilutions = quant->QuantDefinition();
        Evaluations = sample_->QualDefinition();
        NormalizeDefinitionNames(kPrefix, Evaluations);
    }
    TDialog::SetupWindow();
    SetContextHelpId(quantitative_ ? 3211 : 3210);
    if (!(LastRect == TRect()))
        SetWindowPos(nullptr, LastRect.left, LastRect.top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    evalPair_->PlaceBeside(*evalEdit_);
    evalPair_->ShowWindow(SW_HIDE);
    if (dilPair_) {
        dilPair_->PlaceBeside(*dilEdit_);
        dilPair_->ShowWindow(SW_HIDE);
    }
    if (sample_) {
        std::string num;
        if (sample_->IsFixed()) {
            num = IndexToLetters(sample_->index);
        } else {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%2d", sample_->SeqNumber());
            num = buf;
        }
        number_->SetText(num + ":");
        // The number in the colour of its kind: red for a quantitative sample, blue otherwise.
        number_->SetColors(quantitative_ ? TColor(255, 0, 0) : TColor(0, 0, 255), TColor(192, 192, 192));
        ident_->SetText(sample_->ident);
        UseLocal = sample_->UsesGlobalDefinition() ? 0 : 1;
    }
    UpdateControls(false);
    if (!Editable) {
        for (int id : {kGlobal, kLocal}) {
            TWindow* r = GetDlgItem(id);
            if (!r) continue;
            r->EnableWindow(false);
            if ((id == kLocal) != (UseLocal != 0)) r->ShowWindow(SW_HIDE);
        }
    }
}

void QSmpDlg::UpdateControls(bool reload)
{
    if (reload) {
        Dilutions.clear();
        Evaluations.clear();
        if (quantitative_) Dilutions = plate_.globalQuantDef;
        Evaluations = plate_.globalQualDef;
        NormalizeDefinitionNames(kPrefix, Evaluations);
    }
    evalList_->Refill();
    evalEdit_->Open(nullptr);
    if (dilList_) {
        dilList_->Refill();
        dilEdit_->Open(nullptr);
    }
    if (auto* g = dynamic_cast<TRadioButton*>(GetDlgItem(kGlobal))) g->SetCheck(UseLocal ? 0 : 1);
    if (auto* l = dynamic_cast<TRadioButton*>(GetDlgItem(kLocal))) l->SetCheck(UseLocal ? 1 : 0);

    const bool edit = CanEdit();
    const auto apply = [edit](QVarList* list, QGEdit* e, TOkCancelGadgetWin* pair) {
        if (!list) return;
        e->ShowWindow(edit ? SW_SHOW : SW_HIDE);
        list->Activate(edit);
        if (edit) {
            pair->PlaceBeside(*e);
            pair->EnableGadgets(e->HasFocus());
        } else {
            pair->ShowWindow(SW_HIDE);
        }
    };
    apply(evalList_, evalEdit_, evalPair_);
    apply(dilList_, dilEdit_, dilPair_);
    ColourInPlaceEdit(*evalEdit_);
    if (dilEdit_) ColourInPlaceEdit(*dilEdit_);
}

void QSmpDlg::Choose(bool local)
{
    if ((local ? 1 : 0) == UseLocal) return;
    UseLocal = local ? 1 : 0;
    UpdateControls(!local);
}

TResult QSmpDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    switch (id) {
    case kGlobal:
    case kLocal:
        if (notifyCode == BN_CLICKED) Choose(id == kLocal);
        return 0;
    case kEvalList: EvalListNotify(notifyCode); return 0;
    case kEvalEdit: EvalEditNotify(notifyCode); return 0;
    case kDilList:
        // Numbers have no names to rename.
        if (series_ && notifyCode != QVarList::vlNameClick && notifyCode != QVarList::vlCtrlEnter) series_->ListNotify(notifyCode);
        return 0;
    case kDilEdit:
        if (series_) series_->EditNotify(notifyCode);
        return 0;
    case IDOK:
    case IDCANCEL:
        // The pair beside an edit confirms or cancels the entry, not the dialog.
        if (evalEdit_->HasFocus()) {
            if (id == IDCANCEL) evalEdit_->Open(nullptr);
            evalList_->SetFocus();
            return 0;
        }
        if (series_ && series_->ConfirmOrCancel(id)) return 0;
        break;
    default: break;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

void QSmpDlg::EvalListNotify(unsigned code)
{
    const int sel = evalList_->GetSelIndex();
    switch (code) {
    case QVarList::vlSelChange: evalEdit_->Open(nullptr); break;
    case QVarList::vlDblClk: evalEdit_->OpenSelected(nullptr); break;
    case QVarList::vlF2: evalEdit_->OpenFocused(nullptr); break;
    case QVarList::vlNameClick:
    case QVarList::vlCtrlEnter: Rename(); break;
    case QVarList::vlInsert:
        if (sel < 0) break;
        Evaluations.insert(Evaluations.begin() + sel, twostr{});
        NormalizeDefinitionNames(kPrefix, Evaluations);
        evalEdit_->OpenFocused("");
        evalList_->InsertRow();
        break;
    case QVarList::vlDelete:
        if (!evalList_->HasElementSelected()) break;
        Evaluations.erase(Evaluations.begin() + sel);
        NormalizeDefinitionNames(kPrefix, Evaluations);
        evalList_->DeleteRow();
        evalEdit_->Open(nullptr);
        break;
    default: break;
    }
}

void QSmpDlg::Rename()
{
    if (!evalList_->HasElementSelected()) return;
    twostr& def = Evaluations[static_cast<std::size_t>(evalList_->GetSelIndex())];
    QVarNameDlg dlg(this, QVarNameDlg::kResId);
    dlg.name = def.name;
    if (dlg.Execute() != IDOK) return;
    def.name = dlg.name;
    NormalizeDefinitionNames(kPrefix, Evaluations);
    evalList_->RedrawSelected();
}

void QSmpDlg::EvalEditNotify(unsigned code)
{
    const int sel = evalList_->GetSelIndex();
    switch (code) {
    case QGEdit::kEnded:
        evalEdit_->Open(evalList_->HasElementSelected() ? Evaluations[static_cast<std::size_t>(sel)].text.c_str() : "");
        break;
    case QGEdit::kChanged: {
        if (sel < 0) break;
        std::string text = LimitChars(evalEdit_->GetWindowText(), kMaxText);
        if (evalList_->HasElementSelected()) {
            Evaluations[static_cast<std::size_t>(sel)].text = std::move(text);
            evalList_->RedrawSelected();
        } else {
            Evaluations.push_back(twostr{{}, std::move(text)});
            NormalizeDefinitionNames(kPrefix, Evaluations);
            evalList_->InsertRow();
        }
        break;
    }
    case EN_SETFOCUS:
    case EN_KILLFOCUS:
        evalPair_->EnableGadgets(code == EN_SETFOCUS);
        ColourInPlaceEdit(*evalEdit_);
        break;
    default: break;
    }
}

TResult QSmpDlg::CharToItem(TParam1 p1, TParam2 p2)
{
    if (!CanEdit()) return -1;
    const unsigned ch = LOWORD(p1);
    auto* list = reinterpret_cast<TWindow*>(p2);
    if (list == dilList_ && series_) return series_->CharToItem(ch);
    if (list == evalList_ && ch >= 32) {
        evalEdit_->OpenWithChar(ch);
        return -2;
    }
    return -1;
}

void QSmpDlg::CmOk()
{
    if (!Editable || !sample_) {
        End(IDCANCEL);
        return;
    }
    const bool usedGlobal = sample_->UsesGlobalDefinition() != 0;
    if (!UseLocal) {
        End(usedGlobal ? IDCANCEL : IDOK);
        return;
    }
    while (!Evaluations.empty()) {
        Evaluations.back().text = TrimRight(Evaluations.back().text);
        if (!Evaluations.back().text.empty()) break;
        Evaluations.pop_back();
    }
    while (!Dilutions.empty() && Dilutions.back() == NoValue) Dilutions.pop_back();
    if (usedGlobal) {
        End(IDOK);
        return;
    }
    bool same = Evaluations.size() == sample_->QualDefinition().size();
    for (std::size_t i = 0; same && i < Evaluations.size(); ++i) {
        const twostr& a = Evaluations[i];
        const twostr& b = sample_->QualDefinition()[i];
        same = a.name == b.name && a.text == b.text;
    }
    if (same && quantitative_)
        if (auto* quant = dynamic_cast<QNSample*>(sample_)) same = Dilutions == quant->QuantDefinition();
    End(same ? IDCANCEL : IDOK);
}

void QSmpDlg::CmCancel() { End(IDCANCEL); }

void QSmpDlg::EvClose() { End(IDCANCEL); }

void QSmpDlg::End(int result)
{
    // The next sample dialog of the run opens where this one was left.
    if (IsWindow()) LastRect = GetWindowRect();
    CloseWindow(result);
}

}  // namespace vyn
