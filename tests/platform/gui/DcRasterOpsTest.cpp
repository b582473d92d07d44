// Inverting drawing, pattern brushes and block transfers between memory DCs: the raster
// operations act bit by bit on the stored colours.
#include <gtest/gtest.h>

#include <functional>

#include "DcTestUtil.h"

namespace vyn {
namespace {

using test::At;
using test::Hex;
using test::Marked;
using test::WhiteImage;

// A background where every pixel differs, so that a stray or doubled pixel shows.
QImage Busy(int w, int h)
{
    QImage img(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) img.setPixel(x, y, qRgb((x * 37) & 0xFF, (y * 53) & 0xFF, (x * y * 11) & 0xFF));
    return img;
}

TBitmap Checkerboard() { return TBitmap::FromMonoBits(8, 8, {0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0, 0x55, 0, 0xAA, 0}); }

TEST(DcRasterOps, DrawingTwiceInAnInvertingModeRestoresEveryPixel)
{
    struct Row {
        const char* name;
        std::function<void(TDC&)> draw;
    };
    const Row rows[] = {
        {"rectangle outline, xor pen",
         [](TDC& dc) {
             dc.SetROP2(R2_XORPEN);
             dc.SelectObject(TPen(TColor(0, 192, 255), 1));
             dc.SelectObject(TBrush());
             dc.Rectangle(3, 4, 30, 20);
         }},
        {"rectangle outline, not",
         [](TDC& dc) {
             dc.SetROP2(R2_NOT);
             dc.SelectObject(TBrush());
             dc.Rectangle(0, 0, 40, 30);
         }},
        {"filled rectangle, notxor",
         [](TDC& dc) {
             dc.SetROP2(R2_NOTXORPEN);
             dc.SelectObject(TBrush(TColor(10, 200, 30)));
             dc.Rectangle(5, 5, 25, 22);
         }},
        {"guide lines across, not",
         [](TDC& dc) {
             dc.SetROP2(R2_NOT);
             dc.MoveTo(17, 0);
             dc.LineTo(17, 30);
             dc.MoveTo(0, 11);
             dc.LineTo(40, 11);
         }},
        {"slanted polyline, xor",
         [](TDC& dc) {
             dc.SetROP2(R2_XORPEN);
             dc.SelectObject(TPen(TColor(255, 0, 0), 1));
             dc.Polyline(std::vector<TPoint>{{1, 1}, {38, 7}, {20, 28}, {2, 20}, {30, 2}});
         }},
        {"wide dashed pen, xor, opaque",
         [](TDC& dc) {
             dc.SetROP2(R2_XORPEN);
             dc.SelectObject(TPen(TColor(255, 255, 0), 1, PS_DASHDOT));
             dc.SetBkMode(OPAQUE);
             dc.Rectangle(2, 2, 38, 28);
             dc.SelectObject(TPen(TColor(0, 255, 255), 4));
             dc.MoveTo(3, 25);
             dc.LineTo(36, 6);
         }},
        {"ellipse with pattern brush, xor",
         [](TDC& dc) {
             dc.SetROP2(R2_XORPEN);
             dc.SetTextColor(TColor(255, 0, 0));
             dc.SelectObject(TBrush(Checkerboard()));
             dc.Ellipse(4, 3, 33, 26);
         }},
        {"pattern inverted onto cells (PATINVERT)",
         [](TDC& dc) {
             dc.SetTextColor(TColor(255, 255, 0));
             dc.SetBkColor(TColor::Black);
             dc.SetBrushOrg({3, 0});
             dc.SelectObject(TBrush(Checkerboard()));
             dc.PatBlt(4, 4, 30, 20, PATINVERT);
         }},
        {"inverted band (DSTINVERT)", [](TDC& dc) { dc.PatBlt(10, 0, 5, 30, DSTINVERT); }},
        {"focus rectangle", [](TDC& dc) { dc.DrawFocusRect(TRect(6, 6, 31, 19)); }},
    };
    for (const Row& r : rows) {
        const QImage before = Busy(40, 30);
        QImage img = before;
        TDC dc(img);
        r.draw(dc);
        EXPECT_NE(img, before) << r.name << ": first drawing changed nothing";
        r.draw(dc);
        EXPECT_EQ(img, before) << r.name << ": second drawing did not restore the image";
    }
}

TEST(DcRasterOps, XorOutlineHitsEachBorderPixelOnce)
{
    QImage img = WhiteImage(12, 10);
    TDC dc(img);
    dc.SetROP2(R2_XORPEN);
    dc.SelectObject(TPen(TColor(0, 192, 255), 1));
    dc.SelectObject(TBrush());
    dc.Rectangle(1, 1, 9, 7);
    const TColor xored(255, 63, 0);  // white ^ (0, 192, 255)
    for (TPoint p : {TPoint(1, 1), TPoint(8, 1), TPoint(8, 6), TPoint(1, 6), TPoint(4, 1), TPoint(8, 3)})
        EXPECT_EQ(At(img, p.x, p.y), xored) << p.x << "," << p.y << " got " << Hex(At(img, p.x, p.y));
    EXPECT_EQ(At(img, 4, 3), TColor::White) << "hollow interior";
    EXPECT_EQ(Marked(img).size(), 24u);
}

TEST(DcRasterOps, MonochromePatternFollowsTextAndBackgroundColoursAndTheBrushOrigin)
{
    const TColor face(192, 192, 192), shadow(128, 128, 128);
    struct Row {
        const char* name;
        TPoint org;
        TPoint probe;
        TColor want;
    };
    // Rows of the pattern alternate 0x55 and 0xAA: bit 0 (text colour) at even x on even rows.
    const Row rows[] = {
        {"origin 0, first pixel is a 0 bit", {0, 0}, {0, 0}, face},
        {"origin 0, second pixel is a 1 bit", {0, 0}, {1, 0}, shadow},
        {"origin 0, next row starts with a 1 bit", {0, 0}, {0, 1}, shadow},
        {"origin 0, pattern repeats after 8", {0, 0}, {8, 8}, face},
        {"origin shifted by one", {1, 0}, {0, 0}, shadow},
        {"origin shifted by two", {2, 0}, {0, 0}, face},
        {"origin far away", {1001, 0}, {0, 0}, shadow},
        {"negative origin", {-3, 0}, {0, 0}, shadow},
        {"origin shifted down", {0, 1}, {0, 0}, shadow},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(16, 16);
        TDC dc(img);
        dc.SetTextColor(face);
        dc.SetBkColor(shadow);
        dc.SetBrushOrg(r.org);
        dc.FillRect(TRect(0, 0, 16, 16), TBrush(Checkerboard()));
        EXPECT_EQ(At(img, r.probe.x, r.probe.y), r.want) << r.name << " got " << Hex(At(img, r.probe.x, r.probe.y));
    }
}

TEST(DcRasterOps, ColourPatternAndHatchBrushes)
{
    std::vector<TColor> stripes(64);
    for (int i = 0; i < 64; ++i) stripes[i] = ((i % 8 + i / 8) % 4 < 2) ? TColor(255, 0, 0) : TColor::Black;
    QImage img = WhiteImage(16, 8);
    TDC dc(img);
    dc.SetTextColor(TColor(0, 255, 0));  // no effect on a colour pattern
    dc.SetBrushOrg({2, 0});
    dc.FillRect(TRect(0, 0, 16, 8), TBrush(TBitmap::FromPixels(8, 8, stripes)));
    EXPECT_EQ(At(img, 2, 0), TColor(255, 0, 0));  // pattern (0, 0)
    EXPECT_EQ(At(img, 4, 0), TColor::Black);      // pattern (2, 0)
    EXPECT_EQ(At(img, 0, 0), TColor::Black);      // pattern (6, 0)

    for (int mode : {TRANSPARENT, OPAQUE}) {
        QImage h = WhiteImage(8, 8);
        TDC hdc(h);
        hdc.SetBkMode(mode);
        hdc.SetBkColor(TColor(0, 0, 255));
        hdc.FillRect(TRect(0, 0, 8, 8), TBrush(TColor::Black, HS_HORIZONTAL));
        int black = 0, gap = 0;
        for (auto [x, y] : Marked(h)) (At(h, x, y) == TColor::Black ? black : gap)++;
        EXPECT_EQ(black, 8) << "one hatch line of the 8 x 8 cell";
        EXPECT_EQ(gap, mode == OPAQUE ? 56 : 0) << "mode " << mode;
    }
}

TEST(DcRasterOps, BlockTransfersCombineSourceAndDestinationBitwise)
{
    const TColor src(0xF0, 0x0F, 0xCC), dst(0x3C, 0xFF, 0x0A);
    struct Row {
        const char* name;
        std::uint32_t rop;
        TColor want;
    };
    const Row rows[] = {
        {"SRCCOPY", SRCCOPY, src},
        {"SRCINVERT", SRCINVERT, TColor(0xF0 ^ 0x3C, 0x0F ^ 0xFF, 0xCC ^ 0x0A)},
        {"SRCAND", SRCAND, TColor(0xF0 & 0x3C, 0x0F & 0xFF, 0xCC & 0x0A)},
        {"SRCPAINT", SRCPAINT, TColor(0xF0 | 0x3C, 0x0F | 0xFF, 0xCC | 0x0A)},
        {"NOTSRCCOPY", NOTSRCCOPY, TColor(0x0F, 0xF0, 0x33)},
        {"SRCERASE", SRCERASE, TColor(0xF0 & ~0x3C & 0xFF, 0x0F & 0x00, 0xCC & 0xF5)},
        {"DSTINVERT", DSTINVERT, TColor(0xC3, 0x00, 0xF5)},
        {"BLACKNESS", BLACKNESS, TColor::Black},
        {"WHITENESS", WHITENESS, TColor::White},
        // With a brush of (0x55, 0xAA, 0xFF): pattern AND source, pattern XOR destination.
        {"MERGECOPY", MERGECOPY, TColor(0xF0 & 0x55, 0x0F & 0xAA, 0xCC & 0xFF)},
        {"PATINVERT", PATINVERT, TColor(0x55 ^ 0x3C, 0xAA ^ 0xFF, 0xFF ^ 0x0A)},
        {"PATCOPY", PATCOPY, TColor(0x55, 0xAA, 0xFF)},
    };
    for (const Row& r : rows) {
        TBitmap source(6, 4);
        TMemoryDC mem(source);
        mem.FillRect(TRect(0, 0, 6, 4), TBrush(src));
        QImage img = WhiteImage(10, 8, qRgb(dst.Red(), dst.Green(), dst.Blue()));
        TDC dc(img);
        dc.SelectObject(TBrush(TColor(0x55, 0xAA, 0xFF)));
        dc.BitBlt(2, 3, 4, 2, mem, 1, 1, r.rop);
        EXPECT_EQ(At(img, 2, 3), r.want) << r.name << " got " << Hex(At(img, 2, 3));
        EXPECT_EQ(At(img, 5, 4), r.want) << r.name << " last pixel";
        EXPECT_EQ(At(img, 6, 4), dst) << r.name << " right of the block";
        EXPECT_EQ(At(img, 5, 5), dst) << r.name << " below the block";
    }
}

TEST(DcRasterOps, MonochromeAndColourConvertThroughTheDcColours)
{
    // A monochrome source: 0 bits take the destination's text colour, 1 bits its background.
    TBitmap mono = TBitmap::FromMonoBits(8, 1, {0xF0, 0x00});
    TMemoryDC mmem(mono);
    QImage img = WhiteImage(8, 1);
    TDC dc(img);
    dc.SetTextColor(TColor(255, 0, 0));
    dc.SetBkColor(TColor(0, 0, 255));
    dc.BitBlt(0, 0, 8, 1, mmem, 0, 0, SRCCOPY);
    EXPECT_EQ(At(img, 0, 0), TColor(0, 0, 255));
    EXPECT_EQ(At(img, 7, 0), TColor(255, 0, 0));

    // A colour source into a monochrome bitmap: the source's background colour becomes white.
    QImage colour = WhiteImage(4, 1);
    colour.setPixel(1, 0, qRgb(0, 128, 0));
    colour.setPixel(2, 0, qRgb(250, 250, 250));
    TDC cdc(colour);
    cdc.SetBkColor(TColor(0, 128, 0));
    TBitmap target(4, 1, true);
    TMemoryDC tmem(target);
    tmem.BitBlt(0, 0, 4, 1, cdc, 0, 0, SRCCOPY);
    EXPECT_EQ(target.GetPixel(0, 0), TColor::Black);
    EXPECT_EQ(target.GetPixel(1, 0), TColor::White);
    EXPECT_EQ(target.GetPixel(2, 0), TColor::Black) << "only the exact background colour turns white";
}

TEST(DcRasterOps, SaveUnderCopyRestoresTheWindow)
{
    const QImage before = Busy(40, 30);
    QImage window = before;
    TDC dc(window);
    TMemoryDC save(dc);
    save.SelectObject(CreateCompatibleBitmap(dc, 40, 4));
    save.BitBlt(0, 0, 36, 4, dc, 2, 5, SRCCOPY);
    dc.FillRect(TRect(2, 5, 38, 9), TBrush(TColor::Black));
    dc.BitBlt(2, 5, 36, 4, save, 0, 0, SRCCOPY);
    EXPECT_EQ(window, before);
}

TEST(DcRasterOps, OverlappingCopyInOneImageScrollsWithoutSmearing)
{
    QImage img = Busy(20, 4);
    const QImage before = img;
    TDC dc(img);
    dc.BitBlt(3, 0, 17, 4, dc, 0, 0, SRCCOPY);  // content moves 3 to the right
    for (int x = 3; x < 20; ++x)
        for (int y = 0; y < 4; ++y) ASSERT_EQ(img.pixel(x, y), before.pixel(x - 3, y)) << x << "," << y;
}

TEST(DcRasterOps, StretchBltScalesAndMirrors)
{
    TBitmap src = TBitmap::FromPixels(2, 1, {TColor(255, 0, 0), TColor(0, 0, 255)});
    TMemoryDC mem(src);
    QImage img = WhiteImage(8, 4);
    TDC dc(img);
    dc.StretchBlt(0, 0, 4, 2, mem, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(At(img, 0, 0), TColor(255, 0, 0));
    EXPECT_EQ(At(img, 1, 1), TColor(255, 0, 0));
    EXPECT_EQ(At(img, 2, 0), TColor(0, 0, 255));
    EXPECT_EQ(At(img, 3, 1), TColor(0, 0, 255));
    EXPECT_EQ(At(img, 4, 0), TColor::White);
    // A negative destination width mirrors: the block ends at x = 8.
    dc.StretchBlt(8, 2, -4, 2, mem, 0, 0, 2, 1, SRCCOPY);
    EXPECT_EQ(At(img, 7, 2), TColor(255, 0, 0));
    EXPECT_EQ(At(img, 4, 3), TColor(0, 0, 255));
}

TEST(DcRasterOps, DrawingIntoAMonochromeBitmapKeepsBlackAndWhite)
{
    TBitmap mask(8, 4, true);
    TMemoryDC mem(mask);
    mem.FillRect(TRect(0, 0, 8, 4), TBrush(TColor(200, 200, 200)));
    mem.FillRect(TRect(0, 0, 4, 4), TBrush(TColor(100, 0, 0)));
    EXPECT_EQ(mask.GetPixel(5, 1), TColor::White);
    EXPECT_EQ(mask.GetPixel(1, 1), TColor::Black);
    EXPECT_EQ(mem.GetDeviceCaps(BITSPIXEL), 1);
}

}  // namespace
}  // namespace vyn
