// The view's mouse: selecting by click, Shift+click and rubber band; moving and resizing with
// the handles (the model's twips after each); band borders and the report edge; the
// exclusive-or feedback leaving the image exactly as it was.
#include <gtest/gtest.h>

#include <QImage>

#include <vector>

#include "DesignerFixture.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn::test {
namespace {

// A 1-inch text box at (1, 0.25) inches and a rectangle at (3, 0.5) inches, both in the detail.
struct TwoObjects : DesignerFixture {
    RPObject* box = Add(bandDetail, otTextBox, 1440, 360, 1440, 360);
    RPObject* rect = Add(bandDetail, otRectangle, 4320, 720, 720, 360);
    RPObject* head = Add(bandReportHeader, otRectangle, 1440, 90, 720, 360);
    explicit TwoObjects(int width = 900, int height = 760) : DesignerFixture(width, height) { view->UpdateWindow(); }
    // A point on an object's top edge a quarter along, away from every handle: it grabs the
    // object whether it is selected or not.
    TPoint OnFrame(RPObject* o)
    {
        const RPPixelGeometry& g = o->Pixels();
        return At(o->Owner()->Index(), g.x + g.width / 4, g.y);
    }
    TPoint Inside(RPObject* o)
    {
        const RPPixelGeometry& g = o->Pixels();
        return At(o->Owner()->Index(), g.x + g.width / 2, g.y + g.height / 2);
    }
};

TEST(Selection, ClickShiftClickAndShiftClickAgain)
{
    TwoObjects f;
    f.Click(f.Inside(f.box));
    EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{f.box});
    f.Click(f.OnFrame(f.rect), MK_SHIFT);
    EXPECT_EQ(f.view->Selection(), (std::vector<RPObject*>{f.box, f.rect}));
    f.Click(f.OnFrame(f.rect), MK_SHIFT);
    EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{f.box}) << "Shift+click on a selected object drops it";
    f.Click(f.OnFrame(f.rect));
    EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{f.rect}) << "a plain click replaces the selection";
    EXPECT_FALSE(f.box->Selected());
    EXPECT_FALSE(f.doc.IsDirty()) << "selecting changes nothing";
}

TEST(Selection, ClickOnEmptyBandAreaActivatesTheBandOutsideItDoesNot)
{
    TwoObjects f;
    f.Click(f.Inside(f.box));
    f.Click(f.At(bandDetail, 300, 80));
    EXPECT_TRUE(f.view->Selection().empty());
    EXPECT_EQ(f.view->ActiveBand(), &f.band(bandDetail));
    f.Click(TPoint(20, f.band(bandPageFooter).BodyBottom() + 40));
    EXPECT_EQ(f.view->ActiveBand(), nullptr);
}

TEST(Selection, RubberBandSelectsWhatItTouchesInEveryBandItCrosses)
{
    TwoObjects f;
    // From above the report header's rectangle into the detail, covering part of the text box.
    const TPoint from = f.At(bandReportHeader, 130, 2);
    const TPoint to = f.At(bandDetail, 110, 30);
    f.Drag(from, to);
    EXPECT_EQ(f.view->Selection(), (std::vector<RPObject*>{f.head, f.box}));
    // With Shift a second band adds to the selection.
    f.Drag(f.At(bandDetail, 320, 40), f.At(bandDetail, 360, 90), MK_SHIFT);
    EXPECT_EQ(f.view->Selection(), (std::vector<RPObject*>{f.head, f.box, f.rect}));
    // Without it the selection is replaced.
    f.Drag(f.At(bandDetail, 320, 40), f.At(bandDetail, 360, 90));
    EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{f.rect});
}

TEST(Tracking, MovingTheSelectionSnapsToTheGrid)
{
    TwoObjects f;
    f.Click(f.OnFrame(f.box));
    f.Click(f.OnFrame(f.rect), MK_SHIFT);
    const TPoint p = f.OnFrame(f.rect);
    f.Drag(p, TPoint(p.x + 25, p.y + 13));  // 24 and 12 pixels after snapping
    EXPECT_EQ(f.box->TwipsRect(), TRect(1800, 540, 3240, 900));
    EXPECT_EQ(f.rect->TwipsRect(), TRect(4680, 900, 5400, 1260));
    EXPECT_TRUE(f.doc.IsDirty());
}

TEST(Tracking, PressAndReleaseWithoutMovementChangesNothing)
{
    TwoObjects f;
    f.Click(f.OnFrame(f.box));
    f.doc.SetDirty(false);
    const RPPixelGeometry& g = f.box->Pixels();
    const TPoint cases[] = {f.OnFrame(f.box), f.At(bandDetail, g.x + g.width + 1, g.y + g.height / 2) /* right handle */,
                            TPoint(f.report().PixelWidth() - f.view->ScrollX(), f.band(bandDetail).BodyTop() + 50) /* edge */};
    for (const TPoint& p : cases) {
        f.Click(p);
        EXPECT_EQ(f.box->TwipsRect(), TRect(1440, 360, 2880, 720));
    }
    EXPECT_EQ(f.report().Width(), 8640);
    EXPECT_FALSE(f.doc.IsDirty());
}

TEST(Tracking, SelectionSpanningTwoBandsMovesOnlySideways)
{
    TwoObjects f;
    f.Click(f.OnFrame(f.head));
    f.Click(f.OnFrame(f.box), MK_SHIFT);
    const TPoint p = f.OnFrame(f.box);
    f.Drag(p, TPoint(p.x + 12, p.y + 30));
    EXPECT_EQ(f.box->TwipsRect(), TRect(1620, 360, 3060, 720));
    EXPECT_EQ(f.head->TwipsRect(), TRect(1620, 90, 2340, 450));
}

TEST(Tracking, SingleObjectDraggedBelowItsBandEntersTheNextOne)
{
    TwoObjects f;
    f.Click(f.OnFrame(f.head));
    const TPoint p = f.OnFrame(f.head);
    // Down past the report header's body into the detail band, 3 steps below its top.
    const int down = f.band(bandDetail).BodyTop() - f.band(bandReportHeader).BodyTop() - f.head->Pixels().y + 18;
    f.Drag(p, TPoint(p.x, p.y + down));
    EXPECT_EQ(f.head->Owner(), &f.band(bandDetail));
    EXPECT_EQ(f.head->TwipsRect(), TRect(1440, 270, 2160, 630));
    EXPECT_EQ(f.band(bandReportHeader).ObjectCount(), 0);
}

TEST(Tracking, HandlesResizeOnlyTheirEdges)
{
    struct Case {
        const char* name;
        int handleX, handleY;  // 0 left, 1 middle, 2 right; likewise vertically
        int dx, dy;
        TRect expected;
    } cases[] = {
        {"right middle", 2, 1, 24, 18, TRect(1440, 360, 3240, 720)},
        {"bottom middle", 1, 2, 30, 12, TRect(1440, 360, 2880, 900)},
        {"top middle", 1, 0, 30, -12, TRect(1440, 180, 2880, 720)},
        {"left middle", 0, 1, 12, 30, TRect(1620, 360, 2880, 720)},
        {"bottom-right", 2, 2, 12, 6, TRect(1440, 360, 3060, 810)},
        {"left across the right edge", 0, 1, 120, 0, TRect(2880, 360, 3240, 720)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TwoObjects f;
        f.Click(f.OnFrame(f.box));
        const RPPixelGeometry& g = f.box->Pixels();
        const int hx[] = {g.x, g.x + g.width / 2, g.x + g.width};
        const int hy[] = {g.y, g.y + g.height / 2, g.y + g.height};
        const TPoint h = f.At(bandDetail, hx[c.handleX], hy[c.handleY]);
        f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(h.x, h.y));
        ASSERT_GE(f.view->GetTrackCode(), tcTop);
        ASSERT_LE(f.view->GetTrackCode(), tcBottomLeft);
        f.Drag(h, TPoint(h.x + c.dx, h.y + c.dy));
        EXPECT_EQ(f.box->TwipsRect(), c.expected);
    }
}

TEST(Tracking, BandBorderAndReportEdge)
{
    TwoObjects f;
    RPSection& detail = f.band(bandDetail);
    const TPoint border(40, detail.BodyBottom());
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(border.x, border.y));
    EXPECT_EQ(f.view->GetTrackCode(), trBandBorder);
    f.Click(border);
    EXPECT_EQ(detail.StoredHeight(), 1440) << "a click leaves the height";
    EXPECT_EQ(f.view->ActiveBand(), &detail) << "but activates the band";
    f.Drag(border, TPoint(border.x, border.y + 48));
    EXPECT_EQ(detail.StoredHeight(), 2160);
    f.Drag(TPoint(40, detail.BodyBottom()), TPoint(40, detail.BodyTop() + 10));
    EXPECT_EQ(detail.StoredHeight(), 1080) << "never above the lowest object's bottom";

    const TPoint edge(f.report().PixelWidth(), detail.BodyTop() + 20);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(edge.x, edge.y));
    EXPECT_EQ(f.view->GetTrackCode(), trReportEdge);
    f.Drag(edge, TPoint(edge.x + 97, edge.y + 40));
    EXPECT_EQ(f.report().Width(), 8640 + 1440);
    // Where a band's bottom meets the edge both change at once.
    const TPoint corner(f.report().PixelWidth() + 1, detail.BodyBottom() - 1);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(corner.x, corner.y));
    EXPECT_EQ(f.view->GetTrackCode(), trBorderCorner);
}

// During a drag only the exclusive-or feedback differs from the image before it, and only on
// the outline of the current shape; after the release nothing of it is left.
TEST(Tracking, FeedbackIsErasedExactly)
{
    TwoObjects f;
    f.Click(f.At(bandDetail, 300, 80));  // nothing selected, the detail active
    f.view->UpdateWindow();
    const TPoint a(f.report().PixelWidth() + 60, f.band(bandPageFooter).BodyBottom() + 10);
    f.Click(a);  // outside the bands: clears the active band, draws nothing
    f.view->UpdateWindow();
    const QImage before = f.Image();
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(a.x, a.y));
    f.Press(a);
    const TPoint steps[] = {{a.x + 30, a.y + 20}, {a.x + 70, a.y + 35}, {a.x + 50, a.y + 25}};
    for (const TPoint& s : steps) {
        f.Move(s);
        const QImage now = f.Image();
        const TRect r = TRect(a.x, a.y, s.x, s.y);
        for (int y = 0; y < now.height(); ++y)
            for (int x = 0; x < now.width(); ++x) {
                if (now.pixel(x, y) == before.pixel(x, y)) continue;
                const bool onOutline = ((x == r.left || x == r.right) && y >= r.top && y <= r.bottom) ||
                                       ((y == r.top || y == r.bottom) && x >= r.left && x <= r.right);
                ASSERT_TRUE(onOutline) << "pixel " << x << "," << y << " changed off the rubber band to " << s.x << "," << s.y;
            }
    }
    f.Release(steps[2]);
    EXPECT_EQ(f.Image(), before);
}

TEST(Tracking, MoveOutlinesAreErasedExactly)
{
    TwoObjects f;
    f.Click(f.OnFrame(f.rect));
    f.view->UpdateWindow();
    const QImage selected = f.Image();
    const TPoint p = f.OnFrame(f.rect);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
    f.Press(p);
    f.Move(TPoint(p.x + 40, p.y + 20));
    f.Move(TPoint(p.x + 13, p.y + 31));
    f.Move(p);  // back home: the release moves nothing
    f.Release(p);
    TTestHook::ProcessEvents();
    f.view->UpdateWindow();
    EXPECT_EQ(f.Image(), selected);
    EXPECT_EQ(f.rect->TwipsRect(), TRect(4320, 720, 5040, 1080));
}

// The grip at an object's top-left corner reaches further out than the handles: the pixels
// where only the grip is drawn, as the view shows them.
std::vector<QRgb> GripOnlyPixels(TwoObjects& f, const QImage& img, const RPPixelGeometry& g)
{
    std::vector<QRgb> px;
    for (int y = g.y - 5; y < g.y + 3; ++y)
        for (int x = g.x - 5; x < g.x - 3; ++x) {
            const TPoint p = f.At(bandDetail, x, y);
            px.push_back(img.pixel(p.x, p.y));
        }
    return px;
}

TEST(Tracking, TheGripLeavesNothingBehindWhenTheObjectIsDroppedOrMoved)
{
    TwoObjects f;
    const RPPixelGeometry home = f.box->Pixels();
    const QImage clean = f.Image();
    const TPoint inside = f.Inside(f.box);
    ASSERT_TRUE(ClickReaches(*f.view, inside.x, inside.y));
    f.view->UpdateWindow();
    ASSERT_TRUE(f.box->Selected());
    EXPECT_NE(GripOnlyPixels(f, f.Image(), home), GripOnlyPixels(f, clean, home)) << "the grip is shown";

    const TPoint empty = f.At(bandDetail, 300, 80);
    ASSERT_TRUE(ClickReaches(*f.view, empty.x, empty.y));
    f.view->UpdateWindow();
    ASSERT_FALSE(f.box->Selected());
    EXPECT_EQ(GripOnlyPixels(f, f.Image(), home), GripOnlyPixels(f, clean, home)) << "dropped: its grip is gone";

    ASSERT_TRUE(ClickReaches(*f.view, inside.x, inside.y));
    const TPoint frame = f.OnFrame(f.box);
    DragMouse(*f.view, frame.x, frame.y, frame.x + 60, frame.y + 30);
    TTestHook::ProcessEvents();
    f.view->UpdateWindow();
    ASSERT_NE(f.box->Pixels().x, home.x) << "moved";
    EXPECT_EQ(GripOnlyPixels(f, f.Image(), home), GripOnlyPixels(f, clean, home)) << "moved: no grip at the old corner";
}

TEST(Tracking, AutoScrollStepsGrowWithTheDistanceUpToOneAndAHalfInches)
{
    TwoObjects f(500, 400);
    const TRect c = f.view->GetClientRect();
    const TPoint a = f.At(bandDetail, 300, 80);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(a.x, a.y));
    f.Press(a);
    struct Step {
        const char* name;
        TPoint pointer;
        int scrollY;
    } steps[] = {
        {"far below: the largest step", TPoint(a.x, c.bottom + 400), 144},
        {"just below: two thirds of the distance, at least 1/8 inch", TPoint(a.x, c.bottom + 30), 144 + 20},
        {"a pixel below: the smallest step", TPoint(a.x, c.bottom), 144 + 20 + 12},
        {"back inside: nothing", TPoint(a.x, c.bottom - 50), 144 + 20 + 12},
    };
    for (const Step& s : steps) {
        f.Move(s.pointer);
        f.view->SendMessage(WM_TIMER, 2, 0);
        EXPECT_EQ(f.view->ScrollY(), s.scrollY) << s.name;
    }
    EXPECT_EQ(f.view->DragState(), 3);
    f.Release(steps[3].pointer);
    EXPECT_EQ(f.view->DragState(), 0);
}

}  // namespace
}  // namespace vyn::test
