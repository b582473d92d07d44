// The graph printout: its square plot and curve laid out on the printer of a known resolution,
// and the calibration curve and a sample graph of the demo plate printed to PDF.
#include <gtest/gtest.h>

#include "DemoDocUtil.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>

#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "plate/QNSample.h"
#include "platform/gui/Dc.h"
#include "printing/PageSettings.h"
#include "printing/RWPrinter.h"
#include "views/QNView.h"
#include "views/QSView.h"

namespace vyn {
namespace {

using test::OpenDemo;

// y = x on 0..10 with a heavier stretch 2..8.
struct Diagonal : APrintOutGraph {
    double PrintCurveY(double x) override { return x; }
};

TEST(GraphPrintout, PlotIsSquareOnPaperAndTheCurveHitsItsCorners)
{
    ResetPrintSettings();
    RWPrinter printer;
    printer.SetOutputFile("/tmp/unused.pdf");
    auto dc = printer.MakeInfoDC();
    ASSERT_TRUE(dc);
    Diagonal g;
    g.xAxis = {0, 0, 0, 10, 2.5, 4, 1, 0, 1};
    g.yAxis = g.xAxis;
    g.curveFrom = 0;
    g.curveTo = 10;
    g.markFrom = 2;
    g.markTo = 8;
    g.SetPrintParams(dc.get(), printer.PageSize());
    ASSERT_EQ(g.pageCount, 1);
    const TRect r = g.plotRect;
    const int dpiX = dc->GetDeviceCaps(LOGPIXELSX), dpiY = dc->GetDeviceCaps(LOGPIXELSY);
    EXPECT_NEAR(double(r.Width()) / dpiX, double(r.Height()) / dpiY, 2.0 / dpiX);
    EXPECT_EQ(g.XPixel(0), r.left);
    EXPECT_EQ(g.XPixel(10), r.right);
    EXPECT_EQ(g.YPixel(0), r.bottom);
    EXPECT_EQ(g.YPixel(10), r.top);
    EXPECT_EQ(g.XValue(r.right), 10);
    // Print the page onto the measuring context itself and look at the curve it kept.
    g.BeginPrinting();
    TRect page;
    g.PrintPage(1, page, 0);
    const auto& pts = g.CurveDrawn();
    ASSERT_GE(pts.size(), 4u);
    EXPECT_LE(static_cast<int>(pts.size()), APrintOutGraph::kPointBuffer);
    EXPECT_EQ(pts.front(), TPoint(r.left, r.bottom));
    EXPECT_EQ(pts.back(), TPoint(r.right, r.top));
    // Both mark points appear twice.
    int marks = 0;
    for (std::size_t i = 1; i < pts.size(); ++i)
        if (pts[i] == pts[i - 1]) ++marks;
    EXPECT_EQ(marks, 2);
    g.EndPrinting();
    EXPECT_TRUE(g.points.empty());
}

TEST(GraphPrintout, CalibrationCurveAndSampleGraphPrintToPdf)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    ResetPrintSettings();
    QTemporaryDir dir;
    // VYN_KEEP_PDF names a folder to keep the prints in, for a person to look at.
    const char* keep = std::getenv("VYN_KEEP_PDF");
    const std::string folder = keep ? keep : dir.path().toStdString();

    QSView curve(*doc);
    curve.Create();
    curve.MoveWindow(0, 0, 480, 360);
    curve.Refresh();
    RWPrinter printer;
    printer.SetOutputFile(folder + "/calibration.pdf");
    ASSERT_TRUE(printer.Print(nullptr, curve, false));
    EXPECT_EQ(curve.title.value_or(""), "Linear");
    EXPECT_FALSE(curve.message.has_value());
    EXPECT_GT(QFileInfo(QString::fromStdString(folder + "/calibration.pdf")).size(), 1000);

    const QPlate& p = doc->GetPlate();
    int quant = -1;
    for (int i = 0; i < p.sampleCount && quant < 0; ++i)
        if (p.GetSample(i)->kind == skQuantitative) quant = i;
    ASSERT_GE(quant, 0);
    QNView graph(*doc, quant, nullptr);
    graph.Create();
    graph.MoveWindow(0, 0, 480, 360);
    graph.Refresh();
    printer.SetOutputFile(folder + "/sample.pdf");
    ASSERT_TRUE(printer.Print(nullptr, graph, false));
    EXPECT_EQ(graph.pointCount, p.GetSample(quant) ? static_cast<const QNSample*>(p.GetSample(quant))->pointCount : 0);
    EXPECT_GT(QFileInfo(QString::fromStdString(folder + "/sample.pdf")).size(), 1000);
}

TEST(SampleGraph, ShowsTheSampleOnTheCurveAndFollowsOnlyItsOwnChanges)
{
    auto doc = OpenDemo();
    ASSERT_TRUE(doc);
    const QPlate& p = doc->GetPlate();
    int quant = -1;
    for (int i = 0; i < p.sampleCount && quant < 0; ++i)
        if (p.GetSample(i)->kind == skQuantitative) quant = i;
    ASSERT_GE(quant, 0);
    const auto* s = static_cast<const QNSample*>(p.GetSample(quant));
    QNView view(*doc, quant, nullptr);
    view.Create();
    view.MoveWindow(0, 0, 480, 360);
    view.Refresh();
    EXPECT_EQ(view.TitleText(), std::to_string(s->SeqNumber()) + ".: " + s->ident);
    bool hl = true;
    bool isText = false;
    const std::string result = p.SampleResultText(*s, isText);
    EXPECT_EQ(view.LabelText(hl), s->CategoriesEmpty() ? result + " " + p.units : result);
    EXPECT_FALSE(hl);
    EXPECT_EQ(view.State(), 1);
    // Each point stands at its signal over the concentration of its replicate group: within the
    // replicates' spread of 0.01 either side of the curve.
    const int spread = std::abs(view.YDevice(0.01) - view.YDevice(0.0)) + 1;
    for (int i = 0; i < s->pointCount; ++i)
        EXPECT_NEAR(view.YDevice(s->signals[i]), view.YDevice(p.calibr.CurveY(s->wellConcs[i])), spread) << "point " << i;
    // Exclude a point: the calculate command hands the flags to the document.
    TCommandEnabler before(cmCalculateSample);
    view.RouteCommandEnable(before);
    EXPECT_FALSE(before.IsEnabled());
    view.SetFocus();
    view.SendMessage(WM_KEYDOWN, VK_TAB, 1);
    view.SendCommand(cmExcludePoints);
    ASSERT_EQ(view.PendingCount(), 1);
    view.SendCommand(cmCalculateSample);
    EXPECT_EQ(view.PendingCount(), 0);  // rebuilt from the recalculated sample
    EXPECT_NE(static_cast<const QNSample*>(p.GetSample(quant))->flags[0] & 1, 0);
    // A presentation change of the list column alone leaves it alone.
    view.SendCommand(cmExcludePoints);
    view.SendMessage(WM_KEYDOWN, VK_TAB, 1);
    view.SendCommand(cmInvertPoints);
    const int pending = view.PendingCount();
    doc->NotifyViews(vnPresentationChanged, 8);
    EXPECT_EQ(view.PendingCount(), pending);
    doc->NotifyViews(vnPresentationChanged, 2);
    EXPECT_EQ(view.PendingCount(), 0);
}

}  // namespace
}  // namespace vyn
