// The quasi-Newton minimiser on problems whose minimum is known analytically, its building blocks,
// and its budget.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "calibration/QMinimizer.h"

namespace vyn {
namespace {

double Rosenbrock(int, const double* p)
{
    return 100 * std::pow(p[1] - p[0] * p[0], 2) + std::pow(1 - p[0], 2);
}

void RosenbrockGradient(int, const double* p, double, double* g)
{
    g[0] = -400 * p[0] * (p[1] - p[0] * p[0]) - 2 * (1 - p[0]);
    g[1] = 200 * (p[1] - p[0] * p[0]);
}

// Wood's function: minimum 0 at (1, 1, 1, 1).
double Wood(int, const double* p)
{
    return 100 * std::pow(p[1] - p[0] * p[0], 2) + std::pow(1 - p[0], 2) +
           90 * std::pow(p[3] - p[2] * p[2], 2) + std::pow(1 - p[2], 2) +
           10.1 * (std::pow(p[1] - 1, 2) + std::pow(p[3] - 1, 2)) + 19.8 * (p[1] - 1) * (p[3] - 1);
}

// A scaled, shifted quadratic bowl: minimum 3 at (1, -2, 0.5, 250).
double Bowl(int, const double* p)
{
    const double c[4] = {1, -2, 0.5, 250}, w[4] = {1, 10, 0.1, 3};
    double f = 3;
    for (int i = 0; i < 4; ++i) f += w[i] * (p[i] - c[i]) * (p[i] - c[i]);
    return f;
}

struct Problem {
    const char* name;
    int n;
    MinObjective f;
    MinGradient g;
    std::vector<double> start, minimum;
    double fmin, tolX;
};

TEST(Minimizer, FindsKnownMinima)
{
    const Problem problems[] = {
        {"Rosenbrock, exact gradient", 2, Rosenbrock, RosenbrockGradient, {-1.2, 1}, {1, 1}, 0, 1e-3},
        {"Rosenbrock, forward differences", 2, Rosenbrock, {}, {-1.2, 1}, {1, 1}, 0, 1e-2},
        {"Wood, forward differences", 4, Wood, {}, {-3, -1, -3, -1}, {1, 1, 1, 1}, 0, 1e-2},
        {"quadratic bowl", 4, Bowl, {}, {0, 0, 0, 0}, {1, -2, 0.5, 250}, 3, 1e-3},
        {"one parameter", 1, [](int, const double* p) { return std::cosh(p[0] - 0.7); }, {}, {5},
         {0.7}, 1, 1e-3},
    };
    for (const Problem& pr : problems) {
        SCOPED_TRACE(pr.name);
        std::vector<double> p = pr.start;
        QMinimizer m;
        int it = m.Minimize(pr.n, p.data(), pr.f, pr.g, 1e-10);
        EXPECT_GT(it, 0);
        for (int i = 0; i < pr.n; ++i)
            EXPECT_NEAR(p[i], pr.minimum[i], pr.tolX * (1 + std::fabs(pr.minimum[i]))) << "p" << i;
        EXPECT_NEAR(pr.f(pr.n, p.data()), pr.fmin, 1e-5);
    }
}

TEST(Minimizer, ToleranceNotAboveZeroMeansOneMillionth)
{
    auto run = [](double ftol, std::vector<double>& p) {
        p = {-1.2, 1};
        return QMinimizer().Minimize(2, p.data(), Rosenbrock, {}, ftol);
    };
    std::vector<double> a, b, c;
    int ia = run(1e-6, a), ib = run(0.0, b), ic = run(-3.0, c);
    EXPECT_EQ(ia, ib);
    EXPECT_EQ(ia, ic);
    EXPECT_EQ(a, b);
    EXPECT_EQ(a, c);
}

TEST(Minimizer, StartAtTheMinimumConvergesWithoutIterations)
{
    double p[1] = {2.0};
    QMinimizer m;
    EXPECT_EQ(m.Minimize(1, p, [](int, const double* q) { return (q[0] - 2) * (q[0] - 2) + 1; }), 0);
    EXPECT_NEAR(p[0], 2.0, 1e-4);
}

TEST(Minimizer, BudgetRunsOutAfter1281IterationsForFourParameters)
{
    // Every evaluation lowers the landscape by 1e-6, so each line search gains more than the
    // tolerance allows and the run can never converge.
    long k = 0;
    auto noisy = [&k](int, const double* q) {
        double f = 1.0;
        for (int i = 0; i < 4; ++i) f += q[i] * q[i];
        return f - 1e-6 * static_cast<double>(++k);
    };
    double p[4] = {1, 2, 3, 4};
    QMinimizer m;
    EXPECT_EQ(m.Minimize(4, p, noisy), -1281);
    EXPECT_EQ(m.Iterations(), -1281);
    for (double v : p) EXPECT_TRUE(std::isfinite(v));
    EXPECT_LT(std::fabs(p[0]) + std::fabs(p[3]), 1.0);  // the last point reached is kept
}

TEST(Minimizer, RefusesMoreThanFourParameters)
{
    double p[5] = {};
    QMinimizer m;
    EXPECT_THROW(m.Minimize(5, p, [](int, const double*) { return 0.0; }), std::invalid_argument);
}

TEST(MinimizerParts, ForwardGradientStep)
{
    struct Row {
        double p, g;
    };
    // f = p^2: the forward difference is 2p + h with h = 1e-5 * max(|p|, 1).
    const Row rows[] = {{0.0, 1e-5}, {0.5, 1.0 + 1e-5}, {-0.5, -1.0 + 1e-5}, {250.0, 500.0025}};
    QMinimizer m;
    m.SetObjective([](int, const double* q) { return q[0] * q[0]; });
    for (const Row& r : rows) {
        double p = r.p, g = 0;
        m.ForwardGradient(1, &p, r.p * r.p, &g);
        EXPECT_NEAR(g, r.g, 1e-9 * std::max(1.0, std::fabs(r.g))) << "p = " << r.p;
        EXPECT_EQ(p, r.p);
    }
}

TEST(MinimizerParts, BracketingWidensOverEqualValues)
{
    // Flat up to 5, then rising: the first steps meet equal values and must keep going.
    QMinimizer m;
    m.SetObjective([](int, const double* q) { return q[0] < 5 ? 1.0 : 1.0 + (q[0] - 5) * (q[0] - 5); });
    double p = 0, xi = 1;
    double ax = 0, bx = 1, cx, fa, fb, fc;
    m.BracketMinimum(1, &p, &xi, ax, bx, cx, fa, fb, fc);
    EXPECT_LT(fb, fc);
    EXPECT_LE(fb, fa);
    EXPECT_GT((bx - ax) * (cx - bx), 0.0);
    EXPECT_GT(cx, 5.0);
}

TEST(MinimizerParts, BrentFindsTheLineMinimum)
{
    QMinimizer m;
    m.SetObjective([](int, const double* q) { return (q[0] - 0.3) * (q[0] - 0.3) + 2; });
    double p = 0, xi = 1, xmin = 0;
    double f = m.BrentMinimize(1, &p, &xi, 0, 0.5, 1, 1e-5, xmin);
    EXPECT_NEAR(xmin, 0.3, 1e-5);
    EXPECT_NEAR(f, 2.0, 1e-10);
    EXPECT_EQ(p, 0.0);
}

}  // namespace
}  // namespace vyn
