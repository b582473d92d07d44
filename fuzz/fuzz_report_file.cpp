// Arbitrary bytes as a report stream: the reader must accept them or refuse them, never read
// out of bounds; whatever it accepts must write a stream that reads again, and must lay out
// on a page of a 600 dpi printer without an overflow in its lengths and scales.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "reports/RPReport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vyn;
    RPReport report;
    if (report.ReadStream(data, size) != 0) return 0;
    const std::vector<std::uint8_t> first = report.WriteStream();
    if (first.empty()) return 0;
    RPReport again;
    if (again.ReadStream(first.data(), first.size()) != 0) std::abort();
    RPPrintContext& print = report.Print();
    print.dpiX = print.dpiY = 600;
    print.pageRect = TRect(0, 0, 4800, 6600);
    report.SetSimulatedSamples(1, 2);
    print.keepLayout = false;
    report.Paginate();
    report.FreePages();
    return 0;
}
