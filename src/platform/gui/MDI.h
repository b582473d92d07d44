#pragma once
// The MDI family: the client area of an MDI frame, in which every child frame holds one client
// window (a view), with the framework's window commands (cascade, tile, arrange, close all).
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "platform/gui/Menu.h"
#include "platform/gui/Window.h"

class QMdiArea;
class QMdiSubWindow;

namespace vyn {

class TMDIChild;
class TMDIFrame;

// The framework's window command ids.
enum : unsigned {
    CM_CASCADECHILDREN = 24361,
    CM_TILECHILDREN = 24362,
    CM_TILECHILDRENHORIZ = 24363,
    CM_ARRANGEICONS = 24364,
    CM_CLOSECHILDREN = 24365,
};

class TMDIClient : public TWindow {
public:
    TMDIClient();
    ~TMDIClient() override;

    TMDIChild* GetActiveMDIChild() const;
    const std::vector<TMDIChild*>& Children() const { return children_; }
    // Makes the child the active one (restoring it when it is minimised).
    void ActivateChild(TMDIChild& child);
    void CascadeChildren();
    void TileChildren();
    void ArrangeIcons();
    // Closes every child when all agree: each changed document behind them is asked once,
    // however many of its views are open; a refusal anywhere leaves every child open.
    bool CloseChildren();
    // Ctrl+F6 and Ctrl+Shift+F6 (Ctrl+Tab, Ctrl+Shift+Tab): the next or previous child in the
    // order the children were opened, round; Ctrl+F4: the active child closes, asking as its close box does.
    void ActivateNextChild();
    void ActivatePreviousChild();
    void CloseActiveChild();
    // The main window has the activation again: the program's active child is the area's too.
    void KeepActiveChild();
    void SetBackground(TColor color);

    QMdiArea* Area() const;

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    void SetupWindow() override;
    // The active child changed (nullptr: none is active any more).
    virtual void EvMDIActivate(TMDIChild* activated);

private:
    friend class TMDIChild;
    friend class TMDIFrame;
    void Adopt(TMDIChild& child);
    void Forget(TMDIChild& child);
    void SubWindowActivated(QMdiSubWindow* sub);

    std::vector<TMDIChild*> children_;
    TMDIChild* active_ = nullptr;
    TMDIFrame* frame_ = nullptr;  // the frame whose client this is: it shows the active child's menu
    TColor background_{128, 128, 128};
};

class TMDIChild : public TWindow {
public:
    // The client window (a view's window) is created with parent nullptr; the child owns it.
    TMDIChild(TMDIClient& parent, const std::string& title, TWindow* clientWnd);
    ~TMDIChild() override;

    TWindow* GetClientWindow() const { return clientWnd_; }
    // Where the frame's command route starts while this child is active (see DecoratedFrame.h):
    // the client window unless the view lies deeper inside it.
    virtual TWindow* GetCommandView() const { return clientWnd_; }
    // The menu the main frame shows while this child is active (a view's menu); none (the
    // default, or an id without a menu resource): the frame's own menu.
    void SetMenuDescr(const TMenuDescr& menu);
    const TMenuDescr& GetMenuDescr() const { return menu_; }
    TMDIClient& GetMDIClient() const { return *client_; }
    // The title bar inside the client area shows the new caption too.
    void SetWindowText(const std::string& text) override;
    bool IsIconic() const;
    void Restore();
    // The view the frame shows, when its client window is one or holds one.
    virtual TView* GetView() const;
    // The frame's close test: the client window's CanClose.
    virtual bool CanClose();
    // Closes the frame when it may close; the object is deleted once the event loop runs.
    bool CloseWindow();
    // Closes the frame without asking: the caller already had the closing agreed.
    void CloseAgreed();
    // The client window was deleted elsewhere (its document went): the frame closes without
    // asking.
    void ClientGone();
    // The view inside the client window was deleted elsewhere, the client window around it
    // was not: the frame closes without asking and deletes the client window with itself.
    void ViewGone();
    // Whether the view inside has gone (its frame is on its way out).
    bool ViewIsGone() const { return viewGone_; }

    // Activation as the MDI client reports it (active true) or the loss of it.
    virtual void EvMDIActivate(bool active);
    // The main frame itself was activated or lost the activation while this child is its
    // active one (the arguments of WM_ACTIVATE).
    virtual void EvFrameActivate(unsigned, bool, TWindow*) {}

    QWidget* ClientWidget() const override;

protected:
    // Set before Create: the frame's client area holds the frame's own children, the client
    // window among them, and the frame places them itself (a layout window), instead of the
    // client window alone filling the area. The client window becomes a child of the frame
    // and keeps the keyboard when the frame is activated.
    void SetOwnClientArea();

    QWidget* MakeWidget(QWidget* parentWidget) override;
    void SetupWindow() override;
    void CleanupWindow() override;
    void EvClose() override;
    // The client window leaving the frame leaves it without one.
    void RemoveChild(TWindow* child) override;

private:
    friend class TMDIClient;
    void DeleteLater();

    TMDIClient* client_;
    TWindow* clientWnd_;
    QMdiSubWindow* sub_ = nullptr;
    QWidget* area_ = nullptr;  // the inner client area of a frame that places its children
    bool ownArea_ = false;
    bool viewGone_ = false;
    TMenuDescr menu_;
};

// A client window that can refuse to close its frame (a view of a dirty document).
class TCloseQuery {
public:
    virtual ~TCloseQuery() = default;
    virtual bool CanCloseWindow() = 0;
};

}  // namespace vyn
