#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "BuiltinsTestSupport.h"
#include "evaluator/Builtins.h"

namespace vyn::test {
namespace {

constexpr double X = NoValue;

TEST(BuiltinsStats, MinMaxAvgVarStd)
{
    RunCallCases({
        {"avg over a vector and a number", "avg", {V({1, 2, 3}), N(4)}, "2.5"},
        {"var has the divisor n", "var", {N(1), N(3)}, "1"},
        {"std of one value", "std", {N(5)}, "0"},
        {"std with the divisor n", "std", {N(2), N(4), N(4), N(4), N(5), N(5), N(7), N(9)}, "2"},
        {"min()", "min", {}, "NoValue"},
        {"max()", "max", {}, "NoValue"},
        {"avg over only missing values", "avg", {N(X), V({X})}, "NoValue"},
        {"var over nothing", "var", {EmptyLiteral()}, "NoValue"},
        {"min skips missing items", "min", {N(3), V({X, 1}), N(2)}, "1"},
        {"max skips missing items", "max", {N(3), V({X, 1}), N(X)}, "3"},
        {"max of negatives", "max", {N(-3), N(-1)}, "-1"},
        {"empty vectors are skipped", "avg", {EmptyLiteral(), N(2), V({}), TV({})}, "2"},
        {"a text", "min", {N(1), T("a")}, "E1407"},
        {"a text vector", "avg", {TV({"a"})}, "E1407"},
        {"a variable holding a text", "std", {Var("id", T("a"))}, "E1406(id)"},
        {"sum overflow", "avg", {N(1e308), N(1e308)}, "E1415"},
        // Rounding used to leave the variance of equal values below zero, and the square
        // root then failed.
        {"std of equal values", "std", {N(0.1), N(0.1), N(0.1)}, "0"},
        {"var of equal values", "var", {V({0.7, 0.7, 0.7, 0.7, 0.7})}, "0"},
        // NIST StRD univariate set NumAcc1 (10000001, 10000003, 10000002): certified sample
        // standard deviation 1, so the divisor-n variance is 2/3.
        {"large common part", "var", {N(10000001), N(10000003), N(10000002)}, "0.666666666666667"},
    });
}

TEST(BuiltinsStats, Counts)
{
    RunCallCases({
        {"cntv counts items one by one", "cntv", {N(1), N(X), V({2, X})}, "2"},
        {"cntn counts the missing ones", "cntn", {N(1), N(X), V({2, X})}, "2"},
        {"cntv()", "cntv", {}, "0"},
        {"cntv of a text", "cntv", {T("a")}, "E1407"},
        {"card of any kind", "card", {N(1), V({1, 2, 3}), T("a")}, "5"},
        {"card of a text vector and {}", "card", {TV({"a", "b"}), EmptyLiteral()}, "2"},
        {"card()", "card", {}, "0"},
    });
}

TEST(BuiltinsStats, RangeSelection)
{
    RunCallCases({
        {"sel", "sel", {N(1), N(5), N(9), N(2), N(6)}, "{5}"},
        {"xsel", "xsel", {N(1), N(5), N(9), N(2), N(6)}, "{1,9}"},
        {"sel includes the bounds", "sel", {N(2), N(3), N(5), N(2), N(5)}, "{2,3,5}"},
        {"ran around a relative width", "ran", {N(90), N(100), N(111), N(100), N(0.1)}, "{90,100}"},
        {"xran", "xran", {N(90), N(100), N(111), N(100), N(0.1)}, "{111}"},
        {"values keep their order", "sel", {V({4, 1, 3}), N(2), N(1), N(4)}, "{4,1,3,2}"},
        {"missing values are never taken", "xsel", {V({1, X, 7}), N(2), N(5)}, "{1,7}"},
        {"a missing bound gives nothing", "sel", {N(1), N(2), N(X), N(5)}, "{}"},
        {"a missing width gives nothing", "ran", {N(1), N(1), N(X)}, "{}"},
        {"no values", "sel", {EmptyLiteral(), N(1), N(2)}, "{}"},
        // A negative centre, as a blanked value below the blank gives, still has values
        // around it.
        {"ran around a negative centre", "ran", {N(-100), N(-95), N(-120), N(-100), N(0.1)}, "{-100,-95}"},
        {"xran around a negative centre", "xran", {N(-100), N(-95), N(-120), N(-100), N(0.1)}, "{-120}"},
        {"two arguments", "sel", {N(1), N(2)}, "E1431(sel)"},
        {"a vector as a bound", "sel", {N(1), V({2}), N(3)}, "E1407"},
        {"a text value", "xran", {T("a"), N(1), N(2)}, "E1407"},
    });
}

TEST(BuiltinsStats, CountLeadingItems)
{
    RunCallCases({
        {"ctlt stops at the first item above x", "ctlt", {V({1, 2, 3}), N(2)}, "2"},
        {"ctle stops at the first item from x on", "ctle", {V({1, 2, 3}), N(2)}, "1"},
        {"nothing stops", "ctlt", {V({1, 2}), N(5)}, "2"},
        {"the first item stops", "ctle", {V({3, 1}), N(2)}, "0"},
        {"a missing item after the stop is not read", "ctlt", {V({1, X}), N(0.5)}, "0"},
        {"a missing item before the stop", "ctlt", {V({1, X, 3}), N(5)}, "E1502"},
        {"empty vector", "ctlt", {EmptyLiteral(), N(2)}, "E1502"},
        {"missing x", "ctle", {V({1}), N(X)}, "E1502"},
        {"a simple number for the vector", "ctlt", {N(1), N(2)}, "E1403"},
        {"a variable that is no vector", "ctle", {Var("lim", N(1)), N(2)}, "E1402(lim)"},
        {"a text vector", "ctlt", {TV({"a"}), N(1)}, "E1407"},
        {"a text for x", "ctlt", {V({1}), T("1")}, "E1407"},
        {"one argument", "ctle", {V({1})}, "E1431(ctle)"},
    });
}

TEST(BuiltinsStats, GrubbsScreenCases)
{
    RunCallCases({
        {"removes the outlier", "grb", {V({1, 1.1, 0.9, 1.05, 5})}, "{1,1.1,0.9,1.05}"},
        {"keeps a sample without outliers", "grb", {N(1), N(2), N(3), N(4)}, "{1,2,3,4}"},
        {"two values come back", "grb", {N(1), N(100)}, "{1,100}"},
        {"one missing value gives nothing", "grb", {N(X)}, "{}"},
        {"missing values are dropped", "grb", {N(1), N(X), N(2)}, "{1,2}"},
        {"one pass only", "grb", {V({10, 10.1, 9.9, 10, 10.05, 9.95, 12, 30})}, "{10,10.1,9.9,10,10.05,9.95,12}"},
        // The mean of three 0.1 is not exactly 0.1; a zero spread must not screen them out.
        {"equal values stay", "grb", {N(0.1), N(0.1), N(0.1)}, "{0.1,0.1,0.1}"},
        {"a text", "grb", {T("a"), N(1), N(2)}, "E1407"},
    });
}

// ---- Independent Grubbs critical values -----------------------------------------------------
//
// The critical value of Grubbs' test for n values at level alpha (one-sided) is
//   G = ((n - 1) / sqrt(n)) * sqrt(t^2 / (n - 2 + t^2)),
// t the upper alpha / n quantile of Student's t with n - 2 degrees of freedom. The screen's
// factors are the 5 % values times sqrt(n / (n - 1)). t is found here by bisection on the
// t distribution's tail, written through the regularized incomplete beta function.

// Continued fraction of the incomplete beta function (modified Lentz).
double BetaContinuedFraction(double a, double b, double x)
{
    const double tiny = 1e-300;
    double c = 1.0, d = 1.0 - (a + b) * x / (a + 1.0);
    if (std::fabs(d) < tiny) d = tiny;
    d = 1.0 / d;
    double h = d;
    for (int m = 1; m <= 500; ++m) {
        const double m2 = 2.0 * m;
        double aa = m * (b - m) * x / ((a + m2 - 1.0) * (a + m2));
        d = 1.0 + aa * d;
        c = 1.0 + aa / c;
        if (std::fabs(d) < tiny) d = tiny;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1.0 / d;
        h *= d * c;
        aa = -(a + m) * (a + b + m) * x / ((a + m2) * (a + m2 + 1.0));
        d = 1.0 + aa * d;
        c = 1.0 + aa / c;
        if (std::fabs(d) < tiny) d = tiny;
        if (std::fabs(c) < tiny) c = tiny;
        d = 1.0 / d;
        const double delta = d * c;
        h *= delta;
        if (std::fabs(delta - 1.0) < 1e-15) break;
    }
    return h;
}

double RegularizedBeta(double a, double b, double x)
{
    if (x <= 0.0) return 0.0;
    if (x >= 1.0) return 1.0;
    const double front =
        std::exp(std::lgamma(a + b) - std::lgamma(a) - std::lgamma(b) + a * std::log(x) + b * std::log1p(-x));
    if (x < (a + 1.0) / (a + b + 2.0)) return front * BetaContinuedFraction(a, b, x) / a;
    return 1.0 - front * BetaContinuedFraction(b, a, 1.0 - x) / b;
}

// P(T > t) for t >= 0 and nu degrees of freedom.
double StudentUpperTail(double t, double nu) { return 0.5 * RegularizedBeta(nu / 2.0, 0.5, nu / (nu + t * t)); }

double StudentUpperQuantile(double p, double nu)
{
    double lo = 0.0, hi = 1e6;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (StudentUpperTail(mid, nu) > p ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

double GrubbsCritical(int n, double alpha)
{
    const double t = StudentUpperQuantile(alpha / n, n - 2);
    return (n - 1) / std::sqrt(static_cast<double>(n)) * std::sqrt(t * t / (n - 2 + t * t));
}

TEST(BuiltinsStats, ReferenceRoutineAgreesWithClosedFormsAndPublishedValues)
{
    // One degree of freedom is the Cauchy distribution: t = tan(pi (1/2 - p)).
    const double p = 0.05 / 3;
    EXPECT_NEAR(StudentUpperQuantile(p, 1), std::tan(M_PI * (0.5 - p)), 1e-9);
    // Two degrees of freedom: t = (1 - 2p) * sqrt(2 / (1 - (1 - 2p)^2)).
    const double q = 1 - 2 * (0.05 / 4);
    EXPECT_NEAR(StudentUpperQuantile(0.05 / 4, 2), q * std::sqrt(2 / (1 - q * q)), 1e-9);
    // Published one-sided 5 % Grubbs critical values: 1.153 for n = 3, 2.176 for n = 10.
    EXPECT_NEAR(GrubbsCritical(3, 0.05), 1.153, 0.0006);
    EXPECT_NEAR(GrubbsCritical(10, 0.05), 2.176, 0.0006);
}

TEST(BuiltinsStats, GrubbsFactorsMatchIndependentCriticalValues)
{
    for (int n = 3; n <= 25; ++n) {
        const double expected = GrubbsCritical(n, 0.05) * std::sqrt(n / (n - 1.0));
        // The factors are three-decimal figures made from three-decimal critical values: two
        // roundings, so up to 0.001 apart from the exact product (n = 25 is 0.0008 off).
        EXPECT_NEAR(GrubbsFactor(n), expected, 0.001) << "n = " << n;
    }
    for (int n : {26, 40, 1000}) EXPECT_EQ(GrubbsFactor(n), GrubbsFactor(25)) << "n = " << n;
}

// z of the last value among base + {v}, with the divisor-n standard deviation.
double ZOfLast(const std::vector<double>& base, double v)
{
    long double sum = v;
    for (double x : base) sum += x;
    const long double n = base.size() + 1, m = sum / n;
    long double sq = (v - m) * (v - m);
    for (double x : base) sq += (x - m) * (x - m);
    return static_cast<double>((v - m) / std::sqrt(sq / n));
}

// The value that gives the last value the z-score z.
double ValueWithZ(const std::vector<double>& base, double z)
{
    double lo = 0.0, hi = 1e9;
    for (int i = 0; i < 200; ++i) {
        const double mid = 0.5 * (lo + hi);
        (ZOfLast(base, mid) < z ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

TEST(BuiltinsStats, GrubbsScreenUsesTheFactorOfTheValueCount)
{
    // For n values (missing ones not counted), a last value just inside the band of the
    // independent factor stays and one just outside goes.
    for (int n : {3, 7, 10, 25, 40}) {
        std::vector<double> base;
        for (int i = 0; i < n - 1; ++i) base.push_back(i % 2 ? 1.0 : -1.0);
        const int m = std::min(n, 25);  // the factor of 25 serves every larger n
        const double factor = GrubbsCritical(m, 0.05) * std::sqrt(m / (m - 1.0));
        TStackVal without;
        without.MakeNumberVector(n - 1);
        for (double x : base) without.AppendNumber(x);
        for (double scale : {0.999, 1.001}) {
            TStackVal with = without;
            with.AppendVector(V({ValueWithZ(base, factor * scale)}));
            const std::string expected = Show(scale < 1 ? with : without);
            EXPECT_EQ(Call("grb", {N(X), with}), expected) << "n = " << n << ", z = " << factor * scale;
        }
    }
}

}  // namespace
}  // namespace vyn::test
