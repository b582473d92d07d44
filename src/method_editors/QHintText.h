#pragma once
// QHintText: the explanation at the foot of a method page, a wrapped text drawn in the one
// process-wide hint colour; the wizard's page headings are drawn alike in its title colour.
#include <string>

#include "platform/gui/Control.h"

namespace vyn {

extern TColor gHintTextColor;

class QHintText : public TControl {
public:
    // colour: the process-wide colour to draw in, read at every paint.
    QHintText(TWindow* parent, int resourceId, const TColor* colour = &gHintTextColor)
        : TControl(parent, resourceId), colour_(colour)
    {
    }
    TColor TextColour() const { return *colour_; }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override { return text_; }
    void SetWidgetText(const std::string&) override { Invalidate(true); }
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    const TColor* colour_;
};

}  // namespace vyn
