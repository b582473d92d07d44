// Painting checks at a few pixels: the teal frame, the white column numbers, a sample's
// raised tile with its name in the descriptor's colour, an empty well's checkerboard and a
// value's black text on its line.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"

namespace vyn::test {
namespace {

bool Contains(const QImage& img, const TRect& r, QRgb colour)
{
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x)
            if ((img.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
}

TEST(PlateViewPaint, FrameHeadersCellsAndTexts)
{
    ViewFixture f;
    QPView& v = *f.view;
    f.doc.PlaceNewSampleAt(f.qual, W("A1"), W("A1"), false, 0);
    f.doc.SetPlateValue(0.5, W("A1"), false);
    v.UpdateWindow();
    const QImage img = f.Image();
    ASSERT_FALSE(img.isNull());
    EXPECT_EQ(img.pixel(1, 1) & 0xFFFFFF, qRgb(0, 128, 128) & 0xFFFFFF) << "corner";
    EXPECT_TRUE(Contains(img, v.ColumnHeaderRect(0), qRgb(255, 255, 255))) << "column number 1";
    EXPECT_TRUE(Contains(img, v.RowHeaderRect(7), qRgb(255, 255, 255))) << "row letter H";

    const TRect a1 = v.CellRect(0, 0);
    EXPECT_EQ(img.pixel(a1.left + 1, a1.top + 1) & 0xFFFFFF, qRgb(192, 192, 192) & 0xFFFFFF) << "raised tile";
    const TRect nameLine(a1.left + v.MarginX, a1.top + v.MarginY, a1.left + v.MarginX + v.CellTextWidth,
                         a1.top + v.MarginY + v.LineHeight);
    EXPECT_TRUE(Contains(img, nameLine, qRgb(0, 0, 160))) << "the descriptor's name in its colour";
    TRect valueLine = nameLine;
    valueLine.Offset(0, v.LineHeight);
    EXPECT_TRUE(Contains(img, valueLine, qRgb(0, 0, 0))) << "the data value";

    const TRect b2 = v.CellRect(1, 1);
    EXPECT_NE(img.pixel(b2.left + 1, b2.top + 1), img.pixel(b2.left + 2, b2.top + 1)) << "checkerboard";
    TRect emptyLine(b2.left + v.MarginX, b2.top + v.MarginY + v.LineHeight, b2.left + v.MarginX + v.CellTextWidth,
                    b2.top + v.MarginY + 2 * v.LineHeight);
    EXPECT_FALSE(Contains(img, emptyLine, qRgb(0, 0, 0))) << "no value, no text";
}

TEST(PlateViewPaint, ScrolledHeadersShowTheGlyphAndRepaintedCellsMatchAFullPaint)
{
    ViewFixture f(4, 3);
    QPView& v = *f.view;
    const QImage unscrolled = f.Image();
    v.ScrollTo(1, 0);
    v.UpdateWindow();
    const QImage scrolled = f.Image();
    const TRect corner = v.PaneRect(0);
    bool glyph = false;
    for (int y = corner.top; y < corner.bottom; ++y)
        for (int x = corner.left; x < corner.right; ++x)
            glyph = glyph || scrolled.pixel(x, y) != unscrolled.pixel(x, y);
    EXPECT_TRUE(glyph) << "the left arrow appears in the corner";
}

}  // namespace
}  // namespace vyn::test
