#pragma once
// Plate values and sample identifications as plain text: the settings of the import and
// export commands and the splitting of a text into lines and plate rows.
#include <string>
#include <string_view>
#include <vector>

namespace vyn {

struct TextExchangeSettings {
    static constexpr const char* kDefaultFilter = "Text (*.TXT)|*.TXT|All (*.*)|*";

    int impFixes = 0;    // "imp_fixes": identifications go to all samples (1) or sequential (0)
    int expFixes = 0;    // "exp_fixes": the same for the results export
    std::string dataFilter = kDefaultFilter;   // "imp_exp_dta_filter"
    int dataFilterIndex = 0;
    std::string idFilter = kDefaultFilter;     // "imp_exp_res_filter"
    int idFilterIndex = 0;
    // "exp_only_res_filter": the results export keeps a filter and index of its own only
    // when the setting is there; otherwise it shares the identifications filter.
    bool ownResultFilter = false;
    std::string resultFilter = kDefaultFilter;
    int resultFilterIndex = 0;
};

// The program-wide settings; the shell loads them from its settings file.
TextExchangeSettings& TextExchange();

// The longest line the exchange reads; the rest of a longer line is skipped.
inline constexpr std::size_t kMaxExchangeLine = 7999;
// The longest identification taken from a line.
inline constexpr int kMaxIdentification = 255;

// A text block as lines: split at LF, CR dropped, each line cut after kMaxExchangeLine
// bytes. A block ending in a line end has no empty line after it.
std::vector<std::string> SplitTextLines(std::string_view block);

// A plate of values from lines, one line per row, one field per column: NoValue wherever
// nothing was read. found receives the number of values read.
std::vector<double> ReadPlateRows(const std::vector<std::string>& lines, int columns, int rows, int& found);

// One identification from an imported line: its field cut as the codec cuts it; bytes that
// are not UTF-8 are read as Windows-1252.
std::string IdentificationFromLine(std::string_view line);

}  // namespace vyn
