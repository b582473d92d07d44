// "Spline": the clamped spline against an exact rational solution of the textbook moment
// equations (tests/data/calibration/make_reference.py), its monotone range, inverse and slope.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CalTestUtil.h"
#include "calibration/QCalibr.h"
#include "calibration/Spline.h"
#include "evaluator/NoValue.h"

namespace vyn {
namespace {

using test::FitPoints;

struct SplineReference {
    const char* name;
    int logX;
    std::vector<double> x, y;
    double slope;
    std::vector<double> y2;
    std::vector<double> samples, values;
};

#include "calibration/reference.inc"

const std::vector<SplineReference> kSplineCases = {VYN_SPLINE_REFERENCE};

TEST(SplineModel, MatchesTheClampedSplineWithRegressionEndSlopes)
{
    for (const SplineReference& c : kSplineCases) {
        SCOPED_TRACE(c.name);
        const bool falling = c.y.back() < c.y.front();
        QCalibr cal = FitPoints(cmSpline, c.x, c.y, falling, c.logX);
        const int m = static_cast<int>(c.x.size());
        ASSERT_EQ(cal.fitInts[0], m);
        for (int j = 0; j < m; ++j)
            EXPECT_NEAR(cal.results[crParams + 2 * m + j], c.y2[j], 1e-12 * (1 + std::fabs(c.y2[j])))
                << "second derivative at node " << j;
        for (std::size_t i = 0; i < c.samples.size(); ++i)
            EXPECT_NEAR(cal.CurveY(c.samples[i]), c.values[i], 1e-12)
                << "spline at " << c.samples[i];
    }
}

TEST(SplineModel, InverseAndSlopeInsideTheMonotoneRange)
{
    for (const SplineReference& c : kSplineCases) {
        SCOPED_TRACE(c.name);
        const bool falling = c.y.back() < c.y.front();
        QCalibr cal = FitPoints(cmSpline, c.x, c.y, falling, c.logX);
        ASSERT_EQ(cal.state, csValid) << cal.message;
        auto t = [&](double x) { return c.logX ? std::log(x) : x; };
        const double lo = t(cal.results[crRangeLo]), hi = t(cal.results[crRangeHi]);
        for (double f : {0.02, 0.3, 0.5, 0.71, 0.98}) {
            double tx = lo + f * (hi - lo);
            double x = c.logX ? std::exp(tx) : tx;
            double y = cal.CurveY(x);
            double back = y;
            ASSERT_EQ(cal.XFromY(back), 0);
            EXPECT_NEAR(t(back), tx, 2 * (c.x.back() - c.x.front()) / 65536.0) << "signal " << y;
            // Slope against a central difference of the curve itself.
            double h = 1e-6 * x;
            double numeric = (cal.CurveY(x + h) - cal.CurveY(x - h)) / (2 * h);
            EXPECT_NEAR(cal.Slope(x), numeric, 1e-6 * (1 + std::fabs(numeric))) << "at " << x;
        }
    }
}

TEST(SplineModel, StraightLineIsItsOwnSpline)
{
    QCalibr cal = FitPoints(cmSpline, {1, 2, 3}, {0.2, 0.4, 0.6});
    ASSERT_EQ(cal.state, csValid);
    for (int j = 0; j < 3; ++j) EXPECT_NEAR(cal.results[crParams + 6 + j], 0.0, 1e-14);
    EXPECT_DOUBLE_EQ(cal.results[crRangeLo], 1.0);
    EXPECT_DOUBLE_EQ(cal.results[crRangeHi], 3.0);
    EXPECT_EQ(cal.fitInts, (std::vector<int>{3, 0, 2, 0}));
}

TEST(SplineModel, RiseThenFallLimitsTheRange)
{
    QCalibr cal = FitPoints(cmSpline, {0, 1, 2, 3, 4}, {0.1, 0.6, 0.9, 0.7, 0.3});
    ASSERT_EQ(cal.state, csValid);
    const double hi = cal.results[crRangeHi];
    EXPECT_GT(hi, 1.0);
    EXPECT_LT(hi, 3.0);
    // The derivative is positive up to the range end and not beyond the next sampling step.
    EXPECT_GT(cal.Slope(hi - 0.01), 0.0);
    EXPECT_EQ(cal.TestY(cal.CurveY(hi) + 0.01), 3);
    double y = cal.results[crSignalHi] + 0.001;
    EXPECT_EQ(cal.XFromY(y), 1);  // above the range: a concentration above it
}

TEST(SplineModel, NaturalEndWhenTheSlopeIsTheSentinel)
{
    const double X[] = {0, 1, 2, 3}, Y[] = {0, 1, 0, 1};
    double y2[4];
    SplineSecondDerivs(X, Y, 4, 1e30, 1e30, y2);
    EXPECT_EQ(y2[0], 0.0);
    EXPECT_NEAR(y2[3], 0.0, 1e-15);
    // Natural spline through these nodes: M1 = -M2 = -4 (4 M1 + M2 = -12, M1 + 4 M2 = 12).
    EXPECT_NEAR(y2[1], -4.0, 1e-12);
    EXPECT_NEAR(y2[2], 4.0, 1e-12);
}

TEST(SplineModel, Failures)
{
    QCalibr two = FitPoints(cmSpline, {1, 2, 2}, {0.1, 0.3, 0.4});
    EXPECT_EQ(two.state, csFailed);
    EXPECT_EQ(two.message, "Not enough points.");

    QCalibr flat = FitPoints(cmSpline, {1, 2, 3}, {0.4, 0.4, 0.4});
    EXPECT_EQ(flat.state, csFailed);
    EXPECT_EQ(flat.message, "Trend conficts with definition.");
    EXPECT_NEAR(flat.CurveY(1.5), 0.4, 1e-15);  // still drawn

    QCalibr against = FitPoints(cmSpline, {1, 2, 3, 4}, {0.1, 0.2, 0.3, 0.4}, 1);
    EXPECT_EQ(against.state, csFailed);
    EXPECT_EQ(against.message, "Trend conficts with definition.");
    double y = 0.25;
    EXPECT_EQ(against.XFromY(y), -1);
}

}  // namespace
}  // namespace vyn
