#pragma once
// TWindow: the framework's window. A window has an id, a parent, children found by id, text,
// geometry in pixels, focus, timers, mouse and keyboard messages with the framework's meaning,
// scroll bars, and paints through a TDC into a retained image of its client area.
//
// Every message, whether it comes from the user or from SendMessage, goes through WindowProc,
// which calls the Ev* handlers. A handler that wants the control's own behaviour calls the base
// handler (or DefaultProcessing()); one that does not swallows the message.
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/gui/Dispatch.h"
#include "platform/gui/WindowMessages.h"

class QWidget;
class QObject;
class QImage;
class QScrollBar;

namespace vyn {

class TDC;
class TFont;
class TWindowBridge;

enum class TCursorShape { Arrow, Cross, IBeam, Wait, SizeWE, SizeNS, Hand, None };

class TWindow {
public:
    explicit TWindow(TWindow* parent = nullptr, int id = 0, const std::string& title = {});
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    // Creation and destruction of the window behind the object. Create() builds it (children
    // included) and runs SetupWindow(); Destroy() runs CleanupWindow() and removes it. The object
    // survives and can be created again.
    virtual bool Create();
    virtual void Destroy(int retVal = 0);
    bool IsWindow() const { return widget_ != nullptr; }

    int GetId() const { return id_; }
    void SetId(int id) { id_ = id; }
    TWindow* GetParent() const { return parent_; }
    // Moves a window whose widget does not exist yet under another parent (a view made by a
    // document template before its frame).
    void SetParent(TWindow* parent);
    TWindow* ChildWithId(int id) const;
    const std::vector<TWindow*>& Children() const { return children_; }

    // Commands the window does not handle go on to this target (by default the parent, then the
    // application); a view sets its frame here.
    void SetCommandTarget(TWindow* next) { commandTarget_ = next; }
    // Set before Create: the window becomes a floating tool window of its own, owned by its
    // parent (kept above it, hidden with it), with caption, close box and sizing border,
    // instead of a child inside the parent.
    void SetOwnedPopup(bool on) { ownedPopup_ = on; }
    // The window a command or enabler goes on to when this one does not know it (nullptr: the
    // application is next).
    TWindow* NextOnRoute() const { return commandTarget_ ? commandTarget_ : parent_; }

    virtual std::string GetWindowText() const;
    virtual void SetWindowText(const std::string& text);
    void SetCaption(const std::string& text) { SetWindowText(text); }

    void ShowWindow(int cmd);
    bool IsWindowVisible() const;
    // Whether the window is hidden within ancestor: itself, or a window between the two, is
    // hidden, whether ancestor shows or not. False while either is not made.
    bool IsHiddenIn(const TWindow& ancestor) const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;

    TRect GetClientRect() const;
    TRect GetWindowRect() const;  // screen coordinates, frame included
    void MoveWindow(int x, int y, int w, int h, bool repaint = false);
    void MoveWindow(const TRect& r, bool repaint = false) { MoveWindow(r.left, r.top, r.Width(), r.Height(), repaint); }
    virtual bool SetWindowPos(TWindow* insertAfter, int x, int y, int cx, int cy, unsigned flags);
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    TRect ChildRectInClient(const TWindow& child) const;  // a child's window rectangle in my client coordinates

    void SetFocus();
    bool HasFocus() const;          // the focus is on this window or on a part of it
    static TWindow* GetFocus();     // the window that has the focus, or none
    static void SetFocusNone();     // no window keeps the keyboard
    void SetCapture();
    static void ReleaseCapture();
    static TWindow* GetCapture();
    void SetCursorShape(TCursorShape shape);
    // The font the window's text is shown in (WM_SETFONT); a dialog's controls start with its font.
    void SetWindowFont(const TFont& font, bool redraw = true);
    void SetContextHelpId(int id) { helpId_ = id; }
    int GetContextHelpId() const { return helpId_; }
    // Asks for help on this window as F1 does: WM_HELP with the nearest context id on the
    // window's command route.
    void RequestHelp();

    bool SetTimer(unsigned id, unsigned ms);
    bool KillTimer(unsigned id);

    void Invalidate(bool erase = true);
    void InvalidateRect(const TRect& r, bool erase = true);
    void UpdateWindow();
    // Drawing outside Paint: the callback draws into the retained client image; the window is
    // updated afterwards.
    void DrawNow(const std::function<void(TDC&)>& draw);
    const QImage* ClientImage() const;

    // The window's own scroll bars (SB_HORZ, SB_VERT); for a TScrollBar control use SB_CTL.
    virtual void SetScrollRange(int bar, int minPos, int maxPos, bool redraw = true);
    virtual void GetScrollRange(int bar, int& minPos, int& maxPos) const;
    virtual int SetScrollPos(int bar, int pos, bool redraw = true);
    virtual int GetScrollPos(int bar) const;
    virtual void SetScrollPage(int bar, int page);
    virtual int GetScrollPage(int bar) const;
    virtual void ShowScrollBar(int bar, bool show = true);
    bool IsScrollBarShown(int bar) const;

    // Messages. SendMessage runs the handler at once on the calling (window) thread. PostMessage
    // may be called from any thread; the message is queued and handled on the window's thread.
    // SendMessageTimeout from another thread waits at most timeoutMs; a message that could not be
    // started in time is dropped, never handled later (its parameters may point at the sender's
    // stack), and false is returned. From the window's own thread it acts as SendMessage.
    TResult SendMessage(unsigned msg, TParam1 p1 = 0, TParam2 p2 = 0);
    bool PostMessage(unsigned msg, TParam1 p1 = 0, TParam2 p2 = 0);
    bool SendMessageTimeout(unsigned msg, TParam1 p1, TParam2 p2, unsigned timeoutMs, TResult* result = nullptr);
    // A command as the menu or a control sends it (WM_COMMAND to this window).
    TResult SendCommand(unsigned id, unsigned notifyCode = 0, TWindow* control = nullptr);
    void PostCommand(unsigned id) { PostMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    // A command the user gave (menu item, accelerator, gadget) and its enabler, given to the
    // route that starts here. For a plain window that is the window itself, then NextOnRoute()
    // up to the application. A frame (TDecoratedFrame) starts the route at the window with the
    // focus, then the active view: see there.
    virtual void RouteCommand(unsigned id);
    virtual void RouteCommandEnable(TCommandEnabler& ce);
    // The route of a user's command in two parts: first the route of `first` up to where it
    // meets the route of `rest` (or would reach the application), then the whole route of
    // `rest`. Each window is asked once. `first` may be nullptr or lie on rest's route.
    static void RouteUserCommand(TWindow* first, TWindow* rest, unsigned id);
    static void RouteUserEnable(TWindow* first, TWindow* rest, TCommandEnabler& ce);

    virtual TResult WindowProc(unsigned msg, TParam1 p1, TParam2 p2);
    // Lets the control's own handling run after the current handler returns.
    void DefaultProcessing() { defaultRequested_ = true; }

    // The commands this object's own table handles.
    std::vector<unsigned> HandledCommands() const { return table_.CommandIds(); }
    // Handlers registered in the constructor of a derived class.
    template <class T>
    void OnCommand(unsigned id, void (T::*fn)()) { table_.AddCommand(id, [this, fn] { (static_cast<T*>(this)->*fn)(); }); }
    void OnCommand(unsigned id, std::function<void()> fn) { table_.AddCommand(id, std::move(fn)); }
    template <class T>
    void OnNotify(unsigned id, unsigned code, void (T::*fn)()) { table_.AddNotify(id, code, [this, fn] { (static_cast<T*>(this)->*fn)(); }); }
    void OnNotify(unsigned id, unsigned code, std::function<void()> fn) { table_.AddNotify(id, code, std::move(fn)); }
    template <class T>
    void OnCommandEnable(unsigned id, void (T::*fn)(TCommandEnabler&))
    {
        table_.AddEnabler(id, [this, fn](TCommandEnabler& ce) { (static_cast<T*>(this)->*fn)(ce); });
    }
    void OnCommandEnable(unsigned id, std::function<void(TCommandEnabler&)> fn) { table_.AddEnabler(id, std::move(fn)); }
    void OnMessage(unsigned msg, std::function<TResult(TParam1, TParam2)> fn) { table_.AddMessage(msg, std::move(fn)); }

    // The platform's own side: the widget behind the window (nullptr before Create()).
    QWidget* Widget() const { return widget_; }
    // The widget of the client area, in which the children's widgets are made and whose size
    // the client rectangle is: the window's own widget, but the inner area of a frame.
    virtual QWidget* ClientWidget() const { return widget_; }
    static TWindow* FromWidget(const QWidget* w);  // the window a widget (or its nearest ancestor) belongs to

protected:
    virtual void SetupWindow();
    virtual void CleanupWindow();
    virtual void Paint(TDC& dc, bool erase, TRect& rect);

    virtual TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode);
    virtual void EvCommandEnable(TCommandEnabler& ce);
    virtual void EvTimer(unsigned id);
    virtual void EvSize(unsigned sizeType, const TSize& size);
    virtual void EvGetMinMaxInfo(TMinMaxInfo& info);
    virtual void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags);
    virtual void EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags);
    virtual void EvChar(unsigned ch, unsigned repeatCount, unsigned flags);
    virtual unsigned EvGetDlgCode(const TMsg* msg);
    virtual void EvSetFocus(TWindow* lostFocus);
    virtual void EvKillFocus(TWindow* getsFocus);
    virtual void EvLButtonDown(unsigned modKeys, const TPoint& p);
    virtual void EvLButtonUp(unsigned modKeys, const TPoint& p);
    virtual void EvLButtonDblClk(unsigned modKeys, const TPoint& p);
    virtual void EvRButtonDown(unsigned modKeys, const TPoint& p);
    virtual void EvRButtonUp(unsigned modKeys, const TPoint& p);
    virtual void EvMouseMove(unsigned modKeys, const TPoint& p);
    virtual void EvContextMenu(TWindow* window, int x, int y);
    // A top-level window's activation (see WM_ACTIVATE).
    virtual void EvActivate(unsigned active, bool minimized, TWindow* other);
    virtual void EvHScroll(unsigned code, unsigned pos, TWindow* control);
    virtual void EvVScroll(unsigned code, unsigned pos, TWindow* control);
    virtual void EvClose();

    // Builds the widget of this window under the parent's widget; controls override it.
    virtual QWidget* MakeWidget(QWidget* parentWidget);
    // Called after the widget exists (made here or taken from a dialog template).
    virtual void AttachWidget(QWidget* w);
    // Tells the parent about something that happened to this control (WM_COMMAND to the parent).
    void NotifyParent(unsigned code);
    // A child leaves the window (it is deleted or moves to another parent); a window that keeps
    // more about its children forgets it here too.
    virtual void RemoveChild(TWindow* child);

    TDispatchTable table_;
    int id_;

private:
    friend class TWindowBridge;
    friend class TWindowWidget;
    friend class TDialog;
    void AddChild(TWindow* child);
    void CreateChildren();
    void ReleaseWidget();
public:
    QObject* SignalContext() const;  // Qt connections of the window die with its widget
private:
    QImage& EnsureImage();
    void PaintInto(QImage& image, const TRect& rect, bool erase);
    // The real scroll bar of a plain window (made when `make`), and bringing it in line with
    // the recorded range, page, position and visibility.
    QScrollBar* OwnBar(int bar, bool make);
    void SyncBar(int bar);
    bool inBarSize_ = false;

    TWindow* parent_;
    TWindow* commandTarget_ = nullptr;
    bool ownedPopup_ = false;
    std::vector<TWindow*> children_;
    std::string title_;
    QWidget* widget_ = nullptr;
    TWindowBridge* bridge_ = nullptr;
    std::unique_ptr<QImage> image_;
    std::map<unsigned, int> timers_;  // window timer id -> platform timer id
    struct ScrollInfo {
        int min = 0, max = 0, pos = 0, page = 0;
        bool shown = false;
    } scroll_[2];
    int helpId_ = 0;
    bool defaultRequested_ = false;
    bool pendingErase_ = false;
    // The part of the retained image that Paint has to draw again. Only what was invalidated
    // is painted: drawing done outside Paint (DrawNow, exclusive-or feedback) stays on the
    // image until the window itself invalidates it, as on the screen of the framework.
    TRect invalid_;
    bool hasInvalid_ = false;
    void AddInvalid(const TRect& r);
    bool deleting_ = false;
    // A handler may delete its own window (closing a document from its view); whoever ran the
    // handler checks this before touching the window again.
    std::shared_ptr<char> life_ = std::make_shared<char>();

public:
    // The bridge's entry: runs a handler and says whether the default handling was asked for.
    bool DispatchFromPlatform(unsigned msg, TParam1 p1, TParam2 p2);
};

// Sizes of the window frames the style draws, in pixels: the caption's height and the width and
// height of a sizing frame's border.
constexpr int SM_CYCAPTION = 4, SM_CXSIZEFRAME = 32, SM_CYSIZEFRAME = 33;
int GetSystemMetrics(int index);

}  // namespace vyn
