#pragma once
// String-table ids of the report painters.
namespace vyn {

enum : int {
    kStrNoStandards = 1634,    // "Standard sample missing."
    kStrNotCalculated = 1635,  // "Not calculated."
    kStrGraphTooSmall = 7920,  // "***"
    kStrGraphFailed = 7921,    // "(ERROR)"
};

}  // namespace vyn
