#pragma once
#include "platform/gui/Dialog.h"

namespace vyn {

class QCommSettings;

// "Communication Port Setup": port, speed, word length, stop bits and parity of the reader's
// port. Choices a reader driver has locked are shown but cannot be changed.
class QComSetupDlg : public TDialog {
public:
    QComSetupDlg(TWindow* parent, QCommSettings& settings);

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    bool Checked(int id) const;

    QCommSettings& settings_;
};

}  // namespace vyn
