// "Linear", "Parabole" and "Cubic Parabole" against least-squares coefficients computed in exact
// rational arithmetic (tests/data/calibration/make_reference.py), and their range, inverse and slope
// against direct evaluation of the fitted polynomial.
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
using test::RelDiff;

struct PolyReference {
    const char* name;
    int model, fixedK;
    double K0, K1;
    int logX;
    std::vector<double> x, y;
    int degree;
    std::vector<double> K;
};

#include "calibration/reference.inc"

const std::vector<PolyReference> kPolyCases = {VYN_POLY_REFERENCE};

double Poly(const QCalibr& cal, double t)
{
    double v = 0.0;
    for (int k = cal.fitInts[0]; k >= 0; --k) v = v * t + cal.results[crParams + k];
    return v;
}

double PolyDerivative(const QCalibr& cal, double t)
{
    double v = 0.0;
    for (int k = cal.fitInts[0]; k >= 1; --k) v = v * t + k * cal.results[crParams + k];
    return v;
}

TEST(PolynomialModel, CoefficientsMatchExactLeastSquares)
{
    for (const PolyReference& c : kPolyCases) {
        SCOPED_TRACE(c.name);
        bool falling = c.y.back() < c.y.front();
        QCalibr cal = FitPoints(c.model, c.x, c.y, falling, c.logX, c.fixedK, c.K0, c.K1);
        ASSERT_EQ(cal.state, csValid) << cal.message;
        ASSERT_EQ(cal.fitInts[0], c.degree);
        for (int k = 0; k <= c.degree; ++k) {
            if (c.K[k] == 0.0)
                EXPECT_EQ(cal.results[crParams + k], 0.0) << "K" << k;
            else
                EXPECT_LT(RelDiff(cal.results[crParams + k], c.K[k]), 1e-9)
                    << "K" << k << " = " << cal.results[crParams + k] << ", want " << c.K[k];
        }
        // One coefficient line per kept degree, highest first.
        std::string lines;
        for (int k = c.degree; k >= 0; --k) lines += "K[" + std::to_string(k) + "] = ";
        std::string heads;
        for (std::size_t p = 0; p < cal.message.size();) {
            std::size_t eq = cal.message.find(" = ", p);
            heads += cal.message.substr(p, eq + 3 - p);
            p = cal.message.find("\r\n", eq) + 2;
        }
        EXPECT_EQ(heads, lines) << cal.message;
    }
}

TEST(PolynomialModel, InverseAndSlopeAgreeWithThePolynomial)
{
    for (const PolyReference& c : kPolyCases) {
        SCOPED_TRACE(c.name);
        bool falling = c.y.back() < c.y.front();
        QCalibr cal = FitPoints(c.model, c.x, c.y, falling, c.logX, c.fixedK, c.K0, c.K1);
        ASSERT_EQ(cal.state, csValid);
        const double lo = cal.results[crRangeLo], hi = cal.results[crRangeHi];
        auto t = [&](double x) { return c.logX ? std::log(x) : x; };
        // The signal range is the polynomial at the range ends.
        double y0 = Poly(cal, t(lo)), y1 = Poly(cal, t(hi));
        EXPECT_NEAR(cal.results[crSignalLo], std::min(y0, y1), 1e-12);
        EXPECT_NEAR(cal.results[crSignalHi], std::max(y0, y1), 1e-12);
        for (double f : {0.0, 0.13, 0.5, 0.77, 1.0}) {
            double x = lo + f * (hi - lo);
            if (c.logX) x = std::exp(t(lo) + f * (t(hi) - t(lo)));
            double y = Poly(cal, t(x));
            double back = y;
            ASSERT_EQ(cal.XFromY(back), 0) << "at " << x;
            // Bisection: 16 halvings of the current range.
            double tol = c.degree == 1 ? 1e-9 * std::fabs(x) + 1e-12 : (t(hi) - t(lo)) / 65536.0 * 2;
            EXPECT_NEAR(t(back), t(x), tol) << "signal " << y;
            double slope = PolyDerivative(cal, t(x)) / (c.logX ? x : 1.0);
            EXPECT_NEAR(cal.Slope(x), slope, 1e-12 * std::fabs(slope) + 1e-15);
            EXPECT_NEAR(cal.CurveY(x), y, 1e-12);
        }
    }
}

TEST(PolynomialModel, RangesFollowTheShapeOfTheCurve)
{
    // Parabola rising to a vertex near x = 8 inside the standards: only the branch left of it counts.
    QCalibr cal = FitPoints(cmParabole, {0, 2, 4, 6, 8, 10}, {0.0, 0.36, 0.64, 0.84, 0.96, 1.0});
    ASSERT_EQ(cal.state, csValid) << cal.message;
    ASSERT_EQ(cal.fitInts[0], 2);
    const double K1 = cal.results[crParams + 1], K2 = cal.results[crParams + 2];
    const double vertex = -K1 / (2 * K2);
    EXPECT_NEAR(vertex, 10.0, 1e-9);
    EXPECT_DOUBLE_EQ(cal.results[crDrawLo], 0.0);            // -a raised to 0
    EXPECT_NEAR(cal.results[crDrawHi], vertex - 0.1, 1e-12);  // v - b
    EXPECT_NEAR(cal.results[crRangeHi], vertex - 0.1, 1e-12);  // inside the standards

    // The same shape narrower than 6a: the branch is too short to use.
    QCalibr narrow = FitPoints(cmParabole, {0, 2, 4, 6, 8, 10}, {0.0, 0.64, 0.96, 0.96, 0.64, 0.0});
    EXPECT_EQ(narrow.state, csFailed);
    EXPECT_EQ(narrow.message, "Trend conficts with definition.");
    EXPECT_DOUBLE_EQ(narrow.results[crDrawLo], -1.0);  // still drawn over [t0 - a, t1 + a]
    EXPECT_DOUBLE_EQ(narrow.results[crDrawHi], 11.0);
    EXPECT_EQ(narrow.results[crFullLo], NoValue);

    // Fixed coefficient: from 0 to 1.2 times the highest concentration (1 to x^1.2 under log x).
    QCalibr fixed = FitPoints(cmLinear, {1, 2, 5}, {0.1, 0.2, 0.5}, 0, 0, 1, 0.0);
    EXPECT_DOUBLE_EQ(fixed.results[crDrawLo], 0.0);
    EXPECT_DOUBLE_EQ(fixed.results[crFullHi], 6.0);
    QCalibr fixedLog = FitPoints(cmLinear, {1, 10, 100}, {0.1, 0.2, 0.3}, 0, 1, 1, 0.0);
    EXPECT_DOUBLE_EQ(fixedLog.results[crDrawLo], 1.0);
    EXPECT_NEAR(fixedLog.results[crDrawHi], std::pow(100.0, 1.2), 1e-9);

    // Slope fixed while K1 holds no value: 1.0 is used and K0 is the mean of y - t.
    QCalibr noK1 = FitPoints(cmLinear, {1, 2, 3}, {1.5, 2.5, 3.6}, 0, 0, 2, 0.0, NoValue);
    ASSERT_EQ(noK1.state, csValid);
    EXPECT_EQ(noK1.K1, 1.0);
    EXPECT_NEAR(noK1.results[crParams], (0.5 + 0.5 + 0.6) / 3, 1e-15);
}

TEST(PolynomialModel, DegreeDropsWhenTheTopTermAddsNothing)
{
    // A straight line fitted as a parabola or cubic keeps degree 1.
    for (int model : {cmParabole, cmCubicParabole}) {
        QCalibr cal = FitPoints(model, {1, 2, 3, 4}, {0.2, 0.4, 0.6, 0.8});
        ASSERT_EQ(cal.state, csValid) << model;
        EXPECT_EQ(cal.fitInts[0], 1) << model;
        EXPECT_EQ(cal.message.rfind("K[1] = 0.2\r\nK[0] = ", 0), 0u) << cal.message;
    }
}

TEST(PolynomialModel, Failures)
{
    struct Row {
        const char* name;
        int model, decreasing, fixedK;
        std::vector<double> x, y;
        const char* message;
        bool drawn;
    };
    const Row rows[] = {
        {"line on one concentration", cmLinear, 0, 0, {1, 1}, {0.1, 0.2}, "Not enough points.", false},
        {"parabola on two", cmParabole, 0, 0, {1, 2}, {0.1, 0.2}, "Not enough points.", false},
        {"cubic on three", cmCubicParabole, 0, 0, {1, 2, 3}, {0.1, 0.2, 0.4}, "Not enough points.", false},
        {"all signals equal", cmLinear, 0, 0, {1, 2, 3}, {0.4, 0.4, 0.4}, "No trend in data.", false},
        // The shortcut sum(y^2) - sum(y)^2/n leaves 7e-18 here, which would pass as a trend.
        {"five equal signals of 0.1", cmParabole, 0, 0, {1, 2, 3, 4, 5}, {0.1, 0.1, 0.1, 0.1, 0.1},
         "No trend in data.", false},
        {"falling line, rising curve", cmLinear, 0, 0, {1, 2, 3}, {0.3, 0.2, 0.1},
         "Trend conficts with definition.", true},
        {"rising line, falling curve", cmLinear, 1, 0, {1, 2, 3}, {0.1, 0.2, 0.3},
         "Trend conficts with definition.", true},
        {"fixed intercept against trend", cmLinear, 0, 1, {1, 2, 3}, {-0.1, -0.2, -0.3},
         "Trend conficts with definition.", true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QCalibr cal = FitPoints(r.model, r.x, r.y, r.decreasing, 0, r.fixedK);
        EXPECT_EQ(cal.state, csFailed);
        EXPECT_EQ(cal.message, r.message);
        EXPECT_EQ(cal.results[crDrawLo] != NoValue, r.drawn);
        EXPECT_EQ(cal.results[crSignalLo], NoValue);
        double y = 0.2;
        EXPECT_EQ(cal.XFromY(y), -1);
    }
}

}  // namespace
}  // namespace vyn
