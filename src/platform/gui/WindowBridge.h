#pragma once
// Private to the platform: the Qt object that carries a TWindow's events (input, focus, timers,
// queued messages) to its WindowProc, and the widget of a plain, self-painted window.
#include <QObject>
#include <QWidget>

#include "platform/gui/WindowMessages.h"

class QKeyEvent;

namespace vyn {

class TWindow;

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
class TWindowWidget : public QWidget {
public:
    TWindowWidget(TWindow* w, QWidget* parent);
    void Detach() { window_ = nullptr; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    TWindow* window_;
};

}  // namespace vyn
