#pragma once
// A whole number typed into an edit of a dialog, taken or refused in one way for every dialog,
// the framework's own (the print dialog's copies and pages) and the program's.
#include <string>

#include "platform/core/TypedNumbers.h"

namespace vyn {

class TDialog;

// The edit's text as a whole number of the field's range (or an empty text where that reads as
// 0): true with value set. Any other text is refused: the user is told ("… is not a whole number
// from low to high.", under caption), the edit takes the focus with its text selected so that it
// can be mended at once, and false is returned with value untouched. An edit its dialog hides
// is never refused, for it cannot be mended where it stands: a whole number of the range (or an
// empty text where that reads as 0) is taken, any other text keeps value, and nothing is said.
// A dialog without that edit takes nothing and answers true.
bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value, const std::string& caption);

}  // namespace vyn
