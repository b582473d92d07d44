#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "reports/RPObject.h"

namespace vyn {

// The block of objects the designer puts on the clipboard: a 32-bit count, then the objects'
// records as RPObject::Write makes them, each led by its own length word.

// The objects of a block, each kept inside the report area. Records are walked by their own
// length words; a short or unreadable record ends the walk there, keeping what was read
// before it.
std::vector<std::unique_ptr<RPObject>> ReadObjectBlock(const std::vector<std::uint8_t>& block);

// An object inside the report area: sizes 0..kMaxTwips, and the far edges at most kMaxTwips.
void KeepInsideReport(RPObject& o);

}  // namespace vyn
