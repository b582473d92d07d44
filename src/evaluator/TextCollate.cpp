#include "evaluator/TextCollate.h"

#include <cstring>
#include <string>

namespace vyn {

int CollateText(std::string_view a, std::string_view b)
{
    // strcoll needs terminated texts; a zero byte inside a text ends it, as it always has.
    std::string sa(a), sb(b);
    return std::strcoll(sa.c_str(), sb.c_str());
}

}  // namespace vyn
