#include "reports/paint/RPInstPainting.h"

#include <algorithm>

#include "platform/gui/Gdi.h"
#include "reports/RPObject.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/paint/WmfPlayer.h"

namespace vyn {

TRect IntersectRects(const TRect& a, const TRect& b)
{
    return TRect(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom));
}

void PaintInstMessageBox(TDC& dc, const RPObjInst& inst, const std::string& text)
{
    constexpr int kMarkerTwips = 10 * 20;  // 10 points at the device's resolution
    const TFont oldFont = dc.SelectObject(TFont("Arial", -inst.Report().PrintScaleY().FromTwips(kMarkerTwips)));
    TRect r = inst.objRect;
    const TSize ext = dc.GetTextExtent(text);
    const int w = r.Width(), h = r.Height();
    int x, y;
    if (ext.cx + 2 < w) x = r.left + 1 + (w - ext.cx - 2) / 2;
    else {
        x = r.left + 1;
        r.right = r.left + ext.cx + 2;
    }
    if (ext.cy + 2 < h) y = r.top + (h - ext.cy - 2) / 2;
    else {
        y = r.top;
        r.bottom = r.top + ext.cy + 2;
    }
    const int mode = dc.SetBkMode(OPAQUE);
    dc.TextOut(x, y, text);
    dc.SetBkMode(mode);
    dc.MoveTo(r.left, r.top);
    dc.LineTo(r.right, r.top);
    dc.LineTo(r.right, r.bottom);
    dc.LineTo(r.left, r.bottom);
    dc.LineTo(r.left, r.top);
    dc.SelectObject(oldFont);
}

void PaintInstBackground(TDC& dc, const RPObjInst& inst)
{
    if (inst.Object().GetBackStyle() == 0) return;
    const TRect& o = inst.objRect;
    dc.FillRect(TRect(o.left, o.top, o.right + 1, o.bottom + 1), TBrush(ReportColour(inst.Object().GetRGBBack())));
}

void PaintInstBorder(TDC& dc, const RPObjInst& inst)
{
    const TColor c = ReportColour(inst.Object().GetRGBBorder());
    if (inst.borderMode == 1) {
        dc.SelectObject(TPen(c, 1));
        const TRect& o = inst.objRect;
        dc.MoveTo(o.left, o.top);
        dc.LineTo(o.right, o.top);
        dc.LineTo(o.right, o.bottom);
        dc.LineTo(o.left, o.bottom);
        dc.LineTo(o.left, o.top);
        dc.RestorePen();
    } else if (inst.borderMode == 2) {
        const TBrush b(c);
        const TRect& out = inst.outer;
        const TRect& in = inst.inner;
        if (IsEmptyRect(in)) {
            dc.FillRect(out, b);
            return;
        }
        dc.FillRect(TRect(out.left, out.top, out.right, in.top), b);
        dc.FillRect(TRect(out.left, in.bottom, out.right, out.bottom), b);
        dc.FillRect(TRect(out.left, in.top, in.left, in.bottom), b);
        dc.FillRect(TRect(in.right, in.top, out.right, in.bottom), b);
    }
}

namespace {

// a * b / min(d, e) * c / max(d, e), in that order so that the products stay small; 1 when a
// divisor is 0.
long long Scale(long long a, long long b, long long c, long long d, long long e)
{
    if (d == 0 || e == 0) return 1;
    return a * b / std::min(d, e) * c / std::max(d, e);
}

}  // namespace

TSize PictureDrawSize(int sizeMode, TSize box, int cx, int cy, int ppiX, int ppiY)
{
    long long w = box.cx, h = box.cy;
    if (sizeMode == 0) {
        const long long h2 = Scale(cy, ppiY, w, cx, ppiX);
        if (h2 > h) w = Scale(cx, ppiX, h, cy, ppiY);
        else h = h2;
    } else if (sizeMode == 2) {
        w = static_cast<long long>(cx) * ppiX / 2540;
        h = static_cast<long long>(cy) * ppiY / 2540;
    }
    auto fit = [](long long v) { return static_cast<int>(std::clamp<long long>(v, -1000000, 1000000)); };
    return TSize(fit(w), fit(h));
}

bool PlayMetafileInBox(TDC& dc, const std::vector<std::uint8_t>& bits, const TRect& clip, TPoint origin, TSize size)
{
    if (size.cx <= 0 || size.cy <= 0) return false;
    // The box in device units under the mapping in force, so that a scaled preview page plays
    // the picture where the page puts it.
    TPoint corners[2] = {origin, TPoint(origin.x + size.cx, origin.y + size.cy)};
    dc.LPtoDP(corners, 2);
    const TSize devSize(corners[1].x - corners[0].x, corners[1].y - corners[0].y);
    if (devSize.cx <= 0 || devSize.cy <= 0) return false;
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(clip);
    dc.SetMapMode(MM_ANISOTROPIC);
    // A metafile that sets no window of its own draws in the box's device units.
    dc.SetWindowOrg(TPoint(0, 0));
    dc.SetWindowExt(devSize);
    dc.SetDeviceViewport(corners[0], devSize);
    const bool ok = PlayMetafile(dc, bits);
    dc.RestoreDC(saved);
    return ok;
}

}  // namespace vyn
