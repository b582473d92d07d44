#include "calibration_dialogs/InvCalDlg.h"

#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"
#include "controls/EditTextLimit.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {
constexpr int kHelpId = 3230;
constexpr int kNotCalculated = 1635;
}  // namespace

InvCalDlg::InvCalDlg(TWindow* parent, const QCalibr* calibration) : TDialog(parent, kResId), calibration_(calibration) {}

std::string InvCalDlg::Number(double v) const { return v == NoValue ? std::string() : FormatDouble(v, format_); }

void InvCalDlg::SetupWindow()
{
    TDialog::SetupWindow();
    SetContextHelpId(kHelpId);
    if (!calibration_) {
        for (int id : {kModel, kYRange, kXRange, kYEdit, kXEdit})
            if (TWindow* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);
        return;
    }
    const QCalibr& c = *calibration_;
    SetDlgItemText(kModel, QCalibr::ModelName(c.model));
    if (c.state < csValid) {
        SetDlgItemText(kXRange, c.state == csNotCalculated ? GetResString(kNotCalculated) : c.message);
        for (int id : {kYRange, kYEdit, kXEdit})
            if (TWindow* w = GetDlgItem(id)) w->ShowWindow(SW_HIDE);
        return;
    }
    const double x1 = c.results[crRangeLo], x2 = c.results[crRangeHi];
    SetDlgItemText(kXRange, Number(x1) + " .. " + Number(x2));
    SetDlgItemText(kYRange, Number(c.CurveY(x1)) + " .. " + Number(c.CurveY(x2)));
}

TResult InvCalDlg::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (control && notifyCode == EN_CHANGE && updating_ == 0) {
        if (id == kYEdit) {
            Convert(kYEdit, kXEdit);
            return 0;
        }
        if (id == kXEdit) {
            Convert(kXEdit, kYEdit);
            return 0;
        }
    }
    return TDialog::EvCommand(id, control, notifyCode);
}

void InvCalDlg::Convert(int source, int target)
{
    if (!calibration_ || calibration_->state != csValid) return;
    const QCalibr& c = *calibration_;
    // "nan", "inf" and numbers past the double range convert to nothing, like a text that holds
    // no number: compared with the ranges they would read as beyond them.
    double v = NoValue;
    std::string text;
    if (ReadTypedNumber(LimitChars(GetDlgItemText(source), 63).c_str(), v) == tnNumber) {
        if (source == kXEdit) {
            if (v >= c.results[crDrawLo] && v <= c.results[crDrawHi]) text = Number(c.CurveY(v));
        } else {
            double y = v;
            const int where = c.XFromY(y);
            text = where < 0 ? "<<" : where > 0 ? ">>" : Number(y);
        }
    }
    // The target's own change notification must not convert back.
    updating_ = target;
    SetDlgItemText(target, text);
    updating_ = 0;
}

}  // namespace vyn
