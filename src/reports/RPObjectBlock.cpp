#include "reports/RPObjectBlock.h"

#include <algorithm>

#include "reports/ByteIO.h"
#include "reports/RPScale.h"

namespace vyn {

std::vector<std::unique_ptr<RPObject>> ReadObjectBlock(const std::vector<std::uint8_t>& block)
{
    std::vector<std::unique_ptr<RPObject>> objects;
    if (block.size() < 4) return objects;
    const std::uint32_t count = GetU32(block.data());
    std::size_t pos = 4;
    for (std::uint32_t i = 0; i < count && pos + 8 <= block.size(); ++i) {
        const std::uint32_t len = GetU32(block.data() + pos);
        if (len < 8 || len > block.size() - pos) break;
        int bandIndex = -1;
        auto obj = RPObject::CreateFromRecord(block.data() + pos, len, bandIndex);
        if (!obj) break;
        KeepInsideReport(*obj);
        objects.push_back(std::move(obj));
        pos += len;
    }
    return objects;
}

void KeepInsideReport(RPObject& o)
{
    const int width = std::clamp(o.GetWidth(), 0, kMaxTwips);
    const int height = std::clamp(o.GetHeight(), 0, kMaxTwips);
    const int left = std::clamp(o.GetLeft(), 0, kMaxTwips - width);
    const int top = std::clamp(o.GetTop(), 0, kMaxTwips - height);
    o.SetSize(TSize(width, height));
    o.SetPos(TPoint(left, top));
}

}  // namespace vyn
