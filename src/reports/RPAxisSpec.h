#pragma once
// The axis settings of a report graph: kind 0 automatic, 1 fixed, -1 undetermined;
// scale 0 linear, 1 logarithmic; subticks; low, high and increment (NoValue when not given).
#include "evaluator/NoValue.h"

namespace vyn {

// The most subticks between two ticks of a linear axis.
inline constexpr int kMaxSubticks = 64;

struct RPAxisSpec {
    int kind = -1;
    int scale = 0;
    int subticks = 1;
    double low = NoValue;
    double high = NoValue;
    double increment = NoValue;

    void Set(int kind_, int scale_, int subticks_, double low_, double high_, double increment_);
    void Assign(const RPAxisSpec& o) { *this = o; }
    // An undetermined kind is never equal to anything; automatic axes ignore the values.
    bool operator==(const RPAxisSpec& o) const;
    // 0 when the range is usable; only a fixed range can be unusable.
    int RangeError() const;
};

const RPAxisSpec& DefaultAxisSpec();

}  // namespace vyn
