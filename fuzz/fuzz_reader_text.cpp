// The readers' text scanners and the reader options texts a method may hold: numbers are read
// without overflow, a field that reads gives its number back when written, and the options
// each family reads write back to a text that reads the same.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"
#include "readers/ReaderText.h"

namespace {

template <typename Options>
void RoundTrip(const std::string& text)
{
    const Options read = Options::Parse(text);
    const std::string written = read.Format();
    const Options again = Options::Parse(written);
    if (again.Format() != written || again.Describe() != read.Describe()) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string text(reinterpret_cast<const char*>(data), size);

    int v[4] = {0, 0, 0, 0};
    const int scanned = ScanIntsAfter(text, "SHAKE", v, 3);
    if (scanned < 0 || scanned > 3 || v[3] != 0) std::abort();

    long field = 0;
    if (ParseIntField(text, field)) {
        long back = 0;
        if (!ParseIntField(std::to_string(field), back) || back != field) std::abort();
    }

    int numbers[7] = {0, 0, 0, 0, 0, 0, -1};
    const int found = ExtractNumbers(text, numbers, 6);
    if (found < 0 || found > 6 || numbers[6] != -1) std::abort();
    for (int i = 0; i < found; ++i)
        if (numbers[i] < 0) std::abort();

    RoundTrip<SltOptions>(text);
    RoundTrip<OstrelOptions>(text);
    RoundTrip<MulOptions>(text);
    return 0;
}
