// An uninstall record file as it may be found on disk, hand-edited or damaged: reading takes
// whole records only, and what it took writes back to bytes that read to the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "setup/core/UninstallList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    UninstallList list;
    list.Deserialize(std::string(reinterpret_cast<const char*>(data), size));
    if (list.RecordCount() > UninstallList::kMaxRecords) std::abort();
    const std::string bytes = list.Serialize();
    UninstallList again;
    again.Deserialize(bytes);
    if (again.RecordCount() != list.RecordCount() || again.Serialize() != bytes) std::abort();
    int walked = 0;
    for (const UninstallRecord* r = again.LastRecord(); r; r = again.PrevRecord()) ++walked;
    if (walked != again.RecordCount()) std::abort();
    return 0;
}
