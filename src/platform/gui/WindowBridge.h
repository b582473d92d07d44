#pragma once
// Private to the platform: the Qt object that carries a TWindow's events (input, focus, timers,
// queued messages) to its WindowProc, and the widget of a plain, self-painted window.
#include <QObject>
#include <QWidget>

#include "platform/gui/WindowMessages.h"

class QKeyEvent;
class QScrollBar;

namespace vyn {

class TWindow;

// The framework's scroll code (SB_LINEDOWN, ..., SB_THUMBTRACK for a moving thumb) of what the
// user did to a Qt scroll bar (a QAbstractSlider action); false for an action that has none.
bool ScrollCodeOf(int sliderAction, unsigned& code);

// A Qt object that calls back into a window object (a widget, a delegate). The window's widget
// is deleted later than the window may be, and Qt still calls into it on the way out (hiding a
// combo box closes its list), so every such object under a released widget is told to forget
// its window first.
class TWindowLink {
public:
    virtual void Detach() = 0;

protected:
    ~TWindowLink() = default;
};

class TWindowBridge : public QObject {
public:
    explicit TWindowBridge(TWindow* w);
    void Detach() { window_ = nullptr; }
    TWindow* Window() const { return window_; }

    static unsigned VirtualKey(const QKeyEvent* e);
    static unsigned CharOf(const QKeyEvent* e);
    // Shift+F10 or the menu key: the keyboard's request for a context menu.
    static bool IsContextMenuKey(const QKeyEvent* e);
    static unsigned ModKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
    // The window has the keyboard again after a modal window closed. The window system does not
    // always report focus that merely stays where it was: the window hears WM_SETFOCUS unless
    // it heard it already.
    static void FocusBack(TWindow& window);
    // After any modal window (a dialog, a file dialog, a message box) has gone: the control that
    // had the keyboard before gets it back and learns so, also when the window system gave no
    // window the activation back (the program's keys would reach nothing otherwise).
    static void GiveFocusBack(QWidget* focusBefore);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    bool KeyPress(QWidget* w, QKeyEvent* e);
    // Whether the window keeps the key from the program's shortcuts (a shortcut override).
    bool ClaimsFromShortcuts(QWidget* w, QKeyEvent* e);
    // A mouse message for the window from a press, release, double click or move.
    bool Mouse(QMouseEvent* m);
    bool Wheel(QWidget* w, QEvent* e);
    TWindow* window_;
    bool synthesizing_ = false;
    int wheelRest_ = 0;  // wheel movement not yet turned into lines
};

// A plain window: paints its retained image, and lets the bridge see everything else. Its own
// scroll bars lie along its right and bottom edges, outside its client area.
class TWindowWidget : public QWidget, public TWindowLink {
public:
    TWindowWidget(TWindow* w, QWidget* parent);
    void Detach() override { window_ = nullptr; }

    // The scroll bar (SB_HORZ or SB_VERT), made hidden on first use; nullptr when never made.
    QScrollBar* ScrollBar(int which, bool make);
    void ShowBar(int which, bool show);
    bool BarShown(int which) const;
    // The widget less the scroll bars shown.
    QRect ClientArea() const;

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void LayoutBars();
    TWindow* window_;
    QScrollBar* bars_[2] = {nullptr, nullptr};
};

}  // namespace vyn
