// The report model without a designer view: attribute answers per kind, the values kept by
// the sets, scales, data sources, number formats, axis specifications and the font cache.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "reports/RPDefaultAttrs.h"
#include "reports/RPScale.h"

namespace vyn {
namespace {

using test::Add;

TEST(ReportAttributes, EachKindAnswersItsCodesAndNeutralValuesForTheRest)
{
    RPReport report;
    struct Row {
        const char* name;
        RPObjAttr* target;
        std::vector<int> codes;
    };
    auto range = [](int a, int b, std::vector<int> extra = {}) {
        std::vector<int> v;
        for (int i = a; i <= b; ++i) v.push_back(i);
        v.insert(v.end(), extra.begin(), extra.end());
        return v;
    };
    RPObjectTextBox text;
    RPObjectRectangle rect;
    RPObjectLine line;
    RPObjectPicture pic;
    RPObjectPgBreak brk;
    RPObjectGraph graph;
    const std::vector<Row> rows = {
        {"text box", &text, range(0, 17)},
        {"rectangle", &rect, range(0, 9, {14, 16})},
        {"line", &line, {0, 1, 2, 3, 5, 6, 7, 14, 16, 18}},
        {"picture", &pic, range(0, 9, {14, 16, 37})},
        {"page break", &brk, {1}},
        {"graph", &graph, range(0, 11, range(19, 29, {14, 16}))},
        {"page header", &report.Band(0), {3, 9, 31}},
        {"report header", &report.Band(1), {3, 9, 30}},
        {"detail", &report.Band(2), {3, 9, 30, 32, 33, 34}},
        {"report", &report, {2, 35, 36}},
        {"graph defaults", &GraphDefaults(), range(2, 11, range(19, 29))},
    };
    for (const Row& row : rows) {
        std::vector<int> expected = row.codes;
        std::sort(expected.begin(), expected.end());
        std::vector<int> got;
        for (int c = 0; c < acCount; ++c)
            if (row.target->HasAttr(c)) got.push_back(c);
        EXPECT_EQ(got, expected) << row.name;
    }
    // Neutral answers of attributes a target lacks.
    EXPECT_EQ(brk.GetLeft(), 32767);
    EXPECT_EQ(rect.GetTextAlignH(), 32767);
    EXPECT_EQ(rect.GetFont(), nullptr);
    EXPECT_EQ(rect.GetRGBFore(), -1);
    EXPECT_EQ(rect.GetNOfColumns(), 1);
    EXPECT_EQ(rect.GetForceNewPage(), 0);
    EXPECT_EQ(rect.GetContents(), "");
    EXPECT_EQ(rect.GetFormat().kind, -1);
    EXPECT_EQ(report.GetSource().kind, -1);
    EXPECT_EQ(rect.GetAxisX().kind, -1);
    EXPECT_EQ(report.Band(0).GetNOfColumns(), 1);
    // A line has no border style, back style nor back colour, and a page break none of the
    // border and back attributes: they answer as lacking them, and their sets change nothing.
    EXPECT_EQ(line.GetBorderStyle(), 32767);
    EXPECT_EQ(line.GetBackStyle(), 32767);
    EXPECT_EQ(line.GetRGBBack(), -1);
    std::vector<std::uint8_t> a(static_cast<std::size_t>(line.Write(nullptr))), b(static_cast<std::size_t>(brk.Write(nullptr)));
    line.Write(a.data());
    brk.Write(b.data());
    line.SetBackStyle(1);
    line.SetBorderStyle(1);
    line.SetRGBBack(0x123456);
    brk.SetBorderStyle(1);
    brk.SetBackStyle(1);
    brk.SetRGBBorder(0x123456);
    std::vector<std::uint8_t> a2 = a, b2 = b;
    line.Write(a2.data());
    brk.Write(b2.data());
    EXPECT_EQ(a2, a) << "line record unchanged";
    EXPECT_EQ(b2, b) << "page break record unchanged";
    EXPECT_EQ(brk.GetBorderStyle(), 32767);
}

TEST(ReportAttributes, SetsClampAndKeepLowColourBits)
{
    RPObjectRectangle r;
    struct Row {
        const char* name;
        void (RPObjAttr::*set)(int);
        int (RPObjAttr::*get)() const;
        int value;
        int stored;
    };
    const std::vector<Row> rows = {
        {"border style any non-zero is 1", &RPObjAttr::SetBorderStyle, &RPObjAttr::GetBorderStyle, 5, 1},
        {"border width 7 becomes 0", &RPObjAttr::SetBorderWidth, &RPObjAttr::GetBorderWidth, 7, 0},
        {"border width 4 kept", &RPObjAttr::SetBorderWidth, &RPObjAttr::GetBorderWidth, 4, 4},
        {"line style 9 becomes 0", &RPObjAttr::SetBorderLnStyle, &RPObjAttr::GetBorderLnStyle, 9, 0},
        {"back style -3 is 1", &RPObjAttr::SetBackStyle, &RPObjAttr::GetBackStyle, -3, 1},
        {"system colour flag dropped", &RPObjAttr::SetRGBBorder, &RPObjAttr::GetRGBBorder, static_cast<int>(0x80000005), 5},
    };
    for (const Row& row : rows) {
        (r.*row.set)(row.value);
        EXPECT_EQ((r.*row.get)(), row.stored) << row.name;
    }
    // Geometry sets need a designer view: without one nothing changes.
    r.SetLeft(500);
    EXPECT_EQ(r.GetLeft(), 0);

    RPReport report;
    report.Detail().SetNOfColumns(0);
    EXPECT_EQ(report.Detail().GetNOfColumns(), 1);
    report.Detail().SetNOfColumns(30);
    EXPECT_EQ(report.Detail().GetNOfColumns(), 24);
    report.SetGranulX(0);
    EXPECT_EQ(report.GetGranulX(), 1);
    report.GridX().SetDivisions(100);
    EXPECT_EQ(report.GridX().Divisions(), 72);

    RPObjectGraph g;
    g.SetCurveWidth(7);
    EXPECT_EQ(g.GetCurveWidth(), 0);
    g.SetCurveWidth(-1);
    EXPECT_EQ(g.GetCurveWidth(), 0);
}

TEST(ReportModel, FactoryAssignAndClone)
{
    EXPECT_EQ(RPObject::Create(6), nullptr);
    EXPECT_EQ(RPObject::Create(-1), nullptr);
    EXPECT_EQ(ObjectTypeName(6), "");
    EXPECT_EQ(ObjectTypeName(3), "Graph");
    EXPECT_EQ(SectionName(2), "Detail");
    RPObjectTextBox t;
    RPObjectRectangle r;
    r.StoreCondition("x > 1");
    EXPECT_EQ(t.Assign(r), 1);
    EXPECT_EQ(t.GetCondition(), "");
    t.StoreContents("abc");
    t.StoreCondition("=0");
    auto c = RPObject::Clone(t);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(static_cast<RPObjectTextBox&>(*c).GetContents(), "abc");
    EXPECT_EQ(c->GetCondition(), "=0");
    EXPECT_EQ(c->Owner(), nullptr);

    RPObjectPgBreak b;
    b.SetPos(TPoint(500, 700));
    b.SetSize(TSize(9, 9));
    EXPECT_EQ(b.TwipsRect(), TRect(0, 700, 720, 700));
    EXPECT_EQ(b.GetTop(), 700);
    EXPECT_EQ(b.GetLeft(), 32767) << "a page break answers only its Top";
}

TEST(ReportModel, BandHeightReportWidthAndZOrder)
{
    RPReport report;
    RPSection& d = report.Detail();
    Add<RPObjectRectangle>(report, bandDetail, 0, 1000, 100, 1000);
    d.SetBandHeight(0);
    EXPECT_EQ(d.StoredHeight(), 2000);
    RPSection& h = report.Band(bandReportHeader);
    h.SetBandHeight(40000);
    EXPECT_EQ(h.StoredHeight(), 31680);

    report.SetReportWidth(100);
    EXPECT_EQ(report.Width(), 720);
    report.SetReportWidth(50000);
    EXPECT_EQ(report.Width(), 31680);
    Add<RPObjectRectangle>(report, bandReportFooter, 7000, 0, 2000, 100);
    report.SetReportWidth(8640);
    EXPECT_EQ(report.Width(), 9000);
    report.Band(bandReportFooter).SetEnabled(false);
    report.SetReportWidth(8640);
    EXPECT_EQ(report.Width(), 8640) << "objects of a disabled band do not count";

    RPSection& f = report.Band(bandPageFooter);
    std::vector<RPObject*> o;
    for (int i = 0; i < 4; ++i) o.push_back(Add<RPObjectRectangle>(report, bandPageFooter, i, 0, 10, 10));
    o[1]->SetSelected(true);
    o[3]->SetSelected(true);
    auto order = [&f] {
        std::vector<int> v;
        for (const auto& p : f.Objects()) v.push_back(p->GetLeft());
        return v;
    };
    f.BringSelectionToTop();
    EXPECT_EQ(order(), (std::vector<int>{0, 2, 1, 3}));
    f.SendSelectionToBottom();
    EXPECT_EQ(order(), (std::vector<int>{1, 3, 0, 2}));
}

TEST(ReportScale, ConversionsAndRounding)
{
    RPScale twips(1440, 8);
    EXPECT_EQ(twips.RoundDown(), 3);
    EXPECT_EQ(twips.RoundUp(), 1435);
    EXPECT_EQ(twips.ToStepUp(180), 1);
    EXPECT_EQ(twips.ToStepUp(181), 2);
    EXPECT_EQ(twips.ToStepDown(359), 1);
    EXPECT_EQ(twips.StepsToTwips(3), 540);
    RPScale screen(96, 8);
    EXPECT_EQ(screen.RoundDown(), 3);
    EXPECT_EQ(screen.RoundUp(), 91);
    EXPECT_EQ(screen.FromTwips(1440, 10), 106);
    screen.SetDivisions(0);
    EXPECT_EQ(screen.Divisions(), 1);
}

TEST(ReportScale, ParseLengthTwips)
{
    struct Row {
        const char* text;
        int result;
        int twips;
        const char* rewritten;
    };
    const std::vector<Row> rows = {
        {"2,5 cm", 1, 1417, "0.984 in"},
        {"10pt", 1, 200, "0.1389 in"},
        {"1 PT", 1, 1440, "1 in"},
        {"0.5", 1, 720, "0.5 in"},
        {"100 he", 1, 100, "0.0694 in"},
        {"30", -1, -7, "0 in"},
        {"-1", -1, -7, "0 in"},
        {"", 0, -7, "0 in"},
    };
    for (const Row& row : rows) {
        std::string text = row.text;
        int twips = -7;
        EXPECT_EQ(ParseLengthTwips(text, twips), row.result) << row.text;
        EXPECT_EQ(twips, row.twips) << row.text;
        EXPECT_EQ(text, row.rewritten) << row.text;
    }
}

TEST(ReportSource, SetCompareDescribe)
{
    struct Row {
        const char* text;
        int row;
        int column;
        const char* describe;
    };
    const std::vector<Row> rows = {
        {" b12 ", 1, 11, "Cell:B12"}, {"Q1", -1, -1, "Cell:?"}, {"A1x", 0, -1, "Cell:?"},
        {"A99", 0, 98, "Cell:?"},     {"A0", 0, -1, "Cell:?"},
    };
    for (const Row& r : rows) {
        QRSource s;
        s.Set(srCell, r.text, "");
        EXPECT_EQ(s.row, r.row) << r.text;
        EXPECT_EQ(s.column, r.column) << r.text;
        EXPECT_EQ(s.Describe(), r.describe) << r.text;
    }
    QRSource a, b;
    a.Set(srSample, "", "ab c");
    EXPECT_EQ(a.id, "");
    a.Set(srSample, "", " _x1 ");
    EXPECT_EQ(a.id, "_x1");
    a.Set(srCell, "C3", "");
    b.Set(srCell, "C3", "");
    b.id = "ignored";
    EXPECT_TRUE(a == b);
    a.Clear(srDefault);
    b.Clear(srGlobal);
    EXPECT_FALSE(a == b);
}

TEST(ReportFormats, NumberFormatAndAxisEquality)
{
    RPNumFormat a, b;
    a.Set(0, 3, 4);
    b.Set(0, 9, 4);
    EXPECT_TRUE(a == b);
    a.Set(2, 3, 4);
    b.Set(2, 9, 4);
    EXPECT_FALSE(a == b);
    RPNumFormat none;
    EXPECT_FALSE(none == none);
    a.Set(7, 40, -2);
    EXPECT_EQ(a.kind, -1);
    EXPECT_EQ(a.decimals, 15);
    EXPECT_EQ(a.digits, 0);

    RPAxisSpec u1, u2;
    EXPECT_FALSE(u1 == u2);
    RPAxisSpec autoA, autoB;
    autoA.Set(0, 0, 1, 1, 2, 3);
    autoB.Set(0, 0, 5, 7, 8, 9);
    EXPECT_TRUE(autoA == autoB);
    RPAxisSpec log;
    log.Set(1, 1, 1, 1, 100, NoValue);
    EXPECT_EQ(log.RangeError(), 0);
    log.Set(1, 0, 1, 1, 100, NoValue);
    EXPECT_EQ(log.RangeError(), 1);
}

TEST(ReportFonts, CacheSharesEqualFontsAndDropsUnused)
{
    (void)TextBoxDefaults();  // holds the default font for the whole run
    const int before = RPFont::CacheSize();
    RPLogFont f = DefaultReportFont();
    f.SetFace("Times New Roman");
    f.height = 120;
    {
        RPObjectTextBox a, b;
        a.SetFont(f);
        b.SetFont(f);
        ASSERT_NE(RPFont::Find(f), nullptr);
        EXPECT_EQ(RPFont::Find(f)->refCount, 2);
        RPLogFont bold = f;
        bold.weight = 700;
        b.SetFont(bold);
        EXPECT_EQ(RPFont::Find(f)->refCount, 1);
        RPLogFont quality = f;
        quality.quality = 5;
        quality.pitchAndFamily = 3;
        RPFont holder(&f);
        EXPECT_EQ(holder.Set(quality), 0);
        EXPECT_EQ(RPFont::Find(f)->refCount, 2);
    }
    EXPECT_EQ(RPFont::Find(f), nullptr);
    EXPECT_EQ(RPFont::CacheSize(), before);
    RPFont def;
    EXPECT_EQ(def.Entry().screen.height, -13) << "10 points on a 96-pixel-per-inch screen";
}

}  // namespace
}  // namespace vyn
