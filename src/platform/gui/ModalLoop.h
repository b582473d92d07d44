#pragma once
// A modal loop for a window that is not a dialog (a frame such as the print preview): while it
// runs, the other windows of the program take no input, and it ends when EndModal is called,
// from a command of the window or from a message posted before the loop began.
namespace vyn {

class TWindow;

// Shows the window, runs the loop until EndModal and answers the result given there. The
// window is hidden when the loop has ended; its creator destroys or shows it again.
int BeginModal(TWindow& window);
// Ends the innermost running loop with the result; nothing happens when none runs.
void EndModal(int result);
bool InModalLoop();

}  // namespace vyn
