// A method library file as found on disk: listing reads its index or says why it cannot;
// every listed method can be opened at its block; deleting the first method and renaming the
// last rewrites a library that lists exactly the others, under the new name.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "FuzzFiles.h"
#include "document/LineReader.h"
#include "document/QMetod.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    const std::string path = fuzz::PutFile("VYN.MTW", data, size);
    const std::string temp = fuzz::ScratchFolder() + "/VYN.MT~";
    QMetod library(path, temp);
    if (library.List() != mlRead && library.GetListState() != mlRead) {
        if (library.ListStateText().empty()) std::abort();
        return 0;
    }
    std::vector<std::string> names;
    for (int i = 0; i < library.EntryCount(); ++i) {
        LineReader reader;
        int limit = 0;
        if (library.SelectMethod(i, 1000, reader, &limit) == 1) {
            std::string line;
            for (int k = 0; k < 4 && !reader.IsEnd(); ++k) reader.ReadLine(line, 4096);
        }
        names.push_back(library.Entries()[static_cast<std::size_t>(i)].name);
    }
    if (names.size() < 2) return 0;
    library.ToggleMark(0);
    if (!library.Rename(library.EntryCount() - 1, "fuzz", "renamed")) return 0;
    if (library.Rewrite(-1) != 0) return 0;
    names.erase(names.begin());
    names.back() = "fuzz";
    QMetod again(path, temp);
    again.List();
    if (again.GetListState() != mlRead || again.EntryCount() != static_cast<int>(names.size())) std::abort();
    for (int i = 0; i < again.EntryCount(); ++i)
        if (again.Entries()[static_cast<std::size_t>(i)].name != names[static_cast<std::size_t>(i)]) std::abort();
    return 0;
}
