// Hit testing of the plate view, the selection bytes of a dragged rectangle, the block move of
// selected wells, and the drag feedback: a crawling patterned frame, an inverted pattern over
// the dragged cells or round marks where a moved block would land. The feedback is drawn
// straight onto the window image and removed exactly: the frame by the pixels saved under it,
// the rest by inverting it a second time.
#include <algorithm>

#include "platform/gui/Dc.h"
#include "plate/QPlate.h"
#include "views/QPView.h"
#include "views/ViewBitmaps.h"

namespace vyn {

namespace {

// The frame is shared by all plate views: one frame can be up at a time.
struct DragFrame {
    struct Edge {
        TRect rect;
        TRect pattern;  // the patterned part
        TRect outline;  // the one-pixel line on the side away from the block
        bool visible = false;
        TBitmap save;
    };
    bool up = false;
    const QPView* owner = nullptr;
    int style = 0;
    int brushStyle = -1;
    TBrush frameBrush;
    TBrush innerFill[3];
    bool prepared = false;
    Edge edges[4];  // left, right, top, bottom
    TRect inner;
    int counter = 0;
};

DragFrame& Frame()
{
    static DragFrame frame;
    return frame;
}

void Normalise(int& c0, int& r0, int& c1, int& r1)
{
    if (c0 > c1) std::swap(c0, c1);
    if (r0 > r1) std::swap(r0, r1);
}

}  // namespace

// --- hit testing ----------------------------------------------------------------------------

bool QPView::TrackHit(int& col, int& row, int& scrollX, int& scrollY) const
{
    const int x = LastMouse.x, y = LastMouse.y;
    scrollX = scrollY = 0;
    if (x < HeaderWidth) {
        col = FirstCol;
        if (FirstCol != 0) scrollX = -1;
    } else if (ClientRect.right < GridRight()) {
        if (x < ClientRect.right) {
            col = (x - HeaderWidth) / CellWidth + FirstCol;
        } else {
            col = (ClientRect.right - 1 - HeaderWidth) / CellWidth + FirstCol;
            if (FirstCol < MaxFirstCol) scrollX = 1;
        }
    } else {
        col = x < GridRight() ? (x - HeaderWidth) / CellWidth + FirstCol : Cols - 1;
    }
    if (y < HeaderHeight) {
        row = FirstRow;
        if (FirstRow != 0) scrollY = -1;
    } else if (ClientRect.bottom < GridBottom()) {
        if (y < ClientRect.bottom) {
            row = (y - HeaderHeight) / CellHeight + FirstRow;
        } else {
            row = (ClientRect.bottom - 1 - HeaderHeight) / CellHeight + FirstRow;
            if (FirstRow < MaxFirstRow) scrollY = 1;
        }
    } else {
        row = y < GridBottom() ? (y - HeaderHeight) / CellHeight + FirstRow : Rows - 1;
    }
    col = std::clamp(col, 0, Cols - 1);
    row = std::clamp(row, 0, Rows - 1);
    return scrollX != 0 || scrollY != 0;
}

bool QPView::HitCell(int& col, int& row) const
{
    const int right = std::min(GridRight(), ClientRect.right), bottom = std::min(GridBottom(), ClientRect.bottom);
    const int x = LastMouse.x, y = LastMouse.y;
    if (x < HeaderWidth || x >= right || y < HeaderHeight || y >= bottom) return false;
    col = (x - HeaderWidth) / CellWidth + FirstCol;
    row = (y - HeaderHeight) / CellHeight + FirstRow;
    return true;
}

int QPView::ColumnBoundaryAt(const TPoint& p) const
{
    if (p.y >= HeaderHeight) return 0;
    const int x = p.x - HeaderWidth, h = WidthDigit / 2;
    const int n = (h + x) / std::max(1, CellWidth);
    if (n * CellWidth + h < x) return 0;
    const int boundary = n + FirstCol;
    return boundary > FirstCol && boundary <= LastColShown(false) + 1 ? boundary : 0;
}

// --- selection bytes ------------------------------------------------------------------------

void QPView::FreezeSelection()
{
    for (unsigned char& b : Selected)
        if (b & 1) b |= 0x80;
}

void QPView::ClearSelectionMarks()
{
    for (unsigned char& b : Selected) b &= 1;
}

void QPView::InvalidateWell(int well)
{
    if (well >= 0 && well < Wells && IsWindow()) InvalidateRect(CellRect(well % Cols, well / Cols), false);
}

int QPView::UpdateRubberBand(int c0, int r0, int c1, int r1, int c2, int r2, int c3, int r3)
{
    Normalise(c0, r0, c1, r1);
    Normalise(c2, r2, c3, r3);
    auto mark = [this](int cl, int rt, int cr, int rb, unsigned char bit) {
        for (int r = std::max(rt, 0); r <= std::min(rb, Rows - 1); ++r)
            for (int c = std::max(cl, 0); c <= std::min(cr, Cols - 1); ++c)
                Selected[static_cast<std::size_t>(r * Cols + c)] |= bit;
    };
    mark(c0, r0, c1, r1, 4);
    mark(c2, r2, c3, r3, 2);
    int changed = 0;
    SelectedCount = 0;
    for (int i = 0; i < Wells; ++i) {
        unsigned char& b = Selected[static_cast<std::size_t>(i)];
        if (!(b & 0x80)) {
            if ((b & 2) && Plate->wells[static_cast<std::size_t>(i)].sample) {
                b = 1;
                ++changed;
                InvalidateWell(i);
            } else if (b == 5) {
                b = 0;
                ++changed;
                InvalidateWell(i);
            }
        }
        b &= 0x81;
        SelectedCount += b & 1;
    }
    return changed;
}

// --- block move -----------------------------------------------------------------------------

void QPView::BeginBlockMove()
{
    SMS& m = Marks;
    m.GrabCol = m.AtCol = AnchorCol;
    m.GrabRow = m.AtRow = AnchorRow;
    m.BoxLeft = m.BoxRight = AnchorCol;
    m.BoxTop = m.BoxBottom = AnchorRow;
    for (int i = 0; i < Wells; ++i) {
        if (!Selected[static_cast<std::size_t>(i)]) continue;
        const int c = i % Cols, r = i / Cols;
        m.BoxLeft = std::min(m.BoxLeft, c);
        m.BoxRight = std::max(m.BoxRight, c);
        m.BoxTop = std::min(m.BoxTop, r);
        m.BoxBottom = std::max(m.BoxBottom, r);
    }
    m.MovedLeft = m.BoxLeft;
    m.MovedRight = m.BoxRight;
    m.MovedTop = m.BoxTop;
    m.MovedBottom = m.BoxBottom;
    m.MinAtCol = m.GrabCol - m.BoxLeft;
    m.MaxAtCol = (Cols - 1) - (m.BoxRight - m.GrabCol);
    m.MinAtRow = m.GrabRow - m.BoxTop;
    m.MaxAtRow = (Rows - 1) - (m.BoxBottom - m.GrabRow);
}

bool QPView::MoveBlockTo(int col, int row)
{
    SMS& m = Marks;
    col = std::clamp(col, m.MinAtCol, m.MaxAtCol);
    row = std::clamp(row, m.MinAtRow, m.MaxAtRow);
    if (col == m.AtCol && row == m.AtRow) return false;
    const int dc = col - m.GrabCol, dr = row - m.GrabRow;
    m.MovedLeft = m.BoxLeft + dc;
    m.MovedRight = m.BoxRight + dc;
    m.MovedTop = m.BoxTop + dr;
    m.MovedBottom = m.BoxBottom + dr;
    m.AtCol = col;
    m.AtRow = row;
    return true;
}

// --- the drag frame -------------------------------------------------------------------------

bool QPView::FrameUp() const { return Frame().up && Frame().owner == this; }

void QPView::PrepareDragFrame(int style)
{
    DragFrame& f = Frame();
    if (f.brushStyle != style) {
        f.frameBrush = TBrush(ViewBitmaps::Load(13457 + style));
        f.brushStyle = style;
    }
    if (!f.prepared) {
        f.innerFill[0] = TBrush(ViewBitmaps::Load(13453));
        f.innerFill[1] = TBrush(ViewBitmaps::Load(13453));
        f.innerFill[2] = TBrush(ViewBitmaps::Load(13452));
        for (auto& e : f.edges) e.visible = false;
        f.prepared = true;
    }
}

void QPView::InvertInside(TDC& dc)
{
    DragFrame& f = Frame();
    if (f.inner.IsEmpty()) return;
    const TBrush old = dc.SelectObject(f.innerFill[f.style]);
    dc.PatBlt(f.inner, PATINVERT);
    dc.SelectObject(old);
}

void QPView::InvertMarks(TDC& dc)
{
    TMemoryDC taken(MoveMarkTaken), free(MoveMarkFree);
    for (int i = 0; i < Marks.MarkCount; ++i) {
        const TPoint p = Marks.MarkPos[static_cast<std::size_t>(i)];
        const bool t = Marks.MarkTaken[static_cast<std::size_t>(i)] != 0;
        dc.BitBlt(p.x, p.y, MarkWidth, MarkHeight, t ? taken : free, 0, 0, SRCINVERT);
    }
}

void QPView::DrawDragFrame(int style, int c0, int r0, int c1, int r1)
{
    if (!IsWindow()) return;
    DragFrame& f = Frame();
    if (f.up && f.owner) const_cast<QPView*>(f.owner)->EraseDragFrame();
    f.style = std::clamp(style, 0, 2);
    HideCursor();
    f.up = true;
    f.owner = this;
    PrepareDragFrame(f.style);
    Normalise(c0, r0, c1, r1);
    const int w = CellWidth * (c1 - c0 + 1), h = CellHeight * (r1 - r0 + 1);
    const TPoint o = CellOrigin(c0, r0);
    const int x = o.x, y = o.y;

    auto& [left, right, top, bottom] = f.edges;
    left.rect = TRect(x - 3, y + 1, x + 1, y + h - 3);
    right.rect = TRect(x + w - 3, y + 1, x + w + 1, y + h - 3);
    top.rect = TRect(x - 3, y - 3, x + w + 1, y + 1);
    bottom.rect = TRect(x - 3, y + h - 3, x + w + 1, y + h + 1);
    for (auto& e : f.edges) e.visible = true;
    if (c0 < FirstCol) {
        left.visible = false;
        top.rect.left = bottom.rect.left = HeaderWidth;
    }
    if (r0 < FirstRow) {
        top.visible = false;
        left.rect.top = right.rect.top = HeaderHeight;
    }
    // The pattern leaves a one-pixel outline on the outer side and at both ends.
    left.pattern = TRect(left.rect.left + 1, left.rect.top + 1, left.rect.right, left.rect.bottom - 1);
    left.outline = TRect(left.rect.left, left.rect.top, left.rect.left + 1, left.rect.bottom);
    right.pattern = TRect(right.rect.left, right.rect.top + 1, right.rect.right - 1, right.rect.bottom - 1);
    right.outline = TRect(right.rect.right - 1, right.rect.top, right.rect.right, right.rect.bottom);
    top.pattern = TRect(top.rect.left + 1, top.rect.top + 1, top.rect.right - 1, top.rect.bottom);
    top.outline = TRect(top.rect.left, top.rect.top, top.rect.right, top.rect.top + 1);
    bottom.pattern = TRect(bottom.rect.left + 1, bottom.rect.top, bottom.rect.right - 1, bottom.rect.bottom - 1);
    bottom.outline = TRect(bottom.rect.left, bottom.rect.bottom - 1, bottom.rect.right, bottom.rect.bottom);

    f.inner = TRect();
    Marks.MarkCount = 0;
    if (f.style != 1) {
        f.inner = TRect(std::max(left.rect.right + 1, HeaderWidth), std::max(top.rect.bottom + 1, HeaderHeight),
                        right.rect.left - 1, bottom.rect.top - 1);
        if (f.inner.IsEmpty()) f.inner = TRect();
    } else if (Marks.AtCol != Marks.GrabCol || Marks.AtRow != Marks.GrabRow) {
        const int dc = Marks.AtCol - Marks.GrabCol, dr = Marks.AtRow - Marks.GrabRow;
        for (int r = Marks.BoxTop; r <= Marks.BoxBottom; ++r) {
            for (int c = Marks.BoxLeft; c <= Marks.BoxRight; ++c) {
                if (!Selected[static_cast<std::size_t>(r * Cols + c)]) continue;
                const int tc = c + dc, tr = r + dr;
                if (tc < 0 || tc >= Cols || tr < 0 || tr >= Rows) continue;
                const TPoint t = CellOrigin(tc, tr);
                if (t.x < HeaderWidth || t.x >= ClientRect.right || t.y < HeaderHeight || t.y >= ClientRect.bottom)
                    continue;
                const int target = tr * Cols + tc;
                const std::size_t k = static_cast<std::size_t>(Marks.MarkCount++);
                Marks.MarkPos[k] = TPoint(t.x + MarkOffsetX, t.y + MarkOffsetY);
                Marks.MarkTaken[k] = Plate->wells[static_cast<std::size_t>(target)].sample &&
                                     !(Selected[static_cast<std::size_t>(target)] & 1);
            }
        }
    }

    DrawNow([&](TDC& dc) {
        if (f.style != 1) InvertInside(dc);
        else InvertMarks(dc);
        for (auto& e : f.edges) {
            if (!e.visible || e.rect.IsEmpty()) continue;
            e.save = TBitmap(e.rect.Width(), e.rect.Height());
            TMemoryDC save(e.save);
            save.BitBlt(0, 0, e.rect.Width(), e.rect.Height(), dc, e.rect.left, e.rect.top, SRCCOPY);
        }
        DrawFrameEdges(&dc);
    });
    ShowCursor();
}

void QPView::DrawFrameEdges(TDC* dc)
{
    DragFrame& f = Frame();
    if (!f.up || f.owner != this) return;
    if (!dc) {
        if (IsWindow()) DrawNow([this](TDC& d) { DrawFrameEdges(&d); });
        return;
    }
    const TColor oldBk = dc->SetBkColor(TColor::White);
    const TPoint oldOrg = dc->SetBrushOrg(TPoint(f.counter, 0));
    const TBrush black(TColor::Black);
    for (auto& e : f.edges) {
        if (!e.visible || e.rect.IsEmpty()) continue;
        dc->FillRect(e.outline, black);
        dc->FillRect(e.pattern, f.frameBrush);
    }
    dc->SetBrushOrg(oldOrg);
    dc->SetBkColor(oldBk);
    // Each drawing moves the stripes on by two pixels: driven by the drag timer, the frame crawls.
    f.counter += 2;
}

void QPView::EraseDragFrame()
{
    DragFrame& f = Frame();
    if (!f.up || f.owner != this) return;
    HideCursor();
    f.up = false;
    if (IsWindow()) {
        DrawNow([&](TDC& dc) {
            for (auto& e : f.edges) {
                if (!e.visible || e.save.IsNull()) continue;
                TMemoryDC save(e.save);
                dc.BitBlt(e.rect.left, e.rect.top, e.rect.Width(), e.rect.Height(), save, 0, 0, SRCCOPY);
            }
            if (f.style != 1) InvertInside(dc);
            else InvertMarks(dc);
        });
    }
    for (auto& e : f.edges) e.save = TBitmap();
    f.owner = nullptr;
    ShowCursor();
}

}  // namespace vyn
