#pragma once
// The nodes that the interpolating models (point to point, spline) draw their curves through.
#include <vector>

namespace vyn {

// One node per distinct x among the first n points (x ascending): that x and the mean of its
// replicates' y.
void ReplicateMeans(const std::vector<double>& x, const std::vector<double>& y, int n,
                    std::vector<double>& nodeX, std::vector<double>& nodeY);

// Narrows lo < hi, bisecting over the ascending X, to neighbours with X[lo] <= t < X[hi]; a t
// outside X[lo]..X[hi] ends in the first or last pair.
void BracketNode(const double X[], int& lo, int& hi, double t);

}  // namespace vyn
