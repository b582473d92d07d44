#pragma once
// Menu bars from menu resources. A frame shows the menu of a resource id; choosing an item
// sends its command along the frame's command route, and the items' command enablers are
// asked before a popup opens and at idle (so that accelerators of disabled commands do not act).
#include <functional>
#include <string>
#include <vector>

class QMenuBar;
class QAction;
class QObject;

namespace vyn {

class TCommandEnabler;

class TMenuDescr {
public:
    explicit TMenuDescr(int resId = 0) : resId_(resId) {}
    int GetId() const { return resId_; }
    bool IsValid() const;

private:
    int resId_;
};

// Fills the menu bar with the resource's popups and items. send(id) runs a chosen command;
// enable(ce) answers an item's enabler. False (an empty bar) when there is no such resource.
bool BuildMenuBar(QMenuBar& bar, int resId, std::function<void(unsigned)> send,
                  std::function<void(TCommandEnabler&)> enable);
// Asks the enabler of every item of the bar again.
void UpdateMenuBar(QMenuBar& bar);
// Fills the bar's popup at this position with the items of the menu resource's first popup
// (the popup keeps its title); its items send and enable through the bar's callbacks.
bool ReplaceMenuBarPopup(QMenuBar& bar, int position, int popupResId);
// Runs a command chosen from a menu item. Qt is still inside the popup's mouse or key handling
// while it runs, so popups and items replaced meanwhile (a modal window's loop may rebuild the
// bar) are deleted only after it returned.
void RunMenuCommand(const std::function<void()>& command);
// Deletes a popup or item taken off a menu once no menu command is running and the event
// loop turns again.
void RetireMenuObject(QObject* object);
// The command id of a menu item built from a resource (0: none, a popup or a separator).
unsigned MenuActionId(const QAction& action);

// The command id and the text (without the accelerator) of every item of a menu resource,
// in order; for tests and help.
struct TMenuItemInfo {
    int id;
    std::string text;
    std::string key;
};
std::vector<TMenuItemInfo> MenuItems(int resId);

}  // namespace vyn
