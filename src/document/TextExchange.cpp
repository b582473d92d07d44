#include "document/TextExchange.h"

#include "platform/core/Utf8Text.h"
#include "evaluator/NoValue.h"
#include "plate/TextFieldCodec.h"

namespace vyn {

TextExchangeSettings& TextExchange()
{
    static TextExchangeSettings settings;
    return settings;
}

std::vector<std::string> SplitTextLines(std::string_view block)
{
    std::vector<std::string> lines;
    std::string line;
    bool open = false;   // a line has begun and not yet ended
    for (const char c : block) {
        if (c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            open = false;
            continue;
        }
        open = true;
        if (c == '\r' || line.size() >= kMaxExchangeLine) continue;
        line += c;
    }
    if (open) lines.push_back(std::move(line));
    return lines;
}

std::vector<double> ReadPlateRows(const std::vector<std::string>& lines, int columns, int rows, int& found)
{
    found = 0;
    if (columns <= 0 || rows <= 0) return {};
    std::vector<double> values(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows), NoValue);
    const std::size_t n = std::min(lines.size(), static_cast<std::size_t>(rows));
    for (std::size_t r = 0; r < n; ++r)
        found += ParseCellRow(values.data() + r * static_cast<std::size_t>(columns), lines[r], columns);
    return values;
}

std::string IdentificationFromLine(std::string_view line)
{
    return TextFromFile(CopyIdField(line, kMaxIdentification + 1));
}

}  // namespace vyn
