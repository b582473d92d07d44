// Fonts, metrics and text output: the faces we stand in with, alignment of TextOut and
// ExtTextOut, and the DrawText formats the views and gadgets use.
#include <gtest/gtest.h>


#include "DcTestUtil.h"
#include "platform/gui/Fonts.h"

namespace vyn {
namespace {

using test::At;
using test::BoxOf;
using test::Marked;
using test::WhiteImage;

TEST(DcFonts, OriginalFacesMapOntoTheShippedFamilies)
{
    struct Row {
        const char* face;
        int pitchAndFamily;
        const char* family;
    };
    const Row rows[] = {
        {"MS Sans Serif", 0, "Liberation Sans"},
        {"Arial", 0, "Liberation Sans"},
        {"arial", 0, "Liberation Sans"},
        {"System", 0, "Liberation Sans"},
        {"Times New Roman", 0, "Liberation Serif"},
        {"Courier New", 0, "Liberation Mono"},
        {"Courier", 0, "Liberation Mono"},
        {"DejaVu Sans", 0, "DejaVu Sans"},
        {"Unknown Face", FIXED_PITCH, "Liberation Mono"},
        {"Unknown Face", FF_ROMAN | VARIABLE_PITCH, "Liberation Serif"},
        {"Unknown Face", FF_MODERN, "Liberation Mono"},
        {"", 0, "Liberation Sans"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(MapFontFace(r.face, r.pitchAndFamily), r.family) << r.face << " / " << r.pitchAndFamily;
}

TEST(DcFonts, MetricsFollowTheFontFileWhateverTheDisplay)
{
    // Liberation Sans has an ascender of 1854 and a descender of 434 in 2048 units per em
    // (its hhea table): at 11 pixels 9.96 and 2.33, at 100 pixels 90.5 and 21.2.
    struct Row {
        const char* name;
        int height;
        int ascent, descent;
    };
    const Row rows[] = {
        {"dialog size", -11, 10, 2},
        {"100 pixels", -100, 91, 21},
        {"cell height 112", 112, 91, 21},
    };
    QImage img = WhiteImage(4, 4);
    TDC dc(img);
    for (const Row& r : rows) {
        dc.SelectObject(TFont("Arial", r.height));
        const TTextMetric tm = dc.GetTextMetrics();
        EXPECT_EQ(tm.tmAscent, r.ascent) << r.name;
        EXPECT_EQ(tm.tmDescent, r.descent) << r.name;
        EXPECT_EQ(tm.tmHeight, r.ascent + r.descent) << r.name;
        if (r.height < 0) {
            EXPECT_EQ(tm.tmInternalLeading, tm.tmHeight + r.height) << r.name;
        }
    }
    // The stock fonts the views measure with.
    dc.SelectStockObject(ANSI_VAR_FONT);
    EXPECT_EQ(dc.GetTextMetrics().tmHeight, 12);
    EXPECT_EQ(dc.GetTextFace(), "MS Sans Serif");
    dc.SelectStockObject(ANSI_FIXED_FONT);
    int w[2];
    EXPECT_FALSE(dc.GetCharWidth('i', 'W', w)) << "a reversed range";
    dc.GetCharWidth('i', 'i', &w[0]);
    dc.GetCharWidth('W', 'W', &w[1]);
    EXPECT_EQ(w[0], w[1]) << "the fixed font is fixed";
    EXPECT_EQ(w[0], dc.GetTextMetrics().tmAveCharWidth);
}

TEST(DcFonts, ExtentIsTheSumOfTheCharacterWidths)
{
    QImage img = WhiteImage(4, 4);
    TDC dc(img);
    dc.SelectObject(TFont("Times New Roman", -17, 0, 0, 0, FW_BOLD));
    const std::string text = "Wavy 0.125 mg/l";
    int widths[256];
    ASSERT_TRUE(dc.GetCharWidth(0, 255, widths));
    int sum = 0;
    for (unsigned char c : text) sum += widths[c];
    EXPECT_EQ(dc.GetTextExtent(text).cx, sum);
    EXPECT_EQ(dc.GetTextExtent("").cx, 0);
    // Text from an older installation in Windows-1252 measures like its UTF-8 form.
    EXPECT_EQ(dc.GetTextExtent("\xB5g"), dc.GetTextExtent("\xC2\xB5g"));
}

TEST(DcText, AlignmentPlacesTheOpaqueCellAroundTheReferencePoint)
{
    QImage probe = WhiteImage(4, 4);
    TDC m(probe);
    m.SelectStockObject(ANSI_VAR_FONT);
    const TSize ext = m.GetTextExtent("H42x");
    const TTextMetric tm = m.GetTextMetrics();
    const int x = 60, y = 30;
    struct Row {
        const char* name;
        unsigned align;
        TRect cell;
    };
    const Row rows[] = {
        {"left top", TA_LEFT | TA_TOP, TRect(x, y, x + ext.cx, y + ext.cy)},
        {"right top", TA_RIGHT | TA_TOP, TRect(x - ext.cx, y, x, y + ext.cy)},
        {"center top", TA_CENTER | TA_TOP, TRect(x - ext.cx / 2, y, x - ext.cx / 2 + ext.cx, y + ext.cy)},
        {"left baseline", TA_LEFT | TA_BASELINE, TRect(x, y - tm.tmAscent, x + ext.cx, y - tm.tmAscent + ext.cy)},
        {"left bottom", TA_LEFT | TA_BOTTOM, TRect(x, y - ext.cy, x + ext.cx, y)},
    };
    for (const Row& r : rows) {
        QImage img = WhiteImage(120, 60);
        TDC dc(img);
        dc.SelectStockObject(ANSI_VAR_FONT);
        dc.SetBkColor(TColor(255, 255, 0));
        dc.SetTextAlign(r.align);
        dc.TextOut(x, y, "H42x");
        EXPECT_EQ(BoxOf(Marked(img)), r.cell) << r.name;
        EXPECT_EQ(At(img, r.cell.left, r.cell.top), TColor(255, 255, 0)) << r.name;
    }
    // Baseline: the foot of the "H" is the row just above the reference point.
    QImage img = WhiteImage(120, 60);
    TDC dc(img);
    dc.SelectStockObject(ANSI_VAR_FONT);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextAlign(TA_BASELINE);
    dc.TextOut(x, y, "H");
    EXPECT_EQ(BoxOf(Marked(img)).bottom, y);
}

TEST(DcText, UpdateCpRunsContinueWhereTheLastEnded)
{
    QImage img = WhiteImage(200, 40);
    TDC dc(img);
    dc.SelectStockObject(ANSI_VAR_FONT);
    dc.SetTextAlign(TA_UPDATECP);
    dc.MoveTo(10, 5);
    dc.TextOut(0, 0, "abc");
    EXPECT_EQ(dc.GetCurrentPosition(), TPoint(10 + dc.GetTextExtent("abc").cx, 5));
    dc.SetBkColor(TColor(0, 255, 0));
    dc.TextOut(0, 0, "def");
    EXPECT_EQ(At(img, 10 + dc.GetTextExtent("abc").cx, 5), TColor(0, 255, 0)) << "second run starts at the cp";
}

TEST(DcText, ExtTextOutOpaqueClippedAndWithAdvances)
{
    QImage img = WhiteImage(100, 40);
    TDC dc(img);
    dc.SelectStockObject(ANSI_VAR_FONT);
    dc.SetBkMode(TRANSPARENT);
    dc.SetBkColor(TColor(0, 0, 255));
    const TRect box(10, 10, 30, 24);
    dc.ExtTextOut(12, 11, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWWWWWW");
    EXPECT_EQ(BoxOf(Marked(img)), box) << "text is cut at the rectangle";
    EXPECT_EQ(At(img, 29, 23), TColor(0, 0, 255));

    // Given advances spread the run; its opaque cell is as wide as their sum.
    QImage spread = WhiteImage(100, 40);
    TDC sdc(spread);
    sdc.SelectStockObject(ANSI_VAR_FONT);
    sdc.SetBkColor(TColor(0, 0, 255));
    const int dx[4] = {10, 11, 12, 13};
    sdc.ExtTextOut(5, 5, 0, nullptr, "iiii", dx);
    EXPECT_EQ(BoxOf(Marked(spread)), TRect(5, 5, 5 + 46, 5 + sdc.GetTextMetrics().tmHeight));
    // Too few advances: the rest of the run keeps its own widths.
    spread.fill(0xFFFFFFFFu);
    sdc.ExtTextOut(5, 5, 0, nullptr, "iiii", std::vector<int>{10});
    EXPECT_EQ(BoxOf(Marked(spread)).right, 5 + 10 + sdc.GetTextExtent("iii").cx);
}

class DcDrawText : public ::testing::Test {
protected:
    QImage img = WhiteImage(200, 100);
    TDC dc{img};
    TTextMetric tm;
    void SetUp() override
    {
        dc.SelectStockObject(ANSI_VAR_FONT);
        tm = dc.GetTextMetrics();
    }
    int W(const char* s) { return dc.GetTextExtent(s).cx; }
};

TEST_F(DcDrawText, CalcRectMeasuresWithoutDrawing)
{
    struct Row {
        const char* name;
        const char* text;
        unsigned format;
        int width;  // of the box given
        int wantWidth, wantLines;
    };
    const int word = W("alpha");
    const int twoWords = std::max(W("alpha beta"), W("gamma delta"));
    const Row rows[] = {
        {"one line", "alpha beta", DT_SINGLELINE, 500, W("alpha beta"), 1},
        {"line breaks", "alpha\nbeta gamma\r\nx", 0, 500, W("beta gamma"), 3},
        {"single line ignores breaks", "alpha\nbeta", DT_SINGLELINE, 500, W("alphabeta"), 1},
        {"word break", "alpha beta gamma delta", DT_WORDBREAK, twoWords + 2, twoWords, 2},
        {"word break at the exact width", "alpha beta gamma delta", DT_WORDBREAK, twoWords, twoWords, 2},
        {"a long word stays whole", "alphabetagamma x", DT_WORDBREAK, word, W("alphabetagamma"), 2},
        {"prefix removed", "&File", 0, 500, W("File"), 1},
        {"double ampersand", "A&&B", 0, 500, W("A&B"), 1},
        {"no prefix", "&File", DT_NOPREFIX, 500, W("&File"), 1},
        {"empty", "", 0, 500, 0, 0},
    };
    for (const Row& r : rows) {
        TRect rect(10, 20, 10 + r.width, 30);
        const int h = dc.DrawText(r.text, rect, r.format | DT_CALCRECT);
        EXPECT_EQ(h, r.wantLines * tm.tmHeight) << r.name;
        EXPECT_EQ(rect, TRect(10, 20, 10 + r.wantWidth, 20 + r.wantLines * tm.tmHeight)) << r.name;
    }
    EXPECT_TRUE(Marked(img).empty());
}

TEST_F(DcDrawText, SingleLineAlignment)
{
    const int w = W("42.5");
    const TRect box(20, 10, 120, 50);
    struct Row {
        const char* name;
        unsigned format;
        TRect cell;
    };
    const Row rows[] = {
        {"left top", DT_SINGLELINE, TRect(20, 10, 20 + w, 10 + tm.tmHeight)},
        {"right", DT_SINGLELINE | DT_RIGHT, TRect(120 - w, 10, 120, 10 + tm.tmHeight)},
        {"centred both ways", DT_SINGLELINE | DT_CENTER | DT_VCENTER | DT_NOPREFIX,
         TRect((140 - w) / 2, (60 - tm.tmHeight) / 2, (140 - w) / 2 + w, (60 - tm.tmHeight) / 2 + tm.tmHeight)},
        {"bottom", DT_SINGLELINE | DT_BOTTOM, TRect(20, 50 - tm.tmHeight, 20 + w, 50)},
    };
    for (const Row& r : rows) {
        img.fill(0xFFFFFFFFu);
        dc.SetBkColor(TColor(255, 0, 255));
        TRect rect = box;
        dc.DrawText("42.5", rect, r.format);
        EXPECT_EQ(BoxOf(Marked(img)), r.cell) << r.name;
        EXPECT_EQ(rect, box) << r.name << ": drawing keeps the rectangle";
    }
}

TEST_F(DcDrawText, WrappedLinesAndClipping)
{
    dc.SetBkColor(TColor(255, 0, 255));
    TRect rect(10, 10, 10 + W("alpha beta") + 2, 10 + tm.tmHeight + 3);
    const int h = dc.DrawText("alpha beta gamma", rect, DT_WORDBREAK);
    EXPECT_EQ(h, 2 * tm.tmHeight);
    // The second line is cut at the rectangle's bottom.
    EXPECT_EQ(BoxOf(Marked(img)), TRect(10, 10, 10 + W("alpha beta"), 10 + tm.tmHeight + 3));

    img.fill(0xFFFFFFFFu);
    TRect narrow(10, 10, 20, 40);
    dc.DrawText("WWWW", narrow, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_EQ(BoxOf(Marked(img)).right, 10 + W("WWWW")) << "DT_NOCLIP draws past the rectangle";
}

TEST_F(DcDrawText, EndEllipsisShortensToFit)
{
    TRect rect(0, 0, W("Concentration"), 20);
    TRect calc = rect;
    dc.DrawText("Concentration of the sample", calc, DT_SINGLELINE | DT_END_ELLIPSIS | DT_CALCRECT);
    EXPECT_LE(calc.Width(), rect.Width());
    EXPECT_GT(calc.Width(), W("..."));
}

}  // namespace
}  // namespace vyn
