// The print preview of the demo plate's method summary: page count and navigation, zoom
// steps and the desk's layout at each, margins dragged on the page into the stored margins,
// and the text a page shows set where the PDF printer sets it.
// The plate headers come before Qt's, whose "signals" keyword would clash with a field name.
#include "plate/QPlate.h"

#include <QPixmap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QWidget>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <gtest/gtest.h>

#include "document/LineReader.h"
#include "document/PlateFile.h"
#include "platform/core/Clock.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/Fonts.h"
#include "printing/PageSettings.h"
#include "printing/QMethodSummaryPrintout.h"
#include "printing/RWPrinter.h"
#include "printing/TPgWin.h"
#include "printing/TRwPreview.h"
#include "printing/TRwPreviewDesk.h"
#include "printing/TTextPaintDC.h"

namespace vyn::test {
namespace {

const std::string kDemo = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";

class PreviewOfDemo : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (const char* old = std::getenv("VYN_CONFIG_DIR")) oldDir = old;
        setenv("VYN_CONFIG_DIR", dir.path().toStdString().c_str(), 1);
        ResetPrintSettings();
        // The pages' header shows the time: a fixed one, so that a page drawn just before the
        // minute turns reads as the same page printed just after it.
        SetNowMsSource([]() -> std::int64_t { return kUnixEpochMs + 1709622480000LL; });
        // Deep top and bottom margins spread the summary over several pages.
        gPageMargins[pkMethod] = {100, 450, 100, 450};
        gShowMargins = 1;
        LineReader reader;
        ASSERT_TRUE(reader.Open(kDemo.c_str()));
        int message = 0;
        ASSERT_TRUE(ReadPlateFile(plate, reader, -1, &message)) << "message " << message;
        printer.SetOutputFile(dir.filePath("preview.pdf").toStdString());
        out = std::make_unique<QMethodSummaryPrintout>(plate, kDemo);
    }
    void TearDown() override
    {
        if (oldDir.empty()) unsetenv("VYN_CONFIG_DIR");
        else setenv("VYN_CONFIG_DIR", oldDir.c_str(), 1);
        ResetPrintSettings();
        SetNowMsSource(nullptr);
    }
    // The pages of the summary laid out on the printer, without the preview.
    int PrinterPageCount()
    {
        QMethodSummaryPrintout o(plate, kDemo);
        auto dc = printer.MakeInfoDC();
        o.SetPrintParams(dc.get(), dc->DeviceSize());
        int n = 0;
        while (o.HasPage(n + 1)) ++n;
        o.EndPrinting();
        return n;
    }
    std::unique_ptr<TRwPreview> Open()
    {
        auto p = std::make_unique<TRwPreview>(nullptr, &printer, out.get());
        EXPECT_TRUE(p->Create());
        p->MoveWindow(0, 0, 700, 800);
        TTestHook::ProcessEvents();
        p->Relayout();
        return p;
    }
    static void Mouse(TWindow& w, unsigned msg, int x, int y, unsigned keys = MK_LBUTTON)
    {
        w.SendMessage(msg, keys, MAKELPARAM(x, y));
    }

    QTemporaryDir dir;
    std::string oldDir;
    QPlate plate;
    RWPrinter printer;
    std::unique_ptr<QMethodSummaryPrintout> out;
};

TEST_F(PreviewOfDemo, CountsThePrintersPagesAndStepsThroughThem)
{
    const int n = PrinterPageCount();
    ASSERT_GE(n, 3);
    auto p = Open();
    const std::string of = "/" + std::to_string(n);
    EXPECT_EQ(p->pageCount, n);
    EXPECT_EQ(p->GetCounterText(), "1" + of);
    auto enabled = [&](unsigned id) { return p->GetControlBar().GadgetWithId(static_cast<int>(id))->GetEnabled(); };
    EXPECT_FALSE(enabled(CM_PREVIEWPREV));
    p->SendCommand(CM_PREVIEWPREV);
    EXPECT_EQ(p->currentPage, 1) << "disabled on the first page";
    p->SendCommand(CM_PREVIEWNEXT);
    EXPECT_EQ(p->GetCounterText(), "2" + of);
    EXPECT_TRUE(enabled(CM_PREVIEWPREV));
    for (int i = 0; i < n + 2; ++i) p->SendCommand(CM_PREVIEWNEXT);
    EXPECT_EQ(p->currentPage, n) << "next stops on the last page";
    EXPECT_FALSE(enabled(CM_PREVIEWNEXT));
    p->SendCommand(CM_PREVIEWPREV);
    EXPECT_EQ(p->GetCounterText(), std::to_string(n - 1) + of);

    // The keys of the desk post the same commands.
    TTestHook::Key(VK_PRIOR, 0, &p->GetDesk());
    TTestHook::ProcessEvents();
    EXPECT_EQ(p->currentPage, n - 2);
    p->Destroy(0);
}

TEST_F(PreviewOfDemo, AOnePagePrintoutAndNoPrintoutShowWhatTheyHave)
{
    gPageMargins[pkMethod] = {100, 50, 100, 50};
    QPlate empty;
    empty.SetSize(12, 8);
    QMethodSummaryPrintout small(empty, "");
    TRwPreview one(nullptr, &printer, &small);
    ASSERT_TRUE(one.Create());
    EXPECT_EQ(one.pageCount, 1);
    EXPECT_EQ(one.GetCounterText(), "1");
    one.Destroy(0);

    TRwPreview none(nullptr, &printer, nullptr);
    ASSERT_TRUE(none.Create());
    EXPECT_EQ(none.GetCounterText(), "");
    for (unsigned id : {CM_PREVIEWPREV, CM_PREVIEWNEXT, CM_PREVIEWPRINT}) EXPECT_FALSE(none.IsCommandEnabled(id)) << id;
    EXPECT_TRUE(none.IsCommandEnabled(CM_PREVIEWZOOMIN));
    none.Destroy(0);
}

TEST_F(PreviewOfDemo, ZoomDoublesThePageUpToEightTimesAndBack)
{
    auto p = Open();
    const TRect fitted = p->pageWindowRect;
    ASSERT_GT(fitted.Width(), 50);
    EXPECT_FALSE(p->GetDesk().HasHBar());
    EXPECT_FALSE(p->GetDesk().HasVBar());
    for (int z = 1; z <= 4; ++z) {
        p->SendCommand(CM_PREVIEWZOOMIN);
        const int level = std::min(z, TRwPreview::kMaxZoom);
        EXPECT_EQ(p->zoom, level) << "step " << z;
        EXPECT_EQ(p->pageWindowRect.Width(), fitted.Width() << level) << "step " << z;
        EXPECT_EQ(p->pageWindowRect.Height(), fitted.Height() << level) << "step " << z;
    }
    // Larger than the desk both ways: both bars at 0, the page one frame width in.
    EXPECT_TRUE(p->GetDesk().HasHBar());
    EXPECT_TRUE(p->GetDesk().HasVBar());
    EXPECT_EQ(p->pageWindowRect.left, TRwPreviewDesk::kFrameWidth);
    EXPECT_EQ(p->pageWindowRect.top, TRwPreviewDesk::kFrameWidth);
    EXPECT_EQ(p->GetPageWindow().GetClientRect().Width(), p->pageWindowRect.Width());

    p->GetDesk().Scroll(SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(p->pageWindowRect.top, TRwPreviewDesk::kFrameWidth - p->GetDesk().pageStepY);

    for (int z = 0; z < 4; ++z) p->SendCommand(CM_PREVIEWZOOMOUT);
    EXPECT_EQ(p->zoom, 0);
    EXPECT_EQ(p->pageWindowRect, fitted);
    p->Destroy(0);
}

TEST_F(PreviewOfDemo, ADraggedMarginIsStoredAndThePrintoutPaginatedAnew)
{
    const PageMargins before = gPageMargins[pkMethod];
    auto p = Open();
    TPgWin& pg = p->GetPageWindow();
    const int w = pg.GetClientRect().Width(), h = pg.GetClientRect().Height();
    Mouse(pg, WM_MOUSEMOVE, 1, 1, 0);
    const int lx = pg.leftX, by = pg.bottomY;
    ASSERT_GT(lx, 0);

    // A press and release on the line itself moves nothing and paginates nothing.
    Mouse(pg, WM_LBUTTONDOWN, lx + 1, h / 2);
    EXPECT_EQ(pg.dragMode, TPgWin::dmLeft);
    Mouse(pg, WM_LBUTTONUP, lx + 1, h / 2, 0);
    TTestHook::ProcessEvents();
    EXPECT_EQ(pg.dragMode, TPgWin::dmNone);

    // The bottom margin dragged upwards: the text has less room, so there are more pages.
    const int pagesBefore = p->pageCount;
    p->SendCommand(CM_PREVIEWNEXT);
    Mouse(pg, WM_LBUTTONDOWN, w / 2, by);
    ASSERT_EQ(pg.dragMode, TPgWin::dmBottom);
    Mouse(pg, WM_MOUSEMOVE, w / 2, by - 60);
    const std::string shown = p->GetCounterText();
    EXPECT_EQ(shown.back(), '"') << shown;
    const double inches = std::stod(shown.substr(0, shown.size() - 1));
    Mouse(pg, WM_LBUTTONUP, w / 2, by - 60, 0);
    EXPECT_EQ(p->GetCounterText(), "2/" + std::to_string(pagesBefore)) << "the counter comes back at once";
    TTestHook::ProcessEvents();
    EXPECT_GT(p->pageCount, pagesBefore);
    EXPECT_EQ(p->currentPage, 2) << "the page shown is kept";
    p->Destroy(0);

    const PageMargins after = gPageMargins[pkMethod];
    EXPECT_EQ(after.left, before.left);
    EXPECT_EQ(after.top, before.top);
    EXPECT_EQ(after.right, before.right);
    EXPECT_NEAR(after.bottom, inches * 100, 1.0) << "the margin stored is the one shown while dragging";
    // 60 of the page window's pixels, in hundredths of an inch of an A4 page.
    EXPECT_NEAR(after.bottom - before.bottom, 60.0 / h * (297.0 / 25.4) * 100, 2.0);
}

TEST_F(PreviewOfDemo, ClosingByTheSystemMenuEndsTheLoopAsTheCloseButtonDoes)
{
    auto p = Open();
    p->SendMessage(WM_CLOSE);  // posts the close command, which the loop then handles
    EXPECT_EQ(p->Execute(), TRwPreview::kCloseResult);
    EXPECT_TRUE(p->IsWindow()) << "the creator destroys it";
    p->Destroy(0);
}

// What the page shows, recorded with the advances each run is drawn with.
struct DrawnRun {
    int x, y;
    unsigned align;
    std::string text;
    int drawnWidth;    // sum of the advances, printer pixels
    int printerWidth;  // the run measured on the printer context
};

class RecordingPage : public TTextPaintDC {
public:
    RecordingPage(QImage& image, TDC* printerDC) : TTextPaintDC(image, printerDC), printer_(printerDC) {}
    bool ExtTextOut(int x, int y, unsigned options, const TRect* rect, std::string_view text, const int* dx) override
    {
        int sum = 0;
        if (dx)
            for (std::size_t i = 0, n = DecodeText(text).size(); i < n; ++i) sum += dx[i];
        else sum = printer_->GetTextExtent(text).cx;
        runs.push_back({x, y, GetTextAlign(), std::string(text), sum, printer_->GetTextExtent(text).cx});
        return TTextPaintDC::ExtTextOut(x, y, options, rect, text, dx);
    }
    std::vector<DrawnRun> runs;

private:
    TDC* printer_;
};

struct PdfWord {
    double xMin, yMin, xMax;
    std::string text;
};

std::vector<PdfWord> PdfWords(const std::string& pdf)
{
    std::string html;
    FILE* pipe = popen(("pdftotext -bbox -f 1 -l 1 '" + pdf + "' - 2>/dev/null").c_str(), "r");
    if (!pipe) return {};
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, pipe)) > 0) html.append(buf, n);
    pclose(pipe);
    std::vector<PdfWord> words;
    static const QRegularExpression re(
        R"re(<word xMin="([0-9.]+)" yMin="([0-9.]+)" xMax="([0-9.]+)" yMax="[0-9.]+">([^<]*)</word>)re");
    auto it = re.globalMatch(QString::fromStdString(html));
    while (it.hasNext()) {
        auto m = it.next();
        words.push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                         m.captured(4).replace("&amp;", "&").replace("&lt;", "<").replace("&gt;", ">").toStdString()});
    }
    return words;
}

TEST_F(PreviewOfDemo, APageIsDrawnWhereAndAsWideAsThePrinterPrintsIt)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    const std::string pdf = dir.filePath("page.pdf").toStdString();
    {
        QMethodSummaryPrintout paper(plate, kDemo);
        printer.SetOutputFile(pdf);
        ASSERT_TRUE(printer.Print(nullptr, paper, false));
    }
    const std::vector<PdfWord> words = PdfWords(pdf);
    ASSERT_GT(words.size(), 20u);

    // Page 1 as the page window paints it, on a page window of a third of the page's size.
    auto info = printer.MakeInfoDC();
    const TSize page = info->DeviceSize();
    QImage image(page.cx / 3, page.cy / 3, QImage::Format_RGB32);
    image.fill(0xFFFFFFFF);
    QMethodSummaryPrintout shown(plate, kDemo);
    shown.SetPrintParams(info.get(), page);
    shown.BeginPrinting();
    RecordingPage dc(image, info.get());
    dc.BeginScaling(TSize(image.width(), image.height()), page);
    shown.SetPrintParams(&dc, TSize(kPreviewPageSize, kPreviewPageSize));
    TRect r(0, 0, 1, 1);
    shown.PrintPage(1, r, 0);
    dc.EndScaling();
    shown.EndPrinting();
    ASSERT_GT(dc.runs.size(), 10u);

    const double ptPerPx = 72.0 / info->GetDeviceCaps(LOGPIXELSX);
    int checked = 0;
    for (const DrawnRun& run : dc.runs) {
        if (DecodeText(run.text).size() >= 2) {
            EXPECT_EQ(run.drawnWidth, run.printerWidth) << "run \"" << run.text << "\" ends where it ends on paper";
        }
        const std::size_t b = run.text.find_first_not_of(' ');
        if (b == std::string::npos) continue;
        const bool right = (run.align & TA_CENTER) == TA_RIGHT;
        std::string word;
        if (right) {
            const std::size_t e = run.text.find_last_not_of(' ');
            const std::size_t s = run.text.rfind(' ', e);
            word = run.text.substr(s == std::string::npos ? 0 : s + 1, e - (s == std::string::npos ? 0 : s + 1) + 1);
        } else {
            word = run.text.substr(b, run.text.find(' ', b) == std::string::npos ? std::string::npos
                                                                                   : run.text.find(' ', b) - b);
        }
        const double x = (right ? run.x : run.x + info->GetTextExtent(run.text.substr(0, b)).cx) * ptPerPx;
        const int top = (run.align & TA_BASELINE) == TA_BOTTOM ? run.y - info->GetTextMetrics().tmHeight : run.y;
        const double y = top * ptPerPx;
        bool found = false;
        for (const PdfWord& pw : words)
        {
            if (std::abs(pw.yMin - y) >= 4.0) continue;
            if (pw.text == word) found = found || std::abs((right ? pw.xMax : pw.xMin) - x) < 1.5;
            // Pieces drawn one after the other read back as one word ("avg" "(" "BL" ")").
            else if (!right && pw.text.find(word) != std::string::npos)
                found = found || (x > pw.xMin - 1.5 && x < pw.xMax);
        }
        EXPECT_TRUE(found) << "\"" << word << "\" of run \"" << run.text << "\" at (" << x << ", " << y
                           << ") pt is not where the PDF has it";
        ++checked;
    }
    EXPECT_GT(checked, 10);
}

TEST(TextPaintDC, SpreadsTheDifferenceEvenlyOverTheRun)
{
    struct Row {
        const char* name;
        std::vector<int> widths;
        int printer;
        std::vector<int> expected;
    } rows[] = {
        {"equal", {5, 5, 5}, 15, {5, 5, 5}},
        {"wider by one per character", {5, 5, 5}, 18, {6, 6, 6}},
        {"narrower by two", {5, 5, 5, 5}, 18, {5, 4, 5, 4}},
        {"more difference than characters", {1, 1}, 8, {4, 4}},
    };
    for (const Row& r : rows) {
        const std::vector<int> got = TTextPaintDC::SpreadAdvances(r.widths, r.printer);
        EXPECT_EQ(got, r.expected) << r.name;
        int sum = 0;
        for (int v : got) sum += v;
        EXPECT_EQ(sum, r.printer) << r.name;
    }
}

// VYN_PREVIEW_SCREENSHOT names a PNG to take the preview's picture into (under a real X
// server), for a person to look at.
TEST_F(PreviewOfDemo, Screenshot)
{
    const char* path = std::getenv("VYN_PREVIEW_SCREENSHOT");
    if (!path) GTEST_SKIP() << "no picture asked for";
    ResetPrintSettings();
    auto p = Open();
    p->MoveWindow(0, 0, 820, 900);
    TTestHook::ProcessEvents();
    p->Relayout();
    p->UpdateWindow();
    TTestHook::ProcessEvents();
    EXPECT_TRUE(p->Widget()->grab().save(QString::fromStdString(path)));
    p->Destroy(0);
}

}  // namespace
}  // namespace vyn::test
