#pragma once
// The expression contexts in which the method pages open the expression wizard for one of
// their edits, and the one call they open it with.
#include "plate/twostr.h"

namespace vyn {

class QGEdit;
class QPlate;

enum ExpressionContext : int {
    ecGlobalBlank = 0, ecTransformation = 1, ecCalculations = 2, ecValidations = 3, ecEvaluations = 4,
};

// Runs the wizard modally for the edit, which it may insert text into; the lists may be none.
void RunExpressionWizardFor(QGEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations = nullptr,
                            const TwostrArray* validations = nullptr, const TwostrArray* evaluations = nullptr);

}  // namespace vyn
