#pragma once
// The one way an edit's number reaches a value: a text that reads as no number the program
// can compute with or keep in a file ("nan", "inf", "1e999") is refused with a message,
// instead of becoming a value that later makes the plate unreadable or silently missing.
#include <string>

#include "evaluator/NumFormat.h"

namespace vyn {

class TWindow;
class TDialog;

// The message for such a text: "… is not a number.", for dialogs that give it their own way.
std::string NotANumberText(const std::string& typed);

// A field that holds a whole number from low to high (a width, a count, a margin, a
// wavelength). Where the field has always read an empty text as 0, emptyIsZero keeps that.
struct WholeField {
    int low;
    int high;
    bool emptyIsZero = false;
};

// The message for a text such a field refuses: "… is not a whole number from low to high.".
std::string NotAWholeNumberText(const std::string& typed, const WholeField& field);

// The one way a typed whole number reaches a value: true with value set when the text is a
// whole number of the field's range (or empty where that reads as 0); otherwise the user is
// told, with owner as the message's parent, value is untouched and false is returned.
bool TakeTypedWhole(TWindow* owner, const std::string& text, const WholeField& field, int& value);
// The message alone, for an edit that must show its kept value again before the message
// takes the focus from it.
void TellNotAWholeNumber(TWindow* owner, const std::string& text, const WholeField& field);
// The same for the edit of a dialog; a refused edit takes the focus with its text selected,
// so the user can correct it at once.
bool TakeWholeEdit(TDialog& dialog, int editId, const WholeField& field, int& value);

// tnNotANumber has already been told to the user, with the owner as the message's parent.
TypedNumber TakeTypedNumber(TWindow* owner, const std::string& text, double& value);
// The message alone, for an edit that must show its kept value again before the message
// takes the focus from it.
void TellNotANumber(TWindow* owner, const std::string& text);

}  // namespace vyn
