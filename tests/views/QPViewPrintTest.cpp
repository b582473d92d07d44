// One printed cell line per layer, on a fixed-pitch page: where each text starts, that a value
// too wide for the cell keeps its leading digits, the fixed samples' letter label, the raised
// dilution letter and the result only in a sample's first well.
#include <gtest/gtest.h>

#include "../printing/PrintTestUtil.h"
#include "ViewTestUtil.h"
#include "printing/PageSettings.h"

namespace vyn::test {
namespace {

struct PrintFixture : ViewFixture {
    FixedPage page;
    int quarter = 0, eighth = 0;
    PrintFixture()
    {
        MeasurePrintChar(page.dc);
        quarter = PrintXUnits(1);
        eighth = PrintYUnits(1);
    }
    // The texts of one line of the cell, with the line's rectangle 10 characters wide.
    std::vector<DrawnText> Line(const char* well, unsigned layer)
    {
        view->SetLayers(layer);
        page.dc.texts.clear();
        const TRect r(100, 200, 100 + 10 * page.charWidth, 200 + 20);
        view->PrintCell(page.dc, r, W(well) % 12, W(well) / 12, 0);
        return page.dc.texts;
    }
};

TEST(PlateViewPrintCell, ValuesRightAlignedWhenTheyFitElseFromTheLeftEdge)
{
    PrintFixture f;
    f.doc.SetPlateValue(12.5, 0, false);
    f.doc.SetPlateValue(123456789012.0, 1, false);
    auto fits = f.Line("A1", plData);
    ASSERT_EQ(fits.size(), 1u);
    EXPECT_EQ(fits[0].x + static_cast<int>(fits[0].text.size()) * f.page.charWidth, 100 + 10 * f.page.charWidth);
    auto wide = f.Line("A2", plData);
    ASSERT_EQ(wide.size(), 1u);
    EXPECT_EQ(wide[0].x, 100) << "the leading digits are printed, the clip cuts the tail";
    EXPECT_EQ(wide[0].text.substr(0, 4), "1234");
}

TEST(PlateViewPrintCell, LayoutAndIdentificationLabels)
{
    PrintFixture f;
    f.Command(2473);
    f.Command(2479);  // quantitative, one sample per drag
    f.Command(2496 + 3);
    f.Sweep({"C1"});
    f.Command(2493);
    f.Sweep({"C2"});
    f.Command(2475);
    f.Command(2477);
    f.Sweep({"D1"});
    ASSERT_EQ(f.p.sampleCount, 2);
    ASSERT_TRUE(f.doc.FixSample(0));
    f.p.GetSample(0)->ident = "S1";
    f.Command(2475);
    f.Command(2474);

    auto layout = f.Line("C2", plLayout);
    ASSERT_EQ(layout.size(), 2u);
    EXPECT_EQ(layout[0].text, "NS");
    EXPECT_EQ(layout[1].text, "b") << "the second dilution";
    EXPECT_EQ(layout[1].x, 100 + 2 * f.page.charWidth + f.quarter);
    EXPECT_EQ(layout[1].y, 200 - f.eighth) << "raised by an eighth of a line";

    auto fixed = f.Line("C1", plIdent);
    ASSERT_EQ(fixed.size(), 2u);
    EXPECT_EQ(fixed[0].text, "a:");
    EXPECT_EQ(fixed[1].text, "S1");
    EXPECT_EQ(fixed[1].x, 100 + 2 * f.page.charWidth + f.quarter);
    auto sequential = f.Line("D1", plIdent);
    ASSERT_FALSE(sequential.empty());
    EXPECT_EQ(sequential[0].text, "1:");
    EXPECT_TRUE(f.Line("H12", plIdent).empty()) << "a free well has no label";
}

}  // namespace
}  // namespace vyn::test
