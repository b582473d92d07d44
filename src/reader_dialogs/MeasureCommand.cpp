#include "reader_dialogs/MeasureCommand.h"

#include <vector>

#include "document/QDoc.h"
#include "reader_dialogs/QMeaDlg.h"

namespace vyn {

namespace {
constexpr int kRows = 8, kCols = 12;
}

MeasureOutcome RunMeasureCommand(TWindow* parent, QDoc& doc, bool autoMakeAfterMeasure, QFoto* driver)
{
    MeasureOutcome outcome;
    QPlate& plate = doc.GetPlate();
    std::vector<double> values(kRows * kCols, 0.0);

    QMeaDlg dlg(parent, driver);
    dlg.rows = kRows;
    dlg.cols = kCols;
    dlg.values = values.data();
    dlg.wavelength = plate.measFilter;
    dlg.refWavelength = plate.refFilter;
    dlg.useReference = plate.useRefFilter;
    dlg.options = plate.readerOptions;
    dlg.hasValues = plate.measuredCount > 0;
    dlg.mayAutoProcess = plate.dataMode != dmMeasured || plate.stdInUse != nullptr ||
                         plate.calculations.DefinitionCount() > 0 || plate.validations.DefinitionCount() > 0 ||
                         plate.sampleCount > 0;
    dlg.autoProcess = autoMakeAfterMeasure && dlg.mayAutoProcess;
    if (dlg.Execute() != IDOK) return outcome;

    plate.measFilter = dlg.wavelength;
    plate.refFilter = dlg.refWavelength;
    plate.useRefFilter = dlg.useReference;
    plate.readerOptions = dlg.options;
    doc.SetMeasuredData(values, dlg.hasValues && dlg.subtract);
    outcome.measured = true;
    outcome.autoProcess = dlg.autoProcess;
    return outcome;
}

}  // namespace vyn
