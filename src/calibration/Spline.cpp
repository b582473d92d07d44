#include "calibration/Spline.h"

#include <vector>

#include "calibration/CurveNodes.h"

namespace vyn {

namespace {

constexpr double kDerivativeFloor = 1e-30;

// y'(t) = alpha*t^2 + beta*t + gamma on the segment between nodes j and j+1.
struct SegmentSlope {
    double alpha, beta, gamma;
    SegmentSlope(const double X[], const double Y[], const double y2[], int j)
    {
        const double h = X[j + 1] - X[j];
        alpha = (y2[j + 1] - y2[j]) / (2.0 * h);
        beta = (X[j + 1] * y2[j] - X[j] * y2[j + 1]) / h;
        gamma = (Y[j + 1] - Y[j]) / h + (y2[j] - y2[j + 1]) * h / 6.0 +
                (y2[j + 1] * X[j] * X[j] - y2[j] * X[j + 1] * X[j + 1]) / (2.0 * h);
    }
    double At(double t) const { return alpha * t * t + beta * t + gamma; }
};

}  // namespace

void SplineSecondDerivs(const double X[], const double Y[], int m, double slope0, double slope1,
                        double y2[])
{
    if (m < 2) {
        for (int i = 0; i < m; ++i) y2[i] = 0.0;
        return;
    }
    std::vector<double> u(static_cast<std::size_t>(m));
    if (slope0 > kSplineNaturalEnd) {
        y2[0] = u[0] = 0.0;
    } else {
        y2[0] = -0.5;
        u[0] = (3.0 / (X[1] - X[0])) * ((Y[1] - Y[0]) / (X[1] - X[0]) - slope0);
    }
    for (int i = 1; i <= m - 2; ++i) {
        double sig = (X[i] - X[i - 1]) / (X[i + 1] - X[i - 1]);
        double p = sig * y2[i - 1] + 2.0;
        y2[i] = (sig - 1.0) / p;
        u[i] = (6.0 * ((Y[i + 1] - Y[i]) / (X[i + 1] - X[i]) - (Y[i] - Y[i - 1]) / (X[i] - X[i - 1])) /
                    (X[i + 1] - X[i - 1]) -
                sig * u[i - 1]) /
               p;
    }
    double q, v;
    if (slope1 > kSplineNaturalEnd) {
        q = v = 0.0;
    } else {
        q = 0.5;
        v = (3.0 / (X[m - 1] - X[m - 2])) * (slope1 - (Y[m - 1] - Y[m - 2]) / (X[m - 1] - X[m - 2]));
    }
    y2[m - 1] = (v - q * u[m - 2]) / (q * y2[m - 2] + 1.0);
    for (int k = m - 2; k >= 0; --k) y2[k] = y2[k] * y2[k + 1] + u[k];
}

double SplineSegmentValue(double xLo, double xHi, double yLo, double yHi, double y2Lo, double y2Hi,
                          double t)
{
    const double h = xHi - xLo;
    const double A = (xHi - t) / h, B = (t - xLo) / h;
    return A * yLo + B * yHi + ((A * A * A - A) * y2Lo + (B * B * B - B) * y2Hi) * (h * h) / 6.0;
}

double SplineValue(const double X[], const double Y[], const double y2[], int m, double t)
{
    int lo = 0, hi = m - 1;
    BracketNode(X, lo, hi, t);
    return SplineSegmentValue(X[lo], X[hi], Y[lo], Y[hi], y2[lo], y2[hi], t);
}

double SplineSegmentSlope(const double X[], const double Y[], const double y2[], int j, double t)
{
    return SegmentSlope(X, Y, y2, j).At(t);
}

bool SplineMonotoneRange(double& lo, double& hi, const double X[], const double Y[],
                         const double y2[], int m, bool rising)
{
    double bestLo = 0.0, bestHi = 0.0, runStart = 0.0;
    bool open = false;
    for (int j = 0; j + 1 < m; ++j) {
        const double h = X[j + 1] - X[j];
        const SegmentSlope s(X, Y, y2, j);
        const double disc = s.beta * s.beta - 4.0 * s.alpha * s.gamma;
        for (int k = 0; k < 10; ++k) {
            const double a = X[j] + 0.1 * k * h;
            const double b = k == 9 ? X[j + 1] : X[j] + 0.1 * (k + 1) * h;
            const double y2a = y2[j] + (a - X[j]) / h * (y2[j + 1] - y2[j]);
            const double y2b = y2[j] + (b - X[j]) / h * (y2[j + 1] - y2[j]);
            const double da = s.At(a), db = s.At(b);
            // A derivative that dips through zero inside the step shows as an inflection crossed
            // in the wrong direction while its quadratic has real roots.
            bool bad = rising ? (da <= kDerivativeFloor || db <= kDerivativeFloor ||
                                 (y2a < 0.0 && 0.0 < y2b && disc > 0.0))
                              : (da >= -kDerivativeFloor || db >= -kDerivativeFloor ||
                                 (y2a > 0.0 && 0.0 > y2b && disc > 0.0));
            if (bad) {
                open = false;
                continue;
            }
            if (!open) {
                open = true;
                runStart = a;
            }
            if (bestHi - bestLo <= b - runStart) {
                bestLo = runStart;
                bestHi = b;
            }
        }
    }
    lo = bestLo;
    hi = bestHi;
    return hi != lo;
}

}  // namespace vyn
