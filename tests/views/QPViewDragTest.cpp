// Hit testing, keyboard navigation with scrolling, and the drag feedback drawn by inversion:
// whatever the frame and its marks draw, erasing them gives back the image as it was.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"

namespace vyn::test {
namespace {

TEST(PlateViewHitTest, PointsToCellsAndScrollDirections)
{
    ViewFixture f(4, 3);  // a window showing part of the plate
    QPView& v = *f.view;
    ASSERT_GT(v.MaxFirstCol, 0);
    ASSERT_GT(v.MaxFirstRow, 0);
    const int x0 = v.HeaderWidth, y0 = v.HeaderHeight, cw = v.CellWidth, ch = v.CellHeight;
    struct Row {
        const char* name;
        int firstCol, firstRow;
        TPoint p;
        int col, row, sx, sy;
    } rows[] = {
        {"inside the second cell", 0, 0, {x0 + cw + 1, y0 + 1}, 1, 0, 0, 0},
        {"left of the cells, not scrolled", 0, 0, {1, y0 + 1}, 0, 0, 0, 0},
        {"left of the cells, scrolled", 2, 0, {1, y0 + 1}, 2, 0, -1, 0},
        {"above the cells, scrolled", 0, 3, {x0 + 1, 1}, 0, 3, 0, -1},
        {"beyond the window's right edge", 0, 0, {v.ClientRect.right + 5, y0 + 1}, (v.ClientRect.right - 1 - x0) / cw, 0, 1, 0},
        {"below the window", 0, 0, {x0 + 1, v.ClientRect.bottom + 5}, 0, (v.ClientRect.bottom - 1 - y0) / ch, 0, 1},
    };
    for (const Row& r : rows) {
        v.FirstCol = r.firstCol;
        v.FirstRow = r.firstRow;
        v.LastMouse = r.p;
        int col = -1, row = -1, sx = 9, sy = 9;
        v.TrackHit(col, row, sx, sy);
        EXPECT_EQ(col, r.col) << r.name;
        EXPECT_EQ(row, r.row) << r.name;
        EXPECT_EQ(sx, r.sx) << r.name;
        EXPECT_EQ(sy, r.sy) << r.name;
    }
    v.FirstCol = v.FirstRow = 0;
    v.LastMouse = TPoint(1, 1);
    int col = -1, row = -1;
    EXPECT_FALSE(v.HitCell(col, row)) << "the corner is no cell";
    // Column boundaries in the header row, within half a digit.
    EXPECT_EQ(v.ColumnBoundaryAt(TPoint(x0 + cw + 1, 2)), 1);
    EXPECT_EQ(v.ColumnBoundaryAt(TPoint(x0 + cw / 2, 2)), 0);
    EXPECT_EQ(v.ColumnBoundaryAt(TPoint(x0 + cw, y0 + 2)), 0) << "only in the header row";
}

TEST(PlateViewHitTest, WholePlateInTheWindowGivesTheLastColumnAndNoScroll)
{
    ViewFixture f;
    f.view->LastMouse = TPoint(f.view->ClientRect.right - 1, f.view->HeaderHeight + 1);
    int col = -1, row = -1, sx = 9, sy = 9;
    EXPECT_FALSE(f.view->TrackHit(col, row, sx, sy));
    EXPECT_EQ(col, 11);
}

TEST(PlateViewCursor, KeysMoveTheCursorAndScrollToShowIt)
{
    ViewFixture f(4, 3);
    QPView& v = *f.view;
    TTestHook::Key(VK_RIGHT, 0, &v);
    EXPECT_EQ(v.CursorShown, 1) << "the first key only shows the cursor";
    EXPECT_EQ(v.CurCol, 0);
    TTestHook::Key(VK_END, 0, &v);
    EXPECT_EQ(v.CurCol, 11);
    EXPECT_EQ(v.CurRow, 7);
    EXPECT_EQ(v.LastColShown(true), 11);
    EXPECT_EQ(v.LastRowShown(true), 7);
    EXPECT_TRUE(v.CaretVisible());
    EXPECT_EQ(v.CaretPos(), (TPoint{v.CellOrigin(11, 7).x + v.CellGap, v.CellOrigin(11, 7).y + v.CellGap}));
    TTestHook::Key(VK_HOME, 0, &v);
    EXPECT_EQ(v.FirstCol, 0);
    EXPECT_EQ(v.FirstRow, 0);
    // A page request moves by two, and the cells follow only when the user lets go.
    v.SendMessage(WM_HSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(v.GetScrollPos(SB_HORZ), 2);
    EXPECT_EQ(v.FirstCol, 0);
    v.SendMessage(WM_HSCROLL, SB_ENDSCROLL);
    EXPECT_EQ(v.FirstCol, 2);
}

TEST(PlateViewCursor, PaintingHidesTheCaretOnceAndNestedHidesCount)
{
    ViewFixture f;
    QPView& v = *f.view;
    TTestHook::Key(VK_DOWN, 0, &v);
    ASSERT_TRUE(v.CaretVisible());
    v.HideCursor();
    v.HideCursor();
    EXPECT_FALSE(v.CaretVisible());
    v.ShowCursor();
    EXPECT_FALSE(v.CaretVisible()) << "count back to 0";
    v.ShowCursor();
    EXPECT_TRUE(v.CaretVisible());
    // An entry cursor for measured values with layers 1, 4 and 8 sits on the third line.
    v.SetLayers(1 | 4 | 8);
    v.EntryLayer = 8;
    v.SetCursorKind(2);
    v.ShowCursor();
    EXPECT_EQ(v.CaretPos().y, v.CellOrigin(v.CurCol, v.CurRow).y + v.MarginY + 2 * v.LineHeight);
}

TEST(PlateViewDragFrame, EveryStyleIsErasedExactly)
{
    ViewFixture f(8, 6);
    QPView& v = *f.view;
    f.doc.PlaceNewSampleAt(f.qual, W("B2"), W("B3"), false, 0);
    f.doc.PlaceNewSampleAt(f.qual, W("D3"), W("D3"), false, 0);
    v.UpdateWindow();
    const QImage before = f.Image();
    for (int style : {0, 2}) {
        v.DrawDragFrame(style, 1, 1, 3, 2);
        EXPECT_NE(f.Image(), before) << "style " << style << " draws";
        v.DrawFrameEdges(nullptr);  // one step of the crawl
        v.EraseDragFrame();
        EXPECT_EQ(f.Image(), before) << "style " << style;
    }
    // A block scrolled partly out of sight: no left edge, still erased exactly.
    v.ScrollTo(2, 0);
    v.UpdateWindow();
    const QImage scrolled = f.Image();
    v.DrawDragFrame(0, 1, 1, 3, 2);
    v.EraseDragFrame();
    EXPECT_EQ(f.Image(), scrolled);
    v.ScrollTo(0, 0);
    v.UpdateWindow();

    // Move marks: the smaller mark where a target is taken by another sample.
    f.Command(2473);
    f.Sweep({"B2", "B3"});
    v.UpdateWindow();
    const QImage selected = f.Image();
    v.AnchorCol = 1;
    v.AnchorRow = 1;
    v.BeginBlockMove();
    ASSERT_TRUE(v.MoveBlockTo(1, 3));  // two rows down
    v.DrawDragFrame(1, v.Marks.MovedLeft, v.Marks.MovedTop, v.Marks.MovedRight, v.Marks.MovedBottom);
    ASSERT_EQ(v.Marks.MarkCount, 2);
    EXPECT_EQ(v.Marks.MarkTaken[0], 0) << "D2 is free";
    EXPECT_EQ(v.Marks.MarkTaken[1], 1) << "D3 holds another sample";
    v.EraseDragFrame();
    EXPECT_EQ(f.Image(), selected);
}

TEST(PlateViewDragFrame, ABlockAtTheRightEdgeCannotMoveFurther)
{
    ViewFixture f;
    f.doc.PlaceNewSampleAt(f.qual, W("A12"), W("A12"), false, 0);
    f.Command(2473);
    f.Sweep({"A12"});
    f.view->AnchorCol = 11;
    f.view->AnchorRow = 0;
    f.view->BeginBlockMove();
    EXPECT_FALSE(f.view->MoveBlockTo(12, 0));
    EXPECT_TRUE(f.view->MoveBlockTo(11, 1));
}

TEST(PlateViewDragFrame, ColumnDragChangesTheCellScaleWithinItsRange)
{
    ViewFixture f;
    QPView& v = *f.view;
    const QImage before = f.Image();
    const int x = v.HeaderWidth + v.CellWidth;  // the right edge of column 1
    v.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, 2));
    ASSERT_TRUE(v.ColumnDrag);
    v.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x - 1000, 2));
    v.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(x - 1000, 2));
    EXPECT_EQ(f.p.cellWidth, 10) << "far left still leaves the smallest scale";
    EXPECT_TRUE(f.doc.GetDirtyFlag());
    (void)before;
}

}  // namespace
}  // namespace vyn::test
