#pragma once
// Frames with decorations: a main window with a menu bar, a client window in the middle and
// gadget windows (tool bars, status bar) docked at its edges; the MDI frame's client is an MDI
// client. The client window is made by the caller and handed to the frame, which owns it and
// passes the commands it does not handle on along the frame's route.
#include <functional>
#include <string>
#include <vector>

#include "platform/gui/Menu.h"
#include "platform/gui/Window.h"

class QVBoxLayout;
class QMainWindow;

namespace vyn {

class TGadgetWindow;
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

    // Called by the application at idle: the menu items' and the decorations' enablers.
    virtual bool IdleAction(long idleCount);
    // Where menu commands start: the active view's window, or the frame.
    virtual TWindow* CommandStart();

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    void SetupWindow() override;
    void CleanupWindow() override;

private:
    void Place(TWindow& w, TLocation location, int order);

    TWindow* client_;
    std::vector<std::pair<TGadgetWindow*, TLocation>> decorations_;
    TMenuDescr menu_;
    QMainWindow* main_ = nullptr;
    QVBoxLayout* outer_ = nullptr;
};

// The MDI frame: its client is the MDI client, and the active child's view is where commands
// start.
class TMDIFrame : public TDecoratedFrame {
public:
    TMDIFrame(const std::string& title, int menuResId, TMDIClient& client);
    TMDIClient* GetMDIClient() const;
    TWindow* CommandStart() override;
};

}  // namespace vyn
