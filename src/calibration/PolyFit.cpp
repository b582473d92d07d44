#include "calibration/PolyFit.h"

#include <cmath>

#include "calibration/CalNumeric.h"

namespace vyn {

double PolyValue(int d, const double c[], double t)
{
    double v = c[d];
    for (int k = d - 1; k >= 0; --k) v = v * t + c[k];
    return v;
}

int OrthoPolyFit(int d, double c[], const double x[], const double y[], int n)
{
    if (d < 0 || d > 4 || n <= 0) throw QNumericFault();
    // Row k holds the coefficients of p_k; p_k has degree k.
    double p[5][5] = {};
    double norm[5] = {};  // sum of p_k(t_i)^2
    p[0][0] = 1.0;
    norm[0] = n;
    if (d >= 1) {
        double st = 0.0;
        for (int i = 0; i < n; ++i) st += x[i];
        p[1][0] = -st / n;
        p[1][1] = 1.0;
    }
    auto sumSq = [&](int k) {
        double s = 0.0;
        for (int i = 0; i < n; ++i) {
            double v = PolyValue(k, p[k], x[i]);
            s += v * v;
        }
        return s;
    };
    if (d >= 1) norm[1] = sumSq(1);
    for (int k = 2; k <= d; ++k) {
        double s = norm[k - 1];
        double sPrev = norm[k - 2];
        double u = 0.0;
        for (int i = 0; i < n; ++i) {
            double v = PolyValue(k - 1, p[k - 1], x[i]);
            u += v * x[i] * v;
        }
        if (s == 0.0 || sPrev == 0.0) throw QNumericFault();
        // p_k = t*p_{k-1} - (s/s')*p_{k-2} - (u/s)*p_{k-1}, the p_{k-2} term first.
        for (int j = 1; j <= k; ++j) p[k][j] = p[k - 1][j - 1];
        for (int j = 0; j <= k - 2; ++j) p[k][j] -= (s / sPrev) * p[k - 2][j];
        for (int j = 0; j <= k - 1; ++j) p[k][j] -= (u / s) * p[k - 1][j];
        norm[k] = sumSq(k);
    }
    for (int j = 0; j <= d; ++j) c[j] = 0.0;
    for (int k = 0; k <= d; ++k) {
        if (norm[k] == 0.0) throw QNumericFault();
        double py = 0.0;
        for (int i = 0; i < n; ++i) py += PolyValue(k, p[k], x[i]) * y[i];
        double a = py / norm[k];
        for (int j = 0; j <= k; ++j) c[j] += a * p[k][j];
    }
    for (int j = 0; j <= d; ++j)
        if (!std::isfinite(c[j])) throw QNumericFault();
    return d;
}

}  // namespace vyn
