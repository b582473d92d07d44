#pragma once
// Push buttons, check boxes and radio buttons. A click tells the parent with BN_CLICKED.
#include "platform/gui/Control.h"

namespace vyn {

class TButton : public TControl {
public:
    using TControl::TControl;
    bool IsDefault() const { return (style_ & dlgstyle::DEFPUSHBUTTON) != 0; }
    // Clicks the button as the user would: the parent gets BN_CLICKED.
    void Click();

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;
    unsigned EvGetDlgCode(const TMsg*) override;
};

class TCheckBox : public TButton {
public:
    using TButton::TButton;
    enum { BF_UNCHECKED = 0, BF_CHECKED = 1, BF_GRAYED = 2 };
    int GetCheck() const;
    void SetCheck(int state);
    void Check() { SetCheck(BF_CHECKED); }
    void Uncheck() { SetCheck(BF_UNCHECKED); }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    unsigned EvGetDlgCode(const TMsg*) override { return DLGC_BUTTON; }

    int check_ = BF_UNCHECKED;  // until the control exists
};

class TRadioButton : public TCheckBox {
public:
    using TCheckBox::TCheckBox;

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    unsigned EvGetDlgCode(const TMsg*) override { return DLGC_BUTTON | DLGC_RADIOBUTTON; }
};

}  // namespace vyn
