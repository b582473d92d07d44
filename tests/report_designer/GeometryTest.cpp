// The view's geometry services at the edges of the report area, and the hit test of a report
// without bands.
#include <gtest/gtest.h>

#include "DesignerFixture.h"

namespace vyn::test {
namespace {

TEST(Geometry, MovesAndResizesStayInsideTheReportArea)
{
    struct Case {
        const char* name;
        int op;  // 0 move, 1 move into a band, 2 resize with flip x
        int dx, dy;
        TRect expected;
    } cases[] = {
        {"far edge past the limit shrinks the size", 0, 29600, 0, TRect(31040, 360, 31680, 720)},
        {"negative position stops at 0", 0, -5000, -5000, TRect(0, 0, 1440, 360)},
        {"position itself past the limit", 0, 40000, 0, TRect(31680, 360, 31680, 720)},
        {"into a band keeps a negative top", 1, 0, -1000, TRect(1440, -640, 2880, -280)},
        {"left edge dragged across the right one", 2, 2000, 0, TRect(2880, 360, 3440, 720)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignerFixture f;
        RPObject* o = f.Add(bandDetail, otRectangle, 1440, 360, 1440, 360);
        if (c.op == 0) f.view->MoveObjectBy(*o, c.dx, c.dy);
        if (c.op == 1) f.view->MoveObjectToBand(f.band(bandReportHeader), *o, c.dx, c.dy);
        if (c.op == 2) f.view->ResizeObjectBy(*o, true, false, c.dx, c.dy);
        EXPECT_EQ(o->TwipsRect(), c.expected);
        if (c.op == 1) {
            EXPECT_EQ(o->Owner(), &f.band(bandReportHeader));
        }
    }
}

TEST(Geometry, PastePointSelectionEdgesAndGridStep)
{
    DesignerFixture f;
    TPoint p(-5, 40000);
    f.view->ClampPastePoint(p);
    EXPECT_EQ(p, TPoint(31680, 0));
    EXPECT_EQ(f.view->SelectionMinEdges(true, true), TPoint(31680, 31680));
    EXPECT_EQ(f.view->SelectionMaxEdges(false, false), TPoint(0, 0));
    EXPECT_EQ(f.view->SelectionExtent(), TRect(0, 0, 0, 0));
    EXPECT_EQ(f.view->GridStep(1, 2), TPoint(90, 180));
    f.view->SendCommand(cmRepSnap);
    EXPECT_EQ(f.view->GridStep(1, 2), TPoint(360, 360)) << "without snapping a step is a quarter inch";
}

TEST(Geometry, PointsNearTheRightEdgeAreScrolledIntoView)
{
    DesignerFixture f(500, 400);
    const TRect c = f.view->GetClientRect();
    const DesignerMetrics& m = Metrics();
    EXPECT_EQ(f.view->ScrollToShowPoint(c.right - m.vRulerWidth - 1, 10), TPoint(0, 0));
    EXPECT_EQ(f.view->ScrollToShowPoint(c.right - 2, 10), TPoint(m.vRulerWidth - 2, 0));
    EXPECT_EQ(f.view->ScrollToShowPoint(-30, 10), TPoint(0, 0)) << "never before the scroll range's start";
}

TEST(Geometry, ReportWithoutBandsHitsOnlyOutside)
{
    DesignerFixture f;
    GetRepViewShell().sectionsDialog = [](QRepView&, std::string& flags) {
        flags = "00000";
        return true;
    };
    f.view->SendCommand(cmRepSections);
    EXPECT_TRUE(f.view->BandTable().empty());
    EXPECT_EQ(f.view->TotalHeight(), RepUnitsToPixelsY(31680));
    EXPECT_EQ(f.view->HitTest(TPoint(40, 40)), trOutside);
    f.view->SendCommand(cmRepTextBox);
    EXPECT_EQ(f.view->HitTest(TPoint(40, 40)), trToolOutside);
    RPSection* band = nullptr;
    RPObject* object = nullptr;
    EXPECT_FALSE(f.view->NextInTabOrder(false, band, object));
}

TEST(Geometry, BorderHitsNearTheReportEdge)
{
    DesignerFixture f;
    RPSection& d = f.band(bandDetail);
    const int edge = f.report().PixelWidth();
    struct Case {
        const char* name;
        TPoint p;
        int code;
    } cases[] = {
        {"bottom border at the edge, above", TPoint(edge - 2, d.BodyBottom() - 2), trBorderCorner},
        {"bottom border at the edge, below", TPoint(edge + 2, d.BodyBottom() + 2), trBorderCorner},
        {"bottom border inside", TPoint(edge - 40, d.BodyBottom() + 1), trBandBorder},
        {"report edge", TPoint(edge + 1, d.BodyTop() + 30), trReportEdge},
        {"empty body", TPoint(edge - 40, d.BodyTop() + 30), trBandBody},
        {"title bar", TPoint(edge - 40, d.HeaderTop() + 2), trBandTitle},
        {"right of the report", TPoint(edge + 40, d.BodyTop() + 30), trOutside},
    };
    for (const Case& c : cases) EXPECT_EQ(f.view->HitTest(c.p), c.code) << c.name;
}

TEST(Geometry, ScrollBarsMoveTheOriginAndEditingHoldsIt)
{
    DesignerFixture f;
    const int top = f.band(bandDetail).BodyTop();
    struct Step {
        unsigned msg, code;
        int x, y;
    } steps[] = {
        {WM_VSCROLL, SB_PAGEDOWN, 0, 96}, {WM_VSCROLL, SB_LINEDOWN, 0, 97}, {WM_HSCROLL, SB_PAGERIGHT, 96, 97},
        {WM_HSCROLL, SB_LINELEFT, 95, 97}, {WM_VSCROLL, SB_TOP, 95, 0},
    };
    for (const Step& s : steps) {
        f.view->SendMessage(s.msg, s.code, 0);
        EXPECT_EQ(TPoint(f.view->ScrollX(), f.view->ScrollY()), TPoint(s.x, s.y)) << "after scroll code " << s.code;
    }
    f.view->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(f.band(bandDetail).BodyTop(), top - 96) << "bands are placed relative to the origin";
    RPObject* box = f.Add(bandDetail, otTextBox, 0, 0, 1440, 360);
    f.view->SelectObject(box);
    f.view->BeginTextEdit(false);
    ASSERT_TRUE(f.view->Editing());
    f.view->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(f.view->ScrollY(), 96) << "no scrolling while a text is typed in place";
}

}  // namespace
}  // namespace vyn::test
