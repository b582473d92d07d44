// The line grid and the text writers of a printout, on a page with fixed-pitch metrics: every
// position below is a whole number of characters from the left margin.
#include <gtest/gtest.h>

#include "PrintTestUtil.h"

namespace vyn::test {
namespace {

class TextWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetPrintSettings();
        out.SetPrintParams(&page.dc, page.dc.DeviceSize());
        out.Rewind();
        w = page.charWidth;
        left = out.pageRect.left;
        cols = out.pageRect.Width() / w;
    }
    int Col() const { return (out.x - left) / w; }

    FixedPage page;
    TestLines out;
    int w = 0, left = 0, cols = 0;
};

TEST_F(TextWriter, PageAndCharacterUnitsComeFromTheDeviceAndTheFont)
{
    // One-inch margins on a 96-dpi page of 816 x 1056 pixels.
    EXPECT_EQ(out.pageRect, TRect(96, 96, 720, 960));
    EXPECT_EQ(gPrintCharWidth, w);
    EXPECT_GT(w, 5);
    // Quarter characters truncate toward zero.
    EXPECT_EQ(PrintXUnits(16), 4 * w);
    EXPECT_EQ(PrintXUnits(1), w / 4);
    EXPECT_EQ(PrintYUnits(8), gPrintCharHeight);
}

TEST_F(TextWriter, TabMovesOnlyOnAnEmptyLineOrWhenAskedAndLeftOfIt)
{
    out.TabTo(16);
    EXPECT_EQ(Col(), 4) << "an empty line goes to the tab at once";
    out.PrintF("abcdefgh");
    out.TabTo(24, 0);
    EXPECT_EQ(Col(), 12) << "after text the cursor stays";
    out.NewLine();
    EXPECT_EQ(Col(), 6) << "the next line starts at the new tab";
    out.PrintF("ab");
    out.TabTo(36, 1);
    EXPECT_EQ(Col(), 9) << "moving, the cursor left of the tab goes there";
    out.PrintF("abcdefgh");
    out.TabTo(16, 1);
    EXPECT_EQ(Col(), 17) << "moving never goes back to the left";
}

TEST_F(TextWriter, LineBreaksOfTheThreeWriters)
{
    struct Case {
        const char* name;
        void (APrintOut::*writer)(std::string_view, int);
        const char* text;
        int n;
        int line, col;
    };
    const Case cases[] = {
        {"PrintF ends the line at CR LF", &APrintOut::PrintF, "ab\r\ncd", -1, 1, 2},
        {"PrintF: CR and LF alone end lines too", &APrintOut::PrintF, "a\rb\nc", -1, 2, 1},
        {"PrintF: two line ends leave one empty line", &APrintOut::PrintF, "a\r\n\r\nb", -1, 2, 1},
        {"PrintF: a final line end starts the next line", &APrintOut::PrintF, "abc\r\n", -1, 1, 0},
        {"PrintF: the length cuts the text", &APrintOut::PrintF, "abc\r\ndef", 3, 0, 3},
        {"PrintText: a line end becomes two blanks", &APrintOut::PrintText, "a\r\nb", -1, 0, 4},
        {"PrintWrapped ends the line at a line end", &APrintOut::PrintWrapped, "a b\nc", -1, 1, 1},
    };
    for (const Case& c : cases) {
        out.Rewind();
        (out.*c.writer)(c.text, c.n);
        EXPECT_EQ(out.line, c.line) << c.name;
        EXPECT_EQ(Col(), c.col) << c.name;
    }
}

TEST_F(TextWriter, PrintTextStartsANewLineForAPieceThatDoesNotFit)
{
    out.PrintF(std::string(static_cast<std::size_t>(cols - 3), 'x'));
    out.PrintText("abcd");
    EXPECT_EQ(out.line, 1);
    EXPECT_EQ(Col(), 4);
    // At the tab a piece goes out whole even when it is wider than the line.
    out.Rewind();
    out.PrintText(std::string(static_cast<std::size_t>(cols + 5), 'y'));
    EXPECT_EQ(out.line, 0);
    EXPECT_EQ(out.RemainingWidth(), 0);
}

TEST_F(TextWriter, PrintWrappedBreaksAfterBreakCharactersAndSplitsLongWords)
{
    const std::size_t c = static_cast<std::size_t>(cols);
    struct Case {
        const char* name;
        std::string text;
        int line, col;
    };
    const Case cases[] = {
        {"fits", "alpha beta", 0, 10},
        {"a word after a blank moves down", std::string(c - 3, 'x') + " yyyyy", 1, 5},
        {"breaks after '+'", std::string(c - 2, 'x') + "+cd", 1, 2},
        {"'(' is a token of its own", std::string(c - 1, 'x') + "(ab", 1, 2},
        {"a word wider than the line goes over several lines", std::string(2 * c + 3, 'z'), 3, 3},
    };
    for (const Case& k : cases) {
        out.Rewind();
        out.PrintWrapped(k.text);
        EXPECT_EQ(out.line, k.line) << k.name;
        EXPECT_EQ(Col(), k.col) << k.name;
    }
}

TEST_F(TextWriter, ContinuationLinesStartAtTheTab)
{
    out.TabTo(16);
    out.PrintWrapped(std::string(static_cast<std::size_t>(cols - 4), 'a') + " bb");
    EXPECT_EQ(out.line, 1);
    EXPECT_EQ(Col(), 4 + 2);
}

TEST_F(TextWriter, APaginationRunDrawsNothingButAdvancesAsPrinting)
{
    auto body = [](TestLines& p) {
        p.TabTo(8);
        p.PrintF("first\r\nsecond");
        p.PrintWrapped(" and a few words to wrap");
        p.PrintText("\r\nlast");
    };
    const QImage blank = page.image.copy();
    out.Rewind();
    out.SetPageLines(0, -1);
    body(out);
    const int line = out.line, x = out.x;
    EXPECT_EQ(page.image, blank);
    EXPECT_TRUE(page.dc.texts.empty());

    out.Rewind();
    body(out);
    EXPECT_EQ(out.line, line);
    EXPECT_EQ(out.x, x);
    EXPECT_NE(page.image, blank);
}

TEST_F(TextWriter, OnlyTheVisibleLinesAreDrawnAtTheirPlaceOnThePage)
{
    out.textTop = 200;
    out.Rewind();
    out.SetPageLines(1, 2);
    out.PrintF("zero\r\none\r\ntwo");
    ASSERT_EQ(page.dc.texts.size(), 1u);
    EXPECT_EQ(page.dc.texts[0].text, "one");
    EXPECT_EQ(page.dc.texts[0].y, 200);
    EXPECT_EQ(page.dc.texts[0].x, left);
}

TEST_F(TextWriter, ThePreviewSizeOnlyRedirectsTheDrawing)
{
    const TRect rect = out.pageRect;
    const int lineHeight = out.lineHeight, pages = out.pageCount, charW = gPrintCharWidth;
    QImage other(100, 100, QImage::Format_RGB32);
    TDC screen(other);
    out.SetPrintParams(&screen, TSize(kPreviewPageSize, kPreviewPageSize));
    EXPECT_EQ(out.outDC, &screen);
    EXPECT_EQ(out.GetDC(), &page.dc);
    EXPECT_EQ(out.pageRect, rect);
    EXPECT_EQ(out.lineHeight, lineHeight);
    EXPECT_EQ(out.pageCount, pages);
    EXPECT_EQ(gPrintCharWidth, charW);
}

}  // namespace
}  // namespace vyn::test
