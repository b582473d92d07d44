#include "method_editors/QSheetTabs.h"

#include "platform/gui/Dc.h"

namespace vyn {

namespace {
const TColor kFace(240, 240, 240);
const TColor kWhite(255, 255, 255);
const TColor kShadow(128, 128, 128);
const TColor kDark(64, 64, 64);
constexpr int kPad = 8;
}  // namespace

QSheetTabs::QSheetTabs(TWindow* parent, int resourceId) : TControl(parent, resourceId) {}

QWidget* QSheetTabs::MakeControl(QWidget* parentWidget) { return TWindow::MakeWidget(parentWidget); }

void QSheetTabs::SetTabs(const std::vector<std::string>& titles)
{
    titles_ = titles;
    widths_.clear();
    TMemoryDC dc;
    dc.SelectObject(TFont());
    for (const std::string& t : titles_) widths_.push_back(dc.GetTextExtent(t).cx + 2 * kPad);
    if (sel_ >= GetCount()) sel_ = -1;
    Invalidate(true);
}

void QSheetTabs::SetSel(int index)
{
    sel_ = index >= 0 && index < GetCount() ? index : -1;
    Invalidate(true);
}

void QSheetTabs::UserSelect(int index)
{
    if (index < 0 || index >= GetCount() || index == sel_) return;
    SetSel(index);
    NotifyParent(kSelChange);
}

TRect QSheetTabs::TabRect(int index) const
{
    const TRect rc = GetClientRect();
    int x = 2;
    for (int i = 0; i < index && i < GetCount(); ++i) x += widths_[static_cast<std::size_t>(i)];
    const int w = index >= 0 && index < GetCount() ? widths_[static_cast<std::size_t>(index)] : 0;
    return TRect(x, 2, x + w, rc.bottom);
}

void QSheetTabs::Paint(TDC& dc, bool, TRect&)
{
    const TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(kFace));
    dc.FillRect(TRect(rc.left, rc.bottom - 1, rc.right, rc.bottom), TBrush(kWhite));
    dc.SelectObject(TFont());
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(TColor(0, 0, 0));
    for (int i = 0; i < GetCount(); ++i) {
        TRect r = TabRect(i);
        const bool selected = i == sel_;
        if (!selected) r.top += 2;
        else r.bottom = rc.bottom;
        dc.FillRect(r, TBrush(kFace));
        dc.FillRect(TRect(r.left, r.top, r.left + 1, r.bottom), TBrush(kWhite));
        dc.FillRect(TRect(r.left, r.top, r.right, r.top + 1), TBrush(kWhite));
        dc.FillRect(TRect(r.right - 2, r.top, r.right - 1, r.bottom), TBrush(kShadow));
        dc.FillRect(TRect(r.right - 1, r.top + 1, r.right, r.bottom), TBrush(kDark));
        TRect text = r;
        dc.DrawText(titles_[static_cast<std::size_t>(i)], text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        if (selected && HasFocus()) {
            TRect f(r.left + 3, r.top + 3, r.right - 3, r.bottom - 3);
            dc.DrawFocusRect(f);
        }
    }
    dc.RestoreObjects();
}

void QSheetTabs::EvLButtonDown(unsigned, const TPoint& p)
{
    for (int i = 0; i < GetCount(); ++i)
        if (TabRect(i).Contains(p)) {
            UserSelect(i);
            return;
        }
}

void QSheetTabs::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_LEFT && sel_ > 0) return UserSelect(sel_ - 1);
    if (key == VK_RIGHT && sel_ + 1 < GetCount()) return UserSelect(sel_ + 1);
    TControl::EvKeyDown(key, repeatCount, flags);
}

// The selected tab shows the focus frame while the row has the keyboard.
void QSheetTabs::EvSetFocus(TWindow* lost)
{
    TControl::EvSetFocus(lost);
    Invalidate(true);
}

void QSheetTabs::EvKillFocus(TWindow* gets)
{
    TControl::EvKillFocus(gets);
    Invalidate(true);
}

}  // namespace vyn
