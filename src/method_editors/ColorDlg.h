#pragma once
// The colour buttons of the wizard and the "Colors" dialog that picks one colour. A colour
// button keeps its colour as its window text (a signed decimal number, -1 for none) and draws
// it as a framed swatch; -1 is drawn white with both diagonals.
#include "platform/gui/Control.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class TColorSwatch : public TControl {
public:
    TColorSwatch(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}
    int GetColour() const;
    void SetColour(int colour);
    void Click() { NotifyParent(BN_CLICKED); }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override
    {
        value_ = text_;  // the template's text is the colour
        return TWindow::MakeWidget(parentWidget);
    }
    std::string WidgetText() const override { return value_; }
    void SetWidgetText(const std::string& text) override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;

private:
    std::string value_ = "-1";
    bool pressed_ = false;
};

class MyColorDlg : public TDialog {
public:
    static constexpr int kResId = 7420;
    static constexpr int kMoreColours = 140;
    MyColorDlg(TWindow* parent, TWindow* opener, int colour);
    int Chosen() const { return chosen_; }

protected:
    void SetupWindow() override;

private:
    TWindow* opener_;
    int chosen_;
};

}  // namespace vyn
