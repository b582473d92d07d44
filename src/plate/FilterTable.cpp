#include "plate/FilterTable.h"

#include <algorithm>

namespace vyn {

QFilterTable& QFilterTable::Instance()
{
    static QFilterTable table;
    return table;
}

int QFilterTable::GetFilter(int index) const
{
    if (index < 0 || index >= GetFilterCount()) return 0;
    return fFilters[static_cast<std::size_t>(index)];
}

void QFilterTable::SetFilters(const std::vector<int>& wavelengths)
{
    const std::size_t n = std::min<std::size_t>(wavelengths.size(), kMaxFilters);
    fFilters.assign(wavelengths.begin(), wavelengths.begin() + static_cast<std::ptrdiff_t>(n));
}

}  // namespace vyn
