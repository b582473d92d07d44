// Bytes arriving on the hand-over socket from another instance: decoding takes whole records
// or refuses, and what it took encodes to bytes that decode to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gui/HandOverChannel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    std::string buffer(reinterpret_cast<const char*>(data), size);
    std::vector<THandOverRecord> records;
    const bool ok = DecodeHandOver(buffer, records);
    if (ok && buffer.size() > size) std::abort();
    if (records.empty()) return 0;
    std::string wire = EncodeHandOver(records);
    std::vector<THandOverRecord> again;
    if (!DecodeHandOver(wire, again) || !wire.empty() || again.size() != records.size()) std::abort();
    if (EncodeHandOver(again) != EncodeHandOver(records)) std::abort();
    return 0;
}
