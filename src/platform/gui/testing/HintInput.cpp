#include "platform/gui/testing/HintInput.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QToolTip>
#include <QWindow>

#include "platform/gui/Menu.h"
#include "platform/gui/Window.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {

namespace {

QAction* FindItem(QMenu& menu, unsigned id, QMenu*& holder)
{
    for (QAction* a : menu.actions()) {
        if (QMenu* sub = a->menu()) {
            if (QAction* found = FindItem(*sub, id, holder)) return found;
        } else if (!a->isSeparator() && MenuActionId(*a) == id) {
            holder = &menu;
            return a;
        }
    }
    return nullptr;
}

}  // namespace

std::string RestMouse(TWindow& window, int x, int y)
{
    // A tip still showing from before goes first, so the one read is the new one.
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 3000)) return {};
    MouseOver(window, x, y);
    // The tip comes after the mouse has rested a while, as the window system's timer decides.
    if (!QTest::qWaitFor([] { return QToolTip::isVisible(); }, 3000)) return {};
    return QToolTip::text().toStdString();
}

bool HighlightMenuItem(TWindow& frame, unsigned id)
{
    auto* main = frame.Widget() ? qobject_cast<QMainWindow*>(frame.Widget()->window()) : nullptr;
    QMenuBar* bar = main ? main->menuBar() : nullptr;
    if (!bar) return false;
    CloseMenus();
    for (QAction* title : bar->actions()) {
        QMenu* popup = title->menu();
        QMenu* holder = nullptr;
        QAction* item = popup ? FindItem(*popup, id, holder) : nullptr;
        if (!item) continue;
        QWindow* barWindow = bar->window()->windowHandle();
        if (!barWindow) return false;
        const QPoint at = bar->mapTo(bar->window(), bar->actionGeometry(title).center());
        QTest::mouseMove(barWindow, at);
        QTest::mouseClick(barWindow, Qt::LeftButton, Qt::NoModifier, at);
        if (!QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000)) return false;
        if (holder != popup) return false;  // items of nested popups are not reached this way
        QTest::mouseMove(popup->windowHandle(), popup->actionGeometry(item).center());
        QCoreApplication::processEvents();
        return popup->activeAction() == item;
    }
    return false;
}

void CloseMenus()
{
    while (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QCoreApplication::processEvents();
}

}  // namespace vyn
