#include "plate/QQSample.h"

#include <charconv>
#include <cmath>

#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/TEvaluator.h"
#include "platform/core/StringTable.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {

constexpr int kErrDefinitionMissing = 1501;
constexpr int kErrNonValue = 1502;
constexpr int kErrEmptyValue = 1503;

struct NamedColour {
    const char* name;
    int r, g, b;
};

constexpr NamedColour kColourNames[] = {
    {"Black", 0, 0, 0},     {"Gray", 128, 128, 128}, {"Red", 255, 0, 0},
    {"Green", 0, 255, 0},   {"Yellow", 255, 255, 0}, {"Blue", 0, 0, 255},
    {"Magenta", 255, 0, 255}, {"Cyan", 0, 255, 255}, {"White", 255, 255, 255},
};

// One "%d" conversion: optional blanks, an optional sign, digits.
bool ScanInt(std::string_view& text, long long& out)
{
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t' || text[i] == '\n' || text[i] == '\r' ||
                               text[i] == '\f' || text[i] == '\v'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    long long v = 0;
    const char* first = text.data() + i;
    const char* last = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(first, last, v);
    if (ptr == first) return false;
    if (ec == std::errc::result_out_of_range) v = negative ? -(1LL << 31) : (1LL << 31) - 1;
    out = negative ? -v : v;
    text.remove_prefix(static_cast<std::size_t>(ptr - text.data()));
    return true;
}

// The "%d,%d,%d" that follows "RGB(".
bool ScanRgb(std::string_view text, long long& r, long long& g, long long& b)
{
    if (!ScanInt(text, r) || text.empty() || text.front() != ',') return false;
    text.remove_prefix(1);
    if (!ScanInt(text, g) || text.empty() || text.front() != ',') return false;
    text.remove_prefix(1);
    return ScanInt(text, b);
}

}  // namespace

QQSample::QQSample(QPlate* plate_) : QSample(plate_, skQualitative) {}

QQSample::QQSample(QPlate* plate_, int kind_) : QSample(plate_, kind_) {}

QQSample::QQSample(QPlate* plate_, const QQSample& source) : QSample(plate_, skQualitative)
{
    if (source.HasOwnDefinition()) SetOwnDefinition(source.QualDefinition());
}

const TwostrArray& QQSample::QualDefinition() const
{
    return fOwnDef ? *fOwnDef : plate->globalQualDef;
}

std::string QQSample::ResultSource(int i) const
{
    const TwostrArray& def = QualDefinition();
    if (i < 0 || i >= static_cast<int>(def.size())) return {};
    return def[static_cast<std::size_t>(i)].text;
}

void QQSample::UseGlobalDefinition()
{
    fOwnDef.reset();
}

void QQSample::SetOwnDefinition(const TwostrArray& definition)
{
    // The source may be this sample's own array: copy before replacing.
    TwostrArray copy = definition;
    if (!fOwnDef) fOwnDef = std::make_unique<TwostrArray>();
    *fOwnDef = std::move(copy);
}

int QQSample::Calculate()
{
    if (resultState != rsNotCalculated) return 0;
    ResetPresentation();
    EvalQualResult();
    return resultState;
}

void QQSample::EvalQualResult()
{
    // A copy: the definitions must not change under the evaluation.
    const TwostrArray def = QualDefinition();
    const int n = static_cast<int>(def.size());
    resultState = rsCalculated;
    if (n == 0) {
        const int k = AppendResult("res1");
        results[static_cast<std::size_t>(k)].SetErrorFlag(true);
        errorTexts[static_cast<std::size_t>(k)] = GetResStringStd(kErrDefinitionMissing);
        resultState = rsError;
        return;
    }

    TEvaluator ev;
    ev.AddVarPool(plate);
    ev.AddVarPool(this);
    ev.AddFuncPool(plate);
    ev.AddFuncPool(this);

    for (int i = 0; i < n; ++i) {
        const twostr& d = def[static_cast<std::size_t>(i)];
        const int answer = ev.Evaluate(d.text);
        const int k = AppendResult(d.name);
        const std::size_t ks = static_cast<std::size_t>(k);
        TStackVal& r = results[ks];
        if (answer == 0) {
            r = ev.Result();
            r.SetErrorFlag(false);
            if (EqualNoCase(d.name, "color")) ApplyColour(r);
        } else if (answer == 1) {
            r.SetNumber(NoValue);
        } else {
            r.SetNumber(NoValue);
            r.SetErrorFlag(true);
            errorTexts[ks] = QExcErr().GetText();
            errorPositions[ks] = static_cast<int>(ev.CursorOffset());
        }

        bool entry = i == n - 1;
        if (EqualNoCase(d.name, "ShortResult")) {
            shortSelected = true;
            shortIndex = k;
            entry = true;
        } else if (EqualNoCase(d.name, "ExportResult")) {
            exportSelected = true;
            exportIndex = k;
            entry = true;
        }
        if (!entry) continue;
        if (r.IsError()) {
            resultState = rsError;
            continue;
        }
        int check = 0;
        if (r.IsVector()) check = kErrValueNotSimple;
        else if (r.IsNumber() && r.Number() == NoValue) check = kErrNonValue;
        else if (r.IsText() && r.Text().empty()) check = kErrEmptyValue;
        if (check) {
            errorTexts[ks] = GetResStringStd(check);
            r.SetErrorFlag(true);
            resultState = rsError;
        }
    }
}

void QQSample::ApplyColour(const TStackVal& value)
{
    if (value.IsNumber()) {
        if (value.Number() == NoValue) return;
        colour = static_cast<std::uint32_t>(DoubleToInt32(value.Number()));
        colourSet = true;
    } else if (value.IsText()) {
        const std::string& text = value.Text();
        if (text.rfind("RGB(", 0) == 0) {
            long long r, g, b;
            if (ScanRgb(std::string_view(text).substr(4), r, g, b)) {
                colour = static_cast<std::uint32_t>(r + 256 * g + 65536 * b);
                colourSet = true;
            }
            return;
        }
        for (const NamedColour& c : kColourNames) {
            if (EqualNoCase(text, c.name)) {
                colour = static_cast<std::uint32_t>(c.r + 256 * c.g + 65536 * c.b);
                colourSet = true;
                return;
            }
        }
    } else if (value.IsNumberVector() && value.Count() == 3) {
        std::uint32_t built = 0;
        for (int i = 2; i >= 0; --i) {
            const double item = value.NumberAt(i);
            if (item == NoValue) continue;
            const double t = std::trunc(item);
            const std::uint32_t part = (t >= 0.0 && t <= 255.0) ? static_cast<std::uint32_t>(t) : 255u;
            built = (built << 8) + part;
        }
        colour = built;
        colourSet = true;
    }
}

}  // namespace vyn
