#pragma once
// TScrollBar: a scroll-bar control, also used as a spin button beside an edit. Every move by the
// user reaches the parent as WM_HSCROLL / WM_VSCROLL with the request code and this control.
#include "platform/gui/Control.h"

namespace vyn {

class TScrollBar : public TControl {
public:
    using TControl::TControl;
    void SetRange(int minPos, int maxPos);
    void GetRange(int& minPos, int& maxPos) const;
    void SetPosition(int pos);
    int GetPosition() const;
    bool IsVertical() const { return rect_.Height() >= rect_.Width(); }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return {}; }
    void SetWidgetText(const std::string&) override {}

private:
    int min_ = 0, max_ = 100, pos_ = 0;
};

}  // namespace vyn
