#include "views/QCrvWindow.h"

#include <algorithm>
#include <cmath>

#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Keyboard.h"
#include "printing/AxisScale.h"

namespace vyn {

namespace {

constexpr int kCurveBuffer = 408;
constexpr int kMaxCurveSteps = 400;

const TColor kRed{255, 0, 0}, kYellow{255, 255, 0}, kCyan{0, 255, 255}, kBackground{192, 192, 192};

double MinSkip(double a, double b)
{
    if (a == NoValue) return b;
    if (b == NoValue) return a;
    return std::min(a, b);
}

double MaxSkip(double a, double b)
{
    if (a == NoValue) return b;
    if (b == NoValue) return a;
    return std::max(a, b);
}

// Device coordinates stay within what a 16-bit framework could carry, whatever the value.
int ClampDevice(double d)
{
    if (!(d > -30000.0)) return -30000;
    if (d > 30000.0) return 30000;
    return static_cast<int>(d);
}

}  // namespace

const std::string QCrvWindow::kEmpty;

QCrvWindow::QCrvWindow(TWindow* parent)
    : TWindow(parent),
      font_(GetDialogFont()),
      extLo_(NoValue), extHi_(NoValue), validLo_(NoValue), validHi_(NoValue), curveYLo_(NoValue),
      curveYHi_(NoValue), dxMin_(NoValue), dxMax_(NoValue), dyMin_(NoValue), dyMax_(NoValue),
      initLo_(NoValue), initHi_(NoValue), curLo_(NoValue), curHi_(NoValue)
{
    poly_.reserve(kCurveBuffer);
}

QCrvWindow::~QCrvWindow() = default;

void QCrvWindow::SetupWindow()
{
    TWindow::SetupWindow();
    TMemoryDC dc;
    MeasureFont(dc);
}

void QCrvWindow::MeasureFont(TDC& dc)
{
    dc.SelectObject(font_);
    TSize s = dc.GetTextExtent("W");
    cw_ = std::max(1, s.cx);
    ch_ = std::max(1, s.cy);
    tick_ = cw_ / 2;
    minorTick_ = tick_ / 2;
    dc.RestoreFont();
}

// --- what the view sets ----------------------------------------------------------------------

void QCrvWindow::SetXLog(int flag)
{
    flag = flag ? 1 : 0;
    if (x_.log == flag) return;
    x_.log = flag;
    if (!layoutPending_ && IsWindow()) Refresh();
}

void QCrvWindow::SetYLog(int flag)
{
    flag = flag ? 1 : 0;
    if (y_.log == flag) return;
    y_.log = flag;
    if (!layoutPending_ && IsWindow()) Refresh();
}

void QCrvWindow::SetAreaFlag(int flag)
{
    flag = flag ? 1 : 0;
    if (grid_ == flag) return;
    grid_ = flag;
    if (state_ == 1) InvalidateRect(plot_, flag == 0);
}

void QCrvWindow::SetTitle(const char* text)
{
    if (text) title_ = text;
    else title_.reset();
}

void QCrvWindow::SetXLabel(const char* text, bool highlight)
{
    if (text) xLabel_ = text;
    else xLabel_.reset();
    highlight_ = text && highlight;
}

void QCrvWindow::SetMessage(const char* text)
{
    if (text) message_ = text;
    else message_.reset();
}

void QCrvWindow::SetCurve(double extentLow, double extentHigh, double validLow, double validHigh)
{
    if (extentLow == NoValue) {
        extentHigh = validHigh;
        validLow = validHigh;
    }
    if (validLow == NoValue) validHigh = NoValue;
    extLo_ = extentLow;
    extHi_ = extentHigh;
    validLo_ = validLow;
    validHi_ = validHigh;
    curveYLo_ = curveYHi_ = NoValue;
    if (extLo_ == NoValue || extHi_ == NoValue || extLo_ == extHi_) return;
    auto take = [this](double x) {
        double y = CurveY(x);
        if (!std::isfinite(y)) return;
        curveYLo_ = MinSkip(curveYLo_, y);
        curveYHi_ = MaxSkip(curveYHi_, y);
    };
    take(extLo_);
    take(extHi_);
    for (int k = 1; k <= 99; ++k) take(extLo_ + k * 0.01 * (extHi_ - extLo_));
}

void QCrvWindow::SetData(const double* x, const double* y, int count, const int* flags, bool active)
{
    px_ = x;
    py_ = y;
    count_ = (x && y) ? std::max(0, count) : 0;
    active_ = active && flags != nullptr;
    dxMin_ = dxMax_ = dyMin_ = dyMax_ = NoValue;
    pending_ = 0;
    drawnCount_ = 0;
    selCount_ = 0;
    flags_.assign(count_, 0);
    sel_.assign(count_, 0);
    bounds_.assign(count_, TRect());
    order_.clear();
    for (int i = 0; i < count_; ++i) {
        flags_[i] = flags ? flags[i] : 0;
        // Insertion keeps the drawing order by x, ties by y.
        auto pos = std::find_if(order_.begin(), order_.end(), [&](int j) {
            return px_[j] > px_[i] || (px_[j] == px_[i] && py_[j] > py_[i]);
        });
        order_.insert(pos, i);
        // A point without both coordinates counts in no range and is never drawn.
        if (!std::isfinite(px_[i]) || !std::isfinite(py_[i])) continue;
        dxMin_ = MinSkip(dxMin_, px_[i]);
        dxMax_ = MaxSkip(dxMax_, px_[i]);
        dyMin_ = MinSkip(dyMin_, py_[i]);
        dyMax_ = MaxSkip(dyMax_, py_[i]);
        if (flags_[i] & kToggled) ++pending_;
    }
}

void QCrvWindow::SetMarkers(double low, double high)
{
    mx1_ = mx2_ = -1;
    focus_ = 0;
    rangeChanged_ = false;
    if (low == NoValue || high == NoValue) {
        initLo_ = initHi_ = curLo_ = curHi_ = NoValue;
        return;
    }
    if (low > high) std::swap(low, high);
    initLo_ = curLo_ = low;
    initHi_ = curHi_ = high;
}

void QCrvWindow::Refresh()
{
    UpdateLayout();
    Invalidate(true);
}

// --- layout ----------------------------------------------------------------------------------

void QCrvWindow::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    if (!layoutPending_ && sizeType != SIZE_MINIMIZED) {
        UpdateLayout();
        Invalidate(true);
    }
}

void QCrvWindow::AxisRange(Axis& a, double lo, double hi)
{
    if (hi == NoValue) lo = NoValue;
    a.defined = lo != NoValue;
    if (!a.defined) {
        a.low = lo;
        a.high = hi;
        return;
    }
    if (a.log) {
        if (lo <= 0.0) {
            a.defined = false;
            a.high = 0.0;
            return;
        }
        AxisDecade(a.firstDecade, a.lastDecade, lo, hi);
        a.first = std::pow(10.0, a.firstDecade);
        a.last = std::pow(10.0, a.lastDecade);
        a.intervals = a.lastDecade - a.firstDecade;
        a.step = 10.0;
        a.minor = 0;
    } else {
        AxisNice n = AxisNiceScale(4, lo, hi);
        a.first = n.first;
        a.last = n.last;
        a.step = n.step;
        a.intervals = n.intervals;
        a.digits = n.digits;
        a.minor = n.minor;
    }
    a.high = hi;
}

std::vector<std::string> QCrvWindow::XLabels() const
{
    std::vector<std::string> out;
    if (x_.log)
        for (int e = x_.firstDecade; e <= x_.lastDecade; ++e) out.push_back(AxisDecadeLabel(e));
    else
        for (int i = 0; i <= x_.intervals; ++i) out.push_back(AxisValueLabel(x_.first + i * x_.step));
    return out;
}

std::vector<std::string> QCrvWindow::YLabels() const
{
    std::vector<std::string> out;
    if (y_.log)
        for (int e = y_.firstDecade; e <= y_.lastDecade; ++e) out.push_back(AxisDecadeLabel(e));
    else
        for (int i = 0; i <= y_.intervals; ++i) out.push_back(AxisValueLabel(y_.first + i * y_.step));
    return out;
}

void QCrvWindow::LayoutPlot(TDC& dc)
{
    const int W = client_.Width(), H = client_.Height();
    plot_ = TRect(0, 0, W - 1, H - 1);
    plot_.bottom = xLabel_ ? xLabelRect_.top - ch_ - tick_ : H - ch_ - tick_ - 1;
    plot_.top = title_ ? titleRect_.bottom : ch_;
    if (!x_.defined || !y_.defined) {
        plot_.left = cw_;
        plot_.right = W - cw_;
    } else {
        std::vector<std::string> xl = XLabels(), yl = YLabels();
        const int firstHalf = dc.GetTextExtent(xl.front()).cx / 2;
        const int lastHalf = dc.GetTextExtent(xl.back()).cx / 2;
        plot_.left = std::max(plot_.left, firstHalf + cw_);
        if (plot_.right + cw_ + lastHalf > W) plot_.right = W - cw_ - lastHalf;
        int widest = 0;
        for (const std::string& s : yl) widest = std::max(widest, dc.GetTextExtent(s).cx);
        plot_.left = std::max(plot_.left, widest + cw_ + tick_);
    }
    if (plot_.bottom <= plot_.top) {
        plot_.bottom = 10;
        plot_.top = 0;
    }
    if (plot_.right <= plot_.left) {
        plot_.left = 0;
        plot_.right = 10;
    }
}

void QCrvWindow::UpdateLayout()
{
    layoutPending_ = false;
    client_ = GetClientRect();
    TMemoryDC dc;
    MeasureFont(dc);
    dc.SelectObject(font_);
    const int W = client_.Width(), H = client_.Height();

    titleRect_ = TRect();
    if (title_) {
        TSize s = dc.GetTextExtent(*title_);
        titleRect_ = TRect((W - s.cx) / 2, tick_, (W - s.cx) / 2 + s.cx, tick_ + s.cy);
    }
    xLabelRect_ = TRect();
    if (xLabel_) {
        TSize s = dc.GetTextExtent(*xLabel_);
        int left = std::max(0, (W - s.cx) / 2);
        xLabelRect_ = TRect(left, H - ch_ - 1, left + s.cx, H - ch_ - 1 + s.cy);
    }

    double xlo = MinSkip(MinSkip(MinSkip(extLo_, dxMin_), initLo_), curLo_);
    double xhi = MaxSkip(MaxSkip(MaxSkip(extHi_, dxMax_), initHi_), curHi_);
    AxisRange(x_, xlo, xhi);
    AxisRange(y_, MinSkip(curveYLo_, dyMin_), MaxSkip(curveYHi_, dyMax_));
    LayoutPlot(dc);

    if (!x_.defined || !y_.defined) {
        state_ = (x_.high != 0.0 && y_.high != 0.0) ? -1 : -2;
    } else {
        auto map = [](Axis& a, int from, int to) {
            a.low = a.log ? std::log(a.first) : a.first;
            a.high = a.log ? std::log(a.last) : a.last;
            a.half = (a.high - a.low) / ((to - from) * 2.0);
        };
        map(x_, plot_.left, plot_.right);
        map(y_, plot_.bottom, plot_.top);
        state_ = 1;
    }
    LayoutCurve();
    LayoutPoints();
    LayoutMarkers();

    if (state_ != prevState_) {
        if (state_ == -2) message_ = GetResStringStd(1659);
        else if (state_ == -1 || state_ == 1) message_.reset();
        prevState_ = state_;
    }
    messageRect_ = TRect();
    if (message_) {
        TSize s = dc.GetTextExtent(*message_);
        messageRect_ = TRect((W - s.cx) / 2, (H - s.cy) / 2, (W - s.cx) / 2 + s.cx, (H - s.cy) / 2 + s.cy);
    }
    dc.RestoreFont();
}

int QCrvWindow::XDevice(double v) const
{
    if (x_.log) v = std::log(v);
    return ClampDevice(std::floor(((v - x_.low) / x_.half + 1.0) * 0.5) + plot_.left);
}

int QCrvWindow::YDevice(double v) const
{
    if (y_.log) v = std::log(v);
    return ClampDevice(std::floor(((v - y_.low) / y_.half + 1.0) * 0.5) + plot_.bottom);
}

double QCrvWindow::XWorld(int d) const
{
    if (d == plot_.right) return x_.log ? std::exp(x_.high) : x_.high;
    double v = (d - plot_.left) * 2.0 * x_.half + x_.low;
    return x_.log ? std::exp(v) : v;
}

void QCrvWindow::LayoutCurve()
{
    poly_.clear();
    validStart_ = validEnd_ = -1;
    if (state_ != 1 || extLo_ == NoValue || extHi_ == NoValue || extLo_ == extHi_) return;
    auto point = [this](double x) { return TPoint(XDevice(x), YDevice(CurveY(x))); };
    const int d0 = XDevice(extLo_), d1 = XDevice(extHi_);
    if (std::abs(d1 - d0) < 4) {
        poly_.push_back(point(extLo_));
        poly_.push_back(point(extHi_));
        return;
    }
    const int n = std::clamp(std::abs(d1 - d0) / 2, 1, kMaxCurveSteps);
    const bool lg = x_.log && extLo_ > 0.0;
    const double a = lg ? std::log(extLo_) : extLo_, b = lg ? std::log(extHi_) : extHi_;
    int bound = validLo_ == NoValue ? 2 : 0;  // 0 valid low next, 1 valid high next, 2 done
    auto sample = [&](double x) {
        while (bound < 2) {
            double bx = bound == 0 ? validLo_ : validHi_;
            if (x < bx) break;
            (bound == 0 ? validStart_ : validEnd_) = static_cast<int>(poly_.size());
            poly_.push_back(point(bx));
            ++bound;
        }
        poly_.push_back(point(x));
    };
    sample(extLo_);
    for (int k = 1; k < n; ++k) {
        double t = a + k * (b - a) / n;
        sample(lg ? std::exp(t) : t);
    }
    // Bounds that no sample reached stand before the high end.
    while (bound < 2) {
        (bound == 0 ? validStart_ : validEnd_) = static_cast<int>(poly_.size());
        poly_.push_back(point(bound == 0 ? validLo_ : validHi_));
        ++bound;
    }
    poly_.push_back(point(extHi_));
}

void QCrvWindow::LayoutPoints()
{
    drawnCount_ = 0;
    const int s = std::max(3, 3 * std::min(cw_, ch_) / 10);
    for (int k = 0; k < count_; ++k) {
        const int i = order_[k];
        bounds_[k] = TRect();
        if (state_ != 1 || !std::isfinite(px_[i]) || !std::isfinite(py_[i])) continue;
        if ((x_.log && px_[i] <= 0.0) || (y_.log && py_[i] <= 0.0)) continue;
        const int cx = XDevice(px_[i]), cy = YDevice(py_[i]);
        bounds_[k] = TRect(cx - s, cy - s, cx + s + 1, cy + s + 1);
        ++drawnCount_;
    }
}

void QCrvWindow::LayoutMarkers()
{
    mx1_ = mx2_ = -1;
    hit1_ = hit2_ = TRect();
    if (initLo_ == NoValue || state_ != 1) return;
    if (curLo_ > curHi_) {
        std::swap(curLo_, curHi_);
        focus_ = ((focus_ & 1) << 1) | ((focus_ & 2) >> 1);
    }
    mx1_ = XDevice(curLo_);
    mx2_ = XDevice(curHi_);
    // A marker back on its first pixel takes its first value back exactly.
    const bool lowHome = mx1_ == XDevice(initLo_), highHome = mx2_ == XDevice(initHi_);
    if (lowHome) curLo_ = initLo_;
    if (highHome) curHi_ = initHi_;
    rangeChanged_ = !(lowHome && highHome);
    const int h = cw_ / 2;
    hit1_ = TRect(mx1_ - h, plot_.top, mx1_ + h + 1, plot_.bottom + 1);
    hit2_ = TRect(mx2_ - h, plot_.top, mx2_ + h + 1, plot_.bottom + 1);
}

// --- painting --------------------------------------------------------------------------------

void QCrvWindow::Paint(TDC& dc, bool, TRect&)
{
    if (layoutPending_) UpdateLayout();
    Draw(dc);
}

void QCrvWindow::Draw(TDC& dc)
{
    if (layoutPending_) UpdateLayout();
    TRect all = GetClientRect();
    dc.FillRect(all, TBrush(kBackground));
    dc.SelectObject(font_);
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const TColor oldText = dc.GetTextColor();
    if (title_) dc.TextOut(titleRect_.left, titleRect_.top, *title_);
    if (xLabel_) {
        if (highlight_) {
            dc.SetBkMode(OPAQUE);
            TColor bk = dc.SetBkColor(kRed);
            dc.SetTextColor(kYellow);
            dc.ExtTextOut(xLabelRect_.left, xLabelRect_.top, ETO_OPAQUE, &xLabelRect_, *xLabel_);
            dc.SetBkColor(bk);
            dc.SetTextColor(oldText);
            dc.SetBkMode(TRANSPARENT);
        } else {
            dc.TextOut(xLabelRect_.left, xLabelRect_.top, *xLabel_);
        }
    }
    if (state_ == -1 || state_ == -2) {
        if (message_) dc.TextOut(messageRect_.left, messageRect_.top, *message_);
    } else if (state_ == 1) {
        dc.SelectObject(TBrush());
        dc.SelectObject(TPen(TColor::Black, 0));
        dc.Rectangle(plot_.left, plot_.top, plot_.right + 1, plot_.bottom + 1);
        DrawAxes(dc);
        DrawMarkers(dc);
        DrawCurve(dc);
        DrawPoints(dc);
        dc.RestorePen();
        dc.RestoreBrush();
    }
    dc.SetBkMode(oldMode);
    dc.RestoreFont();
}

void QCrvWindow::DrawAxes(TDC& dc)
{
    DrawXAxis(dc);
    DrawYAxis(dc);
}

void QCrvWindow::DrawXAxis(TDC& dc)
{
    const TPen black(TColor::Black, 0), gridPen(TColor::Gray, 0);
    dc.SelectObject(black);
    dc.MoveTo(plot_.left, plot_.bottom);
    dc.LineTo(plot_.right + 1, plot_.bottom);
    const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
    int lastRight = -1;
    bool first = true;
    auto label = [&](int px, const std::string& text) {
        const int w = dc.GetTextExtent(text).cx;
        const int left = px - w / 2;
        if (!first && left <= lastRight) return;  // would overlap the previous label
        dc.TextOut(px, plot_.bottom + tick_, text);
        lastRight = left + w;
        first = false;
    };
    auto tick = [&](int px, int len, bool withGrid) {
        if (withGrid && grid_) {
            dc.SelectObject(gridPen);
            dc.MoveTo(px, plot_.bottom);
            dc.LineTo(px, plot_.top);
            dc.SelectObject(black);
        }
        dc.MoveTo(px, plot_.bottom);
        dc.LineTo(px, plot_.bottom + len);
    };
    if (x_.log) {
        for (int e = x_.firstDecade; e <= x_.lastDecade; ++e) {
            const double v = std::pow(10.0, e);
            const int px = XDevice(v);
            tick(px, tick_, true);
            label(px, AxisDecadeLabel(e));
            if (e == x_.lastDecade) continue;
            const bool wide = XDevice(v * 10.0) - px > 50;
            for (int m = 2; m <= 9; ++m) {
                if (!wide && m != 5) continue;
                tick(XDevice(m * v), minorTick_, true);
            }
        }
    } else {
        for (int i = 0; i <= x_.intervals; ++i) {
            const double v = x_.first + i * x_.step;
            const int px = XDevice(v);
            tick(px, tick_, true);
            if (!grid_ && v == 0.0 && i > 0 && i < x_.intervals) {
                dc.MoveTo(px, plot_.bottom);
                dc.LineTo(px, plot_.top);
            }
            label(px, AxisValueLabel(v));
            if (i == x_.intervals) continue;
            for (int m = 1; m <= x_.minor; ++m) tick(XDevice(v + m * x_.step / (x_.minor + 1)), minorTick_, true);
        }
    }
    dc.SetTextAlign(oldAlign);
}

void QCrvWindow::DrawYAxis(TDC& dc)
{
    const TPen black(TColor::Black, 0), gridPen(TColor::Gray, 0);
    dc.SelectObject(black);
    dc.MoveTo(plot_.left, plot_.bottom);
    dc.LineTo(plot_.left, plot_.top + 1);
    const unsigned oldAlign = dc.SetTextAlign(TA_RIGHT | TA_TOP);
    auto tick = [&](int py, int len, bool withGrid) {
        if (withGrid && grid_) {
            dc.SelectObject(gridPen);
            dc.MoveTo(plot_.left, py);
            dc.LineTo(plot_.right, py);
            dc.SelectObject(black);
        }
        dc.MoveTo(plot_.left, py);
        dc.LineTo(plot_.left - len, py);
    };
    auto label = [&](int py, const std::string& text) { dc.TextOut(plot_.left - tick_, py - ch_ / 2, text); };
    if (y_.log) {
        for (int e = y_.firstDecade; e <= y_.lastDecade; ++e) {
            const double v = std::pow(10.0, e);
            const int py = YDevice(v);
            tick(py, tick_, true);
            label(py, AxisDecadeLabel(e));
            if (e == y_.lastDecade) continue;
            const bool wide = py - YDevice(v * 10.0) > 50;
            for (int m = 2; m <= 9; ++m) {
                if (!wide && m != 5) continue;
                tick(YDevice(m * v), minorTick_, true);
            }
        }
    } else {
        for (int i = 0; i <= y_.intervals; ++i) {
            const double v = y_.first + i * y_.step;
            const int py = YDevice(v);
            tick(py, tick_, true);
            if (!grid_ && v == 0.0 && i > 0 && i < y_.intervals) {
                dc.MoveTo(plot_.left, py);
                dc.LineTo(plot_.right, py);
            }
            label(py, AxisValueLabel(v));
            if (i == y_.intervals) continue;
            for (int m = 1; m <= y_.minor; ++m) tick(YDevice(v + m * y_.step / (y_.minor + 1)), minorTick_, true);
        }
    }
    dc.SetTextAlign(oldAlign);
}

void QCrvWindow::DrawCurve(TDC& dc)
{
    if (poly_.size() < 2) return;
    if (validStart_ < 0 || validEnd_ < 0) {
        dc.SelectObject(TPen(TColor::Black, 0));
        dc.Polyline(poly_);
        return;
    }
    const TPen yellow(kYellow, 1), red(kRed, 1);
    const int n = static_cast<int>(poly_.size());
    dc.SelectObject(yellow);
    if (validStart_ > 0) dc.Polyline(poly_.data(), validStart_ + 1);
    if (validEnd_ < n - 1) dc.Polyline(poly_.data() + validEnd_, n - validEnd_);
    dc.SelectObject(red);
    if (validEnd_ > validStart_) dc.Polyline(poly_.data() + validStart_, validEnd_ - validStart_ + 1);
    dc.SetPixel(poly_[validStart_], kRed);
    dc.SetPixel(poly_[validEnd_], kRed);
}

bool QCrvWindow::IsExcluded(int i) const
{
    const int f = flags_[i];
    return ((f & kExcluded) != 0) != ((f & kToggled) != 0);
}

void QCrvWindow::DrawPoints(TDC& dc)
{
    dc.SelectObject(TPen(TColor::Black, 0));
    // Selected points come last: replicates of one standard lie on one spot, and a twin drawn
    // after the selected one would hide its mark (a Tab onto it showed nothing).
    for (int pass = 0; pass < 2; ++pass) {
        for (int k = 0; k < count_; ++k) {
            const TRect& r = bounds_[k];
            if (r.IsEmpty()) continue;
            const int i = order_[k];
            if ((sel_[i] != 0) != (pass == 1)) continue;
            TColor fill = kRed;
            if (sel_[i] && blinkOn_) fill = TColor::Black;
            else if (flags_[i] & kToggled) fill = TColor::White;
            else if (flags_[i] & kSecondColour) fill = kYellow;
            dc.SelectObject(TBrush(fill));
            if (IsExcluded(i)) {
                const int s = (r.Width() - 1) / 2, cx = r.left + s, cy = r.top + s;
                TPoint d[4] = {{cx - s, cy}, {cx, cy - s}, {cx + s, cy}, {cx, cy + s}};
                dc.Polygon(d, 4);
            } else {
                dc.Ellipse(r);
            }
        }
    }
}

void QCrvWindow::DrawMarkers(TDC& dc)
{
    if (mx1_ < 0) return;
    for (int m = 1; m <= 2; ++m) {
        const bool hl = (focus_ & m) && blinkOn_;
        dc.SelectObject(TPen(hl ? TColor::Black : kCyan, 0, PS_DASH));
        const int x = m == 1 ? mx1_ : mx2_;
        dc.MoveTo(x, plot_.top + 1);
        dc.LineTo(x, plot_.bottom);
    }
}

// --- marks -----------------------------------------------------------------------------------

void QCrvWindow::AfterMarkChange()
{
    pending_ = 0;
    for (int i = 0; i < count_; ++i)
        if (flags_[i] & kToggled) ++pending_;
    ClearSelection();
    Invalidate(false);
}

void QCrvWindow::ClearSelection()
{
    std::fill(sel_.begin(), sel_.end(), 0);
    selCount_ = 0;
}

void QCrvWindow::MarkSelected(bool exclude)
{
    for (int i = 0; i < count_; ++i)
        if (sel_[i] && IsExcluded(i) != exclude) flags_[i] ^= kToggled;
    AfterMarkChange();
}

void QCrvWindow::InvertSelected()
{
    for (int i = 0; i < count_; ++i)
        if (sel_[i]) flags_[i] ^= kToggled;
    AfterMarkChange();
}

void QCrvWindow::RestoreMarks()
{
    for (int& f : flags_) f &= ~kToggled;
    AfterMarkChange();
}

void QCrvWindow::ResetMarkers()
{
    curLo_ = initLo_;
    curHi_ = initHi_;
    LayoutMarkers();
    Invalidate(true);
}

// --- focus, blinking and keys ----------------------------------------------------------------

void QCrvWindow::EvSetFocus(TWindow* lost)
{
    TWindow::EvSetFocus(lost);
    // The window system gives the focus to the window under the pointer before the press
    // reaches it; the press must still know that the window had no focus.
    focusByClick_ = GetKeyState(VK_LBUTTON) < 0;
    SetTimer(kBlinkTimer, 200);
}

void QCrvWindow::EvKillFocus(TWindow* gets)
{
    TWindow::EvKillFocus(gets);
    focusByClick_ = false;
    KillTimer(kBlinkTimer);
}

void QCrvWindow::Highlight(bool on)
{
    blinkOn_ = on;
    Invalidate(false);
}

void QCrvWindow::EvTimer(unsigned id)
{
    if (id != kBlinkTimer) return TWindow::EvTimer(id);
    if (dragging_ || state_ != 1 || (selCount_ == 0 && focus_ == 0)) return;
    ++blinkCount_;
    Highlight(blinkCount_ % 2 == 1);
}

unsigned QCrvWindow::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTARROWS | DLGC_WANTTAB; }

void QCrvWindow::FocusNext(bool forward)
{
    // Items: the drawn points in drawing order (when active), then marker 1 and marker 2.
    std::vector<int> items;  // point index, or -1 / -2 for the markers
    if (active_)
        for (int k = 0; k < count_; ++k)
            if (!bounds_[k].IsEmpty()) items.push_back(order_[k]);
    if (mx1_ >= 0) {
        items.push_back(-1);
        items.push_back(-2);
    }
    if (items.empty()) return;
    int cur = -1;
    const int n = static_cast<int>(items.size());
    for (int k = 0; k < n; ++k) {
        const int it = items[k];
        const bool on = it >= 0 ? sel_[it] != 0 : (focus_ & (it == -1 ? 1 : 2)) != 0;
        if (!on) continue;
        cur = k;
        if (!forward) break;  // the first when going back, the last when going forward
    }
    int next = cur < 0 ? (forward ? 0 : n - 1) : cur + (forward ? 1 : -1);
    ClearSelection();
    focus_ = 0;
    if (next >= 0 && next < n) {
        const int it = items[next];
        if (it >= 0) {
            sel_[it] = 1;
            selCount_ = 1;
        } else {
            focus_ = it == -1 ? 1 : 2;
        }
    }
    Highlight(true);
}

int QCrvWindow::ClampMarkerShift(int dx) const
{
    if (focus_ & 1) dx = std::clamp(dx, plot_.left - mx1_, plot_.right - mx1_);
    if (focus_ & 2) dx = std::clamp(dx, plot_.left - mx2_, plot_.right - mx2_);
    return dx;
}

void QCrvWindow::MoveMarkers(int dx)
{
    dx = ClampMarkerShift(dx);
    if (dx == 0) return;
    if (focus_ & 1) curLo_ = XWorld(mx1_ + dx);
    if (focus_ & 2) curHi_ = XWorld(mx2_ + dx);
    LayoutMarkers();
    Invalidate(false);
}

void QCrvWindow::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (dragging_) return;
    switch (key) {
    case VK_TAB: FocusNext(GetKeyState(VK_SHIFT) >= 0); return;
    case VK_ESCAPE:
        ClearSelection();
        focus_ = 0;
        Invalidate(false);
        return;
    case VK_SPACE: InvertSelected(); return;
    case VK_HOME: RestoreMarks(); return;
    case VK_INSERT: MarkSelected(false); return;
    case VK_DELETE: MarkSelected(true); return;
    case VK_LEFT:
    case VK_RIGHT: {
        if (!focus_ || mx1_ < 0) return;
        int step = 1;
        if (flags & KF_REPEAT) {
            keyRepeat_ = std::min(60, keyRepeat_ + 1);
            step = keyRepeat_ / 5;
        } else {
            keyRepeat_ = 1;
        }
        MoveMarkers(key == VK_LEFT ? -step : step);
        return;
    }
    default: TWindow::EvKeyDown(key, repeatCount, flags);
    }
}

// --- mouse -----------------------------------------------------------------------------------

void QCrvWindow::DrawDragFeedback()
{
    DrawNow([this](TDC& dc) {
        dc.SetROP2(R2_NOT);
        dc.SelectObject(TBrush());
        dc.SelectObject(TPen(TColor::Black, 0));
        if (dragMode_ == 0) {
            TRect r = TRect(dragStart_, dragCur_).Normalized();
            dc.Rectangle(r.left, r.top, r.right + 1, r.bottom + 1);
        } else {
            const int dx = ClampMarkerShift(dragCur_.x - dragStart_.x);
            for (int m = 1; m <= 2; ++m) {
                if (!(dragMode_ & m)) continue;
                const int x = (m == 1 ? mx1_ : mx2_) + dx;
                dc.MoveTo(x, plot_.top + 1);
                dc.LineTo(x, plot_.bottom);
            }
        }
        dc.SetROP2(R2_COPYPEN);
    });
}

void QCrvWindow::EvLButtonDown(unsigned, const TPoint& p)
{
    // The first click on a window without the focus only activates it: a click meant to bring
    // the graph forward must not select or move anything.
    if (!HasFocus() || focusByClick_) {
        focusByClick_ = false;
        SetFocus();
        return;
    }
    if (dragging_ || state_ != 1 || (mx1_ < 0 && !active_)) return;
    SetCapture();
    dragging_ = true;
    blinkOn_ = false;
    Invalidate(false);
    UpdateWindow();
    dragStart_ = dragCur_ = p;
    if (mx1_ >= 0 && (hit2_.Contains(p) || hit1_.Contains(p))) {
        dragMode_ = focus_ == 3 ? 3 : (hit1_.Contains(p) ? 1 : 2);
        focus_ = dragMode_;
    } else {
        dragMode_ = 0;
    }
    DrawDragFeedback();
}

void QCrvWindow::EvMouseMove(unsigned, const TPoint& p)
{
    if (!dragging_) return;
    TPoint q(std::clamp(p.x, 0, client_.right - 1), std::clamp(p.y, 0, client_.bottom - 1));
    if (dragMode_ != 0) q.y = dragCur_.y;
    if (q == dragCur_) return;
    DrawDragFeedback();
    dragCur_ = q;
    DrawDragFeedback();
}

void QCrvWindow::EvLButtonUp(unsigned, const TPoint& p)
{
    if (!dragging_) return;
    EvMouseMove(0, p);
    DrawDragFeedback();
    dragging_ = false;
    ReleaseCapture();
    if (dragMode_ == 0) {
        TRect r = TRect(dragStart_, dragCur_).Normalized();
        r.right += 1;
        r.bottom += 1;
        ClearSelection();
        if (active_)
            for (int k = 0; k < count_; ++k)
                if (!(bounds_[k] & r).IsEmpty()) {
                    sel_[order_[k]] = 1;
                    ++selCount_;
                }
        if (selCount_ > 0) {
            focus_ = 0;
        } else if (mx1_ >= 0) {
            focus_ = 0;
            if (!(hit1_ & r).IsEmpty()) focus_ |= 1;
            if (!(hit2_ & r).IsEmpty()) focus_ |= 2;
        }
    } else {
        ClearSelection();
        const int dx = ClampMarkerShift(dragCur_.x - dragStart_.x);
        if (dragMode_ & 1) curLo_ = XWorld(mx1_ + dx);
        if (dragMode_ & 2) curHi_ = XWorld(mx2_ + dx);
        focus_ = dragMode_;
        LayoutMarkers();
    }
    blinkOn_ = true;
    Invalidate(false);
}

}  // namespace vyn
