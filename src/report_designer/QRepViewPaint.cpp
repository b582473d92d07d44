// Design-time painting of the report: border lines, the grey area outside the report, and
// each present band with its title bar, grid dots and objects with their selection handles.
#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "report_designer/DesignerMetrics.h"
#include "report_designer/QRepView.h"
#include "reports/IRepView.h"
#include "reports/RPFont.h"
#include "reports/RPObject.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"

namespace vyn {

namespace {

TColor Rgb(int v) { return TColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

void Handles(TDC& dc, const RPObject& o, TPoint origin)
{
    const RPPixelGeometry& g = o.Pixels();
    const TBrush black(TColor(0, 0, 0));
    auto box = [&](int x0, int x1, int y0, int y1) {
        if (x1 > x0 && y1 > y0) dc.FillRect(TRect(x0 + origin.x, y0 + origin.y, x1 + origin.x, y1 + origin.y), black);
    };
    if (o.GetType() != otPageBreak) {
        box(g.colR0, g.colR1, g.rowT0, g.rowT1);
        box(g.colR0, g.colR1, g.rowB0, g.rowB1);
        box(g.colL0, g.colL1, g.rowB0, g.rowB1);
        box(g.colC0, g.colC1, g.rowT0, g.rowT1);
        box(g.colC0, g.colC1, g.rowB0, g.rowB1);
        box(g.colL0, g.colL1, g.rowM0, g.rowM1);
        box(g.colR0, g.colR1, g.rowM0, g.rowM1);
    }
    TRect a = g.anchor;
    a.Offset(origin.x, origin.y);
    dc.FillRect(a, TBrush(TColor(255, 255, 255)));
    dc.FrameRect(a, black);
}

}  // namespace

void QRepView::PaintObject(TDC& dc, RPSection& band, RPObject& obj)
{
    const TPoint origin(-scrollX_, band.BodyTop());
    const RPPixelGeometry& g = obj.Pixels();
    const TRect box(g.x + origin.x, g.y + origin.y, g.x + g.width + origin.x + 1, g.y + g.height + origin.y + 1);
    const int type = obj.GetType();
    const TPen dotted(TColor(128, 128, 128), 1, PS_DOT);
    const TPen border(Rgb(obj.GetRGBBorder()), 1);
    if (type != otLine && type != otPageBreak && obj.GetBackStyle() == 1)
        dc.FillRect(box, TBrush(Rgb(obj.GetRGBBack())));
    dc.SelectObject(TBrush::Hollow());
    switch (type) {
    case otTextBox: {
        auto& tb = static_cast<RPObjectTextBox&>(obj);
        dc.SelectObject(obj.GetBorderStyle() == 1 ? border : dotted);
        dc.Rectangle(box);
        dc.RestorePen();
        const RPLogFont& s = tb.Font().Entry().screen;
        TLogFont lf;
        lf.lfHeight = s.height;
        lf.lfWeight = s.weight;
        lf.lfItalic = s.italic;
        lf.lfFaceName = s.Face();
        dc.SelectObject(TFont(lf));
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(Rgb(tb.GetRGBFore()));
        const int save = dc.SaveDC();
        dc.IntersectClipRect(TRect(box.left + 1, box.top + 1, box.right - 1, box.bottom - 1));
        dc.TextOut(box.left + 2, box.top + 1, tb.GetContents());
        dc.RestoreDC(save);
        dc.RestoreFont();
        break;
    }
    case otRectangle:
        dc.SelectObject(obj.GetBorderStyle() == 1 ? border : dotted);
        dc.Rectangle(box);
        dc.RestorePen();
        break;
    case otLine: {
        dc.SelectObject(border);
        const bool rising = obj.GetLineSlant() == 1;
        dc.MoveTo(box.left, rising ? box.bottom - 1 : box.top);
        dc.LineTo(box.right - 1, rising ? box.top : box.bottom - 1);
        dc.RestorePen();
        break;
    }
    case otGraph:
    case otPicture:
        dc.SelectObject(dotted);
        dc.Rectangle(box);
        dc.MoveTo(box.left, box.top);
        dc.LineTo(box.right - 1, box.bottom - 1);
        dc.MoveTo(box.left, box.bottom - 1);
        dc.LineTo(box.right - 1, box.top);
        dc.RestorePen();
        break;
    case otPageBreak: {
        dc.SelectObject(TPen(TColor(0, 0, 0), 1, PS_DASH));
        const int y = g.y + origin.y;
        dc.MoveTo(origin.x, y);
        dc.LineTo(origin.x + report_.PixelWidth(), y);
        dc.RestorePen();
        break;
    }
    default: break;
    }
    dc.RestoreBrush();
    if (obj.Selected()) Handles(dc, obj, origin);
}

void QRepView::PaintBand(TDC& dc, RPSection& band, const TRect& clip)
{
    const int width = report_.PixelWidth() - scrollX_;
    const TRect title(0, band.HeaderTop(), GetClientRect().right, band.BodyTop());
    if (!(title & clip).IsEmpty()) {
        const bool hi = band.Highlighted();
        dc.FillRect(title, TBrush(hi ? TColor(0, 0, 128) : kDesignerGrey));
        dc.SelectObject(TPen(TColor(255, 255, 255)));
        dc.MoveTo(title.left, title.top);
        dc.LineTo(title.right, title.top);
        dc.RestorePen();
        dc.SelectObject(TPen(TColor(128, 128, 128)));
        dc.MoveTo(title.left, title.bottom - 1);
        dc.LineTo(title.right, title.bottom - 1);
        dc.RestorePen();
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(hi ? TColor(255, 255, 255) : TColor(0, 0, 0));
        dc.TextOut(4, title.top, SectionName(band.Index()));
    }
    const TRect body(1, band.BodyTop(), width, band.BodyBottom() + 1);
    const TRect outside(std::max(1, width + 1), band.BodyTop(), GetClientRect().right, band.BodyBottom() + 1);
    dc.FillRect(outside & clip, TBrush(kDesignerGrey));
    if ((body & clip).IsEmpty()) return;
    const int save = dc.SaveDC();
    dc.IntersectClipRect(body & clip);
    dc.FillRect(body, TBrush(Rgb(band.GetRGBBack())));
    if (showGrid_) {
        // One dot per grid step, at the steps of a quarter inch darker so that the eye finds them.
        RPScale& gx = report_.GridX();
        RPScale& gy = report_.GridY();
        const TRect c = body & clip;
        const int n0 = gx.ToStepUp(c.left + scrollX_), n1 = gx.ToStepDown(c.right + scrollX_);
        const int m0 = gy.ToStepUp(c.top - band.BodyTop()), m1 = gy.ToStepDown(c.bottom - band.BodyTop());
        for (int m = std::max(m0, 0); m <= m1; ++m)
            for (int n = std::max(n0, 0); n <= n1; ++n)
                dc.SetPixel(gx.StepToUnits(n) - scrollX_, gy.StepToUnits(m) + band.BodyTop(), TColor(128, 128, 128));
    }
    for (const auto& o : band.Objects()) PaintObject(dc, band, *o);
    dc.RestoreDC(save);
    // The body's right edge and bottom border.
    dc.SelectObject(TPen(TColor(0, 0, 0)));
    dc.MoveTo(width, band.BodyTop());
    dc.LineTo(width, band.BodyBottom() + 1);
    dc.MoveTo(0, band.BodyBottom());
    dc.LineTo(width + 1, band.BodyBottom());
    dc.RestorePen();
}

void QRepView::PaintLayout(TDC& dc, const TRect& rect)
{
    const TRect client = GetClientRect();
    const TRect clip = rect & client;
    if (clip.IsEmpty()) return;
    const int bottom = bands_.empty() ? 1 : bands_.back()->BodyBottom() + 1;
    dc.FillRect(TRect(0, bottom, client.right, client.bottom) & clip, TBrush(kDesignerGrey));
    for (RPSection* b : bands_) PaintBand(dc, *b, clip);
    dc.SelectObject(TPen(TColor(0, 0, 0)));
    dc.MoveTo(0, 0);
    dc.LineTo(client.right, 0);
    dc.MoveTo(0, 0);
    dc.LineTo(0, client.bottom);
    dc.RestorePen();
}

}  // namespace vyn
