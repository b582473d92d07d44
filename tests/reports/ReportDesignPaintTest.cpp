// Design-time painting of a report in the designer: each object kind from its layout, the
// selection handles, the band title bars and bodies, a graph's designer picture and the texts
// it shows instead, and a metafile picture played in the designer and on a printed page.
#include <gtest/gtest.h>

#include <QImage>

#include <memory>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "WmfFixture.h"
#include "platform/gui/Dc.h"
#include "reports/IRepView.h"
#include "reports/paint/RPDesignPainter.h"
#include "reports/paint/RPInstPainting.h"
#include "reports/paint/RPPagePainter.h"

namespace vyn {
namespace {

using test::Add;

// A designer view at 96 pixels per inch, not scrolled, 800 pixels wide.
class FakeView : public IRepView {
public:
    int RepUnitsToPixelsX(int t, int org) const override { return (t * 96 + 720) / 1440 + org; }
    int RepUnitsToPixelsY(int t, int org) const override { return (t * 96 + 720) / 1440 + org; }
    int ScreenPpiX() const override { return 96; }
    int ScreenPpiY() const override { return 96; }
    void SetModified() override {}
    bool SetReportWidth(int) override { return false; }
    bool RefreshSection(RPSection&, int) override { return false; }
    bool RefreshAllSections() override { return false; }
    void MoveObjectBy(RPObject&, int, int) override {}
    void ResizeObjectBy(RPObject&, bool, bool, int, int) override {}
    void InvalidateClient(const TRect&) override {}
    int ScrollX() const override { return 0; }
    int ScrollY() const override { return 0; }
    int ClientWidth() const override { return 800; }
    bool SnapToGrid() const override { return false; }
    bool ShowGrid() const override { return showGrid; }
    const std::vector<RPObject*>& Selection() const override { return selection; }
    bool showGrid = false;
    std::vector<RPObject*> selection;
};

// Only the detail band, 3 inches high; its body starts at the title bar's height.
struct Designer : ::testing::Test {
    Designer() : image(800, 600, QImage::Format_RGB32)
    {
        for (int i : {0, 1, 3, 4}) report.Band(i).SetEnabled(false);
        report.Detail().StoreHeight(4320);
        report.AttachView(&view);
    }
    template <class T>
    T* Object(int left, int top, int width, int height)
    {
        return Add<T>(report, bandDetail, left, top, width, height);
    }
    void Paint()
    {
        report.UpdatePixelWidth();
        report.Detail().Place(0);
        image.fill(Qt::white);
        TDC dc(image);
        PaintLayout(dc, report, TRect(0, 0, 800, 600));
    }
    std::uint32_t Pixel(int x, int y) const { return image.pixel(x, y + body) & 0xFFFFFF; }  // band coordinates
    int Count(std::uint32_t c) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == c;
        return n;
    }
    const int body = gRepMetrics.titleHeight;
    FakeView view;
    RPReport report;
    QImage image;
};

TEST_F(Designer, BandTitleBodyAndPaperEdge)
{
    report.Detail().StoreBack(0x00FFFF);
    Paint();
    EXPECT_EQ(image.pixel(300, 0) & 0xFFFFFF, 0xFFFFFFu) << "white line on top of the title bar";
    EXPECT_EQ(image.pixel(300, 5) & 0xFFFFFF, 0xC0C0C0u) << "title bar";
    EXPECT_EQ(image.pixel(300, body - 1) & 0xFFFFFF, 0x808080u) << "its last row";
    EXPECT_EQ(Pixel(300, 20), 0xFFFF00u) << "band background left of the report width (yellow)";
    EXPECT_EQ(Pixel(576, 20), 0u) << "line at the report width (6 inches)";
    EXPECT_EQ(Pixel(700, 20), 0xC0C0C0u) << "grey beyond it";
    EXPECT_EQ(Pixel(300, 288), 0u) << "line at the body's bottom";
    EXPECT_EQ(image.pixel(300, body + 300) & 0xFFFFFF, 0xC0C0C0u) << "grey below the last band";
}

TEST_F(Designer, EachKindFromItsLayout)
{
    auto* rect = Object<RPObjectRectangle>(0, 0, 1440, 720);  // 96 x 48 pixels at (0, 0)
    rect->StoreStyles(1, 2, 0, 1);
    rect->StoreColours(0x0000FF, 0xFF0000, 0);  // red border, blue inside
    auto* line = Object<RPObjectLine>(1440 * 2, 0, 1440, 1440);
    line->StoreColours(0x00FF00, 0, 0);
    auto* text = Object<RPObjectTextBox>(0, 1440, 2880, 720);
    text->StoreContents("Hello designer");
    Object<RPObjectPgBreak>(0, 2880, 720, 0);
    auto* clear = Object<RPObjectRectangle>(1440 * 4, 0, 720, 720);
    clear->StoreStyles(0, 0, 0, 0);
    Paint();
    // Image pixels are 0x00RRGGBB.
    EXPECT_EQ(Pixel(48, 24), 0x0000FFu) << "opaque rectangle inside";
    EXPECT_EQ(Pixel(1, 24), 0xFF0000u) << "its 2-point border ring";
    EXPECT_EQ(Pixel(192 + 48, 48), 0x00FF00u) << "falling line through the middle of its box";
    EXPECT_NE(Pixel(192 + 48, 10), 0x00FF00u) << "not above the diagonal";
    int dark = 0;
    for (int y = 96; y < 96 + 48; ++y)
        for (int x = 0; x < 192; ++x) dark += (Pixel(x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 20) << "the text box shows its text";
    EXPECT_EQ(Pixel(1, 191), 0xFF0000u) << "page break: red dash above";
    EXPECT_EQ(Pixel(5, 191), 0x0000FFu) << "then blue";
    EXPECT_EQ(Pixel(20, 192), 0u) << "black line";
    EXPECT_EQ(Pixel(384, 10), 0xC0C0C0u) << "a clear border is outlined light grey while designing";
}

TEST_F(Designer, HandlesOfASelectedObjectAreInverted)
{
    auto* rect = Object<RPObjectRectangle>(1440, 1440, 1440, 1440);  // (96, 96) 96 x 96
    Paint();
    const QImage plain = image.copy();
    rect->ToggleSelect();
    Paint();
    const RPPixelGeometry& g = rect->Pixels();
    auto inverted = [&](int x, int y) {
        return (image.pixel(x, y + body) & 0xFFFFFF) == (~plain.pixel(x, y + body) & 0xFFFFFF);
    };
    EXPECT_TRUE(inverted(g.anchor.left + 1, g.anchor.top + 1)) << "anchor";
    EXPECT_TRUE(inverted(g.colR0, g.rowB0)) << "bottom-right";
    EXPECT_TRUE(inverted(g.colC0 + 1, g.rowT0)) << "top-middle";
    EXPECT_TRUE(inverted(g.colR0, g.rowM0 + 1)) << "right-middle";
    EXPECT_FALSE(inverted(g.colC0 + 1, g.rowM0 + 1)) << "no handle in the centre";
}

TEST_F(Designer, GraphPictureAndItsMessages)
{
    auto* g = Object<RPObjectGraph>(0, 0, 4320, 2880);
    g->SetRGBCurve(0x0000FF);
    g->SetDrawGrid(1);
    Paint();
    EXPECT_TRUE(g->Message().empty());
    const RPGraphLayout& L = g->LayoutCache();
    EXPECT_GT(Count(0xFF0000), 30) << "the sample curve (red)";
    EXPECT_EQ(Pixel((L.left + L.right) / 2, L.bottom), 0u) << "x axis along the frame's bottom";
    EXPECT_EQ(Pixel(L.left, (L.top + L.bottom) / 2), 0u) << "y axis along its left";
    EXPECT_EQ(Pixel(L.right, (L.top + L.bottom) / 2), 0u) << "automatic axes reach 100 at the frame's right: grid line";

    struct Row {
        const char* name;
        int width;
        RPAxisSpec x;
        const char* message;
    };
    RPAxisSpec equal, logNeg;
    equal.Set(1, 0, 1, 5, 5, 1);
    logNeg.Set(1, 1, 9, -5, -1, NoValue);
    const Row rows[] = {
        {"inner rectangle narrower than 5 pixels", 60, DefaultAxisSpec(), "small"},
        {"fixed axis with equal limits", 4320, equal, "X-ERROR"},
        {"log axis over negative limits", 4320, logNeg, "X-ERROR"},
    };
    for (const Row& r : rows) {
        g->PlaceTwips(0, 0, r.width, 2880);
        g->SetAxisX(RPAxisSpec());
        if (r.x.kind >= 0) g->SetAxisX(r.x);
        Paint();
        EXPECT_EQ(g->Message(), r.message) << r.name;
        EXPECT_EQ(Count(0xFF0000), 0) << r.name << ": no curve";
    }
}

TEST_F(Designer, PicturePlayedInItsBox)
{
    auto pic = std::make_unique<RPObjectPicture>();
    ASSERT_EQ(pic->LoadFromFileBytes(test::GreenRectangleWmf()), 0);
    EXPECT_EQ(pic->ExtentX(), 2540);
    EXPECT_EQ(pic->GetWidth(), 1440);
    EXPECT_NE(RPObjectPicture().LoadFromFileBytes(test::GreenRectangleWmf(false)), 0) << "wrong checksum";
    pic->PlaceTwips(0, 0, 2880, 2880);  // 192 x 192 pixels; the picture is 2:1
    pic->SetSizeMode(0);
    report.Detail().AddObject(std::move(pic));
    Paint();
    EXPECT_EQ(Pixel(180, 40), 0x00FF00u) << "zoom fills the width";
    EXPECT_NE(Pixel(100, 150), 0x00FF00u) << "and half the height";
}

TEST(ReportPicture, PrintedAtItsNaturalSizeInClipMode)
{
    RPReport r;
    for (int i : {0, 1, 3, 4}) r.Band(i).SetEnabled(false);
    r.Detail().StoreHeight(2880);
    auto* pic = Add<RPObjectPicture>(r, bandDetail, 0, 0, 2880, 2880);
    ASSERT_EQ(pic->LoadFromFileBytes(test::GreenRectangleWmf()), 0);
    pic->PlaceTwips(0, 0, 2880, 2880);
    pic->SetSizeMode(2);
    GetRPRunShell().fakeSamples = [](int& f, int& s) {
        f = 0;
        s = 1;
    };
    QImage image(400, 400, QImage::Format_RGB32);
    image.fill(Qt::white);
    r.Print().dpiX = r.Print().dpiY = 100;
    r.Print().pageRect = TRect(0, 0, 400, 400);
    r.Paginate();
    GetRPRunShell().fakeSamples = nullptr;
    ASSERT_GE(r.Print().pageCount, 1);
    TDC dc(image);
    PaintReportPage(r, 1, dc);
    // One inch wide and half an inch high at 100 units per inch.
    EXPECT_EQ(image.pixel(95, 45) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(image.pixel(110, 20) & 0xFFFFFF, 0x00FF00u);
    EXPECT_NE(image.pixel(50, 60) & 0xFFFFFF, 0x00FF00u);
}

TEST(ReportPicture, SizeModes)
{
    struct Row {
        const char* name;
        int mode;
        TSize box;
        TSize expected;
    };
    // A picture of 2 x 1 inches at 100 units per inch.
    const Row rows[] = {
        {"zoom into a square fills the width", 0, {100, 100}, {100, 50}},
        {"zoom into a flat box fills the height", 0, {300, 100}, {200, 100}},
        {"stretch takes the box", 1, {100, 100}, {100, 100}},
        {"clip takes the natural size", 2, {50, 50}, {200, 100}},
    };
    for (const Row& r : rows) EXPECT_EQ(PictureDrawSize(r.mode, r.box, 5080, 2540, 100, 100), r.expected) << r.name;
}

}  // namespace
}  // namespace vyn
