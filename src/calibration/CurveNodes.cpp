#include "calibration/CurveNodes.h"

namespace vyn {

void ReplicateMeans(const std::vector<double>& x, const std::vector<double>& y, int n,
                    std::vector<double>& nodeX, std::vector<double>& nodeY)
{
    nodeX.clear();
    nodeY.clear();
    for (int i = 0; i < n;) {
        int j = i;
        double sum = 0.0;
        while (j < n && x[j] == x[i]) sum += y[j++];
        nodeX.push_back(x[i]);
        nodeY.push_back(sum / (j - i));
        i = j;
    }
}

void BracketNode(const double X[], int& lo, int& hi, double t)
{
    while (hi - lo > 1) {
        int k = (lo + hi) / 2;
        if (X[k] <= t)
            lo = k;
        else
            hi = k;
    }
}

}  // namespace vyn
