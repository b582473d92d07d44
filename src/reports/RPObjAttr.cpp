#include "reports/RPObjAttr.h"

namespace vyn {

namespace {

// The system colours a stored 0x80nnnnnn may name, by index; the classic defaults stand in
// for a desktop that has none.
constexpr int kSysColours[] = {
    0xC8D0D4, 0xA56E3A, 0x6A240A, 0x808080, 0xC8D0D4, 0xFFFFFF, 0x000000, 0x000000,
    0x000000, 0xFFFFFF, 0xC8D0D4, 0xC8D0D4, 0x808080, 0x6A240A, 0xFFFFFF, 0xC8D0D4,
    0x808080, 0x808080, 0x000000, 0xC8D0D4, 0xFFFFFF, 0x404040, 0xC8D0D4, 0x000000,
    0xE1FFFF,
};

}  // namespace

int ResolveColour(int stored)
{
    const auto u = static_cast<std::uint32_t>(stored);
    if ((u >> 24) != 0x80) return stored;
    const std::uint32_t index = u & 0xFF;
    return index < sizeof kSysColours / sizeof kSysColours[0] ? kSysColours[index] : 0;
}

const std::string& EmptyText()
{
    static const std::string empty;
    return empty;
}

}  // namespace vyn
