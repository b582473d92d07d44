#pragma once
// MyFormatDlg: "Numerical Format Spec.", one number format of the wizard's long result with
// an example of 3.14 in it.
#include "method_editors/QWizzSettings.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class MyFormatDlg : public TDialog {
public:
    static constexpr int kResId = 7430;
    static constexpr int kMaxWidth = 60;
    MyFormatDlg(TWindow* parent, QWizzFormat& format);

    // The example text as the controls stand.
    std::string ExampleText() const;

protected:
    void SetupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    // The whole number the edit shows (empty is 0), or kept for a text that is none.
    int ShownInt(int id, int kept) const;
    int ModeFromRadios() const;
    void ShowDecimals(int mode);
    void DrawExample();

    QWizzFormat& format_;
};

}  // namespace vyn
