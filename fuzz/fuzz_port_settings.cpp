// Port-settings texts as the settings file may hold them: a text is taken or refused, and the
// text written back for what was taken is itself taken and gives the same settings.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "readers/QCommSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string text(reinterpret_cast<const char*>(data), size);
    QCommSettings settings;
    if (!settings.SetSettingsText(text.c_str())) return 0;
    const std::string written = settings.GetSettingsText();
    QCommSettings again;
    if (!again.SetSettingsText(written.c_str())) std::abort();
    if (again.GetSettingsText() != written || again.portIndex != settings.portIndex ||
        again.baud != settings.baud || again.dataBits != settings.dataBits ||
        again.stopBits != settings.stopBits || again.parity != settings.parity)
        std::abort();
    return 0;
}
