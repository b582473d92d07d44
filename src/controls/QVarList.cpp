#include "controls/QVarList.h"

#include <algorithm>

#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Keyboard.h"
#include "platform/gui/MsgBox.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {
const TColor kLightGrey(192, 192, 192);
const TColor kWhite(255, 255, 255);
const TColor kGrey(128, 128, 128);
const TColor kBlack(0, 0, 0);
const TColor kFocusFrame(0, 255, 255);
}  // namespace

QVarList::QVarList(TWindow* parent, int resourceId, TColor nameColor, std::vector<double>* numbers,
                   TwostrArray* definitions)
    : TControl(parent, resourceId), numbersMode_(numbers != nullptr), numbers_(numbers), definitions_(definitions),
      nameColor_(nameColor)
{
    TMemoryDC dc;
    dc.SelectObject(TFont());
    rowHeight_ = dc.GetTextExtent("Hg").cy + 4;
}

QWidget* QVarList::MakeControl(QWidget* parentWidget)
{
    // The rows are drawn here, so the list is a plain window of the framework.
    return TWindow::MakeWidget(parentWidget);
}

int QVarList::ElementCount() const
{
    if (numbersMode_) return numbers_ ? static_cast<int>(numbers_->size()) : 0;
    return definitions_ ? static_cast<int>(definitions_->size()) : 0;
}

void QVarList::SetupWindow()
{
    TControl::SetupWindow();
    rows_ = ElementCount() + 1;
    sel_ = 0;
    top_ = 0;
    UpdateScroll();
}

void QVarList::Refill()
{
    rows_ = ElementCount() + 1;
    sel_ = 0;
    top_ = 0;
    nameCell_ = nameHit_ = TRect();
    UpdateScroll();
    Invalidate(true);
}

int QVarList::SetSelIndex(int index)
{
    const int old = sel_;
    sel_ = index >= 0 && index < rows_ ? index : -1;
    if (old != sel_) {
        InvalidateRow(old);
        InvalidateRow(sel_);
    }
    EnsureVisible(sel_);
    return sel_;
}

void QVarList::Activate(bool on)
{
    if (!IsWindow()) {
        state_ = on ? stIdle : stInactive;
        return;
    }
    if ((on && state_ == stInactive) || (!on && state_ == stIdle)) {
        state_ = on ? stIdle : stInactive;
        if (HasElementSelected()) RedrawSelected();
    }
}

void QVarList::InsertRow()
{
    if (sel_ < 0) {
        ++rows_;
        UpdateScroll();
        Invalidate(true);
        MessageBeep(0);
        return;
    }
    ++rows_;
    UpdateScroll();
    // The rows from the selection on move down; the selection stays on the new element.
    for (int r = sel_; r < rows_; ++r) InvalidateRow(r);
    EnsureVisible(sel_);
}

void QVarList::DeleteRow()
{
    if (sel_ < 0 || rows_ < 2 || sel_ == rows_ - 1) {
        MessageBeep(0);
        return;
    }
    --rows_;
    UpdateScroll();
    for (int r = sel_; r <= rows_; ++r) InvalidateRow(r);
    Invalidate(true);
    EnsureVisible(sel_);
}

void QVarList::RedrawSelected() { InvalidateRow(sel_); }

void QVarList::SelectLast()
{
    if (rows_ > 0) SetSelIndex(rows_ - 1);
}

void QVarList::ReselectCurrent()
{
    if (sel_ < 0) {
        MessageBeep(0);
        return;
    }
    Send(vlSelChange);
    SetSelIndex(sel_);
}

TRect QVarList::RowRect(int row) const
{
    const TRect rc = GetClientRect();
    const int y = (row - top_) * rowHeight_;
    return TRect(0, y, rc.right, y + rowHeight_);
}

int QVarList::RowAt(const TPoint& p) const
{
    if (p.y < 0) return -1;
    const int row = top_ + p.y / rowHeight_;
    return row < rows_ ? row : -1;
}

int QVarList::VisibleRows() const { return std::max(1, GetClientRect().Height() / rowHeight_); }

void QVarList::UpdateScroll()
{
    if (!IsWindow()) return;
    const int visible = VisibleRows();
    const int maxTop = std::max(0, rows_ - visible);
    top_ = std::clamp(top_, 0, maxTop);
    SetScrollRange(SB_VERT, 0, maxTop, false);
    SetScrollPage(SB_VERT, visible);
    SetScrollPos(SB_VERT, top_, true);
    ShowScrollBar(SB_VERT, maxTop > 0);
}

void QVarList::EnsureVisible(int row)
{
    if (row < 0 || !IsWindow()) return;
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

void QVarList::InvalidateRow(int row)
{
    if (row < 0 || !IsWindow()) return;
    InvalidateRect(RowRect(row), true);
}

void QVarList::Send(unsigned code)
{
    if (GetParent()) NotifyParent(code);
}

void QVarList::UserSelect(int row)
{
    if (row < 0) return;
    const bool changed = row != sel_;
    SetSelIndex(row);
    if (changed) Send(vlSelChange);
}

// --- keyboard ------------------------------------------------------------------------------

unsigned QVarList::EvGetDlgCode(const TMsg* msg)
{
    unsigned code = DLGC_WANTARROWS | DLGC_WANTCHARS;
    if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN && state_ == stIdle && GetParent() &&
        !numbersMode_ && GetKeyState(VK_CONTROL) < 0 && !(HIWORD(msg->lParam) & KF_REPEAT)) {
        Send(vlCtrlEnter);
        code |= DLGC_WANTALLKEYS;
    }
    return code;
}

void QVarList::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    const bool mine = state_ == stIdle && GetParent() && !(flags & KF_REPEAT);
    switch (key) {
    case VK_F2:
        if (mine) Send(vlF2);
        return;
    case VK_INSERT:
        if (mine) Send(vlInsert);
        return;
    case VK_DELETE:
        if (mine) Send(vlDelete);
        return;
    case VK_RETURN: return;  // Ctrl+Enter was reported when the dialog asked for it
    case VK_UP: UserSelect(std::max(0, sel_ - 1)); return;
    case VK_DOWN: UserSelect(std::min(rows_ - 1, sel_ + 1)); return;
    case VK_HOME: UserSelect(0); return;
    case VK_END: UserSelect(rows_ - 1); return;
    case VK_PRIOR: UserSelect(std::max(0, sel_ - VisibleRows())); return;
    case VK_NEXT: UserSelect(std::min(rows_ - 1, sel_ + VisibleRows())); return;
    default: break;
    }
    TControl::EvKeyDown(key, repeatCount, flags);
}

void QVarList::EvChar(unsigned ch, unsigned, unsigned)
{
    if (!GetParent()) return;
    GetParent()->SendMessage(kVarListCharToItem, MAKEWPARAM(ch, static_cast<unsigned>(std::max(sel_, 0))),
                             reinterpret_cast<TParam2>(this));
    // A list without strings has no search of its own: -1 and -2 end alike.
}

void QVarList::EvSetFocus(TWindow* lost)
{
    TControl::EvSetFocus(lost);
    InvalidateRow(sel_);
}

void QVarList::EvKillFocus(TWindow* gets)
{
    TControl::EvKillFocus(gets);
    InvalidateRow(sel_);
}

// --- mouse ---------------------------------------------------------------------------------

// "a." for row 0 up to "z.", then "aa." ... "zz." and on with three letters and more, so a
// long series keeps telling its rows apart.
std::string QVarList::RowLabel(int row)
{
    std::string s = ".";
    for (long n = static_cast<long>(row) + 1; n > 0; n = (n - 1) / 26) s.insert(s.begin(), static_cast<char>('a' + (n - 1) % 26));
    return s;
}

int QVarList::NameCellWidth(TDC& dc, int row) const
{
    const int blanks = dc.GetTextExtent("    ").cx;
    // Every row's cell is as wide as the first one's, unless its label needs more.
    if (numbersMode_) return blanks + std::max(dc.GetTextExtent("a.").cx, dc.GetTextExtent(RowLabel(row)).cx);
    const std::string& name = (*definitions_)[static_cast<std::size_t>(row)].name;
    return blanks + dc.GetTextExtent(name.empty() ? "???" : name).cx;
}

void QVarList::FindNameCell()
{
    nameCell_ = nameHit_ = TRect();
    if (numbersMode_ || !HasElementSelected()) return;
    TMemoryDC dc;
    dc.SelectObject(TFont());
    const TRect row = RowRect(sel_);
    nameCell_ = TRect(row.left, row.top, row.left + NameCellWidth(dc, sel_), row.bottom);
    nameHit_ = TRect(nameCell_.left + 2, nameCell_.top + 2, nameCell_.right - 2, nameCell_.bottom - 2);
}

void QVarList::EvLButtonDown(unsigned modKeys, const TPoint& p)
{
    if (state_ >= stRowPress) return;
    if (state_ == stIdle && !numbersMode_) {
        if (!HasFocus()) SetFocus();
        FindNameCell();
        if (nameHit_.Contains(p)) {
            state_ = stNameIn;
            SetCapture();
            InvalidateRect(nameCell_, true);
            return;
        }
        if (!nameCell_.IsEmpty()) InvalidateRect(nameCell_, true);
        state_ = stRowPress;
    }
    if (!HasFocus()) SetFocus();
    UserSelect(RowAt(p));
    (void)modKeys;
}

void QVarList::EvMouseMove(unsigned, const TPoint& p)
{
    if (state_ != stNameIn && state_ != stNameOut) return;
    const int now = nameHit_.Contains(p) ? stNameIn : stNameOut;
    if (now != state_) {
        state_ = now;
        InvalidateRect(nameCell_, true);
    }
}

void QVarList::EvLButtonUp(unsigned, const TPoint&)
{
    const int was = state_;
    if (was == stRowPress) {
        FindNameCell();
        InvalidateRect(nameCell_, true);
    } else if (was == stNameIn || was == stNameOut) {
        ReleaseCapture();
        InvalidateRect(nameCell_, true);
    }
    if (was != stInactive) state_ = stIdle;
    if (was == stNameIn) Send(vlNameClick);
}

void QVarList::EvLButtonDblClk(unsigned modKeys, const TPoint& p)
{
    if (state_ == stIdle && !numbersMode_) {
        FindNameCell();
        if (nameHit_.Contains(p)) {
            EvLButtonDown(modKeys, p);
            return;
        }
    }
    const int row = RowAt(p);
    if (row < 0) return;
    UserSelect(row);
    Send(vlDblClk);
}

void QVarList::EvRButtonDown(unsigned, const TPoint&)
{
    if (state_ != stIdle) return;
    SetFocus();
    state_ = stRightPress;
    SetCapture();
}

void QVarList::EvRButtonUp(unsigned, const TPoint&)
{
    if (state_ != stRightPress) return;
    state_ = stIdle;
    ReleaseCapture();
    Send(vlRightClick);
}

void QVarList::EvVScroll(unsigned code, unsigned pos, TWindow*)
{
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
    top = std::clamp(top, 0, std::max(0, rows_ - VisibleRows()));
    if (top == top_) return;
    top_ = top;
    UpdateScroll();
    FindNameCell();
    Invalidate(true);
}

void QVarList::EvSize(unsigned sizeType, const TSize& size)
{
    TControl::EvSize(sizeType, size);
    UpdateScroll();
}

// --- drawing -------------------------------------------------------------------------------

void QVarList::Paint(TDC& dc, bool, TRect&)
{
    const TRect rc = GetClientRect();
    dc.FillRect(rc, TBrush(kLightGrey));
    dc.SelectObject(TFont());
    dc.SetBkMode(TRANSPARENT);
    for (int row = top_; row < rows_; ++row) {
        const TRect r = RowRect(row);
        if (r.top >= rc.bottom) break;
        DrawRow(dc, row, r);
    }
    dc.RestoreObjects();
}

void QVarList::DrawRow(TDC& dc, int row, const TRect& r)
{
    const int elements = ElementCount();
    const bool isElement = row < elements;
    const bool selected = row == sel_;
    const bool focus = selected && HasFocus();
    if (state_ != stInactive && selected && isElement) dc.FillRect(r, TBrush(kWhite));
    else dc.FillRect(r, TBrush(kLightGrey));
    if (focus) dc.FrameRect(r, TBrush(kFocusFrame));

    if (!isElement) {
        const int y = r.top + r.Height() / 3;
        dc.SelectObject(TPen(kGrey, 1, PS_DOT));
        dc.MoveTo(r.left + 2, y);
        dc.LineTo(r.right - 2, y);
        dc.RestorePen();
        return;
    }

    TRect cell(r.left, r.top, r.left + NameCellWidth(dc, row), r.bottom);
    std::string label;
    if (numbersMode_) {
        label = RowLabel(row);
    } else {
        const std::string& name = (*definitions_)[static_cast<std::size_t>(row)].name;
        label = name.empty() ? "???" : name;
        if (focus && state_ != stInactive && state_ != stRowPress) {
            const bool pressed = state_ == stNameIn;
            dc.FillRect(cell, TBrush(kLightGrey));
            dc.FrameRect(cell, TBrush(kBlack));
            const TRect in(cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1);
            const TColor topLeft = pressed ? kGrey : kWhite, bottomRight = pressed ? kWhite : kGrey;
            dc.FillRect(TRect(in.left, in.top, in.right, in.top + 1), TBrush(topLeft));
            dc.FillRect(TRect(in.left, in.top, in.left + 1, in.bottom), TBrush(topLeft));
            dc.FillRect(TRect(in.left, in.bottom - 1, in.right, in.bottom), TBrush(bottomRight));
            dc.FillRect(TRect(in.right - 1, in.top, in.right, in.bottom), TBrush(bottomRight));
        }
    }
    dc.SetTextColor(nameColor_);
    dc.DrawText(label, cell, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);

    TRect rest(cell.right, r.top, r.right, r.bottom);
    const std::string separator = numbersMode_ ? " " : " = ";
    dc.DrawText(separator, rest, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    rest.left += dc.GetTextExtent(separator).cx;
    std::string value;
    if (numbersMode_) {
        const double v = (*numbers_)[static_cast<std::size_t>(row)];
        if (v != NoValue) value = FormatDouble(v, nmGeneral, 0, 15, 0);
    } else {
        value = (*definitions_)[static_cast<std::size_t>(row)].text;
    }
    dc.SetTextColor(kBlack);
    dc.DrawText(value, rest, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace vyn
