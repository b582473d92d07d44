// The plate as a variable and function pool: well names and ranges, the blank, calculation
// and validation results, calibration facts, the control and standard samples, and method
// and measurement facts; the calibration functions and the current well's position.
#include <cctype>
#include <cstdio>

#include "evaluator/EvalErrors.h"
#include "evaluator/NoValue.h"
#include "evaluator/QExcErr.h"
#include "evaluator/ValueChecks.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "platform/core/TimeLocale.h"
#include "plate/QPlate.h"
#include "plate/Utilities.h"

namespace vyn {

namespace {

struct WellCorner {
    int row = 0;
    int column = 0;   // 1-based as written
};

// One corner: one or two letters, then one or two digits.
bool ReadCorner(std::string_view s, std::size_t& i, WellCorner& c)
{
    auto isUpper = [](char ch) { return ch >= 'A' && ch <= 'Z'; };
    auto isDigit = [](char ch) { return ch >= '0' && ch <= '9'; };
    if (i >= s.size() || !isUpper(s[i])) return false;
    int row = s[i++] - 'A';
    if (i < s.size() && isUpper(s[i])) row = (row + 1) * 26 + (s[i++] - 'A');
    if (i >= s.size() || !isDigit(s[i])) return false;
    int column = s[i++] - '0';
    if (i < s.size() && isDigit(s[i])) column = column * 10 + (s[i++] - '0');
    c.row = row;
    c.column = column;
    return true;
}

std::string FormatMs(std::uint64_t time, bool date)
{
    if (time == 0) return {};
    LocalTime t;
    if (!LocalTimeFromMs(static_cast<std::int64_t>(time), t)) return {};
    const TimeLocale& locale = CurrentTimeLocale();
    return CutUtf8(date ? locale.ShortDate(t) : locale.ShortTime(t), 63);
}

}  // namespace

std::string QPlate::FormatFileDate(std::uint64_t time)
{
    return FormatMs(time, true);
}

std::string QPlate::FormatFileTime(std::uint64_t time)
{
    return FormatMs(time, false);
}

int QPlate::LookupWellName(TStackVal& value) const
{
    std::string_view name = value.Name();
    bool measured = gPlateLevelEvaluation;
    if (name.size() >= 2 && (name[0] == 'M' || name[0] == 'm') && name[1] == '_') {
        measured = true;
        name.remove_prefix(2);
    }
    if (name.size() < 2 || name.size() > 8) return -1;
    char upper[8];
    for (std::size_t i = 0; i < name.size(); ++i)
        upper[i] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[i])));
    const std::string_view s(upper, name.size());

    std::size_t i = 0;
    WellCorner a, b;
    if (!ReadCorner(s, i, a)) return -1;
    bool range = false;
    if (i < s.size()) {
        if (!ReadCorner(s, i, b) || i != s.size()) return -1;
        range = true;
    }
    auto inside = [this](const WellCorner& c) {
        return c.column >= 1 && c.column <= columns && c.row >= 0 && c.row < rows;
    };
    auto valueAt = [&](int row, int column) {
        const QWellRecord& w = wells[static_cast<std::size_t>(row * columns + column)];
        return measured ? w.measured : w.data;
    };
    if (!inside(a)) return -1;
    if (!range) {
        value.SetNumber(valueAt(a.row, a.column - 1));
        return 1;
    }
    if (!inside(b)) return -1;
    const int rowStep = b.row >= a.row ? 1 : -1;
    const int colStep = b.column >= a.column ? 1 : -1;
    const int nRows = (b.row - a.row) * rowStep + 1;
    const int nCols = (b.column - a.column) * colStep + 1;
    value.MakeNumberVector(nRows * nCols);
    for (int r = 0; r < nRows; ++r) {
        for (int c = 0; c < nCols; ++c)
            value.AppendNumber(valueAt(a.row + r * rowStep, a.column - 1 + c * colStep));
    }
    return 1;
}

bool QPlate::GetVar(TStackVal& value)
{
    const std::string& name = value.Name();

    if (wellCursor > 0 && wellCursor <= wellCount && (EqualNoCase(name, "Cur") || EqualNoCase(name, "M_Cur"))) {
        value.SetNumber(wells[static_cast<std::size_t>(wellCursor - 1)].measured);
        return true;
    }
    if (LookupWellName(value) == 1) return true;

    if (currentBlank && EqualNoCase(currentBlank->Name(), name)) {
        if (currentBlank->IsError()) return false;
        value = *currentBlank;
        return true;
    }
    for (const QDefinitionList* list : {&calculations, &validations}) {
        if (const TStackVal* r = list->FindResult(name)) {
            if (r->IsError()) return false;
            value = *r;
            return true;
        }
    }

    const bool isXMin = EqualNoCase(name, "caxmin"), isXMax = EqualNoCase(name, "caxmax");
    const bool isYMin = EqualNoCase(name, "caymin"), isYMax = EqualNoCase(name, "caymax");
    if (isXMin || isXMax || isYMin || isYMax) {
        double v = NoValue;
        if (calibr.state == csValid && calibr.results.size() > crRangeHi) {
            const double lo = calibr.results[crRangeLo];
            const double hi = calibr.results[crRangeHi];
            if (isXMin) v = lo;
            else if (isXMax) v = hi;
            else {
                const bool lowEnd = isYMin != (calibr.decreasing != 0);
                v = calibr.CurveY(lowEnd ? lo : hi);
            }
        }
        value.SetNumber(v);
        return true;
    }

    for (QSample* s : {static_cast<QSample*>(globInUse), static_cast<QSample*>(stdInUse)}) {
        if (!s) continue;
        const int answer = s->LookupVar(value);
        if (answer == 1) return true;
        if (answer == 0) return false;
    }

    if (EqualNoCase(name, "stdconc")) {
        if (stdInUse) {
            value.MakeNumberVector(static_cast<int>(calibr.concentrations.size()));
            for (double c : calibr.concentrations) value.AppendNumber(c);
        } else {
            value.MakeNumberVector(0);
        }
        return true;
    }
    if (EqualNoCase(name, "units")) {
        value.SetText(units);
        return true;
    }
    if (EqualNoCase(name, "tmea")) {
        value.SetNumber(static_cast<double>(measureTime));
        return true;
    }
    if (EqualNoCase(name, "meadate")) {
        value.SetText(FormatFileDate(measureTime));
        return true;
    }
    if (EqualNoCase(name, "meatime")) {
        value.SetText(FormatFileTime(measureTime));
        return true;
    }
    if (EqualNoCase(name, "method")) {
        value.SetText(methodName);
        return true;
    }
    if (EqualNoCase(name, "methodinfo")) {
        value.SetText(methodInfo);
        return true;
    }
    const bool refShown = useRefFilter && refFilter != 0;
    if (EqualNoCase(name, "filters")) {
        std::string text;
        if (measFilter != 0) text = std::to_string(measFilter);
        if (refShown) text += "/" + std::to_string(refFilter);
        value.SetText(text);
        return true;
    }
    if (EqualNoCase(name, "filter")) {
        value.SetText(measFilter != 0 ? std::to_string(measFilter) : std::string());
        return true;
    }
    if (EqualNoCase(name, "fltref")) {
        value.SetText(refShown ? std::to_string(refFilter) : std::string());
        return true;
    }
    if (EqualNoCase(name, "model")) {
        value.SetText(QCalibr::ModelName(calibr.model));
        return true;
    }
    if (EqualNoCase(name, "modelex")) {
        value.SetText(QCalibr::ModelFormula(calibr.model));
        return true;
    }
    if (EqualNoCase(name, "modelerror")) {
        value.SetText(calibr.state < 0 ? calibr.message : std::string());
        return true;
    }
    return TVarPool::GetVar(value);
}

bool QPlate::GetQualifiedVar(TStackVal& qualifier, TStackVal& member)
{
    if (QSample* s = FindSampleById(qualifier.Name())) return s->GetVar(member);
    return TVarPool::GetQualifiedVar(qualifier, member);
}

bool QPlate::CallFunc(TStackVal* args, int count)
{
    const std::string& name = args[0].Name();
    if (wellCursor > 0 && wellCursor <= wellCount && (EqualNoCase(name, "col") || EqualNoCase(name, "row"))) {
        if (count != 0) ThrowEvalError(kErrWrongArgument, name);
        const int well = wellCursor - 1;
        args[0].SetNumber(EqualNoCase(name, "col") ? well % columns : well / columns);
        return true;
    }
    const bool toX = EqualNoCase(name, "catox"), toY = EqualNoCase(name, "catoy");
    const bool test = EqualNoCase(name, "catest");
    if (toX || toY || test) {
        if (count != 1) ThrowEvalError(kErrWrongArgCount, name);
        RequireNumber(args[1]);
        const double a = args[1].Number();
        if (a == NoValue || calibr.state != csValid) {
            args[0].SetNumber(test ? 0.0 : NoValue);
            return true;
        }
        if (toX) {
            double y = a;
            args[0].SetNumber(calibr.XFromY(y) == 0 ? y : NoValue);
        } else if (toY) {
            args[0].SetNumber(calibr.CurveY(a));
        } else {
            args[0].SetNumber(calibr.TestY(a));
        }
        return true;
    }
    return TFuncPool::CallFunc(args, count);
}

bool QPlate::CallQualifiedFunc(TStackVal* args, int count)
{
    if (QSample* s = FindSampleById(args[0].Name())) return s->CallFunc(args + 1, count);
    return TFuncPool::CallQualifiedFunc(args, count);
}

}  // namespace vyn
