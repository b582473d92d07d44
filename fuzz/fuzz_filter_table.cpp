// The filter table as the settings file may hold it, damaged or hand-edited: it loads into at
// most 32 wavelengths, none negative, and what is saved loads back as the same table.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "FuzzFiles.h"
#include "plate/FilterTable.h"
#include "plate/Profile.h"

namespace {

std::vector<int> Table()
{
    const vyn::QFilterTable& t = vyn::QFilterTable::Instance();
    std::vector<int> out;
    for (int i = 0; i < t.GetFilterCount(); ++i) out.push_back(t.GetFilter(i));
    return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv("VYN_CONFIG_DIR", vyn::fuzz::ScratchFolder().c_str(), 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    fuzz::PutFile(kProfileName, data, size);
    QFilterTable& table = QFilterTable::Instance();
    table.Load();
    const std::vector<int> loaded = Table();
    if (loaded.size() > QFilterTable::kMaxFilters) std::abort();
    for (int wl : loaded)
        if (wl < 0) std::abort();
    if (!table.Save()) return 0;
    table.SetFilters({});
    table.Load();
    if (Table() != loaded) std::abort();
    return 0;
}
