#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cmath>

#include "EvaluatedPlate.h"
#include "TempFile.h"
#include "document/TextExchange.h"
#include "platform/core/AtomicFile.h"
#include "document/DocShell.h"
#include "evaluator/NumFormat.h"
#include "plate/TextFieldCodec.h"

namespace vyn {
namespace {

using test::EvaluatedPlate;
using test::Heard;
using test::kPlateChanged;
using test::ScriptedDialogs;
using test::TempFile;
using test::W;

const std::string kDir = std::string(VYN_TEST_DATA) + "/document/text/";

// Default exchange and codec settings for each test, the program's restored after it.
class TextExchangeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedExchange_ = TextExchange();
        savedFields_ = TextFields();
        TextExchange() = TextExchangeSettings{};
        TextFields() = TextFieldSettings{};
        ClearLastDocMessage();
    }
    void TearDown() override
    {
        TextExchange() = savedExchange_;
        TextFields() = savedFields_;
    }

private:
    TextExchangeSettings savedExchange_;
    TextFieldSettings savedFields_;
};

double Measured(const QPlate& p, const char* well)
{
    return p.wells[static_cast<std::size_t>(W(well))].measured;
}

// The wells holding a value, as "A1=0.5 B3=2".
std::string Filled(const QPlate& p, bool data = false)
{
    std::string out;
    for (int i = 0; i < p.wellCount; ++i) {
        const double v = data ? p.wells[static_cast<std::size_t>(i)].data : p.wells[static_cast<std::size_t>(i)].measured;
        if (v == NoValue) continue;
        if (!out.empty()) out += ' ';
        char text[32];
        std::snprintf(text, sizeof text, "%g", v);
        out += p.FormatWellName(i) + "=" + text;
    }
    return out;
}

TEST_F(TextExchangeTest, DataImportFromFiles)
{
    struct Row {
        const char* name;
        const char* file;
        int fixed;
        int result;
        int valueCount;             // wells holding a value afterwards (-1: plate unchanged)
        std::vector<std::pair<const char*, double>> probes;
    };
    const std::vector<Row> rows = {
        {"separated, CR LF", "separated.txt", 0, 1, 96, {{"A1", 0.0}, {"B2", 1.01}, {"H12", 7.11}}},
        {"fixed width, LF, one blank field", "fixed.txt", 1, 1, 95, {{"A12", 0.11}, {"B2", NoValue}, {"H1", 7.0}}},
        {"only words", "words.txt", 0, 0, -1, {}},
        {"fewer lines than rows", "short.txt", 0, 1, 5, {{"A3", 3}, {"B2", 5}, {"B3", NoValue}, {"D1", NoValue}}},
        {"a single number", "single.txt", 0, 1, 1, {{"A1", 0.5}, {"A2", NoValue}}},
        {"damaged: extra fields and lines, NUL, overlong line, words, Ctrl-Z", "damaged.txt", 0, 1, 20,
         {{"A12", 12}, {"B1", 2.5}, {"B2", NoValue}, {"B3", 7}, {"C1", 3}, {"C2", NoValue}, {"D3", 4.25}, {"H1", 1}}},
        {"no such file", "missing.txt", 0, 0, -1, {}},
    };
    for (const Row& r : rows) {
        EvaluatedPlate f;
        TextFields().cellFixFields = r.fixed;
        const std::string before = Filled(f.p);
        ScriptedDialogs ui;
        ui.Pick(kDir + r.file);
        ClearLastDocMessage();
        EXPECT_EQ(f.doc.ImportData(ui, false), r.result) << r.name;
        if (r.valueCount < 0) {
            EXPECT_EQ(LastDocMessage(), "Cannot read data") << r.name;
            EXPECT_EQ(Filled(f.p), before) << r.name;
            EXPECT_TRUE(f.Take().empty()) << r.name;
            EXPECT_FALSE(f.doc.IsDirty()) << r.name;
            EXPECT_EQ(f.Kept(), EvaluatedPlate::kAllKept) << r.name;
            continue;
        }
        EXPECT_EQ(LastDocMessage(), "") << r.name;
        EXPECT_EQ(f.p.measuredCount, r.valueCount) << r.name;
        for (auto [well, v] : r.probes) EXPECT_EQ(Measured(f.p, well), v) << r.name << " " << well;
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged})) << r.name;
        EXPECT_TRUE(f.doc.IsDirty()) << r.name;
        EXPECT_EQ(f.Kept(), "- - - - - -") << r.name;
    }
}

TEST_F(TextExchangeTest, FileDialogsTitlesFiltersAndCancel)
{
    EvaluatedPlate f;
    ScriptedDialogs ui;
    EXPECT_EQ(f.doc.ImportData(ui, true), 0) << "cancelled";
    EXPECT_EQ(LastDocMessage(), "");
    ui.Pick(kDir + "single.txt", 2);
    f.doc.SubtractTextData(ui);
    ui.file = nullptr;
    f.doc.ExportData(ui, false);
    ASSERT_EQ(ui.fileDialogs.size(), 3u);
    EXPECT_EQ(ui.fileDialogs[0].title, "Transformed Data Import");
    EXPECT_TRUE(ui.fileDialogs[0].mustExist);
    EXPECT_EQ(ui.fileDialogs[0].filter, "Text (*.TXT)|*.TXT|All (*.*)|*");
    EXPECT_EQ(ui.fileDialogs[1].title, "Data subtraction (plate blanking)");
    EXPECT_EQ(ui.fileDialogs[2].title, "Measured Data Export");
    EXPECT_TRUE(ui.fileDialogs[2].overwritePrompt);
    EXPECT_EQ(ui.fileDialogs[2].filterIndex, 2) << "the index chosen is remembered";
    EXPECT_EQ(TextExchange().dataFilterIndex, 2);

    // The results export shares the identifications' index unless it has its own filter. The
    // imports dropped the results; an identification gives the export something to write.
    ui.fileDialogs.clear();
    f.p.GetSample(0)->SetIdent("P1");
    TextExchange().idFilterIndex = 3;
    f.doc.ExportResults(ui);
    TextExchange().ownResultFilter = true;
    TextExchange().resultFilter = "Results|*.RES";
    TextExchange().resultFilterIndex = 1;
    f.doc.ExportResults(ui);
    ASSERT_EQ(ui.fileDialogs.size(), 2u);
    EXPECT_EQ(ui.fileDialogs[0].title, "Results Export");
    EXPECT_EQ(ui.fileDialogs[0].filterIndex, 3);
    EXPECT_EQ(ui.fileDialogs[1].filter, "Results|*.RES");
    EXPECT_EQ(ui.fileDialogs[1].filterIndex, 1);
}

TEST_F(TextExchangeTest, SubtractionIsOldMinusNewInThousandths)
{
    EvaluatedPlate f;
    TempFile file("0.0504\t0.1\r\n");
    ScriptedDialogs ui;
    ui.Pick(file.Path());
    EXPECT_EQ(f.doc.SubtractTextData(ui), 1);
    EXPECT_EQ(Filled(f.p), "A1=0 A2=-0.05");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
}

TEST_F(TextExchangeTest, ExportAndImportRoundTrip)
{
    for (int fixed : {0, 1}) {
        EvaluatedPlate f;
        TextFields().cellFixFields = fixed;
        TextFields().cellFormat = QNumFormat(nmGeneral, 2, 15);
        TempFile file;
        ScriptedDialogs ui;
        ui.Pick(file.Path());
        ASSERT_EQ(f.doc.ExportData(ui, true), 1) << fixed;
        const std::string text = file.Read();
        EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << fixed;
        const std::string firstRow = fixed ? "      0      0" + std::string(70, ' ') : "0\t0" + std::string(10, '\t');
        EXPECT_EQ(text.substr(0, text.find('\n') + 1), firstRow + "\r\n") << fixed;

        EvaluatedPlate g;
        g.p.ResetDataToMeasured();
        ScriptedDialogs again;
        again.Pick(file.Path());
        ASSERT_EQ(g.doc.ImportData(again, false), 1) << fixed;
        EXPECT_EQ(Filled(g.p), Filled(f.p, true)) << fixed;
    }
}

TEST_F(TextExchangeTest, FailedExportKeepsTheOldFile)
{
    for (FileStep step : {FileStep::Open, FileStep::Write, FileStep::Sync, FileStep::Rename}) {
        EvaluatedPlate f;
        TempFile file("old content\r\n");
        ScriptedDialogs ui;
        ui.Pick(file.Path());
        {
            FileFault fault(step, 1);
            ClearLastDocMessage();
            EXPECT_EQ(f.doc.ExportData(ui, false), 0) << static_cast<int>(step);
            EXPECT_EQ(LastDocMessage(), "Cannot write data");
        }
        {
            FileFault fault(step, 1);
            ClearLastDocMessage();
            EXPECT_EQ(f.doc.ExportResults(ui), -1) << "a failure is not reported as success";
            EXPECT_EQ(LastDocMessage(), "Cannot write data");
        }
        EXPECT_EQ(file.Read(), "old content\r\n");
    }
}

TEST_F(TextExchangeTest, PastePlateValues)
{
    EvaluatedPlate f;
    EXPECT_EQ(f.doc.PastePlateValues("no\tnumbers\r\n", false), 0);
    EXPECT_EQ(LastDocMessage(), "") << "paste fails silently";
    EXPECT_TRUE(f.Take().empty());

    EXPECT_EQ(f.doc.PastePlateValues("1\t2\r\n\r\n\t\t3", false), 1);
    EXPECT_EQ(Filled(f.p), "A1=1 A2=2 C3=3");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));

    EXPECT_EQ(f.doc.PastePlateValues("0.5\n", true), 1);
    EXPECT_EQ(Filled(f.p, true), "A1=0.5") << "data values";
    EXPECT_EQ(Filled(f.p), "A1=1 A2=2 C3=3") << "measured values stay";

    // A line longer than the exchange reads: the rest is dropped, not carried to the next row.
    const std::string longLine = "7" + std::string(8000, ' ') + "8\r\n9";
    EXPECT_EQ(f.doc.PastePlateValues(longLine, false), 1);
    EXPECT_EQ(Filled(f.p), "A1=7 B1=9");
}

TEST(TextLines, SplitTable)
{
    struct Row {
        const char* name;
        std::string block;
        std::vector<std::string> lines;
    };
    const std::vector<Row> rows = {
        {"empty", "", {}},
        {"one line without end", "a", {"a"}},
        {"CR LF", "a\r\nb\r\n", {"a", "b"}},
        {"LF and empty lines", "\n\nc", {"", "", "c"}},
        {"CR inside dropped", "a\rb", {"ab"}},
        {"cut after 7999", std::string(8005, 'x') + "\ny", {std::string(7999, 'x'), "y"}},
    };
    for (const Row& r : rows) EXPECT_EQ(SplitTextLines(r.block), r.lines) << r.name;
}

// Ten sequential samples on A1..A10 with identifications S1..S10, optionally the first fixed.
struct IdPlate : test::DocFixture {
    explicit IdPlate(int fixedSamples = 0, int count = 10)
    {
        doc.PlaceNewSampleAt(qual, W("A1"), W("A1") + count - 1, false, arSingle);
        for (int i = 0; i < fixedSamples; ++i) doc.FixSample(i);
        for (int i = 0; i < p.sampleCount; ++i) p.GetSample(i)->SetIdent("S" + std::to_string(i + 1));
        doc.SetDirty(false);
        Take();
    }
    std::string Ids() const
    {
        std::string out;
        for (int i = 0; i < p.sampleCount; ++i) out += (i ? "," : "") + p.GetSample(i)->ident;
        return out;
    }
};

TEST_F(TextExchangeTest, PasteIdentifications)
{
    IdPlate f;
    EXPECT_EQ(f.doc.PasteSampleIds("P1\t0.5\r\nP2  \r\n\r\n"), 3);
    EXPECT_EQ(f.Ids(), "P1,P2,,,,,,,,");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    EXPECT_TRUE(f.p.rst.SampleChanged(9));
    EXPECT_TRUE(f.doc.IsDirty());
    EXPECT_EQ(f.doc.PasteSampleIds(""), 0);

    IdPlate fixedOnes(2);
    EXPECT_EQ(fixedOnes.doc.PasteSampleIds("a\nb\n"), 2);
    EXPECT_EQ(fixedOnes.Ids(), "S1,S2,a,b,,,,,,") << "sequential samples only";
    TextExchange().impFixes = 1;
    EXPECT_EQ(fixedOnes.doc.PasteSampleIds("x\n"), 1);
    EXPECT_EQ(fixedOnes.Ids(), "x,,,,,,,,,") << "all samples";

    IdPlate allFixed(3, 3);
    TextExchange().impFixes = 0;
    EXPECT_EQ(allFixed.doc.PasteSampleIds("x\n"), 0) << "empty range";
    EXPECT_TRUE(allFixed.Take().empty());

    // An identification is at most 255 characters.
    IdPlate g;
    EXPECT_EQ(g.doc.PasteSampleIds(std::string(300, 'q')), 1);
    EXPECT_EQ(g.p.GetSample(0)->ident, std::string(255, 'q'));
}

TEST_F(TextExchangeTest, ImportIdentificationsReadsWindows1252AndUtf8)
{
    for (const char* file : {"ids_cp1252.txt", "ids_utf8.txt"}) {
        IdPlate f;
        ScriptedDialogs ui;
        ui.Pick(kDir + file);
        EXPECT_EQ(f.doc.ImportIdentifications(ui), 1) << file;
        EXPECT_EQ(f.Ids(), "M\xC3\xBCller,Ren\xC3\xA9" "e,\xE2\x82\xAC 12,,,,,,,") << file;
        EXPECT_EQ(ui.fileDialogs.at(0).title, "Identifications Import");
        EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged})) << file;
    }
}

TEST_F(TextExchangeTest, IdentificationImportRanges)
{
    {
        // exp_fixes 0, imp_fixes 1, every sample fixed: nothing to import into.
        IdPlate f(3, 3);
        TextExchange().impFixes = 1;
        ScriptedDialogs ui;
        ui.Pick(kDir + "ids_utf8.txt");
        EXPECT_EQ(f.doc.ImportIdentifications(ui), 0);
        EXPECT_TRUE(ui.ran.empty()) << "no dialog";
    }
    {
        // exp_fixes 1, imp_fixes 0, no sequential samples: reads nothing.
        IdPlate f(3, 3);
        TextExchange().expFixes = 1;
        TextExchange().impFixes = 0;
        ScriptedDialogs ui;
        ui.Pick(kDir + "ids_utf8.txt");
        EXPECT_EQ(f.doc.ImportIdentifications(ui), 0);
        EXPECT_EQ(LastDocMessage(), "Cannot read data");
        EXPECT_EQ(f.Ids(), "S1,S2,S3");
    }
    {
        IdPlate f;
        ScriptedDialogs ui;
        TempFile empty;
        ui.Pick(empty.Path());
        EXPECT_EQ(f.doc.ImportIdentifications(ui), 0) << "empty file";
        EXPECT_EQ(LastDocMessage(), "Cannot read data");
        EXPECT_FALSE(f.doc.IsDirty());
    }
}

TEST_F(TextExchangeTest, InsertAndDeleteIdentifications)
{
    IdPlate f(0, 5);
    EXPECT_EQ(f.doc.InsertSampleIdent(1), 4);
    EXPECT_EQ(f.Ids(), "S1,,S2,S3,S4");
    EXPECT_EQ(f.Take(), (std::vector<Heard>{kPlateChanged}));
    EXPECT_FALSE(f.p.rst.SampleChanged(0));
    EXPECT_TRUE(f.p.rst.SampleChanged(4));

    IdPlate g(0, 5);
    EXPECT_EQ(g.doc.DeleteSampleIdent(1), 4);
    EXPECT_EQ(g.Ids(), "S1,S3,S4,S5,");
    EXPECT_EQ(g.doc.DeleteSampleIdent(4), 1);
    EXPECT_EQ(g.Ids(), "S1,S3,S4,S5,");
    for (int bad : {-1, 5}) {
        EXPECT_EQ(g.doc.DeleteSampleIdent(bad), 0);
        EXPECT_EQ(g.doc.InsertSampleIdent(bad), 0);
    }
}

TEST_F(TextExchangeTest, ExportResults)
{
    EvaluatedPlate f;
    f.p.GetSample(0)->SetIdent("P1");
    f.p.GetSample(1)->SetIdent("P2");
    f.p.GetSample(2)->SetIdent("Q1");
    TempFile file("old\r\n");
    ScriptedDialogs ui;
    ui.Pick(file.Path());
    ASSERT_EQ(f.doc.ExportResults(ui), 1);
    // The quantitative samples end with their qualitative result, the qualitative one too.
    EXPECT_EQ(file.Read(), "P1\t1\r\nP2\t1\r\nQ1\t1\r\n");

    ASSERT_TRUE(f.doc.FixSample(0));
    ASSERT_TRUE(f.doc.FixSample(1));
    ASSERT_TRUE(f.doc.FixSample(2));
    ScriptedDialogs none;
    EXPECT_EQ(f.doc.ExportResults(none), 0) << "only fixed samples";
    EXPECT_TRUE(none.ran.empty());
    TextExchange().expFixes = 1;
    none.Pick(file.Path());
    EXPECT_EQ(f.doc.ExportResults(none), 1);
}

TEST_F(TextExchangeTest, ACommaThatIsBothDecimalAndSeparatorIsRefused)
{
    // 0,05 written as "0,05,0,05" would read back as 0, 5, 0, 5.
    const char savedDecimal = gDecimalChar;
    gDecimalChar = ',';
    EvaluatedPlate f;
    TempFile file("old\r\n");
    TextFields().cellSeparator = ',';
    TextFields().expSeparator = ',';
    ScriptedDialogs ui;
    ui.Pick(file.Path());
    EXPECT_EQ(f.doc.ExportData(ui, false), 0);
    EXPECT_EQ(LastDocMessage().find("The decimal character is also the field separator"), 0u) << LastDocMessage();
    EXPECT_EQ(f.doc.ExportResults(ui), -1);
    EXPECT_TRUE(ui.fileDialogs.empty()) << "refused before a file is chosen";
    EXPECT_EQ(file.Read(), "old\r\n");

    // Fixed-width fields, or another separator, carry the comma safely.
    TextFields().cellFixFields = 1;
    TextFields().expSeparator = ';';
    ClearLastDocMessage();
    EXPECT_EQ(f.doc.ExportData(ui, false), 1);
    EXPECT_EQ(f.doc.ExportResults(ui), 1);
    EXPECT_EQ(LastDocMessage(), "");
    gDecimalChar = savedDecimal;
}

TEST_F(TextExchangeTest, ExportThroughALinkWritesItsTarget)
{
    EvaluatedPlate f;
    TempFile target("old\r\n");
    const std::string link = target.Path() + ".link";
    ASSERT_EQ(::symlink(target.Path().c_str(), link.c_str()), 0);
    ScriptedDialogs ui;
    ui.Pick(link);
    ASSERT_EQ(f.doc.ExportData(ui, false), 1);
    struct stat st{};
    ASSERT_EQ(::lstat(link.c_str(), &st), 0);
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << "the link stays a link";
    const std::string text = target.Read();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << "the plate's rows went to the link's target";
    ::unlink(link.c_str());
}

}  // namespace
}  // namespace vyn
