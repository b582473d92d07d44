#include "printing/QMethodSummaryPrintout.h"

#include "document/MethodSummary.h"
#include "plate/QPlate.h"
#include "printing/PageSettings.h"

namespace vyn {

QMethodSummaryPrintout::QMethodSummaryPrintout(const QPlate& plate, const std::string& docPath)
    : plate_(plate), docPath_(docPath)
{
}

void QMethodSummaryPrintout::LoadMargins() { LoadKindMargins(pkMethod); }
void QMethodSummaryPrintout::StoreMargins() { StoreKindMargins(pkMethod); }
void QMethodSummaryPrintout::LoadFont() { LoadKindFont(pkMethod); }

void QMethodSummaryPrintout::FillReportHeader(const QPlate& plate, const std::string& docPath, PrintHeaderInfo& h)
{
    h.methodName = plate.methodName;
    h.comment = plate.methodInfo;
    h.platePath = docPath;
    h.measuredTime = static_cast<std::int64_t>(plate.measureTime);
    h.filter = plate.measFilter;
    h.refFilter = plate.refFilter;
    h.useReference = plate.useRefFilter;
    h.hasValidations = plate.validations.DefinitionCount() > 0 ? 1 : 0;
    h.validity = plate.validity;
    h.calcValues = &plate.calculations.results;
    h.validationValues = &plate.validations.results;
}

void QMethodSummaryPrintout::PrepareHeader()
{
    FillReportHeader(plate_, docPath_, header);
    dateText = DateTimeText();
}

void QMethodSummaryPrintout::PrintBody()
{
    PrintOutLinePrinter out(*this);
    WriteMethodSummary(plate_, out);
}

}  // namespace vyn
