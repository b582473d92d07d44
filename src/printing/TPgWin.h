#pragma once
// TPgWin: the page window of the print preview. It paints the current page of the printout,
// scaled from printer pixels to its own size through TTextPaintDC, draws the margins as red
// lines and lets the user drag them; a drag that moves a margin stores the new margins and asks
// the preview to paginate anew.
#include <string>

#include "platform/gui/Window.h"

namespace vyn {

class TRwPreview;

class TPgWin : public TWindow {
public:
    enum TDragMode { dmNone = 0, dmTop = 1, dmRight = 2, dmBottom = 3, dmLeft = 4 };
    static constexpr TColor kMarginColor{255, 0, 0};

    TPgWin(TWindow* desk, TRwPreview& frame);

    // The margins from the current page margins, in printer pixels.
    void RecalcMargins();
    // The margin nearest to (x, y) within the grab tolerance (dmNone when none), and the signed
    // distance of the point from it.
    int HitTest(int x, int y, int& offset) const;
    // The counter text of a margin dragged to (x, y): its distance from its page edge in inches.
    std::string MarginText(int x, int y) const;

    TRect marginRect;  // printer pixels
    int leftX = 0, topY = 0, rightX = 0, bottomY = 0;  // page window pixels
    int grabTolerance;
    int dragMode = dmNone;
    int grabOffset = 0;
    int dragX = 0, dragY = 0;
    double pageInches = 0;

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;

private:
    void RecalcLines();
    void DrawDragLine();
    void ShowDragCounter();

    TRwPreview& frame_;
    TWindow* focusBefore_ = nullptr;
};

}  // namespace vyn
