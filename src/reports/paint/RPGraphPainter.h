#pragma once
// Paints a graph instance of a report run: the plate's calibration curve with grid, axes and
// tick labels and the points of one sample (or the standards), or, on a run without a plate,
// a fixed placeholder picture; a boxed message in place of a graph that cannot be drawn.
#include <string>
#include <vector>

namespace vyn {

class TDC;
class RPReport;
class RPObjInstGraph;
struct RPAxisSpec;
class QCalibr;

// One run-time axis range with its ticks.
struct RPGraphTicks {
    bool log = false;
    bool placeholder = false;  // automatic on a run without a plate: "XX%d" / "YY%d" labels
    double min = 0.0, max = 1.0, step = 1.0;
    int subticks = 0;
    int count = 0;             // major ticks 0..count (log: decades e0..e1, count = e1 - e0)
    int e0 = 0, e1 = 0;
};

// The range of one axis: fixed settings as stored, otherwise nice limits around
// dataLo..dataHi. Throws std::domain_error for a log range that is not positive.
RPGraphTicks GraphAxisTicks(const RPAxisSpec& spec, double dataLo, double dataHi, bool placeholder);

// The data range of the automatic axes over a calibration: x over the curve's range and the
// points, y over the curve sampled at 41 places and the points.
// xPos and yPos, when given: the smallest positive value of each (NoValue when there is none).
void CalibrationDataRange(const QCalibr& cal, double& xLo, double& xHi, double& yLo, double& yHi,
                          double* xPos = nullptr, double* yPos = nullptr);

void PaintGraphInstance(TDC& dc, RPReport& report, RPObjInstGraph& inst);

}  // namespace vyn
