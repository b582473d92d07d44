#pragma once

namespace vyn {

// End slopes above this make that end natural (second derivative 0).
inline constexpr double kSplineNaturalEnd = 9.9e29;

// Second derivatives y2[0..m-1] of the cubic spline through the m nodes with the given end slopes.
void SplineSecondDerivs(const double X[], const double Y[], int m, double slope0, double slope1,
                        double y2[]);

// Value of the segment between (X_lo, Y_lo) and (X_hi, Y_hi) at t.
double SplineSegmentValue(double xLo, double xHi, double yLo, double yHi, double y2Lo, double y2Hi,
                          double t);

// The spline's value at t, the node interval found by bisection over all nodes.
double SplineValue(const double X[], const double Y[], const double y2[], int m, double t);

// Derivative of the segment between nodes j and j+1 at t.
double SplineSegmentSlope(const double X[], const double Y[], const double y2[], int j, double t);

// The widest stretch over which the spline's derivative keeps the trend's sign, found by sampling
// every node interval in ten steps. True when it is not empty.
bool SplineMonotoneRange(double& lo, double& hi, const double X[], const double Y[],
                         const double y2[], int m, bool rising);

}  // namespace vyn
