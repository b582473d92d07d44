// A report file as opened from disk: its header and stream are read or refused with a
// message id, and what was read writes a file that reads again to the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "reports/QRepDoc.h"
#include "reports/RPReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::vector<std::uint8_t> bytes(data, data + size);
    RPReport report;
    if (QRepDoc::ReadFileBytes(bytes, report) != 0) return 0;
    const std::vector<std::uint8_t> first = QRepDoc::FileBytes(report);
    if (first.empty()) return 0;
    RPReport again;
    if (QRepDoc::ReadFileBytes(first, again) != 0) std::abort();
    if (QRepDoc::FileBytes(again) != first) std::abort();
    return 0;
}
