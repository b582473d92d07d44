// Lines and shapes on a retained image: which pixels a GDI-style call touches.
#include <gtest/gtest.h>

#include "DcTestUtil.h"

namespace vyn {
namespace {

using test::At;
using test::BoxOf;
using test::Marked;
using test::WhiteImage;
using Pixels = std::set<std::pair<int, int>>;

Pixels StraightRun(int x0, int y0, int x1, int y1)
{
    Pixels p;
    const int n = std::max(std::abs(x1 - x0), std::abs(y1 - y0));
    for (int i = 0; i < n; ++i)
        p.insert({x0 + (x1 > x0) * i - (x1 < x0) * i, y0 + (y1 > y0) * i - (y1 < y0) * i});
    return p;
}

TEST(DcLines, LineLeavesOutItsEndPoint)
{
    struct Row {
        const char* name;
        TPoint a, b;
        Pixels expected;
    };
    const Row rows[] = {
        {"rightwards", {2, 5}, {9, 5}, StraightRun(2, 5, 9, 5)},
        {"leftwards", {9, 5}, {2, 5}, StraightRun(9, 5, 2, 5)},
        {"downwards", {4, 1}, {4, 7}, StraightRun(4, 1, 4, 7)},
        {"upwards", {4, 7}, {4, 1}, StraightRun(4, 7, 4, 1)},
        {"diagonal", {1, 1}, {6, 6}, StraightRun(1, 1, 6, 6)},
        {"anti-diagonal", {8, 1}, {3, 6}, StraightRun(8, 1, 3, 6)},
        {"zero length", {5, 5}, {5, 5}, {}},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(12, 12);
        TDC dc(img);
        dc.MoveTo(r.a);
        dc.LineTo(r.b);
        EXPECT_EQ(Marked(img), r.expected) << r.name;
        EXPECT_EQ(dc.GetCurrentPosition(), r.b) << r.name;
    }
}

TEST(DcLines, ShallowLineStepsOncePerColumnAndStopsShortOfTheEnd)
{
    QImage img = WhiteImage(14, 6);
    TDC dc(img);
    dc.MoveTo(0, 0);
    dc.LineTo(10, 3);
    const Pixels px = Marked(img);
    EXPECT_EQ(px.size(), 10u);
    EXPECT_TRUE(px.count({0, 0}));
    EXPECT_FALSE(px.count({10, 3}));
    std::set<int> columns;
    for (auto [x, y] : px) columns.insert(x);
    EXPECT_EQ(columns.size(), 10u) << "one pixel per column";
}

TEST(DcLines, PolylineDrawsEveryVertexOnceAndLeavesOutTheLastPoint)
{
    QImage img = WhiteImage(12, 12);
    TDC dc(img);
    dc.SetROP2(R2_NOT);  // a pixel drawn twice would come back white
    const std::vector<TPoint> pts = {{1, 1}, {8, 1}, {8, 8}, {1, 8}, {1, 1}};
    dc.Polyline(pts);
    Pixels expected;
    for (int i = 1; i < 8; ++i) expected.insert({i, 1}), expected.insert({8, i}), expected.insert({i + 1, 8}),
        expected.insert({1, i + 1});
    EXPECT_EQ(Marked(img), expected);
}

TEST(DcLines, DashedPenLeavesGapsOrFillsThemWithTheBackgroundColour)
{
    for (int mode : {TRANSPARENT, OPAQUE}) {
        QImage img = WhiteImage(14, 3);
        TDC dc(img);
        dc.SelectObject(TPen(TColor::Black, 1, PS_DOT));
        dc.SetBkMode(mode);
        dc.SetBkColor(TColor(255, 0, 0));
        dc.MoveTo(0, 1);
        dc.LineTo(12, 1);
        for (int x = 0; x < 12; ++x) {
            const bool on = (x / 3) % 2 == 0;  // dots of three, gaps of three
            const TColor want = on ? TColor::Black : mode == OPAQUE ? TColor(255, 0, 0) : TColor::White;
            EXPECT_EQ(At(img, x, 1), want) << "mode " << mode << " x " << x;
        }
        EXPECT_EQ(At(img, 12, 1), TColor::White) << "end point";
    }
}

TEST(DcShapes, RectangleOutlineAndInteriorStopBeforeRightAndBottom)
{
    QImage img = WhiteImage(12, 10);
    TDC dc(img);
    const TColor grey(128, 128, 128);
    dc.SelectObject(TBrush(grey));
    dc.Rectangle(2, 2, 7, 6);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            const bool inBox = x >= 2 && x < 7 && y >= 2 && y < 6;
            const bool border = inBox && (x == 2 || x == 6 || y == 2 || y == 5);
            const TColor want = border ? TColor::Black : inBox ? grey : TColor::White;
            ASSERT_EQ(At(img, x, y), want) << "pixel " << x << "," << y;
        }
}

TEST(DcShapes, FillsAndFramesCoverExactlyTheirRectangle)
{
    struct Row {
        const char* name;
        void (*draw)(TDC&);
        Pixels expected;
    };
    auto area = [](int l, int t, int r, int b) {
        Pixels p;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) p.insert({x, y});
        return p;
    };
    Pixels frame = area(2, 2, 7, 6);
    for (auto it = frame.begin(); it != frame.end();)
        it = (it->first > 2 && it->first < 6 && it->second > 2 && it->second < 5) ? frame.erase(it) : std::next(it);
    const Row rows[] = {
        {"FillRect", [](TDC& dc) { dc.FillRect(TRect(2, 2, 7, 6), TBrush(TColor::Black)); }, area(2, 2, 7, 6)},
        {"PatBlt", [](TDC& dc) { dc.SelectObject(TBrush(TColor::Black)); dc.PatBlt(2, 2, 5, 4); }, area(2, 2, 7, 6)},
        {"FrameRect", [](TDC& dc) { dc.FrameRect(TRect(2, 2, 7, 6), TBrush(TColor::Black)); }, frame},
        {"InvertRect", [](TDC& dc) { dc.InvertRect(TRect(2, 2, 7, 6)); }, area(2, 2, 7, 6)},
        // Without a pen the interior alone is drawn, one pixel smaller to the right and below.
        {"Rectangle without pen",
         [](TDC& dc) {
             dc.SelectStockObject(NULL_PEN);
             dc.SelectObject(TBrush(TColor::Black));
             dc.Rectangle(2, 2, 7, 6);
         },
         area(2, 2, 6, 5)},
        {"Polygon without pen",
         [](TDC& dc) {
             dc.SelectStockObject(NULL_PEN);
             dc.SelectObject(TBrush(TColor::Black));
             dc.Polygon(std::vector<TPoint>{{2, 2}, {7, 2}, {7, 6}, {2, 6}});
         },
         area(2, 2, 7, 6)},
        {"reversed corners", [](TDC& dc) { dc.FillRect(TRect(7, 6, 2, 2), TBrush(TColor::Black)); }, area(2, 2, 7, 6)},
        {"empty rectangle", [](TDC& dc) { dc.Rectangle(4, 4, 4, 9); }, {}},
        {"hollow brush", [](TDC& dc) { dc.FillRect(TRect(2, 2, 7, 6), TBrush()); }, {}},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(12, 10);
        TDC dc(img);
        r.draw(dc);
        EXPECT_EQ(Marked(img), r.expected) << r.name;
    }
}

TEST(DcShapes, EllipseAndRoundRectStayInsideTheirBox)
{
    for (bool round : {false, true}) {
        QImage img = WhiteImage(30, 24);
        TDC dc(img);
        dc.SelectObject(TBrush(TColor(0, 0, 255)));
        if (round) dc.RoundRect(3, 4, 23, 18, 6, 6);
        else dc.Ellipse(3, 4, 23, 18);
        EXPECT_EQ(BoxOf(Marked(img)), TRect(3, 4, 23, 18)) << (round ? "round rect" : "ellipse");
        EXPECT_EQ(At(img, 13, 11), TColor(0, 0, 255)) << "interior takes the brush";
        EXPECT_EQ(At(img, 3, 11), TColor::Black) << "outline on the left edge";
        EXPECT_EQ(At(img, 22, 11), TColor::Black) << "outline on the last column inside";
        EXPECT_EQ(At(img, 3, 4), TColor::White) << "corner left out";
    }
}

TEST(DcShapes, WidePenIsCentredOnTheEdge)
{
    QImage img = WhiteImage(16, 14);
    TDC dc(img);
    dc.SelectObject(TPen(TColor::Black, 3));
    dc.SelectObject(TBrush(TColor(0, 255, 0)));
    dc.Rectangle(2, 2, 12, 10);
    EXPECT_EQ(BoxOf(Marked(img)), TRect(1, 1, 13, 11));
    EXPECT_EQ(At(img, 3, 3), TColor::Black);
    EXPECT_EQ(At(img, 4, 4), TColor(0, 255, 0));
    EXPECT_EQ(At(img, 9, 7), TColor(0, 255, 0));
    EXPECT_EQ(At(img, 10, 8), TColor::Black);
}

TEST(DcShapes, SetPixelAndGetPixelAnswerOutsideTheSurface)
{
    QImage img = WhiteImage(4, 4);
    TDC dc(img);
    EXPECT_EQ(dc.SetPixel(1, 2, TColor(1, 2, 3)), TColor(1, 2, 3));
    EXPECT_EQ(dc.GetPixel(1, 2), TColor(1, 2, 3));
    EXPECT_EQ(dc.SetPixel(4, 0, TColor::Black), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(-1, 0), CLR_INVALID);
    EXPECT_EQ(dc.GetPixel(0, 4), CLR_INVALID);
    // A line far longer than the surface draws only what falls on it.
    dc.MoveTo(-100000000, 1);
    dc.LineTo(100000000, 1);
    EXPECT_EQ(Marked(img).size(), 5u);
}

}  // namespace
}  // namespace vyn
