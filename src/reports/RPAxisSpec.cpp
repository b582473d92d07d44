#include "reports/RPAxisSpec.h"

#include <cmath>

namespace vyn {

void RPAxisSpec::Set(int kind_, int scale_, int subticks_, double low_, double high_, double increment_)
{
    kind = (kind_ == 0 || kind_ == 1) ? kind_ : -1;
    scale = (scale_ == 0 || scale_ == 1) ? scale_ : 0;
    subticks = subticks_;
    low = low_;
    high = high_;
    increment = increment_;
}

bool RPAxisSpec::operator==(const RPAxisSpec& o) const
{
    if (kind < 0 || kind > 2 || kind != o.kind || scale != o.scale) return false;
    if (kind == 0) return true;
    return subticks == o.subticks && low == o.low && high == o.high && increment == o.increment;
}

int RPAxisSpec::RangeError() const
{
    if (kind != 1) return 0;
    if (scale == 1) return (low == NoValue || high == NoValue || !(low < high)) ? 1 : 0;
    if (subticks < 0 || subticks > kMaxSubticks) return 1;
    if (low == NoValue || high == NoValue || increment == NoValue) return 1;
    // An increment that never reaches the high limit would draw ticks without end.
    if (!std::isfinite(low) || !std::isfinite(high) || !std::isfinite(increment) || !(increment > 0)) return 1;
    return low < high ? 0 : 1;
}

const RPAxisSpec& DefaultAxisSpec()
{
    static const RPAxisSpec spec;
    return spec;
}

}  // namespace vyn
