// A report library file as found on disk: opening lists it or refuses it; every listed report
// reads or is refused; a changed name is committed; consolidating keeps every entry that was
// not deleted, and the library it leaves opens again with those entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "reports/CRepList.h"
#include "reports/RPReport.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string path = fuzz::PutFile("VYN.MRW", data, size);
    CRepList list(path);
    list.Open(true);
    if (list.status != lsOpen) return 0;
    std::vector<std::string> kept;
    for (int i = 0; i < list.Count(); ++i) {
        RPReport report;
        (void)list.ReadReport(i, report);
        if (!list.GetDescr(i).deleted) kept.push_back(list.GetDescr(i).name);
    }
    if (list.Count() > 0 && list.SetStrings(0, "fuzz", "renamed") && list.Commit() == 1) {
        if (!list.GetDescr(0).deleted) kept[0] = "fuzz";
    }
    if (list.Consolidate() != 0) return 0;
    CRepList again(path);
    again.Open(true);
    if (again.status != lsOpen || again.Count() != static_cast<int>(kept.size())) std::abort();
    for (int i = 0; i < again.Count(); ++i)
        if (again.GetDescr(i).name != kept[static_cast<std::size_t>(i)]) std::abort();
    return 0;
}
