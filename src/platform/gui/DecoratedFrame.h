#pragma once
// Frames with decorations: a main window with a menu bar, a client window in the middle and
// gadget windows (tool bars, status bar) docked at its edges; the MDI frame's client is an MDI
// client. The client window is made by the caller and handed to the frame, which owns it and
// passes the commands it does not handle on along the frame's route.
//
// Commands the user gives (menu items, accelerators, the buttons of the frame's tool bars) and
// their enablers all take one route, RouteCommand / RouteCommandEnable:
//   1. the window with the focus, when it lies inside the frame, and the windows on its own route
//      (parent or command target) until that route meets the route of step 2;
//   2. CommandStart(): the active MDI child's view (TMDIChild::GetCommandView), then its MDI child
//      frame, the MDI client and the main frame; a frame that is not an MDI frame starts here
//      with itself;
//   3. the application.
// Every window is asked once; the first that has a handler (or an enabler) for the id takes it.
// A view therefore handles its own gadget's command and enables it with OnCommand /
// OnCommandEnable in its constructor, whether the focus is on it, on one of its children or in
// a tool bar's control.
//
// Menus: the frame shows its own menu resource (SetMenuDescr). An MDI child given a menu
// resource (TMDIChild::SetMenuDescr, before or after it is created) has that menu shown in the
// frame's menu bar while it is the active child; the frame's own menu comes back when no child
// with a menu is active. The items' enablers are asked on the route above each time a popup
// opens (and at idle, so that the accelerators of disabled commands do nothing). A popup that
// holds the MDI window commands (CM_CASCADECHILDREN ... CM_CLOSECHILDREN) lists the open
// children after its items; choosing one activates it.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Menu.h"
#include "platform/gui/Window.h"

class QVBoxLayout;
class QMainWindow;
class QMenu;

namespace vyn {

class TGadgetWindow;
class TStatusBar;
class TMDIClient;
class TMDIChild;

class TDecoratedFrame : public TWindow {
public:
    enum TLocation { Top, Bottom, Left, Right };

    // The client window is created with parent nullptr; the frame owns it from here on.
    TDecoratedFrame(TWindow* parent, const std::string& title, TWindow* client);
    ~TDecoratedFrame() override;

    TWindow* GetClientWindow() const { return client_; }
    // A gadget window made with this frame as its parent, docked at an edge (the later ones
    // of an edge lie further inside).
    void Insert(TGadgetWindow& decoration, TLocation location);

    // Shows the menu resource as the frame's menu bar.
    void SetMenuDescr(const TMenuDescr& menu);
    const TMenuDescr& GetMenuDescr() const { return menu_; }

    bool IsZoomed() const;
    // Restores a minimised frame and brings it in front of the other windows.
    void BringToForeground();
    // True while a modal dialog or message box runs.
    static bool ModalDialogOpen();
    // The wait cursor over the whole program, or the normal one again.
    static void ShowWaitCursor(bool wait);
    bool IsIconic() const;

    // Files dropped on the frame (local paths, in the order given); nothing when not set.
    void DragAcceptFiles(std::function<void(const std::vector<std::string>&)> onDrop);

    // Replaces the popup at this position of the menu bar now shown (0 = the first) by the
    // items of a menu resource's first popup, keeping its title (a view's Tools popup changes
    // with its mode). The bar's next rebuild (another child activated) brings the resource's
    // own popup back. False when there is no such popup or resource.
    bool ReplaceMenuPopup(int position, int popupResId);
    // The menu resource shown in the menu bar now (0: none).
    int GetShownMenuId() const { return shownMenu_; }
    // Shows the string-table text of the command in the status bar while the mouse rests on its
    // gadget or menu item; 0 (or a command without text) brings back what the bar showed before.
    void SetHintCommand(int id);
    // Says the text in the status bar's message line; a hint on show keeps its place and the
    // text comes when the hint goes.
    void SetStatusText(const std::string& text);
    // The frame on a window's command route (a view's main frame), or nullptr.
    static TDecoratedFrame* FrameOf(const TWindow& w);

    // Called by the application at idle: the menu items' and the decorations' enablers.
    virtual bool IdleAction(long idleCount);
    // Where the second part of the route starts: the active view's window, or the frame.
    virtual TWindow* CommandStart();
    // The user's command route (see the top of this file).
    void RouteCommand(unsigned id) override;
    void RouteCommandEnable(TCommandEnabler& ce) override;
    // The window with the focus when it lies inside this frame, else nullptr.
    TWindow* FocusInFrame() const;

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    void SetupWindow() override;
    void CleanupWindow() override;
    // The menu resource the bar is to show: the frame's own by default.
    virtual int MenuToShow() const { return menu_.GetId(); }
    // Shows MenuToShow() when it is not shown yet (always when forced).
    void RefreshMenu(bool force = false);
    // Adds the list of windows to the Window popup as it opens.
    virtual void FillWindowMenu(QMenu&) {}

private:
    void Place(TWindow& w, TLocation location, int order);
    TStatusBar* StatusBar() const;
    void HookWindowMenu();

    TWindow* client_;
    std::vector<std::pair<TGadgetWindow*, TLocation>> decorations_;
    TMenuDescr menu_;
    int shownMenu_ = 0;
    bool hinting_ = false;
    std::string savedStatus_;  // the status bar's text before a hint replaced it
    QMainWindow* main_ = nullptr;
    QVBoxLayout* outer_ = nullptr;
};

// The MDI frame: its client is the MDI client, and the active child's view is where commands
// start.
class TMDIFrame : public TDecoratedFrame {
public:
    TMDIFrame(const std::string& title, int menuResId, TMDIClient& client);
    ~TMDIFrame() override;
    TMDIClient* GetMDIClient() const;
    TWindow* CommandStart() override;
    // Tells the active child of the frame's own activation (TMDIChild::EvFrameActivate).
    void EvActivate(unsigned active, bool minimized, TWindow* other) override;
    // The active child changed, or the active child's menu did: the bar shows the right menu.
    void ChildMenuChanged() { RefreshMenu(); }

protected:
    int MenuToShow() const override;
    void FillWindowMenu(QMenu& menu) override;
};

}  // namespace vyn
