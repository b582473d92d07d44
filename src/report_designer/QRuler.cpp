#include "report_designer/QRuler.h"

#include <algorithm>
#include <string>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "reports/RPSection.h"

namespace vyn {

namespace {

void HLine(TDC& dc, int x0, int x1, int y)
{
    dc.MoveTo(x0, y);
    dc.LineTo(x1, y);
}

void VLine(TDC& dc, int x, int y0, int y1)
{
    dc.MoveTo(x, y0);
    dc.LineTo(x, y1);
}

}  // namespace

QRuler::QRuler(TWindow* parent, QRepView& view, bool vertical) : TWindow(parent), view_(view), scale_(kTwipsPerInch, 8)
{
    scale_.Set(vertical ? Metrics().screenPpi.cy : Metrics().screenPpi.cx, 16);
}

void QRuler::Paint(TDC& dc, bool, TRect& rect)
{
    client_ = GetClientRect();
    const TRect u = rect & client_;
    if (u.IsEmpty()) return;
    PaintRuler(dc, u);
}

void QRuler::ShowMark(int from, int to)
{
    client_ = GetClientRect();
    if (from > to) std::swap(from, to);
    UpdateWindow();
    DrawNow([&](TDC& dc) { InvertRange(dc, from, to); });
    markFrom_ = from;
    markTo_ = to;
}

void QRuler::MoveMark(int from, int to)
{
    if (from > to) std::swap(from, to);
    if (from == markFrom_ && to == markTo_) return;
    DrawNow([&](TDC& dc) {
        if (to < markFrom_ || from > markTo_) {
            InvertRange(dc, markFrom_, markTo_);
            InvertRange(dc, from, to);
            return;
        }
        // Only the bands that changed: between the two starts and between the two ends.
        const int s0 = std::min(from, markFrom_), s1 = std::max(from, markFrom_);
        if (s1 > s0) InvertRange(dc, s0, s1 - 1);
        const int e0 = std::min(to, markTo_) + 1, e1 = std::max(to, markTo_) + 1;
        if (e1 > e0) InvertRange(dc, e0, e1 - 1);
    });
    markFrom_ = from;
    markTo_ = to;
}

void QRuler::HideMark()
{
    DrawNow([&](TDC& dc) { InvertRange(dc, markFrom_, markTo_); });
}

void QRuler::RepaintWithMark(int from, int to)
{
    if (from > to) std::swap(from, to);
    DrawNow([&](TDC& dc) {
        PaintRuler(dc, client_);
        InvertRange(dc, from, to);
    });
    markFrom_ = from;
    markTo_ = to;
}

void QRuler::ScrollBy(int delta)
{
    // The ruler is drawn again from the view's new origin; its image is ours, so there is no
    // covered part whose pixels could be missing.
    if (delta != 0) Invalidate(false);
}

// --- horizontal ---

QHRuler::QHRuler(TWindow* parent, QRepView& view) : QRuler(parent, view, false) {}

void QHRuler::InvertRange(TDC& dc, int from, int to)
{
    const TRect r = TRect(from, client_.top, to + 1, client_.bottom) & client_;
    if (!r.IsEmpty()) dc.InvertRect(r);
}

void QHRuler::PaintRuler(TDC& dc, const TRect& u)
{
    const DesignerMetrics& m = Metrics();
    const TRect c = client_;
    const TBrush grey(kDesignerGrey);
    dc.SelectObject(TPen(TColor(0, 0, 0)));
    if (u.left == 0) VLine(dc, 0, u.top, u.bottom);
    const int right = c.right - m.scrollBarAllowance;
    if (right >= u.left && right < u.right) VLine(dc, right, u.top, u.bottom);
    dc.FillRect(TRect(right + 1, c.top, c.right, c.bottom) & u, grey);
    TRect s = TRect(1, c.top, right, c.bottom) & u;
    if (s.IsEmpty()) {
        dc.RestorePen();
        return;
    }
    const int org = -view_.ScrollX();
    const int e = scale_.FromTwips(kMaxTwips, org);
    if (e >= s.left && e < s.right) VLine(dc, e, s.top, s.bottom);
    dc.FillRect(TRect(e + 1, s.top, right, s.bottom) & u, grey);
    if (s.left < e) {
        s.right = std::min(s.right, e);
        dc.FillRect(s, TBrush(m.pageArea));
        for (int n = scale_.ToStepUp(s.left, org); n <= scale_.ToStepDown(s.right - 1, org); ++n) {
            const int x = scale_.StepToUnits(n, org);
            const int len = m.hTicks[static_cast<std::size_t>(((n % 16) + 16) % 16)] + 1;
            VLine(dc, x, c.bottom - len, c.bottom);
        }
        RPScale inches = scale_;
        inches.SetDivisions(1);
        const int save = dc.SaveDC();
        dc.IntersectClipRect(s);
        dc.SelectObject(m.rulerFont);
        dc.SetBkMode(TRANSPARENT);
        for (int n = inches.ToStepUp(s.left - m.rulerLabelGap - m.hLabelReach + 1, org);
             n <= inches.ToStepDown(s.right - m.rulerLabelGap - 1, org); ++n)
            dc.TextOut(inches.StepToUnits(n, org) + m.rulerLabelGap, c.top, std::to_string(n));
        dc.RestoreFont();
        dc.RestoreDC(save);
    }
    dc.RestorePen();
}

// --- vertical ---

QVRuler::QVRuler(TWindow* parent, QRepView& view) : QRuler(parent, view, true) {}

void QVRuler::InvertRange(TDC& dc, int from, int to)
{
    auto rows = [&](int y0, int y1) {  // y1 excluded
        const TRect r = TRect(client_.left, std::max(y0, from), client_.right, std::min(y1, to + 1)) & client_;
        if (!r.IsEmpty()) dc.InvertRect(r);
    };
    const int titleH = Metrics().bandTitleHeight;
    int below = 1;
    for (RPSection* b : view_.BandTable()) {
        const int bt = b->HeaderTop() + titleH;
        if (to < bt) return;
        const int bb = b->BodyBottom() + 1;
        rows(bt + 1, bb - 1);
        below = bb;
    }
    rows(below + 1, client_.bottom - 1);
}

void QVRuler::PaintBody(TDC& dc, const TRect& b, const TRect& clip)
{
    const DesignerMetrics& m = Metrics();
    const TRect c = client_;
    dc.SelectObject(TPen(TColor(0, 0, 0)));
    if (b.top >= clip.top && b.top < clip.bottom) HLine(dc, clip.left, clip.right, b.top);
    if (b.bottom - 1 >= clip.top && b.bottom - 1 < clip.bottom) HLine(dc, clip.left, clip.right, b.bottom - 1);
    const TRect inner = TRect(b.left, b.top + 1, b.right, b.bottom - 1) & clip;
    if (inner.IsEmpty()) {
        dc.RestorePen();
        return;
    }
    dc.FillRect(inner, TBrush(m.pageArea));
    const int org = b.top;
    for (int n = scale_.ToStepUp(inner.top, org); n <= scale_.ToStepDown(inner.bottom - 1, org); ++n) {
        const int y = scale_.StepToUnits(n, org);
        const int len = m.vTicks[static_cast<std::size_t>(((n % 16) + 16) % 16)] + 1;
        HLine(dc, c.right - len, c.right, y);
    }
    RPScale inches = scale_;
    inches.SetDivisions(1);
    const int save = dc.SaveDC();
    dc.IntersectClipRect(inner);
    dc.SelectObject(m.rulerFont);
    dc.SetBkMode(TRANSPARENT);
    for (int n = inches.ToStepUp(inner.top - m.vLabelReach + 1, org); n <= inches.ToStepDown(inner.bottom - 1, org); ++n)
        dc.TextOut(c.left + m.rulerLabelGap, inches.StepToUnits(n, org), std::to_string(n));
    dc.RestoreFont();
    dc.RestoreDC(save);
    dc.RestorePen();
}

void QVRuler::PaintRuler(TDC& dc, const TRect& u)
{
    const DesignerMetrics& m = Metrics();
    const TRect c = client_;
    const TRect w(c.left, c.top + 1, c.right, c.bottom - m.scrollBarAllowance);
    const TBrush grey(kDesignerGrey);
    const int titleH = m.bandTitleHeight;
    int below = 1;
    for (RPSection* b : view_.BandTable()) {
        const int tt = b->HeaderTop();
        const int bt = tt + titleH;
        const int bb = b->BodyBottom() + 1;
        below = bb;
        const TRect t(w.left, tt, w.right, bt);
        const TRect clipT = w & u;
        if (!(t & u).IsEmpty() && !clipT.IsEmpty()) {
            if (t.top >= clipT.top && t.top < clipT.bottom) {
                dc.SelectObject(TPen(TColor(255, 255, 255)));
                HLine(dc, clipT.left, clipT.right, t.top);
                dc.RestorePen();
            }
            if (t.bottom - 1 >= clipT.top && t.bottom - 1 < clipT.bottom) {
                dc.SelectObject(TPen(TColor(128, 128, 128)));
                HLine(dc, clipT.left, clipT.right, t.bottom - 1);
                dc.RestorePen();
            }
            dc.FillRect(TRect(t.left, t.top + 1, t.right, t.bottom - 1) & clipT, grey);
        }
        const TRect body(w.left, bt, w.right, bb);
        if (!(body & u).IsEmpty()) PaintBody(dc, body, body & w & u);
    }
    if (below < w.bottom) dc.FillRect(TRect(w.left, std::max(w.top, below), w.right, w.bottom) & u, grey);
    dc.SelectObject(TPen(TColor(0, 0, 0)));
    if (c.top >= u.top && c.top < u.bottom) HLine(dc, c.left, c.right, c.top);
    if (w.bottom >= u.top && w.bottom < u.bottom) HLine(dc, c.left, c.right, w.bottom);
    dc.RestorePen();
    dc.FillRect(TRect(c.left, w.bottom + 1, c.right, c.bottom) & u, grey);
}

}  // namespace vyn
