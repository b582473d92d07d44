// The method wizard's answers as a method file may hold them: reserved definitions written by
// the wizard, by the user or by a damaged file. Reading and writing back without a change
// leaves the method as it was, and what the wizard writes for the answers it read reads back
// to the same answers.
//
// Input: byte 0 the method's mode; then lines "name=text", those starting with 'C' going to the
// calculations (without the 'C'), the others to the evaluations.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "method_editors/QWizzSettings.h"

namespace {

void AddLine(vyn::QWizzState& s, std::string_view line)
{
    vyn::TwostrArray* list = &s.evaluations;
    if (!line.empty() && line[0] == 'C') {
        list = &s.calculations;
        line.remove_prefix(1);
    }
    const std::size_t eq = line.find('=');
    if (eq == std::string_view::npos) list->push_back({std::string(line), ""});
    else list->push_back({std::string(line.substr(0, eq)), std::string(line.substr(eq + 1))});
}

vyn::QWizzState WithDefinitions(int mode, const vyn::TwostrArray& generated)
{
    vyn::QWizzState s;
    s.mode = mode;
    for (const vyn::twostr& t : generated) (vyn::IsThresholdName(t.name) ? s.calculations : s.evaluations).push_back(t);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vyn;
    if (size < 1) return 0;
    QWizzState s;
    s.mode = data[0] % 3;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        AddLine(s, text.substr(pos, end - pos));
        pos = end + 1;
    }

    ReadSettings(s);
    const TwostrArray calculations = s.calculations, evaluations = s.evaluations;
    WriteSettings(s);
    if (s.calculations != calculations || s.evaluations != evaluations) std::abort();

    // An empty value to compare is written as no definition, which reads as the mode's default.
    if (s.valueToCompare.empty()) return 0;
    const TwostrArray generated = GeneratedDefinitions(s);
    QWizzState again = WithDefinitions(s.mode, generated);
    ReadSettings(again);
    if (GeneratedDefinitions(again) != generated) std::abort();
    WriteSettings(again);
    if (again.calculations != WithDefinitions(s.mode, generated).calculations ||
        again.evaluations != WithDefinitions(s.mode, generated).evaluations)
        std::abort();
    return 0;
}
