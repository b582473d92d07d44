// What another program may put on the clipboard for the report designer: a block of object
// records walked by their own length words, or a placeable metafile for a picture object.
// Every record is made into an object or refused, every pasted object lies inside the report
// area and copies to a record that pastes back as the same, and a picture's drawing records
// are played on a small bitmap without reading past their end.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/gui/Application.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Gdi.h"
#include "reports/RPObject.h"
#include "reports/RPObjectBlock.h"
#include "reports/RPScale.h"
#include "reports/RPShapes.h"
#include "reports/paint/WmfPlayer.h"

namespace {

void ExpectInside(const vyn::RPObject& o)
{
    const vyn::TRect r = o.TwipsRect();
    if (r.left < 0 || r.top < 0 || r.right > vyn::kMaxTwips || r.bottom > vyn::kMaxTwips || r.right < r.left ||
        r.bottom < r.top)
        std::abort();
}

std::vector<std::uint8_t> Record(const vyn::RPObject& o)
{
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(o.Write(nullptr)));
    if (static_cast<std::size_t>(o.Write(bytes.data())) != bytes.size()) std::abort();
    return bytes;
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
    const std::vector<std::uint8_t> block(data, data + size);
    for (const auto& obj : ReadObjectBlock(block)) {
        ExpectInside(*obj);
        const std::vector<std::uint8_t> copied = Record(*obj);
        int bandIndex = -1;
        const auto pasted = RPObject::CreateFromRecord(copied.data(), copied.size(), bandIndex);
        if (!pasted || Record(*pasted) != copied) std::abort();
    }
    RPObjectPicture picture;
    if (picture.LoadFromFileBytes(block) == 0) {
        KeepInsideReport(picture);
        ExpectInside(picture);
        TBitmap bitmap(32, 32);
        TMemoryDC dc(bitmap);
        (void)PlayMetafile(dc, picture.Bits());
    }
    return 0;
}
