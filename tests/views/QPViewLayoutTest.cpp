// Layout editing with the mouse: each arrangement of the insertion tools turns a sweep into the
// document's placement, the selection drag picks only sample wells, Delete frees them, and a
// move of selected wells onto another sample is refused with a beep.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"

namespace vyn::test {
namespace {

TEST(PlateViewLayout, SweepsPlaceSamplesByArrangement)
{
    struct Row {
        const char* name;
        unsigned tool;
        unsigned arrangement;
        std::vector<const char*> sweep;
        std::string samples;
    } rows[] = {
        {"singlets along a row", 2477, 2496, {"B2", "B3", "B4"}, "B2|B3|B4"},
        {"singlets down a column go by columns", 2477, 2496, {"B2", "C2", "C3"}, "B2|C2|B3|C3"},
        {"doublets horizontally", 2477, 2497, {"B2", "B5"}, "B2 B3|B4 B5"},
        {"doublets vertically", 2479, 2498, {"A1", "B2"}, "A1 B1|A2 B2"},
        {"free style makes one sample", 2477, 2499, {"B2", "C3"}, "B2 B3 C2 C3"},
    };
    for (const Row& r : rows) {
        ViewFixture f;
        f.Command(2473);
        f.Command(r.tool);
        f.Command(r.arrangement);
        f.listener->heard.clear();
        f.Sweep(r.sweep);
        EXPECT_EQ(f.Samples(), r.samples) << r.name;
        EXPECT_NE(std::find(f.listener->heard.begin(), f.listener->heard.end(), vnSampleAdded), f.listener->heard.end())
            << r.name;
        EXPECT_EQ(f.listener->heard.back(), vnPlateChanged) << r.name;
    }
}

TEST(PlateViewLayout, ControlsAndStandardsGoToThePlatesOwnSamples)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2476);
    f.Sweep({"A1", "A2"});
    ASSERT_NE(f.p.globInUse, nullptr);
    EXPECT_EQ(f.p.globInUse->WellCount(), 2);
    f.Command(2478);
    f.Command(2497);
    f.Sweep({"C1", "C4"});
    ASSERT_NE(f.p.stdInUse, nullptr);
    EXPECT_EQ(f.p.stdInUse->WellCount(), 4);
    EXPECT_EQ(f.view->Bars().dilutionLetter, "c") << "two levels placed, the next is c";
}

TEST(PlateViewLayout, RectangleSelectsOnlySampleWellsAndDeleteFreesThem)
{
    ViewFixture f;
    f.doc.PlaceNewSampleAt(f.qual, W("B2"), W("B3"), false, 0);
    f.Command(2473);
    f.Sweep({"A1", "C4"});
    EXPECT_EQ(f.SelectedWells(), "B2 B3");
    // Shrinking the rectangle unselects what it leaves.
    f.Press("A1");
    f.MoveTo("C4");
    f.MoveTo("B2");
    f.Release("B2");
    EXPECT_EQ(f.SelectedWells(), "B2");
    TTestHook::Key(VK_DELETE, 0, f.view);
    EXPECT_EQ(f.Samples(), "B3");
    EXPECT_EQ(f.SelectedWells(), "");
}

TEST(PlateViewLayout, HeldPressMovesTheSelectionAndARefusedMoveBeeps)
{
    ViewFixture f;
    f.doc.PlaceNewSampleAt(f.qual, W("B2"), W("B3"), false, 0);
    f.doc.PlaceNewSampleAt(f.qual, W("D2"), W("D2"), false, 0);
    f.Command(2473);
    f.Sweep({"B2", "B3"});
    ASSERT_EQ(f.SelectedWells(), "B2 B3");

    // Pressed on a selected well and held: the selection is picked up.
    f.Press("B2");
    f.view->SendMessage(WM_TIMER, 1);
    EXPECT_EQ(QPView::DragStateNow(), QPView::dsMove);
    f.MoveTo("C2");
    f.Release("C2");
    EXPECT_EQ(f.Samples(), "C2|C3|D2");
    EXPECT_EQ(f.SelectedWells(), "C2 C3");

    // Onto the other sample: refused, nothing moves.
    f.Press("C2");
    f.view->SendMessage(WM_TIMER, 1);
    f.MoveTo("D2");
    f.Release("D2");
    EXPECT_EQ(f.hook.Beeps(), 1);
    EXPECT_EQ(f.Samples(), "C2|C3|D2");
}

TEST(PlateViewLayout, EscapeDropsTheSelectionThenLeavesLayoutEdit)
{
    ViewFixture f;
    f.doc.PlaceNewSampleAt(f.qual, W("A1"), W("A1"), false, 0);
    f.Command(2473);
    f.Sweep({"A1"});
    TTestHook::Key(VK_ESCAPE, 0, f.view);
    EXPECT_EQ(f.SelectedWells(), "");
    EXPECT_EQ(f.view->Mode, pmLayout);
    TTestHook::Key(VK_ESCAPE, 0, f.view);
    EXPECT_EQ(f.view->Mode, pmDisplay);
    EXPECT_EQ(f.view->Layers, 5u);
}

}  // namespace
}  // namespace vyn::test
