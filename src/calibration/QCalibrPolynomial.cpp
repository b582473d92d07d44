// The models "Linear", "Parabole" and "Cubic Parabole": a least-squares polynomial, reduced to
// the terms that matter, and the part of it that is monotone in the calibration's direction.
#include <algorithm>
#include <cmath>

#include "calibration/CalNumeric.h"
#include "calibration/PolyFit.h"
#include "calibration/QCalibr.h"
#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {
constexpr double kSignificance = 1e-6;
constexpr double kNoVariation = 1e-30;
constexpr double kFixedRangeFactor = 1.2;
}  // namespace

void QCalibr::FitPolynomial(std::vector<double>& x, std::vector<double>& y, int n, int distinct)
{
    const int requested = model + 1;
    const bool fixedLine = model == cmLinear && fixedK != 0;
    const int needed = fixedLine ? requested : requested + 1;
    if (distinct < needed) {
        Fail(1630);
        return;
    }
    if (logX)
        for (int i = 0; i < n; ++i) x[i] = std::log(x[i]);

    double st[7] = {};  // sums of t^k, k = 0..6
    double sy = 0.0, sty = 0.0;
    for (int i = 0; i < n; ++i) {
        double tk = 1.0;
        for (int k = 0; k <= 6; ++k) {
            st[k] += tk;
            tk *= x[i];
        }
        sy += y[i];
        sty += x[i] * y[i];
    }
    ResetWork(1, 15);
    message.clear();

    const bool rising = decreasing == 0;
    double K[4] = {};
    int d = requested;
    bool ok = false;
    double drawLo = 0, drawHi = 0, curLo = 0, curHi = 0;
    bool haveRanges = false;

    const double t0 = x[0], t1 = x[n - 1];
    if (fixedLine) {
        bool noTrend = false;
        if ((fixedK & 1) == 0) {
            if (K1 == NoValue) K1 = 1.0;
            K[1] = K1;
            K[0] = (sy - K[1] * st[1]) / n;
        } else {
            if (K0 == NoValue) K0 = 0.0;
            if (st[2] < kNoVariation) {
                Fail(1631);
                noTrend = true;
            } else {
                K[0] = K0;
                K[1] = (sty - K[0] * st[1]) / st[2];
            }
        }
        if (!noTrend) {
            drawLo = curLo = 0.0;
            drawHi = curHi = kFixedRangeFactor * t1;
            haveRanges = true;
            ok = rising ? K[1] > 0.0 : K[1] <= 0.0;
            if (!ok) Fail(1632);
        }
    } else {
        // The spread of the signals is taken about their mean: the shortcut sum(y^2) - sum(y)^2/n
        // leaves rounding noise for equal signals, which would pass as a trend.
        const double mean = sy / n;
        double ssy = 0.0;
        double ymin = y[0], ymax = y[0];
        for (int i = 0; i < n; ++i) {
            ssy += (y[i] - mean) * (y[i] - mean);
            ymin = std::min(ymin, y[i]);
            ymax = std::max(ymax, y[i]);
        }
        if (ssy < kNoVariation || ymin == ymax) {
            // No step 9: results stay empty and fitInts holds 0, so nothing is drawn.
            Fail(1631);
            return;
        }
        double w[4] = {};
        for (int k = 1; k <= 3; ++k) w[k] = n * st[2 * k] - st[k] * st[k];

        double c[5] = {};
        double total = 0.0;
        for (;;) {
            for (double& v : c) v = 0.0;
            OrthoPolyFit(d, c, x.data(), y.data(), n);
            total = 0.0;
            for (int k = 1; k <= d; ++k) total += c[k] * c[k] * w[k];
            double last = c[d] * c[d] * w[d];
            if (kSignificance * total <= last || d == 1) break;
            --d;
        }
        if (d >= 2)
            for (int k = 1; k < d; ++k)
                if (c[k] * c[k] * w[k] < kSignificance * total) c[k] = 0.0;
        for (int k = 0; k <= 3; ++k) K[k] = k <= d ? c[k] : 0.0;

        const double a = 0.1 * (t1 - t0), b = 0.01 * (t1 - t0);
        double lo = t0 - a, hi = t1 + a;
        if (!logX && lo < 0.0) lo = 0.0;
        if (d == 1) {
            ok = !(std::fabs(K[1]) < kNoVariation) && (rising ? K[1] > 0.0 : K[1] <= 0.0);
        } else if (d == 2) {
            double v = -K[1] / (2.0 * K[2]);
            bool rightBranch = rising ? K[2] >= 0.0 : K[2] < 0.0;
            if (rightBranch)
                lo = std::max(lo, v + b);
            else
                hi = std::min(hi, v - b);
            ok = hi - lo >= 6.0 * a;
        } else {
            double D = K[2] * K[2] - 3.0 * K[3] * K[1];
            double m = -K[2] / (3.0 * K[3]);
            bool signFits = rising ? K[3] > 0.0 : K[3] <= 0.0;
            if (std::fabs(D) < kNoVariation) {
                ok = signFits;
                if (ok) {
                    if ((t0 + t1) / 2.0 < m)
                        hi = std::min(hi, m - b);
                    else
                        lo = std::max(lo, m + b);
                }
            } else if (D <= -kNoVariation) {
                ok = signFits;
            } else {
                double r = std::fabs(std::sqrt(D) / (3.0 * K[3]));
                if (!signFits) {
                    double e1 = std::max(m - r + b, lo), e2 = std::min(m + r - b, hi);
                    ok = !(e2 - e1 <= 5.5 * a);
                    if (ok) {
                        lo = std::max(lo, e1);
                        hi = std::min(hi, e2);
                    }
                } else {
                    double p = std::min(m - r - b, t1), q = std::max(m + r + b, t0);
                    double leftLen = p - t0, rightLen = t1 - q;
                    bool right = rightLen >= leftLen;
                    ok = !(std::max(leftLen, rightLen) <= 5.5 * a);
                    if (ok) {
                        if (right)
                            lo = std::max(lo, m + r + b);
                        else
                            hi = std::min(hi, m - r - b);
                    }
                }
            }
        }
        if (ok) {
            drawLo = lo;
            drawHi = hi;
            curLo = std::max(lo, t0);
            curHi = std::min(hi, t1);
        } else {
            Fail(1632);
            drawLo = curLo = t0 - a;
            drawHi = curHi = t1 + a;
        }
        haveRanges = true;
    }

    if (haveRanges) {
        if (!ok) {
            curLo = drawLo;
            curHi = drawHi;
        }
        results[crDrawLo] = Conc(drawLo);
        results[crDrawHi] = Conc(drawHi);
        results[crFullLo] = Conc(ok ? drawLo : curLo);
        results[crFullHi] = Conc(ok ? drawHi : curHi);
        results[crRangeLo] = Conc(curLo);
        results[crRangeHi] = Conc(curHi);
    }
    if (ok)
        state = csValid;
    else
        for (int k = crFullLo; k <= crSignalHi; ++k) results[k] = NoValue;
    fitInts[0] = d;
    for (int k = 0; k <= 3; ++k) results[crParams + k] = K[k];
    for (int k = 1; k <= 3; ++k) results[crParams + 3 + k] = k * K[k];
    if (ok) message = ParameterLines();
    SetRange(results[crRangeLo], results[crRangeHi]);
}

int QCalibr::PolyXFromY(double& y) const
{
    const int d = fitInts[0];
    const double* K = &results[crParams];
    double t;
    if (d == 1) {
        t = (y - K[0]) / K[1];
    } else {
        double lo = T(results[crRangeLo]), hi = T(results[crRangeHi]);
        const bool rising = decreasing == 0;
        double mid = lo, prev = 0.0;
        for (int i = 0; i < 16; ++i) {
            mid = (lo + hi) / 2.0;
            double f = PolyValue(d, K, mid);
            if (i > 0 && f == prev) break;
            prev = f;
            if ((f < y) == rising)
                lo = mid;
            else
                hi = mid;
        }
        t = mid;
    }
    y = Conc(t);
    return 0;
}

double QCalibr::PolySlope(double x) const
{
    const int d = fitInts[0];
    const double factor = logX ? 1.0 / x : 1.0;
    return PolyValue(d - 1, &results[crParams + 4], T(x)) * factor;
}

double QCalibr::PolyCurveY(double x) const
{
    return PolyValue(fitInts[0], &results[crParams], T(x));
}

}  // namespace vyn
