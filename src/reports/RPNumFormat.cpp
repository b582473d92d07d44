#include "reports/RPNumFormat.h"

#include <algorithm>

namespace vyn {

void RPNumFormat::Set(int kind_, int decimals_, int digits_)
{
    kind = (kind_ >= 0 && kind_ <= 2) ? kind_ : -1;
    decimals = std::clamp(decimals_, 0, 15);
    digits = std::clamp(digits_, 0, 15);
}

bool RPNumFormat::operator==(const RPNumFormat& o) const
{
    if (kind < 0 || kind > 2 || o.kind < 0 || o.kind > 2) return false;
    if (kind != o.kind || digits != o.digits) return false;
    return kind == 0 || decimals == o.decimals;
}

const RPNumFormat& DefaultNumFormat()
{
    static const RPNumFormat format;
    return format;
}

}  // namespace vyn
