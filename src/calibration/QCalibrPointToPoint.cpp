// The model "Point To Point": the broken line through the replicate means, usable over the
// heaviest run of segments that follow the calibration's direction.
#include <cmath>
#include <utility>
#include <vector>

#include "calibration/CurveNodes.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"

namespace vyn {

void QCalibr::FitPointToPoint(std::vector<double>& x, std::vector<double>& y, int n, int distinct)
{
    ResetWork(3, 2 * distinct + 8);
    fitInts[0] = distinct;
    if (distinct < 2) {
        Fail(1630);
        return;
    }
    if (logX)
        for (int i = 0; i < n; ++i) x[i] = std::log(x[i]);

    std::vector<double> X, Y;
    ReplicateMeans(x, y, n, X, Y);
    // Concentrations that the logarithm cannot tell apart merge into one node.
    const int m = static_cast<int>(X.size());
    if (m != distinct) {
        ResetWork(3, 2 * m + 8);
        fitInts[0] = m;
        if (m < 2) {
            Fail(1630);
            return;
        }
    }
    for (int j = 0; j < m; ++j) {
        results[crParams + j] = X[j];
        results[crParams + m + j] = Y[j];
    }
    results[crDrawLo] = Conc(X[0]);
    results[crDrawHi] = Conc(X[m - 1]);

    const bool rising = decreasing == 0;
    double best = 0.0, runSum = 0.0;
    int bestS = 0, bestE = 0, runStart = -1;
    for (int j = 1; j < m; ++j) {
        double p = (Y[j] - Y[j - 1]) * (X[j] - X[j - 1]);
        if (rising ? p > 0.0 : p < 0.0) {
            if (runStart < 0) {
                runStart = j - 1;
                runSum = 0.0;
            }
            runSum += std::fabs(p);
            // Among runs of equal weight the later one wins.
            if (best <= runSum) {
                best = runSum;
                bestS = runStart;
                bestE = j;
            }
        } else {
            runStart = -1;
        }
    }
    fitInts[1] = bestS;
    fitInts[2] = bestE;
    if (bestS == bestE) {
        Fail(1632);
        return;
    }
    results[crFullLo] = results[crRangeLo] = Conc(X[bestS]);
    results[crFullHi] = results[crRangeHi] = Conc(X[bestE]);
    results[crSignalLo] = Y[bestS];
    results[crSignalHi] = Y[bestE];
    if (results[crSignalHi] < results[crSignalLo]) std::swap(results[crSignalLo], results[crSignalHi]);
    state = csValid;
    message.clear();
}

int QCalibr::P2PXFromY(double& y) const
{
    const int m = fitInts[0], s = fitInts[1], e = fitInts[2];
    const double* X = &results[crParams];
    const double* Y = &results[crParams + m];
    int lo, hi;
    if (decreasing == 0) {
        int j = s;
        while (!(Y[j + 1] >= y || j + 1 >= e)) ++j;
        lo = j;
        hi = j + 1;
    } else {
        int j = e;
        while (!(Y[j - 1] >= y || j - 1 <= s)) --j;
        lo = j - 1;
        hi = j;
    }
    y = Conc(X[lo] + (y - Y[lo]) * (X[hi] - X[lo]) / (Y[hi] - Y[lo]));
    return 0;
}

double QCalibr::P2PSlope(double x) const
{
    const int m = fitInts[0];
    const double* X = &results[crParams];
    const double* Y = &results[crParams + m];
    const double factor = logX ? 1.0 / x : 1.0;
    int lo = fitInts[1], hi = fitInts[2];
    BracketNode(X, lo, hi, T(x));
    return (Y[hi] - Y[lo]) / (X[hi] - X[lo]) * factor;
}

double QCalibr::P2PCurveY(double x) const
{
    const int m = fitInts[0];
    const double* X = &results[crParams];
    const double* Y = &results[crParams + m];
    const double t = T(x);
    int lo = 0, hi = m - 1;
    BracketNode(X, lo, hi, t);
    return (t * Y[hi] + X[hi] * Y[lo] - t * Y[lo] - X[lo] * Y[hi]) / (X[hi] - X[lo]);
}

}  // namespace vyn
