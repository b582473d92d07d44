#pragma once
// A dialog walked with the keyboard as a user does, for tests: Tab and Shift+Tab round every
// control that can take the focus, each label's marked letter, the arrows in radio groups, Space
// on buttons, Alt with letters no control has, and a button's letter followed by Enter. The keys go in as in
// UserInput.h, to the window that has the keyboard; each walk returns what went wrong, one line
// per fault naming the dialog and the controls (empty when the walk went well).
#include <functional>
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

// The radio groups of the dialog and of the page shown in it (a group runs from a line of the
// template with the group style to the next such line), each with the keys: Tab enters the
// group at its checked button (at its first one when none is checked); Down, as often as the
// group has buttons, goes round the group in the template's order, checks the button it lands on
// and leaves no other checked, and never takes the focus out of the group; Tab out and Shift+Tab
// back in land on the button checked then; Up goes back. Every button of every group is checked
// so once. The choice checked at the start is checked again at the end.
std::vector<std::string> WalkRadioGroups(TDialog& dialog);
// Space on every shown, enabled push button (owner-drawn ones included) of the dialog and of the
// page shown in it, with the focus on it: the dialog hears one press of it. pressesHeard(id)
// tells how many presses of the button the dialog has heard so far.
std::vector<std::string> PressSpaceOnButtons(TDialog& dialog, const std::function<int(int id)>& pressesHeard);
// Alt and each letter that no shown label or button of the window marks, pressed in every shown,
// enabled field that takes typing (edits, editable combo boxes): the field's text stays as it was.
std::vector<std::string> PressUnmarkedAltLetters(TDialog& dialog);
// Alt and the marked letter of each shown, enabled check box and radio button whose letter is
// its own, followed at once by Enter: by the time the dialog hears Enter's button, the control
// has changed (a radio button is checked, a check box turned over). checkSeenAtEnter(id) tells
// the check state of the control that the dialog read when it heard the last Enter (-1 when it
// heard none). A check box is turned back afterwards.
std::vector<std::string> PressMarkedLettersThenEnter(TDialog& dialog, const std::function<int(int id)>& checkSeenAtEnter);

}  // namespace vyn
