// Fuzz target of the setup information file parser: any bytes are read or refused with a
// message, and every line of a file that was read can be asked for its fields and text.
#include <cstddef>
#include <cstdint>
#include <string>

#include "setup/core/InfFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    vyn::InfFile inf;
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    if (!inf.Parse(bytes, "fuzz.inf")) {
        if (inf.ErrorText().empty()) __builtin_trap();  // a refusal always says why
        return 0;
    }
    inf.SetDirectoryId(vyn::InfFile::kDestinationDirId, "/opt/Vyn/");
    for (const char* name : {"MainVynSetup", "VynInstall", "DestinationDirs", "Strings", "Files"}) {
        if (const vyn::InfSection* s = inf.FindSection(name))
            for (const vyn::InfLine& l : s->lines) {
                std::string f;
                for (int i = 0; i <= vyn::InfFile::FieldCount(l) + 1; ++i) inf.GetField(l, i, f);
                (void)inf.LineText(l);
                inf.GetTargetPath(l.fields[0], f);
            }
    }
    return 0;
}
