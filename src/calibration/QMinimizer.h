#pragma once
#include <functional>

namespace vyn {

// The objective: a function of the n parameters p[0..n-1].
using MinObjective = std::function<double(int n, const double* p)>;
// Its gradient: writes the n partial derivatives into g; f is the objective's value at p.
using MinGradient = std::function<void(int n, const double* p, double f, double* g)>;

// A small unconstrained minimiser of a smooth function of at most four parameters: quasi-Newton
// (BFGS update of an inverse-Hessian approximation), every direction followed by an exact line
// minimisation (downhill bracketing, then Brent's method). Each object has its own workspace, so
// separate minimisations never share state; one object runs one minimisation at a time.
class QMinimizer {
public:
    static constexpr int kMaxParams = 4;

    // Replaces p by the minimum found. Without a gradient, forward differences are used; an ftol
    // that is not above 0 means 1e-6. Returns the number of iterations when the run converged
    // (0 when the first line minimisation already met the test), or the negated number when the
    // iteration budget ran out first, p then holding the last point.
    // Throws std::invalid_argument for n outside 1-4.
    int Minimize(int n, double* p, MinObjective objective, MinGradient gradient = {},
                 double ftol = 0.0);

    // The last run's result, as Minimize returned it.
    int Iterations() const { return iterations_; }
    // Objective evaluations of the last run.
    long Evaluations() const { return evaluations_; }

    // The building blocks, over the objective of the running (or last) minimisation.
    void ForwardGradient(int n, double* p, double f, double* g);
    // p + t*xi, evaluated, p restored by subtraction.
    double LineValue(int n, double* p, const double* xi, double t);
    void LineMinimize(int n, double* p, double* xi, double& f);
    void BracketMinimum(int n, double* p, const double* xi, double& ax, double& bx, double& cx,
                        double& fa, double& fb, double& fc);
    double BrentMinimize(int n, double* p, const double* xi, double ax, double bx, double cx,
                         double tol, double& xmin);

    // Sets the objective the building blocks evaluate, without running a minimisation.
    void SetObjective(MinObjective objective) { objective_ = std::move(objective); }

private:
    void MinimizeBfgs(int n, double* p, double ftol);
    double Objective(int n, const double* p);
    void Gradient(int n, double* p, double f, double* g);

    MinObjective objective_;
    MinGradient gradient_;
    int iterations_ = 0;
    long evaluations_ = 0;

    // Work vectors and the inverse-Hessian approximation, sized for four parameters.
    struct Workspace {
        double g[kMaxParams];
        double xi[kMaxParams];
        double dg[kMaxParams];
        double hdg[kMaxParams];
        double hg[kMaxParams];
        double H[kMaxParams][kMaxParams];
    } ws_{};
};

}  // namespace vyn
