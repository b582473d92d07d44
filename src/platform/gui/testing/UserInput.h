#pragma once
// What a user does with the mouse and the keyboard on the program's windows, for tests. Unlike
// TTestHook's direct sends, these go the way real input goes, through the window system's
// path, so a window that a modal window blocks does not get them, and accelerator keys pass
// the shortcut map.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/TestHook.h"

namespace vyn {

class TGadgetWindow;
class TWindow;

// Menu choice and input state, as the test hook gives them (see TestHook.h).
inline std::vector<TMenuBarItem> MenuBarItems(TWindow& frame) { return TTestHook::MenuBarItems(frame); }
inline bool ChooseMenuItem(TWindow& frame, unsigned id) { return TTestHook::ChooseMenuItem(frame, id); }
inline bool ChooseMenuItem(TWindow& frame, const std::string& popup, const std::string& item)
{
    return TTestHook::ChooseMenuItem(frame, popup, item);
}
inline bool TakesInput(TWindow& window) { return TTestHook::TakesInput(window); }
// A mouse click at the middle of the window (client coordinates when x, y are given); true
// when a window of the program received it (not swallowed because a modal window blocks it).
bool ClickReaches(TWindow& window, int x = -1, int y = -1);
// The mouse moved onto the middle of the window (client coordinates when x, y are given), as a
// user points at it: the windows it leaves and enters hear it (hint lines follow it).
void MouseOver(TWindow& window, int x = -1, int y = -1);
// A click of the right button (the context-menu request) at the middle of the window or at a
// client point; true when a window of the program received it.
bool RightClickReaches(TWindow& window, int x = -1, int y = -1);
// A drag with the left button from one client point of the window to another, in a few steps,
// through the window system's path (modKeys: MK_SHIFT, MK_CONTROL held throughout). A press
// and release at the same point is a click.
void DragMouse(TWindow& window, int fromX, int fromY, int toX, int toY, unsigned modKeys = 0);
// A key pressed on the window as the keyboard gives it, accelerators included.
void PressKey(TWindow& window, unsigned vk, unsigned modKeys = 0);
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
