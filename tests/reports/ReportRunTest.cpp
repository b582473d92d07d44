// A report run: pagination over simulated samples and over the demo plate, and evaluation of
// conditions and contents through the report pool chained to the plate's pools.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "document/DocShell.h"
#include "document/QDoc.h"
#include "plate/QPlate.h"
#include "plate/QSample.h"

namespace vyn {
namespace {

using test::Add;

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

// 100 device units per inch; a page of 10 x 14 inches, so a 1-inch band is 100 units high.
void SetPage(RPReport& r, int heightInches = 14)
{
    r.Print().dpiX = r.Print().dpiY = 100;
    r.Print().pageRect = TRect(0, 0, 1000, heightInches * 100);
}

// Bands off except the detail, which is a quarter inch per sample.
void DetailOnly(RPReport& r)
{
    for (int i : {0, 1, 3, 4}) r.Band(i).SetEnabled(false);
    r.Detail().StoreHeight(360);
}

// Samples on each page: the sample index of every section instance, page by page.
std::vector<std::vector<int>> SamplesByPage(const RPReport& r)
{
    std::vector<std::vector<int>> pages;
    for (int k = 1; k <= r.Print().pageCount; ++k) {
        const RPPage& p = *r.Page(k);
        std::vector<int> s;
        for (int i = p.first; i <= p.last; ++i) s.push_back(r.SectionInstances()[static_cast<std::size_t>(i)]->sample);
        pages.push_back(s);
    }
    return pages;
}

struct Simulated {
    Simulated(int fixed, int seq)
    {
        GetRPRunShell().fakeSamples = [fixed, seq](int& f, int& s) {
            f = fixed;
            s = seq;
        };
    }
    ~Simulated() { GetRPRunShell().fakeSamples = nullptr; }
};

TEST(ReportPagination, SimulatedSequentialSamplesOnly)
{
    Simulated sim(3, 45);
    RPReport r;
    DetailOnly(r);
    SetPage(r, 14);  // 56 quarter inches
    r.Paginate();
    ASSERT_EQ(r.SectionInstances().size(), 45u);
    EXPECT_EQ(r.SectionInstances().front()->sample, 3);
    EXPECT_EQ(r.SectionInstances().back()->sample, 47);
    EXPECT_EQ(r.Print().pageCount, 1);
    r.FreePages();
    EXPECT_TRUE(r.SectionInstances().empty());
}

TEST(ReportPagination, ForceNewPageAndHeaderPresence)
{
    Simulated sim(0, 6);
    struct Row {
        const char* name;
        int rhForce;
        int detailForce;
        int pageHeaderPresent;
        std::vector<std::vector<int>> pages;
        std::vector<bool> headerShown;
    };
    const std::vector<Row> rows = {
        {"plain", 0, 0, 0, {{-1, 0, 1, 2, 3, 4, 5, -1}}, {true}},
        {"detail before: only the first detail", 0, 1, 0, {{-1}, {0, 1, 2, 3, 4, 5, -1}}, {true, true}},
        {"report header after", 2, 0, 0, {{-1}, {0, 1, 2, 3, 4, 5, -1}}, {true, true}},
        {"not with report header", 2, 0, 1, {{-1}, {0, 1, 2, 3, 4, 5, -1}}, {false, true}},
    };
    for (const Row& row : rows) {
        RPReport r;
        r.Band(bandPageHeader).StoreHeight(720);
        r.Band(bandPageFooter).SetEnabled(false);
        r.Band(bandReportHeader).StoreHeight(720);
        r.Band(bandReportFooter).StoreHeight(720);
        r.Detail().StoreHeight(720);
        r.Band(bandReportHeader).SetForceNewPage(row.rhForce);
        r.Detail().SetForceNewPage(row.detailForce);
        r.Band(bandPageHeader).SetHdFtPresent(row.pageHeaderPresent);
        SetPage(r, 14);
        r.Paginate();
        EXPECT_EQ(SamplesByPage(r), row.pages) << row.name;
        for (int k = 1; k <= r.Print().pageCount && k <= static_cast<int>(row.headerShown.size()); ++k)
            EXPECT_EQ(r.Page(k)->headerShown, row.headerShown[static_cast<std::size_t>(k - 1)]) << row.name << " page " << k;
    }
}

TEST(ReportPagination, NotWithReportFooterRefillsWithTheHeader)
{
    Simulated sim(0, 10);
    RPReport r;
    r.Band(bandReportHeader).SetEnabled(false);
    r.Band(bandPageFooter).SetEnabled(false);
    r.Band(bandPageHeader).StoreHeight(1440);
    r.Band(bandPageHeader).SetHdFtPresent(2);
    r.Band(bandReportFooter).StoreHeight(720);
    r.Detail().StoreHeight(1440);
    SetPage(r, 6);  // 600 units: five details without the header, four with it
    r.Paginate();
    const auto pages = SamplesByPage(r);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_EQ(pages[0].size(), 5u) << "the header comes in and the page is filled again";
    EXPECT_TRUE(r.Page(1)->headerShown);
    EXPECT_FALSE(r.Page(r.Print().pageCount)->headerShown) << "a page whose fill ends with the report footer";
}

TEST(ReportPagination, ColumnsHorizontalAndVertical)
{
    Simulated sim(0, 7);
    for (int layout : {1, 0}) {
        RPReport r;
        DetailOnly(r);
        r.StoreWidth(3000);
        r.Detail().SetNOfColumns(3);
        r.Detail().SetColumnLayout(layout);
        SetPage(r, 14);
        r.Paginate();
        ASSERT_EQ(r.Print().pageCount, 1);
        std::vector<std::pair<int, int>> colRow;  // column, row index by y
        for (const auto& si : r.SectionInstances()) colRow.emplace_back(si->column, si->devY / si->devHeight);
        const std::vector<std::pair<int, int>> expected =
            layout == 1 ? std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 0}, {0, 1}, {1, 1}, {2, 1}, {0, 2}}
                        : std::vector<std::pair<int, int>>{{0, 0}, {0, 1}, {0, 2}, {1, 0}, {1, 1}, {1, 2}, {2, 0}};
        EXPECT_EQ(colRow, expected) << (layout ? "horizontal" : "vertical");
    }
}

TEST(ReportPagination, PageBreakObjectsCutBands)
{
    Simulated sim(0, 3);
    {
        RPReport r;
        DetailOnly(r);
        Add<RPObjectPgBreak>(r, bandDetail, 0, 0, 720, 0);
        SetPage(r);
        r.Paginate();
        EXPECT_EQ(SamplesByPage(r), (std::vector<std::vector<int>>{{0}, {1}, {2}}));
    }
    {
        RPReport r;
        DetailOnly(r);
        Add<RPObjectPgBreak>(r, bandDetail, 0, 360, 720, 0);  // at the band's bottom edge
        Add<RPObjectRectangle>(r, bandDetail, 0, 100, 100, 100);
        SetPage(r);
        r.Paginate();
        ASSERT_EQ(r.SectionInstances().size(), 6u);
        EXPECT_EQ(r.SectionInstances()[1]->height, 0);
        EXPECT_EQ(r.SectionInstances()[1]->flags & siNewPageBefore, siNewPageBefore);
        EXPECT_EQ(r.Print().pageCount, 4) << "each empty last slice opens a page the next sample shares";
        EXPECT_EQ(r.SectionInstances()[0]->objects.size(), 1u) << "the rectangle lies in the first slice";
    }
    {
        RPReport r;  // objects right of the width plus 24 twips are not printed
        DetailOnly(r);
        r.StoreWidth(1000);
        Add<RPObjectRectangle>(r, bandDetail, 1024, 0, 10, 10);
        Add<RPObjectRectangle>(r, bandDetail, 1023, 0, 10, 10);
        SetPage(r);
        r.Paginate();
        ASSERT_FALSE(r.SectionInstances().empty());
        ASSERT_EQ(r.SectionInstances()[0]->objects.size(), 1u);
        EXPECT_EQ(r.SectionInstances()[0]->objects[0]->Object().GetLeft(), 1023);
    }
}

// The run's "Status" dialog: records what it is shown and answers from a script.
struct ScriptedStatus : IStatusReport {
    ScriptedStatus(std::vector<std::string>& log, std::vector<int>& answers) : log_(log), answers_(answers) {}
    void SetTitle(const std::string& t) override { log_.push_back("title:" + t); }
    void AddEntry(const std::string& n, const std::string& t) override { log_.push_back(n + "|" + t); }
    void AddErrorDetail(const std::string& n, const std::string& t, const std::string& d) override
    {
        log_.push_back(n + "|" + t + "|" + d);
    }
    void AddMessage(const std::string& t) override { log_.push_back(t); }
    void AddBlankLine() override {}
    int Run() override
    {
        log_.push_back("run");
        if (answers_.empty()) return kStatusIgnoreThis;
        const int a = answers_.front();
        answers_.erase(answers_.begin());
        return a;
    }
    std::vector<std::string>& log_;
    std::vector<int>& answers_;
};

struct DemoRun : ::testing::Test {
    void SetUp() override
    {
        doc = std::make_unique<QDoc>();
        doc->SetDocPath(kDemoPlate);
        ASSERT_TRUE(doc->InitDoc());
        GetRPRunShell().makeStatus = [this] { return std::make_unique<ScriptedStatus>(log, answers); };
    }
    void TearDown() override { GetRPRunShell().makeStatus = nullptr; }
    QPlate& Plate() { return doc->GetPlate(); }
    std::unique_ptr<QDoc> doc;
    std::vector<std::string> log;
    std::vector<int> answers;
};

TEST_F(DemoRun, PagesSamplesHeaderAndFooter)
{
    RPReport r;
    r.SetName("Demo run");
    r.SetRunSource(&Plate(), doc.get());
    r.Band(bandReportHeader).SetEnabled(false);
    r.Band(bandReportFooter).SetEnabled(false);
    r.Band(bandPageHeader).StoreHeight(720);
    r.Band(bandPageFooter).StoreHeight(720);
    r.Detail().StoreHeight(1440);
    r.Detail().SetDetailSamples(0);
    auto* footer = Add<RPObjectTextBox>(r, bandPageFooter, 0, 0, 2000, 300);
    footer->StoreContents("=pages");
    auto* pageNo = Add<RPObjectTextBox>(r, bandPageFooter, 3000, 0, 2000, 300);
    pageNo->StoreContents("=page");
    auto* name = Add<RPObjectTextBox>(r, bandPageHeader, 0, 0, 2000, 300);
    name->StoreContents("=report + \" \" + filename");
    auto* id = Add<RPObjectTextBox>(r, bandDetail, 0, 0, 2000, 300);
    id->StoreContents("=smplid");
    SetPage(r, 4);  // 400 units: header 50, footer 50, three details of 100
    r.Paginate();
    const int n = Plate().sampleCount;
    ASSERT_GT(n, 0);
    EXPECT_EQ(r.Print().pageCount, (n + 2) / 3);
    const auto pages = SamplesByPage(r);
    ASSERT_FALSE(pages.empty());
    std::vector<int> firstPage;
    for (int i = 0; i < std::min(n, 3); ++i) firstPage.push_back(i);
    EXPECT_EQ(pages[0], firstPage);
    EXPECT_EQ(pages.back().back(), n - 1);
    const RPPage& last = *r.Page(r.Print().pageCount);
    ASSERT_TRUE(last.footerShown);
    const auto& footerText = static_cast<RPObjInstTextBox&>(*last.footer.objects[0]).text;
    EXPECT_EQ(footerText, std::to_string(r.Print().pageCount)) << "the final count";
    EXPECT_EQ(static_cast<RPObjInstTextBox&>(*r.Page(1)->footer.objects[1]).text, "1");
    EXPECT_EQ(static_cast<RPObjInstTextBox&>(*last.footer.objects[1]).text, std::to_string(r.Print().pageCount));
    const auto& headerText = static_cast<RPObjInstTextBox&>(*r.Page(1)->header.objects[0]).text;
    EXPECT_EQ(headerText, "Demo run " + doc->GetTitle());
    const auto& first = static_cast<RPObjInstTextBox&>(*r.SectionInstances()[0]->objects[0]);
    EXPECT_EQ(first.contentState, 1);
    EXPECT_EQ(first.text, Plate().GetSample(0)->ident) << "the sample's own pool answers first";
    EXPECT_TRUE(log.empty());
}

TEST_F(DemoRun, ErrorsAreCollectedAndTheUserDecides)
{
    struct Row {
        const char* name;
        std::vector<int> answers;
        int runs;
        bool aborted;
    };
    const std::vector<Row> rows = {
        {"ignore each", {}, -1, false},
        {"ignore all after the first", {kStatusIgnoreAll}, 1, false},
        {"abort at the first", {kStatusAbort}, 1, true},
    };
    for (const Row& row : rows) {
        log.clear();
        answers = row.answers;
        RPReport r;
        r.SetRunSource(&Plate(), doc.get());
        DetailOnly(r);
        r.Detail().SetDetailSamples(0);
        auto* bad = Add<RPObjectTextBox>(r, bandDetail, 0, 0, 2000, 300);
        bad->StoreContents("=1/");
        auto* cond = Add<RPObjectTextBox>(r, bandDetail, 0, 0, 2000, 300);
        cond->StoreContents("shown");
        cond->StoreCondition("=\"text\"");
        auto* hidden = Add<RPObjectTextBox>(r, bandDetail, 0, 0, 2000, 300);
        hidden->StoreContents("never");
        hidden->StoreCondition(" 0 ");
        SetPage(r);
        r.Paginate();
        int runs = 0;
        for (const auto& e : log) runs += e == "run";
        if (row.runs >= 0) EXPECT_EQ(runs, row.runs) << row.name;
        else EXPECT_EQ(runs, 2 * Plate().sampleCount) << row.name;
        EXPECT_EQ(r.Print().pageCount == 0, row.aborted) << row.name;
        ASSERT_FALSE(log.empty()) << row.name;
        EXPECT_EQ(log[0], "title:TextBox Error") << row.name;
        if (row.aborted) continue;
        const auto& si = *r.SectionInstances()[0];
        std::string marker;
        EXPECT_EQ(si.objects[0]->PrepareGeometry(marker), 1);
        EXPECT_EQ(marker, "#ERR#") << row.name;
        EXPECT_EQ(si.objects[1]->PrepareGeometry(marker), 1);
        EXPECT_EQ(marker, "#C#") << row.name;
        EXPECT_EQ(si.objects[2]->PrepareGeometry(marker), 1);
        EXPECT_EQ(marker, "") << row.name;
    }
}

TEST_F(DemoRun, SourcesAndValueTexts)
{
    RPReport r;
    r.SetRunSource(&Plate(), doc.get());
    DetailOnly(r);
    r.Band(bandReportHeader).SetEnabled(true);
    r.Band(bandReportHeader).StoreHeight(720);
    struct Row {
        const char* name;
        const char* contents;
        int sourceKind;
        const char* arg;
        const char* text;
        int state;
    };
    const std::vector<Row> rows = {
        {"empty expression", "=", srGlobal, "", "", 1},
        {"vector with the box format", "={1,2}", srGlobal, "", "{1.000;2.000}", 1},
        {"plain text", "abc", srGlobal, "", "abc", 1},
        {"cell outside the plate", "=smplid", srCell, "P24", "", -1},
        {"unknown sample", "=1", srSample, "NoSuchSample", "", 0},
    };
    for (const Row& row : rows) {
        auto* t = Add<RPObjectTextBox>(r, bandReportHeader, 0, 0, 2000, 300);
        t->StoreContents(row.contents);
        RPNumFormat f;
        f.Set(2, 3, 4);
        t->SetFormat(f);
        QRSource s;
        s.Set(row.sourceKind, row.arg, row.arg);
        t->StoreSource(s);
    }
    SetPage(r);
    r.Paginate();
    const auto& objs = r.SectionInstances()[0]->objects;
    ASSERT_EQ(objs.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto& inst = static_cast<const RPObjInstTextBox&>(*objs[i]);
        EXPECT_EQ(inst.text, rows[i].text) << rows[i].name;
        if (std::string(rows[i].name) == "unknown sample") EXPECT_EQ(inst.visibility, viCondError);
        else if (std::string(rows[i].name) == "cell outside the plate") EXPECT_EQ(inst.contentState, -1) << rows[i].name;
        else EXPECT_EQ(inst.contentState, rows[i].state) << rows[i].name;
    }
    bool sawNoSample = false;
    for (const auto& e : log) sawNoSample |= e == "Cannot locate sample.";
    EXPECT_TRUE(sawNoSample);
}

TEST(ReportRun, WithoutPlateTextsPrintLiterally)
{
    Simulated sim(1, 1);
    RPReport r;
    DetailOnly(r);
    auto* t = Add<RPObjectTextBox>(r, bandDetail, 0, 0, 2000, 300);
    t->StoreContents("=1+1");
    t->StoreCondition("=x > 0");
    SetPage(r);
    r.Paginate();
    const auto& inst = static_cast<const RPObjInstTextBox&>(*r.SectionInstances()[0]->objects[0]);
    EXPECT_EQ(inst.visibility, viPrinted);
    EXPECT_EQ(inst.text, "=1+1");
}

TEST(ReportRun, PenExtent)
{
    RPReport r;
    r.PrintScaleX().SetUnitsPerInch(600);
    r.PrintScaleY().SetUnitsPerInch(600);
    const TRect p = r.PenExtent(6);  // 50 units
    EXPECT_EQ(p.left, -24);
    EXPECT_EQ(p.right, 26);
    EXPECT_EQ(p.Width(), 50);
    const TRect z = r.PenExtent(0);
    EXPECT_EQ(z.left, 0);
    EXPECT_EQ(z.Width(), 1);
}

}  // namespace
}  // namespace vyn
