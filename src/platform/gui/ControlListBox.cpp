#include "platform/gui/ControlListBox.h"

#include <QListWidget>
#include <algorithm>

#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"

namespace vyn {

namespace {

std::string Lower(const std::string& s)
{
    std::string out = s;
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

}  // namespace

int TListBox::AddString(const std::string& text)
{
    int at = GetCount();
    if (style_ & dlgstyle::SORT) {
        std::string key = Lower(text);
        auto it = std::upper_bound(items_.begin(), items_.end(), key, [](const std::string& k, const std::string& item) { return k < Lower(item); });
        at = static_cast<int>(it - items_.begin());
    }
    items_.insert(items_.begin() + at, text);
    data_.insert(data_.begin() + at, 0);
    if (sel_ >= at) ++sel_;
    Refill();
    return at;
}

void TListBox::ClearList()
{
    items_.clear();
    data_.clear();
    sel_ = -1;
    top_ = 0;
    Refill();
}

std::string TListBox::GetString(int index) const
{
    return index >= 0 && index < GetCount() ? items_[static_cast<std::size_t>(index)] : std::string();
}

int TListBox::SetSelIndex(int index)
{
    const int old = sel_, oldCaret = CaretRow();
    sel_ = index >= 0 && index < GetCount() ? index : -1;
    if (sel_ >= 0) caret_ = sel_;
    if (IsOwnerDrawn()) {
        if (old != sel_) {
            InvalidateRow(old);
            InvalidateRow(sel_);
        }
        if (oldCaret != CaretRow()) {
            InvalidateRow(oldCaret);
            InvalidateRow(CaretRow());
        }
        EnsureVisible(sel_);
        return sel_ < 0 ? LB_ERR : sel_;
    }
    if (auto* l = static_cast<QListWidget*>(Widget())) {
        programSelect_ = true;
        l->setCurrentRow(sel_);
        if (sel_ < 0) l->clearSelection();
        programSelect_ = false;
    }
    return sel_ < 0 ? LB_ERR : sel_;
}

int TListBox::FindStringExact(const std::string& text, int start) const
{
    std::string key = Lower(text);
    for (int i = start + 1; i < GetCount(); ++i)
        if (Lower(items_[static_cast<std::size_t>(i)]) == key) return i;
    return LB_ERR;
}

void TListBox::UserSelect(int index)
{
    SetSelIndex(index);
    NotifyParent(LBN_SELCHANGE);
}

void TListBox::UserDoubleClick(int index)
{
    UserSelect(index);
    NotifyParent(LBN_DBLCLK);
}

QWidget* TListBox::MakeControl(QWidget* parentWidget)
{
    // The owner draws the rows, so the list is a plain window of the framework.
    if (IsOwnerDrawn()) return TWindow::MakeWidget(parentWidget);
    auto* l = new QListWidget(parentWidget);
    l->setSelectionMode(QAbstractItemView::SingleSelection);
    l->setFrameShape((style_ & dlgstyle::BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
    QObject::connect(l, &QListWidget::currentRowChanged, l, [this](int row) {
        if (programSelect_) return;
        sel_ = row;
        NotifyParent(LBN_SELCHANGE);
    });
    QObject::connect(l, &QListWidget::itemDoubleClicked, l, [this](QListWidgetItem*) { NotifyParent(LBN_DBLCLK); });
    programSelect_ = true;
    for (const std::string& s : items_) l->addItem(QString::fromStdString(s));
    l->setCurrentRow(sel_);
    programSelect_ = false;
    return l;
}

void TListBox::Refill()
{
    if (IsOwnerDrawn()) {
        UpdateScroll();
        if (IsWindow()) Invalidate(true);
        return;
    }
    auto* l = static_cast<QListWidget*>(Widget());
    if (!l) return;
    programSelect_ = true;
    l->clear();
    for (const std::string& s : items_) l->addItem(QString::fromStdString(s));
    l->setCurrentRow(sel_);
    programSelect_ = false;
}

std::string TListBox::WidgetText() const { return GetString(sel_); }

// --- owner-drawn rows ------------------------------------------------------------------------------

int TListBox::InsertString(const std::string& text, int index)
{
    if (index < 0 || index > GetCount()) index = GetCount();
    items_.insert(items_.begin() + index, text);
    data_.insert(data_.begin() + index, 0);
    if (sel_ >= index) ++sel_;
    Refill();
    return index;
}

int TListBox::DeleteString(int index)
{
    if (index < 0 || index >= GetCount()) return LB_ERR;
    items_.erase(items_.begin() + index);
    data_.erase(data_.begin() + index);
    // As the framework does: deleting the selected row leaves no selection.
    if (sel_ == index) sel_ = -1;
    else if (sel_ > index) --sel_;
    Refill();
    return GetCount();
}

std::uintptr_t TListBox::GetItemData(int index) const
{
    return index >= 0 && index < GetCount() ? data_[static_cast<std::size_t>(index)] : 0;
}

void TListBox::SetItemData(int index, std::uintptr_t data)
{
    if (index >= 0 && index < GetCount()) data_[static_cast<std::size_t>(index)] = data;
}

void TListBox::SetItemHeight(int height)
{
    itemHeight_ = std::max(1, height);
    UpdateScroll();
    if (IsWindow() && IsOwnerDrawn()) Invalidate(true);
}

TRect TListBox::GetItemRect(int index) const
{
    if (!IsOwnerDrawn() || index < 0 || index >= GetCount() || !IsWindow()) return TRect();
    const int y = (index - top_) * itemHeight_;
    return TRect(0, y, GetClientRect().right, y + itemHeight_);
}

void TListBox::RedrawItem(int index) { InvalidateRow(index); }

int TListBox::CaretRow() const
{
    if (sel_ >= 0) return sel_;
    return GetCount() > 0 ? std::clamp(caret_, 0, GetCount() - 1) : -1;
}

void TListBox::DrawItem(TDrawItem& item)
{
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    item.dc.FillRect(item.rcItem, TBrush(selected ? TColor(0, 0, 128) : TColor::White));
    if (item.itemId < 0) return;
    item.dc.SetTextColor(selected ? TColor::White : TColor::Black);
    item.dc.SetBkMode(TRANSPARENT);
    item.dc.TextOut(item.rcItem.left + 2, item.rcItem.top, GetString(item.itemId));
    if (item.itemState & ODS_FOCUS) item.dc.DrawFocusRect(item.rcItem);
}

void TListBox::MeasureItem(TMeasureItem& item)
{
    TMemoryDC dc;
    dc.SelectObject(TFont());
    item.itemHeight = dc.GetTextExtent("Hg").cy + 2;
}

void TListBox::SetupWindow()
{
    TControl::SetupWindow();
    if (!IsOwnerDrawn()) return;
    if (itemHeight_ <= 0) {
        TMeasureItem m{static_cast<unsigned>(GetId()), 0, 0, GetItemData(0)};
        MeasureItem(m);
        itemHeight_ = std::max(1, m.itemHeight);
    }
    UpdateScroll();
}

int TListBox::RowAt(const TPoint& p) const
{
    if (p.y < 0 || itemHeight_ <= 0) return -1;
    const int row = top_ + p.y / itemHeight_;
    return row < GetCount() ? row : -1;
}

int TListBox::VisibleRows() const
{
    return itemHeight_ > 0 && IsWindow() ? std::max(1, GetClientRect().Height() / itemHeight_) : 1;
}

void TListBox::UpdateScroll()
{
    if (!IsWindow() || !IsOwnerDrawn() || itemHeight_ <= 0) return;
    const int visible = VisibleRows();
    const int maxTop = std::max(0, GetCount() - visible);
    top_ = std::clamp(top_, 0, maxTop);
    if (style_ & dlgstyle::VSCROLL) {
        SetScrollRange(SB_VERT, 0, maxTop, false);
        SetScrollPage(SB_VERT, visible);
        SetScrollPos(SB_VERT, top_, true);
    }
}

void TListBox::EnsureVisible(int row)
{
    if (row < 0 || !IsWindow() || !IsOwnerDrawn()) return;
    const int visible = VisibleRows();
    int top = top_;
    if (row < top) top = row;
    else if (row >= top + visible) top = row - visible + 1;
    if (top != top_) {
        top_ = top;
        UpdateScroll();
        Invalidate(true);
    }
}

void TListBox::InvalidateRow(int row)
{
    if (row < 0 || !IsWindow() || !IsOwnerDrawn()) return;
    InvalidateRect(GetItemRect(row), true);
}

void TListBox::SelectFromUser(int row)
{
    if (row < 0 || row >= GetCount()) return;
    const bool changed = row != sel_;
    SetSelIndex(row);
    if (changed && (style_ & dlgstyle::NOTIFY)) NotifyParent(LBN_SELCHANGE);
}

bool TListBox::AskParent(unsigned msg, unsigned code)
{
    if (!GetParent() || (style_ & dlgstyle::HASSTRINGS)) return false;
    const TResult r = GetParent()->SendMessage(msg, MAKEWPARAM(code, static_cast<unsigned>(std::max(sel_, 0))),
                                               reinterpret_cast<TParam2>(this));
    if (r == -2) return true;
    if (r >= 0) {
        SelectFromUser(static_cast<int>(r));
        return true;
    }
    return false;
}

void TListBox::Paint(TDC& dc, bool erase, TRect& rect)
{
    if (!IsOwnerDrawn()) {
        TControl::Paint(dc, erase, rect);
        return;
    }
    const TRect rc = GetClientRect();
    const bool focus = HasFocus();
    for (int row = top_; row < GetCount(); ++row) {
        const TRect r = GetItemRect(row);
        if (r.top >= rc.bottom) break;
        unsigned state = 0;
        if (row == sel_) state |= ODS_SELECTED;
        // The focus mark stands on the current row, selected or not, while the list has the focus.
        if (row == CaretRow() && focus) state |= ODS_FOCUS;
        if (!IsWindowEnabled()) state |= ODS_DISABLED;
        TDrawItem item{static_cast<unsigned>(GetId()), row, ODA_DRAWENTIRE, state, dc, r, GetItemData(row)};
        // The owner draws in the control's font, as the list's own text would be.
        dc.SelectObject(TFont());
        DrawItem(item);
        dc.RestoreObjects();
    }
}

unsigned TListBox::EvGetDlgCode(const TMsg* msg)
{
    if (!IsOwnerDrawn()) return TControl::EvGetDlgCode(msg);
    return DLGC_WANTARROWS | DLGC_WANTCHARS;
}

void TListBox::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (!IsOwnerDrawn()) {
        TControl::EvKeyDown(key, repeatCount, flags);
        return;
    }
    if (AskParent(WM_VKEYTOITEM, key)) return;
    const int last = GetCount() - 1;
    switch (key) {
    case VK_UP: SelectFromUser(std::max(0, sel_ - 1)); return;
    case VK_DOWN: SelectFromUser(std::min(last, sel_ + 1)); return;
    case VK_HOME: SelectFromUser(0); return;
    case VK_END: SelectFromUser(last); return;
    case VK_PRIOR: SelectFromUser(std::max(0, sel_ - VisibleRows())); return;
    case VK_NEXT: SelectFromUser(std::min(last, sel_ + VisibleRows())); return;
    default: break;
    }
    TControl::EvKeyDown(key, repeatCount, flags);
}

void TListBox::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (!IsOwnerDrawn()) {
        TControl::EvChar(ch, repeatCount, flags);
        return;
    }
    // A list without strings has no search of its own: what the parent leaves is dropped.
    AskParent(WM_CHARTOITEM, ch);
}

void TListBox::EvSetFocus(TWindow* lost)
{
    TControl::EvSetFocus(lost);
    if (!IsOwnerDrawn()) return;
    InvalidateRow(CaretRow());
    if (style_ & dlgstyle::NOTIFY) NotifyParent(LBN_SETFOCUS);
}

void TListBox::EvKillFocus(TWindow* gets)
{
    TControl::EvKillFocus(gets);
    if (!IsOwnerDrawn()) return;
    InvalidateRow(CaretRow());
    if (style_ & dlgstyle::NOTIFY) NotifyParent(LBN_KILLFOCUS);
}

void TListBox::EvLButtonDown(unsigned modKeys, const TPoint& p)
{
    if (!IsOwnerDrawn()) {
        TControl::EvLButtonDown(modKeys, p);
        return;
    }
    if (!HasFocus()) SetFocus();
    SelectFromUser(RowAt(p));
}

void TListBox::EvLButtonDblClk(unsigned modKeys, const TPoint& p)
{
    if (!IsOwnerDrawn()) {
        TControl::EvLButtonDblClk(modKeys, p);
        return;
    }
    const int row = RowAt(p);
    if (row < 0) return;
    SelectFromUser(row);
    if (style_ & dlgstyle::NOTIFY) NotifyParent(LBN_DBLCLK);
}

void TListBox::EvVScroll(unsigned code, unsigned pos, TWindow* control)
{
    if (!IsOwnerDrawn()) {
        TControl::EvVScroll(code, pos, control);
        return;
    }
    int top = top_;
    switch (code) {
    case SB_LINEUP: --top; break;
    case SB_LINEDOWN: ++top; break;
    case SB_PAGEUP: top -= VisibleRows(); break;
    case SB_PAGEDOWN: top += VisibleRows(); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: top = static_cast<int>(pos); break;
    default: return;
    }
    top = std::clamp(top, 0, std::max(0, GetCount() - VisibleRows()));
    if (top == top_) return;
    top_ = top;
    UpdateScroll();
    Invalidate(true);
}

void TListBox::EvSize(unsigned sizeType, const TSize& size)
{
    TControl::EvSize(sizeType, size);
    UpdateScroll();
}

}  // namespace vyn
