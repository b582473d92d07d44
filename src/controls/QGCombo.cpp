#include "controls/QGCombo.h"

#include <algorithm>

#include "plate/QDesc.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Dialog.h"

namespace vyn {

namespace {
TSize BaseUnits() { return TDialog::BaseUnitsOf("MS Sans Serif", 8); }

unsigned ComboStyle()
{
    return dlgstyle::VSCROLL | dlgstyle::GROUP | dlgstyle::TABSTOP | dlgstyle::AUTOHSCROLL | dlgstyle::OWNERDRAWFIXED |
           dlgstyle::DROPDOWNLIST | dlgstyle::HIDDEN;
}
}  // namespace

int QGCombo::ComboWidth(int chars)
{
    return (std::clamp(chars, 2, 16) + 2) * BaseUnits().cx + kVScrollWidth + 2 * kBorder;
}

int QGCombo::ListHeight(int items)
{
    int by = BaseUnits().cy;
    return 3 * kBorder + by * std::clamp(items, 2, 6) + by;
}

int QGCombo::ListWidth(int pixels)
{
    int bx = BaseUnits().cx;
    return std::clamp(pixels, 2 * bx, 16 * bx) + kVScrollWidth + 2 * bx + 2 * kBorder;
}

QGCombo::QGCombo(TWindow* parent, TWindow* owner, int id, int chars, int items)
    : TComboBox(parent, id, 0, 0, ComboWidth(chars), ListHeight(items), ComboStyle()), Owner(owner)
{
}

void QGCombo::SetupWindow()
{
    TComboBox::SetupWindow();
    int by = BaseUnits().cy;
    SetItemHeight(-1, by + 2 * kBorder);
    SetItemHeight(0, by);
}

QDesc* QGCombo::GetSelData() const
{
    int i = GetSelIndex();
    return i < 0 ? nullptr : reinterpret_cast<QDesc*>(GetItemData(i));
}

void QGCombo::SelectNext()
{
    int i = GetSelIndex();
    SetSelIndex(i < 0 ? 0 : i + 1);  // past the last item nothing stays selected
}

void QGCombo::SelectPrev()
{
    int i = GetSelIndex();
    SetSelIndex(i < 1 ? 0 : i - 1);
}

void QGCombo::FitDropWidth()
{
    if (!IsWindow() || GetCount() == 0) return;
    int widest = 0;
    {
        TMemoryDC dc;
        for (int i = 0; i < GetCount(); ++i)
            if (auto* d = reinterpret_cast<QDesc*>(GetItemData(i))) widest = std::max(widest, dc.GetTextExtent(d->name).cx);
    }
    int field = GetItemHeight(-1), item = GetItemHeight(0);
    int height = field > 0 && item > 0 ? field + 10 * item : ListHeight(GetCount());
    SetWindowPos(nullptr, 0, 0, ListWidth(widest), height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE |
                                                               SWP_NOOWNERZORDER);
}

void QGCombo::DrawItem(TDrawItem& item)
{
    TDC& dc = item.dc;
    dc.SetBkMode(TRANSPARENT);
    TColor bg = item.itemState & ODS_SELECTED ? TColor(128, 128, 128) : TColor(192, 192, 192);
    dc.SetBkColor(bg);
    TRect r = item.rcItem;
    if (r.left != 0) {
        // The selection field: widen the rectangle so that its left and top edges come to 1.
        int dx = r.left - 1, dy = r.top - 1;
        r.left -= dx;
        r.right += dx;
        r.top -= dy;
        r.bottom += dy;
    }
    auto* desc = item.itemId >= 0 ? reinterpret_cast<QDesc*>(item.itemData) : nullptr;
    if (desc) {
        dc.FillRect(r, TBrush(bg));
        dc.SetTextColor(desc->colour);
        dc.TextOut(r.left + dc.GetTextExtent("H").cx, r.top, desc->name);
    } else {
        dc.SetBkColor(TColor::Black);
        dc.FillRect(r, TBrush(TColor::Black));
    }
    if (item.itemState & ODS_FOCUS) {
        dc.SelectObject(TPen(TColor(255, 255, 0), 1, PS_SOLID));
        dc.MoveTo(r.left, r.top);
        dc.LineTo(r.right - 1, r.top);
        dc.LineTo(r.right - 1, r.bottom - 1);
        dc.LineTo(r.left, r.bottom - 1);
        dc.LineTo(r.left, r.top);
        dc.RestorePen();
    }
}

void QGCombo::GiveFocusToOwner()
{
    if (Owner && Owner->IsWindow()) Owner->SetFocus();
}

void QGCombo::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_ESCAPE) {
        // Without a window of the owner the focus goes to no window at all.
        if (Owner && Owner->IsWindow()) Owner->SetFocus();
        else TWindow::SetFocusNone();
        return;
    }
    if (key == VK_RETURN && Owner && Owner->IsWindow()) {
        Owner->SetFocus();
        return;
    }
    TComboBox::EvKeyDown(key, repeatCount, flags);
}

void QGCombo::EvKillFocus(TWindow* gets)
{
    TComboBox::EvKillFocus(gets);
    if (gets && gets == GetParent()) GiveFocusToOwner();
}

void QGCombo::NotifyAtChild(unsigned code)
{
    if (code == CBN_SELCHANGE) {
        if (Owner) Owner->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(GetId()), 0), 0);
    } else if (code == CBN_CLOSEUP) {
        if (HasFocus()) GiveFocusToOwner();
    } else {
        TComboBox::NotifyAtChild(code);
    }
}

}  // namespace vyn
