#include "printing/TRwPreviewDesk.h"

#include <algorithm>
#include <cmath>

#include "platform/gui/ControlScrollBar.h"
#include "platform/gui/Dc.h"
#include "printing/TPgWin.h"
#include "printing/TRwPreview.h"

namespace vyn {

namespace {
constexpr int kHBarId = 1;
constexpr int kVBarId = 2;
int RoundHalfUp(double v) { return static_cast<int>(v + 0.5); }
}  // namespace

TRwPreviewDesk::TRwPreviewDesk(TRwPreview& frame)
    : TWindow(nullptr, 0, {}),
      frame_(frame)
{
}

void TRwPreviewDesk::MakeBars()
{
    // Made after the page window, so that they lie above it when the page is scrolled under them.
    if (hbar_) return;
    hbar_ = new TScrollBar(this, kHBarId, {}, 0, 0, 100, kScrollBarWidth);
    vbar_ = new TScrollBar(this, kVBarId, {}, 0, 0, kScrollBarWidth, 100);
}

void TRwPreviewDesk::SetupWindow()
{
    TWindow::SetupWindow();
    hbar_->ShowWindow(SW_HIDE);
    vbar_->ShowWindow(SW_HIDE);
}

void TRwPreviewDesk::SetBars(int hRange, int vRange)
{
    hRange_ = std::max(0, hRange);
    vRange_ = std::max(0, vRange);
    hPos_ = 0;
    vPos_ = 0;
    hbar_->SetRange(0, hRange_);
    hbar_->SetPosition(0);
    vbar_->SetRange(0, vRange_);
    vbar_->SetPosition(0);
    PlaceBars();
}

void TRwPreviewDesk::PlaceBars()
{
    if (!IsWindow()) return;
    const TRect c = GetClientRect();
    const int w = c.Width() - (HasVBar() ? kScrollBarWidth : 0);
    const int h = c.Height() - (HasHBar() ? kScrollBarWidth : 0);
    if (HasHBar()) {
        hbar_->MoveWindow(0, h, std::max(1, w), kScrollBarWidth);
        hbar_->ShowWindow(SW_SHOW);
    } else {
        hbar_->ShowWindow(SW_HIDE);
    }
    if (HasVBar()) {
        vbar_->MoveWindow(w, 0, kScrollBarWidth, std::max(1, h));
        vbar_->ShowWindow(SW_SHOW);
    } else {
        vbar_->ShowWindow(SW_HIDE);
    }
}

void TRwPreviewDesk::Layout()
{
    if (!frame_.printDC) {
        frame_.pageWindowRect = TRect(-12, -12, 10, 10);
        SetBars(0, 0);
        return;
    }
    const TDC& pdc = *frame_.printDC;
    const int dpiX = std::max(1, pdc.GetDeviceCaps(LOGPIXELSX)), dpiY = std::max(1, pdc.GetDeviceCaps(LOGPIXELSY));
    const int pageW = std::max(1, pdc.GetDeviceCaps(HORZRES)), pageH = std::max(1, pdc.GetDeviceCaps(VERTRES));
    frame_.pageSize = TSize(pageW, pageH);

    // The room without scroll bars, and with both bars shown.
    const TRect client = GetClientRect();
    const int cw = client.Width(), ch = client.Height();
    const int bw = cw - kScrollBarWidth, bh = ch - kScrollBarWidth;

    const int f = kFrameWidth;
    const int availW = std::max(cw - 3 * f, 4 * kCaptionHeight);
    const int availH = std::max(ch - 3 * f, 4 * kCaptionHeight);
    // The page's height-to-width ratio as it appears on the screen.
    const double r = (static_cast<double>(pageH) / pageW) * (static_cast<double>(dpiX) / dpiY) *
                     (static_cast<double>(kScreenDpi) / kScreenDpi);
    const int wFit = RoundHalfUp(availH / r);
    int w, h;
    if (wFit > availW) {
        w = availW;
        h = RoundHalfUp(w * r);
    } else {
        h = availH;
        w = RoundHalfUp(h / r);
    }
    w <<= frame_.zoom;
    h <<= frame_.zoom;
    TRect page(0, 0, w, h);

    const TTextMetric tm = pdc.GetTextMetrics();
    lineStepX = std::max(2, static_cast<int>(static_cast<long long>(tm.tmAveCharWidth) * w / pageW));
    lineStepY = std::max(2, static_cast<int>(static_cast<long long>(std::abs(tm.tmHeight)) * h / pageH));
    pageStepX = std::max(10, bw / 2);
    pageStepY = std::max(10, bh / 2);

    const int W = w + 3 * f, H = h + 3 * f;
    TPoint offset;
    if (W <= cw && H <= ch) {
        SetBars(0, 0);
        offset = TPoint((cw - W) / 2 + f, (ch - H) / 2 + f);
    } else if (W > bw && H > bh) {
        SetBars(W - bw, H - bh);
        offset = TPoint(f, f);
    } else if (W > bw) {
        SetBars(W - bw, 0);
        offset = TPoint(f, (bh - H) / 2 + f);
    } else {
        SetBars(0, H - bh);
        offset = TPoint((bw - W) / 2 + f, f);
    }
    page.Offset(offset.x, offset.y);
    frame_.pageWindowRect = page;
}

TRect TRwPreviewDesk::FrameArea(const TRect& page) const
{
    return TRect(page.left - 1, page.top - 1, page.right + kFrameWidth + 1, page.bottom + kFrameWidth + 1);
}

void TRwPreviewDesk::Paint(TDC& dc, bool, TRect& rect)
{
    dc.FillRect(rect, TBrush(kDeskColor));
    if (!frame_.printDC) return;
    const TRect& p = frame_.pageWindowRect;
    dc.FillRect(p, TBrush(TColor::White));
    dc.FrameRect(TRect(p.left - 1, p.top - 1, p.right + 1, p.bottom + 1), TBrush(TColor::Black));
    const TPen old = dc.SelectObject(TPen(kShadowColor, 1));
    const int f = kFrameWidth;
    for (int i = 1; i <= f; ++i) {
        dc.MoveTo(p.right + i, p.top + i);
        dc.LineTo(p.right + i, p.bottom + f);
        dc.MoveTo(p.left + i, p.bottom + i);
        dc.LineTo(p.right + f, p.bottom + i);
    }
    dc.SelectObject(old);
}

void TRwPreviewDesk::EvSize(unsigned sizeType, const TSize& size)
{
    TWindow::EvSize(sizeType, size);
    // The desk's size is what the page is fitted to.
    frame_.Relayout();
    PlaceBars();
}

unsigned TRwPreviewDesk::EvGetDlgCode(const TMsg*) { return DLGC_WANTALLKEYS | DLGC_WANTARROWS; }

void TRwPreviewDesk::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    // Only a fresh key press acts: a held key would race through the pages.
    if (repeatCount != 1 || (flags & KF_REPEAT)) return;
    unsigned cmd = 0;
    switch (key) {
    case VK_NEXT: cmd = CM_PREVIEWNEXT; break;
    case VK_PRIOR: cmd = CM_PREVIEWPREV; break;
    case VK_RETURN: cmd = CM_PREVIEWPRINT; break;
    case VK_ESCAPE: cmd = CM_PREVIEWCLOSE; break;
    default: TWindow::EvKeyDown(key, repeatCount, flags); return;
    }
    frame_.PostCommand(cmd);
}

// The window layer does not tell the keypad's plus and minus from the others: the characters
// stand in for them.
void TRwPreviewDesk::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (repeatCount != 1 || (flags & KF_REPEAT)) return;
    if (ch == '+') frame_.PostCommand(CM_PREVIEWZOOMIN);
    else if (ch == '-') frame_.PostCommand(CM_PREVIEWZOOMOUT);
    else TWindow::EvChar(ch, repeatCount, flags);
}

void TRwPreviewDesk::Scroll(int bar, unsigned code, int thumb)
{
    const bool horz = bar == SB_HORZ;
    int& pos = horz ? hPos_ : vPos_;
    const int range = horz ? hRange_ : vRange_;
    const int line = horz ? lineStepX : lineStepY;
    const int page = horz ? pageStepX : pageStepY;
    const int start = pos;
    int next = pos;
    switch (code) {
    case SB_LINEUP: next -= line; break;
    case SB_LINEDOWN: next += line; break;
    case SB_PAGEUP: next -= page; break;
    case SB_PAGEDOWN: next += page; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: next = thumb; break;
    case SB_TOP: next = 0; break;
    case SB_BOTTOM: next = range; break;
    default: return;
    }
    next = std::clamp(next, 0, range);
    (horz ? hbar_ : vbar_)->SetPosition(next);
    pos = next;
    if (next == start) return;
    // The page moves against the scroll; what lay around it at both places is painted again.
    const TRect before = frame_.pageWindowRect;
    if (horz) frame_.pageWindowRect.Offset(start - next, 0);
    else frame_.pageWindowRect.Offset(0, start - next);
    const TRect& after = frame_.pageWindowRect;
    frame_.pageWindow->SetWindowPos(nullptr, after.left, after.top, after.Width(), after.Height(),
                                    SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(FrameArea(before));
    InvalidateRect(FrameArea(after));
}

void TRwPreviewDesk::EvHScroll(unsigned code, unsigned pos, TWindow*) { Scroll(SB_HORZ, code, static_cast<int>(pos)); }
void TRwPreviewDesk::EvVScroll(unsigned code, unsigned pos, TWindow*) { Scroll(SB_VERT, code, static_cast<int>(pos)); }

}  // namespace vyn
