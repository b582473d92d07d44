#include "printing/TPgWin.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

#include "platform/gui/Dc.h"
#include "platform/gui/Printout.h"
#include "printing/APrintOut.h"
#include "printing/PageSettings.h"
#include "printing/TRwPreview.h"
#include "printing/TTextPaintDC.h"

namespace vyn {

namespace {
// How near the mouse must come to a margin line to take it: a sizing frame's width.
constexpr int kGrabTolerance = 4;
bool Horizontal(int mode) { return mode == TPgWin::dmTop || mode == TPgWin::dmBottom; }
}  // namespace

TPgWin::TPgWin(TWindow* desk, TRwPreview& frame)
    : TWindow(desk, 0, "Page"), grabTolerance(kGrabTolerance), frame_(frame)
{
}

void TPgWin::RecalcMargins()
{
    if (frame_.printDC) marginRect = PageMarginRect(*frame_.printDC);
}

void TPgWin::RecalcLines()
{
    const TRect c = GetClientRect();
    const long long w = c.Width(), h = c.Height();
    const long long pw = std::max(1, frame_.pageSize.cx), ph = std::max(1, frame_.pageSize.cy);
    leftX = static_cast<int>(marginRect.left * w / pw);
    rightX = static_cast<int>(marginRect.right * w / pw);
    topY = static_cast<int>(marginRect.top * h / ph);
    bottomY = static_cast<int>(marginRect.bottom * h / ph);
}

void TPgWin::Paint(TDC& dc, bool, TRect&)
{
    const TRect client = GetClientRect();
    if (frame_.printDC && dc.Image()) {
        TTextPaintDC page(*dc.Image(), frame_.printDC.get());
        page.BeginScaling(TSize(client.Width(), client.Height()), frame_.pageSize);
        APrintOut* out = frame_.printout;
        if (out && out->HasPage(frame_.currentPage)) {
            out->SetPrintParams(&page, TSize(kPreviewPageSize, kPreviewPageSize));
            TRect r(0, 0, 1, 1);
            out->PrintPage(frame_.currentPage, r, 0);
            // The page context dies with this paint: the printout must not keep it.
            out->SetPrintParams(frame_.printDC.get(), TSize(kPreviewPageSize, kPreviewPageSize));
        }
        page.EndScaling();
    }
    RecalcLines();
    if (!gShowMargins) return;
    const TPen old = dc.SelectObject(TPen(kMarginColor, 1));
    dc.MoveTo(leftX, 0);
    dc.LineTo(leftX, client.bottom);
    dc.MoveTo(rightX, 0);
    dc.LineTo(rightX, client.bottom);
    dc.MoveTo(0, topY);
    dc.LineTo(client.right, topY);
    dc.MoveTo(0, bottomY);
    dc.LineTo(client.right, bottomY);
    dc.SelectObject(old);
}

int TPgWin::HitTest(int x, int y, int& offset) const
{
    const int signedDist[4] = {y - topY, x - rightX, y - bottomY, x - leftX};
    int best = dmNone;
    int bestDist = 0;
    for (int i = 0; i < 4; ++i) {
        const int d = std::abs(signedDist[i]);
        // A later line wins only when strictly nearer.
        if (best == dmNone || d < bestDist) {
            best = i + 1;
            bestDist = d;
        }
    }
    if (bestDist > grabTolerance) return dmNone;
    offset = signedDist[best - 1];
    return best;
}

std::string TPgWin::MarginText(int x, int y) const
{
    if (pageInches <= 0) return {};
    const TRect c = GetClientRect();
    const int w = std::max(1, c.Width()), h = std::max(1, c.Height());
    double value = 0;
    switch (dragMode) {
    case dmTop: value = static_cast<double>(y) / h; break;
    case dmRight: value = static_cast<double>(w - x) / w; break;
    case dmBottom: value = static_cast<double>(h - y) / h; break;
    case dmLeft: value = static_cast<double>(x) / w; break;
    default: return {};
    }
    value *= pageInches;
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf - 1, value, std::chars_format::fixed, 2);
    *res.ptr = '\0';
    return std::string(buf) + "\"";
}

void TPgWin::ShowDragCounter()
{
    if (pageInches > 0) frame_.SetCounterText(MarginText(dragX, dragY));
}

void TPgWin::DrawDragLine()
{
    const TRect c = GetClientRect();
    const int mode = dragMode;
    const int x = dragX, y = dragY;
    DrawNow([&](TDC& dc) {
        const int oldRop = dc.SetROP2(R2_NOT);
        if (Horizontal(mode)) {
            dc.MoveTo(0, y);
            dc.LineTo(c.right, y);
        } else {
            dc.MoveTo(x, 0);
            dc.LineTo(x, c.bottom);
        }
        dc.SetROP2(oldRop);
    });
}

void TPgWin::EvMouseMove(unsigned, const TPoint& p)
{
    if (dragMode == dmNone) {
        RecalcLines();
        int offset = 0;
        const int mode = HitTest(p.x, p.y, offset);
        SetCursorShape(mode == dmNone ? TCursorShape::Arrow
                                      : (Horizontal(mode) ? TCursorShape::SizeNS : TCursorShape::SizeWE));
        return;
    }
    const TRect c = GetClientRect();
    if (Horizontal(dragMode)) {
        const int y = std::clamp(p.y - grabOffset, 0, c.Height());
        if (y == dragY) return;
        DrawDragLine();
        dragY = y;
    } else {
        const int x = std::clamp(p.x - grabOffset, 0, c.Width());
        if (x == dragX) return;
        DrawDragLine();
        dragX = x;
    }
    DrawDragLine();
    ShowDragCounter();
}

void TPgWin::EvLButtonDown(unsigned, const TPoint& p)
{
    if (dragMode != dmNone) return;
    RecalcLines();
    int offset = 0;
    const int mode = HitTest(p.x, p.y, offset);
    if (mode == dmNone) return;
    dragMode = mode;
    grabOffset = offset;
    TPoint at = p;
    if (Horizontal(mode)) at.y -= offset;
    else at.x -= offset;
    SetCapture();
    focusBefore_ = GetFocus();
    SetFocusNone();
    dragX = at.x;
    dragY = at.y;
    UpdateWindow();
    DrawDragLine();
    pageInches = 0;
    if (frame_.printDC) {
        const TDC& pdc = *frame_.printDC;
        const int dpi = pdc.GetDeviceCaps(Horizontal(mode) ? LOGPIXELSY : LOGPIXELSX);
        const int size = pdc.GetDeviceCaps(Horizontal(mode) ? VERTRES : HORZRES);
        if (dpi != 0) pageInches = static_cast<double>(size) / dpi;
    }
    ShowDragCounter();
}

void TPgWin::EvLButtonUp(unsigned, const TPoint&)
{
    if (dragMode == dmNone) return;
    DrawDragLine();
    frame_.UpdateCounter();
    if (GetCapture() == this) ReleaseCapture();
    if (focusBefore_) focusBefore_->SetFocus();
    focusBefore_ = nullptr;
    SetCursorShape(TCursorShape::Arrow);
    RecalcLines();
    const int mode = dragMode;
    dragMode = dmNone;
    const bool unchanged = (mode == dmTop && dragY == topY) || (mode == dmBottom && dragY == bottomY) ||
                           (mode == dmLeft && dragX == leftX) || (mode == dmRight && dragX == rightX);
    if (unchanged || !frame_.printDC) return;
    const TRect c = GetClientRect();
    const long long w = std::max(1, c.Width()), h = std::max(1, c.Height());
    TRect r = marginRect;
    switch (mode) {
    case dmTop: r.top = static_cast<int>(dragY * frame_.pageSize.cy / h); break;
    case dmBottom: r.bottom = static_cast<int>(dragY * frame_.pageSize.cy / h); break;
    case dmLeft: r.left = static_cast<int>(dragX * frame_.pageSize.cx / w); break;
    case dmRight: r.right = static_cast<int>(dragX * frame_.pageSize.cx / w); break;
    default: break;
    }
    StoreMarginRect(*frame_.printDC, r);
    RecalcMargins();
    frame_.PostCommand(CM_PREVIEWREPAGINATE);
}

}  // namespace vyn
