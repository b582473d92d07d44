// Layers and modes of the plate view: the cell geometry that follows the layers, the mode
// switch with its refusals, and what the bars show per mode.
#include <gtest/gtest.h>

#include "ViewTestUtil.h"

namespace vyn::test {
namespace {

TEST(PlateViewLayers, CellHeightFollowsTheShownLayersAndTheLastLayerStays)
{
    ViewFixture f;
    QPView& v = *f.view;
    EXPECT_EQ(v.Layers, 5u);
    EXPECT_EQ(v.CellHeight, 2 * v.LineHeight + 4);
    f.Command(2484);  // identifications on
    EXPECT_EQ(v.Layers, 7u);
    EXPECT_EQ(v.CellHeight, 3 * v.LineHeight + 4);
    f.Command(2483);
    f.Command(2484);
    EXPECT_EQ(v.Layers, 4u);
    f.Command(2485);  // would leave no layer
    EXPECT_EQ(v.Layers, 4u);
    EXPECT_EQ(v.LayerCount, 1);
    // The measured layer can only be shown once the plate has been blanked or transformed.
    f.Command(2486);
    EXPECT_EQ(v.Layers, 4u) << "the command refuses it like its button";
    v.ShowLayer(2486);
    EXPECT_EQ(v.Layers, 4u) << "ShowLayer refuses it while the data mode is 0";
}

TEST(PlateViewLayers, NarrowCellsStayTwoThirdsAsWideAsHigh)
{
    ViewFixture f;
    f.p.cellWidth = 10;
    f.view->SetLayers(31);
    f.view->ApplyCellScale(10);
    EXPECT_GE(f.view->CellWidth, f.view->CellHeight * 2 / 3);
    EXPECT_EQ(f.view->CellWidth - f.view->CellTextWidth, f.view->CellGap + f.view->MarginX);
}

TEST(PlateViewModes, TransitionsAllowedAndRefused)
{
    struct Row {
        const char* name;
        std::vector<unsigned> commands;
        unsigned mode;
        int beeps;
    } rows[] = {
        {"display to data entry and back", {2472, 2469}, pmDisplay, 0},
        {"display to layout and back", {2473, 2474}, pmDisplay, 0},
        {"a tool is entered through layout", {2477}, pmQualitative, 0},
        {"tool to tool", {2477, 2479}, pmQuantitative, 0},
        {"repeat from display", {2480}, pmRepeat, 0},
    };
    for (const Row& r : rows) {
        ViewFixture f;
        for (unsigned c : r.commands) f.Command(c);
        EXPECT_EQ(f.view->Mode, r.mode) << r.name;
        EXPECT_EQ(f.hook.Beeps(), r.beeps) << r.name;
    }
    // Data entry straight to layout edit is refused with a beep.
    ViewFixture f;
    f.Command(2472);
    f.view->SetMode(pmLayout, f.view->Mode);
    EXPECT_EQ(f.view->Mode, pmDataEntry);
    EXPECT_EQ(f.hook.Beeps(), 1);
}

TEST(PlateViewModes, DeactivationReturnsInDisplayModeWithTheDisplayGadgets)
{
    ViewFixture f;
    f.Command(2473);
    f.Command(2479);
    EXPECT_EQ(f.view->Bars().mainBar.back(), 2495);
    EXPECT_EQ(f.view->GetContextHelpId(), 3246);
    f.view->EvMDIActivate(false);
    EXPECT_EQ(f.view->Mode, pmDisplay);
    EXPECT_FALSE(f.view->Bars().installed);
    f.view->EvMDIActivate(true);
    EXPECT_TRUE(f.view->Bars().installed);
    EXPECT_EQ(f.view->Bars().mainBar, (std::vector<int>{2210, 2230, 2231, -1, 2211, -1, 24340, 24337}));
    EXPECT_EQ(f.view->Bars().modeButtonCommand, 2473);
}

TEST(PlateViewModes, TwoViewsShareOneMenuUntilTheLastGoes)
{
    const int before = QPView::MenuUsers();
    {
        ViewFixture f;
        auto second = std::make_unique<QPView>(f.doc);
        EXPECT_EQ(QPView::MenuUsers(), before + 2);
    }
    EXPECT_EQ(QPView::MenuUsers(), before);
}

TEST(PlateViewCommands, EnablerPerMode)
{
    ViewFixture f;
    auto enabled = [&](unsigned id) {
        TCommandEnabler ce(id);
        f.view->RouteCommandEnable(ce);
        return ce.IsEnabled();
    };
    EXPECT_FALSE(enabled(2227)) << "sample graph";
    EXPECT_TRUE(enabled(2483));
    f.Command(2472);
    EXPECT_FALSE(enabled(2211)) << "calculate in data entry";
    EXPECT_FALSE(enabled(2490)) << "delete with no value in the cell";
    EXPECT_FALSE(enabled(2483)) << "layers only in display mode";
    f.Command(2469);
    f.Command(2473);
    EXPECT_FALSE(enabled(2210)) << "measure in layout edit";
    EXPECT_FALSE(enabled(2480)) << "repeat without samples";
}

TEST(PlateViewCommands, StandardsOnAStoredCalibrationAskFirst)
{
    for (int answer : {IDCANCEL, IDOK}) {
        ViewFixture f;
        f.p.calibr.stored = 1;
        f.hook.AnswerMessageBox(answer);
        f.Command(2478);
        ASSERT_EQ(f.hook.Messages().size(), 1u);
        EXPECT_NE(f.hook.Messages()[0].text.find("stored calibration"), std::string::npos);
        EXPECT_EQ(f.view->Mode, answer == IDOK ? pmStandards : pmDisplay);
        EXPECT_EQ(f.p.calibr.stored, answer == IDOK ? 0 : 1);
    }
}

}  // namespace
}  // namespace vyn::test
