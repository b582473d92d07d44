#include "app/QDescLst.h"

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {
const TColor kLightGrey(192, 192, 192);
const TColor kGrey(128, 128, 128);
const TColor kYellow(255, 255, 0);
constexpr std::uint32_t kInUse = 0x8000;
}  // namespace

QDescLst::QDescLst(TWindow* parent, int resourceId, std::vector<QDesc*>* descs) : TListBox(parent, resourceId), descs_(descs) {}

void QDescLst::SetupWindow()
{
    TListBox::SetupWindow();
    for (std::size_t i = 0; i < descs_->size(); ++i) AddString("");
    AddString("");
}

void QDescLst::Paint(TDC& dc, bool erase, TRect& rect)
{
    // Below the last row the list shows its own light grey, as the rows do.
    dc.FillRect(GetClientRect(), TBrush(kLightGrey));
    TListBox::Paint(dc, erase, rect);
}

QDesc* QDescLst::GetSelected(int* index) const
{
    const int sel = GetSelIndex();
    if (index) *index = sel;
    if (sel < 0 || sel >= static_cast<int>(descs_->size())) return nullptr;
    return (*descs_)[static_cast<std::size_t>(sel)];
}

void QDescLst::DrawItem(TDrawItem& item)
{
    TDC& dc = item.dc;
    if (measure_) {
        unit_ = dc.GetTextExtent("XX").cx;
        measure_ = false;
    }
    const TColor back = item.itemState & ODS_SELECTED ? kGrey : kLightGrey;
    dc.FrameRect(item.rcItem, TBrush(item.itemState & ODS_FOCUS ? kYellow : kLightGrey));
    TRect r = item.rcItem;
    r.Inflate(-1, -1);
    const QDesc* d = item.itemId >= 0 && item.itemId < static_cast<int>(descs_->size())
                         ? (*descs_)[static_cast<std::size_t>(item.itemId)]
                         : nullptr;
    if (!d) {
        dc.FillRect(r, TBrush(back));
        return;
    }
    TRect cell(r.left, r.top, r.left + unit_, r.bottom);
    dc.FillRect(cell, TBrush(back));
    const TRect square(cell.left + cell.Width() / 4, cell.top + cell.Height() / 4, cell.right - cell.Width() / 4,
                       cell.bottom - cell.Height() / 4);
    if (d->kind & kInUse) dc.FillRect(square, TBrush(TColor::Black));
    else dc.FrameRect(square, TBrush(TColor::Black));
    int x = cell.right;
    dc.SetBkColor(back);
    dc.SetBkMode(OPAQUE);
    if (d->SampleKind() == 4 || d->SampleKind() == 8) {
        const TRect sign(x, r.top, x + unit_, r.bottom);
        dc.FillRect(sign, TBrush(back));
        const bool negative = (d->kind & QDesc::kReference) != 0;
        const char* text = negative ? "-" : "+";
        dc.SetTextColor(negative ? TColor(0, 0, 255) : TColor(255, 0, 0));
        const TSize ext = dc.GetTextExtent(text);
        dc.TextOut(sign.left + (sign.Width() - ext.cx) / 2, sign.top + (sign.Height() - ext.cy) / 2, text);
        x = sign.right;
    }
    dc.FillRect(TRect(x, r.top, r.right, r.bottom), TBrush(back));
    dc.SetTextColor(d->colour);
    const std::string name = d->name.empty() ? "???" : d->name;
    dc.TextOut(x + 1, r.top + (r.Height() - dc.GetTextExtent(name).cy) / 2, name);
}

}  // namespace vyn
