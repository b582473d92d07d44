#include "plate/TextFieldCodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "evaluator/NoValue.h"
#include "platform/core/StringTable.h"
#include "plate/QPlate.h"
#include "plate/QSample.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {

// A field's number; NoValue when it holds none. "inf", "nan" and numbers beyond the double
// range read as numbers by the parser, but no well can hold them.
double FieldValue(std::string_view field)
{
    const std::string text(field);
    const double v = ParseDouble(text.c_str());
    return std::isfinite(v) ? v : NoValue;
}

// Settings typed into the profile by hand may be zero or negative.
int Width(int setting)
{
    return std::max(setting, 0);
}

bool IsContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// How many bytes a UTF-8 sequence starting with lead takes; 0 for a byte that starts none.
int SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF) return 2;
    if (lead >= 0xE0 && lead <= 0xEF) return 3;
    if (lead >= 0xF0 && lead <= 0xF4) return 4;
    return 0;
}

// The length of text cut to at most limit bytes, backed off to the start of a UTF-8
// character the cut would split. Text that is not UTF-8 there is cut at limit exactly.
std::size_t CutPoint(std::string_view text, std::size_t limit)
{
    if (limit >= text.size()) return text.size();
    if (!IsContinuation(static_cast<unsigned char>(text[limit]))) return limit;
    std::size_t p = limit;
    while (p > 0 && limit - p < 3 && IsContinuation(static_cast<unsigned char>(text[p - 1]))) --p;
    if (p == 0) return limit;
    const int need = SequenceLength(static_cast<unsigned char>(text[p - 1]));
    if (need == 0 || (p - 1) + static_cast<std::size_t>(need) <= limit) return limit;
    return p - 1;
}

std::string Cut(std::string_view text, std::size_t limit)
{
    return std::string(text.substr(0, CutPoint(text, limit)));
}

// text cut to width bytes and filled up with blanks to exactly width.
std::string LeftField(std::string_view text, std::size_t width)
{
    std::string out = Cut(text, width);
    out.append(width - out.size(), ' ');
    return out;
}

// A number right-aligned in width bytes, or stars when it does not fit.
std::string NumberField(const std::string& text, std::size_t width)
{
    if (text.size() > width) return std::string(width, '*');
    return std::string(width - text.size(), ' ') + text;
}

int CopyOut(const std::string& text, char* buffer, int size)
{
    if (buffer && size > 0) std::memcpy(buffer, text.data(), std::min(text.size(), static_cast<std::size_t>(size)));
    return static_cast<int>(text.size());
}

// What the result line shows of a sample: nothing yet (state 0), a text, or a number text.
struct ResultShown {
    int state = rsNotCalculated;
    std::string text;
    bool isNumber = false;
};

ResultShown ShownResult(const QSample& sample, const TextFieldSettings& s)
{
    ResultShown shown;
    if (sample.resultState == rsNotCalculated) return shown;
    const TStackVal* value = nullptr;
    if (sample.exportSelected && sample.exportIndex >= 0 && sample.exportIndex < sample.ResultCount()) {
        value = &sample.results[static_cast<std::size_t>(sample.exportIndex)];
        shown.state = value->IsError() ? rsError : rsCalculated;
    } else {
        shown.state = sample.resultState;
        if (!sample.results.empty()) value = &sample.results.back();
    }
    switch (shown.state) {
    case rsCalculated:
        if (!value) break;
        if (value->IsNumber()) {
            shown.isNumber = true;
            if (value->Number() != NoValue) shown.text = FormatDouble(value->Number(), s.expFormat);
        } else if (value->IsText()) {
            shown.text = value->Text();
        } else if (value->IsVector()) {
            shown.text = "?";
        }
        break;
    case rsUnder: shown.text = s.expUnder; break;
    case rsOver: shown.text = s.expOver; break;
    default: shown.text = s.expError; break;
    }
    return shown;
}

}  // namespace

TextFieldSettings& TextFields()
{
    static TextFieldSettings settings;
    return settings;
}

SeparatorFault CheckSeparator(int code)
{
    if (code != '\t' && (code < 32 || code > 126)) return sfNotPlain;
    if ((code >= '0' && code <= '9') || code == '+' || code == '-' || code == 'e' || code == 'E') return sfInNumbers;
    return sfUsable;
}

bool SeparatorIsDecimalChar(char decimalChar, int fixFields, char separator)
{
    return fixFields == 0 && separator == decimalChar;
}

bool SeparatorIsDecimalChar(bool cells)
{
    const TextFieldSettings& s = TextFields();
    return cells ? SeparatorIsDecimalChar(gDecimalChar, s.cellFixFields, s.cellSeparator)
                 : SeparatorIsDecimalChar(gDecimalChar, s.expFixFields, s.expSeparator);
}

int ParseCellRow(double* values, std::string_view line, int n)
{
    const TextFieldSettings& s = TextFields();
    int found = 0;
    auto take = [&](int k, std::string_view field) {
        const double v = FieldValue(field);
        if (v == NoValue) return;
        values[k] = v;
        ++found;
    };
    if (!values || n <= 0) return 0;
    if (s.cellFixFields) {
        const std::size_t width = static_cast<std::size_t>(std::max(s.cellValLen, 1));
        for (int k = 0; k < n; ++k) {
            const std::size_t start = static_cast<std::size_t>(k) * width;
            if (start >= line.size()) break;
            take(k, line.substr(start, width));
        }
        return found;
    }
    std::size_t pos = 0;
    for (int k = 0; k < n; ++k) {
        const std::size_t end = line.find(s.cellSeparator, pos);
        take(k, line.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
        if (end == std::string_view::npos) break;
        pos = end + 1;
    }
    return found;
}

std::string FormatCellRow(const QPlate& plate, int row, bool data, int size)
{
    const TextFieldSettings& s = TextFields();
    std::string out;
    if (row < 0 || row >= plate.rows || size <= 0) return out;
    const std::size_t limit = static_cast<std::size_t>(size);
    for (int c = 0; c < plate.columns; ++c) {
        const QWellRecord& w = plate.wells[static_cast<std::size_t>(row * plate.columns + c)];
        const double v = data ? w.data : w.measured;
        const std::string text = v == NoValue ? std::string() : std::string(FormatDouble(v, s.cellFormat));
        if (s.cellFixFields) {
            const std::size_t width = static_cast<std::size_t>(Width(s.cellValLen));
            if (out.size() + width > limit) break;
            out += NumberField(text, width);
        } else {
            if (c > 0) {
                if (out.size() >= limit) break;
                out += s.cellSeparator;
            }
            if (out.size() + text.size() > limit) break;
            out += text;
        }
    }
    return out;
}

int FormatCellRow(char* buffer, int size, const QPlate& plate, int row, bool data)
{
    // Without a buffer there is no size to keep to: the whole row is measured.
    return CopyOut(FormatCellRow(plate, row, data, buffer ? size : 8000), buffer, size);
}

std::string CopyIdField(std::string_view source, int size)
{
    const TextFieldSettings& s = TextFields();
    if (size <= 0) return {};
    std::size_t limit = static_cast<std::size_t>(size - 1);
    if (s.expFixFields) limit = std::min(limit, static_cast<std::size_t>(Width(s.expIdLen)));
    std::size_t end = 0;
    while (end < source.size() && end < limit) {
        const char c = source[end];
        if (c == '\t' || (!s.expFixFields && c == s.expSeparator)) break;
        ++end;
    }
    std::string field = end == limit ? Cut(source, limit) : std::string(source.substr(0, end));
    TrimTrailingBlanks(field);
    return field;
}

int CopyIdField(char* dest, int size, std::string_view source)
{
    if (!dest || size <= 0) return 0;
    const std::string field = CopyIdField(source, size);
    std::memcpy(dest, field.data(), field.size());
    dest[field.size()] = '\0';
    return static_cast<int>(field.size());
}

std::string FormatResultLine(const QSample& sample, int size)
{
    const TextFieldSettings& s = TextFields();
    if (size <= 0) return {};
    const std::size_t limit = static_cast<std::size_t>(size);
    const ResultShown shown = ShownResult(sample, s);
    if (!s.expFixFields) {
        std::string out = Cut(sample.ident, limit);
        if (out.size() < limit && shown.state != rsNotCalculated) {
            out += s.expSeparator;
            const std::size_t left = limit - out.size();
            if (shown.isNumber && shown.text.size() > left) out.append(left, '*');
            else out += Cut(shown.text, left);
        }
        return out;
    }
    std::size_t idWidth = static_cast<std::size_t>(Width(s.expIdLen));
    std::size_t resWidth = static_cast<std::size_t>(Width(s.expResLen));
    if (idWidth + resWidth > limit) {
        if (idWidth >= limit) {
            idWidth = limit;
            resWidth = 0;
        } else {
            resWidth = limit - idWidth;
        }
    }
    std::string out = LeftField(sample.ident, idWidth);
    if (shown.state == rsNotCalculated) out.append(resWidth, ' ');
    else if (shown.isNumber) out += NumberField(shown.text, resWidth);
    else out += LeftField(shown.text, resWidth);
    return out;
}

int FormatResultLine(char* buffer, int size, const QSample& sample)
{
    return CopyOut(FormatResultLine(sample, buffer ? size : 8000), buffer, size);
}

}  // namespace vyn
