#pragma once
// What a user does with the mouse and the keyboard on the program's windows, for tests. Unlike
// TTestHook's direct sends, these go the way real input goes, through the window system's
// path, so a window that a modal window blocks does not get them, and accelerator keys pass
// the shortcut map.
#include <functional>
#include <string>
#include <vector>

namespace vyn {

class TGadgetWindow;
class TWindow;

struct TMenuBarItem {
    unsigned id;
    std::string path;  // popup texts and the item's text, joined by '/', mnemonics kept
    std::string key;   // the accelerator shown beside it
    bool enabled;      // after the enablers were asked, as when its popup opens
};

// Every command item of the frame's menu bar as it stands now.
std::vector<TMenuBarItem> MenuBarItems(TWindow& frame);
// Chooses the item of the command as a user does: opens its popups, which asks their
// enablers, and clicks it. False when it is not on the bar, is greyed, or the frame takes no
// input because a modal window is open over it.
bool ChooseMenuItem(TWindow& frame, unsigned id);
// A mouse click at the middle of the window (client coordinates when x, y are given); true
// when a window of the program received it (not swallowed because a modal window blocks it).
bool ClickReaches(TWindow& window, int x = -1, int y = -1);
// The mouse moved onto the middle of the window (client coordinates when x, y are given), as a
// user points at it: the windows it leaves and enters hear it (hint lines follow it).
void MouseOver(TWindow& window, int x = -1, int y = -1);
// A key pressed on the window as the keyboard gives it, accelerators included.
void PressKey(TWindow& window, unsigned vk, unsigned modKeys = 0);
// Whether the window takes input from the user now.
bool TakesInput(TWindow& window);
// A click on the gadget of the id, at its middle.
bool ClickGadget(TGadgetWindow& bar, int id);
// The close request of the window's title-bar button.
void RequestClose(TWindow& window);
// The modal window that is open now (a modal frame such as the print preview), or none.
TWindow* ActiveModalWindow();
// Whether the program was asked to end (the main window closed); the request is taken, so
// that the next test's modal loops run.
bool TakeQuitRequest();
// Runs act on the modal window as soon as one runs its loop: what the user does in a modal
// frame that no dialog answer of the test hook can reach.
void WhenModalWindowRuns(std::function<void(TWindow&)> act);

}  // namespace vyn
