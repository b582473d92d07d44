#pragma once
#include "evaluator/NoValue.h"

namespace vyn {

class QSample;

// One well of a plate: its values and the sample whose well list holds it.
struct QWellRecord {
    double measured = NoValue;
    double data = NoValue;       // after blanking and transformation
    QSample* sample = nullptr;   // not owned; null when the well belongs to no sample
    int position = 0;            // index of the well's entry in that sample's well list
};

}  // namespace vyn
