#pragma once

namespace vyn {

// The points a four-parameter fit works on.
struct FourParamData {
    const double* x = nullptr;
    const double* y = nullptr;
    int count = 0;
};

// Start values of A, B, C, D for the curve y = (A-D)/(1+(x/C)^B)+D through the n points
// (ascending concentration): A and D the extreme signals in the trend's order, B 1, C the
// geometric midpoint of the steepest step between neighbouring concentrations on the log scale.
void FourParameterStart(const double x[], const double y[], int n, bool decreasing, double& A,
                        double& B, double& C, double& D);

// Sum of squared residuals at the transformed parameters p = {A, ln B, -B ln C, D}. A point where
// the arithmetic fails (an overflow, a power outside its domain) is infinitely bad: NoValue.
double FourParameterObjective(const FourParamData& data, const double p[4]);

}  // namespace vyn
