#include "reports/paint/RPGraphPainter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QSample.h"
#include "plate/Utilities.h"
#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/paint/RPInstPainting.h"
#include "reports/paint/RPScreenFont.h"
#include "reports/paint/ReportPaintStrings.h"
#include "printing/AxisScale.h"

namespace vyn {

namespace {

// A failure inside one drawing stage; the stage stops and the graph shows "(ERROR)".
struct GraphFault : std::runtime_error {
    GraphFault() : std::runtime_error("graph") {}
};

// Device coordinates far beyond any page, where a point off the window is parked instead of
// overflowing an int.
constexpr double kFarDevice = 1.0e6;

struct RunAxis {
    bool log = false;
    int pMin = 0, pMax = 0;  // device coordinates of the minimum and of the maximum
    double min = 0.0, max = 1.0;
    double e0 = 0.0, e1 = 1.0;

    int ToDevice(double v) const
    {
        double lo = min, hi = max;
        if (log) {
            v = std::log10(v);
            lo = e0;
            hi = e1;
        }
        double d = ((v - lo) * pMax + (hi - v) * pMin) / (hi - lo);
        if (std::isnan(d)) throw GraphFault();
        d = std::clamp(d, -kFarDevice, kFarDevice);
        return static_cast<int>(d + 0.5);
    }
    double ToValue(int p) const
    {
        if (pMax == pMin) throw GraphFault();
        if (log) return std::pow(10.0, ((pMax - p) * e0 + (p - pMin) * e1) / (pMax - pMin));
        return ((pMax - p) * min + (p - pMin) * max) / (pMax - pMin);
    }
};

std::string Label(double v, int precision)
{
    if (v == 0.0) v = 0.0;  // no "-0"
    char buf[40];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, precision);
    return std::string(buf, r.ptr);
}

// The tick positions of an axis in order; minor ticks after the major tick they follow.
struct Tick {
    double value;
    int index;  // major tick index, or -1 for a minor tick
};

std::vector<Tick> MajorTicks(const RPGraphTicks& t)
{
    std::vector<Tick> v;
    for (int i = 0; i <= t.count; ++i)
        v.push_back({t.log ? std::pow(10.0, t.e0 + i) : t.min + i * t.step, i});
    return v;
}

// Minor ticks grouped per major tick, so a loop can stop its run at the frame's end.
std::vector<std::vector<double>> MinorTicks(const RPGraphTicks& t)
{
    std::vector<std::vector<double>> v;
    if (t.log) {
        for (int e = t.e0; e < t.e1; ++e) {
            std::vector<double> run;
            for (int m = 2; m <= 9; ++m) run.push_back(m * std::pow(10.0, e));
            v.push_back(run);
        }
    } else {
        for (int i = 0; i <= t.count; ++i) {
            std::vector<double> run;
            for (int j = 1; j <= t.subticks; ++j) run.push_back(t.min + i * t.step + j * t.step / (t.subticks + 1));
            v.push_back(run);
        }
    }
    return v;
}

struct Frame {
    int left = 0, top = 0, right = 0, bottom = 0;
};

// Which positions of an axis lie inside the frame: X up to its right, Y up to its top.
bool Beyond(bool isX, int p, const Frame& f) { return isX ? p > f.right : p < f.top; }

struct GraphPaint {
    GraphPaint(TDC& d, RPReport& r, RPObjInstGraph& i) : dc(d), report(r), inst(i), g(i.Graph()) {}
    TDC& dc;
    RPReport& report;
    RPObjInstGraph& inst;
    const RPObjectGraph& g;
    Frame f;
    RunAxis ax, ay;
    RPGraphTicks tx, ty;
    int tickX = 0, tickY = 0, mtX = 0, mtY = 0, markerW = 0, markerH = 0;
    int curvePen = 0, axesPen = 0, minorTickPen = 0, gridPen = 0, pointPen = 0;
    int labelW = 0, labelH = 0;
    TFont labelFont;

    void Grid()
    {
        const TColor c = ReportColour(g.GetRGBFore());
        // Minor lines first, thin, then the major lines with the grid pen over them.
        const TPen oldPen = dc.SelectObject(TPen(c, 0));
        Lines(true, MinorFlat(tx));
        Lines(false, MinorFlat(ty));
        dc.SelectObject(TPen(c, gridPen));
        Lines(true, MajorFlat(tx));
        Lines(false, MajorFlat(ty));
        dc.SelectObject(oldPen);
    }
    static std::vector<std::vector<double>> MajorFlat(const RPGraphTicks& t)
    {
        std::vector<double> run;
        for (const Tick& k : MajorTicks(t)) run.push_back(k.value);
        return {run};
    }
    static std::vector<std::vector<double>> MinorFlat(const RPGraphTicks& t) { return MinorTicks(t); }
    void Lines(bool isX, const std::vector<std::vector<double>>& runs)
    {
        for (const auto& run : runs) {
            bool stop = false;
            for (double v : run) {
                const int p = isX ? ax.ToDevice(v) : ay.ToDevice(v);
                if (Beyond(isX, p, f)) {
                    stop = true;
                    break;
                }
                if (isX) {
                    dc.MoveTo(p, f.bottom);
                    dc.LineTo(p, f.top - 1);
                } else {
                    dc.MoveTo(f.left, p);
                    dc.LineTo(f.right + 1, p);
                }
            }
            // Positions only grow along an axis: once one lies beyond the frame, so does every
            // later run.
            if (stop) break;
        }
    }
    void Ticks(bool isX, const std::vector<std::vector<double>>& runs, int lenX, int lenY)
    {
        for (const auto& run : runs) {
            bool stop = false;
            for (double v : run) {
                const int p = isX ? ax.ToDevice(v) : ay.ToDevice(v);
                if (Beyond(isX, p, f)) {
                    stop = true;
                    break;
                }
                if (isX) {
                    dc.MoveTo(p, f.bottom);
                    dc.LineTo(p, f.bottom + lenY);
                } else {
                    dc.MoveTo(f.left, p);
                    dc.LineTo(f.left - lenX, p);
                }
            }
            if (stop) break;
        }
    }
    void AxesMinor()
    {
        const TColor c = ReportColour(g.GetRGBFore());
        const TPen oldPen = dc.SelectObject(TPen(c, axesPen));
        dc.MoveTo(f.left, f.bottom);
        dc.LineTo(f.right + 1, f.bottom);
        dc.MoveTo(f.left, f.bottom);
        dc.LineTo(f.left, f.top - 1);
        dc.SelectObject(TPen(c, minorTickPen));
        Ticks(true, MinorTicks(tx), mtX, mtY);
        Ticks(false, MinorTicks(ty), mtX, mtY);
        dc.SelectObject(oldPen);
    }
    void AxesMajor()
    {
        const TPen oldPen = dc.SelectObject(TPen(ReportColour(g.GetRGBFore()), axesPen));
        Ticks(true, MajorFlat(tx), tickX, tickY);
        Ticks(false, MajorFlat(ty), tickX, tickY);
        dc.SelectObject(oldPen);
    }
    std::string TickLabel(const RPGraphTicks& t, const Tick& k, bool isX) const
    {
        if (t.placeholder) return std::string(isX ? "XX" : "YY") + std::to_string(k.index);
        return Label(k.value, t.log ? 4 : 5);
    }
    void Labels()
    {
        const TFont oldFont = dc.SelectObject(labelFont);
        const TColor oldColour = dc.SetTextColor(ReportColour(g.GetRGBFore()));
        const unsigned oldAlign = dc.SetTextAlign(TA_CENTER | TA_TOP);
        for (const Tick& k : MajorTicks(tx)) {
            const int x = ax.ToDevice(k.value);
            if (Beyond(true, x, f)) break;
            dc.TextOut(x, f.bottom + tickY + mtY / 3, TickLabel(tx, k, true));
        }
        dc.SetTextAlign(TA_RIGHT | TA_TOP);
        for (const Tick& k : MajorTicks(ty)) {
            const int y = ay.ToDevice(k.value);
            if (Beyond(false, y, f)) break;
            dc.TextOut(f.left - tickX - mtX / 2, y - labelH / 2, TickLabel(ty, k, false));
        }
        dc.SetTextAlign(oldAlign);
        dc.SetTextColor(oldColour);
        dc.SelectObject(oldFont);
    }
    TPoint Percent(int p, int q) const
    {
        return TPoint(((100 - p) * f.left + p * f.right) / 100, ((100 - q) * f.bottom + q * f.top) / 100);
    }
    void Marker(TPoint c, bool diamond, bool hollow, const TPen& pen)
    {
        const int hw = markerW / 2, hh = markerH / 2;
        const TPen oldPen = dc.SelectObject(pen);
        const TBrush oldBrush = dc.SelectObject(hollow ? TBrush::Hollow() : TBrush(ReportColour(g.GetRGBPoint())));
        if (diamond) {
            const TPoint pts[5] = {{c.x, c.y - hh}, {c.x + hw, c.y}, {c.x, c.y + hh}, {c.x - hw, c.y}, {c.x, c.y - hh}};
            dc.Polygon(pts, 5);
        } else {
            dc.Ellipse(c.x - hw, c.y - hh, c.x + hw + 1, c.y + hh + 1);
        }
        dc.SelectObject(oldBrush);
        dc.SelectObject(oldPen);
    }
    void Placeholder()
    {
        static const int ps[6] = {5, 20, 40, 65, 85, 97};
        static const int qs[6] = {10, 15, 25, 75, 85, 87};
        std::vector<TPoint> pts;
        const int from = g.GetCurveRange() == 0 ? 1 : 0, to = g.GetCurveRange() == 0 ? 4 : 5;
        for (int i = from; i <= to; ++i) pts.push_back(Percent(ps[i], qs[i]));
        const TPen oldPen = dc.SelectObject(TPen(ReportColour(g.GetRGBCurve()), curvePen));
        dc.Polyline(pts);
        dc.SelectObject(oldPen);
        const TColor pc = ReportColour(g.GetRGBPoint());
        Marker(Percent(30, 10), true, true, TPen(pc, 0));
        Marker(Percent(30, 30), false, false, TPen(pc, pointPen));
        Marker(Percent(75, 70), false, false, TPen(pc, pointPen));
        Marker(Percent(75, 90), false, true, TPen(pc, 0));
    }
    void Curve(const QCalibr& cal, double wx0, double wx1, double wy0, double wy1)
    {
        const auto& r = cal.results;
        auto res = [&r](int i) { return i < static_cast<int>(r.size()) ? r[static_cast<std::size_t>(i)] : NoValue; };
        double xa = res(crDrawLo), xb = res(crDrawHi);
        if (g.GetCurveRange() == 0 && cal.state == csValid) {
            xa = res(crRangeLo);
            xb = res(crRangeHi);
        }
        xa = std::max(xa, std::min(wx0, wx1));
        xb = std::min(xb, std::max(wx0, wx1));
        if (!(xa < xb) || xb == NoValue) return;
        const int devW = ax.ToDevice(xb) - ax.ToDevice(xa);
        if (devW <= 2) return;
        // Thick pens need fewer samples; a coarse device can round a segment to nothing.
        const int seg = std::max(1, report.PrintScaleX().FromTwips((g.GetCurveWidth() + 1) * 20));
        const int n = std::clamp(devW / seg, 2, 400);
        const double la = ax.log ? std::log10(xa) : 0.0, lb = ax.log ? std::log10(xb) : 0.0;
        std::vector<TPoint> run;
        run.reserve(402);
        bool inside = false;
        const TPen oldPen = dc.SelectObject(TPen(ReportColour(g.GetRGBCurve()), curvePen));
        for (int k = 0; k <= n; ++k) {
            double x = ax.log ? std::pow(10.0, ((n - k) * la + k * lb) / n) : ((n - k) * xa + k * xb) / n;
            x = std::clamp(x, xa, xb);
            double y = cal.CurveY(x);
            if (y < wy0) y = wy0;
            const bool out = y == NoValue || std::isnan(y) || y <= wy0 || y > wy1;
            const TPoint p(ax.ToDevice(x), std::isnan(y) ? ay.ToDevice(wy0) : ay.ToDevice(y));
            if (out) {
                if (inside) {
                    run.push_back(p);
                    dc.Polyline(run);
                    run.clear();
                    inside = false;
                } else {
                    run.clear();
                }
                run.push_back(p);
            } else {
                run.push_back(p);
                inside = true;
            }
        }
        if (run.size() > 1 && inside) dc.Polyline(run);
        dc.SelectObject(oldPen);
    }
    void Points(const double* xs, const double* ys, const int* flags, int n, double wx0, double wx1, double wy0, double wy1)
    {
        const TColor pc = ReportColour(g.GetRGBPoint());
        const double x0 = std::min(wx0, wx1), x1 = std::max(wx0, wx1), y0 = std::min(wy0, wy1), y1 = std::max(wy0, wy1);
        for (int i = 0; i < n; ++i) {
            const double x = xs[i], y = ys[i];
            if (!(x >= x0 && x <= x1 && y >= y0 && y <= y1)) continue;
            const int fl = flags ? flags[i] : 0;
            const bool diamond = (fl & 1) != 0;
            Marker(TPoint(ax.ToDevice(x), ay.ToDevice(y)), diamond, (fl & 4) != 0,
                   diamond ? TPen(pc, 0) : TPen(pc, pointPen));
        }
    }
};

bool HasStandards(const QPlate& p) { return p.stdInUse && p.stdInUse->WellCount() > 0; }

}  // namespace

RPGraphTicks GraphAxisTicks(const RPAxisSpec& spec, double dataLo, double dataHi, bool placeholder)
{
    RPGraphTicks t;
    t.log = spec.scale == 1;
    const bool fixed = spec.kind == 1;
    // A fixed range that cannot be drawn (reversed, no increment) is told in the graph's box.
    if (fixed && spec.RangeError() != 0) throw std::domain_error("fixed range not usable");
    t.placeholder = placeholder && !fixed;
    double lo = fixed ? spec.low : dataLo, hi = fixed ? spec.high : dataHi;
    if (t.log) {
        if (!(lo > 0.0) || !(hi > 0.0) || !std::isfinite(lo) || !std::isfinite(hi))
            throw std::domain_error("log axis over a range that is not positive");
        AxisDecade(t.e0, t.e1, lo, hi);
        t.min = std::pow(10.0, t.e0);
        t.max = std::pow(10.0, t.e1);
        t.count = t.e1 - t.e0;
        t.subticks = 8;
        return t;
    }
    if (fixed) {
        t.min = lo;
        t.max = hi;
        t.step = spec.increment;
        t.subticks = spec.subticks;
        const double c = std::floor((t.max - t.min) * 1.03 / t.step);
        t.count = std::isnan(c) ? 0 : static_cast<int>(std::clamp(c, 0.0, 24.0));
        return t;
    }
    if (!std::isfinite(lo) || !std::isfinite(hi)) throw std::domain_error("no data range");
    const AxisNice n = AxisNiceScale(4, lo, hi);
    t.min = n.first;
    t.max = n.last;
    t.step = n.step;
    t.count = n.intervals;
    t.subticks = n.minor;
    return t;
}

void CalibrationDataRange(const QCalibr& cal, double& xLo, double& xHi, double& yLo, double& yHi, double* xPos,
                          double* yPos)
{
    const auto& r = cal.results;
    const double r0 = r.size() > 0 ? r[0] : NoValue, r1 = r.size() > 1 ? r[1] : NoValue;
    const int n = std::min(cal.PointCount(), static_cast<int>(cal.pointY.size()));
    xLo = MinOfValues(r0, cal.pointX.data(), n);
    xHi = MaxOfValues(r1, cal.pointX.data(), n);
    const double c0 = cal.CurveY(r0), c1 = cal.CurveY(r1);
    yLo = std::min(c0, c1);
    yHi = c0 == NoValue ? c1 : c1 == NoValue ? c0 : std::max(c0, c1);
    for (int k = 1; k <= 39; ++k) {
        const double y = cal.CurveY(r0 + k * (r1 - r0) / 40);
        yLo = MinOfValues(yLo, &y, 1);
        yHi = MaxOfValues(yHi, &y, 1);
    }
    yLo = MinOfValues(yLo, cal.pointY.data(), n);
    yHi = MaxOfValues(yHi, cal.pointY.data(), n);
    if (!xPos && !yPos) return;
    // The smallest positive value of each axis, where an automatic log axis starts: the
    // drawing range of a calibration often starts at 0.
    auto positive = [](double& m, double v) {
        if (v != NoValue && v > 0.0 && std::isfinite(v) && (m == NoValue || v < m)) m = v;
    };
    double px = NoValue, py = NoValue;
    positive(px, r0);
    positive(px, r1);
    for (int k = 0; k <= 40; ++k) positive(py, cal.CurveY(r0 + k * (r1 - r0) / 40));
    for (int i = 0; i < n; ++i) {
        positive(px, cal.pointX[static_cast<std::size_t>(i)]);
        positive(py, cal.pointY[static_cast<std::size_t>(i)]);
    }
    if (xPos) *xPos = px;
    if (yPos) *yPos = py;
}

void PaintGraphInstance(TDC& dc, RPReport& report, RPObjInstGraph& inst)
{
    std::string marker;
    if (inst.PrepareGeometry(marker) != 0) {
        if (!marker.empty()) PaintInstMessageBox(dc, inst, marker);
        return;
    }
    PaintInstBackground(dc, inst);
    const TRect& in = inst.inner;
    if (in.left == 0 && in.top == 0 && in.right == 0 && in.bottom == 0) return;
    const RPObjectGraph& g = inst.Graph();
    const RPScale& sx = report.PrintScaleX();
    const RPScale& sy = report.PrintScaleY();
    const RPLogFont& lf = *g.GetFont();

    GraphPaint gp(dc, report, inst);
    gp.labelFont = TFont(ToLogFont(lf, sy.FromTwips(2 * lf.height)));
    {
        const TFont old = dc.SelectObject(gp.labelFont);
        const TSize ext = dc.GetTextExtent("8888.888");
        dc.SelectObject(old);
        gp.labelW = ext.cx;
        gp.labelH = ext.cy;
    }
    gp.tickX = sx.FromTwips(lf.height);
    gp.tickY = sy.FromTwips(lf.height);
    gp.mtX = 2 * gp.tickX / 3;
    gp.mtY = 2 * gp.tickY / 3;
    gp.markerW = gp.tickX;
    gp.markerH = gp.tickY;
    gp.curvePen = sx.FromTwips(g.GetCurveWidth() * 20);
    gp.axesPen = sx.FromTwips(g.GetAxesWidth() * 20);
    gp.minorTickPen = gp.axesPen / 2;
    gp.gridPen = sx.FromTwips(g.GetGridWidth() * 20);
    gp.pointPen = gp.markerW / 5;

    const int ix = inst.insetX, iy = inst.insetY;
    const bool axes = g.GetDrawAxes() != 0, labels = axes && g.GetDrawLabels() != 0;
    Frame& f = gp.f;
    if (!axes) {
        f = {in.left + ix, in.top + iy, in.right - 1 - ix, in.bottom - 1 - iy};
    } else if (!labels) {
        f = {in.left + ix + 3 * gp.tickX / 2, in.top + iy + gp.tickY / 2, in.right - 1 - ix - gp.tickX / 2,
             in.bottom - 1 - iy - 3 * gp.tickY / 2};
    } else {
        f = {in.left + ix + gp.labelW + gp.mtX / 2 + gp.tickX, in.top + iy + 3 * gp.labelH / 4,
             in.right - 1 - ix - gp.labelW / 2, in.bottom - 1 - iy - gp.labelH - gp.mtY / 3 - gp.tickY};
    }
    if (f.right - f.left < 8 || f.bottom - f.top < 8) {
        PaintInstMessageBox(dc, inst, GetResStringStd(kStrGraphTooSmall));
        return;
    }

    QPlate* plate = report.Plate();
    const QCalibr* cal = plate ? &plate->calibr : nullptr;
    if (cal) {
        if (cal->state == csNotCalculated) {
            PaintInstMessageBox(dc, inst, GetResStringStd(HasStandards(*plate) ? kStrNotCalculated : kStrNoStandards));
            return;
        }
        if (cal->results.empty() || cal->results[0] == NoValue) {
            PaintInstMessageBox(dc, inst, cal->message);
            return;
        }
    }

    // Ranges. A log axis over data that are not positive cannot be drawn at all; the graph
    // says so in its box instead of leaving the page to an exception.
    try {
        double xLo = 1.1, xHi = 99.0, yLo = 1.1, yHi = 99.0;
        double xPos = NoValue, yPos = NoValue;
        if (cal) CalibrationDataRange(*cal, xLo, xHi, yLo, yHi, &xPos, &yPos);
        if (g.GetAxisX().scale == 1 && xLo <= 0.0 && xPos != NoValue) xLo = xPos;
        if (g.GetAxisY().scale == 1 && yLo <= 0.0 && yPos != NoValue) yLo = yPos;
        gp.tx = GraphAxisTicks(g.GetAxisX(), xLo, xHi, !cal);
        gp.ty = GraphAxisTicks(g.GetAxisY(), yLo, yHi, !cal);
    } catch (const std::exception&) {
        PaintInstMessageBox(dc, inst, GetResStringStd(kStrGraphFailed));
        return;
    }
    auto makeAxis = [](const RPGraphTicks& t, int pMin, int pMax) {
        RunAxis a;
        a.log = t.log;
        a.pMin = pMin;
        a.pMax = pMax;
        a.min = t.min;
        a.max = t.max;
        a.e0 = t.e0;
        a.e1 = t.e1;
        return a;
    };
    gp.ax = makeAxis(gp.tx, f.left, f.right);
    gp.ay = makeAxis(gp.ty, f.bottom, f.top);

    bool failed = false;
    auto stage = [&failed](auto&& fn) {
        if (failed) return;
        try {
            fn();
        } catch (const std::exception&) {
            failed = true;
        }
    };
    if (g.GetDrawGrid()) stage([&] { gp.Grid(); });
    if (axes) {
        stage([&] { gp.AxesMinor(); });
        stage([&] { gp.AxesMajor(); });
    }
    if (labels) stage([&] { gp.Labels(); });
    stage([&] {
        const int saved = dc.SaveDC();
        const TRect& o = inst.objRect;
        dc.IntersectClipRect(TRect(o.left - gp.markerW / 2, o.top - gp.markerH / 2, o.right + gp.markerW / 2,
                                   o.bottom + gp.markerH / 2));
        try {
            if (!cal) {
                gp.Placeholder();
            } else {
                const double wx0 = gp.ax.ToValue(in.left), wx1 = gp.ax.ToValue(in.right);
                const double wy0 = gp.ay.ToValue(in.bottom), wy1 = gp.ay.ToValue(in.top);
                gp.Curve(*cal, wx0, wx1, wy0, wy1);
                if (inst.sampleIndex < 0) {
                    const int n = std::min({cal->PointCount(), static_cast<int>(cal->pointY.size()),
                                            static_cast<int>(cal->pointExcluded.size())});
                    gp.Points(cal->pointX.data(), cal->pointY.data(), cal->pointExcluded.data(), n, wx0, wx1, wy0, wy1);
                } else if (inst.sampleIndex < plate->sampleCount) {
                    const QSample* s = plate->GetSample(inst.sampleIndex);
                    if (s && s->kind == skQuantitative) {
                        const auto* q = static_cast<const QNSample*>(s);
                        const int n = std::min({q->pointCount, static_cast<int>(q->wellConcs.size()),
                                                static_cast<int>(q->signals.size()), static_cast<int>(q->flags.size())});
                        gp.Points(q->wellConcs.data(), q->signals.data(), q->flags.data(), n, wx0, wx1, wy0, wy1);
                    }
                }
            }
        } catch (...) {
            dc.RestoreDC(saved);
            throw;
        }
        dc.RestoreDC(saved);
    });
    if (failed) {
        PaintInstMessageBox(dc, inst, GetResStringStd(kStrGraphFailed));
        return;
    }
    PaintInstBorder(dc, inst);
}

}  // namespace vyn
