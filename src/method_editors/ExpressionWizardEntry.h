#pragma once
// Where the method pages open the expression wizard for one of their edits. The wizard itself
// lives beside them and installs its entry here when it is linked in; until then a request
// only beeps.
#include "plate/twostr.h"

namespace vyn {

class QGEdit;
class QPlate;

// Expression contexts of the wizard.
enum ExpressionContext : int {
    ecGlobalBlank = 0, ecTransformation = 1, ecCalculations = 2, ecValidations = 3, ecEvaluations = 4,
};

// Runs the wizard modally for the edit, which it may insert text into; the lists may be none.
using ExpressionWizardFn = void (*)(QGEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                                    const TwostrArray* validations, const TwostrArray* evaluations);
void SetExpressionWizard(ExpressionWizardFn fn);
ExpressionWizardFn GetExpressionWizard();

// Marks the edit as running a wizard while it runs, so that its losing the focus to the wizard
// stores nothing half typed.
void RunExpressionWizardFor(QGEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations = nullptr,
                            const TwostrArray* validations = nullptr, const TwostrArray* evaluations = nullptr);

}  // namespace vyn
