#include "reports/paint/RPDesignPainter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "reports/IRepView.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"
#include "reports/ReportStrings.h"
#include "reports/paint/RPInstPainting.h"
#include "reports/paint/RPScreenFont.h"

namespace vyn {

namespace {

constexpr TColor kLightGrey{0xC0C0C0};
constexpr TColor kGrey{0x808080};
constexpr TColor kRed{0x0000FF};
constexpr TColor kBlue{0xFF0000};

bool Meets(const TRect& a, const TRect& b) { return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom; }

void Outline(TDC& dc, const TRect& r)
{
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right - 1, r.top);
    dc.LineTo(r.right - 1, r.bottom - 1);
    dc.LineTo(r.left, r.bottom - 1);
    dc.LineTo(r.left, r.top);
}

// Border and background: a solid visible border fills the ring between the outer frame and
// the inner rectangle; any other border is a one-pixel outline, light grey when the border is
// clear, so that borderless objects stay visible while designing.
void DrawFrame(TDC& dc, const RPObject& o)
{
    const RPPixelGeometry& g = o.Pixels();
    const TColor border = ReportColour(o.GetRGBBorder());
    if (o.GetBorderStyle() == 1 && o.GetBorderLnStyle() == 0 && o.GetBorderWidth() >= 1) {
        const TBrush b(border);
        const TRect& out = g.outer;
        const TRect& in = g.inner;
        if (IsEmptyRect(in)) {
            dc.FillRect(out, b);
        } else {
            dc.FillRect(TRect(out.left, out.top, out.right, in.top), b);
            dc.FillRect(TRect(out.left, in.bottom, out.right, out.bottom), b);
            dc.FillRect(TRect(out.left, in.top, in.left, in.bottom), b);
            dc.FillRect(TRect(in.right, in.top, out.right, in.bottom), b);
        }
    } else {
        const TPen pen = o.GetBorderStyle() == 1 ? TPen(border, 0, o.GetBorderLnStyle()) : TPen(kLightGrey, 0);
        const TPen old = dc.SelectObject(pen);
        Outline(dc, TRect(g.x, g.y, g.x + g.width + 1, g.y + g.height + 1));
        dc.SelectObject(old);
    }
    if (o.GetBackStyle() == 1 && !IsEmptyRect(g.inner)) dc.FillRect(g.inner, TBrush(ReportColour(o.GetRGBBack())));
}

void DrawTextBox(TDC& dc, const RPObjectTextBox& t)
{
    const RPPixelGeometry& g = t.Pixels();
    const TRect& in = g.inner;
    if (in.Height() <= 2 || IsEmptyRect(in)) return;
    const TFont oldFont = dc.SelectObject(ScreenFont(t.Font()));
    const TColor oldColour = dc.SetTextColor(ReportColour(t.GetRGBFore()));
    const std::string& text = t.GetText();
    const int tw = dc.GetTextExtent(text).cx;
    int x = in.left;
    if (t.GetTextAlignH() == 1) x += (in.Width() - tw) / 2;
    else if (t.GetTextAlignH() == 2) x += in.Width() - tw;
    x = std::max(x, in.left);
    int y;
    unsigned align;
    if (t.GetTextAlignV() == 0) {
        y = in.top;
        align = TA_LEFT | TA_TOP;
    } else {
        y = g.y + (3 * g.height + 2) / 4;
        align = TA_LEFT | TA_BASELINE;
    }
    const unsigned oldAlign = dc.SetTextAlign(align);
    dc.ExtTextOut(x, y, ETO_CLIPPED, &in, text);
    dc.SetTextAlign(oldAlign);
    dc.SetTextColor(oldColour);
    dc.SelectObject(oldFont);
}

void DrawLine(TDC& dc, const RPObjectLine& l)
{
    const RPPixelGeometry& g = l.Pixels();
    const TPen old = dc.SelectObject(TPen(ReportColour(l.GetRGBBorder()), l.PenWidth(), l.GetBorderLnStyle()));
    if (l.GetLineSlant() == 0) {
        dc.MoveTo(g.x, g.y);
        dc.LineTo(g.x + g.width, g.y + g.height);
    } else {
        dc.MoveTo(g.x, g.y + g.height);
        dc.LineTo(g.x + g.width, g.y);
    }
    dc.SelectObject(old);
}

void DrawPicture(TDC& dc, const RPObjectPicture& p)
{
    DrawFrame(dc, p);
    const RPPixelGeometry& g = p.Pixels();
    if (!p.HasPicture() || g.width <= 1 || g.height <= 1) return;
    IRepView* view = p.View();
    const int ppiX = view ? view->ScreenPpiX() : kScreenDpi, ppiY = view ? view->ScreenPpiY() : kScreenDpi;
    const TSize size = PictureDrawSize(p.GetSizeMode(), TSize(g.width, g.height), p.ExtentX(), p.ExtentY(), ppiX, ppiY);
    PlayMetafileInBox(dc, p.Bits(), TRect(g.x, g.y, g.x + g.width, g.y + g.height), TPoint(g.x, g.y), size);
}

void DrawPageBreak(TDC& dc, const RPObject& b)
{
    const RPPixelGeometry& g = b.Pixels();
    const int x0 = g.x, x1 = g.x + g.width, y = g.y;
    const TPen old = dc.SelectObject(TPen(TColor::Black, 0));
    dc.MoveTo(x0, y);
    dc.LineTo(x1, y);
    // Red and blue dashes alternate above and below, so the break reads on any background.
    for (int x = x0; x < x1; x += 8) {
        dc.SelectObject(TPen(kRed, 0));
        for (int dy : {-1, 1}) {
            dc.MoveTo(x, y + dy);
            dc.LineTo(std::min(x + 4, x1), y + dy);
        }
        if (x + 4 >= x1) continue;
        dc.SelectObject(TPen(kBlue, 0));
        for (int dy : {-1, 1}) {
            dc.MoveTo(x + 4, y + dy);
            dc.LineTo(std::min(x + 8, x1), y + dy);
        }
    }
    dc.SelectObject(old);
}

// --- the graph as the designer shows it ---

struct AxisFault : std::runtime_error {
    explicit AxisFault(bool x) : std::runtime_error("axis"), isX(x) {}
    bool isX;
};

struct DesignAxis {
    const RPGraphAxisLayout& a;
    int pMin, pMax;
    bool isX;
    int ToPixel(double v) const
    {
        if (!a.usable) throw AxisFault(isX);
        double lo = a.minimum, hi = a.maximum;
        if (a.log) {
            v = std::log10(v);
            lo = a.logMin;
            hi = a.logMax;
        }
        const double p = (pMax * (v - lo) + pMin * (hi - v)) / (hi - lo);
        if (!std::isfinite(p)) throw AxisFault(isX);
        return static_cast<int>(std::lround(std::clamp(p, -31680.0, 31680.0)));
    }
    double Major(int i) const { return a.log ? std::pow(10.0, a.firstExp + i) : a.minimum + i * a.step; }
    double Minor(int i, int j) const
    {
        return a.log ? (j + 1) * std::pow(10.0, a.firstExp + i) : a.minimum + i * a.step + j * a.step / (a.subticks + 1);
    }
    bool Beyond(int p, const RPGraphLayout& L) const { return isX ? p > L.right : p < L.top; }
    std::string Label(int i) const
    {
        if (a.automatic) return "A_" + std::to_string(i);
        double v = Major(i);
        if (v == 0.0) v = 0.0;
        char buf[40];
        const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, 6);
        return std::string(buf, r.ptr);
    }
};

void DrawGraphGrid(TDC& dc, const RPGraphLayout& L, const DesignAxis& ax, TColor c)
{
    const bool isX = ax.isX;
    auto line = [&](int p) {
        if (isX) {
            dc.MoveTo(p, L.bottom);
            dc.LineTo(p, L.top);
        } else {
            dc.MoveTo(L.left, p);
            dc.LineTo(L.right, p);
        }
    };
    dc.SelectObject(TPen(c, L.gridPen));
    for (int i = 0; i <= 255; ++i) {
        const int p = ax.ToPixel(ax.Major(i));
        if (ax.Beyond(p, L)) break;
        line(p);
    }
    dc.SelectObject(TPen(c, L.minorGridPen));
    for (int i = 0; i <= 255; ++i) {
        bool stop = false;
        for (int j = 1; j <= ax.a.subticks; ++j) {
            const int p = ax.ToPixel(ax.Minor(i, j));
            if (ax.Beyond(p, L)) {
                stop = true;
                break;
            }
            line(p);
        }
        if (stop) break;
    }
}

void DrawGraphAxis(TDC& dc, const RPGraphLayout& L, const DesignAxis& ax, TColor c, const TRect& inner)
{
    const bool isX = ax.isX;
    dc.SelectObject(TPen(c, L.axisPen));
    if (isX) {
        dc.MoveTo(L.left, L.bottom);
        dc.LineTo(L.right, L.bottom);
    } else {
        dc.MoveTo(L.left, L.bottom);
        dc.LineTo(L.left, L.top);
    }
    const unsigned oldAlign = dc.SetTextAlign(isX ? (TA_CENTER | TA_TOP) : (TA_RIGHT | TA_TOP));
    for (int i = 0; i <= 255; ++i) {
        const int p = ax.ToPixel(ax.Major(i));
        if (ax.Beyond(p, L)) break;
        if (isX) {
            dc.MoveTo(p, L.bottom);
            dc.LineTo(p, L.bottom + L.tickY);
            dc.ExtTextOut(p, L.bottom + L.tickY + L.gapY, ETO_CLIPPED, &inner, ax.Label(i));
        } else {
            dc.MoveTo(L.left, p);
            dc.LineTo(L.left - L.tickX, p);
            dc.ExtTextOut(L.left - L.tickX - L.gapX, p - L.labelH / 2, ETO_CLIPPED, &inner, ax.Label(i));
        }
    }
    dc.SetTextAlign(oldAlign);
    dc.SelectObject(TPen(c, L.minorTickPen));
    for (int i = 0; i <= 255; ++i) {
        bool stop = false;
        for (int j = 1; j <= ax.a.subticks; ++j) {
            const int p = ax.ToPixel(ax.Minor(i, j));
            if (ax.Beyond(p, L)) {
                stop = true;
                break;
            }
            if (isX) {
                dc.MoveTo(p, L.bottom);
                dc.LineTo(p, L.bottom + L.minorY);
            } else {
                dc.MoveTo(L.left, p);
                dc.LineTo(L.left - L.minorX, p);
            }
        }
        if (stop) break;
    }
}

void DrawGraphSample(TDC& dc, const RPObjectGraph& gr, const RPGraphLayout& L)
{
    static const int autoPct[6] = {5, 12, 17, 82, 90, 95};
    static const int fixedPct[6] = {15, 28, 33, 75, 85, 92};
    const int* px = L.x.automatic ? autoPct : fixedPct;
    const int* py = L.y.automatic ? autoPct : fixedPct;
    TPoint pt[6];
    for (int i = 0; i < 6; ++i)
        pt[i] = TPoint(px[i] * (L.right - L.left) / 100 + L.left, py[i] * (L.top - L.bottom) / 100 + L.bottom);
    pt[1].y = (pt[1].y + pt[2].y) / 2;
    pt[4].y = (pt[4].y + pt[3].y) / 2;
    const TPen oldPen = dc.SelectObject(TPen(ReportColour(gr.GetRGBCurve()), L.curvePen));
    if (gr.GetCurveRange() == 0) {
        dc.Polyline(pt + 1, 4);
    } else {
        pt[0].y = pt[1].y + 1;
        pt[5].y = pt[4].y - 1;
        dc.Polyline(pt, 6);
    }
    dc.SelectObject(TPen(ReportColour(gr.GetRGBPoint()), L.pointPen));
    const TBrush oldBrush = dc.SelectObject(TBrush::Hollow());
    const int hw = (L.markerW + 1) / 2, hh = (L.markerH + 1) / 2, mw = L.markerW, mh = L.markerH;
    for (int k : {2, 3}) {
        const int x = pt[k].x, y = pt[k].y;
        const TPoint d[5] = {{x, y + hh}, {x + hw, y + 2 * hh}, {x, y + 3 * hh}, {x - hw, y + 2 * hh}, {x, y + hh}};
        dc.Polyline(d, 5);
        dc.Ellipse(x - mw / 2, y - 3 * mh / 2, x + mw - mw / 2, y + mh - 3 * mh / 2);
    }
    dc.SelectObject(oldBrush);
    dc.SelectObject(oldPen);
}

void DrawGraph(TDC& dc, RPObjectGraph& gr)
{
    DrawFrame(dc, gr);
    const RPPixelGeometry& g = gr.Pixels();
    const TFont oldFont = dc.SelectObject(ScreenFont(gr.Font()));
    const TColor fore = ReportColour(gr.GetRGBFore());
    const TColor oldColour = dc.SetTextColor(fore);
    const TPen oldPen = dc.GetPen();
    if (gr.Message().empty()) {
        const RPGraphLayout& L = gr.LayoutCache();
        const DesignAxis ax{L.x, L.left, L.right, true};
        const DesignAxis ay{L.y, L.bottom, L.top, false};
        try {
            if (gr.GetDrawGrid()) {
                DrawGraphGrid(dc, L, ax, fore);
                DrawGraphGrid(dc, L, ay, fore);
            }
            if (gr.GetDrawAxes()) {
                DrawGraphAxis(dc, L, ax, fore, g.inner);
                DrawGraphAxis(dc, L, ay, fore, g.inner);
            }
            if (L.right > L.left && L.bottom > L.top) DrawGraphSample(dc, gr, L);
        } catch (const AxisFault& f) {
            // The message stays until the next layout, so later paints skip the axes.
            gr.SetMessage(GetResStringStd(f.isX ? kStrXError : kStrYError));
        }
        dc.SelectObject(oldPen);
    }
    if (!gr.Message().empty()) {
        const TRect& in = g.inner;
        const TSize ext = dc.GetTextExtent(gr.Message());
        const TRect clip = IsEmptyRect(in) ? g.outer : in;
        dc.ExtTextOut(clip.left + (clip.Width() - ext.cx) / 2, clip.top + (clip.Height() - ext.cy) / 2, ETO_CLIPPED, &clip,
                      gr.Message());
    }
    dc.SetTextColor(oldColour);
    dc.SelectObject(oldFont);
}

}  // namespace

void DrawObject(TDC& dc, RPObject& o, const TRect& clip)
{
    InstallReportScreenFonts();
    const RPPixelGeometry& g = o.Pixels();
    TRect area = g.outer;
    if (o.GetType() == otPageBreak) area = TRect(g.x, g.y - 1, g.x + g.width + 1, g.y + 2);
    if (!Meets(area, clip)) return;
    switch (o.GetType()) {
    case otTextBox:
        DrawFrame(dc, o);
        DrawTextBox(dc, static_cast<RPObjectTextBox&>(o));
        break;
    case otLine: DrawLine(dc, static_cast<RPObjectLine&>(o)); break;
    case otGraph: DrawGraph(dc, static_cast<RPObjectGraph&>(o)); break;
    case otPicture: DrawPicture(dc, static_cast<RPObjectPicture&>(o)); break;
    case otPageBreak: DrawPageBreak(dc, o); break;
    default: DrawFrame(dc, o); break;
    }
}

void DrawHandles(TDC& dc, const RPObject& o, const TRect& clip)
{
    if (!o.Selected()) return;
    const RPPixelGeometry& g = o.Pixels();
    const int cols[3][2] = {{g.colL0, g.colL1}, {g.colC0, g.colC1}, {g.colR0, g.colR1}};
    const int rows[3][2] = {{g.rowT0, g.rowT1}, {g.rowM0, g.rowM1}, {g.rowB0, g.rowB1}};
    for (int c = 0; c < 3; ++c) {
        for (int r = 0; r < 3; ++r) {
            if (c == 1 && r == 1) continue;
            const TRect h = (c == 0 && r == 0) ? g.anchor : TRect(cols[c][0], rows[r][0], cols[c][1], rows[r][1]);
            if (!IsEmptyRect(h) && Meets(h, clip)) dc.InvertRect(h);
        }
    }
}

void PaintSection(TDC& dc, RPSection& band, const TRect& clip)
{
    IRepView* view = band.View();
    if (!view) return;
    InstallReportScreenFonts();
    RPReport& rep = band.Report();
    const int cw = std::max(view->ClientWidth(), clip.right);
    const int ht = band.HeaderTop(), bt = band.BodyTop(), bb = band.BodyBottom();
    // Title bar.
    const TRect title(0, ht, cw, bt);
    if (bt > ht && Meets(title, clip)) {
        const TPen old = dc.SelectObject(TPen(TColor::White, 0));
        dc.MoveTo(0, ht);
        dc.LineTo(cw, ht);
        dc.SelectObject(TPen(kGrey, 0));
        dc.MoveTo(0, bt - 1);
        dc.LineTo(cw, bt - 1);
        dc.SelectObject(old);
        const TRect rows(0, ht + 1, cw, bt - 1);
        if (!IsEmptyRect(rows)) dc.FillRect(rows, TBrush(kLightGrey));
        const int mode = dc.SetBkMode(TRANSPARENT);
        const TColor oldColour = dc.SetTextColor(TColor::Black);
        const TFont oldFont = dc.SelectObject(GetDialogFont());
        dc.TextOut(10, ht, SectionName(band.Index()));
        dc.SelectObject(oldFont);
        dc.SetTextColor(oldColour);
        dc.SetBkMode(mode);
        if (band.Highlighted() && !IsEmptyRect(rows)) dc.InvertRect(rows);
    }
    // Body.
    const TRect body(0, bt, cw, bb + 1);
    if (!Meets(body, clip)) return;
    const int rw = rep.PixelWidth() - view->ScrollX();
    dc.MoveTo(0, bt);
    dc.LineTo(cw, bt);
    dc.MoveTo(0, bb);
    dc.LineTo(cw, bb);
    if (clip.left == 0) {
        dc.MoveTo(0, bt);
        dc.LineTo(0, bb + 1);
    }
    if (bb - bt > 1) {
        if (rw >= 0 && rw < cw) {
            dc.MoveTo(rw, bt);
            dc.LineTo(rw, bb + 1);
            dc.FillRect(TRect(rw + 1, bt + 1, cw, bb), TBrush(kLightGrey));
        }
        const TRect paper(1, bt + 1, std::min(rw, cw), bb);
        if (!IsEmptyRect(paper)) dc.FillRect(paper, TBrush(ReportColour(band.GetRGBBack())));
    }
    const TPoint origin = band.BandToClient(TPoint(0, 0));
    // Grid dots, only when they are at least 5 pixels apart.
    const RPScale& gx = rep.GridX();
    const RPScale& gy = rep.GridY();
    if (view->ShowGrid() && gx.Divisions() <= view->ScreenPpiX() / 5 && gy.Divisions() <= view->ScreenPpiY() / 5) {
        const TRect area = IntersectRects(clip, TRect(1, bt + 1, std::min(rw, cw), bb));
        if (!IsEmptyRect(area)) {
            const TColor dot = ReportColour(band.GetRGBBack()) == TColor::White ? kGrey : TColor::White;
            const int s0 = gx.ToStepUp(area.left - origin.x), s1 = gx.ToStepDown(area.right - 1 - origin.x);
            const int r0 = gy.ToStepUp(area.top - origin.y), r1 = gy.ToStepDown(area.bottom - 1 - origin.y);
            for (int r = r0; r <= r1; ++r)
                for (int s = s0; s <= s1; ++s) dc.SetPixel(gx.StepToUnits(s) + origin.x, gy.StepToUnits(r) + origin.y, dot);
        }
    }
    // Objects, in band coordinates, clipped to the body.
    {
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(IntersectRects(clip, TRect(0, bt + 1, cw, bb)));
        dc.OffsetWindowOrg(TPoint(-origin.x, -origin.y));
        const TRect bandClip(clip.left - origin.x, clip.top - origin.y, clip.right - origin.x, clip.bottom - origin.y);
        for (const auto& o : band.Objects()) DrawObject(dc, *o, bandClip);
        for (const auto& o : band.Objects()) DrawHandles(dc, *o, bandClip);
        dc.RestoreDC(saved);
    }
    // Columns of the detail band.
    const int n = band.GetNOfColumns();
    if (band.Index() == bandDetail && n >= 2 && n <= 24 && bb - bt > 1) {
        const int rpw = rep.PixelWidth();
        const int colW = (rpw + n / 2) / n;
        const TRect hatch = IntersectRects(TRect(colW - view->ScrollX(), bt + 1, rw, bb), clip);
        if (!IsEmptyRect(hatch)) {
            const int saved = dc.SaveDC();
            dc.IntersectClipRect(hatch);
            const int rop = dc.SetROP2(R2_NOT);
            const int h = hatch.Height();
            const int start = hatch.left - h - ((hatch.left - h - bt) % 10 + 10) % 10;
            for (int x = start; x < hatch.right; x += 10) {
                dc.MoveTo(x, bb - 1);
                dc.LineTo(x + h + 1, bt);
            }
            dc.SetROP2(rop);
            dc.RestoreDC(saved);
        }
        const TPen old = dc.SelectObject(TPen(kRed, 0));
        for (int k = 1; k < n; ++k) {
            const int x = (rpw * k + n / 2) / n - view->ScrollX();
            dc.MoveTo(x, bt + 1);
            dc.LineTo(x, bb);
        }
        dc.SelectObject(old);
    }
}

void PaintLayout(TDC& dc, RPReport& report, const TRect& clip)
{
    IRepView* view = report.View();
    if (!view) return;
    const int mode = dc.SetBkMode(TRANSPARENT);
    int bottom = 1;
    for (int i = 0; i < 5; ++i)
        if (report.Band(i).Enabled()) bottom = std::max(1, report.Band(i).BodyBottom() + 1);
    const int cw = std::max(view->ClientWidth(), clip.right);
    if (clip.top <= 0 && clip.bottom > 0) {
        dc.MoveTo(clip.left, 0);
        dc.LineTo(clip.right, 0);
    }
    if (clip.left <= 0 && clip.right > 0 && clip.bottom > bottom) {
        dc.MoveTo(0, bottom);
        dc.LineTo(0, clip.bottom);
    }
    const TRect below = IntersectRects(TRect(1, bottom, cw, std::max(bottom, clip.bottom)), clip);
    if (!IsEmptyRect(below)) dc.FillRect(below, TBrush(kLightGrey));
    TRect c = clip;
    c.top = std::max(c.top, 1);
    if (!IsEmptyRect(c))
        for (int i = 0; i < 5; ++i)
            if (report.Band(i).Enabled()) PaintSection(dc, report.Band(i), c);
    dc.SetBkMode(mode);
}

}  // namespace vyn
