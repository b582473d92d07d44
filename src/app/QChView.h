#pragma once
#include "platform/gui/Dialog.h"

namespace vyn {

// QChView: "Data Type Selection". The plate view asks with it whether an operation works on
// the transformed or on the measured values; Measured tells the choice after OK.
class QChView : public TDialog {
public:
    static constexpr int kResId = 10;
    static constexpr int IDC_TRANSFORMED = 101, IDC_MEASURED = 102;
    QChView(TWindow* parent, int helpContextId, int resId = kResId);

    int Measured = 0;

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    int helpId_;
};

}  // namespace vyn
