// Arbitrary bytes as a pasted or imported plate text and as identifications: every value
// that lands in a well is a finite number, every identification is valid UTF-8 of bounded
// length, and nothing is read out of bounds whatever the codec settings.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/core/Utf8Text.h"
#include "document/QDoc.h"
#include "document/TextExchange.h"
#include "evaluator/NoValue.h"
#include "plate/TextFieldCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace vyn;
    if (size < 3) return 0;
    // The first bytes pick the settings: decimal character, separators, fixed fields, widths.
    const char savedDecimal = gDecimalChar;
    const TextFieldSettings savedFields = TextFields();
    const TextExchangeSettings savedExchange = TextExchange();
    gDecimalChar = (data[0] & 1) ? ',' : '.';
    TextFieldSettings& f = TextFields();
    f.cellFixFields = (data[0] >> 1) & 1;
    f.expFixFields = (data[0] >> 2) & 1;
    TextExchange().impFixes = (data[0] >> 3) & 1;
    f.cellSeparator = static_cast<char>(data[1]);
    f.expSeparator = static_cast<char>(data[1] ^ 0x5A);
    f.cellValLen = static_cast<int>(data[2] % 20) - 2;
    f.expIdLen = static_cast<int>(data[2] / 8) - 2;
    const std::string text(reinterpret_cast<const char*>(data + 3), size - 3);

    QDoc doc;
    QPlate& p = doc.GetPlate();
    doc.PastePlateValues(text, (data[0] & 16) != 0);
    for (const QWellRecord& w : p.wells) {
        if (w.measured != NoValue && !std::isfinite(w.measured)) __builtin_trap();
    }
    int found = 0;
    const std::vector<double> values = ReadPlateRows(SplitTextLines(text), p.columns, p.rows, found);
    if (values.size() != static_cast<std::size_t>(p.wellCount) || found > p.wellCount) __builtin_trap();

    for (const std::string& line : SplitTextLines(text)) {
        const std::string id = IdentificationFromLine(line);
        if (!IsValidUtf8(id) || id.size() > 4 * static_cast<std::size_t>(kMaxIdentification)) __builtin_trap();
    }
    // Identifications into a plate with samples, and their result lines back out.
    p.descs.push_back(std::make_unique<QDesc>(skQualitative, "QS", TColor(0, 0, 0), ""));
    doc.PlaceNewSampleAt(p.descs.back().get(), 0, 5, false, 0);
    doc.PasteSampleIds(text);
    for (int i = 0; i < p.sampleCount; ++i) (void)FormatResultLine(*p.GetSample(i), 64);
    for (int r = 0; r < p.rows; ++r) (void)FormatCellRow(p, r, false, 80);

    gDecimalChar = savedDecimal;
    TextFields() = savedFields;
    TextExchange() = savedExchange;
    return 0;
}
