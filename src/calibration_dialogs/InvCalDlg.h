#pragma once
// InvCalDlg: "Inverse Calculate", which converts with a calibration curve while the user types:
// a signal into a concentration and a concentration into a signal. It only reads the curve.
#include "evaluator/NumFormat.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class QCalibr;

class InvCalDlg : public TDialog {
public:
    static constexpr int kResId = 4047;
    static constexpr int kModel = 200, kYRange = 201, kXRange = 202, kYEdit = 101, kXEdit = 102;

    InvCalDlg(TWindow* parent, const QCalibr* calibration);

protected:
    void SetupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void Convert(int source, int target);
    std::string Number(double v) const;

    const QCalibr* calibration_;
    int updating_ = 0;
    QNumFormat format_{nmGeneral, 0, 4};
};

}  // namespace vyn
