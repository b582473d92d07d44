#pragma once
// QCrvWindow: the x/y plot on which both graph views are built. It draws one curve y(x), which
// the derived view computes, and one set of points that the view lends it, on linear or
// logarithmic axes with an optional grid. The user selects points (mouse rectangle, Tab) and
// marks them for exclusion or inclusion, and drags two range markers. The window never changes
// the plate: the view reads the pending marks and the marker values and hands them on.
#include <optional>
#include <string>
#include <vector>

#include "platform/gui/Gdi.h"
#include "platform/gui/Window.h"

namespace vyn {

class QCrvWindow : public TWindow {
public:
    // Point flag bits: as lent, toggled by the user, second colour.
    static constexpr int kExcluded = 1, kToggled = 2, kSecondColour = 4;
    static constexpr unsigned kBlinkTimer = 1;

    explicit QCrvWindow(TWindow* parent);
    ~QCrvWindow() override;

    // The curve's value at x; NoValue where the curve has none.
    virtual double CurveY(double x) = 0;

    void SetXLog(int flag);
    void SetYLog(int flag);
    void SetAreaFlag(int flag);
    void SetTitle(const char* text);
    void SetXLabel(const char* text, bool highlight);
    void SetMessage(const char* text);
    void SetCurve(double extentLow, double extentHigh, double validLow, double validHigh);
    // The arrays are lent: they must live until the next SetData.
    void SetData(const double* x, const double* y, int count, const int* flags, bool active);
    void SetMarkers(double low, double high);
    void Refresh();
    // Lays the plot out now when that has not happened yet.
    void EnsureLayout()
    {
        if (layoutPending_) UpdateLayout();
    }

    void MarkSelected(bool exclude);
    void InvertSelected();
    void RestoreMarks();
    void ResetMarkers();

    // --- queries ---
    bool HasSelection() const { return selCount_ > 0 && drawnCount_ > 0; }
    int PendingCount() const { return pending_; }
    bool RangeChanged() const { return rangeChanged_; }
    double MarkerLow() const { return curLo_; }
    double MarkerHigh() const { return curHi_; }
    const std::vector<int>& Flags() const { return flags_; }
    int GetXLog() const { return x_.log; }
    int GetYLog() const { return y_.log; }
    int GetGrid() const { return grid_; }
    int State() const { return state_; }
    const std::string& Message() const { return message_ ? *message_ : kEmpty; }
    bool IsSelected(int point) const { return point >= 0 && point < count_ && sel_[point] != 0; }
    int FocusBits() const { return focus_; }

    // --- geometry, for the printout of the view and for tests ---
    TRect PlotRect() const { return plot_; }
    int XDevice(double v) const;
    int YDevice(double v) const;
    double XWorld(int d) const;
    // Marker line x positions, -1 without markers.
    int Marker1X() const { return mx1_; }
    int Marker2X() const { return mx2_; }
    const std::vector<TPoint>& CurvePoints() const { return poly_; }
    // The axis scale as laid out: first and last tick, step, intervals, minor ticks and decades.
    struct Axis {
        int log = 0;
        bool defined = false;
        double first = 0.0, last = 0.0, step = 1.0;
        int minor = 1, digits = 0, intervals = 0;
        int firstDecade = 0, lastDecade = 0;
        double low = 0.0, high = 1.0, half = 1.0;
    };
    const Axis& XAxis() const { return x_; }
    const Axis& YAxis() const { return y_; }
    // Paints the whole client area (what Paint draws).
    void Draw(TDC& dc);

protected:
    void SetupWindow() override;
    void Paint(TDC& dc, bool erase, TRect& rect) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;
    void EvTimer(unsigned id) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvLButtonDown(unsigned modKeys, const TPoint& p) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;
    void EvLButtonUp(unsigned modKeys, const TPoint& p) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;

    void UpdateLayout();

private:
    static const std::string kEmpty;
    void MeasureFont(TDC& dc);
    void AxisRange(Axis& a, double lo, double hi);
    void LayoutPlot(TDC& dc);
    void LayoutCurve();
    void LayoutPoints();
    void LayoutMarkers();
    std::vector<std::string> XLabels() const;
    std::vector<std::string> YLabels() const;
    void DrawAxes(TDC& dc);
    void DrawXAxis(TDC& dc);
    void DrawYAxis(TDC& dc);
    void DrawCurve(TDC& dc);
    void DrawPoints(TDC& dc);
    void DrawMarkers(TDC& dc);
    bool IsExcluded(int i) const;
    void AfterMarkChange();
    void ClearSelection();
    void FocusNext(bool forward);
    void MoveMarkers(int dx);
    void DrawDragFeedback();
    int ClampMarkerShift(int dx) const;
    void Highlight(bool on);

    std::optional<std::string> title_, xLabel_, message_;
    bool highlight_ = false;
    TRect titleRect_, xLabelRect_, messageRect_;
    TFont font_;
    int cw_ = 8, ch_ = 16, tick_ = 4, minorTick_ = 2;
    TRect client_;
    TRect plot_;
    int state_ = 0, prevState_ = 0;
    bool layoutPending_ = true;
    int grid_ = 0;
    Axis x_, y_;

    double extLo_, extHi_, validLo_, validHi_, curveYLo_, curveYHi_;
    std::vector<TPoint> poly_;
    int validStart_ = -1, validEnd_ = -1;

    const double* px_ = nullptr;
    const double* py_ = nullptr;
    int count_ = 0;
    std::vector<int> flags_;
    bool active_ = false;
    double dxMin_, dxMax_, dyMin_, dyMax_;
    std::vector<int> order_;       // point indexes by x, then y
    std::vector<TRect> bounds_;    // per drawing position; empty when not drawn
    std::vector<int> sel_;
    int selCount_ = 0;
    int pending_ = 0;
    int drawnCount_ = 0;

    double initLo_, initHi_, curLo_, curHi_;
    bool rangeChanged_ = false;
    int mx1_ = -1, mx2_ = -1;
    int focus_ = 0;
    bool focusByClick_ = false;  // the focus came with the press of the left button now down
    TRect hit1_, hit2_;

    bool dragging_ = false;
    int dragMode_ = 0;
    TPoint dragStart_, dragCur_;
    int keyRepeat_ = 0;
    bool blinkOn_ = true;
    int blinkCount_ = 0;
};

}  // namespace vyn
