#pragma once
// How expression texts compare: through the collation of the process locale (LC_COLLATE), so
// that texts sort the way the user's language sorts them. Under the "C" locale it is the byte
// order.
#include <string_view>

namespace vyn {

// Negative, zero or positive as a sorts before, equal to or after b.
int CollateText(std::string_view a, std::string_view b);

}  // namespace vyn
