// The curve window: the mapping of both axes, the curve and points drawn where the mapping
// puts them, and the point and marker handling by mouse and keys.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>

#include "evaluator/NoValue.h"
#include "platform/gui/Dc.h"
#include "platform/gui/TestHook.h"
#include "views/QCrvWindow.h"

namespace vyn {
namespace {

// y = 2x + 1 between 0 and 10.
class Line : public QCrvWindow {
public:
    Line() : QCrvWindow(nullptr) {}
    double CurveY(double x) override { return x < 0 || x > 10 ? NoValue : 2 * x + 1; }
};

struct Plot {
    Line w;
    double x[3] = {2, 5, 9};
    double y[3] = {5, 11, 3};
    int flags[3] = {QCrvWindow::kExcluded, 0, 0};
    Plot()
    {
        w.Create();
        w.MoveWindow(0, 0, 400, 300);
        w.SetCurve(0, 10, 2, 8);
        w.SetData(x, y, 3, flags, true);
        w.SetMarkers(2, 8);
        w.Refresh();
        w.ShowWindow(SW_SHOW);
        w.SetFocus();  // a click on a graph without the focus only activates it
    }
    QImage Render()
    {
        TRect rc = w.GetClientRect();
        QImage img(rc.Width(), rc.Height(), QImage::Format_RGB32);
        TDC dc(img);
        w.Draw(dc);
        return img;
    }
    static TColor At(const QImage& img, TPoint p)
    {
        QRgb c = img.pixel(p.x, p.y);
        return TColor(qRed(c), qGreen(c), qBlue(c));
    }
    TPoint Centre(double px, double py) const { return TPoint(w.XDevice(px), w.YDevice(py)); }
    void Drag(TPoint from, TPoint to)
    {
        w.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
        w.SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
        w.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    }
};

const TColor kRed{255, 0, 0}, kYellow{255, 255, 0};

TEST(CurveWindow, LinearAxesMapTheirEndTicksOntoThePlotEdges)
{
    Plot p;
    ASSERT_EQ(p.w.State(), 1);
    const auto& x = p.w.XAxis();
    const auto& y = p.w.YAxis();
    EXPECT_EQ(x.first, 0);
    EXPECT_EQ(x.last, 10);
    EXPECT_EQ(x.intervals, 5);
    // The curve's samples give 1..21 and the points lie inside: 0..25 in steps of 5.
    EXPECT_EQ(y.first, 0);
    EXPECT_EQ(y.last, 25);
    EXPECT_EQ(y.minor, 4);
    const TRect r = p.w.PlotRect();
    EXPECT_EQ(p.w.XDevice(0), r.left);
    EXPECT_EQ(p.w.XDevice(10), r.right);
    EXPECT_EQ(p.w.YDevice(0), r.bottom);
    EXPECT_EQ(p.w.YDevice(25), r.top);
    EXPECT_EQ(p.w.XWorld(r.right), 10);
    EXPECT_NEAR(p.w.XWorld(p.w.XDevice(4)), 4, 10.0 / r.Width());
}

TEST(CurveWindow, CurveAndPointsAreDrawnWhereTheMappingPutsThem)
{
    Plot p;
    const QImage img = p.Render();
    // Included and excluded points are both filled red at their centres.
    EXPECT_EQ(Plot::At(img, p.Centre(5, 11)), kRed);
    EXPECT_EQ(Plot::At(img, p.Centre(2, 5)), kRed);
    // The excluded point is a diamond: its bounding box corner stays background.
    const TPoint c = p.Centre(2, 5);
    EXPECT_EQ(Plot::At(img, TPoint(c.x - 1, c.y - 1)), kRed);
    EXPECT_NE(Plot::At(img, TPoint(c.x - 3, c.y - 3)), kRed);
    // Curve vertices inside the valid range 2..8 are red, outside it yellow.
    int red = 0, yellow = 0;
    for (const TPoint& v : p.w.CurvePoints()) {
        const double xv = p.w.XWorld(v.x);
        if (xv > 3 && xv < 4.5) {
            EXPECT_EQ(Plot::At(img, v), kRed) << "x " << xv;
            ++red;
        }
        if (xv > 0.3 && xv < 1.5) {
            EXPECT_EQ(Plot::At(img, v), kYellow) << "x " << xv;
            ++yellow;
        }
        // Every vertex lies on y = 2x + 1 within a pixel.
        EXPECT_NEAR(v.y, p.w.YDevice(2 * xv + 1), 1.5) << "x " << xv;
    }
    EXPECT_GT(red, 3);
    EXPECT_GT(yellow, 3);
}

TEST(CurveWindow, LogarithmicAxisOverZeroShowsTheMessageInsteadOfThePlot)
{
    Plot p;
    double x0[1] = {0};
    double y0[1] = {3};
    p.w.SetData(x0, y0, 1, nullptr, false);
    p.w.SetXLog(1);
    EXPECT_EQ(p.w.State(), -2);
    EXPECT_EQ(p.w.Message(), "Cannot present Log(0)");
    p.w.SetXLog(0);
    EXPECT_EQ(p.w.State(), 1);
    EXPECT_EQ(p.w.Message(), "");
}

TEST(CurveWindow, LogarithmicAxisSpansWholeDecades)
{
    Plot p;
    double xs[2] = {0.05, 20};
    double ys[2] = {3, 4};
    p.w.SetCurve(NoValue, NoValue, NoValue, NoValue);
    p.w.SetData(xs, ys, 2, nullptr, false);
    p.w.SetXLog(1);
    ASSERT_EQ(p.w.State(), 1);
    EXPECT_EQ(p.w.XAxis().firstDecade, -2);
    EXPECT_EQ(p.w.XAxis().lastDecade, 2);
    const TRect r = p.w.PlotRect();
    EXPECT_EQ(p.w.XDevice(0.01), r.left);
    EXPECT_EQ(p.w.XDevice(100), r.right);
    // Decade 1 lies three quarters of the way across.
    EXPECT_NEAR(p.w.XDevice(1), r.left + r.Width() / 2, 1);
}

TEST(CurveWindow, RectangleSelectionThenKeysMarkAndRestorePoints)
{
    Plot p;
    p.w.ShowWindow(SW_SHOW);
    const TPoint c = p.Centre(5, 11);
    p.Drag(TPoint(c.x - 6, c.y - 6), TPoint(c.x + 6, c.y + 6));
    EXPECT_TRUE(p.w.IsSelected(1));
    EXPECT_FALSE(p.w.IsSelected(0));
    EXPECT_TRUE(p.w.HasSelection());
    p.w.SetFocus();
    TTestHook::Key(VK_DELETE, 0, &p.w);
    EXPECT_EQ(p.w.PendingCount(), 1);
    EXPECT_EQ(p.w.Flags()[1], QCrvWindow::kToggled);
    EXPECT_FALSE(p.w.HasSelection());
    // Including a point that is included changes nothing; the pending one is drawn white.
    EXPECT_EQ(Plot::At(p.Render(), c), TColor::White);
    TTestHook::Key(VK_HOME, 0, &p.w);
    EXPECT_EQ(p.w.PendingCount(), 0);
    EXPECT_EQ(p.w.Flags()[1], 0);
}

TEST(CurveWindow, TabWalksThePointsByXThenTheMarkers)
{
    Plot p;
    p.w.ShowWindow(SW_SHOW);
    p.w.SetFocus();
    TTestHook::Key(VK_TAB, 0, &p.w);
    EXPECT_TRUE(p.w.IsSelected(0));  // x = 2 first
    TTestHook::Key(VK_TAB, 0, &p.w);
    EXPECT_TRUE(p.w.IsSelected(1));
    TTestHook::Key(VK_TAB, 0, &p.w);
    TTestHook::Key(VK_TAB, 0, &p.w);
    EXPECT_EQ(p.w.FocusBits(), 1);
    EXPECT_FALSE(p.w.HasSelection());
    TTestHook::Key(VK_TAB, MK_SHIFT, &p.w);
    EXPECT_TRUE(p.w.IsSelected(2));  // back to the last point
    TTestHook::Key(VK_ESCAPE, 0, &p.w);
    EXPECT_FALSE(p.w.HasSelection());
    EXPECT_EQ(p.w.FocusBits(), 0);

    // Without active points and markers Tab focuses nothing.
    p.w.SetData(p.x, p.y, 3, nullptr, false);
    p.w.SetMarkers(NoValue, NoValue);
    p.w.Refresh();
    TTestHook::Key(VK_TAB, 0, &p.w);
    EXPECT_FALSE(p.w.HasSelection());
    EXPECT_EQ(p.w.FocusBits(), 0);
}

TEST(CurveWindow, MarkerDraggedPastTheOtherSwapsAndOneBackHomeRestoresItsValue)
{
    Plot p;
    p.w.ShowWindow(SW_SHOW);
    const int mid = (p.w.PlotRect().top + p.w.PlotRect().bottom) / 2;
    const int m1 = p.w.Marker1X(), m2 = p.w.Marker2X();
    ASSERT_GT(m2, m1);
    EXPECT_FALSE(p.w.RangeChanged());

    p.Drag(TPoint(m1, mid), TPoint(m1 + 7, mid));
    EXPECT_TRUE(p.w.RangeChanged());
    EXPECT_GT(p.w.MarkerLow(), 2.0);
    p.Drag(TPoint(m1 + 7, mid), TPoint(m1, mid));
    EXPECT_EQ(p.w.MarkerLow(), 2.0);  // exactly, not the pixel's value
    EXPECT_FALSE(p.w.RangeChanged());

    p.Drag(TPoint(m1, mid), TPoint(m2 + 20, mid));
    EXPECT_EQ(p.w.MarkerLow(), 8.0);
    EXPECT_NEAR(p.w.MarkerHigh(), p.w.XWorld(m2 + 20), 1e-9);
    EXPECT_EQ(p.w.FocusBits(), 2);  // the focus went with the dragged marker
    p.w.ResetMarkers();
    EXPECT_EQ(p.w.MarkerLow(), 2.0);
    EXPECT_EQ(p.w.MarkerHigh(), 8.0);
    EXPECT_FALSE(p.w.RangeChanged());
}

TEST(CurveWindow, FocusedMarkerMovesByKeyWithinThePlot)
{
    Plot p;
    p.w.ShowWindow(SW_SHOW);
    p.w.SetFocus();
    for (int i = 0; i < 4; ++i) TTestHook::Key(VK_TAB, 0, &p.w);  // three points, then marker 1
    ASSERT_EQ(p.w.FocusBits(), 1);
    const int m1 = p.w.Marker1X();
    TTestHook::Key(VK_LEFT, 0, &p.w);
    EXPECT_EQ(p.w.Marker1X(), m1 - 1);
    for (int i = 0; i < 400; ++i) TTestHook::Key(VK_LEFT, 0, &p.w);
    EXPECT_EQ(p.w.Marker1X(), p.w.PlotRect().left);
    EXPECT_EQ(p.w.MarkerLow(), 0.0);
}

}  // namespace
}  // namespace vyn
