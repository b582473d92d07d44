#pragma once
// What the user does in the program's font dialog, for tests. It is the toolkit's own dialog
// run in a loop of its own, so a test acts in it once it runs: it reads the family shown,
// types a size into the size field and takes the choice with Enter.
#include <functional>
#include <string>

namespace vyn {

// Runs act as soon as a font dialog is open (at most once); the dialog goes on afterwards
// unless act ended it.
void WhenFontDialogRuns(std::function<void()> act);
// The family the dialog shows chosen.
std::string FontDialogFamily();
// A click into the size field, then the size typed over what it holds; whether the click reached it.
bool TypeFontSize(const std::string& size);
// Enter: the dialog takes what it shows.
void AcceptFontDialog();

}  // namespace vyn
