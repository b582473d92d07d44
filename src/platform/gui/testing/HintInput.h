#pragma once
// What a user sees of the hints: the tool tip that appears when the mouse rests on a window,
// and the status line while a menu item is highlighted. The mouse goes the window system's
// way, as in UserInput.h.
#include <string>

namespace vyn {

class TWindow;

// The mouse comes onto the window's client point and rests there until the tool tip shows;
// the tip's text, or empty when none appears.
std::string RestMouse(TWindow& window, int x, int y);
// The popup of the frame's menu bar that holds the command is opened with a click on its
// title and the mouse moved onto the item, so that it is highlighted; false when the bar has
// no such item.
bool HighlightMenuItem(TWindow& frame, unsigned id);
// Closes every open popup menu, as Escape does.
void CloseMenus();

}  // namespace vyn
