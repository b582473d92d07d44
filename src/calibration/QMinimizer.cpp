#include "calibration/QMinimizer.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <utility>

#include "calibration/CalNumeric.h"

namespace vyn {

namespace {
constexpr double kGold = 1.618034;
constexpr double kParabolicLimit = 100.0;
constexpr double kTiny = 1e-20;
constexpr double kGoldenSection = 0.381966;
constexpr double kAbsFloor = 1e-10;
constexpr int kBrentIterations = 100;
constexpr int kRestarts = 5;
}  // namespace

double QMinimizer::Objective(int n, const double* p)
{
    ++evaluations_;
    return objective_(n, p);
}

void QMinimizer::Gradient(int n, double* p, double f, double* g)
{
    if (gradient_)
        gradient_(n, p, f, g);
    else
        ForwardGradient(n, p, f, g);
}

int QMinimizer::Minimize(int n, double* p, MinObjective objective, MinGradient gradient,
                         double ftol)
{
    if (n < 1 || n > kMaxParams) throw std::invalid_argument("QMinimizer: 1 to 4 parameters");
    objective_ = std::move(objective);
    gradient_ = std::move(gradient);
    evaluations_ = 0;
    if (!(ftol > 0.0)) ftol = 1e-6;
    ws_ = Workspace{};
    MinimizeBfgs(n, p, ftol);
    return iterations_;
}

void QMinimizer::ForwardGradient(int n, double* p, double f, double* g)
{
    for (int i = 0; i < n; ++i) {
        const double h = 1e-5 * std::max(std::fabs(p[i]), 1.0);
        const double saved = p[i];
        p[i] += h;
        g[i] = (Objective(n, p) - f) / h;
        p[i] = saved;
    }
}

double QMinimizer::LineValue(int n, double* p, const double* xi, double t)
{
    for (int i = 0; i < n; ++i) p[i] += t * xi[i];
    const double v = Objective(n, p);
    for (int i = 0; i < n; ++i) p[i] -= t * xi[i];
    return v;
}

void QMinimizer::MinimizeBfgs(int n, double* p, double ftol)
{
    double* g = ws_.g;
    double* xi = ws_.xi;
    double* dg = ws_.dg;
    double* hdg = ws_.hdg;
    double* hg = ws_.hg;
    auto& H = ws_.H;

    double fp = Objective(n, p);
    Gradient(n, p, fp, g);
    iterations_ = 0;
    int restarts = 0;
    bool restartPending = true;
    bool converged = false;
    const int cycle = 20 * n * n;
    while (!converged && restarts < kRestarts) {
        if (restartPending) {
            restartPending = false;
            ++restarts;
            for (int i = 0; i < n; ++i) {
                for (int j = 0; j < n; ++j) H[i][j] = 0.0;
                H[i][i] = 1.0;
                xi[i] = -g[i];
                dg[i] = g[i];
            }
        }
        const double fold = fp;
        LineMinimize(n, p, xi, fp);
        Gradient(n, p, fp, g);
        for (int i = 0; i < n; ++i) dg[i] = g[i] - dg[i];
        if (std::fabs(fold - fp) <= 0.5 * ftol * (std::fabs(fp) + std::fabs(fold) + 1e-10)) {
            converged = true;
            break;
        }
        double fac = 0.0, fae = 0.0, sg = 0.0, ghdg = 0.0;
        for (int i = 0; i < n; ++i) {
            hdg[i] = hg[i] = 0.0;
            for (int j = 0; j < n; ++j) {
                hdg[i] += H[i][j] * dg[j];
                hg[i] += H[i][j] * g[j];
            }
        }
        for (int i = 0; i < n; ++i) {
            fac += dg[i] * xi[i];
            fae += dg[i] * hdg[i];
            sg += xi[i] * g[i];
            ghdg += g[i] * hdg[i];
        }
        // The update divides by y.s unconditionally; a zero there is a fault of the run.
        if (fac == 0.0 || !std::isfinite(fac)) throw QNumericFault();
        const double w = 1.0 + fae / fac;
        for (int i = 0; i < n; ++i)
            for (int j = i; j < n; ++j) {
                H[i][j] += w * xi[i] * xi[j] / fac - (xi[i] * hdg[j] + hdg[i] * xi[j]) / fac;
                H[j][i] = H[i][j];
            }
        for (int i = 0; i < n; ++i)
            xi[i] = -hg[i] - w * xi[i] * sg / fac + (xi[i] * ghdg + hdg[i] * sg) / fac;
        for (int i = 0; i < n; ++i) dg[i] = g[i];
        ++iterations_;
        if (iterations_ % cycle == 0) restartPending = true;
    }
    if (!converged) iterations_ = -iterations_;
}

void QMinimizer::LineMinimize(int n, double* p, double* xi, double& f)
{
    double ax = -1e-5, bx = 1.0, cx, fa, fb, fc;
    BracketMinimum(n, p, xi, ax, bx, cx, fa, fb, fc);
    double tmin = 0.0;
    f = BrentMinimize(n, p, xi, ax, bx, cx, 1e-5, tmin);
    for (int i = 0; i < n; ++i) {
        xi[i] *= tmin;
        p[i] += xi[i];
    }
}

void QMinimizer::BracketMinimum(int n, double* p, const double* xi, double& ax, double& bx,
                                double& cx, double& fa, double& fb, double& fc)
{
    fa = LineValue(n, p, xi, ax);
    fb = LineValue(n, p, xi, bx);
    if (fb > fa) {
        std::swap(ax, bx);
        std::swap(fa, fb);
    }
    cx = bx + kGold * (bx - ax);
    fc = LineValue(n, p, xi, cx);
    while (fb >= fc) {
        const double r = (bx - ax) * (fb - fc);
        const double q = (bx - cx) * (fb - fa);
        const double d = q - r;
        double den = 2.0 * std::max(std::fabs(d), kTiny);
        if (!(d > 0.0)) den = -den;
        double u = bx - ((bx - cx) * q - (bx - ax) * r) / den;
        const double ulim = bx + kParabolicLimit * (cx - bx);
        double fu;
        if ((bx - u) * (u - cx) > 0.0) {
            fu = LineValue(n, p, xi, u);
            if (fu < fc) {
                ax = bx;
                bx = u;
                fa = fb;
                fb = fu;
                return;
            }
            if (fu > fb) {
                cx = u;
                fc = fu;
                return;
            }
            u = cx + kGold * (cx - bx);
            fu = LineValue(n, p, xi, u);
        } else if ((cx - u) * (u - ulim) > 0.0) {
            fu = LineValue(n, p, xi, u);
            if (fu < fc) {
                bx = cx;
                cx = u;
                u = cx + kGold * (cx - bx);
                fb = fc;
                fc = fu;
                fu = LineValue(n, p, xi, u);
            }
        } else if ((u - ulim) * (ulim - cx) >= 0.0) {
            u = ulim;
            fu = LineValue(n, p, xi, u);
        } else {
            u = cx + kGold * (cx - bx);
            fu = LineValue(n, p, xi, u);
        }
        // A flat or broken line never brackets: stop rather than widen without end.
        if (!std::isfinite(u)) throw QNumericFault();
        ax = bx;
        bx = cx;
        cx = u;
        fa = fb;
        fb = fc;
        fc = fu;
    }
}

double QMinimizer::BrentMinimize(int n, double* p, const double* xi, double ax, double bx,
                                 double cx, double tol, double& xmin)
{
    double a = std::min(ax, cx), b = std::max(ax, cx);
    double x = bx, w = bx, v = bx;
    double fx = LineValue(n, p, xi, bx);
    double fw = fx, fv = fx;
    double e = 0.0, d = 0.0;
    for (int iter = 0; iter < kBrentIterations; ++iter) {
        const double xm = 0.5 * (a + b);
        const double tol1 = tol * std::fabs(x) + kAbsFloor;
        const double tol2 = 2.0 * tol1;
        if (std::fabs(x - xm) < tol2 - 0.5 * (b - a)) break;
        bool golden = true;
        if (std::fabs(e) > tol1) {
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double pp = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0) pp = -pp;
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            if (!(std::fabs(pp) >= std::fabs(0.5 * q * etemp) || pp <= q * (a - x) ||
                  pp >= q * (b - x))) {
                d = pp / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2) d = xm - x > 0.0 ? tol1 : -tol1;
                golden = false;
            }
        }
        if (golden) {
            e = x >= xm ? a - x : b - x;
            d = kGoldenSection * e;
        }
        const double u = std::fabs(d) >= tol1 ? x + d : (d > 0.0 ? x + tol1 : x - tol1);
        const double fu = LineValue(n, p, xi, u);
        if (fu <= fx) {
            if (u >= x)
                a = x;
            else
                b = x;
            v = w;
            w = x;
            x = u;
            fv = fw;
            fw = fx;
            fx = fu;
        } else {
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w;
                w = u;
                fv = fw;
                fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u;
                fv = fu;
            }
        }
    }
    xmin = x;
    return fx;
}


}  // namespace vyn
