#include "method_editors/QPageCurveFit.h"

#include "controls/QGEdit.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "controls/EditTextLimit.h"
#include "controls/InPlaceEditColours.h"
#include "method_editors/QHintText.h"
#include "controls/QVarList.h"
#include "controls/TOkCancelGadgetWin.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"

namespace vyn {

namespace {
constexpr int kHelpId = 3123;
const TColor kNumberColor(255, 0, 0);

}  // namespace

QPageCurveFit::QPageCurveFit(QAllPsh* sheet)
    : QMethodPage(sheet, kResId), increasing_(new TRadioButton(this, kIncreasing)),
      decreasing_(new TRadioButton(this, kDecreasing)), model_(new TComboBox(this, kModel)),
      logX_(new TCheckBox(this, kLogX)), fixK0_(new TCheckBox(this, kFixK0)), fixK1_(new TCheckBox(this, kFixK1)),
      k0_(new TEdit(this, kK0)), k1_(new TEdit(this, kK1)),
      concList_(new QVarList(this, kConcList, kNumberColor, &sheet->concentrations, nullptr)),
      concEdit_(new QGEdit(this, concList_, this, kConcEdit, false)),
      dilList_(new QVarList(this, kDilList, kNumberColor, &sheet->dilutions, nullptr)),
      dilEdit_(new QGEdit(this, dilList_, this, kDilEdit, false)), concPair_(new TOkCancelGadgetWin(this)),
      dilPair_(new TOkCancelGadgetWin(this)),
      conc_(std::make_unique<QNumberSeries>(*concList_, *concEdit_, sheet->concentrations, concPair_, 0.5)),
      dil_(std::make_unique<QNumberSeries>(*dilList_, *dilEdit_, sheet->dilutions, dilPair_, 2.0))
{
    new QHintText(this, kHint);
    sheet->calibration = nullptr;
    sheet->applyCurveFit = 0;
    sheet->model = 0;
    sheet->decreasing = 0;
    sheet->logX = 0;
    sheet->fixedParams = 0;
    sheet->k0 = 0.0;
    sheet->k1 = 1.0;
    concList_->Activate(true);
    dilList_->Activate(true);
    OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2 p2) { return CharToItem(p1, p2); });
}

QPageCurveFit::~QPageCurveFit() = default;

void QPageCurveFit::SetupPage()
{
    QAllPsh& s = Sheet();
    s.applyCurveFit = 1;
    SetContextHelpId(kHelpId);
    if (const QCalibr* c = s.calibration) {
        s.model = c->model;
        s.decreasing = c->decreasing != 0 ? 1 : 0;
        s.logX = c->logX;
        s.concentrations = c->concentrations;
        s.fixedParams = c->fixedK;
        s.k0 = c->K0;
        s.k1 = c->K1;
        concList_->Refill();
        stored_ = c->stored != 0;
    }
    (s.decreasing ? decreasing_ : increasing_)->Check();
    (s.decreasing ? increasing_ : decreasing_)->Uncheck();

    model_->ClearList();
    for (int m = 0; m < QCalibr::ModelCount(); ++m) model_->AddString(QCalibr::ModelName(m));
    if (s.model < 0 || s.model >= QCalibr::ModelCount()) s.model = 0;
    model_->SetSelIndex(s.model);

    logX_->SetCheck(s.logX ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    // Only one coefficient can be fixed; a record that claims both keeps K0.
    s.fixedParams &= 3;
    if (s.fixedParams == 3) s.fixedParams = 1;
    fixK0_->SetCheck(s.fixedParams & 1 ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    fixK1_->SetCheck(s.fixedParams & 2 ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    shownK0_.Show(*k0_, s.k0);
    shownK1_.Show(*k1_, s.k1);
    ModelControls();

    concEdit_->Open(nullptr);
    dilEdit_->Open(nullptr);
    concEdit_->ShowWindow(SW_SHOW);
    dilEdit_->ShowWindow(SW_SHOW);
    concPair_->PlaceBeside(*concEdit_);
    dilPair_->PlaceBeside(*dilEdit_);
    ColourInPlaceEdit(*concEdit_);
    ColourInPlaceEdit(*dilEdit_);

    if (stored_) {
        s.applyCurveFit = 0;
        for (int id : {kIncreasing, kDecreasing, kModel, kLogX, kFixK0, kFixK1, kK0, kK1, kConcEdit})
            if (TWindow* w = GetDlgItem(id)) w->EnableWindow(false);
        concPair_->ShowWindow(SW_HIDE);
        concEdit_->ShowWindow(SW_HIDE);
        concList_->Activate(false);
    }
    if (TWindow* w = GetDlgItem(kStored)) w->ShowWindow(stored_ ? SW_SHOW : SW_HIDE);
}

void QPageCurveFit::ModelControls()
{
    const int s = model_->GetSelIndex();
    if (s < 0) return;
    logX_->ShowWindow(QCalibr::HasLogOption(s) ? SW_SHOW : SW_HIDE);
    if (s == cmLinear) {
        fixK0_->ShowWindow(SW_SHOW);
        fixK1_->ShowWindow(SW_SHOW);
        KControls();
    } else {
        for (TWindow* w : std::initializer_list<TWindow*>{fixK0_, fixK1_, k0_, k1_}) w->ShowWindow(SW_HIDE);
    }
}

void QPageCurveFit::KControls()
{
    k0_->ShowWindow(fixK0_->GetCheck() == TCheckBox::BF_CHECKED ? SW_SHOW : SW_HIDE);
    k1_->ShowWindow(fixK1_->GetCheck() == TCheckBox::BF_CHECKED ? SW_SHOW : SW_HIDE);
}

void QPageCurveFit::FixClicked(int id)
{
    (id == kFixK0 ? fixK1_ : fixK0_)->Uncheck();
    KControls();
}

TResult QPageCurveFit::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    switch (id) {
    case kModel:
        if (notifyCode == CBN_SELCHANGE) ModelControls();
        return 0;
    case kFixK0:
    case kFixK1:
        if (notifyCode == BN_CLICKED) FixClicked(static_cast<int>(id));
        return 0;
    case kConcList: conc_->ListNotify(notifyCode); return 0;
    case kDilList: dil_->ListNotify(notifyCode); return 0;
    case kConcEdit: conc_->EditNotify(notifyCode); return 0;
    case kDilEdit: dil_->EditNotify(notifyCode); return 0;
    case IDOK:
    case IDCANCEL:
        if (conc_->ConfirmOrCancel(id) || dil_->ConfirmOrCancel(id)) return 0;
        break;
    default: break;
    }
    return QMethodPage::EvCommand(id, control, notifyCode);
}

TResult QPageCurveFit::CharToItem(TParam1 p1, TParam2 p2)
{
    auto* list = reinterpret_cast<TWindow*>(p2);
    const unsigned ch = LOWORD(p1);
    if (list == concList_) return conc_->CharToItem(ch);
    if (list == dilList_) return dil_->CharToItem(ch);
    return -1;
}

bool QPageCurveFit::KillActive()
{
    QAllPsh& s = Sheet();
    const int sel = model_->GetSelIndex();
    s.model = sel >= 0 ? sel : 0;
    s.decreasing = decreasing_->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0;
    s.logX = logX_->GetCheck() == TCheckBox::BF_CHECKED && QCalibr::HasLogOption(s.model) ? 1 : 0;
    s.fixedParams = (fixK0_->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0) +
                    (fixK1_->GetCheck() == TCheckBox::BF_CHECKED ? 2 : 0);
    if (s.fixedParams == 3) s.fixedParams = 0;
    if (!shownK0_.Read(this, *k0_, 63, 0.0, s.k0) || !shownK1_.Read(this, *k1_, 63, 1.0, s.k1)) return false;
    conc_->DropTrailingMissing();
    dil_->DropTrailingMissing();
    return true;
}

}  // namespace vyn
