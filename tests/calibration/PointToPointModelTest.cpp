// "Point To Point": nodes from replicate means, the heaviest monotone run, the broken line.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "CalTestUtil.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"

namespace vyn {
namespace {

using test::FitPoints;

TEST(PointToPointModel, ChoosesTheHeaviestRun)
{
    // Segments 0-1 (weight 0.4*1) and 2-5 (0.5*3) rise; 1-2 falls. The later, heavier run wins.
    QCalibr cal = FitPoints(cmPointToPoint, {0, 1, 2, 5}, {0.1, 0.5, 0.4, 0.9});
    ASSERT_EQ(cal.state, csValid);
    EXPECT_EQ(cal.fitInts, (std::vector<int>{4, 2, 3}));
    EXPECT_DOUBLE_EQ(cal.results[crDrawLo], 0);
    EXPECT_DOUBLE_EQ(cal.results[crDrawHi], 5);
    EXPECT_DOUBLE_EQ(cal.results[crRangeLo], 2);
    EXPECT_DOUBLE_EQ(cal.results[crRangeHi], 5);
    EXPECT_DOUBLE_EQ(cal.results[crSignalLo], 0.4);
    EXPECT_DOUBLE_EQ(cal.results[crSignalHi], 0.9);
    double y = 0.65;
    ASSERT_EQ(cal.XFromY(y), 0);
    EXPECT_NEAR(y, 3.5, 1e-12);
    y = 0.3;  // reached by the first segment too, but that run was not chosen
    EXPECT_EQ(cal.XFromY(y), -1);
    EXPECT_NEAR(cal.CurveY(0.5), 0.3, 1e-12);   // drawn over all nodes
    EXPECT_NEAR(cal.CurveY(1.5), 0.45, 1e-12);
    EXPECT_NEAR(cal.Slope(4.0), 0.5 / 3, 1e-12);

    // Equal weights: the later run wins.
    QCalibr tie = FitPoints(cmPointToPoint, {0, 1, 2, 3}, {0.0, 0.5, 0.25, 0.75});
    EXPECT_EQ(tie.fitInts, (std::vector<int>{4, 2, 3}));
}

TEST(PointToPointModel, FallingRunAndReplicateMeans)
{
    QCalibr cal =
        FitPoints(cmPointToPoint, {1, 1, 2, 2, 4, 8}, {1.8, 2.0, 1.3, 1.5, 0.8, 0.2}, 1);
    ASSERT_EQ(cal.state, csValid);
    EXPECT_EQ(cal.fitInts, (std::vector<int>{4, 0, 3}));
    EXPECT_DOUBLE_EQ(cal.results[crParams + 4], 1.9);  // node signals: replicate means
    EXPECT_DOUBLE_EQ(cal.results[crParams + 5], 1.4);
    EXPECT_DOUBLE_EQ(cal.results[crSignalLo], 0.2);
    EXPECT_DOUBLE_EQ(cal.results[crSignalHi], 1.9);
    for (double x : {1.2, 1.5, 3.0, 6.0, 7.9}) {
        double y = cal.CurveY(x);
        double back = y;
        ASSERT_EQ(cal.XFromY(back), 0);
        EXPECT_NEAR(back, x, 1e-12) << "signal " << y;
    }
    EXPECT_NEAR(cal.Slope(3.0), -0.6 / 2, 1e-12);
}

TEST(PointToPointModel, LogXSpacesNodesByTheLogarithm)
{
    QCalibr cal = FitPoints(cmPointToPoint, {1, 10, 100}, {0.2, 0.6, 1.0}, 0, 1);
    ASSERT_EQ(cal.state, csValid);
    EXPECT_NEAR(cal.results[crParams + 1], std::log(10.0), 1e-15);
    EXPECT_NEAR(cal.results[crRangeHi], 100.0, 1e-12);
    double y = 0.4;
    ASSERT_EQ(cal.XFromY(y), 0);
    EXPECT_NEAR(y, std::sqrt(10.0), 1e-12);
    // dy/dx = (dy/dln x) / x
    EXPECT_NEAR(cal.Slope(5.0), 0.4 / std::log(10.0) / 5.0, 1e-15);
    EXPECT_NEAR(cal.CurveY(std::sqrt(10.0)), 0.4, 1e-12);
}

TEST(PointToPointModel, Failures)
{
    QCalibr one = FitPoints(cmPointToPoint, {2, 2}, {0.1, 0.3});
    EXPECT_EQ(one.state, csFailed);
    EXPECT_EQ(one.message, "Not enough points.");

    QCalibr flat = FitPoints(cmPointToPoint, {1, 1, 2, 2}, {0.2, 0.4, 0.1, 0.5});
    EXPECT_EQ(flat.state, csFailed);
    EXPECT_EQ(flat.message, "Trend conficts with definition.");
    EXPECT_NEAR(flat.CurveY(1.5), 0.3, 1e-12);  // still drawn

    QCalibr against = FitPoints(cmPointToPoint, {1, 2, 3}, {0.3, 0.2, 0.1});
    EXPECT_EQ(against.state, csFailed);
    EXPECT_EQ(against.message, "Trend conficts with definition.");
}

}  // namespace
}  // namespace vyn
