#include "calibration_dialogs/QCalDlg.h"

#include "controls/QGEdit.h"
#include "calibration/QCalibr.h"
#include "calibration_dialogs/ICalibrationSource.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "controls/EditTextLimit.h"
#include "controls/InPlaceEditColours.h"
#include "controls/QNumberSeries.h"
#include "controls/TypedNumberEntry.h"
#include "controls/QVarList.h"
#include "controls/TOkCancelGadgetWin.h"
#include "platform/core/StringTable.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/ControlList.h"
#include "platform/gui/MsgBox.h"

namespace vyn {

namespace {
constexpr int kHelpId = 3200;
constexpr int kCalculatedText = 1720, kStoredText = 1721, kNoValidCalibration = 1725;
// Where the last dialog stood, for the next one in this run.
TPoint sLastPos(-1, -1);

// false, after telling the user, when the shown edit's text reads as no number the plate file
// can hold. A hidden edit (its coefficient not fixed, or not the linear model) cannot be
// mended where it stands: its text is dropped, the coefficient keeps its value, and the edit
// shows that value again should its box be ticked later.
bool ReadK(TWindow* owner, TEdit& edit, double fallback, double& value)
{
    const std::string text = LimitChars(edit.GetWindowText(), 30);
    double v = NoValue;
    if (!edit.IsWindowVisible()) {
        if (ReadTypedNumber(text.c_str(), v) == tnNotANumber) {
            edit.SetWindowText(FormatDouble(value, nmGeneral, 0, 0, 0));
            return true;
        }
    } else if (TakeTypedNumber(owner, text, v) == tnNotANumber) {
        edit.SetFocus();
        edit.SetSelection(0, 32767);
        return false;
    }
    value = v == NoValue ? fallback : v;
    return true;
}
}  // namespace

QCalDlg::QCalDlg(TWindow* parent, int resId)
    : TDialog(parent, resId), pair_(new TOkCancelGadgetWin(this)), edit_(nullptr),
      list_(new QVarList(this, kList, TColor(255, 0, 0), &concentrations, nullptr)), model_(new TComboBox(this, kModel)),
      increasing_(new TRadioButton(this, kIncreasing)), decreasing_(new TRadioButton(this, kDecreasing)),
      logX_(new TCheckBox(this, kLogX)), fixK0_(new TCheckBox(this, kFixK0)), fixK1_(new TCheckBox(this, kFixK1)),
      k0_(new TEdit(this, kK0)), k1_(new TEdit(this, kK1))
{
    edit_ = new QGEdit(this, list_, this, kEdit, false);
    series_ = std::make_unique<QNumberSeries>(*list_, *edit_, concentrations, pair_, 0.5);
    OnMessage(kVarListCharToItem, [this](TParam1 p1, TParam2) { return CharToItem(p1); });
}

QCalDlg::~QCalDlg() = default;

void QCalDlg::SetupWindow()
{
    TDialog::SetupWindow();
    if (sLastPos.x >= 0) SetWindowPos(nullptr, sLastPos.x, sLastPos.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetContextHelpId(kHelpId);
    if (cal) LoadFromCalibration(cal->stored, *cal);
}

void QCalDlg::CleanupWindow()
{
    sLastPos = ClientToScreen(TPoint(0, 0));
    TDialog::CleanupWindow();
}

void QCalDlg::LoadFromCalibration(int storedFlag, const QCalibr& c)
{
    model = c.model;
    decreasing = c.decreasing != 0 ? 1 : 0;
    logX = c.logX;
    concentrations = c.concentrations;
    memo = c.memo;
    fixedK = c.fixedK;
    K0 = c.K0;
    K1 = c.K1;
    stored = storedFlag;
    list_->Refill();

    (decreasing ? decreasing_ : increasing_)->Check();
    (decreasing ? increasing_ : decreasing_)->Uncheck();
    model_->ClearList();
    for (int m = 0; m < QCalibr::ModelCount(); ++m) model_->AddString(QCalibr::ModelName(m));
    if (model < 0 || model >= QCalibr::ModelCount()) model = 0;
    model_->SetSelIndex(model);

    logX_->SetCheck(logX ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    if ((fixedK & 3) == 3) fixedK = 1;
    fixK0_->SetCheck(fixedK & 1 ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    fixK1_->SetCheck(fixedK & 2 ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED);
    k0_->SetWindowText(FormatDouble(K0, nmGeneral, 0, 15, 0));
    k1_->SetWindowText(FormatDouble(K1, nmGeneral, 0, 15, 0));

    const bool editable = !stored;
    for (int id : {kIncreasing, kDecreasing, kModel, kLogX, kEdit, kFixK0, kFixK1, kK0, kK1})
        if (TWindow* w = GetDlgItem(id)) w->EnableWindow(editable);

    // The pair sits centred above the edit, a gap of an eighth of its height between them.
    const TSize pair = gOkCancelSize;
    const TRect e = ChildRectInClient(*edit_);
    pair_->SetWindowPos(nullptr, e.left + (e.Width() - pair.cx) / 2, e.top - pair.cy - pair.cy / 8, pair.cx, pair.cy,
                        SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    pair_->ShowWindow(editable ? SW_SHOWNA : SW_HIDE);
    pair_->EnableGadgets(false);
    edit_->ShowWindow(editable ? SW_SHOW : SW_HIDE);
    list_->Activate(editable);
    edit_->Open(nullptr);
    ColourInPlaceEdit(*edit_);

    ApplyVisibility();
    SetDlgItemText(kState, GetResString(stored ? kStoredText : kCalculatedText));
    if (TWindow* w = GetDlgItem(kRelease)) w->ShowWindow(stored && !sourcePlate ? SW_SHOW : SW_HIDE);
    if (TWindow* w = GetDlgItem(kRemember)) w->ShowWindow(SW_HIDE);
}

void QCalDlg::ApplyVisibility()
{
    const int s = model_->GetSelIndex();
    logX_->ShowWindow(QCalibr::HasLogOption(s) ? SW_SHOW : SW_HIDE);
    KVisibility();
}

void QCalDlg::KVisibility()
{
    const bool linear = model_->GetSelIndex() == cmLinear;
    fixK0_->ShowWindow(linear ? SW_SHOW : SW_HIDE);
    fixK1_->ShowWindow(linear ? SW_SHOW : SW_HIDE);
    k0_->ShowWindow(linear && fixK0_->GetCheck() == TCheckBox::BF_CHECKED ? SW_SHOW : SW_HIDE);
    k1_->ShowWindow(linear && fixK1_->GetCheck() == TCheckBox::BF_CHECKED ? SW_SHOW : SW_HIDE);
}

bool QCalDlg::StoreControls()
{
    double k0 = K0, k1 = K1;
    if (!ReadK(this, *k0_, 0.0, k0) || !ReadK(this, *k1_, 1.0, k1)) return false;
    const int sel = model_->GetSelIndex();
    model = sel >= 0 && sel < QCalibr::ModelCount() ? sel : 0;
    logX = logX_->GetCheck() == TCheckBox::BF_CHECKED && QCalibr::HasLogOption(model) ? 1 : 0;
    decreasing = decreasing_->GetCheck() == TCheckBox::BF_CHECKED ? 1 : 0;
    fixedK = fixK0_->GetCheck() == TCheckBox::BF_CHECKED ? 1 : fixK1_->GetCheck() == TCheckBox::BF_CHECKED ? 2 : 0;
    K0 = k0;
    K1 = k1;
    while (!concentrations.empty() && concentrations.back() == NoValue) concentrations.pop_back();
    list_->Refill();
    return true;
}

void QCalDlg::LoadCalibration()
{
    FileCalibrationSource plain;
    ICalibrationSource& src = source ? *source : plain;
    QDoc* chosen = nullptr;
    if (src.SelectCalibration(this, chosen) != IDOK) return;
    if (chosen) {
        sourceDoc = chosen;
        sourcePlate = &chosen->GetPlate();
        LoadFromCalibration(1, sourcePlate->calibr);
        CloseWindow(IDOK);
        return;
    }
    QDoc* doc = src.OpenStandardDoc(this);
    src.ActivateOwnFrame();
    if (!doc) return;
    if (doc->GetPlate().calibr.state == csValid) {
        sourceDoc = doc;
        sourcePlate = &doc->GetPlate();
        openedDoc = doc;
        CloseWindow(IDOK);
        return;
    }
    MessageBox(this, GetResString(kNoValidCalibration), "", MB_OK | MB_ICONEXCLAMATION);
    src.CloseAndDeleteDoc(*doc);
    src.ActivateOwnFrame();
}

TResult QCalDlg::CharToItem(TParam1 p1) { return series_->CharToItem(LOWORD(p1)); }

TResult QCalDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    switch (id) {
    case kList: series_->ListNotify(notifyCode); return 0;
    case kEdit: series_->EditNotify(notifyCode); return 0;
    case kFixK0:
    case kFixK1:
        if (notifyCode != BN_CLICKED) return 0;
        (id == kFixK0 ? fixK1_ : fixK0_)->Uncheck();
        KVisibility();
        return 0;
    case kModel:
        if (notifyCode == CBN_SELCHANGE) ApplyVisibility();
        return 0;
    case kRelease:
        if (notifyCode != BN_CLICKED) return 0;
        stored = 0;
        CloseWindow(IDOK);
        return 0;
    case kRemember: return 0;
    case kLoad:
        if (notifyCode == BN_CLICKED) LoadCalibration();
        return 0;
    case IDOK:
    case IDCANCEL:
        if (series_->ConfirmOrCancel(id)) return 0;
        if (id == IDOK) {
            if (StoreControls()) CloseWindow(IDOK);
        } else {
            CloseWindow(IDCANCEL);
        }
        return 0;
    default: break;
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

}  // namespace vyn
