#include "platform/gui/DecoratedFrame.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCursor>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QUrl>

#include "platform/gui/GadgetWindow.h"
#include "platform/gui/MDI.h"

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
    if (!main_) return;
    BuildMenuBar(
        *main_->menuBar(), menu_.GetId(),
        [this](unsigned id) {
            if (TWindow* w = CommandStart()) w->SendCommand(id);
        },
        [this](TCommandEnabler& ce) {
            if (TWindow* w = CommandStart()) w->RouteCommandEnable(ce);
        });
}

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
    if (menu_.GetId()) SetMenuDescr(menu_);
}

void TDecoratedFrame::CleanupWindow()
{
    if (client_) client_->Destroy();
    TWindow::CleanupWindow();
    main_ = nullptr;
    outer_ = nullptr;
}

// --- MDI frame -----------------------------------------------------------------------------

TMDIFrame::TMDIFrame(const std::string& title, int menuResId, TMDIClient& client)
    : TDecoratedFrame(nullptr, title, &client)
{
    SetMenuDescr(TMenuDescr(menuResId));
}

TMDIClient* TMDIFrame::GetMDIClient() const { return static_cast<TMDIClient*>(GetClientWindow()); }

TWindow* TMDIFrame::CommandStart()
{
    if (TMDIClient* c = GetMDIClient())
        if (TMDIChild* child = c->GetActiveMDIChild()) {
            if (TWindow* view = child->GetClientWindow()) return view;
            return child;
        }
    return this;
}

}  // namespace vyn
