#include "method_editors/ExpressionWizardEntry.h"

#include "controls/QGEdit.h"

namespace vyn {

void RunExpressionWizardFor(QGEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                            const TwostrArray* validations, const TwostrArray* evaluations)
{
    edit.RunExpressionWizard(context, plate, calculations, validations, evaluations);
}

}  // namespace vyn
