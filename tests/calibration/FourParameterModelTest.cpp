// "4 Parameter": recovery of known curves, a fit of immunoassay standards against an established
// Levenberg-Marquardt code, start values, ranges, report text and failures.
#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>
#include <string>
#include <vector>

#include "CalTestUtil.h"
#include "calibration/FourParameter.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"

#ifdef VYN_HAVE_CMINPACK
#include <cminpack.h>
#endif

namespace vyn {
namespace {

using test::FitPoints;
using test::RelDiff;

double Logistic(double A, double B, double C, double D, double x)
{
    return (A - D) / (1 + std::pow(x / C, B)) + D;
}

double SumOfSquares(const QCalibr& cal, const std::vector<double>& x, const std::vector<double>& y)
{
    double s = 0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        double r = cal.CurveYFourParameter(x[i]) - y[i];
        s += r * r;
    }
    return s;
}

// Eight concentrations of a threefold dilution series in duplicate, signals of a typical ELISA.
const std::vector<double> kElisaX = {0, 0, 0.5, 0.5, 1.5, 1.5, 4.5, 4.5,
                                     13.5, 13.5, 40.5, 40.5, 121.5, 121.5, 364.5, 364.5};
const std::vector<double> kElisaY = {0.061, 0.058, 0.112, 0.105, 0.198, 0.213, 0.452, 0.431,
                                     0.988, 1.021, 1.702, 1.665, 2.212, 2.251, 2.468, 2.449};

TEST(FourParameterModel, RecoversNoiseFreeCurves)
{
    struct Row {
        const char* name;
        double A, B, C, D;
        int decreasing;
    };
    const Row rows[] = {
        {"rising", 0.05, 1.3, 12.0, 2.4, 0},
        {"falling", 2.1, 0.9, 40.0, 0.1, 1},
        {"steep rising", 0.2, 2.5, 3.0, 1.8, 0},
    };
    const std::vector<double> conc = {0, 0.5, 1.5, 4.5, 13.5, 40.5, 121.5, 364.5};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        std::vector<double> x, y;
        for (double c : conc)
            for (int k = 0; k < 2; ++k) {
                x.push_back(c);
                y.push_back(Logistic(r.A, r.B, r.C, r.D, c));
            }
        QCalibr cal = FitPoints(cmFourParameter, x, y, r.decreasing);
        ASSERT_EQ(cal.state, csValid) << cal.message;
        // The stopping rule ends the run once a line search gains less than 5e-7 of the sum of
        // squares; with forward-difference gradients (step 1e-5) that leaves a sum of squares of
        // about 1e-9 on an exact curve and the parameters right to about three digits (the worst
        // seen: D of the falling curve, 8e-4 relative).
        EXPECT_LT(SumOfSquares(cal, x, y), 1e-7);
        EXPECT_LT(RelDiff(cal.results[crParams + 0], r.A), 2e-3);
        EXPECT_LT(RelDiff(cal.results[crParams + 1], r.B), 2e-3);
        EXPECT_LT(RelDiff(cal.results[crParams + 2], r.C), 2e-3);
        EXPECT_LT(RelDiff(cal.results[crParams + 3], r.D), 2e-3);
    }
}

#ifdef VYN_HAVE_CMINPACK
int LogisticResiduals(void* data, int m, int, const double* p, double* fvec, int)
{
    auto* pts = static_cast<const std::vector<double>*>(data);
    for (int i = 0; i < m; ++i)
        fvec[i] = Logistic(p[0], p[1], p[2], p[3], pts[0][static_cast<std::size_t>(i)]) -
                  pts[1][static_cast<std::size_t>(i)];
    return 0;
}

TEST(FourParameterModel, AgreesWithLevenbergMarquardtOnImmunoassayData)
{
    QCalibr cal = FitPoints(cmFourParameter, kElisaX, kElisaY);
    ASSERT_EQ(cal.state, csValid) << cal.message;

    std::vector<double> pts[2] = {kElisaX, kElisaY};
    double p[4] = {0.06, 1.0, 20.0, 2.5};
    const int m = static_cast<int>(kElisaX.size());
    std::vector<double> fvec(m), wa(m * 4 + 5 * 4 + m);
    int iwa[4];
    int info = lmdif1(LogisticResiduals, pts, m, 4, p, fvec.data(), 1e-14, iwa, wa.data(),
                      static_cast<int>(wa.size()));
    ASSERT_GE(info, 1);
    ASSERT_LE(info, 3);
    double ssRef = 0;
    for (double r : fvec) ssRef += r * r;

    EXPECT_LT(RelDiff(SumOfSquares(cal, kElisaX, kElisaY), ssRef), 1e-5)
        << "ours " << SumOfSquares(cal, kElisaX, kElisaY) << ", reference " << ssRef;
    for (int k = 0; k < 4; ++k)
        EXPECT_LT(RelDiff(cal.results[crParams + k], p[k]), 5e-4)
            << "parameter " << k << ": " << cal.results[crParams + k] << ", reference " << p[k];
}
#endif

TEST(FourParameterModel, StartValues)
{
    const double x[] = {0, 1, 10, 100}, y[] = {0.1, 0.2, 1.0, 1.5};
    double A, B, C, D;
    FourParameterStart(x, y, 4, false, A, B, C, D);
    EXPECT_EQ(A, 0.1);
    EXPECT_EQ(D, 1.5);
    EXPECT_EQ(B, 1.0);
    EXPECT_NEAR(C, std::sqrt(10.0), 1e-12);
    FourParameterStart(x, y, 4, true, A, B, C, D);
    EXPECT_EQ(A, 1.5);
    EXPECT_EQ(D, 0.1);
}

TEST(FourParameterModel, RangesAndKnownCurve)
{
    QCalibr withZero = FitPoints(cmFourParameter, kElisaX, kElisaY);
    ASSERT_EQ(withZero.state, csValid);
    EXPECT_EQ(withZero.results[crDrawLo], 0.0);
    EXPECT_NEAR(withZero.results[crFullHi], 1.1 * 364.5, 1e-9);
    EXPECT_EQ(withZero.results[crRangeHi], 364.5);

    std::vector<double> x = {1, 3, 10, 30, 100}, y;
    for (double c : x) y.push_back(Logistic(0.1, 1.2, 9, 2, c));
    QCalibr noZero = FitPoints(cmFourParameter, x, y);
    ASSERT_EQ(noZero.state, csValid);
    EXPECT_NEAR(noZero.results[crFullLo], std::pow(10, -0.2), 1e-12);
    EXPECT_NEAR(noZero.results[crFullHi], std::pow(10, 2.2), 1e-9);

    // A = 2, B = 1, C = 10, D = 0 restored as a stored curve.
    QCalibr cal;
    std::vector<double> res = {0.5, 200, 0.5, 200, 1, 100, 0, 0, 2, 1, 10, 0};
    res[6] = Logistic(2, 1, 10, 0, 100);
    res[7] = Logistic(2, 1, 10, 0, 1);
    ASSERT_TRUE(cal.Restore(1, 1, cmFourParameter, 1, 0, {1, 10, 100}, 0, 0, 1, "", "", {}, {}, {},
                            {}, res));
    EXPECT_DOUBLE_EQ(cal.CurveY(10), 1.0);
    double v = 1.0;
    ASSERT_EQ(cal.XFromY(v), 0);
    EXPECT_NEAR(v, 10.0, 1e-12);
    EXPECT_NEAR(cal.Slope(10), -0.05, 1e-15);
    // At concentration 0 the slope is the limit, -(A-D)/C for B = 1, not 0/0.
    EXPECT_NEAR(cal.SlopeFourParameter(0.0), -0.2, 1e-15);
}

TEST(FourParameterModel, ReportLines)
{
    std::vector<double> x, y;
    for (double c : {0.0, 1.0, 3.0, 10.0, 30.0, 100.0}) {
        x.push_back(c);
        y.push_back(Logistic(2, 1, 10, 0.5, c));
    }
    QCalibr cal = FitPoints(cmFourParameter, x, y, 1);
    ASSERT_EQ(cal.state, csValid);
    // Four lines of six significant digits; the fitted values are within 1e-3 of 2, 1, 10, 0.5.
    const char* names[] = {"A", "B", "C", "D"};
    const double want[] = {2, 1, 10, 0.5};
    std::size_t pos = 0;
    for (int k = 0; k < 4; ++k) {
        std::size_t end = cal.message.find("\r\n", pos);
        ASSERT_NE(end, std::string::npos) << cal.message;
        std::string line = cal.message.substr(pos, end - pos);
        ASSERT_EQ(line.rfind(std::string(names[k]) + " = ", 0), 0u) << line;
        EXPECT_NEAR(std::stod(line.substr(4)), want[k], 1e-3 * want[k]) << line;
        EXPECT_LE(line.size() - 4, 8u) << line;
        pos = end + 2;
    }
    EXPECT_EQ(pos, cal.message.size());
}

TEST(FourParameterModel, Failures)
{
    QCalibr three = FitPoints(cmFourParameter, {1, 1, 2, 2, 3, 3}, {0.1, 0.1, 0.5, 0.5, 0.9, 0.9});
    EXPECT_EQ(three.state, csFailed);
    EXPECT_EQ(three.message, "Not enough points.");
    EXPECT_EQ(three.results.size(), 8u);

    QCalibr flat = FitPoints(cmFourParameter, {1, 2, 3, 4}, {0.5, 0.5, 0.5, 0.5});
    EXPECT_EQ(flat.state, csFailed);
    EXPECT_EQ(flat.message, "Trend conficts with definition.");
    EXPECT_EQ(flat.results[crDrawLo], 1.0);
    EXPECT_EQ(flat.results[crDrawHi], 4.0);
    EXPECT_EQ(flat.results[crFullLo], NoValue);

    // Rising signals declared falling: the fit ends with A below D.
    QCalibr against = FitPoints(cmFourParameter, {1, 10, 100, 1000}, {0.1, 0.4, 0.9, 1.2}, 1);
    EXPECT_EQ(against.state, csFailed);
    EXPECT_EQ(against.message, "Trend conficts with definition.");
    EXPECT_EQ(against.results[crRangeLo], NoValue);
    EXPECT_NE(against.results[crParams], NoValue);
}

TEST(FourParameterModel, FitThatNeverConvergesIsNotOffered)
{
    // Signals doubling with every standard have no upper plateau: the minimiser chases D and C
    // outwards until its arithmetic breaks down; whether that or the spent iteration budget ends
    // it, no curve is offered.
    QCalibr cal = FitPoints(cmFourParameter, {1, 2, 3, 4, 5, 6, 7, 8},
                            {0.1, 0.2, 0.4, 0.8, 1.6, 3.2, 6.4, 12.8});
    EXPECT_EQ(cal.state, csFailed);
    EXPECT_EQ(cal.message, "Numerically unstable condition.");
    EXPECT_EQ(cal.results[crSignalLo], NoValue);
    EXPECT_EQ(cal.results[crRangeLo], NoValue);
    double y = 1.0;
    EXPECT_EQ(cal.XFromY(y), -1);
}

TEST(FourParameterModel, ObjectiveFaultIsAnInfinitelyBadPoint)
{
    const double x[] = {1, 2}, y[] = {0.1, 0.2};
    FourParamData data{x, y, 2};
    const double overflow[4] = {1, 800, 0, 0};  // e^800 overflows
    std::feclearexcept(FE_ALL_EXCEPT);
    EXPECT_EQ(FourParameterObjective(data, overflow), NoValue);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
    const double xn[] = {-1, 2};
    FourParamData negative{xn, y, 2};
    const double fractional[4] = {1, std::log(0.5), 0, 0};  // (-1)^0.5
    EXPECT_EQ(FourParameterObjective(negative, fractional), NoValue);
    const double fine[4] = {0.1, 0, 0, 0.1};
    EXPECT_NEAR(FourParameterObjective(data, fine), 0.01, 1e-15);
}

TEST(CalibrationFit, NumericalFaultFailsTheFitAndLeavesTheCallersFlags)
{
    // Sums of t^4 overflow for concentrations of 1e100.
    std::feclearexcept(FE_ALL_EXCEPT);
    QCalibr cal = FitPoints(cmLinear, {1e100, 2e100, 3e100}, {0.1, 0.2, 0.3});
    EXPECT_EQ(cal.state, csFailed);
    EXPECT_EQ(cal.message, "Numerically unstable condition.");
    EXPECT_TRUE(cal.fitInts.empty());
    EXPECT_EQ(cal.results.size(), 8u);
    EXPECT_EQ(std::fetestexcept(FE_OVERFLOW | FE_INVALID | FE_DIVBYZERO), 0);
}

}  // namespace
}  // namespace vyn
