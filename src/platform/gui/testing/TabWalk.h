#pragma once
// A dialog walked with the keyboard as a user does, for tests: Tab and Shift+Tab round every
// control that can take the focus, and each label's marked letter. The keys go in as in
// UserInput.h, to the window that has the keyboard; each walk returns what went wrong, one line
// per fault naming the dialog and the controls (empty when the walk went well).
#include <string>
#include <vector>

namespace vyn {

class TDialog;

// Tab pressed as often as the dialog has tab stops (shown, enabled controls with the tab-stop
// style, those of the page shown inside it included): each press moves the focus to another
// tab stop, every one is reached, and the last press brings the focus back where it began. Then
// the same with Shift+Tab, which goes the same way back. A focus that starts off the tab stops
// is first put on one with Tab.
std::vector<std::string> WalkWithTab(TDialog& dialog);
// Alt and the marked letter of each shown label: the focus lands on the first control after the
// label in the dialog's template that is a shown, enabled tab stop. A letter that several
// controls share is pressed again until it comes round to the label's control.
std::vector<std::string> PressLabelMnemonics(TDialog& dialog);

}  // namespace vyn
