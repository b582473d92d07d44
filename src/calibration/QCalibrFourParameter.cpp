// The model "4 Parameter": the logistic curve y = (A-D)/(1+(x/C)^B)+D, fitted by least squares
// over the transformed parameters A, ln B, -B ln C, D, which keep B positive.
#include <algorithm>
#include <cfenv>
#include <cmath>

#include "calibration/CalNumeric.h"
#include "calibration/FourParameter.h"
#include "calibration/QCalibr.h"
#include "calibration/QMinimizer.h"
#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"

namespace vyn {

void FourParameterStart(const double x[], const double y[], int n, bool decreasing, double& A,
                        double& B, double& C, double& D)
{
    double ymin = y[0], ymax = y[0];
    for (int i = 1; i < n; ++i) {
        ymin = std::min(ymin, y[i]);
        ymax = std::max(ymax, y[i]);
    }
    A = decreasing ? ymax : ymin;
    D = decreasing ? ymin : ymax;
    B = 1.0;
    C = 1.0;
    int i = 0;
    while (i < n && x[i] == 0.0) ++i;
    double steepest = 0.0, prevMean = 0.0, prevLog = 0.0;
    bool first = true;
    while (i < n) {
        int j = i;
        double sum = 0.0;
        while (j < n && x[j] == x[i]) sum += y[j++];
        const double mean = sum / (j - i);
        const double lx = std::log(x[i]);
        if (!first) {
            double slope = std::fabs((mean - prevMean) / (lx - prevLog));
            if (slope > steepest) {
                steepest = slope;
                C = std::exp((lx + prevLog) / 2.0);
            }
        }
        first = false;
        prevMean = mean;
        prevLog = lx;
        i = j;
    }
}

double FourParameterObjective(const FourParamData& data, const double p[4])
{
    std::fexcept_t saved;
    std::fegetexceptflag(&saved, FE_ALL_EXCEPT);
    std::feclearexcept(CalFaultFlags());
    const double scale = std::exp(p[2]);
    const double power = std::exp(p[1]);
    double sum = 0.0;
    for (int i = 0; i < data.count; ++i) {
        double r = (p[0] - p[3]) / (1.0 + scale * std::pow(data.x[i], power)) + p[3] - data.y[i];
        sum += r * r;
    }
    const bool fault = std::fetestexcept(CalFaultFlags()) != 0 || !std::isfinite(sum);
    std::fesetexceptflag(&saved, FE_ALL_EXCEPT);
    return fault ? NoValue : sum;
}

void QCalibr::FitFourParameter(std::vector<double>& x, std::vector<double>& y, int n, int distinct)
{
    if (distinct < 4) {
        Fail(1630);
        return;
    }
    ResetWork(0, 12);
    double A, B, C, D;
    FourParameterStart(x.data(), y.data(), n, decreasing != 0, A, B, C, D);
    const double first = x[0], last = x[n - 1];
    if (A == D) {
        results[crDrawLo] = first;
        results[crDrawHi] = last;
        Fail(1632);
        return;
    }

    FourParamData data{x.data(), y.data(), n};
    double p[4] = {A, std::log(B), B * std::log(1.0 / C), D};
    QMinimizer minimizer;
    const int iterations = minimizer.Minimize(
        4, p, [&data](int, const double* q) { return FourParameterObjective(data, q); }, {}, 1e-6);

    B = std::exp(p[1]);
    C = std::exp(-p[2] / B);
    A = p[0];
    D = p[3];
    if (!std::isfinite(A) || !std::isfinite(B) || !std::isfinite(C) || !std::isfinite(D))
        throw QNumericFault();
    results[crParams + 0] = A;
    results[crParams + 1] = B;
    results[crParams + 2] = C;
    results[crParams + 3] = D;
    results[crDrawLo] = results[crFullLo] = results[crRangeLo] = first;
    results[crDrawHi] = results[crFullHi] = results[crRangeHi] = last;

    // A minimisation that ran out of iterations has not found the curve: it is not offered as one.
    const bool conflicts = decreasing ? A <= D : A >= D;
    if (iterations < 0 || conflicts) {
        for (int k = crFullLo; k <= crSignalHi; ++k) results[k] = NoValue;
        Fail(iterations < 0 ? 1633 : 1632);
        return;
    }

    double lo, hi;
    if (first == 0.0) {
        lo = 0.0;
        hi = 1.1 * last;
    } else {
        const double l = std::log(first), h = std::log(last);
        lo = std::exp(l - 0.1 * (h - l));
        hi = std::exp(h + 0.1 * (h - l));
    }
    results[crDrawLo] = results[crFullLo] = lo;
    results[crDrawHi] = results[crFullHi] = hi;
    results[crSignalLo] = CurveYFourParameter(results[crRangeLo]);
    results[crSignalHi] = CurveYFourParameter(results[crRangeHi]);
    if (results[crSignalHi] < results[crSignalLo])
        std::swap(results[crSignalLo], results[crSignalHi]);
    message = ParameterLines();
    state = csValid;
}

int QCalibr::XFromYFourParameter(double& y) const
{
    const double A = results[crParams], B = results[crParams + 1], C = results[crParams + 2],
                 D = results[crParams + 3];
    y = C * std::exp(std::log((A - y) / (y - D)) / B);
    return 0;
}

double QCalibr::SlopeFourParameter(double x) const
{
    const double A = results[crParams], B = results[crParams + 1], C = results[crParams + 2],
                 D = results[crParams + 3];
    if (x == 0.0) {
        // The limit of the derivative at 0, where t/x is 0/0: flat for B > 1, -(A-D)/C for B = 1.
        if (B > 1.0) return 0.0;
        if (B == 1.0) return -(A - D) / C;
        return (A > D) ? -NoValue : NoValue;
    }
    const double t = std::pow(x / C, B);
    return -(A - D) / ((1.0 + t) * (1.0 + t)) * B * t / x;
}

double QCalibr::CurveYFourParameter(double x) const
{
    const double A = results[crParams], B = results[crParams + 1], C = results[crParams + 2],
                 D = results[crParams + 3];
    return (A - D) / (1.0 + std::pow(x / C, B)) + D;
}

}  // namespace vyn
