#pragma once
// What a user does with the mouse and the keyboard on the program's windows, for tests, and what
// the screen then shows. Input enters as Qt events at a point on the screen: the widget is the
// one Qt finds there, and the event goes the window system's way through QApplication, so the
// widget on top takes a click (a list's viewport, a group box lying over check boxes), a modal
// window blocks the others, a key passes the shortcut map and the focus chain first (Tab,
// accelerators, mnemonics). Nothing here calls a handler or sends a message. The readers report
// what is painted or shown (ShownScreen.h), not what a window object stores.
#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"

class QWidget;

namespace vyn {

class TDialog;
class TGadgetWindow;
class TWindow;

// ---- where on the screen

// The screen point of a client point of the window (its middle when x, y are -1).
QPoint ScreenPoint(TWindow& window, int x = -1, int y = -1);
// The screen point of a point of the widget (its middle when local is (-1, -1)).
QPoint ScreenPoint(QWidget* widget, QPoint local = QPoint(-1, -1));
// The widget Qt finds at the screen point (an open popup and a modal window lie on top); none off every window.
QWidget* WidgetAt(QPoint global);

// ---- the mouse at a screen point; each returns the widget Qt found there (nullptr: none)

// The pointer moved to the point through the window system (enter and leave events follow it).
QWidget* MoveMouseTo(QPoint global);
// A click (press and release) of the button at the point, with modifier keys held.
QWidget* ClickAt(QPoint global, Qt::MouseButton button = Qt::LeftButton, Qt::KeyboardModifiers mods = {});
// A double click of the left button at the point.
QWidget* DoubleClickAt(QPoint global, Qt::KeyboardModifiers mods = {});
// A press of the left button at one point, moves in a few steps and the release at another.
QWidget* DragAt(QPoint from, QPoint to, Qt::KeyboardModifiers mods = {});
// The wheel turned at the point (angle in eighths of a degree: 120 a notch, negative towards the user); true when taken.
bool WheelAt(QPoint global, QPoint angleDelta, Qt::KeyboardModifiers mods = {});
// The pointer rests at the point as a person's does, until Qt shows its tool tip (at most waitMs); the tip shown, or "".
std::string HoverAt(QPoint global, int waitMs = 2000);

// The window's top-level window brought to the front with the keyboard, as a click on its title
// bar does (the window system's own decoration, which no Qt event reaches); whether it became active.
bool BringToFront(TWindow& window);
// The same for a window of the program's that is no TWindow (the help window).
bool BringToFront(QWidget* window);

// ---- the keyboard, to the window that has the keyboard focus

// A key (virtual key code) pressed and released with modifiers (MK_SHIFT, MK_CONTROL, TTestHook::kAlt).
void PressKeys(unsigned vk, unsigned modKeys = 0);
// A Qt key pressed and released with modifiers (keys the virtual codes lack, such as the menu key).
void PressQtKey(Qt::Key key, Qt::KeyboardModifiers mods = {});
// The characters typed one by one.
void TypeText(const std::string& text);
// Keys that a text names, as a menu shows them ("Ctrl+P", "F9", "Shift+F10", "Del").
void PressShortcut(const std::string& keys);

// ---- menus, by the mouse

// Clicks the popup's title on the frame's menu bar and then the item (texts compared without '&'
// and accelerator); false when it is not there or greyed (the popup is then closed with Esc).
// Items a popup makes as it opens (the Windows menu's list of windows) are found too.
bool ClickMenuItem(TWindow& frame, const std::string& popup, const std::string& item);
// The same, the item named by its command id.
bool ClickMenuItem(TWindow& frame, unsigned id);
// Whether the item of the command shows greyed when its popup is opened by the mouse; false when it is not on the bar.
bool MenuItemShownGrey(TWindow& frame, unsigned id);

// ---- waiting, bounded, for what a person would see

// Handles events until the condition holds or waitMs passed; whether it holds.
bool WaitUntil(const std::function<bool()>& condition, int waitMs = 2000);

// ---- the older window-based calls, kept for their callers; each goes through the point calls above

// Menu choice and input state, as the test hook gives them (see TestHook.h).
inline std::vector<TMenuBarItem> MenuBarItems(TWindow& frame) { return TTestHook::MenuBarItems(frame); }
// Chooses the item of the command: by the mouse on the bar when the bar is shown, else as the test hook does.
bool ChooseMenuItem(TWindow& frame, unsigned id);
// The same, named by popup title and item text.
bool ChooseMenuItem(TWindow& frame, const std::string& popup, const std::string& item);
// Whether the window is shown and no modal window keeps input from it.
inline bool TakesInput(TWindow& window) { return TTestHook::TakesInput(window); }
// A left click at the window's middle (or client point); true when the window or a child of it received it.
bool ClickReaches(TWindow& window, int x = -1, int y = -1);
// A left click at the middle of the dialog's control of that id, the events it causes handled;
// false when the dialog has no such control or the click did not reach it.
bool ClickDlgItem(TDialog& dialog, int id);
// The pointer moved onto the window's middle (or client point), coming in across the window's edge.
void MouseOver(TWindow& window, int x = -1, int y = -1);
// A right click at the window's middle (or client point); true when the window or a child of it received it.
bool RightClickReaches(TWindow& window, int x = -1, int y = -1);
// A left-button drag between two client points of the window (modKeys: MK_SHIFT, MK_CONTROL).
void DragMouse(TWindow& window, int fromX, int fromY, int toX, int toY, unsigned modKeys = 0);
// A key pressed while the window's top-level window has the keyboard, accelerators included.
void PressKey(TWindow& window, unsigned vk, unsigned modKeys = 0);
// A click at the middle of the gadget of the id.
bool ClickGadget(TGadgetWindow& bar, int id);
// The close request of the window's title-bar button.
void RequestClose(TWindow& window);
// The modal window that is open now (a modal frame such as the print preview), or none.
TWindow* ActiveModalWindow();
// Whether the program was asked to end; the request is taken, so that the next test's modal loops run.
bool TakeQuitRequest();
// Runs act on the modal window as soon as one runs its loop (what no dialog answer of the test hook can reach).
void WhenModalWindowRuns(std::function<void(TWindow&)> act);

}  // namespace vyn
