// Pagination of the line and list printouts: page ends, keep-together marks, rows per page.
#include <gtest/gtest.h>

#include "PrintTestUtil.h"
#include "printing/APrintOutList.h"

namespace vyn::test {
namespace {

// Writes `count` numbered lines, marking the block [markFrom, markTo) to be kept together.
void Lines(TestLines& p, int count, int markFrom = -1, int markTo = -1)
{
    for (int i = 0; i < count; ++i) {
        if (i == markFrom) p.MarkLine();
        if (i == markTo) p.ClearMark();
        p.PrintF("line " + std::to_string(i) + "\r\n");
    }
}

class LinesPagination : public ::testing::Test {
protected:
    void SetUp() override { ResetPrintSettings(); }
    // Lays out the body and answers the lines per page.
    int Layout(std::function<void(TestLines&)> body)
    {
        out.body = std::move(body);
        out.SetPrintParams(&page.dc, page.dc.DeviceSize());
        return out.linesPerPage;
    }
    FixedPage page;
    TestLines out;
};

TEST_F(LinesPagination, PagesFollowOneAnotherWithoutGapsOrOverlap)
{
    int n = 0;
    const int lpp = Layout([&n](TestLines& p) { Lines(p, n); });
    ASSERT_GT(lpp, 10);
    n = 2 * lpp + 3;
    out.SetPrintParams(&page.dc, page.dc.DeviceSize());
    ASSERT_EQ(out.pageCount, 3);
    EXPECT_EQ(out.pages[0], (PGDESC{0, lpp}));
    EXPECT_EQ(out.pages[1], (PGDESC{lpp, 2 * lpp}));
    EXPECT_EQ(out.pages[2], (PGDESC{2 * lpp, 3 * lpp}));
    EXPECT_FALSE(out.HasPage(0));
    EXPECT_TRUE(out.HasPage(3));
    EXPECT_FALSE(out.HasPage(4));
}

TEST_F(LinesPagination, KeepTogetherMarks)
{
    int lpp = Layout([](TestLines& p) { Lines(p, 1); });
    struct Case {
        const char* name;
        int count, markFrom, markTo;
        PGDESC first, second;
    };
    const Case cases[] = {
        {"a block across the page end moves to the next page", lpp + 5, lpp - 2, lpp + 2, {0, lpp - 2}, {lpp - 2, 2 * lpp - 2}},
        {"a block ending before the page end moves nothing", lpp + 5, lpp - 6, lpp - 2, {0, lpp}, {lpp, 2 * lpp}},
        {"a mark at the page's first line breaks at the current line", 2 * lpp + 1, 0, 2 * lpp, {0, lpp}, {lpp, 2 * lpp}},
    };
    for (const Case& c : cases) {
        out.body = [&c](TestLines& p) { Lines(p, c.count, c.markFrom, c.markTo); };
        out.SetPrintParams(&page.dc, page.dc.DeviceSize());
        ASSERT_GE(out.pages.size(), 2u) << c.name;
        EXPECT_EQ(out.pages[0], c.first) << c.name;
        EXPECT_EQ(out.pages[1], c.second) << c.name;
    }
}

TEST_F(LinesPagination, AnEmptyBodyHasNoPagesAndALastLineWithTextCounts)
{
    Layout({});
    EXPECT_EQ(out.pageCount, 0);
    EXPECT_TRUE(out.pages.empty());
    Layout([](TestLines& p) { p.PrintF("only"); });
    EXPECT_EQ(out.pageCount, 1);
}

TEST_F(LinesPagination, OneLinePerPageWhenTheFurnitureLeavesNoRoom)
{
    // The margins leave a tenth of the page, less than a big font's header and footer.
    out.margins = {100, 530, 100, 530};
    page.dc.SelectObject(TFont("Courier New", -40, 0, 0, 0, FW_NORMAL, FIXED_PITCH | FF_MODERN));
    Layout([](TestLines& p) { Lines(p, 3); });
    EXPECT_EQ(out.linesPerPage, 1);
    EXPECT_EQ(out.pageCount, 3);
}

TEST_F(LinesPagination, EachPageDrawsExactlyItsOwnLines)
{
    const int lpp = Layout([](TestLines& p) { Lines(p, 1); });
    out.body = [lpp](TestLines& p) { Lines(p, lpp + 5, lpp - 2, lpp + 2); };
    out.SetPrintParams(&page.dc, page.dc.DeviceSize());
    out.BeginPrinting();
    TRect r;
    page.dc.texts.clear();
    out.PrintPage(2, r, 0);
    const auto rows = TextRows(page.dc.texts, out.pageRect.left, out.textTop, out.pageRect.bottom - out.footerHeight,
                               page.charWidth);
    ASSERT_EQ(rows.size(), 7u);
    EXPECT_EQ(rows.front(), "line " + std::to_string(lpp - 2));
    EXPECT_EQ(rows.back(), "line " + std::to_string(lpp + 4));
    out.EndPrinting();
}

// A list whose rows are their numbers; the test counts what each page drew.
class TestList : public APrintOutList {
public:
    void LoadMargins() override { gCurPageMargins = {100, 100, 100, 100}; }
    void StoreMargins() override {}
    void LoadFont() override { gCurPageFont = NoPageFont(); }
    void PrepareHeader() override
    {
        rowCount = rows;
        separatorAt = separator;
    }
    void PrintRow(TDC&, const TRect&, int row) override { printed.push_back(row); }
    int rows = 0, separator = 0;
    std::vector<int> printed;
};

TEST(ListPagination, RowsPerPageAndTheSeparator)
{
    ResetPrintSettings();
    FixedPage page;
    TestList list;
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    const int first = list.rowsFirst, later = list.rowsLater;
    ASSERT_GT(first, 3);
    ASSERT_GT(later, first) << "page 1 carries the information block";

    list.rows = first;
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    EXPECT_EQ(list.pageCount, 1) << "all rows fit on page 1";
    list.rows = first + 1;
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    EXPECT_EQ(list.pageCount, 2) << "one row more than fits";

    list.rows = 5;
    list.separator = 2;
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    std::vector<int> order;
    for (int i = 0; i < 7; ++i) order.push_back(list.RowAt(1, i));
    EXPECT_EQ(order, (std::vector<int>{0, 1, APrintOutList::kSeparatorRow, 2, 3, 4, -1}));
    EXPECT_EQ(list.RowAt(2, 0), -1);

    list.separator = 5;  // equal to the row count: none
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    EXPECT_FALSE(list.HasSeparator());
    list.BeginPrinting();
    TRect r;
    list.PrintPage(1, r, 0);
    EXPECT_EQ(list.printed, (std::vector<int>{0, 1, 2, 3, 4}));

    list.rows = first + later + 1;
    list.separator = 0;
    list.SetPrintParams(&page.dc, page.dc.DeviceSize());
    EXPECT_EQ(list.pageCount, 3);
    EXPECT_EQ(list.RowAt(3, 0), first + later);
    EXPECT_EQ(list.RowAt(3, 1), -1);
}

}  // namespace
}  // namespace vyn::test
