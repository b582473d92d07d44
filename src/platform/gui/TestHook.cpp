#include "platform/gui/TestHook.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

// Exported by Qt's GUI library for its test tools: offers a key to the shortcut map.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text, bool autorep, ushort count);

#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Window.h"

namespace vyn {

namespace {
TTestHook* gHook = nullptr;

}  // namespace

int TTestHook::QtKeyCode(unsigned vk)
{
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + static_cast<int>(vk - 'A');
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + static_cast<int>(vk - '0');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + static_cast<int>(vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_APPS: return Qt::Key_Menu;
    default: return 0;
    }
}

namespace {

QString KeyText(unsigned vk, unsigned modKeys)
{
    if (vk >= 'A' && vk <= 'Z') return QString(QChar(modKeys & MK_SHIFT ? vk : vk - 'A' + 'a'));
    if ((vk >= '0' && vk <= '9') || vk == VK_SPACE) return QString(QChar(vk));
    if (vk == VK_RETURN) return QStringLiteral("\r");
    if (vk == VK_ESCAPE) return QString(QChar(27));
    if (vk == VK_BACK) return QString(QChar(8));
    if (vk == VK_TAB) return QStringLiteral("\t");
    return {};
}

void SendKey(QWidget* w, int key, Qt::KeyboardModifiers mods, const QString& text)
{
    if (!w) return;
    // Qt's own entry to its shortcut map, which the keyboard's events pass through first.
    if ((mods & Qt::AltModifier) && qt_sendShortcutOverrideEvent(w, 0, key, mods, text, false, 1)) return;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QWidget* now = QApplication::focusWidget();
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(now ? now : w, &release);
}
}  // namespace

TTestHook::TTestHook() { gHook = this; }
TTestHook::~TTestHook()
{
    if (gHook == this) gHook = nullptr;
}

bool TTestHook::Active() { return gHook != nullptr; }
TTestHook& TTestHook::Get() { return *gHook; }

std::vector<std::string> TTestHook::MessageTexts() const
{
    std::vector<std::string> out;
    for (const auto& m : messages_) out.push_back(m.text);
    return out;
}

void TTestHook::AnswerDialog(int resId, int button, std::function<void(TDialog&)> drive)
{
    dialogAnswers_[resId].push_back({button, std::move(drive)});
}

void TTestHook::Key(unsigned vk, unsigned modKeys, TWindow* target)
{
    QWidget* w = target ? target->Widget() : QApplication::focusWidget();
    Qt::KeyboardModifiers mods;
    if (modKeys & MK_SHIFT) mods |= Qt::ShiftModifier;
    if (modKeys & MK_CONTROL) mods |= Qt::ControlModifier;
    if (modKeys & kAlt) mods |= Qt::AltModifier;
    SendKey(w, QtKeyCode(vk), mods, KeyText(vk, modKeys));
}

void TTestHook::Type(const std::string& text, TWindow* target)
{
    for (char c : text) {
        QWidget* w = target ? target->Widget() : QApplication::focusWidget();
        int key = 0;
        if (c >= 'a' && c <= 'z') key = Qt::Key_A + (c - 'a');
        else if (c >= 'A' && c <= 'Z') key = Qt::Key_A + (c - 'A');
        else if (c >= '0' && c <= '9') key = Qt::Key_0 + (c - '0');
        else if (c == ' ') key = Qt::Key_Space;
        else key = static_cast<unsigned char>(c);
        SendKey(w, key, (c >= 'A' && c <= 'Z') ? Qt::ShiftModifier : Qt::NoModifier, QString(QChar(c)));
    }
}

QMenuBar* TTestHook::MenuBarOf(TWindow& frame)
{
    QWidget* top = frame.Widget() ? frame.Widget()->window() : nullptr;
    auto* main = qobject_cast<QMainWindow*>(top);
    return main ? main->menuBar() : nullptr;
}

std::string TTestHook::MenuPlainText(const QString& text)
{
    QString t = text;
    const int tab = t.indexOf('\t');
    if (tab >= 0) t.truncate(tab);
    return t.remove('&').toStdString();
}

void TTestHook::Click(TWindow& button)
{
    if (auto* b = dynamic_cast<TButton*>(&button)) b->Click();
}

namespace {

bool BlockedByModal(QWidget* w);

// Walks the popups as a user opening them would: each popup's enablers are asked first. fn gets
// each command item, the path of popup titles before it and the popups open on the way; true
// ends the walk with those popups left open.
template <class Fn>
bool Walk(QMenu* menu, const std::string& prefix, Fn& fn, std::vector<QMenu*>& chain)
{
    chain.push_back(menu);
    Q_EMIT menu->aboutToShow();
    const std::string path = prefix + menu->title().toStdString() + "/";
    for (QAction* a : menu->actions()) {
        if (a->isSeparator()) continue;
        if (a->menu()) {
            if (Walk(a->menu(), path, fn, chain)) return true;
            continue;
        }
        if (fn(a, path, chain)) return true;
    }
    Q_EMIT menu->aboutToHide();
    chain.pop_back();
    return false;
}

template <class Fn>
void WalkBar(QMenuBar& bar, Fn fn)
{
    for (QAction* top : bar.actions()) {
        if (!top->menu()) continue;
        std::vector<QMenu*> chain;
        if (Walk(top->menu(), "", fn, chain)) return;
    }
}

unsigned CommandIdOf(const QAction& a)
{
    const QVariant id = a.property("vynCommandId");
    return id.isValid() ? id.toUInt() : 0;
}

// Chooses the first command item that matches(item, path of popup titles) as a user clicks it.
template <class Match>
bool ChooseFromBar(TWindow& frame, Match matches)
{
    QMenuBar* bar = TTestHook::MenuBarOf(frame);
    // A hidden frame's bar still chooses (tests of commands need no window on a screen); one
    // that a modal window covers does not.
    if (!bar || BlockedByModal(frame.Widget())) return false;
    QAction* chosen = nullptr;
    std::vector<QMenu*> open;
    WalkBar(*bar, [&](QAction* a, const std::string& path, std::vector<QMenu*>& chain) {
        if (!CommandIdOf(*a) || !matches(*a, path)) return false;
        chosen = a;
        open = chain;
        return true;
    });
    if (!chosen) return false;
    // The popups close before the command runs, as they do when the user clicks.
    for (auto it = open.rbegin(); it != open.rend(); ++it) Q_EMIT (*it)->aboutToHide();
    if (!chosen->isEnabled() || !chosen->isVisible()) return false;
    chosen->trigger();
    TTestHook::ProcessEvents();
    return true;
}

}  // namespace

std::vector<TMenuBarItem> TTestHook::MenuBarItems(TWindow& frame)
{
    std::vector<TMenuBarItem> items;
    QMenuBar* bar = MenuBarOf(frame);
    if (!bar) return items;
    WalkBar(*bar, [&](QAction* a, const std::string& path, std::vector<QMenu*>&) {
        if (const unsigned id = CommandIdOf(*a)) {
            // A key that the windows keep for themselves stands in the text after a tab.
            const QString text = a->text().section('\t', 0, 0);
            const QString key = a->shortcut().isEmpty() ? a->text().section('\t', 1)
                                                        : a->shortcut().toString(QKeySequence::PortableText);
            items.push_back({id, path + text.toStdString(), key.toStdString(), a->isEnabled()});
        }
        return false;
    });
    return items;
}

bool TTestHook::ChooseMenuItem(TWindow& frame, unsigned id)
{
    return ChooseFromBar(frame, [id](const QAction& a, const std::string&) { return CommandIdOf(a) == id; });
}

bool TTestHook::ChooseMenuItem(TWindow& frame, const std::string& popup, const std::string& item)
{
    return ChooseFromBar(frame, [&](const QAction& a, const std::string& path) {
        const std::size_t slash = path.find('/');
        return MenuPlainText(QString::fromStdString(path.substr(0, slash))) == popup && MenuPlainText(a.text()) == item;
    });
}

bool TTestHook::TakesInput(TWindow& window)
{
    QWidget* w = window.Widget();
    return w && w->isVisible() && !BlockedByModal(w);
}

namespace {

bool BlockedByModal(QWidget* w)
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
        // A window that stays in the modal list after its modality was taken away still
        // blocks the others.
        QWindow* m = QGuiApplication::modalWindow();
        if (!m) return false;
        QWindow* own = w->window()->windowHandle();
        for (QWindow* p = own; p; p = p->transientParent())
            if (p == m) return false;
        return true;
    }
    for (QWidget* p = w; p; p = p->parentWidget())
        if (p == modal) return false;
    return true;
}

}  // namespace

void TTestHook::ProcessEvents()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

int TTestHook::RunDialog(TDialog& dlg)
{
    TTestHook& h = Get();
    h.dialogsRun_.push_back(dlg.GetResId());
    auto it = h.dialogAnswers_.find(dlg.GetResId());
    if (it == h.dialogAnswers_.end() || it->second.empty()) {
        ++h.unansweredDialogs_;
        return IDCANCEL;
    }
    DialogAnswer a = std::move(it->second.front());
    it->second.pop_front();
    // Once the dialog is gone, the window that was active before it is active again, as the
    // window system gives the keyboard back to a dialog's owner.
    struct GiveBack {
        QPointer<QWidget> before = QApplication::activeWindow();
        ~GiveBack()
        {
            if (!before) return;
            QTimer::singleShot(0, before, [w = before] {
                if (w && w->isVisible() && !QApplication::activeModalWidget() && !QApplication::activeWindow())
                    w->activateWindow();
            });
        }
    } giveBack;
    // Shown, so that focus and key handling work as for the user; offscreen nothing appears.
    // Modal, as a dialog run by the program is: over a modal window (a preview) it is the one
    // the user's clicks reach.
    dlg.Widget()->setWindowModality(Qt::ApplicationModal);
    dlg.Widget()->show();
    dlg.Widget()->activateWindow();
    QApplication::setActiveWindow(dlg.Widget());
    if (a.drive) a.drive(dlg);
    if (dlg.HasEnded()) return dlg.GetResult();
    if (a.button) {
        TWindow* b = dlg.GetDlgItem(a.button);
        if (auto* button = dynamic_cast<TButton*>(b); button && button->IsWindowVisible() && button->IsWindowEnabled())
            button->Click();
        else
            dlg.SendCommand(static_cast<unsigned>(a.button), BN_CLICKED, b);
        if (dlg.HasEnded()) return dlg.GetResult();
    }
    ++h.unansweredDialogs_;
    return -1;
}

int TTestHook::ShowMessage(const std::string& text, const std::string& caption, unsigned flags, int defaultAnswer)
{
    TTestHook& h = Get();
    int answer = defaultAnswer;
    const bool answered = !h.boxAnswers_.empty();
    if (answered) {
        answer = h.boxAnswers_.front();
        h.boxAnswers_.pop_front();
    } else {
        ++h.unansweredBoxes_;
    }
    h.messages_.push_back({text, caption, flags, answer, answered});
    return answer;
}

}  // namespace vyn
