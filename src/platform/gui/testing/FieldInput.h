#pragma once
// Typing a value over what a field holds, as a user does: the caret to the start, the whole text
// taken with Shift+End, and the new text typed over it. The keys go to the window that has the
// keyboard, as in UserInput.h.
#include <string>

namespace vyn {

class TWindow;

// The whole text of the field that has the keyboard taken and the text typed over it (an
// empty text empties the field).
void TypeOver(const std::string& text);
// A click into the field first (its middle), then the text typed over its whole text; whether the click reached it.
bool TypeIntoField(TWindow& field, const std::string& text);

}  // namespace vyn
