#include "platform/gui/testing/UserInput.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeySequence>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPointer>
#include <QSpontaneKeyEvent>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <memory>

#include "platform/gui/Dialog.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/Menu.h"
#include "platform/gui/ModalLoop.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

namespace {

// Notes the widget a mouse press reached, if any.
class PressSpy : public QObject {
public:
    PressSpy() { qApp->installEventFilter(this); }
    ~PressSpy() override { qApp->removeEventFilter(this); }
    QPointer<QWidget> reached;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress && o->isWidgetType() && !reached) reached = static_cast<QWidget*>(o);
        return false;
    }
};

QWidget* TopAt(QWidget* top, QPoint global)
{
    if (!top || !top->isVisible() || !top->frameGeometry().contains(global)) return nullptr;
    QWidget* child = top->childAt(top->mapFromGlobal(global));
    return child ? child : top;
}

Qt::KeyboardModifiers Modifiers(unsigned modKeys)
{
    Qt::KeyboardModifiers mods;
    if (modKeys & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (modKeys & MK_CONTROL) mods |= Qt::ControlModifier;
    if (modKeys & TTestHook::kAlt) mods |= Qt::AltModifier;
    return mods;
}

// The window system's window a mouse event at the point goes to, and the point in it.
QWindow* HandleAt(QPoint global, QWidget*& hit, QPoint& local)
{
    hit = WidgetAt(global);
    if (!hit) return nullptr;
    QWindow* handle = hit->window()->windowHandle();
    if (handle) local = handle->mapFromGlobal(global);
    return handle;
}

// A click into an inactive window activates it first, as the desktop's window manager does.
void ActivateOnPress(QWindow* handle, QWidget* hit)
{
    QWidget* top = hit->window();
    if (QApplication::activePopupWidget() || top->isActiveWindow() || top->windowType() == Qt::Popup ||
        top->windowType() == Qt::ToolTip)
        return;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != top) return;  // the click is swallowed
    handle->requestActivate();
    QCoreApplication::processEvents();
}

QString KeyText(unsigned vk, unsigned modKeys)
{
    // The window system gives a key pressed with Alt its character too (Alt+Q comes as "q");
    // with Ctrl it gives none that is typed.
    if (modKeys & MK_CONTROL) return {};
    if (vk >= 'A' && vk <= 'Z') return QString(QChar(modKeys & MK_SHIFT ? vk : vk - 'A' + 'a'));
    if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) return QString(QChar(vk));
    if (vk == VK_RETURN) return QStringLiteral("\r");
    if (vk == VK_ESCAPE) return QString(QChar(27));
    if (vk == VK_BACK) return QString(QChar(8));
    if (vk == VK_TAB) return QStringLiteral("\t");
    return {};
}

// The window the keyboard gives its keys to: the active window (an open popup takes them from
// there, as Qt routes them).
QWindow* KeyWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        if (QWindow* h = active->windowHandle()) return h;
    return QGuiApplication::focusWindow();
}

void SendKey(QWindow* window, Qt::Key key, Qt::KeyboardModifiers mods, const QString& text)
{
    if (!window || key == 0) return;
    QTest::sendKeyEvent(QTest::Click, window, key, text, mods);
    QCoreApplication::processEvents();
}

// The popup titles on the way to the command's item, and the item, as they stand on the bar.
bool PathTo(QMenu* menu, const std::function<bool(const QAction&)>& matches, std::vector<QAction*>& path)
{
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        path.push_back(a);
        if (a->menu() ? PathTo(a->menu(), matches, path) : matches(*a)) return true;
        path.pop_back();
    }
    return false;
}

std::vector<QAction*> BarPath(QMenuBar& bar, const std::function<bool(const QAction&)>& matches)
{
    std::vector<QAction*> path;
    for (QAction* top : bar.actions()) {
        if (!top->menu() || !top->isVisible()) continue;
        path.push_back(top);
        if (PathTo(top->menu(), matches, path)) return path;
        path.pop_back();
    }
    return {};
}

// Esc until no popup is open and the bar has let the keyboard go (the first Esc leaves the bar
// highlighted with the keyboard, as on every desktop).
void EscapeMenus()
{
    for (int i = 0; i < 6 && (QApplication::activePopupWidget() || qobject_cast<QMenuBar*>(QApplication::focusWidget()));
         ++i)
        PressQtKey(Qt::Key_Escape);
}

// Opens the popups along the path with the mouse; the popup that holds the last item, or none
// (every popup closed again) when one did not open.
QMenu* OpenPath(QMenuBar& bar, const std::vector<QAction*>& path)
{
    if (path.empty() || !bar.isVisible()) return nullptr;
    ClickAt(ScreenPoint(&bar, bar.actionGeometry(path.front()).center()));
    QMenu* open = path.front()->menu();
    if (!WaitUntil([open] { return open->isVisible(); })) return EscapeMenus(), nullptr;
    for (std::size_t i = 1; i + 1 < path.size(); ++i) {
        ClickAt(ScreenPoint(open, open->actionGeometry(path[i]).center()));
        QMenu* sub = path[i]->menu();
        if (!WaitUntil([sub] { return sub->isVisible(); })) return EscapeMenus(), nullptr;
        open = sub;
    }
    return open;
}

bool ClickPath(TWindow& frame, const std::function<bool(const QAction&)>& matches)
{
    QMenuBar* bar = TTestHook::MenuBarOf(frame);
    if (!bar) return false;
    const std::vector<QAction*> path = BarPath(*bar, matches);
    QMenu* menu = OpenPath(*bar, path);
    if (!menu) return false;
    QAction* item = path.back();
    // A popup that lists what is open (the Windows menu) makes its items anew as it opens.
    if (!menu->actions().contains(item)) {
        item = nullptr;
        for (QAction* a : menu->actions())
            if (!item && !a->isSeparator() && !a->menu() && matches(*a)) item = a;
        if (!item) {
            EscapeMenus();
            return false;
        }
    }
    // A greyed item takes no click: the popup stays open and is closed as a user would.
    if (!item->isEnabled() || !item->isVisible()) {
        EscapeMenus();
        return false;
    }
    ClickAt(ScreenPoint(menu, menu->actionGeometry(item).center()));
    TTestHook::ProcessEvents();
    return true;
}

}  // namespace

// ---------------------------------------------------------------- where

QPoint ScreenPoint(QWidget* widget, QPoint local)
{
    if (!widget) return {};
    if (local == QPoint(-1, -1)) local = widget->rect().center();
    return widget->mapToGlobal(local);
}

QPoint ScreenPoint(TWindow& window, int x, int y)
{
    return ScreenPoint(window.Widget(), x < 0 ? QPoint(-1, -1) : QPoint(x, y));
}

QWidget* WidgetAt(QPoint global)
{
    // The window system stacks an open popup, then the modal window, then the active window
    // above the others (the headless screen keeps no stacking order of its own).
    if (QWidget* w = TopAt(QApplication::activePopupWidget(), global)) return w;
    if (QWidget* w = TopAt(QApplication::activeModalWidget(), global)) return w;
    if (QWidget* w = TopAt(QApplication::activeWindow(), global)) return w;
    if (QWidget* w = QApplication::widgetAt(global)) return w;
    // Off the screen's edge (a window larger than the headless screen): the windows in the
    // order Qt knows them.
    for (QWidget* top : QApplication::topLevelWidgets())
        if (QWidget* w = TopAt(top, global)) return w;
    return nullptr;
}

// ---------------------------------------------------------------- mouse

QWidget* MoveMouseTo(QPoint global)
{
    QWidget* hit = nullptr;
    QPoint local;
    QWindow* handle = HandleAt(global, hit, local);
    if (!handle) return nullptr;
    QTest::mouseMove(handle, local);
    QCoreApplication::processEvents();
    return hit;
}

namespace {

// The pointer brought to the point and the window under it made ready for a press there; act
// then gives the buttons at the point in that window. The widget Qt found there, or none.
QWidget* PressAt(QPoint global, const std::function<void(QWindow*, QPoint)>& act)
{
    QWidget* hit = nullptr;
    QPoint local;
    QWindow* handle = HandleAt(global, hit, local);
    if (!handle) return nullptr;
    QPointer<QWidget> guard(hit);
    // The pointer comes to the point before a button is pressed there.
    QTest::mouseMove(handle, local);
    ActivateOnPress(handle, hit);
    act(handle, local);
    QCoreApplication::processEvents();
    return guard;
}

}  // namespace

QWidget* ClickAt(QPoint global, Qt::MouseButton button, Qt::KeyboardModifiers mods)
{
    return PressAt(global, [&](QWindow* handle, QPoint local) {
        QTest::mousePress(handle, button, mods, local);
        QTest::mouseRelease(handle, button, mods, local);
    });
}

QWidget* DoubleClickAt(QPoint global, Qt::KeyboardModifiers mods)
{
    return PressAt(global, [&](QWindow* handle, QPoint local) { QTest::mouseDClick(handle, Qt::LeftButton, mods, local); });
}

QWidget* DragAt(QPoint from, QPoint to, Qt::KeyboardModifiers mods)
{
    return PressAt(from, [&](QWindow* handle, QPoint local) {
        QTest::mousePress(handle, Qt::LeftButton, mods, local);
        // While the button is held the window that took the press gets every move.
        constexpr int kSteps = 4;
        for (int i = 1; i <= kSteps && from != to; ++i)
            QTest::mouseMove(handle, handle->mapFromGlobal(from + (to - from) * i / kSteps));
        QTest::mouseRelease(handle, Qt::LeftButton, mods, handle->mapFromGlobal(to));
    });
}

bool WheelAt(QPoint global, QPoint angleDelta, Qt::KeyboardModifiers mods)
{
    QWidget* hit = nullptr;
    QPoint local;
    QWindow* handle = HandleAt(global, hit, local);
    if (!handle) return false;
    QTest::mouseMove(handle, local);
    // The wheel event as the window system hands it over; Qt gives it to the widget under the
    // pointer and on to its parents while none takes it.
    QWheelEvent e(QPointF(hit->mapFromGlobal(global)), QPointF(global), QPoint(), angleDelta, Qt::NoButton, mods,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    QApplication::sendEvent(hit, &e);
    QCoreApplication::processEvents();
    return e.isAccepted();
}

std::string HoverAt(QPoint global, int waitMs)
{
    // The tip of an earlier rest fades once the pointer moves on; a person reads the next one.
    QToolTip::hideText();
    WaitUntil([] { return !QToolTip::isVisible(); }, 1000);
    if (!MoveMouseTo(global)) return {};
    WaitUntil([] { return QToolTip::isVisible() && !QToolTip::text().isEmpty(); }, waitMs);
    return ShownToolTip();
}

bool BringToFront(TWindow& window) { return BringToFront(window.Widget()); }

bool BringToFront(QWidget* w)
{
    if (!w || !w->isVisible()) return false;
    QWidget* top = w->window();
    if (QWindow* handle = top->windowHandle()) handle->requestActivate();
    return WaitUntil([top] { return top->isActiveWindow(); }, 1000);
}

// ---------------------------------------------------------------- keyboard

void PressKeys(unsigned vk, unsigned modKeys)
{
    SendKey(KeyWindow(), static_cast<Qt::Key>(TTestHook::QtKeyCode(vk)), Modifiers(modKeys), KeyText(vk, modKeys));
}

void PressQtKey(Qt::Key key, Qt::KeyboardModifiers mods)
{
    QString text;
    if (!(mods & Qt::ControlModifier)) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z)
            text = QString(QChar((mods & Qt::ShiftModifier) ? 'A' + (key - Qt::Key_A) : 'a' + (key - Qt::Key_A)));
        else if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Space)
            text = QString(QChar(static_cast<char16_t>(key)));
        else if (key == Qt::Key_Escape)
            text = QString(QChar(27));
        else if (key == Qt::Key_Return || key == Qt::Key_Enter)
            text = QStringLiteral("\r");
    }
    SendKey(KeyWindow(), key, mods, text);
}

void TypeText(const std::string& text)
{
    for (const QChar c : QString::fromStdString(text)) {
        Qt::Key key = static_cast<Qt::Key>(c.toUpper().unicode());
        Qt::KeyboardModifiers mods;
        if (c.isUpper()) mods |= Qt::ShiftModifier;
        if (c == '\n') key = Qt::Key_Return;
        SendKey(KeyWindow(), key, mods, c == '\n' ? QStringLiteral("\r") : QString(c));
    }
}

void PressShortcut(const std::string& keys)
{
    const QKeySequence seq(QString::fromStdString(keys), QKeySequence::PortableText);
    for (int i = 0; i < seq.count(); ++i) PressQtKey(seq[i].key(), seq[i].keyboardModifiers());
}

// ---------------------------------------------------------------- menus

bool ClickMenuItem(TWindow& frame, const std::string& popup, const std::string& item)
{
    QMenuBar* bar = TTestHook::MenuBarOf(frame);
    if (!bar) return false;
    QMenu* titled = nullptr;
    for (QAction* top : bar->actions())
        if (top->menu() && TTestHook::MenuPlainText(top->text()) == popup) titled = top->menu();
    if (!titled) return false;
    const auto inTitled = [&](const QAction& a) {
        for (QObject* p = a.parent(); p; p = p->parent())
            if (p == titled) return TTestHook::MenuPlainText(a.text()) == item;
        return false;
    };
    if (!BarPath(*bar, inTitled).empty()) return ClickPath(frame, inTitled);
    // Not there before the popup opens: it may be one of the items the popup makes as it opens.
    if (!bar->isVisible()) return false;
    ClickAt(ScreenPoint(bar, bar->actionGeometry(titled->menuAction()).center()));
    if (!WaitUntil([titled] { return titled->isVisible(); })) return EscapeMenus(), false;
    for (QAction* a : titled->actions())
        if (!a->isSeparator() && !a->menu() && a->isEnabled() && inTitled(*a)) {
            ClickAt(ScreenPoint(titled, titled->actionGeometry(a).center()));
            TTestHook::ProcessEvents();
            return true;
        }
    EscapeMenus();
    return false;
}

bool ClickMenuItem(TWindow& frame, unsigned id)
{
    return ClickPath(frame, [id](const QAction& a) { return MenuActionId(a) == id; });
}

bool MenuItemShownGrey(TWindow& frame, unsigned id)
{
    QMenuBar* bar = TTestHook::MenuBarOf(frame);
    if (!bar) return false;
    const std::vector<QAction*> path = BarPath(*bar, [id](const QAction& a) { return MenuActionId(a) == id; });
    if (!OpenPath(*bar, path)) return false;
    const bool grey = !path.back()->isEnabled();
    EscapeMenus();
    return grey;
}

bool ChooseMenuItem(TWindow& frame, unsigned id) { return ClickMenuItem(frame, id); }

bool ChooseMenuItem(TWindow& frame, const std::string& popup, const std::string& item)
{
    return ClickMenuItem(frame, popup, item);
}

// ---------------------------------------------------------------- waiting

bool WaitUntil(const std::function<bool()>& condition, int waitMs)
{
    return QTest::qWaitFor(condition, waitMs);
}

// ---------------------------------------------------------------- window-based calls

namespace {

bool ButtonClickReaches(TWindow& window, int x, int y, Qt::MouseButton button)
{
    QWidget* w = window.Widget();
    if (!w || !w->isVisible()) return false;
    PressSpy spy;
    ClickAt(ScreenPoint(window, x, y), button);
    return spy.reached && (spy.reached == w || w->isAncestorOf(spy.reached));
}

}  // namespace

bool ClickReaches(TWindow& window, int x, int y) { return ButtonClickReaches(window, x, y, Qt::LeftButton); }

bool RightClickReaches(TWindow& window, int x, int y) { return ButtonClickReaches(window, x, y, Qt::RightButton); }

bool ClickDlgItem(TDialog& dialog, int id)
{
    TWindow* control = dialog.GetDlgItem(id);
    const bool reached = control && ClickReaches(*control);
    TTestHook::ProcessEvents();
    return reached;
}

void DragMouse(TWindow& window, int fromX, int fromY, int toX, int toY, unsigned modKeys)
{
    QWidget* w = window.Widget();
    if (!w || !w->isVisible()) return;
    DragAt(ScreenPoint(window, fromX, fromY), ScreenPoint(window, toX, toY), Modifiers(modKeys));
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
    // The mouse comes into a window it was not over across its edge, so that the first
    // control it reaches is entered as every later one is.
    if (!w->window()->underMouse()) MoveMouseTo(w->window()->mapToGlobal(QPoint(0, 0)));
    MoveMouseTo(ScreenPoint(window, x, y));
}

void PressKey(TWindow& window, unsigned vk, unsigned modKeys)
{
    QWidget* w = window.Widget();
    if (!w) return;
    QWindow* handle = w->window()->windowHandle();
    SendKey(handle ? handle : KeyWindow(), static_cast<Qt::Key>(TTestHook::QtKeyCode(vk)), Modifiers(modKeys),
            KeyText(vk, modKeys));
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
    auto shown = std::make_shared<QElapsedTimer>();
    QObject::connect(timer, &QTimer::timeout, timer, [timer, tries, shown, act = std::move(act)] {
        TWindow* modal = InModalLoop() ? ActiveModalWindow() : nullptr;
        if (!modal && --*tries > 0) return;
        // A person acts once the window is in front and has the keyboard.
        if (modal && !shown->isValid()) shown->start();
        if (modal && !modal->Widget()->isActiveWindow() && shown->elapsed() < 1000) return;
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

}  // namespace vyn
