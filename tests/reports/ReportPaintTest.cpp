// Painting a report page through TDC into an image: band backgrounds, borders, text and the
// markers that stand in for objects in error; and one page printed to a PDF file.
#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "ReportFixtures.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Printer.h"
#include "reports/paint/APrintOutReport.h"
#include "plate/QPlate.h"
#include "reports/paint/RPPagePainter.h"

namespace vyn {
namespace {

using test::Add;

// 100 units per inch on a 800 x 1000 image.
struct Page {
    Page() : image(800, 1000, QImage::Format_RGB32)
    {
        image.fill(Qt::white);
        GetRPRunShell().fakeSamples = [](int& f, int& s) {
            f = 0;
            s = 2;
        };
    }
    ~Page() { GetRPRunShell().fakeSamples = nullptr; }
    void Run(RPReport& r)
    {
        r.Print().dpiX = r.Print().dpiY = 100;
        r.Print().pageRect = TRect(50, 50, 750, 950);
        r.Paginate();
        ASSERT_GE(r.Print().pageCount, 1);
        TDC dc(image);
        PaintReportPage(r, 1, dc);
    }
    std::uint32_t Pixel(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
    QImage image;
};

TEST(ReportPaint, BackgroundsBordersAndMarkers)
{
    RPReport r;
    for (int i : {0, 1, 3, 4}) r.Band(i).SetEnabled(false);
    r.Detail().StoreHeight(1440);
    r.Detail().StoreBack(0x00FFFF);  // yellow
    auto* rect = Add<RPObjectRectangle>(r, bandDetail, 1440, 144, 1440, 720);
    rect->StoreStyles(1, 6, 0, 1);
    rect->StoreColours(0x0000FF, 0xFF0000, 0);  // red border, blue inside
    auto* bad = Add<RPObjectTextBox>(r, bandDetail, 4320, 144, 1440, 720);
    bad->StoreCondition("=1/0");  // without a plate an expression counts as true
    bad->StoreContents("Hello");
    Page p;
    p.Run(r);
    EXPECT_EQ(p.Pixel(60, 60), 0xFFFF00u) << "band background (yellow)";
    EXPECT_EQ(p.Pixel(50 + 150, 50 + 40), 0x0000FFu) << "inside of the rectangle (blue)";
    EXPECT_EQ(p.Pixel(50 + 100, 50 + 40), 0xFF0000u) << "its 6-point border (red)";
    EXPECT_EQ(p.Pixel(60, 50 + 100 + 40), 0xFFFF00u) << "second sample's band";
    // Some dark pixels of "Hello" inside the text box.
    int dark = 0;
    for (int y = 60; y < 110; ++y)
        for (int x = 350; x < 450; ++x) dark += (p.Pixel(x, y) & 0xFF) < 0x80;
    EXPECT_GT(dark, 10);
    p.image.save(QString::fromStdString(std::string(VYN_SOURCE_DIR) + "/build-reports-page.png"));
    std::remove((std::string(VYN_SOURCE_DIR) + "/build-reports-page.png").c_str());
}

// The height of the ink (pixels darker than mid-grey) inside the box.
int InkHeight(const QImage& image, const QRect& box)
{
    int top = -1, bottom = -1;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            if ((image.pixel(x, y) & 0xFF) < 0x80) {
                if (top < 0) top = y;
                bottom = y;
                break;
            }
    return top < 0 ? 0 : bottom - top + 1;
}

TEST(ReportPaint, MarkersAreLegibleAtThePrintersResolution)
{
    // At 600 units an inch the device's own font is about two points high; the markers must
    // not inherit it from whatever the page painted before them.
    struct Row {
        const char* name;
        const char* condition;
        const char* contents;
    };
    const Row rows[] = {
        {"#ERR# of a content error", "", "=1/0"},
        {"#C# of a condition error", "=\"text\"", "Hello"},
    };
    for (const Row& row : rows) {
        RPReport r;
        // A plate without samples prints no detail band: the report header holds the boxes.
        for (int i : {0, 2, 3, 4}) r.Band(i).SetEnabled(false);
        r.Band(bandReportHeader).StoreHeight(1440);
        auto* small = Add<RPObjectTextBox>(r, bandReportHeader, 0, 0, 1440, 288);
        small->StoreContents("tiny");
        auto* bad = Add<RPObjectTextBox>(r, bandReportHeader, 0, 720, 2880, 576);
        bad->StoreCondition(row.condition);
        bad->StoreContents(row.contents);
        QPlate plate;
        r.SetRunSource(&plate, nullptr);
        QImage image(2400, 1200, QImage::Format_RGB32);
        image.fill(Qt::white);
        r.Print().dpiX = r.Print().dpiY = 600;
        r.Print().pageRect = TRect(0, 0, 2400, 1200);
        r.Paginate();
        ASSERT_GE(r.Print().pageCount, 1) << row.name;
        TDC dc(image);
        PaintReportPage(r, 1, dc);
        // The marker's box: half an inch down, two inches wide, 0.4 inch high; 10 points are
        // 83 units, their capitals more than 50.
        const int ink = InkHeight(image, QRect(2, 300 + 2, 1196, 236));
        EXPECT_GT(ink, 50) << row.name << ": the marker's letters are " << ink << " units high";
        EXPECT_LT(ink, 200) << row.name;
    }
}

TEST(ReportPaint, PrintsToPdf)
{
    RPReport r;
    test::BuildRichReport(r);
    GetRPRunShell().fakeSamples = [](int& f, int& s) {
        f = 1;
        s = 4;
    };
    const std::string pdf = "/tmp/vyn_report_page_" + std::to_string(::getpid()) + ".pdf";
    TPrinter printer;
    printer.SetOutputFile(pdf);
    APrintOutReport printout(r);
    EXPECT_TRUE(printer.Print(nullptr, printout, false));
    GetRPRunShell().fakeSamples = nullptr;
    FILE* f = std::fopen(pdf.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(std::string(head), "%PDF");
    if (!std::getenv("VYN_KEEP_REPORT_PDF")) std::remove(pdf.c_str());
}

// A run without a plate asks for its simulated samples once a print job: the pages are counted
// for the print dialog on the upright page, and paper turned in the dialog lays the run out
// again with the numbers already given.
TEST(ReportPaint, APrintJobAsksForItsSamplesOnceAndLaysOutAgainOnTurnedPaper)
{
    RPReport r;
    test::BuildRichReport(r);
    int asked = 0;
    GetRPRunShell().fakeSamples = [&asked](int& f, int& s) {
        ++asked;
        f = 1;
        s = 4;
    };
    TPrinter printer;
    printer.SetOutputFile("/dev/null");
    {
        APrintOutReport printout(r);
        // As the printer drives a job: measured before the dialog, then on the job's paper.
        const std::unique_ptr<TDC> upright = printer.MakeInfoDC();
        printout.SetPrintParams(upright.get(), upright->DeviceSize());
        int minPage = 0, maxPage = 0, from = 0, to = 0;
        printout.GetDialogInfo(minPage, maxPage, from, to);
        EXPECT_EQ(maxPage, r.Print().pageCount);
        EXPECT_GE(maxPage, 1);
        const TRect uprightRect = r.Print().pageRect;
        printer.GetData().landscape = true;
        const std::unique_ptr<TDC> turned = printer.MakeInfoDC();
        printout.SetPrintParams(turned.get(), turned->DeviceSize());
        printout.BeginPrinting();
        EXPECT_FALSE(r.Print().pageRect == uprightRect);
        EXPECT_GT(r.Print().pageRect.Width(), r.Print().pageRect.Height()) << "laid out on the wide page";
        EXPECT_GE(r.Print().pageCount, 1);
        EXPECT_TRUE(printout.HasPage(r.Print().pageCount));
        printout.EndPrinting();
        EXPECT_EQ(r.Print().pageCount, 0) << "the run is freed with the job";
    }
    GetRPRunShell().fakeSamples = nullptr;
    EXPECT_EQ(asked, 1);
}

}  // namespace
}  // namespace vyn
