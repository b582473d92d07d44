// Mapping modes, clipping and saved states.
#include <gtest/gtest.h>

#include <QPdfWriter>
#include <QTemporaryDir>

#include "DcTestUtil.h"

namespace vyn {
namespace {

using test::At;
using test::BoxOf;
using test::Marked;
using test::WhiteImage;

TEST(DcMapping, ModesMapLogicalPointsOntoPixels)
{
    struct Row {
        const char* name;
        int mode;
        TSize wExt, vExt;
        TPoint wOrg, vOrg;
        TPoint logical, device;
    };
    const Row rows[] = {
        {"text", MM_TEXT, {}, {}, {0, 0}, {0, 0}, {7, -3}, {7, -3}},
        {"text with origins", MM_TEXT, {}, {}, {-20, 5}, {3, 4}, {7, 10}, {30, 9}},
        {"anisotropic page to window", MM_ANISOTROPIC, {4800, 6400}, {300, 200}, {0, 0}, {0, 0}, {4800, 3200}, {300, 100}},
        {"anisotropic rounds to nearest", MM_ANISOTROPIC, {3, 3}, {1, 1}, {0, 0}, {0, 0}, {2, -2}, {1, -1}},
        {"anisotropic with origins", MM_ANISOTROPIC, {10, 10}, {20, 40}, {5, 5}, {100, 0}, {6, 6}, {102, 4}},
        {"twips, y upwards", MM_TWIPS, {}, {}, {0, 0}, {0, 0}, {1440, -720}, {96, 48}},
        {"low metric", MM_LOMETRIC, {}, {}, {0, 0}, {0, 0}, {254, -508}, {96, 192}},
        {"isotropic keeps units square", MM_ISOTROPIC, {100, 100}, {200, 100}, {0, 0}, {0, 0}, {100, 100}, {100, 100}},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(4, 4);
        TDC dc(img);
        dc.SetMapMode(r.mode);
        if (r.wExt.cx) dc.SetWindowExt(r.wExt);
        if (r.vExt.cx) dc.SetViewportExt(r.vExt);
        dc.SetWindowOrg(r.wOrg);
        dc.SetViewportOrg(r.vOrg);
        TPoint p = r.logical;
        dc.LPtoDP(&p);
        EXPECT_EQ(p, r.device) << r.name << " got " << p.x << "," << p.y;
    }
}

TEST(DcMapping, DeviceToLogicalAndBackIsExactWhenLogicalUnitsAreFiner)
{
    QImage img = WhiteImage(4, 4);
    TDC dc(img);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt({4961, 7016});  // an A4 page at 600 dpi onto a preview window
    dc.SetViewportExt({421, 595});
    dc.SetViewportOrg({-37, 12});
    for (int y = -50; y < 700; y += 7)
        for (int x = -50; x < 500; x += 3) {
            TPoint p(x, y);
            dc.DPtoLP(&p);
            dc.LPtoDP(&p);
            ASSERT_EQ(p, TPoint(x, y)) << "device point " << x << "," << y;
        }
}

TEST(DcMapping, ShapesAndFontsScaleWithTheMapping)
{
    QImage img = WhiteImage(120, 120);
    TDC dc(img);
    dc.SetMapMode(MM_ANISOTROPIC);
    dc.SetWindowExt({1000, 1000});
    dc.SetViewportExt({100, 50});
    dc.FillRect(TRect(0, 0, 1000, 1000), TBrush(TColor::Black));
    EXPECT_EQ(BoxOf(Marked(img)), TRect(0, 0, 100, 50));

    // A font of 200 logical units is 10 pixels (em) on the device. Liberation Sans gives it an
    // ascent of 0.905 em and a descent of 0.212 em (9 + 2 pixels) and the digit an advance of
    // 0.556 em (6 pixels); measured back in logical units that is 11 x 20 and 6 x 10.
    dc.SelectObject(TFont("Arial", -200));
    const TTextMetric tm = dc.GetTextMetrics();
    EXPECT_EQ(tm.tmHeight, 220);
    int w = 0;
    dc.GetCharWidth('0', '0', &w);
    EXPECT_EQ(w, 60);
    EXPECT_EQ(dc.GetTextExtent("00").cx, 120);
}

TEST(DcClip, ClipRectanglesRegionsAndTheirBox)
{
    struct Row {
        const char* name;
        void (*clip)(TDC&);
        int painted;
        TRect box;
    };
    const Row rows[] = {
        {"intersect", [](TDC& dc) { dc.IntersectClipRect(TRect(2, 3, 6, 5)); }, 8, TRect(2, 3, 6, 5)},
        {"intersect twice", [](TDC& dc) { dc.IntersectClipRect(TRect(2, 3, 6, 5)); dc.IntersectClipRect(TRect(4, 0, 9, 9)); }, 4, TRect(4, 3, 6, 5)},
        {"exclude", [](TDC& dc) { dc.ExcludeClipRect(TRect(0, 0, 10, 9)); }, 10, TRect(0, 9, 10, 10)},
        {"region of two rectangles",
         [](TDC& dc) {
             TRegion r(TRect(0, 0, 2, 2));
             r |= TRect(8, 8, 10, 10);
             dc.SelectClipRgn(r);
         },
         8, TRect(0, 0, 10, 10)},
        {"region removed", [](TDC& dc) { dc.SelectClipRgn(TRegion(TRect(0, 0, 1, 1))); dc.SelectClipRgn(nullptr); }, 100, TRect(0, 0, 10, 10)},
        {"empty region", [](TDC& dc) { dc.SelectClipRgn(TRegion()); }, 0, TRect()},
        {"logical rectangle under a mapping",
         [](TDC& dc) {
             dc.SetMapMode(MM_ANISOTROPIC);
             dc.SetWindowExt({2, 2});
             dc.SetViewportExt({1, 1});
             dc.IntersectClipRect(TRect(4, 4, 8, 8));
             dc.SetMapMode(MM_TEXT);
         },
         4, TRect(2, 2, 4, 4)},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(10, 10);
        TDC dc(img);
        r.clip(dc);
        TRect box;
        dc.GetClipBox(box);
        EXPECT_EQ(box, r.box) << r.name;
        dc.FillRect(TRect(-5, -5, 20, 20), TBrush(TColor::Black));
        EXPECT_EQ(static_cast<int>(Marked(img).size()), r.painted) << r.name;
        for (auto [x, y] : Marked(img)) EXPECT_TRUE(box.Contains({x, y})) << r.name << " at " << x << "," << y;
    }
}

TEST(DcClip, TextAndBlocksRespectTheClip)
{
    QImage img = WhiteImage(60, 30);
    TDC dc(img);
    dc.IntersectClipRect(TRect(10, 0, 20, 30));
    dc.SetBkColor(TColor(0, 0, 255));
    dc.TextOut(0, 0, "WWWWWWWWWW");
    dc.PatBlt(0, 20, 60, 5, DSTINVERT);
    const TRect box = BoxOf(Marked(img));
    EXPECT_GE(box.left, 10);
    EXPECT_LE(box.right, 20);
}

TEST(DcState, RestoreDcBringsBackObjectsColoursMappingAndClip)
{
    QImage img = WhiteImage(10, 10);
    TDC dc(img);
    dc.SetTextColor(TColor(1, 1, 1));
    const int first = dc.SaveDC();
    EXPECT_EQ(first, 1);
    dc.SetTextColor(TColor(2, 2, 2));
    dc.SelectObject(TPen(TColor(255, 0, 0), 3));
    dc.SetMapMode(MM_TWIPS);
    dc.SetViewportOrg({5, 5});
    dc.IntersectClipRect(TRect(0, 0, 1, 1));
    dc.SetROP2(R2_XORPEN);
    EXPECT_EQ(dc.SaveDC(), 2);
    dc.SetTextColor(TColor(3, 3, 3));
    EXPECT_EQ(dc.SaveDC(), 3);

    EXPECT_TRUE(dc.RestoreDC(-1));  // back to the third setting
    EXPECT_EQ(dc.GetTextColor(), TColor(3, 3, 3));
    EXPECT_TRUE(dc.RestoreDC(first));  // drops the later save too
    EXPECT_EQ(dc.GetTextColor(), TColor(1, 1, 1));
    EXPECT_EQ(dc.GetPen(), GetStockPen(BLACK_PEN));
    EXPECT_EQ(dc.GetMapMode(), MM_TEXT);
    EXPECT_EQ(dc.GetViewportOrg(), TPoint());
    EXPECT_EQ(dc.GetROP2(), R2_COPYPEN);
    TRect box;
    EXPECT_EQ(dc.GetClipBox(box), SIMPLEREGION);
    EXPECT_EQ(box, TRect(0, 0, 10, 10));
    EXPECT_FALSE(dc.RestoreDC(-1)) << "nothing left to restore";
    EXPECT_FALSE(dc.RestoreDC(5));
}

TEST(DcState, SelectObjectReturnsThePreviousAndRestoreGoesBackToTheStart)
{
    QImage img = WhiteImage(4, 4);
    TDC dc(img);
    const TPen red(TColor(255, 0, 0));
    EXPECT_EQ(dc.SelectObject(red), GetStockPen(BLACK_PEN));
    EXPECT_EQ(dc.SelectObject(GetStockPen(WHITE_PEN)), red);
    const TFont f("Arial", -20);
    dc.SelectObject(f);
    EXPECT_EQ(dc.SelectObject(TFont()), f);
    dc.RestoreObjects();
    EXPECT_EQ(dc.GetPen(), GetStockPen(BLACK_PEN));
    EXPECT_EQ(dc.GetFont(), GetStockFont(SYSTEM_FONT));
    EXPECT_EQ(dc.GetBrush(), GetStockBrush(WHITE_BRUSH));
}

TEST(DcDevice, CapsOfImagesAndPrinters)
{
    QImage img = WhiteImage(640, 480);
    TDC dc(img);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 640);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 480);

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("page.pdf");
    {
        QPdfWriter pdf(path);
        pdf.setResolution(600);
        TDC pdc(&pdf);
        EXPECT_EQ(pdc.GetDeviceCaps(LOGPIXELSY), 600);
        EXPECT_GT(pdc.GetDeviceCaps(HORZRES), 4000);
        EXPECT_GE(pdc.GetDeviceCaps(PHYSICALWIDTH), pdc.GetDeviceCaps(HORZRES));
        // The same calls as on the screen; raster operations fall back to copies.
        pdc.SelectObject(TFont("Arial", -100));
        pdc.TextOut(600, 600, "Page 1");
        pdc.Rectangle(600, 800, 3000, 1600);
        pdc.SetROP2(R2_NOT);
        pdc.MoveTo(0, 0);
        pdc.LineTo(1000, 1000);
        TBitmap bm(10, 10);
        pdc.DrawBitmap(100, 100, bm);
        EXPECT_EQ(pdc.GetPixel(0, 0), CLR_INVALID);
    }
    EXPECT_GT(QFileInfo(path).size(), 500);
}

TEST(DcDevice, PngSnapshotIsWrittenWholeOrNotAtAll)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage img = WhiteImage(8, 6);
    TDC dc(img);
    dc.FillRect(TRect(1, 1, 4, 4), TBrush(TColor(10, 20, 30)));
    const std::string path = dir.filePath("shot.png").toStdString();
    ASSERT_TRUE(dc.SavePng(path));
    QImage back(QString::fromStdString(path));
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), img);
    EXPECT_FALSE(dc.SavePng(dir.filePath("missing/shot.png").toStdString()));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
}

}  // namespace
}  // namespace vyn
