#include "reports/paint/RPPagePainter.h"

#include <algorithm>
#include <string>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "reports/RPObjectGraph.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPRun.h"
#include "reports/RPShapes.h"
#include "reports/paint/RPGraphPainter.h"
#include "reports/paint/RPInstPainting.h"

namespace vyn {

namespace {

TColor Colour(int rgb) { return ReportColour(rgb); }
TRect Intersect(const TRect& a, const TRect& b) { return IntersectRects(a, b); }
bool Empty(const TRect& r) { return IsEmptyRect(r); }
void PaintBackground(TDC& dc, const RPObjInst& inst) { PaintInstBackground(dc, inst); }
void PaintBorder(TDC& dc, const RPObjInst& inst) { PaintInstBorder(dc, inst); }

void PaintTextBox(TDC& dc, RPReport& report, RPObjInstTextBox& inst)
{
    PaintBackground(dc, inst);
    const RPObjectTextBox& box = inst.Box();
    if (!Empty(inst.inner) && !inst.text.empty()) {
        const RPLogFont& lf = *box.GetFont();
        TLogFont f;
        f.lfHeight = -report.PrintScaleY().FromTwips(2 * lf.height);
        f.lfWeight = lf.weight;
        f.lfItalic = lf.italic;
        f.lfUnderline = lf.underline;
        f.lfFaceName = lf.Face();
        dc.SelectObject(TFont(f));
        const int saved = dc.SaveDC();
        dc.IntersectClipRect(inst.inner);
        int y;
        unsigned align;
        if (box.GetTextAlignV() == 0) {
            y = inst.inner.top;
            align = TA_TOP;
        } else {
            y = inst.objRect.top + (3 * (inst.objRect.bottom - inst.objRect.top) + 2) / 4;
            align = TA_BASELINE;
        }
        int x;
        switch (box.GetTextAlignH()) {
        case 1: x = (inst.inner.left + inst.inner.right) / 2; align |= TA_CENTER; break;
        case 2: x = inst.inner.right - inst.insetX; align |= TA_RIGHT; break;
        default: x = inst.inner.left + inst.insetX; break;
        }
        const unsigned oldAlign = dc.SetTextAlign(align);
        const TColor oldColour = dc.SetTextColor(Colour(box.GetRGBFore()));
        dc.TextOut(x, y, inst.text);
        dc.SetTextColor(oldColour);
        dc.SetTextAlign(oldAlign);
        dc.RestoreDC(saved);
        dc.RestoreFont();
    }
    PaintBorder(dc, inst);
}

void PaintLine(TDC& dc, RPReport& report, RPObjInst& inst)
{
    const RPObject& o = inst.Object();
    const TRect& r = inst.objRect;
    if (r.left == r.right && r.top == r.bottom) return;
    const int style = o.GetBorderLnStyle();
    const int width = (style == 0 && o.GetBorderWidth() != 0) ? report.PenExtent(o.GetBorderWidth()).Width() : 0;
    dc.SelectObject(TPen(Colour(o.GetRGBBorder()), width, style));
    if (o.GetLineSlant() == 0) {
        dc.MoveTo(r.left, r.top);
        dc.LineTo(r.right, r.bottom);
    } else {
        dc.MoveTo(r.left, r.bottom);
        dc.LineTo(r.right, r.top);
    }
    dc.RestorePen();
}

void PaintPicture(TDC& dc, RPReport& report, RPObjInst& inst)
{
    PaintBackground(dc, inst);
    const auto& pic = static_cast<const RPObjectPicture&>(inst.Object());
    const TRect& r = inst.objRect;
    if (pic.HasPicture() && r.Width() > 1 && r.Height() > 1) {
        const int px = report.PrintScaleX().FromTwips(1440), py = report.PrintScaleY().FromTwips(1440);
        const TSize size = PictureDrawSize(pic.GetSizeMode(), TSize(r.Width(), r.Height()), pic.ExtentX(), pic.ExtentY(), px, py);
        PlayMetafileInBox(dc, pic.Bits(), r, TPoint(r.left, r.top), size);
    }
    PaintBorder(dc, inst);
}

void PaintInstance(TDC& dc, RPReport& report, RPObjInst& inst)
{
    if (inst.Object().GetType() == otGraph) {
        PaintGraphInstance(dc, report, static_cast<RPObjInstGraph&>(inst));
        return;
    }
    std::string marker;
    if (inst.PrepareGeometry(marker) != 0) {
        if (!marker.empty()) PaintInstMessageBox(dc, inst, marker);
        return;
    }
    switch (inst.Object().GetType()) {
    case otTextBox: PaintTextBox(dc, report, static_cast<RPObjInstTextBox&>(inst)); break;
    case otLine: PaintLine(dc, report, inst); break;
    case otPicture: PaintPicture(dc, report, inst); break;
    default:  // rectangles
        PaintBackground(dc, inst);
        PaintBorder(dc, inst);
        break;
    }
}

void PaintInstanceObjects(TDC& dc, RPReport& report, RPSecInst& si, const TRect& area, const TRect& g)
{
    const TRect r = si.DeviceRect();
    TRect clip = Intersect(r, area);
    if (Empty(clip)) return;
    clip = TRect(clip.left + g.left, clip.top + g.top, clip.right + g.right, clip.bottom + g.bottom);
    if (Empty(clip)) return;
    const int saved = dc.SaveDC();
    dc.IntersectClipRect(clip);
    dc.SetWindowOrg(TPoint(-si.devX, -si.devY));
    const int mode = dc.SetBkMode(TRANSPARENT);
    for (auto& inst : si.objects) PaintInstance(dc, report, *inst);
    dc.SetBkMode(mode);
    dc.RestoreDC(saved);
}

void PaintBand(TDC& dc, const RPSecInst& si, const TRect& area)
{
    const TRect r = Intersect(si.DeviceRect(), area);
    if (!Empty(r)) dc.FillRect(r, TBrush(Colour(si.band.GetRGBBack())));
}

}  // namespace

void PaintReportPage(RPReport& report, int n, TDC& dc)
{
    RPPage* page = report.Page(n);
    if (!page) return;
    const TRect g = report.PenExtent(6);
    const TRect pageRect = report.Print().pageRect;
    TRect body = pageRect;
    if (page->headerShown) body.top = page->header.devY + page->header.devHeight;
    if (page->footerShown) body.bottom = page->footer.devY;
    const auto& insts = report.SectionInstances();
    if (body.top < body.bottom)
        for (int i = page->first; i <= page->last; ++i) PaintBand(dc, *insts[static_cast<std::size_t>(i)], body);
    if (page->headerShown) PaintBand(dc, page->header, pageRect);
    if (page->footerShown) PaintBand(dc, page->footer, pageRect);
    const TPoint windowOrg = dc.GetWindowOrg();
    for (int i = page->first; i <= page->last; ++i)
        PaintInstanceObjects(dc, report, *insts[static_cast<std::size_t>(i)], body, g);
    if (page->headerShown) PaintInstanceObjects(dc, report, page->header, pageRect, g);
    if (page->footerShown) PaintInstanceObjects(dc, report, page->footer, pageRect, g);
    dc.SetWindowOrg(windowOrg);
}

}  // namespace vyn
