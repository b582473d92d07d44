#include "platform/gui/Menu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
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

// The enabler callback lives with the menu bar, so that idle updates can reach it.
class TMenuBarEnabler : public QObject {
public:
    TMenuBarEnabler(QObject* parent, std::function<void(TCommandEnabler&)> enable)
        : QObject(parent), enable_(std::move(enable))
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
    }

private:
    std::function<void(TCommandEnabler&)> enable_;
};

void UpdateMenu(const TMenuBarEnabler& en, QMenu* menu)
{
    for (QAction* a : menu->actions()) {
        if (a->menu()) UpdateMenu(en, a->menu());
        else en.Update(a);
    }
}

}  // namespace

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

bool BuildMenuBar(QMenuBar& bar, int resId, std::function<void(unsigned)> send,
                  std::function<void(TCommandEnabler&)> enable)
{
    bar.clear();
    for (QObject* old : bar.findChildren<QObject*>(QStringLiteral("vynMenuEnabler"), Qt::FindDirectChildrenOnly))
        delete old;
    const TMenuTemplate* t = FindMenuTemplate(resId);
    if (!t) return false;
    auto* en = new TMenuBarEnabler(&bar, std::move(enable));
    std::vector<QMenu*> stack;
    for (int i = 0; i < t->count; ++i) {
        const TMenuItemTemplate& item = t->items[i];
        std::string label, key;
        SplitKey(item.text ? item.text : "", label, key);
        switch (item.kind) {
        case miPopup: {
            QMenu* m = stack.empty() ? bar.addMenu(QString::fromStdString(label))
                                     : stack.back()->addMenu(QString::fromStdString(label));
            QObject::connect(m, &QMenu::aboutToShow, m, [en, m] { UpdateMenu(*en, m); });
            stack.push_back(m);
            break;
        }
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
                a->setShortcut(QKeySequence(QString::fromStdString(key)));
                a->setShortcutContext(Qt::WindowShortcut);
            }
            const unsigned id = static_cast<unsigned>(item.id);
            QObject::connect(a, &QAction::triggered, a, [send, id] {
                if (send) send(id);
            });
            break;
        }
        }
    }
    UpdateMenuBar(bar);
    return true;
}

void UpdateMenuBar(QMenuBar& bar)
{
    auto* en = dynamic_cast<TMenuBarEnabler*>(
        bar.findChild<QObject*>(QStringLiteral("vynMenuEnabler"), Qt::FindDirectChildrenOnly));
    if (!en) return;
    for (QAction* a : bar.actions())
        if (a->menu()) UpdateMenu(*en, a->menu());
}

}  // namespace vyn
