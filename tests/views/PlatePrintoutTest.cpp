// The plate printout's strips and pages on a fixed-metrics page: which columns and rows each
// page holds, for a plate that fits, one that is too wide and one that is too low.
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "../printing/PrintTestUtil.h"
#include "printing/APrintOutPlate.h"

namespace vyn::test {
namespace {

class TestPlatePrint : public APrintOutPlate {
public:
    void PrintCell(TDC&, const TRect&, int col, int row, int line) override
    {
        if (line == 0) cells.insert(row * 12 + col);
    }
    std::set<int> cells;
};

struct Page {
    Page(int w, int h) : image(w, h, QImage::Format_RGB32), dc(image)
    {
        image.fill(Qt::white);
        dc.SelectObject(TFont("Courier New", -16, 0, 0, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN));
    }
    QImage image;
    RecordingDC dc;
};

// Lays the printout out on the page; answers the page count.
int Layout(TestPlatePrint& p, Page& page, int chars, int lines)
{
    ResetPrintSettings();
    p.charsPerCell = chars;
    p.linesPerCell = lines;
    p.SetPrintParams(&page.dc, page.dc.DeviceSize());
    return p.pageCount;
}

std::set<int> PrintedCells(TestPlatePrint& p, int page)
{
    p.cells.clear();
    TRect r;
    p.BeginPrinting();
    p.PrintPage(page, r, 0);
    return p.cells;
}

TEST(PlatePrintout, APlateThatFitsPrintsOnOnePage)
{
    Page page(816, 1056);
    TestPlatePrint p;
    EXPECT_EQ(Layout(p, page, 4, 1), 1);
    EXPECT_EQ(p.charsPerCell, 10) << "a cell holds at least ten quarter characters";
    EXPECT_EQ(p.splitMode, 0);
    EXPECT_EQ(PrintedCells(p, 1).size(), 96u);
    // Column numbers and row letters come out as text.
    int labels = 0;
    for (const DrawnText& t : page.dc.texts) labels += t.text == "12" || t.text == "H";
    EXPECT_EQ(labels, 2);
}

TEST(PlatePrintout, TooWideCutsIntoBlocksOfColumns)
{
    Page page(816, 1056);
    TestPlatePrint p;
    // The cell width that leaves room for five columns, the cell height for one plate a page.
    int chars = 10, lines = 1;
    bool found = false;
    for (lines = 1; lines <= 12 && !found; ++lines) {
        for (chars = 10; chars <= 120 && !found; ++chars) {
            Layout(p, page, chars, lines);
            found = p.splitMode == 1 && p.colsPerPage == 5 && p.stripsFirst == 1 && p.stripsLater == 1;
        }
    }
    ASSERT_TRUE(found);
    EXPECT_EQ(p.pageCount, 3);
    const int firstCols[] = {0, 5, 10}, widths[] = {5, 5, 2};
    for (int n = 1; n <= 3; ++n) {
        ASSERT_TRUE(p.StartPage(n));
        EXPECT_EQ(p.firstCol, firstCols[n - 1]) << "page " << n;
        EXPECT_EQ(p.blockCols, widths[n - 1]) << "page " << n;
        EXPECT_EQ(p.blockRows, 8);
    }
    EXPECT_EQ(PrintedCells(p, 3), (std::set<int>{10, 11, 22, 23, 34, 35, 46, 47, 58, 59, 70, 71, 82, 83, 94, 95}));
}

TEST(PlatePrintout, TooLowWithTwoPlatesAcross)
{
    // A landscape page with room for two plates side by side and not for their eight rows.
    std::unique_ptr<Page> page;
    TestPlatePrint p;
    bool found = false;
    for (int h = 300; h <= 1000 && !found; h += 20) {
        for (int lines = 1; lines <= 8 && !found; ++lines) {
            page = std::make_unique<Page>(1000, h);
            Layout(p, *page, 10, lines);
            found = p.splitMode == 2 && p.stripsAcross == 2 && p.pageCount >= 3;
        }
    }
    ASSERT_TRUE(found);
    EXPECT_LE(p.rowsFirst, p.rowsLater) << "page 1 carries the information block";
    ASSERT_GE(p.pageCount, 2);
    ASSERT_TRUE(p.StartPage(2));
    EXPECT_EQ(p.firstRow, 2 * p.rowsFirst);
    if (p.pageCount >= 3) {
        ASSERT_TRUE(p.StartPage(3));
        EXPECT_EQ(p.firstRow, 2 * p.rowsFirst + 2 * p.rowsLater);
    }
    // Every well is printed exactly once over all pages.
    std::multiset<int> all;
    for (int n = 1; n <= p.pageCount; ++n)
        for (int c : PrintedCells(p, n)) all.insert(c);
    EXPECT_EQ(all.size(), 96u);
    EXPECT_EQ(std::set<int>(all.begin(), all.end()).size(), 96u);
}

}  // namespace
}  // namespace vyn::test
