#include "platform/gui/testing/UserInput.h"

#include <QAction>
#include <memory>
#include <QApplication>
#include <QEventLoop>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

namespace {

// A widget that notes whether a mouse press reached any window of the program.
class PressSpy : public QObject {
public:
    bool seen = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress && o->isWidgetType()) seen = true;
        return false;
    }
};

}  // namespace

namespace {

bool ButtonClickReaches(TWindow& window, int x, int y, Qt::MouseButton button)
{
    QWidget* w = window.Widget();
    if (!w || !w->isVisible()) return false;
    QWindow* handle = w->window()->windowHandle();
    if (!handle) return false;
    const QPoint local = x < 0 ? w->rect().center() : QPoint(x, y);
    const QPoint at = w->mapTo(w->window(), local);
    PressSpy spy;
    // The pointer comes to the point before the right button is pressed there.
    if (button == Qt::RightButton) QTest::mouseMove(handle, at);
    qApp->installEventFilter(&spy);
    // Through the window system's path, where a modal window swallows clicks on the others.
    QTest::mousePress(handle, button, Qt::NoModifier, at);
    QTest::mouseRelease(handle, button, Qt::NoModifier, at);
    qApp->removeEventFilter(&spy);
    return spy.seen;
}

}  // namespace

bool ClickReaches(TWindow& window, int x, int y) { return ButtonClickReaches(window, x, y, Qt::LeftButton); }

bool RightClickReaches(TWindow& window, int x, int y) { return ButtonClickReaches(window, x, y, Qt::RightButton); }

void DragMouse(TWindow& window, int fromX, int fromY, int toX, int toY, unsigned modKeys)
{
    QWidget* w = window.Widget();
    if (!w || !w->isVisible()) return;
    QWindow* handle = w->window()->windowHandle();
    if (!handle) return;
    Qt::KeyboardModifiers mods;
    if (modKeys & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (modKeys & MK_CONTROL) mods |= Qt::ControlModifier;
    auto at = [w](int x, int y) { return w->mapTo(w->window(), QPoint(x, y)); };
    // The hover first, as the pointer comes to the press point, then the press and the steps.
    QTest::mouseMove(handle, at(fromX, fromY));
    QTest::mousePress(handle, Qt::LeftButton, mods, at(fromX, fromY));
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps && (fromX != toX || fromY != toY); ++i)
        QTest::mouseMove(handle, at(fromX + (toX - fromX) * i / kSteps, fromY + (toY - fromY) * i / kSteps));
    QTest::mouseRelease(handle, Qt::LeftButton, mods, at(toX, toY));
    QCoreApplication::processEvents();
}

bool ClickGadget(TGadgetWindow& bar, int id)
{
    TGadget* g = bar.GadgetWithId(id);
    if (!g) return false;
    const TRect& r = g->GetBounds();
    return ClickReaches(bar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void MouseOver(TWindow& window, int x, int y)
{
    QWidget* w = window.Widget();
    if (!w || !w->isVisible()) return;
    QWindow* handle = w->window()->windowHandle();
    if (!handle) return;
    // The mouse comes into a window it was not over across its edge, so that the first
    // control it reaches is entered as every later one is.
    if (!w->window()->underMouse()) QTest::mouseMove(handle, QPoint(0, 0));
    const QPoint local = x < 0 ? w->rect().center() : QPoint(x, y);
    // Through the window system's path, which tells the widgets left and entered.
    QTest::mouseMove(handle, w->mapTo(w->window(), local));
    QCoreApplication::processEvents();
}

void RequestClose(TWindow& window)
{
    if (QWidget* w = window.Widget())
        if (QWindow* h = w->window()->windowHandle()) h->close();
}

TWindow* ActiveModalWindow() { return TWindow::FromWidget(QApplication::activeModalWidget()); }

void WhenModalWindowRuns(std::function<void(TWindow&)> act)
{
    // A zero timer fires inside the modal loop's event handling; until the loop runs it waits
    // for the next turn. Bounded, so a loop that never starts cannot keep it alive.
    auto* timer = new QTimer(qApp);
    timer->setInterval(0);
    auto tries = std::make_shared<int>(100000);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, act = std::move(act)] {
        TWindow* modal = InModalLoop() ? ActiveModalWindow() : nullptr;
        if (!modal && --*tries > 0) return;
        timer->stop();
        timer->deleteLater();
        if (modal) act(*modal);
    });
    timer->start();
}

bool TakeQuitRequest()
{
    // Asking the program to end makes every later event loop return at once.
    QEventLoop probe;
    QTimer::singleShot(0, &probe, [&probe] { probe.exit(0); });
    if (probe.exec() != -1) return false;
    // One turn of the application's own loop clears the request when it returns.
    QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    return true;
}

void PressKey(TWindow& window, unsigned vk, unsigned modKeys)
{
    QWidget* w = window.Widget();
    if (!w) return;
    QWidget* target = w->focusWidget() ? w->focusWidget() : w;
    Qt::KeyboardModifiers mods;
    if (modKeys & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (modKeys & MK_CONTROL) mods |= Qt::ControlModifier;
    // QTest offers the key to the shortcut map first, as the window system does.
    QTest::keyClick(target, static_cast<Qt::Key>(TTestHook::QtKeyCode(vk)), mods);
}

}  // namespace vyn
