#pragma once
// QHintText: the explanation at the foot of a method page, a wrapped text drawn in the one
// process-wide hint colour.
#include <string>

#include "platform/gui/Control.h"

namespace vyn {

extern TColor gHintTextColor;

class QHintText : public TControl {
public:
    QHintText(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return text_; }
    void SetWidgetText(const std::string&) override { Invalidate(true); }
    void Paint(TDC& dc, bool erase, TRect& rect) override;
};

}  // namespace vyn
