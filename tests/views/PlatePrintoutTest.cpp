// The plate printout's strips and pages on a fixed-metrics page: which columns and rows each
// page holds, for a plate that fits, one that is too wide and one that is too low.
#include <gtest/gtest.h>

#include <QColor>
#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "../printing/PrintTestUtil.h"
#include "printing/APrintOutPlate.h"
#include "printing/RWPrinter.h"

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

// A method name and a comment of 600 characters print up to the right margin and no further,
// as the header's texts do: nothing of them reaches the paper's edge.
TEST(PlatePrintout, LongTextsStopAtTheRightMargin)
{
    if (std::system("command -v pdftoppm >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftoppm is not installed";
    class LongTexts : public TestPlatePrint {
    public:
        void PrepareHeader() override
        {
            header.methodName = std::string(600, 'W');
            header.comment = std::string(600, 'M');
        }
    };
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    ResetPrintSettings();
    // A wide right margin, far inside what the printer can print.
    gPageMargins[pkPlate] = {100, 100, 250, 100};
    const std::string pdf = dir.filePath("long.pdf").toStdString(), png = dir.filePath("long").toStdString();
    RWPrinter printer;
    printer.SetOutputFile(pdf);
    LongTexts p;
    ASSERT_TRUE(printer.Print(nullptr, p, false));
    const TSize device = printer.MakeInfoDC()->DeviceSize();
    ASSERT_GT(p.pageRect.right, 0);
    ASSERT_EQ(std::system(("pdftoppm -r 72 -f 1 -l 1 -singlefile -png '" + pdf + "' '" + png + "'").c_str()), 0);
    const QImage page(QString::fromStdString(png + ".png"));
    ASSERT_FALSE(page.isNull());
    if (const char* keep = std::getenv("VYN_PAPER_PNG")) page.save(keep);

    const int margin = static_cast<int>(static_cast<long long>(p.pageRect.right) * page.width() / device.cx);
    int inkBeyond = 0, inkBefore = 0;
    for (int y = 0; y < page.height(); ++y)
        for (int x = 0; x < page.width(); ++x) {
            const QColor c(page.pixel(x, y));
            if (c.lightness() > 128) continue;
            if (x > margin + 1) ++inkBeyond;
            else if (x > margin - 20) ++inkBefore;
        }
    EXPECT_EQ(inkBeyond, 0) << "ink right of the margin at x = " << margin << " of " << page.width();
    EXPECT_GT(inkBefore, 0) << "the long texts run up to the margin";
    ResetPrintSettings();
}

}  // namespace
}  // namespace vyn::test
