// What another program may put on the clipboard for the report designer: a block of object
// records walked by their own length words, or a placeable metafile for a picture object.
// Every record is made into an object or refused, every object's geometry is computed without
// overflow, and a picture's drawing records are played on a small bitmap without reading
// past their end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "reports/RPObject.h"
#include "reports/RPShapes.h"
#include "reports/paint/WmfPlayer.h"

namespace {

std::uint32_t GetU32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static vyn::TApplication* app = new vyn::TApplication(*argc, *argv);
    (void)app;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    if (size >= 4) {
        const std::uint32_t count = GetU32(data);
        std::size_t pos = 4;
        for (std::uint32_t i = 0; i < count && pos + 8 <= size; ++i) {
            const std::uint32_t len = GetU32(data + pos);
            if (len < 8 || len > size - pos) break;
            int bandIndex = -1;
            std::unique_ptr<RPObject> obj = RPObject::CreateFromRecord(data + pos, len, bandIndex);
            if (!obj) break;
            (void)obj->TwipsRect();
            pos += len;
        }
    }
    RPObjectPicture picture;
    if (picture.LoadFromFileBytes(std::vector<std::uint8_t>(data, data + size)) == 0) {
        TBitmap bitmap(32, 32);
        TMemoryDC dc(bitmap);
        (void)PlayMetafile(dc, picture.Bits());
    }
    return 0;
}
