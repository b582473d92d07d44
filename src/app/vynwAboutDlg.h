#pragma once
// vynwAboutDlg: the About box, showing the program's name, version, legal notice and special
// build from its own version block.
#include "platform/gui/Dialog.h"

namespace vyn {

class vynwAboutDlg : public TDialog {
public:
    static constexpr int kResId = 22000;
    static constexpr int IDC_PRODUCT = 22001, IDC_VERSION = 22002, IDC_LEGAL = 22003, IDC_SPECIAL = 22004;
    explicit vynwAboutDlg(TWindow* parent, int resId = kResId);

protected:
    void SetupWindow() override;
};

}  // namespace vyn
