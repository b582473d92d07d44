// How the plate is presented (formats, widths, units, curve-view options, the report kept
// with it) and what the curve and sample graph views do to the calibration and to single
// samples. Presentation never touches results; the calibration and sample operations drop
// only what depends on them and recalculate what they are about. A refused operation
// changes nothing at all: no change set, no notification, no dirty flag.
#include "document/QDoc.h"
#include "plate/QNSample.h"

namespace vyn {

namespace {

enum PresentationItem : int {
    piDataFormat = 1,
    piResultFormat = 2,
    piCellWidth = 4,
    piResultWidth = 8,
    piUnits = 16,
};

bool HasValues(const QPlate& p)
{
    return p.measuredCount != 0 || p.dataCount != 0;
}

}  // namespace

bool QDoc::EditDataPresentation(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    PresentationData data;
    data.resultMode = false;
    data.format = p.dataFormat;
    data.fieldWidth = p.cellWidth;
    if (ui.RunPresentation(data) != 1) return false;
    int items = 0;
    if (!(data.format == p.dataFormat)) {
        p.dataFormat = data.format;
        items |= piDataFormat;
    }
    if (data.fieldWidth != p.cellWidth) {
        p.cellWidth = data.fieldWidth;
        items |= piCellWidth;
    }
    if (!items) return false;
    SetDirty();
    Notify(vnPresentationChanged, items);
    return true;
}

bool QDoc::EditResultPresentation(IDocDialogs& ui)
{
    QPlate& p = fPlate;
    PresentationData data;
    data.resultMode = true;
    data.format = p.resultsFormat;
    data.fieldWidth = p.resultFieldWidth;
    data.units = p.units;
    if (ui.RunPresentation(data) != 1) return false;
    int items = 0;
    if (!(data.format == p.resultsFormat)) {
        p.resultsFormat = data.format;
        items |= piResultFormat;
    }
    if (data.fieldWidth != p.resultFieldWidth) {
        p.resultFieldWidth = data.fieldWidth;
        items |= piResultWidth;
    }
    if (data.units != p.units) {
        p.units = data.units;
        items |= piUnits;
    }
    if (!items) return false;
    SetDirty();
    Notify(vnPresentationChanged, items);
    return true;
}

bool QDoc::SetPresentationMode(int resultFieldWidth)
{
    if (resultFieldWidth == fPlate.resultFieldWidth) return false;
    fPlate.resultFieldWidth = resultFieldWidth;
    SetDirty();
    Notify(vnPresentationChanged, piResultWidth);
    return true;
}

void QDoc::SetDisplayOptions(int logX, int logY, int grid)
{
    QPlate& p = fPlate;
    if (p.curveLogX == logX && p.curveLogY == logY && p.curveGrid == grid) return;
    p.curveLogX = logX;
    p.curveLogY = logY;
    p.curveGrid = grid;
    SetDirty();
}

bool QDoc::SetReportDefinition(const std::string& text)
{
    if (text == fPlate.reportDef) return false;
    fPlate.reportDef = text;
    SetDirty();
    return true;
}

void QDoc::CalibrationChanged()
{
    QPlate& p = fPlate;
    p.rst.Reset(0);
    p.InvalidateCalculations();
    p.rst.SetCalibrationChanged();
    SetDirty();
    Notify(vnPlateChanged);
}

bool QDoc::ApplyCalibration()
{
    QPlate& p = fPlate;
    if (!HasValues(p) || p.calibr.state != csNotCalculated || !p.stdInUse || p.calibr.stored) return false;
    const std::vector<QCalEntry> entries = p.stdInUse->CalibrationEntries();
    if (p.calibr.Recalc(&entries) != 1) return false;
    CalibrationChanged();
    return true;
}

bool QDoc::SetCurveRange(double low, double high)
{
    if (!fPlate.calibr.SetRange(low, high)) return false;
    CalibrationChanged();
    return true;
}

bool QDoc::SetPointFlags(const std::vector<int>& flags)
{
    if (!fPlate.calibr.ApplyPointFlags(flags)) return false;
    CalibrationChanged();
    return true;
}

bool QDoc::CalculateSample(int index)
{
    QPlate& p = fPlate;
    QSample* s = p.GetSample(index);
    if (!s || !HasValues(p) || s->HasResults()) return false;
    p.rst.Reset(0);
    p.InvalidateSamplesAfter(index);
    p.rst.MarkSample(index);
    s->MarkWellsChanged();
    s->Calculate();
    if (s->HasResults()) ++p.samplesWithResults;
    SetDirty();
    Notify(vnPlateChanged);
    return true;
}

bool QDoc::SetSamplePointFlags(int index, const std::vector<int>& flags)
{
    QPlate& p = fPlate;
    auto* s = dynamic_cast<QNSample*>(p.GetSample(index));
    if (!s || !HasValues(p) || !s->HasResults()) return false;
    p.rst.Reset(0);
    p.InvalidateSamplesAfter(index);
    p.rst.MarkSample(index);
    s->MarkWellsChanged();
    s->Recalculate(flags);
    SetDirty();
    Notify(vnPlateChanged);
    return true;
}

}  // namespace vyn
