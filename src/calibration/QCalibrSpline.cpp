// The model "Spline": a cubic spline through the replicate means whose end slopes are the slope
// of the regression line through them, usable where its derivative keeps the trend's sign.
#include <algorithm>
#include <cmath>
#include <vector>

#include "calibration/CurveNodes.h"
#include "calibration/PolyFit.h"
#include "calibration/QCalibr.h"
#include "calibration/Spline.h"
#include "evaluator/NoValue.h"

namespace vyn {

void QCalibr::FitSpline(std::vector<double>& x, std::vector<double>& y, int n, int distinct)
{
    if (distinct < 3) {
        Fail(1630);
        return;
    }
    if (logX)
        for (int i = 0; i < n; ++i) x[i] = std::log(x[i]);

    std::vector<double> X, Y;
    ReplicateMeans(x, y, n, X, Y);
    // Concentrations that the logarithm cannot tell apart merge into one node.
    const int m = static_cast<int>(X.size());
    if (m < 3) {
        Fail(1630);
        return;
    }
    ResetWork(4, 3 * m + 8);
    fitInts[0] = m;
    results[crDrawLo] = X[0];
    results[crDrawHi] = X[m - 1];
    for (int k = crFullLo; k <= crRangeHi; ++k) results[k] = 0.0;

    double c[2] = {};
    OrthoPolyFit(1, c, X.data(), Y.data(), m);
    std::vector<double> y2(static_cast<std::size_t>(m));
    SplineSecondDerivs(X.data(), Y.data(), m, c[1], c[1], y2.data());
    for (int j = 0; j < m; ++j) {
        results[crParams + j] = X[j];
        results[crParams + m + j] = Y[j];
        results[crParams + 2 * m + j] = y2[j];
    }

    double lo = 0.0, hi = 0.0;
    const bool found =
        SplineMonotoneRange(lo, hi, X.data(), Y.data(), y2.data(), m, decreasing == 0);
    results[crFullLo] = results[crRangeLo] = lo;
    results[crFullHi] = results[crRangeHi] = hi;
    state = found ? csValid : csFailed;
    if (found) {
        int s = 0;
        for (int j = 0; j <= m - 2 && X[j] <= lo; ++j) s = j;
        int e = m - 1;
        for (int j = m - 1; j >= 1 && X[j] >= hi; --j) e = j;
        fitInts[1] = s;
        fitInts[2] = e;
    }
    if (logX)
        for (int k = crDrawLo; k <= crRangeHi; ++k) results[k] = std::exp(results[k]);
    if (found) {
        message.clear();
        SetRange(results[crRangeLo], results[crRangeHi]);
    } else {
        // The curve is still drawn; the message says why it cannot be used.
        Fail(1632);
    }
}

int QCalibr::SplineXFromY(double& y) const
{
    const int m = fitInts[0], s = fitInts[1], e = fitInts[2];
    const double* X = &results[crParams];
    const double* Y = &results[crParams + m];
    const double* y2 = &results[crParams + 2 * m];
    const bool rising = decreasing == 0;
    int lo = s, hi = e;
    while (hi - lo > 1) {
        int k = (lo + hi) / 2;
        if (rising ? y < Y[k] : Y[k] < y)
            hi = k;
        else
            lo = k;
    }
    double left = std::max(X[lo], T(results[crRangeLo]));
    double right = std::min(X[hi], T(results[crRangeHi]));
    double mid = left, prev = 0.0;
    for (int i = 0; i < 16; ++i) {
        mid = (left + right) / 2.0;
        double f = SplineSegmentValue(X[lo], X[hi], Y[lo], Y[hi], y2[lo], y2[hi], mid);
        if (i > 0 && f == prev) break;
        prev = f;
        if ((y < f) == rising)
            right = mid;
        else
            left = mid;
    }
    y = Conc(mid);
    return 0;
}

double QCalibr::SplineSlope(double x) const
{
    const int m = fitInts[0];
    const double* X = &results[crParams];
    const double* Y = &results[crParams + m];
    const double* y2 = &results[crParams + 2 * m];
    const double factor = logX ? 1.0 / x : 1.0;
    const double t = T(x);
    int lo = fitInts[1], hi = fitInts[2];
    BracketNode(X, lo, hi, t);
    return SplineSegmentSlope(X, Y, y2, lo, t) * factor;
}

double QCalibr::SplineCurveY(double x) const
{
    const int m = fitInts[0];
    return SplineValue(&results[crParams], &results[crParams + m], &results[crParams + 2 * m], m,
                       T(x));
}

}  // namespace vyn
