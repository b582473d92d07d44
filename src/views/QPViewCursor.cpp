// The plate view's cell cursor and scrolling. The cursor is a caret of the view's own: its
// picture is inverted onto the window image to show it and inverted again to hide it, so
// every drawing of the view hides it first and shows it afterwards.
#include <algorithm>

#include "controls/QGEdit.h"
#include "evaluator/NumFormat.h"
#include "platform/gui/Dc.h"
#include "plate/QPlate.h"
#include "views/QPView.h"

namespace vyn {

namespace {
constexpr int kKeep = 32767;
}  // namespace

// --- the caret ------------------------------------------------------------------------------

void QPView::CaretDraw()
{
    if (caretPicture_.IsNull()) return;
    auto draw = [this](TDC& dc) {
        TMemoryDC src(caretPicture_);
        dc.BitBlt(caretPos_.x, caretPos_.y, caretPicture_.Width(), caretPicture_.Height(), src, 0, 0, SRCINVERT);
    };
    if (paintDC_) draw(*paintDC_);
    else if (IsWindow()) DrawNow(draw);
}

void QPView::CaretCreate()
{
    if (caretExists_) CaretDestroy();
    caretPicture_ = CaretBitmap();
    caretExists_ = true;
    caretVisible_ = false;
}

void QPView::CaretDestroy()
{
    CaretHide();
    caretExists_ = false;
    caretPicture_ = TBitmap();
}

void QPView::CaretShow()
{
    if (!caretExists_ || caretVisible_) return;
    CaretDraw();
    caretVisible_ = true;
}

void QPView::CaretHide()
{
    if (!caretVisible_) return;
    CaretDraw();
    caretVisible_ = false;
}

void QPView::CaretMove(TPoint p)
{
    if (p == caretPos_) return;
    const bool shown = caretVisible_;
    CaretHide();
    caretPos_ = p;
    if (shown) CaretShow();
}

TBitmap QPView::BuildEntryCaret(int w, int h)
{
    w = std::max(w, 6);
    h = std::max(h, 6);
    TBitmap bmp(w, h);  // black: the screen stays as it is under the inverted caret
    const TColor yellow(255, 255, 0);
    for (int inset = 0; inset < 2; ++inset) {
        for (int x = inset; x < w - inset; ++x) {
            bmp.SetPixel(x, inset, yellow);
            bmp.SetPixel(x, h - 1 - inset, yellow);
        }
        for (int y = inset; y < h - inset; ++y) {
            bmp.SetPixel(inset, y, yellow);
            bmp.SetPixel(w - 1 - inset, y, yellow);
        }
    }
    for (TPoint p : {TPoint{0, 0}, TPoint{w - 1, 0}, TPoint{w - 1, h - 1}, TPoint{0, h - 1}})
        bmp.SetPixel(p.x, p.y, TColor::Black);
    for (TPoint p : {TPoint{2, 2}, TPoint{w - 3, 2}, TPoint{w - 3, h - 3}, TPoint{2, h - 3}})
        bmp.SetPixel(p.x, p.y, yellow);
    return bmp;
}

// --- the cell cursor ------------------------------------------------------------------------

void QPView::SetCursorKind(int kind)
{
    if (HasFocus_ && CursorShown) CaretDestroy();
    CursorShowCount = 0;
    CursorShown = kind;
    if (kind == 2) EntryCursorBitmap = BuildEntryCaret(CellTextWidth, LineHeight);
    if (CursorShown && HasFocus_) CaretCreate();
    PlaceCursor(kKeep, kKeep);
}

void QPView::HideCursor()
{
    --CursorShowCount;
    if (HasFocus_ && CursorShown && CursorShowCount == 0) CaretHide();
}

void QPView::ShowCursor()
{
    ++CursorShowCount;
    if (HasFocus_ && CursorShown && CursorShowCount == 1) CaretShow();
}

void QPView::SetCursorFocus(bool hasFocus)
{
    if (HasFocus_ == hasFocus) return;
    HasFocus_ = hasFocus;
    if (!CursorShown) return;
    if (!hasFocus) {
        CaretDestroy();
        return;
    }
    CaretCreate();
    PlaceCursor(kKeep, kKeep);
    if (CursorShowCount > 0) CaretShow();
}

void QPView::EvSetFocus(TWindow* lost)
{
    TWindow::EvSetFocus(lost);
    SetCursorFocus(true);
}

void QPView::EvKillFocus(TWindow* gets)
{
    TWindow::EvKillFocus(gets);
    SetCursorFocus(false);
}

void QPView::PlaceCursor(int col, int row)
{
    const int oldCol = CurCol, oldRow = CurRow;
    if (col != kKeep) CurCol = col;
    if (row != kKeep) CurRow = row;
    if (!CursorShown || !HasFocus_) return;
    TPoint p = CellOrigin(CurCol, CurRow);
    if (CursorShown == 1) {
        p.x += CellGap;
        p.y += CellGap;
    } else {
        p.x += MarginX;
        p.y += MarginY;
        // The layers stand in bit order: the entry cursor frames the line being entered.
        for (unsigned bit = 1; bit < EntryLayer; bit <<= 1)
            if (Layers & bit) p.y += LineHeight;
    }
    if (CurCol < FirstCol || CurRow < FirstRow) p = TPoint(-200, -200);
    CaretMove(p);
    if (CurCol != oldCol || CurRow != oldRow) CurrentCellChanged(CurCol, CurRow);
}

bool QPView::IsCursorCellVisible(int col, int row) const
{
    if (!CursorShown) return true;
    if (MaxFirstCol != 0 && (col < FirstCol || col > LastColShown(true))) return false;
    if (MaxFirstRow == 0) return true;
    return FirstRow <= row && row <= LastRowShown(true);
}

namespace {
// The first column (row) that shows index i, starting from the current first one.
int FirstToShow(int first, int lastFully, int i)
{
    if (lastFully < first || i < first) return i;
    if (i > lastFully) return first + (i - lastFully);
    return first;
}
}  // namespace

void QPView::MoveCursorTo(int col, int row)
{
    if (!CursorShown) return;
    if (IsCursorCellVisible(col, row)) {
        PlaceCursor(col, row);
        return;
    }
    HideCursor();
    ScrollTo(FirstToShow(FirstCol, LastColShown(true), col), FirstToShow(FirstRow, LastRowShown(true), row));
    PlaceCursor(col, row);
    ShowCursor();
}

bool QPView::MoveCursorVisible(int col, int row)
{
    if (!CursorShown || (col == CurCol && row == CurRow) || IsCursorCellVisible(col, row)) return false;
    HideCursor();
    const bool scrolled =
        ScrollTo(FirstToShow(FirstCol, LastColShown(true), col), FirstToShow(FirstRow, LastRowShown(true), row));
    PlaceCursor(col, row);
    ShowCursor();
    return scrolled;
}

bool QPView::ScrollToCursor()
{
    if (!CursorShown || IsCursorCellVisible(CurCol, CurRow)) return false;
    HideCursor();
    const bool scrolled = ScrollTo(FirstToShow(FirstCol, LastColShown(true), CurCol),
                                   FirstToShow(FirstRow, LastRowShown(true), CurRow));
    PlaceCursor(kKeep, kKeep);
    ShowCursor();
    return scrolled;
}

void QPView::ClampCursor()
{
    if (!CursorShown) return;
    CurCol = std::max(std::min(CurCol, LastColShown(true)), FirstCol);
    CurRow = std::max(std::min(CurRow, LastRowShown(true)), FirstRow);
    PlaceCursor(kKeep, kKeep);
}

void QPView::CurrentCellChanged(int col, int row)
{
    if (Mode != pmDataEntry || col < 0 || col >= Cols || row < 0 || row >= Rows) return;
    EntryNotify(0);
}

// --- scrolling ------------------------------------------------------------------------------

bool QPView::ScrollTo(int col, int row)
{
    col = std::clamp(col, 0, MaxFirstCol);
    row = std::clamp(row, 0, MaxFirstRow);
    if (col == FirstCol && row == FirstRow) return false;
    FirstCol = col;
    FirstRow = row;
    if (MaxFirstCol != 0) SetScrollPos(SB_HORZ, col);
    if (MaxFirstRow != 0) SetScrollPos(SB_VERT, row);
    Invalidate(false);
    return true;
}

void QPView::EvScroll(int bar, unsigned code, int thumb)
{
    const int max = bar == 0 ? MaxFirstCol : MaxFirstRow;
    const int p = GetScrollPos(bar == 0 ? SB_HORZ : SB_VERT);
    int pos = p;
    switch (code) {
    case SB_LINEUP: pos = p - 1; break;
    case SB_LINEDOWN: pos = p + 1; break;
    case SB_PAGEUP: pos = p - 2; break;
    case SB_PAGEDOWN: pos = p + 2; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: pos = thumb; break;
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = max; break;
    case SB_ENDSCROLL:
        // The cells move once, when the user lets go of the bar.
        (bar == 0 ? FirstCol : FirstRow) = std::clamp(p, 0, max);
        Invalidate(false);
        PlaceCursor(kKeep, kKeep);
        return;
    default: return;
    }
    SetScrollPos(bar == 0 ? SB_HORZ : SB_VERT, std::clamp(pos, 0, max));
}

void QPView::EvHScroll(unsigned code, unsigned pos, TWindow*) { EvScroll(0, code, static_cast<int>(pos)); }
void QPView::EvVScroll(unsigned code, unsigned pos, TWindow*) { EvScroll(1, code, static_cast<int>(pos)); }

}  // namespace vyn
