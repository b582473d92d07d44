#pragma once
// What the user sees and does in the program's file dialogs, for tests. They are the
// toolkit's own widgets run in a loop of their own, so a test acts in them once they run: it
// reads the names the list shows and cancels.
#include <functional>
#include <string>
#include <vector>

namespace vyn {

// Runs act as soon as a file dialog is open (at most once); the dialog goes on afterwards
// unless act ended it.
void WhenFileDialogRuns(std::function<void()> act);
// The names the file dialog's list shows once its folder is listed, waiting for the listing
// for at most the given time.
std::vector<std::string> FileDialogNames(const std::string& expected, int waitMs = 5000);
// The dialog's Cancel, by the Escape key.
void CancelFileDialog();
// Whether a file dialog is open now.
bool FileDialogOpen();
// The open file dialog's title bar and the file kind its type box shows ("" without a dialog).
std::string FileDialogTitle();
std::string FileDialogFileKind();
// The name typed into the dialog's name field, then Enter; the dialog adds its default ending
// to a name without one, as it does for the user. The name is typed, then the dialog's Save
// (or Open) button clicked. Answers the texts of the boxes the toolkit's dialog showed of its own
// on the way (each answered No), which no test hook sees; empty when it showed none.
std::vector<std::string> AcceptFileName(const std::string& name);

}  // namespace vyn
