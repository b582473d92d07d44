#pragma once
// Message boxes and the warning beep. Under the test hook nothing is shown: the registered
// answer is returned and the text is recorded.
#include <string>

#include "platform/gui/WindowMessages.h"

namespace vyn {

class TWindow;

// Shows the text with the caption, the buttons and the icon of the flags; returns IDOK, IDCANCEL,
// IDYES, IDNO, ... for the button pressed. Closing the box counts as its cancel button (or as
// the only button of an MB_OK box).
int MessageBox(TWindow* parent, const std::string& text, const std::string& caption, unsigned flags = MB_OK);
void MessageBeep(unsigned type = 0);

}  // namespace vyn
