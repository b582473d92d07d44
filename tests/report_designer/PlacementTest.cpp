// Placing objects with the tools: a click puts the type's default size at the snapped point,
// a drag puts the object into the snapped frame, and the pointer tool returns afterwards.
#include <gtest/gtest.h>

#include "DesignerFixture.h"
#include "reports/RPShapes.h"

namespace vyn::test {
namespace {

struct ToolCase {
    const char* name;
    unsigned command;
    int type;
};

TEST(Placement, ClickPlacesEachKindAtTheSnappedPointWithItsDefaultSize)
{
    const ToolCase cases[] = {
        {"text box", cmRepTextBox, otTextBox}, {"rectangle", cmRepRectangle, otRectangle}, {"line", cmRepLine, otLine},
        {"graph", cmRepGraph, otGraph},        {"page break", cmRepPageBreak, otPageBreak},
    };
    for (const ToolCase& c : cases) {
        SCOPED_TRACE(c.name);
        DesignerFixture f;
        const TRect defaults = RPObject::Create(c.type)->TwipsRect();
        f.view->SendCommand(c.command);
        EXPECT_EQ(f.view->Tool(), c.type + 1);
        // 50, 20 pixels into the detail band snap to the nearest 6-pixel step: 48, 18.
        f.Click(f.At(bandDetail, 50, 20));
        ASSERT_EQ(f.band(bandDetail).ObjectCount(), 1);
        RPObject* o = f.band(bandDetail).ObjectAt(0);
        EXPECT_EQ(o->GetType(), c.type);
        if (c.type == otPageBreak) {
            EXPECT_EQ(o->TwipsRect().top, 270) << "a page break keeps only its top";
        } else {
            EXPECT_EQ(o->TwipsRect(), TRect(720, 270, 720 + defaults.Width(), 270 + defaults.Height()));
        }
        EXPECT_EQ(f.view->Selection(), std::vector<RPObject*>{o});
        EXPECT_TRUE(f.doc.IsDirty());
        EXPECT_EQ(f.view->Tool(), 0) << "the placing tool ends after one object";
    }
}

TEST(Placement, DragPlacesIntoTheFrameWhicheverWayItRuns)
{
    for (bool reverse : {false, true}) {
        SCOPED_TRACE(reverse ? "bottom-right to top-left" : "top-left to bottom-right");
        DesignerFixture f;
        f.view->SendCommand(cmRepRectangle);
        TPoint a = f.At(bandReportHeader, 13, 7), b = f.At(bandReportHeader, 97, 61);
        if (reverse) std::swap(a, b);
        f.Drag(a, b);
        ASSERT_EQ(f.band(bandReportHeader).ObjectCount(), 1);
        // 12, 6 to 96, 60 pixels: 180, 90 twips, 1260 by 810.
        EXPECT_EQ(f.band(bandReportHeader).ObjectAt(0)->TwipsRect(), TRect(180, 90, 1440, 900));
    }
}

TEST(Placement, DragThatEndsWhereItBeganCreatesNothing)
{
    DesignerFixture f;
    f.view->SendCommand(cmRepRectangle);
    const TPoint a = f.At(bandDetail, 30, 30);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(a.x, a.y));
    f.Press(a);
    f.Move(TPoint(a.x + 20, a.y + 20));
    f.Move(TPoint(a.x + 1, a.y + 1));  // snaps back onto the origin
    f.Release(TPoint(a.x + 1, a.y + 1));
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 0);
    EXPECT_FALSE(f.doc.IsDirty());
    EXPECT_EQ(f.view->Tool(), 2) << "nothing placed: the tool stays";
}

TEST(Placement, LineSlantFollowsTheDragDirection)
{
    struct Case {
        const char* name;
        int dx, dy;
        int slant;
    } cases[] = {{"towards bottom-right", 60, 30, 0}, {"towards top-right", 60, -30, 1}, {"towards bottom-left", -60, 30, 1}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DesignerFixture f;
        f.view->SendCommand(cmRepLine);
        const TPoint a = f.At(bandDetail, 120, 48);
        f.Drag(a, TPoint(a.x + c.dx, a.y + c.dy));
        ASSERT_EQ(f.band(bandDetail).ObjectCount(), 1);
        EXPECT_EQ(f.band(bandDetail).ObjectAt(0)->GetLineSlant(), c.slant);
    }
}

TEST(Placement, LockKeepsTheToolAndOutsideTheBandsNothingIsPlaced)
{
    DesignerFixture f;
    f.view->SendCommand(cmRepTextBox);
    f.view->SendCommand(cmRepLock);
    f.Click(f.At(bandPageHeader, 12, 12));
    f.Click(f.At(bandPageHeader, 12, 48));
    EXPECT_EQ(f.band(bandPageHeader).ObjectCount(), 2);
    EXPECT_EQ(f.view->Tool(), 1);
    // Below the last band: the no-entry place.
    const TPoint below(20, f.band(bandPageFooter).BodyBottom() + 30);
    f.view->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(below.x, below.y));
    EXPECT_EQ(f.view->GetTrackCode(), trToolOutside);
    f.Click(below);
    int total = 0;
    for (int i = 0; i < 5; ++i) total += f.band(i).ObjectCount();
    EXPECT_EQ(total, 2);
    f.view->SendCommand(cmRepPointer);
    EXPECT_FALSE(f.view->Locked()) << "the pointer clears the lock";
}

TEST(Placement, ObjectPlacedBeyondTheReportWidthWidensTheReport)
{
    DesignerFixture f;
    const int oldWidth = f.report().Width();
    f.view->SendCommand(cmRepRectangle);
    const int x = RepUnitsToPixelsX(oldWidth) + 60;  // right of the report's edge
    f.Drag(f.At(bandDetail, x, 12), f.At(bandDetail, x + 96, 60));
    ASSERT_EQ(f.band(bandDetail).ObjectCount(), 1);
    EXPECT_EQ(f.report().Width(), f.band(bandDetail).ObjectAt(0)->TwipsRect().right);
}

TEST(Placement, PictureToolWithoutItsDialogBeepsAndPlacesNothing)
{
    DesignerFixture f;
    f.view->SendCommand(cmRepPicture);
    f.Click(f.At(bandDetail, 30, 30));
    EXPECT_EQ(f.band(bandDetail).ObjectCount(), 0);
    EXPECT_EQ(f.hook.Beeps(), 1);
}

TEST(Placement, FrameDraggedOutAboveAndLeftOfTheViewStartsAtTheReportCorner)
{
    DesignerFixture f;
    f.view->SendCommand(cmRepRectangle);
    f.Drag(f.At(bandPageHeader, 60, 30), TPoint(-40, -40));
    ASSERT_EQ(f.band(bandPageHeader).ObjectCount(), 1);
    EXPECT_EQ(f.band(bandPageHeader).ObjectAt(0)->TwipsRect(), TRect(0, 0, 900, 450));
}

}  // namespace
}  // namespace vyn::test
