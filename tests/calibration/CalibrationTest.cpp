// Building the points from the standards, the calibration's lifecycle, stored curves read from a
// file, and the classification of signals against the range.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "CalTestUtil.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"

namespace vyn {
namespace {

using test::FitPoints;

struct BuildCase {
    const char* name;
    std::vector<double> conc;
    std::vector<QCalEntry> entries;
    int logX;
    const char* message;           // expected failure text; nullptr: the build succeeds
    std::vector<double> x, y;      // expected points on success
};

TEST(CalibrationBuild, PointsFromStandards)
{
    const double N = NoValue;
    const std::vector<BuildCase> cases = {
        {"falling concentrations are stored ascending", {10, 5, 1},
         {{0, 0.9, false}, {1, 0.5, false}, {2, 0.1, false}}, 0, nullptr, {1, 5, 10}, {0.1, 0.5, 0.9}},
        {"replicates sorted, missing value dropped", {1, 2},
         {{0, 0.4, false}, {0, 0.2, false}, {0, N, false}, {1, 0.7, false}}, 0, nullptr,
         {1, 1, 2}, {0.2, 0.4, 0.7}},
        {"blank mean subtracted per group", {1, 2},
         {{0, 0.5, false}, {0, 0.1, true}, {0, 0.3, true}, {1, 0.9, false}, {1, 0.1, true}}, 0,
         nullptr, {1, 2}, {0.3, 0.8}},
        {"group whose blanks lack values loses its points", {1, 2, 3},
         {{0, 0.5, false}, {0, N, true}, {1, 0.9, false}, {1, 0.1, true}, {2, 1.2, false}, {2, 0.2, true}},
         0, nullptr, {2, 3}, {0.8, 1.0}},
        {"log x drops zero standards", {0, 1, 10},
         {{0, 0.1, false}, {1, 0.4, false}, {2, 0.9, false}}, 1, nullptr, {1, 10}, {0.4, 0.9}},
        {"no entries", {1}, {}, 0, "Internal error", {}, {}},
        {"falling group numbers", {1, 2}, {{1, 0.1, false}, {0, 0.2, false}}, 0, "Internal error", {}, {}},
        {"negative group number", {1, 2}, {{-1, 0.1, false}, {1, 0.2, false}}, 0, "Internal error", {}, {}},
        {"fewer concentrations than standards", {1}, {{0, 0.1, false}, {1, 0.2, false}}, 0,
         "Concentrations missing.", {}, {}},
        {"missing concentration", {1, N}, {{0, 0.1, false}, {1, 0.2, false}}, 0,
         "Concentrations missing.", {}, {}},
        {"more concentrations than standards", {1, 2, 3}, {{0, 0.1, false}, {1, 0.2, false}}, 0,
         "Concentrations do not agree with standard.", {}, {}},
        {"repeating concentrations", {1, 1, 5},
         {{0, 0.1, false}, {1, 0.2, false}, {2, 0.3, false}}, 0, "Repeating concentrations.", {}, {}},
        {"unordered concentrations", {1, 5, 2},
         {{0, 0.1, false}, {1, 0.2, false}, {2, 0.3, false}}, 0, "Unordered concentrations.", {}, {}},
        {"negative concentration", {-1, 5}, {{0, 0.1, false}, {1, 0.2, false}}, 0,
         "Concentration negative.", {}, {}},
        {"group of blanks only", {1, 2}, {{0, 0.1, false}, {1, 0.2, true}}, 0,
         "Reference layout error.", {}, {}},
        {"groups disagree about blanks", {1, 2},
         {{0, 0.5, false}, {0, 0.1, true}, {1, 0.9, false}}, 0, "Reference layout error.", {}, {}},
        {"no value at all", {1, 2}, {{0, N, false}, {1, N, false}}, 0, "Absorbances missing.", {}, {}},
        {"log x with zero standard only", {0}, {{0, 0.3, false}}, 1, "Absorbances missing.", {}, {}},
    };
    for (const BuildCase& c : cases) {
        SCOPED_TRACE(c.name);
        QCalibr cal;
        cal.SetParams(cmPointToPoint, 0, c.logX, c.conc, 0, 0.0, 1.0);
        int r = cal.Recalc(&c.entries);
        if (c.message) {
            EXPECT_EQ(r, -1);
            EXPECT_EQ(cal.state, csFailed);
            EXPECT_EQ(cal.message, c.message);
            EXPECT_EQ(cal.PointCount(), 0);
            continue;
        }
        EXPECT_EQ(r, 1);
        ASSERT_EQ(cal.pointX.size(), c.x.size());
        for (std::size_t i = 0; i < c.x.size(); ++i) {
            EXPECT_DOUBLE_EQ(cal.pointX[i], c.x[i]) << "point " << i;
            EXPECT_NEAR(cal.pointY[i], c.y[i], 1e-15) << "point " << i;
            EXPECT_EQ(cal.pointExcluded[i], 0);
        }
    }
}

TEST(CalibrationBuild, NoStandardsSampleDoesNothing)
{
    QCalibr cal;
    EXPECT_EQ(cal.Recalc(nullptr), 0);
    EXPECT_EQ(cal.state, csNotCalculated);
    EXPECT_EQ(cal.results.size(), 8u);
}

TEST(CalibrationLifecycle, SetParamsComparesConcentrationsAsSixteenDigitText)
{
    QCalibr cal = FitPoints(cmLinear, {1, 2, 3}, {0.1, 0.2, 0.35});
    ASSERT_EQ(cal.state, csValid);
    // 0.1 + 0.2 differs from 0.3 in the last bit but reads back as 0.3 from 16 digits.
    std::vector<double> conc = cal.concentrations;
    cal.concentrations[0] = 0.1 + 0.2;
    conc[0] = 0.3;
    EXPECT_EQ(cal.SetParams(cmLinear, 0, 0, conc, 0, 0.0, 1.0), 0);
    EXPECT_EQ(cal.state, csValid);
    conc[0] = 0.5;
    EXPECT_EQ(cal.SetParams(cmLinear, 0, 0, conc, 0, 0.0, 1.0), 1);
    EXPECT_EQ(cal.state, csNotCalculated);
    EXPECT_EQ(cal.SetParams(cmParabole, 0, 0, conc, 0, 0.0, 1.0), 2);
}

TEST(CalibrationLifecycle, StoredCurveSurvivesUntilReleased)
{
    QCalibr cal = FitPoints(cmLinear, {1, 2, 3}, {0.1, 0.2, 0.35});
    ASSERT_EQ(cal.Remember(), 1);
    EXPECT_EQ(cal.Remember(), 0);
    std::vector<QCalEntry> other = {{0, 0.9, false}, {1, 0.5, false}, {2, 0.1, false}};
    EXPECT_EQ(cal.Invalidate(), 0);
    EXPECT_EQ(cal.Recalc(&other), 0);
    EXPECT_EQ(cal.SetParams(cmSpline, 1, 0, {5, 6, 7}, 0, 0.0, 1.0), 0);
    EXPECT_EQ(cal.SetRange(1.5, 2.5), 0);
    EXPECT_EQ(cal.ApplyPointFlags({1, 0, 0}), 0);
    EXPECT_EQ(cal.state, csValid);
    EXPECT_EQ(cal.model, cmLinear);

    QCalibr copy;
    copy.Assign(cal);
    EXPECT_EQ(copy.stored, 1);
    EXPECT_EQ(copy.pointY, cal.pointY);

    EXPECT_EQ(cal.Release(), 1);
    EXPECT_EQ(cal.state, csNotCalculated);
    cal.SetParams(cmLinear, 1, 0, {1, 2, 3}, 0, 0.0, 1.0);
    EXPECT_EQ(cal.Recalc(&other), 1);
    EXPECT_EQ(cal.state, csValid);
    EXPECT_EQ(cal.pointY, (std::vector<double>{0.9, 0.5, 0.1}));
}

TEST(CalibrationLifecycle, PointFlagsRefit)
{
    QCalibr cal = FitPoints(cmLinear, {1, 2, 3, 4}, {0.1, 0.2, 0.9, 0.4});
    ASSERT_EQ(cal.state, csValid);
    // Bits 0 and 1 together leave the point used.
    EXPECT_EQ(cal.ApplyPointFlags({0, 3, 1, 0}), csValid);
    EXPECT_EQ(cal.pointExcluded, (std::vector<int>{0, 0, 1, 0}));
    EXPECT_NEAR(cal.results[crParams + 1], 0.1, 1e-12);
    EXPECT_EQ(cal.ApplyPointFlags({1, 1, 2, 1}), csFailed);
    EXPECT_EQ(cal.message, "All points excluded.");
}

TEST(CalibrationRange, SetRangeOrdersAndClamps)
{
    QCalibr cal = FitPoints(cmLinear, {1, 2, 3, 4, 5}, {0.1, 0.2, 0.3, 0.4, 0.5});
    ASSERT_EQ(cal.state, csValid);
    const double fullLo = cal.results[crFullLo], fullHi = cal.results[crFullHi];
    EXPECT_EQ(cal.SetRange(4, 2), 1);
    EXPECT_DOUBLE_EQ(cal.results[crRangeLo], 2);
    EXPECT_DOUBLE_EQ(cal.results[crRangeHi], 4);
    EXPECT_NEAR(cal.results[crSignalLo], 0.2, 1e-12);
    EXPECT_NEAR(cal.results[crSignalHi], 0.4, 1e-12);
    EXPECT_EQ(cal.SetRange(-100, 100), 1);
    EXPECT_DOUBLE_EQ(cal.results[crRangeLo], fullLo);
    EXPECT_DOUBLE_EQ(cal.results[crRangeHi], fullHi);
    EXPECT_EQ(cal.SetRange(NoValue, 3), 0);
}

// What a saved plate keeps of an unstored curve rests on telling the user's range from the fit's,
// for every model: the range each fit leaves (set through SetRange by some models, narrower than
// the full range in others) is no change, another one set afterwards is until the next fit, and
// a curve taken whole from a file counts as changed, since its range may be the user's.
TEST(CalibrationRange, TellsTheUsersRangeFromTheFits)
{
    const std::vector<double> x{1, 1, 2, 2, 4, 4, 8, 8, 16, 16, 32, 32};
    const std::vector<double> y{0.05, 0.06, 0.12, 0.13, 0.3, 0.32, 0.6, 0.62, 0.85, 0.86, 0.95, 0.96};
    for (int model = 0; model < QCalibr::ModelCount(); ++model) {
        SCOPED_TRACE(QCalibr::ModelName(model));
        QCalibr cal = FitPoints(model, x, y, 0, QCalibr::HasLogOption(model) ? 1 : 0);
        ASSERT_EQ(cal.state, csValid) << cal.message;
        EXPECT_FALSE(cal.RangeChanged());
        EXPECT_FALSE(cal.HasUserChanges());
        const double lo = cal.results[crRangeLo], hi = cal.results[crRangeHi];
        ASSERT_EQ(cal.SetRange(lo, hi), 1);
        EXPECT_FALSE(cal.RangeChanged()) << "the fit's own range set again";
        ASSERT_EQ(cal.SetRange(lo + (hi - lo) / 4, hi), 1);
        EXPECT_TRUE(cal.RangeChanged());
        EXPECT_TRUE(cal.HasUserChanges());

        QCalibr restored;
        ASSERT_TRUE(restored.Restore(0, cal.state, cal.model, 0, cal.logX, cal.concentrations, 0, 0.0,
                                     1.0, "", cal.message, cal.pointX, cal.pointY, cal.pointExcluded,
                                     cal.fitInts, cal.results));
        EXPECT_TRUE(restored.HasUserChanges());
        restored.stored = 1;
        EXPECT_FALSE(restored.HasUserChanges()) << "a remembered curve is kept whole anyway";

        // Fitted again, the curve has the fit's range.
        ASSERT_EQ(cal.ApplyPointFlags(std::vector<int>(cal.pointX.size(), 0)), csValid);
        EXPECT_FALSE(cal.RangeChanged());
        EXPECT_EQ(cal.results[crRangeLo], lo);
        cal.Invalidate();
        EXPECT_FALSE(cal.HasUserChanges());
    }
}

TEST(CalibrationRange, ClassifiesSignalsByDirection)
{
    struct Row {
        const char* name;
        int decreasing;
        double y;
        int test, side;
    };
    QCalibr rising = FitPoints(cmLinear, {1, 2, 3}, {0.1, 0.2, 0.3});
    QCalibr falling = FitPoints(cmLinear, {1, 2, 3}, {0.3, 0.2, 0.1}, 1);
    ASSERT_EQ(rising.state, csValid);
    ASSERT_EQ(falling.state, csValid);
    const Row rows[] = {
        {"rising, above", 0, 0.5, 3, 1},   {"rising, below", 0, 0.0, 2, -1},
        {"rising, inside", 0, 0.25, 1, 0}, {"falling, above", 1, 0.5, 2, -1},
        {"falling, below", 1, 0.0, 3, 1},  {"falling, inside", 1, 0.25, 1, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const QCalibr& cal = r.decreasing ? falling : rising;
        EXPECT_EQ(cal.TestY(r.y), r.test);
        double y = r.y;
        EXPECT_EQ(cal.XFromY(y), r.side);
        if (r.side != 0) {
            EXPECT_EQ(y, r.y);
        }
    }
    double y = 0.25;
    ASSERT_EQ(falling.XFromY(y), 0);
    EXPECT_NEAR(y, 1.5, 1e-12);

    QCalibr none;
    y = 0.2;
    EXPECT_EQ(none.TestY(0.2), 0);
    EXPECT_EQ(none.XFromY(y), -1);
    EXPECT_EQ(none.Slope(1.0), 0.0);
    EXPECT_EQ(none.CurveY(1.0), NoValue);
}

TEST(CalibrationModels, NamesAndFormulas)
{
    EXPECT_EQ(QCalibr::ModelCount(), 6);
    EXPECT_EQ(QCalibr::ModelName(cmLinear), "Linear");
    EXPECT_EQ(QCalibr::ModelName(cmFourParameter), "4 Parameter");
    EXPECT_EQ(QCalibr::ModelFormula(cmParabole), "y = K2*x^2 + K1*x + K0");
    EXPECT_EQ(QCalibr::ModelFormula(cmSpline), "");
    EXPECT_EQ(QCalibr::ModelName(6), "");
    EXPECT_FALSE(QCalibr::HasLogOption(cmFourParameter));
    EXPECT_TRUE(QCalibr::HasLogOption(cmSpline));

    QCalibr cal;
    cal.SetParams(9, 0, 0, {1, 2}, 0, 0.0, 1.0);
    std::vector<QCalEntry> e = {{0, 0.1, false}, {1, 0.2, false}};
    cal.Recalc(&e);
    EXPECT_EQ(cal.state, csFailed);
    EXPECT_EQ(cal.message, "uknown model");
}

// A stored calibration read from a file: what the operations would read must be there.
TEST(CalibrationRestore, RefusesLayoutsThatPointPastTheResults)
{
    const QCalibr good = FitPoints(cmPointToPoint, {1, 2, 5}, {0.1, 0.5, 0.9});
    ASSERT_EQ(good.state, csValid);
    struct Row {
        const char* name;
        int model, state;
        std::vector<int> fitInts;
        std::size_t resultCount;
        std::size_t xCount;
        bool accepted;
    };
    const Row rows[] = {
        {"as fitted", cmPointToPoint, 1, good.fitInts, good.results.size(), 3, true},
        {"node count past the results", cmPointToPoint, 1, {40, 0, 2}, good.results.size(), 3, false},
        {"run end past the nodes", cmPointToPoint, 1, {3, 0, 7}, good.results.size(), 3, false},
        {"fitInts missing", cmPointToPoint, 1, {}, good.results.size(), 3, false},
        {"results cut short", cmPointToPoint, 1, good.fitInts, 9, 3, false},
        {"fewer x than points", cmPointToPoint, 1, good.fitInts, good.results.size(), 2, false},
        {"model out of range", 7, 1, good.fitInts, good.results.size(), 3, false},
        {"polynomial without degree", cmLinear, 1, {}, 15, 3, false},
        {"polynomial degree 5", cmLinear, 1, {5}, 15, 3, false},
        {"four parameters cut short", cmFourParameter, 1, {}, 11, 3, false},
        {"not calculated reads nothing", cmSpline, 0, {}, 8, 3, true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<double> res(good.results.begin(),
                                good.results.begin() +
                                    static_cast<long>(std::min(r.resultCount, good.results.size())));
        res.resize(r.resultCount, 0.5);
        std::vector<double> x(good.pointX.begin(), good.pointX.begin() + static_cast<long>(r.xCount));
        QCalibr cal;
        bool ok = cal.Restore(1, r.state, r.model, 0, 0, good.concentrations, 0, 0.0, 1.0, "memo", "",
                              x, good.pointY, good.pointExcluded, r.fitInts, res);
        EXPECT_EQ(ok, r.accepted);
        if (ok) {
            EXPECT_EQ(cal.stored, 1);
            EXPECT_EQ(cal.PointCount(), 3);
            continue;
        }
        EXPECT_EQ(cal.stored, 0);
        EXPECT_EQ(cal.state, csFailed);
        EXPECT_EQ(cal.message, r.model == 7 ? "uknown model" : "Stored calibration damaged.");
        double y = 0.5;
        EXPECT_EQ(cal.XFromY(y), -1);
        EXPECT_EQ(cal.CurveY(2.0), NoValue);
        // Not stored any more: the next recalculation fits the standards again.
        EXPECT_EQ(cal.Invalidate(), 1);
    }
}

TEST(CalibrationRestore, RestoredCurveAnswersLikeTheFit)
{
    const QCalibr fit = FitPoints(cmSpline, {1, 2, 4, 8}, {0.1, 0.4, 0.8, 1.0});
    ASSERT_EQ(fit.state, csValid);
    QCalibr cal;
    ASSERT_TRUE(cal.Restore(1, fit.state, fit.model, 0, 0, fit.concentrations, 0, 0.0, 1.0, "", "",
                            fit.pointX, fit.pointY, fit.pointExcluded, fit.fitInts, fit.results));
    for (double y : {0.2, 0.5, 0.9}) {
        double a = y, b = y;
        EXPECT_EQ(fit.XFromY(a), cal.XFromY(b));
        EXPECT_EQ(a, b);
    }
    EXPECT_EQ(cal.CurveY(3.0), fit.CurveY(3.0));
}

}  // namespace
}  // namespace vyn
