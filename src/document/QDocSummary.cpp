// Read-only accounts of the plate's evaluation state for the "Status" list: the whole plate,
// one sample, the calibration. Nothing here changes the plate.
#include <cctype>
#include <string>

#include "document/QDoc.h"
#include "evaluator/FormatValueText.h"
#include "plate/PlateSettings.h"
#include "plate/QNSample.h"
#include "plate/Utilities.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

enum SummaryText : int {
    stPlateTitle = 1460,
    stFile = 1461,
    stNoName = 1462,
    stMethod = 1463,
    stCommentIndent = 1464,
    stBlanking = 1465,
    stNotCalculated = 1466,
    stError = 1467,
    stCalibration = 1468,
    stOk = 1469,
    stCalculation = 1470,
    stValidation = 1471,
    stCalculationError = 1472,
    stValidTest = 1473,
    stInvalidTest = 1474,
    stYes = 1475,
    stNo = 1476,
    stValidValues = 1477,
    stMeasuredValues = 1478,
    stSampleTotal = 1479,
    stSamplesCalculated = 1480,
    stEnd = 1481,
    stFixedSampleTitle = 1482,
    stSeqSampleTitle = 1483,
    stLocalDefinition = 1484,
    stEvaluatesTo = 1485,
    stCalibrationTitle = 1486,
    stModel = 1487,
    stStatusOk = 1488,
};

// The list's value column holds what a 256-character buffer held.
constexpr std::size_t kValueLimit = 255;

std::string Res(int id)
{
    return GetResStringStd(id);
}

std::string ValueText(const TStackVal& value)
{
    if (value.IsError()) return Res(stError);
    return CutUtf8(FormatValueText(value), kValueLimit);
}

// The label's first "%d" (with an optional width, "%2d") replaced by the number. The
// table's text is data, so it is never handed to printf as a format.
std::string WithNumber(int id, int number)
{
    const std::string pattern = Res(id);
    const std::size_t at = pattern.find('%');
    if (at == std::string::npos) return pattern;
    std::size_t p = at + 1;
    std::size_t width = 0;
    while (p < pattern.size() && std::isdigit(static_cast<unsigned char>(pattern[p])) && width < 100)
        width = width * 10 + static_cast<std::size_t>(pattern[p++] - '0');
    if (p >= pattern.size() || pattern[p] != 'd') return pattern;
    std::string digits = std::to_string(number);
    if (digits.size() < width) digits.insert(0, width - digits.size(), ' ');
    return pattern.substr(0, at) + digits + pattern.substr(p + 1);
}

void Run(IDocDialogs& ui, void (QDoc::*fill)(IStatusReport&) const, const QDoc& doc)
{
    std::unique_ptr<IStatusReport> report = ui.MakeInfoReport();
    if (!report) return;
    (doc.*fill)(*report);
    report->Run();
}

}  // namespace

void QDoc::FillPlateSummary(IStatusReport& r) const
{
    const QPlate& p = fPlate;
    r.SetTitle(Res(stPlateTitle));
    r.AddMessage(Res(stFile) + (HasDocPath() ? GetDocPath() : Res(stNoName)));
    r.AddMessage(Res(stMethod) + p.methodName);
    r.AddMessage(Res(stCommentIndent) + p.methodInfo);
    r.AddBlankLine();

    if (p.dataMode != dmMeasured) {
        if (!p.currentBlank) {
            r.AddMessage(Res(stBlanking) + Res(stNotCalculated));
        } else if (p.currentBlank->IsError()) {
            r.AddMessage(Res(stBlanking) + Res(stError));
        } else {
            r.AddMessage(Res(stBlanking));
            r.AddEntry(p.currentBlank->Name(), ValueText(*p.currentBlank));
        }
        r.AddBlankLine();
    }

    if (p.stdInUse) {
        std::string line = Res(stCalibration);
        if (p.calibr.state == csNotCalculated) line += Res(stNotCalculated);
        else if (p.calibr.state == csValid) line += QCalibr::ModelName(p.calibr.model) + Res(stOk);
        else line += p.calibr.message;
        r.AddMessage(line);
        r.AddBlankLine();
    }

    const QDefinitionList& calc = p.calculations;
    if (calc.DefinitionCount() > 0) {
        if (calc.ResultCount() == calc.DefinitionCount()) {
            r.AddMessage(Res(stCalculation));
            for (int k = 0; k < calc.ResultCount(); ++k) {
                const std::size_t i = static_cast<std::size_t>(k);
                r.AddEntry(calc.definitions[i].name, ValueText(calc.results[i]));
            }
        } else {
            r.AddMessage(Res(stCalculation) + Res(stNotCalculated));
        }
        r.AddBlankLine();
    }

    const QDefinitionList& val = p.validations;
    if (val.DefinitionCount() > 0) {
        int verdict = stNotCalculated;
        switch (p.validity) {
        case pvError: verdict = stCalculationError; break;
        case pvValid: verdict = stValidTest; break;
        case pvInvalid: verdict = stInvalidTest; break;
        default: break;
        }
        r.AddMessage(Res(stValidation) + Res(verdict));
        for (int k = 0; k < val.ResultCount(); ++k) {
            const std::size_t i = static_cast<std::size_t>(k);
            const TStackVal& v = val.results[i];
            const std::string name = i < val.definitions.size() ? val.definitions[i].name : v.Name();
            if (v.IsError()) r.AddEntry(name, Res(stError));
            else r.AddEntry(name, Res(v.IsNumber() && v.Number() == 0.0 ? stNo : stYes));
        }
        r.AddBlankLine();
    }

    if (p.measuredCount != 0 || p.dataCount != 0) {
        r.AddMessage(WithNumber(stValidValues, p.dataCount));
        if (p.dataMode != dmMeasured) r.AddMessage(WithNumber(stMeasuredValues, p.measuredCount));
        r.AddBlankLine();
    }

    if (p.sampleCount > 0) {
        r.AddMessage(WithNumber(stSampleTotal, p.sampleCount));
        r.AddMessage(WithNumber(stSamplesCalculated, p.samplesWithResults));
        r.AddBlankLine();
    }
    r.AddMessage(Res(stEnd));
}

void QDoc::FillSampleStatus(IStatusReport& r, int index) const
{
    const QSample* s = fPlate.GetSample(index);
    if (!s) return;
    std::string title;
    if (s->IsFixed()) title = FormatWithArg(GetResString(stFixedSampleTitle), IndexToLetters(index).c_str());
    else title = WithNumber(stSeqSampleTitle, s->SeqNumber());
    r.SetTitle(title + s->ident);

    const auto* quant = dynamic_cast<const QNSample*>(s);
    if (s->HasOwnDefinition() || (quant && quant->HasOwnQuantDefinition())) {
        r.AddMessage(Res(stLocalDefinition));
        r.AddBlankLine();
    }

    const QPlateSettings& settings = PlateSettings();
    switch (s->resultState) {
    case rsNotCalculated: r.AddMessage(Res(stNotCalculated)); break;
    case rsCalculated:
        r.AddMessage(Res(stEvaluatesTo) + (s->results.empty() ? std::string() : ValueText(s->results.back())));
        break;
    case rsUnder: r.AddMessage(Res(stEvaluatesTo) + settings.resUnder); break;
    case rsOver: r.AddMessage(Res(stEvaluatesTo) + settings.resOver); break;
    default: r.AddMessage(Res(stEvaluatesTo) + settings.resError); break;
    }
    for (const TStackVal& v : s->results) r.AddEntry(v.Name(), ValueText(v));
}

void QDoc::FillCalibrationStatus(IStatusReport& r) const
{
    const QCalibr& c = fPlate.calibr;
    r.SetTitle(Res(stCalibrationTitle));
    r.AddMessage(Res(stModel) + QCalibr::ModelName(c.model));
    if (c.state == csNotCalculated) r.AddMessage(Res(stNotCalculated));
    else if (c.state == csValid) r.AddMessage(Res(stStatusOk));
    else r.AddMessage(c.message);
    if (c.state == csValid) {
        r.AddBlankLine();
        r.AddMessage(c.message);
    }
}

void QDoc::ShowPlateSummary(IDocDialogs& ui)
{
    Run(ui, &QDoc::FillPlateSummary, *this);
}

void QDoc::ShowSampleStatus(IDocDialogs& ui, int index)
{
    if (!fPlate.GetSample(index)) return;
    std::unique_ptr<IStatusReport> report = ui.MakeInfoReport();
    if (!report) return;
    FillSampleStatus(*report, index);
    report->Run();
}

void QDoc::ShowCalibrationStatus(IDocDialogs& ui)
{
    Run(ui, &QDoc::FillCalibrationStatus, *this);
}

}  // namespace vyn
