#include "printing/APrintOutGraph.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "evaluator/NoValue.h"
#include "platform/gui/Dc.h"
#include "printing/PageSettings.h"

namespace vyn {

APrintOutGraph::APrintOutGraph() : curveFrom(NoValue), curveTo(NoValue), markFrom(NoValue), markTo(NoValue) {}

APrintOutGraph::~APrintOutGraph() = default;

void APrintOutGraph::LoadMargins() { LoadKindMargins(pkGraph); }
void APrintOutGraph::StoreMargins() { StoreKindMargins(pkGraph); }
void APrintOutGraph::LoadFont() { LoadKindFont(pkGraph); }

void APrintOutGraph::BeginPrinting()
{
    points.clear();
    points.reserve(kPointBuffer);
    APrintOut::BeginPrinting();
}

void APrintOutGraph::EndPrinting()
{
    APrintOut::EndPrinting();
    points.clear();
    points.shrink_to_fit();
}

TSize APrintOutGraph::PointSize(const TDC& dc, int pts) const
{
    return TSize(MulDiv(pts, dc.GetDeviceCaps(LOGPIXELSX), 72), MulDiv(pts, dc.GetDeviceCaps(LOGPIXELSY), 72));
}

std::string APrintOutGraph::DecadeLabel(int e)
{
    static const char* const kNear[] = {"0.01", "0.1", "1", "10", "100"};
    if (e >= -2 && e <= 2) return kNear[e + 2];
    return "1e" + std::to_string(e);
}

std::string APrintOutGraph::ValueLabel(double v)
{
    if (v == 0.0) v = 0.0;  // no "-0"
    char buf[32];
    auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

void APrintOutGraph::Paginate()
{
    if (!DC) return;
    const TDC& dc = *DC;
    const TRect& P = pageRect;
    const int L = lineHeight;
    majorTick = PointSize(dc, 7);
    minorTick = PointSize(dc, 5);
    markRadius = PointSize(dc, 3);
    const TSize least = PointSize(dc, 60);
    int H = P.Height() - (PrintYUnits(3) + headerHeight + infoHeight + L + PrintYUnits(3) + majorTick.cy +
                          PrintYUnits(2) + L + PrintYUnits(3) + L + PrintYUnits(4) + 3 * L + footerHeight);
    int W = P.Width() - (PrintXUnits(32) + PrintXUnits(1) + majorTick.cx + PrintXUnits(32) / 2);
    H = std::max(H, least.cy);
    W = std::max(W, least.cx);
    // Square on paper, whatever the device's two resolutions.
    const TSize S = PointSize(dc, 72);
    int w = W;
    int h = static_cast<int>(static_cast<long long>(w) * S.cy / std::max(1, S.cx));
    if (h > H) {
        h = H;
        w = static_cast<int>(static_cast<long long>(h) * S.cx / std::max(1, S.cy));
    }
    plotRect.left = std::max(P.left + (P.Width() - w - PrintXUnits(32) / 2) / 2,
                             P.left + PrintXUnits(32) + PrintXUnits(1) + majorTick.cx);
    plotRect.top = P.top + headerHeight + infoHeight + PrintYUnits(3) + L + PrintYUnits(3);
    plotRect.right = plotRect.left + w;
    plotRect.bottom = plotRect.top + h;
    titleY = P.top + headerHeight + infoHeight + PrintYUnits(3);
    captionY = plotRect.bottom + majorTick.cy + PrintYUnits(2) + L + PrintYUnits(3);
    for (AxisRecord* a : {&xAxis, &yAxis})
        if (a->log) {
            a->min = a->firstDecade;
            a->max = a->lastDecade;
        }
    textTop = captionY + L + PrintYUnits(4);
    legendLines = std::max(0, (P.bottom - footerHeight - textTop + dc.GetTextMetrics().tmInternalLeading) / std::max(1, L));
    pageCount = 1;
}

int APrintOutGraph::XPixel(double v) const
{
    if (xAxis.log) v = std::log10(v);
    const double d = ((v - xAxis.min) * plotRect.right + (xAxis.max - v) * plotRect.left) / (xAxis.max - xAxis.min);
    return static_cast<int>(std::clamp(d, -1e8, 1e8));
}

int APrintOutGraph::YPixel(double v) const
{
    if (yAxis.log) v = std::log10(v);
    const double d = ((v - yAxis.min) * plotRect.top + (yAxis.max - v) * plotRect.bottom) / (yAxis.max - yAxis.min);
    return static_cast<int>(std::clamp(d, -1e8, 1e8));
}

double APrintOutGraph::XValue(int px) const
{
    double v;
    if (px == plotRect.left) v = xAxis.min;
    else if (px == plotRect.right) v = xAxis.max;
    else v = ((px - plotRect.left) * xAxis.max + (plotRect.right - px) * xAxis.min) / (plotRect.right - plotRect.left);
    return xAxis.log ? std::pow(10.0, v) : v;
}

double APrintOutGraph::CurveAt(double x) { return PrintCurveY(std::clamp(x, curveFrom, curveTo)); }

void APrintOutGraph::PrintPage(int page, TRect&, unsigned)
{
    if (!outDC || !DC || page != 1) return;
    TDC& out = *outDC;
    SelectPrintFont();
    const TPen thin = ThinPen(*DC, 0), heavy = ThinPen(*DC, 1);
    PrintHeader(pageRect, out, *DC, dateText.c_str(), pageCount, page);
    PrintInfoBlock(pageRect, headerHeight, out, *DC, PageClip(), header);
    const unsigned oldAlign = out.GetTextAlign();
    const int oldMode = out.SetBkMode(TRANSPARENT);
    if (title) {
        out.SetTextAlign(TA_CENTER | TA_TOP);
        out.TextOut((plotRect.left + plotRect.right) / 2, titleY, *title);
    }
    if (xCaption) {
        out.SetTextAlign(TA_RIGHT | TA_TOP);
        out.TextOut(plotRect.right, captionY, *xCaption);
    }
    out.SelectObject(TBrush());
    out.SelectObject(thin);
    out.Rectangle(plotRect.left, plotRect.top, plotRect.right + 1, plotRect.bottom + 1);
    drawn_.clear();
    if (message) {
        const int cx = (plotRect.left + plotRect.right) / 2, cy = (plotRect.top + plotRect.bottom) / 2;
        out.SetTextAlign(TA_CENTER | TA_BOTTOM);
        out.TextOut(cx, cy, *message);
        const int w = DC->GetTextExtent(*message).cx;
        out.SelectObject(heavy);
        const int gap = PointSize(*DC, 2).cy;
        for (int y : {cy, cy + gap}) {
            out.MoveTo(cx - w / 2, y);
            out.LineTo(cx - w / 2 + w, y);
        }
    } else {
        out.SelectObject(heavy);
        out.MoveTo(plotRect.left, plotRect.top);
        out.LineTo(plotRect.left, plotRect.bottom);
        out.LineTo(plotRect.right, plotRect.bottom);
        DrawTicks(out, thin, heavy, true);
        DrawTicks(out, thin, heavy, false);
        DrawCurve(out, thin, heavy);
        DrawPoints(out, thin, heavy);
    }
    out.SetTextAlign(TA_LEFT | TA_TOP);
    Rewind();
    SetPageLines(0, legendLines);
    PrintLegend();
    out.SetTextAlign(oldAlign);
    out.SetBkMode(oldMode);
    out.RestorePen();
    out.RestoreBrush();
    PrintFooter(pageRect, out, *DC, pageCount, page);
    DeselectPrintFont();
    outDC = DC;
}

void APrintOutGraph::DrawTicks(TDC& out, const TPen& thin, const TPen& heavy, bool isX)
{
    const AxisRecord& a = isX ? xAxis : yAxis;
    const int from = a.log ? a.firstDecade : 0, to = a.log ? a.lastDecade : a.steps;
    const TTextMetric tm = DC->GetTextMetrics();
    const int lift = tm.tmInternalLeading + (tm.tmHeight - tm.tmInternalLeading - tm.tmDescent) / 2;
    out.SetTextAlign(isX ? (TA_CENTER | TA_TOP) : (TA_RIGHT | TA_TOP));
    auto tick = [&](double v, bool major) {
        const TPen& pen = major ? heavy : thin;
        if (isX) {
            const int px = XPixel(v), len = major ? majorTick.cy : minorTick.cy;
            if (major && a.grid) {
                out.SelectObject(thin);
                out.MoveTo(px, plotRect.bottom);
                out.LineTo(px, plotRect.top);
            }
            out.SelectObject(pen);
            out.MoveTo(px, plotRect.bottom);
            out.LineTo(px, plotRect.bottom + len);
        } else {
            const int py = YPixel(v), len = major ? majorTick.cx : minorTick.cx;
            if (major && a.grid) {
                out.SelectObject(thin);
                out.MoveTo(plotRect.left, py);
                out.LineTo(plotRect.right, py);
            }
            out.SelectObject(pen);
            out.MoveTo(plotRect.left, py);
            out.LineTo(plotRect.left - len, py);
        }
    };
    for (int i = from; i <= to; ++i) {
        const double v = a.log ? std::pow(10.0, i) : (i == a.steps ? a.max : a.min + i * a.step);
        tick(v, true);
        const std::string label = a.log ? DecadeLabel(i) : ValueLabel(v);
        if (isX) out.TextOut(XPixel(v), plotRect.bottom + majorTick.cy + PrintYUnits(2), label);
        else out.TextOut(plotRect.left - (majorTick.cx + PrintXUnits(1)), YPixel(v) - lift, label);
        if (i == to) continue;
        if (a.log)
            for (int m = 2; m <= 9; ++m) tick(m * v, false);
        else
            for (int m = 1; m <= a.minorTicks; ++m) tick(v + m * a.step / (a.minorTicks + 1), false);
    }
}

void APrintOutGraph::DrawCurve(TDC& out, const TPen& thin, const TPen& heavy)
{
    if (curveFrom == NoValue || curveTo == NoValue) return;
    points.clear();
    const int pxFrom = XPixel(curveFrom), pxTo = XPixel(curveTo);
    int s = std::max(1, PointSize(*DC, 3).cx / 2);
    const int span = pxTo - pxFrom;
    if ((span + s - 1) / s > kMaxSteps) s = (span + kMaxSteps - 1) / kMaxSteps;
    int markStart = -1, markEnd = -1;
    auto add = [&](TPoint p) {
        if (static_cast<int>(points.size()) < kPointBuffer) points.push_back(p);
    };
    int px = pxFrom;
    double x = XValue(px);
    add(TPoint(pxFrom, YPixel(CurveAt(x))));
    for (;;) {
        const double prev = x;
        px += s;
        x = XValue(px);
        for (int k = 0; k < 2; ++k) {
            const double m = k == 0 ? markFrom : markTo;
            if (m == NoValue || !(prev <= m && m <= x)) continue;
            const TPoint mp(XPixel(m), YPixel(CurveAt(m)));
            add(mp);
            (k == 0 ? markStart : markEnd) = static_cast<int>(points.size());
            add(mp);
        }
        if (x < curveTo) {
            add(TPoint(px, YPixel(CurveAt(x))));
        } else {
            add(TPoint(XPixel(curveTo), YPixel(CurveAt(curveTo))));
            break;
        }
    }
    drawn_ = points;
    const TPen& pen = markFrom != NoValue ? heavy : thin;
    const int n = static_cast<int>(points.size());
    if (markStart >= 0 && markEnd >= markStart) {
        out.SelectObject(thin);
        out.Polyline(points.data(), markStart);
        out.Polyline(points.data() + markEnd, n - markEnd);
        out.SelectObject(pen);
        out.Polyline(points.data() + markStart, markEnd - markStart);
    } else {
        out.SelectObject(pen);
        out.Polyline(points.data(), n);
    }
}

void APrintOutGraph::DrawPoints(TDC& out, const TPen& thin, const TPen& heavy)
{
    if (pointCount <= 0 || !pointX || !pointY) return;
    out.SelectObject(TBrush());
    const int rx = markRadius.cx, ry = markRadius.cy;
    for (int i = 0; i < pointCount; ++i) {
        if (!std::isfinite(pointX[i]) || !std::isfinite(pointY[i])) continue;
        if ((xAxis.log && pointX[i] <= 0.0) || (yAxis.log && pointY[i] <= 0.0)) continue;
        const int cx = XPixel(pointX[i]), cy = YPixel(pointY[i]);
        const int f = pointFlags ? pointFlags[i] : 0;
        out.SelectObject((f & 2) ? thin : heavy);
        if (pointFlags && (((f & 1) != 0) != ((f & 2) != 0))) {
            TPoint d[5] = {{cx - rx, cy}, {cx, cy - ry}, {cx + rx, cy}, {cx, cy + ry}, {cx - rx, cy}};
            out.Polyline(d, 5);
        } else {
            out.Ellipse(cx - rx, cy - ry, cx + rx, cy + ry);
        }
    }
}

}  // namespace vyn
