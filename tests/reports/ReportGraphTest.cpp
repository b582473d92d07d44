// The report graph printed from a run into an image: axis ranges and ticks, the demo plate's
// calibration curve and points at the pixels the axis mapping puts them, a logarithmic axis,
// a sample's points, the placeholder of a run without a plate and the boxes shown instead of
// a graph that cannot be drawn.
#include <gtest/gtest.h>

#include <QImage>

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

#include "ReportFixtures.h"
#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "platform/gui/Dc.h"
#include "reports/paint/RPGraphPainter.h"
#include "reports/paint/RPPagePainter.h"
#include "reports/paint/APrintOutReport.h"
#include "platform/gui/Printer.h"
#include "reports/RPRun.h"

namespace vyn {
namespace {

using test::Add;

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";
// Report colours are 0x00BBGGRR, image pixels 0x00RRGGBB.
constexpr int kCurveColour = 0x0000FF;  // red
constexpr int kPointColour = 0xFF0000;  // blue
constexpr std::uint32_t kCurve = 0xFF0000;
constexpr std::uint32_t kPoint = 0x0000FF;

RPAxisSpec Axis(int kind, int scale, double lo, double hi, double inc, int sub = 1)
{
    RPAxisSpec a;
    a.Set(kind, scale, sub, lo, hi, inc);
    return a;
}

TEST(ReportGraphAxes, RangesAndTickCounts)
{
    struct Row {
        const char* name;
        RPAxisSpec spec;
        double lo, hi;
        bool placeholder;
        double min, max;
        int count;
        bool log;
    };
    const Row rows[] = {
        // 1.03 lets the tick on the maximum through.
        {"fixed linear 0..100 by 25", Axis(1, 0, 0, 100, 25), 0, 0, false, 0, 100, 4, false},
        {"fixed linear, tiny step stops at 24", Axis(1, 0, 0, 100, 0.001), 0, 0, false, 0, 100, 24, false},
        {"fixed log 0.5..2000 spans 0.1..10000", Axis(1, 1, 0.5, 2000, NoValue), 0, 0, false, 0.1, 10000, 5, true},
        // 1.1..99 with at least 4 intervals: steps of 20 over 0..100.
        {"automatic linear without plate", Axis(0, 0, 0, 0, 0), 1.1, 99.0, true, 0, 100, 5, false},
        {"automatic log over 0.05..200", Axis(0, 1, 0, 0, 0), 0.05, 200, false, 0.01, 1000, 5, true},
    };
    for (const Row& r : rows) {
        const RPGraphTicks t = GraphAxisTicks(r.spec, r.lo, r.hi, r.placeholder);
        EXPECT_EQ(t.log, r.log) << r.name;
        EXPECT_NEAR(t.min, r.min, 1e-12) << r.name;
        EXPECT_NEAR(t.max, r.max, 1e-9) << r.name;
        EXPECT_EQ(t.count, r.count) << r.name;
    }
    EXPECT_TRUE(GraphAxisTicks(Axis(0, 0, 0, 0, 0), 1.1, 99, true).placeholder);
    EXPECT_FALSE(GraphAxisTicks(Axis(1, 0, 0, 10, 1), 1.1, 99, true).placeholder) << "a fixed axis labels its values";
    EXPECT_THROW(GraphAxisTicks(Axis(0, 1, 0, 0, 0), 0.0, 10.0, false), std::domain_error) << "log over zero";
}

// A run whose report header holds one graph of 3 x 2 inches at (1 in, 0), painted at 100 units
// per inch: the object rectangle is (100, 0) - (400, 200).
struct GraphRun : ::testing::Test {
    void SetUp() override
    {
        image = QImage(600, 400, QImage::Format_RGB32);
        image.fill(Qt::white);
        GetRPRunShell().fakeSamples = [](int& f, int& s) {
            f = 0;
            s = 1;
        };
    }
    void TearDown() override { GetRPRunShell().fakeSamples = nullptr; }
    void OpenDemo()
    {
        doc = std::make_unique<QDoc>();
        doc->SetDocPath(kDemoPlate);
        ASSERT_TRUE(doc->InitDoc());
        doc->CalculatePlate();
        ASSERT_EQ(doc->GetPlate().calibr.state, csValid);
    }
    RPObjectGraph* Graph(RPReport& r)
    {
        for (int i : {0, 2, 3, 4}) r.Band(i).SetEnabled(false);
        r.Band(bandReportHeader).StoreHeight(2880);
        auto* g = Add<RPObjectGraph>(r, bandReportHeader, 1440, 0, 4320, 2880);
        g->SetRGBCurve(kCurveColour);
        g->SetRGBPoint(kPointColour);
        return g;
    }
    void Paint(RPReport& r)
    {
        if (doc) r.SetRunSource(&doc->GetPlate(), doc.get());
        r.Print().dpiX = r.Print().dpiY = 100;
        r.Print().pageRect = TRect(0, 0, 600, 400);
        r.Paginate();
        ASSERT_GE(r.Print().pageCount, 1);
        if (beforePaint) beforePaint(r);
        TDC dc(image);
        PaintReportPage(r, 1, dc);
        if (const char* dir = std::getenv("VYN_GRAPH_IMAGES"))
            image.save(QString::fromStdString(std::string(dir) + "/" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"));
    }
    std::uint32_t Pixel(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
    // Whether the colour shows within d pixels of (x, y).
    bool Near(int x, int y, std::uint32_t colour, int d = 2) const
    {
        for (int j = y - d; j <= y + d; ++j)
            for (int i = x - d; i <= x + d; ++i)
                if (i >= 0 && j >= 0 && i < image.width() && j < image.height() && Pixel(i, j) == colour) return true;
        return false;
    }
    int Count(std::uint32_t colour) const
    {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += Pixel(x, y) == colour;
        return n;
    }
    // The mapping of the run's axes onto the frame (left, right) or (bottom, top).
    static int Map(double v, double lo, double hi, int pMin, int pMax)
    {
        return static_cast<int>(((v - lo) * pMax + (hi - v) * pMin) / (hi - lo) + 0.5);
    }
    std::unique_ptr<QDoc> doc;
    QImage image;
    std::function<void(RPReport&)> beforePaint;
};

TEST_F(GraphRun, CalibrationCurveAndStandardsAtTheirPixels)
{
    OpenDemo();
    const QCalibr& cal = doc->GetPlate().calibr;
    const double xHi = std::ceil(cal.results[crDrawHi]);
    double yHi = 0;
    for (double y : cal.pointY) yHi = std::max(yHi, y);
    yHi = std::ceil(yHi * 1.2);
    RPReport r;
    auto* g = Graph(r);
    g->SetDrawAxes(0);  // the frame is then the object rectangle itself: 100..400 by 200..0
    g->SetAxisX(Axis(1, 0, 0, xHi, xHi / 4));
    g->SetAxisY(Axis(1, 0, 0, yHi, yHi / 4));
    g->SetCurveRange(1);
    Paint(r);
    if (::testing::Test::HasFatalFailure()) return;
    int checked = 0;
    for (int k = 1; k < 10; ++k) {
        const double x = cal.results[crDrawLo] + k * (cal.results[crDrawHi] - cal.results[crDrawLo]) / 10;
        const double y = cal.CurveY(x);
        if (y <= 0 || y >= yHi) continue;
        const int px = Map(x, 0, xHi, 100, 400), py = Map(y, 0, yHi, 200, 0);
        EXPECT_TRUE(Near(px, py, kCurve)) << "curve at x=" << x << " expected near (" << px << "," << py << ")";
        ++checked;
    }
    EXPECT_GE(checked, 5);
    // The standards: filled blue markers where their values map.
    int points = 0;
    for (int i = 0; i < cal.PointCount(); ++i) {
        const double x = cal.pointX[static_cast<std::size_t>(i)], y = cal.pointY[static_cast<std::size_t>(i)];
        if (x < 0 || x > xHi || y < 0 || y > yHi) continue;
        EXPECT_TRUE(Near(Map(x, 0, xHi, 100, 400), Map(y, 0, yHi, 200, 0), kPoint, 1)) << "standard " << i;
        ++points;
    }
    EXPECT_GE(points, 3);
    EXPECT_FALSE(Near(50, 100, kCurve, 45)) << "nothing drawn left of the graph";
}

TEST_F(GraphRun, AxesTicksAndLogScale)
{
    RPReport r;  // no plate: the placeholder picture on fixed axes
    auto* g = Graph(r);
    g->SetDrawLabels(0);
    g->SetAxisX(Axis(1, 1, 1, 1000, NoValue));  // three decades
    g->SetAxisY(Axis(1, 0, 0, 100, 25));
    Paint(r);
    if (::testing::Test::HasFatalFailure()) return;
    // Frame with axes and no labels: tickX = tickY = FromTwips(100 twips) = 7 at 100 dpi, in the
    // inner rectangle (100, 0) - (401, 201) of a borderless graph.
    const int tick = 7, left = 100 + 3 * tick / 2, right = 401 - 1 - tick / 2, bottom = 201 - 1 - 3 * tick / 2;
    for (int x = left + 2; x < right - 2; x += 17) EXPECT_EQ(Pixel(x, bottom), 0u) << "x axis at " << x;
    // Decade ticks equally spaced, hanging tickY below the axis; 2..9 minor ticks between them.
    for (int e = 0; e <= 3; ++e) {
        const int x = Map(e, 0, 3, left, right);
        EXPECT_EQ(Pixel(x, bottom + tick - 1), 0u) << "major tick of decade " << e;
        EXPECT_NE(Pixel(x, bottom + tick + 1), 0u) << "major tick ends at its length";
    }
    const int x5 = Map(std::log10(5.0), 0, 3, left, right);
    EXPECT_EQ(Pixel(x5, bottom + 2), 0u) << "minor tick at 5";
    EXPECT_NE(Pixel(x5, bottom + tick - 1), 0u) << "minor ticks are shorter";
    for (int i = 0; i <= 4; ++i) EXPECT_EQ(Pixel(left - tick + 1, Map(i * 25, 0, 100, bottom, tick / 2)), 0u) << "y tick " << i;
    EXPECT_GT(Count(kCurve), 50) << "placeholder curve";
    EXPECT_GT(Count(kPoint), 10) << "placeholder markers";
}

TEST_F(GraphRun, PointsOfTheInstancesSample)
{
    OpenDemo();
    QPlate& p = doc->GetPlate();
    QNSample* sample = nullptr;
    for (int i = 0; i < p.sampleCount && !sample; ++i) {
        QSample* s = p.GetSample(i);
        if (s->kind == skQuantitative && static_cast<QNSample*>(s)->pointCount > 0) sample = static_cast<QNSample*>(s);
    }
    ASSERT_NE(sample, nullptr);
    RPReport r;
    auto* g = Graph(r);
    g->SetDrawAxes(0);
    g->SetRGBCurve(0x00FF00);
    // The run's evaluation picks the sample from the object's source; here the instance is
    // pointed at it directly, as the demo has no fixed quantitative sample a source could name.
    beforePaint = [sample](RPReport& rep) {
        for (auto& si : rep.SectionInstances())
            for (auto& inst : si->objects)
                if (inst->Object().GetType() == otGraph) static_cast<RPObjInstGraph&>(*inst).sampleIndex = sample->index;
    };
    const double xHi = std::ceil(p.calibr.results[crDrawHi]) * 2;
    double yHi = 0;
    for (double y : p.calibr.pointY) yHi = std::max(yHi, y);
    g->SetAxisX(Axis(1, 0, 0, xHi, xHi / 4));
    g->SetAxisY(Axis(1, 0, 0, yHi * 2, yHi / 2));
    Paint(r);
    if (::testing::Test::HasFatalFailure()) return;
    int drawn = 0;
    for (int i = 0; i < sample->pointCount; ++i) {
        const double x = sample->wellConcs[static_cast<std::size_t>(i)], y = sample->signals[static_cast<std::size_t>(i)];
        if (!(x >= 0 && x <= xHi && y >= 0 && y <= yHi * 2)) continue;
        EXPECT_TRUE(Near(Map(x, 0, xHi, 100, 400), Map(y, 0, yHi * 2, 200, 0), kPoint, 1)) << "sample point " << i;
        ++drawn;
    }
    EXPECT_GE(drawn, 1);
}

TEST_F(GraphRun, BoxesInPlaceOfAGraph)
{
    struct Row {
        const char* name;
        int width;  // twips
        RPAxisSpec x;
    };
    const Row rows[] = {
        {"plot frame under 8 units", 700, Axis(0, 0, 0, 0, 0)},
        {"fixed axis with equal limits", 4320, Axis(1, 0, 5, 5, 1)},
        {"log axis over nothing positive", 4320, Axis(1, 1, -5, -1, NoValue)},
        {"reversed fixed linear range", 4320, Axis(1, 0, 200, 0, 50)},
        {"fixed linear range without increment", 4320, Axis(1, 0, 0, 100, 0, 64)},
    };
    for (const Row& row : rows) {
        image.fill(Qt::white);
        RPReport r;
        auto* g = Graph(r);
        g->StoreColours(0, 0xFFFFFF, 0);
        g->PlaceTwips(1440, 0, row.width, 2880);
        g->SetAxisX(row.x);
        Paint(r);
        EXPECT_EQ(Count(kCurve), 0) << row.name << ": no curve";
        EXPECT_GT(Count(0), 20) << row.name << ": a boxed text instead";
    }
}

// The demo calibration's drawing range starts at 0: an automatic log axis starts at the
// smallest positive value it shows instead, and the curve is drawn.
TEST_F(GraphRun, AutomaticLogAxesOverTheDemoPlateDrawTheCurve)
{
    OpenDemo();
    for (int scaleX : {0, 1}) {
        image.fill(Qt::white);
        RPReport r;
        auto* g = Graph(r);
        g->SetAxisX(Axis(0, scaleX, 0, 0, 0));
        g->SetAxisY(Axis(0, 1, 0, 0, 0));
        Paint(r);
        if (::testing::Test::HasFatalFailure()) return;
        EXPECT_GT(Count(kCurve), 50) << "log x " << scaleX;
    }
}

// One page with the demo plate's curve printed to PDF; VYN_KEEP_REPORT_PDF keeps the file for
// a person to look at.
TEST_F(GraphRun, PrintsToPdf)
{
    OpenDemo();
    RPReport r;
    for (int i : {0, 2, 3, 4}) r.Band(i).SetEnabled(false);
    r.Band(bandReportHeader).StoreHeight(5760);
    auto* t = Add<RPObjectTextBox>(r, bandReportHeader, 0, 0, 5760, 400);
    t->StoreContents("Calibration of the demo plate");
    auto* g = Add<RPObjectGraph>(r, bandReportHeader, 0, 500, 7200, 4800);
    g->SetRGBCurve(kCurveColour);
    g->SetRGBPoint(kPointColour);
    g->SetDrawGrid(1);
    g->StoreStyles(1, 1, 0, 1);
    r.SetRunSource(&doc->GetPlate(), doc.get());
    const char* keep = std::getenv("VYN_KEEP_REPORT_PDF");
    const std::string pdf = keep ? std::string(keep) : "/tmp/vyn_report_graph_" + std::to_string(::getpid()) + ".pdf";
    TPrinter printer;
    printer.SetOutputFile(pdf);
    APrintOutReport printout(r);
    EXPECT_TRUE(printer.Print(nullptr, printout, false));
    FILE* f = std::fopen(pdf.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    char head[5] = {};
    EXPECT_EQ(std::fread(head, 1, 4, f), 4u);
    std::fclose(f);
    EXPECT_EQ(std::string(head), "%PDF");
    if (!keep) std::remove(pdf.c_str());
}

}  // namespace
}  // namespace vyn
