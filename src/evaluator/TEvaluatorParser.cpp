#include "evaluator/TEvaluator.h"
#include "evaluator/EvalErrors.h"
#include "evaluator/QExcErr.h"

namespace vyn {
// Placeholder while the parser is written.
void TEvaluator::ParseInput() { ThrowEvalError(kErrInternal); }
}  // namespace vyn
