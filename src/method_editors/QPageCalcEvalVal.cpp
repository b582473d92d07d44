#include "method_editors/QPageCalcEvalVal.h"

#include "controls/QGEdit.h"
#include "controls/EditTextLimit.h"
#include "method_editors/ExpressionWizardEntry.h"
#include "controls/InPlaceEditColours.h"
#include "method_editors/QHintText.h"
#include "controls/QVarList.h"
#include "method_editors/SeriesCommands.h"
#include "method_editors/ExpressionCheck.h"
#include "controls/TOkCancelGadgetWin.h"

namespace vyn {

namespace {
const TColor kNameColor(0, 0, 255);
}  // namespace

QPageCalcEvalVal::QPageCalcEvalVal(QAllPsh* sheet, int resId, TwostrArray& list)
    : QMethodPage(sheet, resId), defs_(list), list_(new QVarList(this, kList, kNameColor, nullptr, &list)),
      edit_(new QGEdit(this, list_, this, kEdit, true)), pair_(new TOkCancelGadgetWin(this))
{
    const char* prefix;
    if (resId == kCalculationsId) {
        prefix = "fct";
        helpId_ = 3122;
        context_ = ecCalculations;
    } else if (resId == kEvaluationsId) {
        prefix = "res";
        helpId_ = 3125;
        context_ = ecEvaluations;
    } else {
        prefix = "cond";
        helpId_ = 3124;
        context_ = ecValidations;
    }
    series_ = std::make_unique<QDefinitionSeries>(*this, *list_, *edit_, list, *pair_, prefix);
    new QHintText(this, kHint);
    list_->Activate(true);
    OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2) { return series_->CharToItem(LOWORD(p1)); });
    OnMessage(WM_CONTEXTMENU, [this](TParam1 w, TParam2) { return ContextMenu(w); });
}

QPageCalcEvalVal::~QPageCalcEvalVal() = default;

void QPageCalcEvalVal::SetupPage()
{
    series_->ApplyNameRule();
    list_->Refill();
    SetContextHelpId(helpId_);
    edit_->Open(nullptr);
    edit_->ShowWindow(SW_SHOW);
    pair_->PlaceBeside(*edit_);
    ColourInPlaceEdit(*edit_);
}

TResult QPageCalcEvalVal::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    return RouteToSeries(*series_, kList, kEdit, id, notifyCode) ? 0 : QMethodPage::EvCommand(id, control, notifyCode);
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

bool QPageCalcEvalVal::KillActive()
{
    series_->DropTrailingEmpty();
    int bad = 0, position = 0;
    if (guard_.AcceptAll(this, defs_, bad, position)) return true;
    series_->ShowDefinition(bad, position);
    return false;
}

}  // namespace vyn
