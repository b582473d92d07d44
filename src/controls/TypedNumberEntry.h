#pragma once
// The one way an edit's number reaches a value: a text that reads as no number the program
// can compute with or keep in a file ("nan", "inf", "1e999") is refused with a message,
// instead of becoming a value that later makes the plate unreadable or silently missing.
#include <string>

#include "evaluator/NumFormat.h"

namespace vyn {

class TWindow;

// The message for such a text: "… is not a number.", for dialogs that give it their own way.
std::string NotANumberText(const std::string& typed);

// tnNotANumber has already been told to the user, with the owner as the message's parent.
TypedNumber TakeTypedNumber(TWindow* owner, const std::string& text, double& value);
// The message alone, for an edit that must show its kept value again before the message
// takes the focus from it.
void TellNotANumber(TWindow* owner, const std::string& text);

}  // namespace vyn
