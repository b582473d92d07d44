#include "platform/gui/Menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QPointer>
#include <QMenuBar>
#include <vector>

#include "platform/gui/Command.h"
#include "platform/gui/MenuTemplate.h"

namespace vyn {

const TMenuTemplate* FindMenuTemplate(int id)
{
    for (int i = 0; i < res::kMenuCount; ++i)
        if (res::kMenuTable[i].id == id) return &res::kMenuTable[i];
    return nullptr;
}

bool TMenuDescr::IsValid() const { return FindMenuTemplate(resId_) != nullptr; }

namespace {

const char* const kIdProperty = "vynCommandId";

void SplitKey(const std::string& text, std::string& label, std::string& key)
{
    std::size_t tab = text.find('\t');
    label = text.substr(0, tab);
    key = tab == std::string::npos ? std::string() : text.substr(tab + 1);
}

// Keys that the windows give a meaning of their own: Esc, Enter, Tab and the moving keys in a
// view or an edit, F1 as help on the window that has the keyboard. A label may show such a key
// as a reminder, but a window-wide shortcut would take it before the window could see it.
bool LeftToTheWindows(const QKeySequence& seq)
{
    if (seq.count() != 1) return false;
    const QKeyCombination k = seq[0];
    if (k.keyboardModifiers() != Qt::NoModifier) return false;
    switch (k.key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Space:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Backspace:
    case Qt::Key_F1: return true;
    default: return false;
    }
}

// The callbacks live with the menu bar, so that idle updates and replaced popups reach them.
class TMenuBarHooks : public QObject {
public:
    TMenuBarHooks(QObject* parent, std::function<void(unsigned)> send, std::function<void(TCommandEnabler&)> enable)
        : QObject(parent), send_(std::move(send)), enable_(std::move(enable))
    {
        setObjectName("vynMenuEnabler");
    }
    void Update(QAction* a) const
    {
        QVariant v = a->property(kIdProperty);
        if (!v.isValid() || !enable_) return;
        TCommandEnabler ce(v.toUInt());
        enable_(ce);
        a->setEnabled(ce.GetHandled() && ce.IsEnabled());
        a->setCheckable(ce.GetCheck() != TCommandEnabler::Unchecked);
        a->setChecked(ce.GetCheck() == TCommandEnabler::Checked);
        if (ce.TextWasSet()) {
            std::string label, key;
            SplitKey(ce.GetText(), label, key);
            const QString shownKey = a->shortcut().isEmpty() ? a->text().section('\t', 1) : QString();
            a->setText(QString::fromStdString(label) + (shownKey.isEmpty() ? QString() : '\t' + shownKey));
        }
    }
    void Send(unsigned id) const
    {
        if (send_) send_(id);
    }

private:
    std::function<void(unsigned)> send_;
    std::function<void(TCommandEnabler&)> enable_;
};

void UpdateMenu(const TMenuBarHooks& hooks, QMenu* menu)
{
    for (QAction* a : menu->actions()) {
        if (a->menu()) UpdateMenu(hooks, a->menu());
        else hooks.Update(a);
    }
}

TMenuBarHooks* HooksOf(QMenuBar& bar)
{
    return dynamic_cast<TMenuBarHooks*>(
        bar.findChild<QObject*>(QStringLiteral("vynMenuEnabler"), Qt::FindDirectChildrenOnly));
}

QMenu* AddPopup(TMenuBarHooks* hooks, QMenuBar* bar, QMenu* parent, const std::string& label)
{
    QMenu* m = parent ? parent->addMenu(QString::fromStdString(label)) : bar->addMenu(QString::fromStdString(label));
    QObject::connect(m, &QMenu::aboutToShow, m, [hooks, m] { UpdateMenu(*hooks, m); });
    return m;
}

// Adds the items of t[first, last) to the menu `into` (a nested popup gets a menu of its own).
void FillMenu(TMenuBarHooks* hooks, QMenuBar* bar, QMenu* into, const TMenuTemplate& t, int first, int last)
{
    std::vector<QMenu*> stack;
    if (into) stack.push_back(into);
    for (int i = first; i < last; ++i) {
        const TMenuItemTemplate& item = t.items[i];
        std::string label, key;
        SplitKey(item.text ? item.text : "", label, key);
        switch (item.kind) {
        case miPopup: stack.push_back(AddPopup(hooks, bar, stack.empty() ? nullptr : stack.back(), label)); break;
        case miEndPopup:
            if (!stack.empty()) stack.pop_back();
            break;
        case miSeparator:
            if (!stack.empty()) stack.back()->addSeparator();
            break;
        default: {
            if (stack.empty()) break;
            QAction* a = stack.back()->addAction(QString::fromStdString(label));
            a->setProperty(kIdProperty, static_cast<unsigned>(item.id));
            if (!key.empty()) {
                const QKeySequence seq(QString::fromStdString(key));
                const bool named = seq.toString(QKeySequence::PortableText).compare(QString::fromStdString(key),
                                                                                   Qt::CaseInsensitive) == 0;
                if (!named || LeftToTheWindows(seq)) {
                    // Shown beside the label only (also a key Qt has no name for, "Alt+BkSp"): the
                    // menu draws what follows the tab as the key.
                    a->setText(QString::fromStdString(label + "\t" + key));
                } else {
                    a->setShortcut(seq);
                    a->setShortcutContext(Qt::WindowShortcut);
                }
            }
            const unsigned id = static_cast<unsigned>(item.id);
            QObject::connect(a, &QAction::triggered, a, [hooks, id] { RunMenuCommand([hooks, id] { hooks->Send(id); }); });
            break;
        }
        }
    }
}

}  // namespace

namespace {

struct TRetired {
    int running = 0;
    std::vector<QPointer<QObject>> objects;
};

TRetired& Retired()
{
    static TRetired r;
    return r;
}

}  // namespace

void RunMenuCommand(const std::function<void()>& command)
{
    ++Retired().running;
    command();
    if (--Retired().running > 0) return;
    // Deleted when the loop that runs the popup's handling turns again, after it returned.
    std::vector<QPointer<QObject>> retired;
    retired.swap(Retired().objects);
    for (const QPointer<QObject>& o : retired)
        if (o) o->deleteLater();
}

void RetireMenuObject(QObject* object)
{
    if (Retired().running > 0) Retired().objects.emplace_back(object);
    else object->deleteLater();
}

std::vector<TMenuItemInfo> MenuItems(int resId)
{
    std::vector<TMenuItemInfo> out;
    const TMenuTemplate* t = FindMenuTemplate(resId);
    if (!t) return out;
    for (int i = 0; i < t->count; ++i) {
        if (t->items[i].kind != miItem) continue;
        TMenuItemInfo info{t->items[i].id, {}, {}};
        SplitKey(t->items[i].text, info.text, info.key);
        out.push_back(info);
    }
    return out;
}

unsigned MenuActionId(const QAction& action)
{
    QVariant v = action.property(kIdProperty);
    return v.isValid() ? v.toUInt() : 0;
}

bool BuildMenuBar(QMenuBar& bar, int resId, std::function<void(unsigned)> send,
                  std::function<void(TCommandEnabler&)> enable)
{
    // The old menus may be the sender of the command that led here (a child closed from its own
    // menu): they go once the event loop runs again.
    for (QAction* a : bar.actions()) {
        bar.removeAction(a);
        if (QMenu* m = a->menu(); m && m->parent() == &bar) RetireMenuObject(m);
        else if (a->parent() == &bar) RetireMenuObject(a);
    }
    for (QObject* old : bar.findChildren<QObject*>(QStringLiteral("vynMenuEnabler"), Qt::FindDirectChildrenOnly)) {
        old->setObjectName(QString());
        RetireMenuObject(old);
    }
    const TMenuTemplate* t = FindMenuTemplate(resId);
    if (!t) return false;
    auto* hooks = new TMenuBarHooks(&bar, std::move(send), std::move(enable));
    // The enablers are asked when a popup opens and at idle, not here: the bar is rebuilt while
    // MDI children come and go, when the windows on the route may be half torn down.
    FillMenu(hooks, &bar, nullptr, *t, 0, t->count);
    return true;
}

bool ReplaceMenuBarPopup(QMenuBar& bar, int position, int popupResId)
{
    TMenuBarHooks* hooks = HooksOf(bar);
    const TMenuTemplate* t = FindMenuTemplate(popupResId);
    const QList<QAction*> top = bar.actions();
    if (!hooks || !t || position < 0 || position >= top.size() || !top[position]->menu()) return false;
    // The resource's first popup, without its own title.
    int first = 0;
    while (first < t->count && t->items[first].kind != miPopup) ++first;
    if (first == t->count) return false;
    int last = first + 1;
    for (int depth = 1; last < t->count; ++last) {
        if (t->items[last].kind == miPopup) ++depth;
        if (t->items[last].kind == miEndPopup && --depth == 0) break;
    }
    QMenu* menu = top[position]->menu();
    for (QAction* a : menu->actions()) {
        menu->removeAction(a);
        if (QMenu* sub = a->menu(); sub && sub->parent() == menu) RetireMenuObject(sub);
        else if (a->parent() == menu) RetireMenuObject(a);
    }
    FillMenu(hooks, &bar, menu, *t, first + 1, last);
    return true;
}

void UpdateMenuBar(QMenuBar& bar)
{
    TMenuBarHooks* hooks = HooksOf(bar);
    if (!hooks) return;
    for (QAction* a : bar.actions())
        if (a->menu()) UpdateMenu(*hooks, a->menu());
}

}  // namespace vyn
