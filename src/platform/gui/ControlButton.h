#pragma once
// Push buttons, check boxes and radio buttons. A click tells the parent with BN_CLICKED.
#include "platform/gui/Control.h"

namespace vyn {

struct TDrawItem;

// With the OWNERDRAW style the button is drawn by DrawItem through a TDC: the whole button on
// every change, with the action that caused it (ODA_FOCUS after the focus came or went,
// ODA_SELECT while it is pressed or released) and its state (ODS_FOCUS, ODS_SELECTED while
// pressed, ODS_DISABLED). A click by mouse captures the mouse before the button takes the focus,
// so the focus handler can tell a click from a move by keyboard.
class TButton : public TControl {
public:
    using TControl::TControl;
    bool IsDefault() const { return (style_ & dlgstyle::DEFPUSHBUTTON) != 0; }
    // Makes it the dialog's default push button in looks (the dialog's default id says which
    // button Enter presses), or an ordinary one.
    void SetDefault(bool on);
    bool IsOwnerDrawn() const { return (style_ & dlgstyle::OWNERDRAW) != 0; }
    // Clicks the button as the user would: the parent gets BN_CLICKED.
    void Click();

    // The owner's part of an owner-drawn button. The base draws a plain face with the text.
    virtual void DrawItem(TDrawItem& item);

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;
    unsigned EvGetDlgCode(const TMsg*) override;

    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags) override;

private:
    void Redraw(unsigned action);
    unsigned drawAction_ = 0x0001;  // ODA_DRAWENTIRE
    bool pressed_ = false;
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
