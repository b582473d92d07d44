// The calibration-curve view on the demo plate: title, axis label and curve for every model,
// the curve drawn red over the valid range, a stored curve, the fit command's order of
// preference and the display flags stored in the plate.
#include <gtest/gtest.h>

#include "DemoDocUtil.h"

#include <QImage>

#include "document/QDoc.h"
#include "evaluator/NoValue.h"
#include "platform/gui/Dc.h"
#include "views/QSView.h"

namespace vyn {
namespace {

using test::OpenDemo;

struct CurveView {
    std::unique_ptr<QDoc> doc = OpenDemo();
    std::unique_ptr<QSView> view;
    CurveView()
    {
        if (!doc) return;
        view = std::make_unique<QSView>(*doc);
        view->Create();
        view->MoveWindow(0, 0, 480, 360);
        view->Refresh();
        view->ShowWindow(SW_SHOW);
        view->SetFocus();  // a click on a graph without the focus only activates it
    }
    ~CurveView()
    {
        view.reset();  // before the document
    }
    QCalibr& Cal() { return doc->GetPlate().calibr; }
    QImage Render()
    {
        TRect rc = view->GetClientRect();
        QImage img(rc.Width(), rc.Height(), QImage::Format_RGB32);
        TDC dc(img);
        view->Draw(dc);
        return img;
    }
    // Refits the plate's calibration with another model.
    void Refit(int model)
    {
        QCalibr& c = Cal();
        c.SetParams(model, c.decreasing, 0, c.concentrations, c.fixedK, c.K0, c.K1);
        doc->ApplyCalibration();
    }
};

TColor At(const QImage& img, TPoint p)
{
    QRgb c = img.pixel(p.x, p.y);
    return TColor(qRed(c), qGreen(c), qBlue(c));
}

TEST(CurveView, EveryModelShowsItsNameTheUnitsAndItsCurveRedOverTheValidRange)
{
    CurveView v;
    ASSERT_TRUE(v.view);
    for (int model = 0; model < QCalibr::ModelCount(); ++model) {
        SCOPED_TRACE(QCalibr::ModelName(model));
        v.Refit(model);
        ASSERT_EQ(v.Cal().state, csValid) << v.Cal().message;
        // The document's notification rebuilt the view.
        EXPECT_EQ(v.view->TitleText(), QCalibr::ModelName(model));
        EXPECT_EQ(v.view->State(), 1);
        const QImage img = v.Render();
        const auto& pts = v.view->CurvePoints();
        ASSERT_GE(pts.size(), 4u);
        const double lo = v.Cal().results[crRangeLo], hi = v.Cal().results[crRangeHi];
        int checked = 0;
        auto nearStandard = [&](TPoint p) {
            for (int i = 0; i < v.Cal().PointCount(); ++i)
                if (std::abs(v.view->XDevice(v.Cal().pointX[i]) - p.x) < 8 &&
                    std::abs(v.view->YDevice(v.Cal().pointY[i]) - p.y) < 8)
                    return true;
            return false;
        };
        for (const TPoint& p : pts) {
            const double x = v.view->XWorld(p.x);
            if (x <= v.Cal().results[crDrawLo] || x >= v.Cal().results[crDrawHi]) continue;  // the ends' pixels
            // Each vertex is the calibration's own y at that x, and red inside the range.
            EXPECT_NEAR(p.y, v.view->YDevice(v.Cal().CurveY(x)), 1.5) << "x " << x;
            if (x > lo + (hi - lo) * 0.1 && x < hi - (hi - lo) * 0.1 && p.y > v.view->PlotRect().top + 2 &&
                !nearStandard(p)) {
                EXPECT_EQ(At(img, p), TColor(255, 0, 0)) << "x " << x;
                ++checked;
            }
        }
        EXPECT_GT(checked, 10);
        // The standards stand where the mapping puts them.
        for (int i = 0; i < v.Cal().PointCount(); ++i) {
            const TPoint c(v.view->XDevice(v.Cal().pointX[i]), v.view->YDevice(v.Cal().pointY[i]));
            if (v.view->PlotRect().Contains(c)) {
                const TColor col = At(img, c);
                EXPECT_TRUE(col == TColor(255, 0, 0) || col == TColor::Black) << "point " << i;
            }
        }
    }
}

TEST(CurveView, NotCalculatedAndStoredCurvesAreLabelledAsSuch)
{
    CurveView v;
    ASSERT_TRUE(v.view);
    QCalibr& c = v.Cal();
    c.SetParams(cmParabole, c.decreasing, 0, c.concentrations, c.fixedK, c.K0, c.K1);
    v.view->Rebuild();
    EXPECT_EQ(c.state, csNotCalculated);
    EXPECT_TRUE(v.view->CanFit());
    v.doc->GetPlate().calibr.state = csNotCalculated;
    // The fit command runs the fit whatever else is pending.
    v.view->SendCommand(cmCalibrationFit);
    EXPECT_EQ(c.state, csValid);
    EXPECT_FALSE(v.view->CanFit());

    c.Remember();
    v.view->Rebuild();
    EXPECT_EQ(v.view->TitleText(), "Parabole (MEMO)");
    EXPECT_EQ(v.view->Marker1X(), -1);  // a stored curve has no markers
    // Its points cannot be selected.
    const TPoint p(v.view->XDevice(c.pointX[2]), v.view->YDevice(c.pointY[2]));
    v.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x - 5, p.y - 5));
    v.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x + 5, p.y + 5));
    EXPECT_FALSE(v.view->HasSelection());
}

TEST(CurveView, FitCommandAppliesPendingPointsBeforeARangeChange)
{
    CurveView v;
    ASSERT_TRUE(v.view);
    v.view->ShowWindow(SW_SHOW);
    QCalibr& c = v.Cal();
    ASSERT_EQ(c.state, csValid);
    const double lo = c.results[crRangeLo];
    // Move marker 1 a few pixels and mark one standard for exclusion.
    const int mid = (v.view->PlotRect().top + v.view->PlotRect().bottom) / 2;
    const int m1 = v.view->Marker1X();
    v.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(m1, mid));
    v.view->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(m1 + 6, mid));
    v.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(m1 + 6, mid));
    ASSERT_TRUE(v.view->RangeChanged());
    const int last = 7;  // a standard of 40, away from both markers
    const TPoint p(v.view->XDevice(c.pointX[last]), v.view->YDevice(c.pointY[last]));
    v.view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x - 4, p.y - 4));
    v.view->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(p.x + 4, p.y + 4));
    ASSERT_TRUE(v.view->HasSelection());
    v.view->SendCommand(cmExcludePoints);
    ASSERT_EQ(v.view->PendingCount(), 2);  // both replicates of the standard

    v.view->SendCommand(cmCalibrationFit);
    EXPECT_NE(c.pointExcluded[last], 0);
    EXPECT_NE(c.pointExcluded[last - 1], 0);
    EXPECT_EQ(c.results[crRangeLo], lo);  // the marker's move was not applied
    // The rebuild after the document's notification dropped the dragged marker.
    EXPECT_FALSE(v.view->RangeChanged());
    EXPECT_EQ(v.view->PendingCount(), 0);
}

TEST(CurveView, DisplayTogglesAreStoredInThePlate)
{
    CurveView v;
    ASSERT_TRUE(v.view);
    QPlate& p = v.doc->GetPlate();
    ASSERT_EQ(p.curveLogX, 0);
    v.view->SendCommand(cmLogX);
    v.view->SendCommand(cmGrid);
    EXPECT_EQ(p.curveLogX, 1);
    EXPECT_EQ(p.curveGrid, 1);
    EXPECT_EQ(p.curveLogY, 0);
    EXPECT_TRUE(v.doc->IsDirty());
    TCommandEnabler ce(cmLogX);
    v.view->RouteCommandEnable(ce);
    EXPECT_TRUE(ce.IsEnabled());
    EXPECT_EQ(ce.GetCheck(), TCommandEnabler::Checked);
    // Another view made later starts from the plate's flags.
    QSView other(*v.doc);
    EXPECT_EQ(other.GetXLog(), 1);
}

}  // namespace
}  // namespace vyn
