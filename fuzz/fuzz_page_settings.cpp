// Page-setup records as the settings file may hold them: a margins or font text is taken or
// leaves the record as it was, and a taken record writes a text that reads to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "printing/PageSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string text(reinterpret_cast<const char*>(data), size);
    PageMargins m{};
    if (ParseMarginsText(text.c_str(), m)) {
        const std::string written = FormatMarginsText(m);
        PageMargins again{};
        if (!ParseMarginsText(written.c_str(), again) || FormatMarginsText(again) != written) std::abort();
    }
    TLogFont lf{};
    if (ParseFontText(text.c_str(), lf)) {
        const std::string written = FormatFontText(lf);
        TLogFont again{};
        if (!ParseFontText(written.c_str(), again) || FormatFontText(again) != written) std::abort();
    }
    return 0;
}
