#pragma once
// Private to the platform: the Qt object that carries a TWindow's events (input, focus, timers,
// queued messages) to its WindowProc, and the widget of a plain, self-painted window.
#include <QObject>
#include <QWidget>

#include "platform/gui/WindowMessages.h"

class QKeyEvent;

namespace vyn {

class TWindow;

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
    static unsigned ModKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;
    bool event(QEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    bool KeyPress(QWidget* w, QKeyEvent* e);
    TWindow* window_;
    bool synthesizing_ = false;
};

// A plain window: paints its retained image, and lets the bridge see everything else.
class TWindowWidget : public QWidget, public TWindowLink {
public:
    TWindowWidget(TWindow* w, QWidget* parent);
    void Detach() override { window_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TWindow* window_;
};

}  // namespace vyn
