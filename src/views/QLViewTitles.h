#pragma once
// QLViewTitles: the column titles above the sample list; the list repaints it whenever its
// column widths change.
#include <string>

#include "platform/gui/Window.h"

namespace vyn {

class QLView;

// The strip of column titles above the sample list.
class QLViewTitles : public TWindow {
public:
    QLViewTitles(TWindow* parent, QLView& list);
    // The strip's own height, which its parent lays it out by: two lines of the title font.
    int Height() const { return height_; }
    // The title of the identification column as last painted.
    const std::string& IdentTitle() const { return identTitle_; }
    void Draw(TDC& dc);
    void Repaint()
    {
        if (IsWindow()) Invalidate(true);
    }

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    QLView& list_;
    std::string identTitle_;
    int height_ = 0;
};

}  // namespace vyn
