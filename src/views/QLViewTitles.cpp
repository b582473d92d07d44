#include "views/QLViewTitles.h"

#include "platform/core/StringTable.h"
#include "platform/gui/Dc.h"
#include "views/QLView.h"

namespace vyn {

namespace {
const TColor kCyan{0, 255, 255};
}

QLViewTitles::QLViewTitles(TWindow* parent, QLView& list) : TWindow(parent), list_(list)
{
    TMemoryDC dc;
    dc.SelectObject(GetStockFont(ANSI_FIXED_FONT));
    height_ = 2 * dc.GetTextExtent("0").cy;
    MoveWindow(0, 0, 10, height_);
}

void QLViewTitles::Paint(TDC& dc, bool, TRect&) { Draw(dc); }

void QLViewTitles::Draw(TDC& dc)
{
    const TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(kCyan));
    dc.SelectObject(GetStockFont(ANSI_FIXED_FONT));
    const int oldMode = dc.SetBkMode(TRANSPARENT);
    const TSize c = dc.GetTextExtent("0");
    const int y = rc.bottom - c.cy / 3;
    const int sep = list_.SeparatorX();
    const unsigned oldAlign = dc.SetTextAlign(TA_RIGHT | TA_BOTTOM);
    dc.TextOut(list_.NumberWidth() - c.cx / 2, y, GetResStringStd(3262));
    dc.SetTextAlign(TA_LEFT | TA_BOTTOM);
    const int identX = list_.NumberWidth() + c.cx / 2;
    identTitle_ = GetResStringStd(3263);
    if (identX + dc.GetTextExtent(identTitle_).cx > sep - c.cx / 2) identTitle_ = GetResStringStd(3264);
    dc.TextOut(identX, y, identTitle_);
    dc.TextOut(sep + c.cx / 2, y, GetResStringStd(3265));
    dc.SetTextAlign(oldAlign);
    dc.SetBkMode(oldMode);
    dc.RestoreFont();
}

}  // namespace vyn
