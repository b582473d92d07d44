#include "method_editors/MethodWizardDialogs.h"

#include "method_editors/QWizzAll.h"

namespace vyn {

int RunMethodWizardDialog(TWindow* parent, const QPlate* plate, MethodWizardData& data)
{
    QWizzAll wiz(parent, plate);
    wiz.calibration = data.calibration;
    QWizzState& s = wiz.st;
    s.calculations = data.calculations;
    s.evaluations = data.evaluations;
    s.validations = data.validations;
    s.useReference = data.useRefFilter;
    s.measFilter = data.measFilter;
    s.refFilter = data.refFilter;
    s.readerOptions = data.readerOptions;
    if (wiz.Execute() != IDOK) return 0;

    CurveFitValues& c = data.curveFit;
    c.changed = s.curveFitValid != 0;
    if (c.changed) {
        c.model = s.model;
        c.decreasing = s.decreasing;
        c.logX = s.logX;
        c.concentrations = s.concentrations;
        c.fixedK = s.fixedK;
        c.K0 = s.K0;
        c.K1 = s.K1;
    }
    data.calculations = s.calculations;
    data.evaluations = s.evaluations;
    data.validations = s.validations;
    data.useRefFilter = s.useReference;
    data.measFilter = s.measFilter;
    data.refFilter = s.refFilter;
    data.readerOptions = s.readerOptions;
    return 1;
}

int MethodWizardDialogs::RunMethodWizard(MethodWizardData& data) { return RunMethodWizardDialog(Parent(), Plate(), data); }

}  // namespace vyn
