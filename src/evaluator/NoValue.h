#pragma once
#include <limits>

namespace vyn {

// The marker of a missing value or result: a reader's invalid well, a fit that has nothing
// to say, an evaluation that yields nothing. Formatters print nothing for it.
inline constexpr double NoValue = std::numeric_limits<double>::infinity();

inline bool IsNoValue(double v) { return v == NoValue; }

}  // namespace vyn
