#include "method_editors/QWizzSettings.h"

#include <algorithm>
#include <cctype>

namespace vyn {

namespace {

// Quoted texts longer than this end the reading of a list: older versions kept them in
// fixed buffers and wrote nothing longer.
constexpr std::size_t kMaxQuotedText = 61;
// The reserved text of StrExpression was made in a 64-byte buffer.
constexpr std::size_t kStrExpressionLimit = 63;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A signed decimal number at pos, after blanks, as the C library's atoi reads it (0 when
// there is none); values too large for an int are held at its limit.
int ReadInt(const std::string& text, std::size_t pos)
{
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) negative = text[pos++] == '-';
    long long v = 0;
    while (pos < text.size() && IsDigit(text[pos])) {
        v = std::min<long long>(v * 10 + (text[pos++] - '0'), 0x7fffffffLL);
    }
    return static_cast<int>(negative ? -v : v);
}

std::string ThresholdName(int k) { return "Thr" + std::to_string(k); }

void Append(TwostrArray& list, const std::string& name, const std::string& text) { list.push_back({name, text}); }

CategoryTexts ToSlots(const std::vector<std::string>& texts)
{
    CategoryTexts slots;
    for (int i = 0; i < kCategorySlots && i < static_cast<int>(texts.size()); ++i) slots[i] = texts[i];
    return slots;
}

bool ContainsText(const std::string& text, const char* what) { return text.find(what) != std::string::npos; }

}  // namespace

int CountThresholds(const std::array<std::string, kMaxThresholds>& thresholds)
{
    int n = kMaxThresholds;
    while (n > 0 && thresholds[n - 1].empty()) --n;
    return n;
}

bool FindDefinition(TwostrArray& list, const std::string& name, std::string& text, bool remove)
{
    auto it = std::find_if(list.begin(), list.end(), [&](const twostr& t) { return t.name == name; });
    if (it == list.end()) {
        text.clear();
        return false;
    }
    text = it->text;
    if (remove) list.erase(it);
    return true;
}

std::vector<std::string> ParseQuotedTexts(const std::string& text, int n)
{
    std::vector<std::string> out;
    std::size_t pos = 0;
    while (static_cast<int>(out.size()) < n) {
        const std::size_t open = text.find('"', pos);
        if (open == std::string::npos) break;
        const std::size_t close = text.find('"', open + 1);
        if (close == std::string::npos) break;
        if (close - open - 1 > kMaxQuotedText) break;
        out.push_back(text.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    while (static_cast<int>(out.size()) < n) out.emplace_back();
    return out;
}

void MoveMissingCategory(CategoryTexts& list, int n)
{
    if (n < 0 || n >= kMaxThresholds) return;
    list[kMissingSlot] = list[n + 1];
    for (int k = n + 1; k <= 5; ++k) list[k].clear();
}

int ParseRgb(const std::string& text)
{
    int parts[3];
    std::size_t pos = 0;
    for (int& part : parts) {
        while (pos < text.size() && !IsDigit(text[pos])) ++pos;
        if (pos >= text.size()) return -1;
        long v = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            v = std::min(v * 10 + (text[pos++] - '0'), 1000L);
        }
        if (v > 255) return -1;
        part = static_cast<int>(v);
    }
    return parts[0] | parts[1] << 8 | parts[2] << 16;
}

void ParseStrFormat(QWizzFormat& format, const std::string& text)
{
    const std::size_t firstComma = text.find(',');
    if (firstComma == std::string::npos) return;
    const int digits = ReadInt(text, firstComma + 1);
    const std::size_t quote = text.find('"', firstComma + 1);
    if (quote == std::string::npos || quote + 1 >= text.size()) return;
    int mode;
    switch (text[quote + 1]) {
    case 'g': case 'G': mode = nmGeneral; break;
    case 'e': case 'E': mode = nmScientific; break;
    case 'f': case 'F': mode = nmFixed; break;
    default: return;
    }
    const std::size_t widthComma = text.find(',', quote + 1);
    if (widthComma == std::string::npos) return;
    const std::size_t decimalsComma = text.find(',', widthComma + 1);
    if (decimalsComma == std::string::npos) return;
    format.format.SetMode(mode);
    format.format.SetDigits(digits);
    format.format.SetDecimals(ReadInt(text, decimalsComma + 1));
    format.width = ReadInt(text, widthComma + 1);
}

std::string StrExpression(const std::string& name, const QWizzFormat& f)
{
    static const char kLetters[] = "GEF";
    const int mode = f.format.mode >= 0 && f.format.mode <= 2 ? f.format.mode : 0;
    std::string s = "str(" + name + "," + std::to_string(f.format.digits) + ",\"" + kLetters[mode] + "\"," +
                    std::to_string(f.width) + "," + std::to_string(f.format.decimals) + ")";
    if (s.size() > kStrExpressionLimit) s.resize(kStrExpressionLimit);
    return s;
}

std::string CategoryExpression(const CategoryTexts& slots, int n, bool legacyEmpty)
{
    n = std::clamp(n, 0, kMaxThresholds);
    auto quoted = [legacyEmpty](const std::string& t) { return "\"" + (t.empty() && !legacyEmpty ? " " : t) + "\""; };
    std::string s = "category(";
    for (int k = 1; k <= n; ++k) s += quoted(slots[k - 1]) + "," + ThresholdName(k) + ",";
    s += quoted(slots[n]) + ",ValCmp," + quoted(slots[kMissingSlot]) + ")";
    return s;
}

std::string ColourText(int colour)
{
    if (colour == -1) return "noc";
    return "RGB(" + std::to_string(colour & 0xFF) + "," + std::to_string((colour >> 8) & 0xFF) + "," +
           std::to_string((colour >> 16) & 0xFF) + ")";
}

std::string LongResultExpression(const QWizzState& s)
{
    std::string text;
    if (s.includeCategory) text += "CategResult+";
    text += "\"" + s.separators[0] + "\"";
    const struct {
        bool included;
        const char* name;
    } items[] = {{s.includeValue, "_CompFmt"}, {s.includeAbsorbance, "_OdFmt"}, {s.includeConcentration, "_ConcFmt"}};
    int p = 1;
    for (const auto& item : items) {
        if (!item.included) continue;
        text += std::string("+") + item.name + "+\"" + s.separators[static_cast<std::size_t>(p)] + "\"";
        ++p;
    }
    return text;
}

bool AnyText(const CategoryTexts& list, int n)
{
    for (int k = 0; k <= n && k < kMissingSlot; ++k)
        if (!list[k].empty()) return true;
    return !list[kMissingSlot].empty();
}

bool AnyColour(const std::array<int, kCategorySlots>& colours, int n)
{
    for (int k = 0; k <= n && k < kMissingSlot; ++k)
        if (colours[k] != -1) return true;
    return colours[kMissingSlot] != -1;
}

bool IsThresholdName(const std::string& name)
{
    return name.size() == 4 && name.compare(0, 3, "Thr") == 0 && name[3] >= '1' && name[3] <= '5';
}

bool FitsQuotedText(const std::string& text)
{
    return text.size() <= kMaxQuotedText && text.find('"') == std::string::npos;
}

namespace {

// A category text list read from a definition, when the wizard wrote that text; a blank slot
// is an empty answer written so that it evaluates.
bool ReadCategoryTexts(const std::string& text, int n, CategoryTexts& out)
{
    CategoryTexts slots = ToSlots(ParseQuotedTexts(text, kCategorySlots));
    MoveMissingCategory(slots, n);
    if (text != CategoryExpression(slots, n) && text != CategoryExpression(slots, n, true)) return false;
    for (auto& t : slots)
        if (t == " ") t.clear();
    out = slots;
    return true;
}

bool ReadFormat(const std::string& text, const char* name, QWizzFormat& out)
{
    QWizzFormat f = out;
    ParseStrFormat(f, text);
    if (StrExpression(name, f) != text) return false;
    out = f;
    return true;
}

}  // namespace

void ReadSettings(QWizzState& s)
{
    std::string text;
    for (int k = 1; k <= kMaxThresholds; ++k) {
        FindDefinition(s.calculations, ThresholdName(k), text, false);
        s.thresholds[k - 1] = text;
    }
    s.thresholdCount = CountThresholds(s.thresholds);
    const int n = s.thresholdCount;

    if (FindDefinition(s.evaluations, "ValCmp", text, false)) s.valueToCompare = text;
    else s.valueToCompare = s.mode == 0 ? "avg(od)" : "conc";

    if (FindDefinition(s.evaluations, "_CompFmt", text, false)) ReadFormat(text, "ValCmp", s.valueFormat);
    if (!FindDefinition(s.evaluations, "_OdFmt", text, false) || !ReadFormat(text, "avg(od)", s.absorbanceFormat)) {
        s.absorbanceFormat.format.SetMode(nmFixed);
        s.absorbanceFormat.format.SetDigits(0);
        s.absorbanceFormat.format.SetDecimals(3);
        s.absorbanceFormat.width = 5;
    }
    if (FindDefinition(s.evaluations, "_ConcFmt", text, false)) ReadFormat(text, "conc", s.concentrationFormat);

    const struct {
        const char* name;
        CategoryTexts* list;
    } names[] = {{"ExportResult", &s.exportNames}, {"ShortResult", &s.matrixNames}, {"CategResult", &s.categoryNames}};
    for (const auto& item : names) {
        item.list->fill({});
        if (FindDefinition(s.evaluations, item.name, text, false)) ReadCategoryTexts(text, n, *item.list);
    }

    s.colours.fill(-1);
    // A colour text that does not read (a value over 255) is no colour; the others stay.
    CategoryTexts colourTexts;
    if (FindDefinition(s.evaluations, "color", text, false) && ReadCategoryTexts(text, n, colourTexts))
        for (int k = 0; k < kCategorySlots; ++k) s.colours[k] = ParseRgb(colourTexts[k]);

    if (FindDefinition(s.evaluations, "LongResult", text, false)) {
        QWizzState read = s;
        const std::vector<std::string> seps = ParseQuotedTexts(text, 4);
        for (std::size_t i = 0; i < read.separators.size(); ++i) read.separators[i] = seps[i];
        read.includeCategory = ContainsText(text, "CategResult");
        read.includeValue = ContainsText(text, "_CompFmt");
        read.includeAbsorbance = ContainsText(text, "_OdFmt");
        read.includeConcentration = ContainsText(text, "_ConcFmt");
        if (LongResultExpression(read) == text) {
            s.separators = read.separators;
            s.includeCategory = read.includeCategory;
            s.includeValue = read.includeValue;
            s.includeAbsorbance = read.includeAbsorbance;
            s.includeConcentration = read.includeConcentration;
        }
    }
    s.generatedAsRead = GeneratedDefinitions(s);
    s.settingsRead = true;
}

TwostrArray GeneratedDefinitions(const QWizzState& s)
{
    TwostrArray out;
    const int n = std::clamp(s.thresholdCount, 0, kMaxThresholds);
    for (int k = 1; k <= n; ++k) Append(out, ThresholdName(k), s.thresholds[k - 1]);
    if (!s.valueToCompare.empty() && (s.includeValue || n > 0)) Append(out, "ValCmp", s.valueToCompare);
    if (s.includeValue) Append(out, "_CompFmt", StrExpression("ValCmp", s.valueFormat));
    if (s.includeAbsorbance) Append(out, "_OdFmt", StrExpression("avg(od)", s.absorbanceFormat));
    if (s.includeConcentration) Append(out, "_ConcFmt", StrExpression("conc", s.concentrationFormat));
    if (n > 0 && AnyColour(s.colours, n)) {
        CategoryTexts texts;
        for (int k = 0; k < kCategorySlots; ++k) texts[k] = ColourText(s.colours[k]);
        Append(out, "color", CategoryExpression(texts, n));
    }
    if (n > 0 && AnyText(s.matrixNames, n)) Append(out, "ShortResult", CategoryExpression(s.matrixNames, n));
    if (n > 0 && AnyText(s.exportNames, n)) Append(out, "ExportResult", CategoryExpression(s.exportNames, n));
    if (n > 0) Append(out, "CategResult", CategoryExpression(s.categoryNames, n));
    if (s.includeValue || s.includeAbsorbance || s.includeConcentration)
        Append(out, "LongResult", LongResultExpression(s));
    return out;
}

void WriteSettings(QWizzState& s)
{
    if (!s.settingsRead) return;
    static const char* const kReserved[] = {"Thr1",     "Thr2",    "Thr3",  "Thr4",        "Thr5",
                                            "ValCmp",   "_CompFmt", "_OdFmt", "_ConcFmt",    "color",
                                            "ShortResult", "ExportResult", "CategResult", "LongResult"};
    TwostrArray now = GeneratedDefinitions(s);
    auto find = [](TwostrArray& list, const std::string& name) {
        return std::find_if(list.begin(), list.end(), [&](const twostr& t) { return t.name == name; });
    };
    for (const char* name : kReserved) {
        const auto before = find(s.generatedAsRead, name);
        const auto after = find(now, name);
        const bool hadOne = before != s.generatedAsRead.end(), hasOne = after != now.end();
        if (hadOne == hasOne && (!hasOne || before->text == after->text)) continue;
        TwostrArray& list = IsThresholdName(name) ? s.calculations : s.evaluations;
        const auto at = find(list, name);
        if (!hasOne) {
            if (at != list.end()) list.erase(at);
        } else if (at != list.end()) {
            at->text = after->text;
        } else {
            list.push_back(*after);
        }
    }
    s.generatedAsRead = std::move(now);
}

}  // namespace vyn
