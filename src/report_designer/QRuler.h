#pragma once
// The rulers beside the report view: QHRuler along the top, QVRuler along the left. They
// measure the report in inches with sixteen steps per inch, follow the view's scrolling, and
// show the extent of the shape being dragged as an inverted band. The vertical ruler repeats
// the view's bands: a raised strip beside each title bar, and beside each body a scale that
// starts at 0 at the body's top. Rulers take no input; the view drives them.
#include "platform/gui/Window.h"
#include "reports/RPScale.h"

namespace vyn {

class QRepView;

class QRuler : public TWindow {
public:
    QRuler(TWindow* parent, QRepView& view, bool vertical);

    // The mark: a pixel range from..to (inclusive) along the ruler, shown inverted.
    void ShowMark(int from, int to);
    void MoveMark(int from, int to);
    void HideMark();
    void RepaintWithMark(int from, int to);
    // The view scrolled by delta pixels along the ruler's axis.
    void ScrollBy(int delta);

    int MarkFrom() const { return markFrom_; }
    int MarkTo() const { return markTo_; }
    const RPScale& Scale() const { return scale_; }

protected:
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    virtual void PaintRuler(TDC& dc, const TRect& update) = 0;
    // Inverts the range from..to along the axis.
    virtual void InvertRange(TDC& dc, int from, int to) = 0;

    QRepView& view_;
    RPScale scale_;
    TRect client_;
    int markFrom_ = 0;
    int markTo_ = 0;
};

class QHRuler : public QRuler {
public:
    QHRuler(TWindow* parent, QRepView& view);

protected:
    void PaintRuler(TDC& dc, const TRect& update) override;
    void InvertRange(TDC& dc, int from, int to) override;
};

class QVRuler : public QRuler {
public:
    QVRuler(TWindow* parent, QRepView& view);

protected:
    void PaintRuler(TDC& dc, const TRect& update) override;
    void InvertRange(TDC& dc, int from, int to) override;

private:
    void PaintBody(TDC& dc, const TRect& body, const TRect& clip);
};

}  // namespace vyn
