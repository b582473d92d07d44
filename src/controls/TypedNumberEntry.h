#pragma once
// The one way an edit's number reaches a value: a text that reads as no number the program
// can compute with or keep in a file ("nan", "inf", "1e999") is refused with a message,
// instead of becoming a value that later makes the plate unreadable or silently missing.
#include <string>

#include "evaluator/NumFormat.h"

namespace vyn {

class TWindow;
class TDialog;

// The texts of the messages (NotANumberText, NotAWholeNumberText) and WholeField are the
// platform core's (platform/core/TypedNumbers.h), so that its own dialogs say the same.

// The message alone, for an edit that must show its kept value again before the message
// takes the focus from it.
void TellNotAWholeNumber(TWindow* owner, const std::string& text, const WholeField& field);
// A whole number typed into the edit of a dialog, taken or refused as the platform's
// TakeWholeEdit does (platform/gui/WholeEdit.h), under the program's caption.
bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value);

// tnNotANumber has already been told to the user, with the owner as the message's parent.
TypedNumber TakeTypedNumber(TWindow* owner, const std::string& text, double& value);
// The message alone, for an edit that must show its kept value again before the message
// takes the focus from it.
void TellNotANumber(TWindow* owner, const std::string& text);

// The whole number an edit shows, for a sample that follows the edit while the user types or a
// spin button that steps it: an empty text is 0; false, value untouched, for a text that is no
// whole number (the sample keeps what it showed, the spin leaves the text for OK to refuse).
bool ShownWhole(const std::string& text, int& value);

// A real-number field whose empty text means "not given": tnMissing (value NoValue) only for an
// empty or blank text; a number that is none the program can keep, and a text that holds no
// number at all (letters), are tnNotANumber with value untouched. What follows a number is
// not read, as in every real-number edit.
TypedNumber ReadNumberField(const std::string& text, double& value);
// The same for the edit of a dialog, its text cut to maxChars characters; a refused text is
// told to the user ("… is not a number."), the edit takes the focus with its text selected, and
// false is returned with value untouched.
bool TakeNumberEdit(TDialog& dialog, int editId, std::size_t maxChars, double& value);

}  // namespace vyn
