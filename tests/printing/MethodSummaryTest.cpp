// The method print-out: the summary's lines for an empty plate and for a filled one, and a
// whole job printed into a PDF file through the printer object.
// The plate headers come before Qt's, whose "signals" keyword would clash with a field name.
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "plate/QQSample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <gtest/gtest.h>

#include "PrintTestUtil.h"
#include "evaluator/NoValue.h"
#include "printing/QMethodSummaryPrintout.h"
#include "platform/core/AtomicFile.h"
#include "platform/gui/TestHook.h"
#include "printing/RWPrinter.h"
#include "document/LineReader.h"
#include "document/PlateFile.h"
#include <cstdio>

namespace vyn::test {
namespace {

// The summary's body rows as drawn on the fixed-pitch page.
std::vector<std::string> SummaryRows(const QPlate& plate)
{
    ResetPrintSettings();
    FixedPage page;
    QMethodSummaryPrintout out(plate, "/data/plate.plt");
    out.SetPrintParams(&page.dc, page.dc.DeviceSize());
    out.BeginPrinting();
    std::vector<std::string> rows;
    for (int n = 1; out.HasPage(n); ++n) {
        page.dc.texts.clear();
        TRect r;
        out.PrintPage(n, r, 0);
        auto part = TextRows(page.dc.texts, out.pageRect.left, out.textTop, out.pageRect.bottom - out.footerHeight,
                             page.charWidth);
        rows.insert(rows.end(), part.begin(), part.end());
    }
    out.EndPrinting();
    return rows;
}

// The rows without the empty ones, which the row collection cannot see.
const std::vector<std::string> kEmptyPlate = {
    "Method Definition Summary Report",
    "Name",
    "    not specified",
    "Info",
    "    not specified",
    "Blanking",
    "    not used",
    "Factors (calculations)",
    "    not used",
    "Calibration",
    "    not specified",
    "Concentration units",
    "    not specified",
    "Validity test",
    "    not used",
    "Sample Evaluations",
    "    not used",
    "Quantitative calculation",
    "    dilutions:",
    "      a. 1",
    "Measurement",
    "    filter: missing",
    "    device specific: not specified",
    "Constrols",
    "    not specified",
    "Standards",
    "    not specified",
    "no samples to evaluate",
};

TEST(MethodSummary, ANewPlate)
{
    QPlate plate;
    plate.SetSize(12, 8);
    EXPECT_EQ(SummaryRows(plate), kEmptyPlate);
}

// A plate with something in every section.
void FillPlate(QPlate& p)
{
    p.SetSize(12, 8);
    p.methodName = "HBsAg";
    p.methodInfo = "Screening, two controls";
    p.dataMode = dmGeneral;
    p.blankExpr = "mean(A1..B1)";
    p.transformExpr = "";
    p.calculations.definitions = {{"cutoff", "0.1 + mean(C1..C3)"}};
    p.calibr.model = cmLinear;
    p.calibr.fixedK = 2;
    p.calibr.K1 = 1.5;
    p.calibr.decreasing = 1;
    p.calibr.logX = 1;
    p.calibr.concentrations = {0.5, NoValue, 20};
    p.units = "IU/ml";
    p.validations.definitions = {{"v1", "cutoff > 0.05"}};
    p.globalQualDef = {{"pos", "od > cutoff"}};
    p.globalQuantDef = {1, 10};
    p.measFilter = 450;
    p.useRefFilter = 1;
    p.refFilter = 0;
    p.readerOptions = "shake 5\r\nmode 2";
    for (int i = 0; i < 2; ++i) {
        auto s = std::make_unique<QQSample>(&p);
        s->ident = "fixed " + std::to_string(i);
        if (i == 0) s->SetOwnDefinition({{"neg", ""}});
        p.InsertSample(std::move(s), i, true);
    }
    for (int i = 0; i < 3; ++i) {
        auto s = std::make_unique<QNSample>(&p);
        s->ident = "patient " + std::to_string(i);
        if (i == 0) {
            s->SetOwnQuantDefinition({2, NoValue});
            s->SetOwnDefinition({{"high", "conc > 3"}});
        }
        p.InsertSample(std::move(s), 2 + i, false);
    }
}

TEST(MethodSummary, EverySectionOfAFilledPlate)
{
    QPlate plate;
    FillPlate(plate);
    const std::vector<std::string> expected = {
        "Method Definition Summary Report",
        "Name",
        "    HBsAg",
        "Info",
        "    Screening, two controls",
        "Blanking",
        "    general transformation",
        "      gblank = mean(A1..B1)",
        "      transf = missing",
        "Factors (calculations)",
        "    cutoff = 0.1 + mean(C1..C3)",
        "Calibration",
        "    model: Linear (K1 = 1.5) /decreasing /log(x) ",
        "    concentrations: ",
        "      a. 0.5",
        "      b. missing",
        "      c. 20",
        "Concentration units",
        "    IU/ml",
        "Validity test",
        "    v1 = cutoff > 0.05",
        "Sample Evaluations",
        "    pos = od > cutoff",
        "Quantitative calculation",
        "    dilutions:",
        "      a. 1",
        "      b. 10",
        "Measurement",
        "    filter: 450 / missing",
        "    device specific: ",
        "      shake 5",
        "      mode 2",
        "Constrols",
        "    not specified",
        "Standards",
        "    not specified",
        "Samples to evaluate : 5",
        "    fixed : 2",
        "    sequential : 3",
        "Samples with local definition",
        "A.: fixed 0",
        "      neg = missing",
        "1.: patient 0",
        "      a. 2",
        "      b. missing",
        "      high = conc > 3",
    };
    const auto rows = SummaryRows(plate);
    EXPECT_EQ(rows, expected);
    for (std::size_t i = 0; i < std::min(rows.size(), expected.size()); ++i)
        EXPECT_EQ(rows[i], expected[i]) << "row " << i;
}

TEST(MethodSummary, PrintedToAPdfFileWithTheAbortDialogUp)
{
    QPlate plate;
    FillPlate(plate);
    ResetPrintSettings();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // VYN_KEEP_PDF names a file to keep the print in, for a person to look at.
    const char* keep = std::getenv("VYN_KEEP_PDF");
    const std::string path = keep ? keep : dir.filePath("summary.pdf").toStdString();

    struct Watched : QMethodSummaryPrintout {
        using QMethodSummaryPrintout::QMethodSummaryPrintout;
        void PrintPage(int page, TRect& rect, unsigned flags) override
        {
            abortDialogUp = abortDialogUp && gCurPrintout != nullptr;
            QMethodSummaryPrintout::PrintPage(page, rect, flags);
        }
        bool abortDialogUp = true;
    } out(plate, "/home/user/plates/2024/hbsag-screening-march.plt");

    RWPrinter printer;
    printer.SetOutputFile(path);
    ASSERT_TRUE(printer.Print(nullptr, out, false));
    EXPECT_EQ(printer.GetLastJobError(), peNone);
    EXPECT_EQ(out.dpiY, 600);
    EXPECT_TRUE(out.abortDialogUp);
    EXPECT_EQ(gCurPrintout, nullptr);
    EXPECT_GT(QFileInfo(QString::fromStdString(path)).size(), 1000);
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path + ".part")));
    EXPECT_EQ(gPageMargins[pkMethod], (PageMargins{100, 100, 100, 100})) << "the margins went back to the kind";
}

// A print file that cannot be made, or a disk that fails at any step of writing it, shows the
// message of a file that could not be written, leaves the file that was there whole and leaves
// nothing else behind.
TEST(MethodSummary, AFileThatCannotBeWrittenIsReportedAndLeavesNothing)
{
    QPlate plate;
    plate.SetSize(12, 8);
    QMethodSummaryPrintout out(plate, "");
    const struct {
        const char* name;
        const char* file;
        FileStep step;  // the disk fails at the first step of this kind
    } rows[] = {
        {"a folder that is not there", "missing/folder/summary.pdf", FileStep::None},
        {"the file cannot be made", "summary.pdf", FileStep::Open},
        {"the disk fills", "summary.pdf", FileStep::Write},
        {"the flush fails", "summary.pdf", FileStep::Sync},
        {"the file cannot be put in place", "summary.pdf", FileStep::Rename},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.name);
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const std::string path = dir.filePath(r.file).toStdString();
        const bool hadOld = r.step != FileStep::None;
        if (hadOld) {
            QFile old(QString::fromStdString(path));
            ASSERT_TRUE(old.open(QIODevice::WriteOnly));
            old.write("old print");
        }
        TTestHook hook;
        hook.AnswerMessageBox(IDOK);
        RWPrinter printer;
        printer.SetOutputFile(path);
        {
            FileFault fault(r.step, hadOld ? 1 : 0);
            EXPECT_FALSE(printer.Print(nullptr, out, false));
        }
        EXPECT_NE(printer.GetLastJobError(), peNone);
        ASSERT_EQ(hook.MessageTexts().size(), 1u);
        EXPECT_EQ(hook.MessageTexts()[0], "The print file " + path + " could not be written.");
        if (hadOld) {
            QFile old(QString::fromStdString(path));
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll().toStdString(), "old print");
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"summary.pdf"});
        } else {
            EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing")));
        }
    }
}

}  // namespace
}  // namespace vyn::test

// The shipped demo plate's summary, printed to PDF and read back as text: the page furniture
// and the method's own facts must all reach the paper.
namespace vyn::test {
namespace {

std::string PdfText(const std::string& pdf)
{
    std::string text;
    FILE* pipe = popen(("pdftotext -layout '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!pipe) return text;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) text.append(buf, n);
    pclose(pipe);
    return text;
}

TEST(MethodSummary, TheDemoPlatePrintsWithHeaderInformationAndFooter)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    QPlate plate;
    LineReader reader;
    const std::string demo = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";
    ASSERT_TRUE(reader.Open(demo.c_str()));
    int message = 0;
    ASSERT_TRUE(ReadPlateFile(plate, reader, -1, &message)) << "message " << message;
    ResetPrintSettings();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    // VYN_KEEP_DEMO_PDF names a file to keep the print in, for a person to look at.
    const char* keep = std::getenv("VYN_KEEP_DEMO_PDF");
    const std::string path = keep ? keep : dir.filePath("demo-summary.pdf").toStdString();
    QMethodSummaryPrintout out(plate, demo);
    RWPrinter printer;
    printer.SetOutputFile(path);
    ASSERT_TRUE(printer.Print(nullptr, out, false));

    const std::string text = PdfText(path);
    for (const char* expected : {"Vyn32", "page 1/", "Method Definition Summary Report", "Demo Linear", "Standards"})
        EXPECT_NE(text.find(expected), std::string::npos) << "missing on paper: " << expected;
}

}  // namespace
}  // namespace vyn::test
