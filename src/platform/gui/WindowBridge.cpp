#include "platform/gui/WindowBridge.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <QTimerEvent>

#include "platform/gui/Application.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/Keyboard.h"
#include "platform/gui/Window.h"
#include "platform/gui/WindowPost.h"

namespace vyn {

namespace {
TWindow* gLastFocus = nullptr;

TParam2 KeyParam(const QKeyEvent* e)
{
    unsigned flags = e->isAutoRepeat() ? KF_REPEAT : 0;
    return static_cast<TParam2>(1u | (flags << 16));
}

TParam2 PointParam(const QPointF& p)
{
    return MAKELPARAM(static_cast<int>(p.x()), static_cast<int>(p.y()));
}

TDialog* DialogOf(TWindow* w)
{
    for (TWindow* p = w ? w->GetParent() : nullptr; p; p = p->GetParent())
        if (auto* d = dynamic_cast<TDialog*>(p)) return d;
    return nullptr;
}
}  // namespace

TWindowBridge::TWindowBridge(TWindow* w) : window_(w) {}

bool TWindowBridge::IsContextMenuKey(const QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    return (e->key() == Qt::Key_Menu && mods == Qt::NoModifier) || (e->key() == Qt::Key_F10 && mods == Qt::ShiftModifier);
}

unsigned TWindowBridge::VirtualKey(const QKeyEvent* e)
{
    int k = e->key();
    if (k >= Qt::Key_A && k <= Qt::Key_Z) return static_cast<unsigned>('A' + (k - Qt::Key_A));
    if (k >= Qt::Key_0 && k <= Qt::Key_9) return static_cast<unsigned>('0' + (k - Qt::Key_0));
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return VK_F1 + static_cast<unsigned>(k - Qt::Key_F1);
    switch (k) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Menu: return VK_APPS;
    default: return 0;
    }
}

unsigned TWindowBridge::CharOf(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return 13;
    case Qt::Key_Escape: return 27;
    case Qt::Key_Backspace: return 8;
    case Qt::Key_Tab: return 9;
    default: break;
    }
    QString t = e->text();
    if (t.isEmpty()) return 0;
    char32_t c = t.toUcs4().value(0);
    if (c == 127) return 0;  // Delete acts on key down only
    return static_cast<unsigned>(c);
}

unsigned TWindowBridge::ModKeys(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods)
{
    unsigned m = 0;
    if (buttons & Qt::LeftButton) m |= MK_LBUTTON;
    if (buttons & Qt::RightButton) m |= MK_RBUTTON;
    if (buttons & Qt::MiddleButton) m |= MK_MBUTTON;
    if (mods & Qt::ShiftModifier) m |= MK_SHIFT;
    if (mods & Qt::ControlModifier) m |= MK_CONTROL;
    return m;
}

void TWindowBridge::GiveFocusBack(QWidget* focusBefore)
{
    if (!focusBefore || !focusBefore->isVisible()) return;
    TWindow* back = TWindow::FromWidget(focusBefore);
    if (!back) return;
    // The modal window just hidden may still count as the active window until the window
    // system says otherwise.
    const QWidget* active = QApplication::activeWindow();
    if (!active || !active->isVisible()) back->SetFocus();
    if (back->HasFocus()) FocusBack(*back);
}

void TWindowBridge::FocusBack(TWindow& window)
{
    if (gLastFocus == &window) return;
    TWindow* lost = gLastFocus;
    gLastFocus = &window;
    window.DispatchFromPlatform(WM_SETFOCUS, reinterpret_cast<TParam1>(lost), 0);
}

bool TWindowBridge::KeyPress(QWidget* w, QKeyEvent* e)
{
    TWindow* win = window_;
    unsigned vk = VirtualKey(e);
    TParam2 lp = KeyParam(e);
    Qt::KeyboardModifiers mods = e->modifiers();
    // Shift+Tab arrives as Backtab, with or without the Shift it came from.
    if (e->key() == Qt::Key_Backtab) mods |= Qt::ShiftModifier;
    SetKeyModifiers(ModKeys(Qt::NoButton, mods) | (mods & Qt::AltModifier ? 0x20u : 0u));
    // The dialogs around the control hear the key first, the innermost first (a page, then its
    // sheet): Tab moves the focus before any control can keep it. Only those in the key's own
    // window: the sheet behind a dialog opened from its page hears nothing.
    for (TDialog* dlg = DialogOf(win); dlg && dlg->Widget() && dlg->Widget()->window() == w->window(); dlg = DialogOf(dlg))
        if (dlg->PreProcessKey(vk, win)) return true;
    // As in a dialog: Enter and Escape go to the dialog's buttons unless the control claims them.
    if (vk == VK_RETURN || vk == VK_ESCAPE) {
        if (TDialog* dlg = DialogOf(win)) {
            TMsg m{WM_KEYDOWN, vk, lp};
            auto code = static_cast<unsigned>(win->SendMessage(WM_GETDLGCODE, vk, reinterpret_cast<TParam2>(&m)));
            if (!(code & DLGC_WANTALLKEYS)) {
                dlg->DialogKey(vk, win);
                return true;
            }
        }
    }
    // F1 that no shortcut took asks for help on the focus window.
    if (vk == VK_F1 && !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier))) {
        win->RequestHelp();
        return true;
    }
    bool keyDefault = win->DispatchFromPlatform(WM_KEYDOWN, vk, lp);
    if (!window_) return true;
    // The menu key and Shift+F10 that the window leaves to the default handling ask for its
    // context menu, as a right click does.
    if (keyDefault && IsContextMenuKey(e)) {
        const QRect caret = w->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QPoint at = caret.isValid() ? caret.center() : w->rect().center();
        QContextMenuEvent request(QContextMenuEvent::Keyboard, at, w->mapToGlobal(at), e->modifiers());
        QApplication::sendEvent(w, &request);
        return true;
    }
    unsigned ch = CharOf(e);
    // Alt with a character key is a command (a marked letter, a menu's key); one that nothing
    // took types nothing, into an edit or anywhere else: a formula never changes by a letter the
    // user did not see typed. Ctrl+Alt is the keyboard's third level, which does type.
    if (ch >= 32 && (mods & Qt::AltModifier) && !(mods & Qt::ControlModifier)) {
        if (keyDefault && !synthesizing_) {
            synthesizing_ = true;
            QKeyEvent keyOnly(QEvent::KeyPress, e->key(), e->modifiers(), QString());
            QApplication::sendEvent(w, &keyOnly);
            synthesizing_ = false;
        }
        return true;
    }
    bool charDefault = true;
    if (ch) {
        charDefault = win->DispatchFromPlatform(WM_CHAR, ch, lp);
        if (!window_) return true;
    }
    if (keyDefault && charDefault) return false;
    if (!keyDefault && ch >= 32 && charDefault && !synthesizing_) {
        // The key itself was taken but its character was not: the control gets the text alone.
        synthesizing_ = true;
        QKeyEvent textOnly(QEvent::KeyPress, 0, e->modifiers(), e->text());
        QApplication::sendEvent(w, &textOnly);
        synthesizing_ = false;
    }
    return true;
}

bool TWindowBridge::ClaimsFromShortcuts(QWidget* w, QKeyEvent* e)
{
    // The menu's shortcuts are the main window's. In a window of its own beside it (the
    // attribute window), a control that takes every key keeps Esc, Enter and Tab, as it would
    // in a dialog: Esc in a choice list closes the list rather than choosing the designer's
    // pointer.
    const unsigned vk = VirtualKey(e);
    if (vk != VK_ESCAPE && vk != VK_RETURN && vk != VK_TAB) return false;
    // The control is asked once per key, when the key comes (its answer may act, as Ctrl+Enter
    // on a variable list does); with Ctrl or Alt held the key is no dialog key to keep.
    if (e->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
    TApplication* app = TApplication::Current();
    TWindow* main = app ? app->GetMainWindow() : nullptr;
    if (!main || !main->Widget() || main->Widget()->window() == w->window()) return false;
    TMsg m{WM_KEYDOWN, vk, KeyParam(e)};
    const auto code = static_cast<unsigned>(window_->SendMessage(WM_GETDLGCODE, vk, reinterpret_cast<TParam2>(&m)));
    if (!(code & DLGC_WANTALLKEYS)) return false;
    e->accept();
    return true;
}

bool TWindowBridge::Mouse(QMouseEvent* m)
{
    unsigned msg = WM_MOUSEMOVE;
    bool right = m->button() == Qt::RightButton;
    if (m->type() == QEvent::MouseButtonPress) msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN;
    else if (m->type() == QEvent::MouseButtonRelease) msg = right ? WM_RBUTTONUP : WM_LBUTTONUP;
    else if (m->type() == QEvent::MouseButtonDblClick) msg = right ? WM_RBUTTONDOWN : WM_LBUTTONDBLCLK;
    if (msg != WM_MOUSEMOVE && m->button() != Qt::LeftButton && m->button() != Qt::RightButton) return false;
    return !window_->DispatchFromPlatform(msg, ModKeys(m->buttons(), m->modifiers()), PointParam(m->position()));
}

bool TWindowBridge::eventFilter(QObject* watched, QEvent* e)
{
    TWindow* win = window_;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!win || !w || synthesizing_) return false;
    const bool mouse = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonRelease ||
                       e->type() == QEvent::MouseButtonDblClick || e->type() == QEvent::MouseMove;
    // A scroll area's viewport is the window's client area, where Qt delivers its mouse input;
    // what the viewport leaves reaches the area itself afterwards and was heard already.
    if (w != win->Widget()) return mouse && Mouse(static_cast<QMouseEvent*>(e));
    if (mouse && qobject_cast<QAbstractScrollArea*>(w)) return false;
    switch (e->type()) {
    case QEvent::KeyPress: return KeyPress(w, static_cast<QKeyEvent*>(e));
    case QEvent::ShortcutOverride: return ClaimsFromShortcuts(w, static_cast<QKeyEvent*>(e));
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        return !win->DispatchFromPlatform(WM_KEYUP, VirtualKey(k), KeyParam(k));
    }
    case QEvent::FocusIn: {
        TWindow* lost = gLastFocus != win ? gLastFocus : nullptr;
        gLastFocus = win;
        win->DispatchFromPlatform(WM_SETFOCUS, reinterpret_cast<TParam1>(lost), 0);
        return false;
    }
    case QEvent::FocusOut: {
        if (static_cast<QFocusEvent*>(e)->reason() == Qt::PopupFocusReason) return false;
        TWindow* gets = TWindow::FromWidget(QApplication::focusWidget());
        if (gets == win) return false;
        if (gLastFocus == win) gLastFocus = nullptr;
        win->DispatchFromPlatform(WM_KILLFOCUS, reinterpret_cast<TParam1>(gets), 0);
        return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: return Mouse(static_cast<QMouseEvent*>(e));
    case QEvent::Enter:
    case QEvent::Leave:
        // The parent learns which of its children lies under the mouse (hint lines).
        if (!w->isWindow())
            if (TWindow* parent = win->GetParent()) {
                TWindow* under = e->type() == QEvent::Enter ? win : parent;
                parent->DispatchFromPlatform(WM_SETCURSOR, reinterpret_cast<TParam1>(under),
                                             MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            }
        return false;
    case QEvent::Wheel: return Wheel(w, e);
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
        if (!w->isWindow()) return false;
        // The application names the new active window before the old one hears of it, so a
        // window losing the activation learns whether the program keeps it.
        const bool active = e->type() == QEvent::WindowActivate;
        TWindow* other = active ? nullptr : TWindow::FromWidget(QApplication::activeWindow());
        win->DispatchFromPlatform(WM_ACTIVATE, MAKEWPARAM(active ? WA_ACTIVE : WA_INACTIVE, w->isMinimized() ? 1 : 0),
                                  reinterpret_cast<TParam2>(other));
        return false;
    }
    case QEvent::ContextMenu: {
        auto* c = static_cast<QContextMenuEvent*>(e);
        // Some window systems turn the menu key into a context menu of their own before the key
        // arrives; the key press asks for it, so that it comes once.
        if (c->reason() == QContextMenuEvent::Keyboard && c->spontaneous()) return true;
        // A request from the keyboard has no point: the window places its menu itself.
        const QPoint at = c->reason() == QContextMenuEvent::Keyboard ? QPoint(-1, -1) : c->globalPos();
        return !win->DispatchFromPlatform(WM_CONTEXTMENU, reinterpret_cast<TParam1>(win), MAKELPARAM(at.x(), at.y()));
    }
    case QEvent::Resize: {
        // A frame with an inner client area hears of the area's size, once the area has it.
        if (win->ClientWidget() == w || !win->ClientWidget()) {
            TRect rc = win->GetClientRect();
            win->DispatchFromPlatform(WM_SIZE, w->isMaximized() ? SIZE_MAXIMIZED : SIZE_RESTORED,
                                      MAKELPARAM(rc.Width(), rc.Height()));
        }
        [[fallthrough]];
    }
    case QEvent::Show:
        // Top-level windows and MDI frames keep the minimum tracking size their window asks for.
        // A minimised MDI frame is only its title bar: its view's minimum would give it a body.
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w); sub && sub->isMinimized()) return false;
        if ((w->isWindow() || qobject_cast<QMdiSubWindow*>(w)) && window_) {
            TMinMaxInfo info;
            win->SendMessage(WM_GETMINMAXINFO, 0, reinterpret_cast<TParam2>(&info));
            if (info.minTrackSizeX > 0 || info.minTrackSizeY > 0) {
                w->setMinimumSize(std::max(0, info.minTrackSizeX), std::max(0, info.minTrackSizeY));
            }
        }
        return false;
    case QEvent::Close:
        e->ignore();
        win->DispatchFromPlatform(WM_CLOSE, 0, 0);
        return true;
    default: return false;
    }
}

bool TWindowBridge::Wheel(QWidget* w, QEvent* e)
{
    // A window with scroll bars of its own scrolls by lines: three per notch of the wheel, up
    // or left when the wheel turns away from the user.
    auto* plain = dynamic_cast<TWindowWidget*>(w);
    if (!plain) return false;
    auto* we = static_cast<QWheelEvent*>(e);
    const QPoint d = we->angleDelta();
    int bar = SB_VERT;
    int delta = d.y();
    if (!plain->BarShown(SB_VERT) || (d.y() == 0 && d.x() != 0)) {
        bar = SB_HORZ;
        delta = d.y() != 0 ? d.y() : d.x();
    }
    if (!plain->BarShown(bar) || delta == 0) return false;
    wheelRest_ += delta;
    const int notches = wheelRest_ / 120;
    wheelRest_ -= notches * 120;
    const unsigned msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    for (int i = 0; i < 3 * std::abs(notches) && window_; ++i)
        window_->SendMessage(msg, notches > 0 ? SB_LINEUP : SB_LINEDOWN, 0);
    if (notches != 0 && window_) window_->SendMessage(msg, SB_ENDSCROLL, 0);
    we->accept();
    return true;
}

bool TWindowBridge::event(QEvent* e)
{
    if (e->type() != TPostedMessage::EventType()) return QObject::event(e);
    auto* pm = static_cast<TPostedMessage*>(e);
    if (!pm->send) {
        if (window_) window_->SendMessage(pm->msg, pm->p1, pm->p2);
        return true;
    }
    {
        std::lock_guard lock(pm->send->mutex);
        if (pm->send->stage == TSendState::Abandoned) return true;
        pm->send->stage = TSendState::Running;
    }
    TResult r = window_ ? window_->SendMessage(pm->msg, pm->p1, pm->p2) : 0;
    {
        std::lock_guard lock(pm->send->mutex);
        pm->send->result = r;
        pm->send->stage = TSendState::Done;
    }
    pm->send->done.notify_all();
    return true;
}

void TWindowBridge::timerEvent(QTimerEvent* e)
{
    if (!window_) return;
    for (const auto& [id, qtId] : window_->timers_)
        if (qtId == e->timerId()) {
            window_->DispatchFromPlatform(WM_TIMER, id, 0);
            return;
        }
}

TWindowWidget::TWindowWidget(TWindow* w, QWidget* parent) : QWidget(parent), window_(w)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
    // The window hears the mouse pass over it with no button down too (its cursor and hover
    // hit tests), as the window system tells every window under the mouse.
    setMouseTracking(true);
}

void TWindowWidget::paintEvent(QPaintEvent* e)
{
    if (!window_) return;
    QImage& img = window_->EnsureImage();
    QRect r = e->rect();
    bool erase = window_->pendingErase_;
    window_->pendingErase_ = false;
    window_->PaintInto(img, TRect(r.left(), r.top(), r.left() + r.width(), r.top() + r.height()), erase);
    QPainter p(this);
    const QRect client = ClientArea();
    p.drawImage(r & client, img, r & client);
    // The corner between two scroll bars.
    if (BarShown(SB_HORZ) && BarShown(SB_VERT))
        p.fillRect(QRect(client.right() + 1, client.bottom() + 1, width() - client.width(), height() - client.height()),
                   palette().color(QPalette::Button));
}

QScrollBar* TWindowWidget::ScrollBar(int which, bool make)
{
    if (which != SB_HORZ && which != SB_VERT) return nullptr;
    if (!bars_[which] && make) {
        bars_[which] = new QScrollBar(which == SB_HORZ ? Qt::Horizontal : Qt::Vertical, this);
        bars_[which]->setFocusPolicy(Qt::NoFocus);  // the window keeps the keyboard
        bars_[which]->hide();
    }
    return bars_[which];
}

bool TWindowWidget::BarShown(int which) const
{
    return (which == SB_HORZ || which == SB_VERT) && bars_[which] && !bars_[which]->isHidden();
}

void TWindowWidget::ShowBar(int which, bool show)
{
    QScrollBar* bar = ScrollBar(which, show);
    if (!bar || bar->isHidden() != show) return;
    bar->setVisible(show);
    LayoutBars();
}

QRect TWindowWidget::ClientArea() const
{
    const int extent = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int w = std::max(0, width() - (BarShown(SB_VERT) ? extent : 0));
    const int h = std::max(0, height() - (BarShown(SB_HORZ) ? extent : 0));
    return QRect(0, 0, w, h);
}

void TWindowWidget::LayoutBars()
{
    const QRect c = ClientArea();
    if (BarShown(SB_VERT)) bars_[SB_VERT]->setGeometry(c.width(), 0, width() - c.width(), c.height());
    if (BarShown(SB_HORZ)) bars_[SB_HORZ]->setGeometry(0, c.height(), c.width(), height() - c.height());
}

void TWindowWidget::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    LayoutBars();
}

}  // namespace vyn
