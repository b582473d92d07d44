#include "method_editors/OperatorPalette.h"

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

QOperWin::QOperWin(TWindow* parent, int resourceId, const std::string& characters)
    : TControl(parent, resourceId), chars_(characters.substr(0, kMaxChars))
{
}

QWidget* QOperWin::MakeControl(QWidget* parentWidget) { return TWindow::MakeWidget(parentWidget); }

void QOperWin::EvSize(unsigned sizeType, const TSize& size)
{
    TControl::EvSize(sizeType, size);
    width_ = size.cx;
    height_ = size.cy;
}

void QOperWin::TakeSize() const
{
    // The size is taken again at every use: a resize message may still be on its way.
    if (!IsWindow()) return;
    const TRect r = GetClientRect();
    width_ = r.Width();
    height_ = r.Height();
}

int QOperWin::CellAt(TPoint p) const
{
    TakeSize();
    const int count = Count();
    if (count == 0 || width_ <= 1 || p.x < 0 || p.y < 0 || p.y >= height_) return -1;
    const int cell = p.x * count / (width_ - 1);
    return cell < count ? cell : -1;
}

TRect QOperWin::CellRect(int cell) const
{
    TakeSize();
    const int count = Count();
    if (cell < 0 || cell >= count) return TRect();
    return TRect((width_ - 1) * cell / count, 0, (width_ - 1) * (cell + 1) / count, height_);
}

void QOperWin::TrackMouse(bool on, const TPoint& p)
{
    const int hot = on ? CellAt(p) : -1;
    if (hot == hot_) return;
    if (hot_ >= 0) InvalidateRect(CellRect(hot_), false);
    hot_ = hot;
    if (hot_ >= 0) InvalidateRect(CellRect(hot_), false);
}

void QOperWin::EvLButtonDown(unsigned, const TPoint& p)
{
    if (pressed_) return;
    hot_ = -1;
    SetCapture();
    pressed_ = true;
    TrackMouse(true, p);
}

void QOperWin::EvMouseMove(unsigned, const TPoint& p)
{
    // While not pressed the highlight follows the mouse as a hover; the wizard clears it when
    // the mouse leaves the palette.
    TrackMouse(true, p);
}

void QOperWin::EvLButtonUp(unsigned, const TPoint& p)
{
    if (!pressed_) return;
    const int cell = CellAt(p);
    TrackMouse(false, p);
    pressed_ = false;
    ReleaseCapture();
    Invalidate(false);
    if (cell >= 0 && GetParent())
        GetParent()->SendCommand(static_cast<unsigned>(GetId()), kCharCode | (static_cast<unsigned char>(chars_[cell]) & 0x7F), this);
}

void QOperWin::Paint(TDC& dc, bool, TRect& area)
{
    dc.SelectObject(TFont());
    dc.SetBkMode(TRANSPARENT);
    for (int i = 0; i < Count(); ++i) {
        TRect r = CellRect(i);
        if (r.right <= area.left || r.left >= area.right) continue;
        const bool isHot = i == hot_;
        const bool down = isHot && pressed_;
        dc.FillRect(r, GetStockBrush(down ? GRAY_BRUSH : LTGRAY_BRUSH));
        dc.SetTextColor(isHot ? TColor(255, 0, 0) : TColor(0, 0, 0));
        int x = r.left, y = r.top + 1;
        if (down) ++x, ++y;
        else if (isHot) --y;
        dc.TextOut(x, y, std::string(1, chars_[i]));
        if (down) {
            dc.MoveTo(r.left, r.bottom - 1);
            dc.LineTo(r.left, r.top);
            dc.LineTo(r.right - 1, r.top);
            dc.SelectObject(GetStockPen(WHITE_PEN));
            dc.LineTo(r.right - 1, r.bottom - 1);
            dc.LineTo(r.left, r.bottom - 1);
            dc.SelectObject(GetStockPen(BLACK_PEN));
        }
    }
}

}  // namespace vyn
