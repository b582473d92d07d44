#include "platform/gui/DecoratedFrame.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QKeyEvent>
#include <QMimeData>
#include <QPointer>
#include <QProxyStyle>
#include <QUrl>

#include "platform/gui/GadgetWindow.h"
#include "platform/gui/MDI.h"
#include "platform/gui/Menu.h"
#include "platform/gui/WindowBridge.h"
#include "platform/core/StringTable.h"

namespace vyn {

namespace {

// Takes file drops for the frame: only local files count.
class TDropFilter : public QObject {
public:
    TDropFilter(QObject* parent, std::function<void(const std::vector<std::string>&)> onDrop)
        : QObject(parent), onDrop_(std::move(onDrop))
    {
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::DragEnter || e->type() == QEvent::DragMove) {
            auto* d = static_cast<QDropEvent*>(e);
            if (d->mimeData() && d->mimeData()->hasUrls()) {
                d->acceptProposedAction();
                return true;
            }
            return false;
        }
        if (e->type() != QEvent::Drop) return false;
        auto* d = static_cast<QDropEvent*>(e);
        std::vector<std::string> files;
        if (d->mimeData())
            for (const QUrl& url : d->mimeData()->urls())
                if (url.isLocalFile()) files.push_back(url.toLocalFile().toStdString());
        d->acceptProposedAction();
        if (onDrop_) onDrop_(files);
        return true;
    }

private:
    std::function<void(const std::vector<std::string>&)> onDrop_;
};

const char* const kMiddle = "vynFrameMiddle";

// F1 on an open menu: help on the item under the mouse or the keyboard's highlight.
// Like a bar's tip filter, it lives with its popup, which Qt may delete after the frame: the
// window layer detaches it when the frame lets its widget go.
class TMenuHelpFilter : public QObject, public TWindowLink {
public:
    TMenuHelpFilter(QMenu* menu, TWindow* frame) : QObject(menu), menu_(menu), frame_(frame) {}

    void Detach() override { frame_ = nullptr; }

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (!frame_) return false;
        if (e->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(e)->key() != Qt::Key_F1) return false;
        QAction* a = menu_->activeAction();
        const unsigned id = a ? MenuActionId(*a) : 0;
        if (id == 0) return true;
        THelpInfo info;
        info.contextType = HELPINFO_MENUITEM;
        info.ctrlId = static_cast<int>(id);
        info.contextId = id;
        menu_->close();
        frame_->SendMessage(WM_HELP, 0, reinterpret_cast<TParam2>(&info));
        return true;
    }

private:
    QMenu* menu_;
    TWindow* frame_;
};

// Menus whose greyed items can still take the highlight, from the keyboard or the mouse: the
// user learns from the status hint and from F1 what an item does and why it may be greyed. A
// greyed item still does nothing when chosen.
class TMenuStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override
    {
        if (hint == QStyle::SH_Menu_AllowActiveAndDisabled) return 1;
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }

    static TMenuStyle* Instance()
    {
        static QPointer<TMenuStyle> style;
        if (!style) {
            style = new TMenuStyle;
            style->setParent(qApp);
        }
        return style;
    }
};

}  // namespace

TDecoratedFrame::TDecoratedFrame(TWindow* parent, const std::string& title, TWindow* client)
    : TWindow(parent, 0, title), client_(client)
{
    if (client_) client_->SetCommandTarget(this);
}

TDecoratedFrame::~TDecoratedFrame()
{
    // The client's window goes before the frame's, which holds it.
    if (IsWindow()) Destroy();
    delete client_;
}

void TDecoratedFrame::Insert(TGadgetWindow& decoration, TLocation location)
{
    decorations_.emplace_back(&decoration, location);
    if (outer_ && decoration.Widget()) {
        int order = 0;
        for (auto& [d, loc] : decorations_)
            if (loc == location && d != &decoration) ++order;
        Place(decoration, location, order);
    }
}

void TDecoratedFrame::SetMenuDescr(const TMenuDescr& menu)
{
    menu_ = menu;
    RefreshMenu(true);
}

void TDecoratedFrame::RefreshMenu(bool force)
{
    if (!main_) return;
    const int id = MenuToShow();
    if (!force && id == shownMenu_) return;
    bool built = BuildMenuBar(
        *main_->menuBar(), id, [this](unsigned cmd) { RouteCommand(cmd); },
        [this](TCommandEnabler& ce) { RouteCommandEnable(ce); });
    shownMenu_ = built ? id : 0;
    if (built) HookWindowMenu();
}

TStatusBar* TDecoratedFrame::StatusBar() const
{
    for (auto& [d, loc] : decorations_)
        if (auto* s = dynamic_cast<TStatusBar*>(d)) return s;
    return nullptr;
}

void TDecoratedFrame::SetStatusText(const std::string& text)
{
    TStatusBar* status = StatusBar();
    if (!status) return;
    if (hinting_) savedStatus_ = text;
    else status->SetText(text);
}

void TDecoratedFrame::SetHintCommand(int id)
{
    TStatusBar* status = StatusBar();
    if (!status) return;
    const char* text = id > 0 && id < 0x8000 ? FindResString(id) : nullptr;
    if (text && *text) {
        if (!hinting_) savedStatus_ = status->GetText();
        hinting_ = true;
        status->SetText(StatusHintPart(text));
    } else if (hinting_) {
        hinting_ = false;
        status->SetText(savedStatus_);
    }
}

void TDecoratedFrame::HookWindowMenu()
{
    for (QAction* top : main_->menuBar()->actions()) {
        QMenu* m = top->menu();
        if (!m) continue;
        // The item under the mouse explains itself in the status bar; F1 on it asks for its help.
        QList<QMenu*> popups = m->findChildren<QMenu*>();
        popups.append(m);
        for (QMenu* popup : popups) {
            QObject::connect(popup, &QMenu::hovered, popup, [this](QAction* a) { SetHintCommand(static_cast<int>(MenuActionId(*a))); });
            QObject::connect(popup, &QMenu::aboutToHide, popup, [this] { SetHintCommand(0); });
            popup->installEventFilter(new TMenuHelpFilter(popup, this));
            popup->setStyle(TMenuStyle::Instance());
        }
        bool windows = false;
        for (QAction* a : m->actions()) {
            unsigned id = MenuActionId(*a);
            windows = windows || (id >= CM_CASCADECHILDREN && id <= CM_CLOSECHILDREN);
        }
        if (windows) QObject::connect(m, &QMenu::aboutToShow, m, [this, m] { FillWindowMenu(*m); });
    }
}

bool TDecoratedFrame::ReplaceMenuPopup(int position, int popupResId)
{
    return main_ && ReplaceMenuBarPopup(*main_->menuBar(), position, popupResId);
}

TDecoratedFrame* TDecoratedFrame::FrameOf(const TWindow& w)
{
    int steps = 0;
    for (const TWindow* p = &w; p && steps < 64; p = p->NextOnRoute(), ++steps)
        if (auto* f = dynamic_cast<const TDecoratedFrame*>(p)) return const_cast<TDecoratedFrame*>(f);
    return nullptr;
}

TWindow* TDecoratedFrame::FocusInFrame() const
{
    QWidget* f = QApplication::focusWidget();
    if (!main_ || !f || !main_->isAncestorOf(f)) return nullptr;
    return FromWidget(f);
}

void TDecoratedFrame::RouteCommand(unsigned id) { RouteUserCommand(FocusInFrame(), CommandStart(), id); }

void TDecoratedFrame::RouteCommandEnable(TCommandEnabler& ce) { RouteUserEnable(FocusInFrame(), CommandStart(), ce); }

bool TDecoratedFrame::IsZoomed() const { return main_ && main_->isMaximized(); }
bool TDecoratedFrame::IsIconic() const { return main_ && main_->isMinimized(); }

void TDecoratedFrame::BringToForeground()
{
    if (!main_) return;
    if (main_->isMinimized()) main_->showNormal();
    main_->raise();
    main_->activateWindow();
}

bool TDecoratedFrame::ModalDialogOpen() { return QApplication::activeModalWidget() != nullptr; }

void TDecoratedFrame::ShowWaitCursor(bool wait)
{
    if (!qApp) return;
    if (wait) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
    else QApplication::restoreOverrideCursor();
}

void TDecoratedFrame::DragAcceptFiles(std::function<void(const std::vector<std::string>&)> onDrop)
{
    if (!main_) return;
    main_->setAcceptDrops(true);
    main_->installEventFilter(new TDropFilter(main_, std::move(onDrop)));
}

bool TDecoratedFrame::IdleAction(long idleCount)
{
    if (!main_) return false;
    UpdateMenuBar(*main_->menuBar());
    for (auto& [d, loc] : decorations_)
        if (d->IsWindow()) d->IdleAction(idleCount);
    return false;
}

TWindow* TDecoratedFrame::CommandStart() { return this; }

QWidget* TDecoratedFrame::MakeWidget(QWidget* parentWidget)
{
    main_ = new QMainWindow(parentWidget);
    auto* central = new QWidget(main_);
    auto* outer = new QVBoxLayout(central);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);
    auto* middle = new QWidget(central);
    middle->setObjectName(kMiddle);
    auto* row = new QHBoxLayout(middle);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    outer->addWidget(middle, 1);
    main_->setCentralWidget(central);
    outer_ = outer;
    main_->resize(800, 600);
    return main_;
}

void TDecoratedFrame::Place(TWindow& w, TLocation location, int order)
{
    QVBoxLayout* outer = outer_;
    QWidget* middle = main_->centralWidget()->findChild<QWidget*>(kMiddle);
    auto* row = static_cast<QHBoxLayout*>(middle->layout());
    int middleAt = outer->indexOf(middle);
    int clientAt = client_ && client_->Widget() ? row->indexOf(client_->Widget()) : row->count();
    switch (location) {
    case Top: outer->insertWidget(order, w.Widget()); break;
    case Bottom: outer->insertWidget(middleAt + 1, w.Widget()); break;
    case Left: row->insertWidget(order, w.Widget()); break;
    case Right: row->insertWidget(clientAt < 0 ? row->count() : clientAt + 1, w.Widget()); break;
    }
    w.Widget()->show();
}

void TDecoratedFrame::SetupWindow()
{
    TWindow::SetupWindow();
    if (client_) {
        client_->Create();
        if (QWidget* cw = client_->Widget()) {
            QWidget* middle = main_->centralWidget()->findChild<QWidget*>(kMiddle);
            cw->setParent(middle);
            static_cast<QHBoxLayout*>(middle->layout())->addWidget(cw, 1);
            cw->show();
        }
    }
    std::vector<int> counts(4, 0);
    for (auto& [d, loc] : decorations_) {
        if (!d->Widget()) d->Create();
        if (d->Widget()) Place(*d, loc, counts[loc]++);
    }
    RefreshMenu(true);
}

void TDecoratedFrame::CleanupWindow()
{
    if (client_) client_->Destroy();
    TWindow::CleanupWindow();
    main_ = nullptr;
    outer_ = nullptr;
    shownMenu_ = 0;
}

// --- MDI frame -----------------------------------------------------------------------------

TMDIFrame::TMDIFrame(const std::string& title, int menuResId, TMDIClient& client)
    : TDecoratedFrame(nullptr, title, &client)
{
    client.frame_ = this;
    SetMenuDescr(TMenuDescr(menuResId));
}

TMDIFrame::~TMDIFrame()
{
    if (TMDIClient* c = GetMDIClient()) c->frame_ = nullptr;
}

int TMDIFrame::MenuToShow() const
{
    if (TMDIClient* c = GetMDIClient())
        if (TMDIChild* child = c->GetActiveMDIChild())
            if (child->GetMenuDescr().IsValid()) return child->GetMenuDescr().GetId();
    return TDecoratedFrame::MenuToShow();
}

void TMDIFrame::FillWindowMenu(QMenu& menu)
{
    const char* const kChildItem = "vynChildItem";
    for (QAction* a : menu.actions())
        if (a->property(kChildItem).isValid()) {
            menu.removeAction(a);
            RetireMenuObject(a);
        }
    TMDIClient* c = GetMDIClient();
    if (!c || c->Children().empty()) return;
    auto addItem = [&](QAction* a) {
        a->setProperty(kChildItem, true);
        menu.addAction(a);
    };
    auto* sep = new QAction(&menu);
    sep->setSeparator(true);
    addItem(sep);
    int n = 0;
    for (TMDIChild* child : c->Children()) {
        ++n;
        QString number = n < 10 ? QStringLiteral("&%1 ").arg(n) : QStringLiteral("%1 ").arg(n);
        auto* a = new QAction(number + QString::fromStdString(child->GetWindowText()), &menu);
        a->setCheckable(true);
        a->setChecked(child == c->GetActiveMDIChild());
        QObject::connect(a, &QAction::triggered, a, [c, child] {
            RunMenuCommand([c, child] {
                // The child may have gone while the menu was open.
                for (TMDIChild* live : c->Children())
                    if (live == child) c->ActivateChild(*child);
            });
        });
        addItem(a);
    }
}

TMDIClient* TMDIFrame::GetMDIClient() const { return static_cast<TMDIClient*>(GetClientWindow()); }

void TMDIFrame::EvActivate(unsigned active, bool minimized, TWindow* other)
{
    if (TMDIClient* c = GetMDIClient())
        if (TMDIChild* child = c->GetActiveMDIChild()) child->EvFrameActivate(active, minimized, other);
    TDecoratedFrame::EvActivate(active, minimized, other);
}

TWindow* TMDIFrame::CommandStart()
{
    if (TMDIClient* c = GetMDIClient())
        if (TMDIChild* child = c->GetActiveMDIChild()) {
            if (TWindow* view = child->GetCommandView()) return view;
            return child;
        }
    return this;
}

}  // namespace vyn
