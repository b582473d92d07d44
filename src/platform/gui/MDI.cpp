#include "platform/gui/MDI.h"

#include <QApplication>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QShortcut>
#include <QTimer>
#include <algorithm>
#include <set>

#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/WindowBridge.h"

namespace vyn {

namespace {
// Children not yet deleted: a deferred deletion finds out whether somebody was quicker.
std::set<const TMDIChild*>& LiveChildren()
{
    static std::set<const TMDIChild*> live;
    return live;
}

// The client area of a frame that places its children itself: its size is the frame's client
// size, and the frame hears of every change of it.
class TMDIChildArea : public QWidget, public TWindowLink {
public:
    explicit TMDIChildArea(TMDIChild* frame) : frame_(frame) {}
    void Detach() override { frame_ = nullptr; }

protected:
    void resizeEvent(QResizeEvent* e) override
    {
        QWidget::resizeEvent(e);
        if (!frame_) return;
        const bool maximized = parentWidget() && parentWidget()->isMaximized();
        frame_->DispatchFromPlatform(WM_SIZE, maximized ? SIZE_MAXIMIZED : SIZE_RESTORED,
                                     MAKELPARAM(width(), height()));
    }

private:
    TMDIChild* frame_;
};

// Qt's MDI area forgets its active child whenever the main window loses the activation (a
// dialog, the designer's attribute window); when the main window has it again, the child that
// then gets the keyboard becomes the active one, which need not be the program's active child
// (the main window was disabled meanwhile and its keyboard went elsewhere). The program's
// active child is given back to the area, with the keyboard, before that happens.
class TKeepActiveChild : public QObject {
public:
    explicit TKeepActiveChild(TMDIClient& client) : QObject(client.Area()), client_(client) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override
    {
        if (e->type() == QEvent::WindowActivate && watched == client_.Area()) client_.KeepActiveChild();
        return false;
    }

private:
    TMDIClient& client_;
};
}  // namespace

// --- client --------------------------------------------------------------------------------

TMDIClient::TMDIClient() : TWindow(nullptr)
{
    OnCommand(CM_CASCADECHILDREN, [this] { CascadeChildren(); });
    OnCommand(CM_TILECHILDREN, [this] { TileChildren(); });
    OnCommand(CM_TILECHILDRENHORIZ, [this] { TileChildren(); });
    OnCommand(CM_ARRANGEICONS, [this] { ArrangeIcons(); });
    OnCommand(CM_CLOSECHILDREN, [this] { CloseChildren(); });
    for (unsigned id : {CM_CASCADECHILDREN, CM_TILECHILDREN, CM_TILECHILDRENHORIZ, CM_ARRANGEICONS, CM_CLOSECHILDREN})
        OnCommandEnable(id, [this](TCommandEnabler& ce) { ce.Enable(!children_.empty()); });
}

TMDIClient::~TMDIClient()
{
    for (TMDIChild* c : std::vector<TMDIChild*>(children_)) delete c;
    // A closed child leaves the list at once but is deleted only when the event loop runs
    // again; it must go with its client, or its deletion would later tell a freed client.
    std::vector<const TMDIChild*> closed;
    for (const TMDIChild* c : LiveChildren())
        if (c->client_ == this) closed.push_back(c);
    for (const TMDIChild* c : closed) delete c;
    if (IsWindow()) Destroy();
}

QMdiArea* TMDIClient::Area() const { return static_cast<QMdiArea*>(Widget()); }

QWidget* TMDIClient::MakeWidget(QWidget* parentWidget)
{
    auto* area = new QMdiArea(parentWidget);
    area->setBackground(QBrush(QColor(background_.Red(), background_.Green(), background_.Blue())));
    return area;
}

void TMDIClient::SetupWindow()
{
    TWindow::SetupWindow();
    QObject::connect(Area(), &QMdiArea::subWindowActivated, SignalContext(),
                     [this](QMdiSubWindow* sub) { SubWindowActivated(sub); });
    Area()->installEventFilter(new TKeepActiveChild(*this));
    // The keys of an MDI frame: the next and the previous child, and closing the active one as
    // its close box does. They belong to the main window alone: a dialog or a property sheet is
    // a window of its own and keeps Ctrl+Tab for its pages.
    const auto bind = [this](QKeyCombination key, void (TMDIClient::*act)()) {
        auto* sc = new QShortcut(QKeySequence(key), Area());
        sc->setContext(Qt::WindowShortcut);
        QObject::connect(sc, &QShortcut::activated, SignalContext(), [this, act] { (this->*act)(); });
    };
    bind(Qt::CTRL | Qt::Key_F6, &TMDIClient::ActivateNextChild);
    bind(Qt::CTRL | Qt::Key_Tab, &TMDIClient::ActivateNextChild);
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_F6, &TMDIClient::ActivatePreviousChild);
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab, &TMDIClient::ActivatePreviousChild);
    bind(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab, &TMDIClient::ActivatePreviousChild);
    bind(Qt::CTRL | Qt::Key_F4, &TMDIClient::CloseActiveChild);
}

void TMDIClient::KeepActiveChild()
{
    if (!Area() || !active_ || !active_->sub_ || active_->sub_->isHidden()) return;
    if (Area()->activeSubWindow() != active_->sub_) Area()->setActiveSubWindow(active_->sub_);
    // The keyboard comes back to where the main window last had it (with nowhere, to the first
    // control that takes it), and a child that gets it becomes the active one. Disabling the
    // main window for a dialog may have moved it into another child or let it go: it goes
    // back into the active child (a bar keeps it).
    QWidget* focus = Area()->window()->focusWidget();
    if (focus && active_->sub_->isAncestorOf(focus)) return;
    bool elsewhere = !focus;
    for (TMDIChild* c : children_) elsewhere = elsewhere || (c->sub_ && c->sub_->isAncestorOf(focus));
    if (!elsewhere) return;
    QWidget* inner = active_->sub_->focusWidget() ? active_->sub_->focusWidget() : active_->sub_->widget();
    if (inner) inner->setFocus(Qt::OtherFocusReason);
}

void TMDIClient::ActivateNextChild()
{
    if (Area() && children_.size() > 1) Area()->activateNextSubWindow();
}

void TMDIClient::ActivatePreviousChild()
{
    if (Area() && children_.size() > 1) Area()->activatePreviousSubWindow();
}

void TMDIClient::CloseActiveChild()
{
    if (active_) active_->CloseWindow();
}

void TMDIClient::SetBackground(TColor color)
{
    background_ = color;
    if (Area()) Area()->setBackground(QBrush(QColor(color.Red(), color.Green(), color.Blue())));
}

TMDIChild* TMDIClient::GetActiveMDIChild() const { return active_; }

void TMDIClient::SubWindowActivated(QMdiSubWindow* sub)
{
    // The area reports "none" whenever the whole main window loses the focus (a dialog opens);
    // the active child stays active for the program's commands until another one is chosen.
    if (!sub) return;
    for (TMDIChild* c : children_)
        if (c->sub_ == sub && c != active_) {
            EvMDIActivate(c);
            return;
        }
}

void TMDIClient::EvMDIActivate(TMDIChild* activated)
{
    TMDIChild* previous = active_;
    active_ = activated;
    if (previous && previous != activated) previous->EvMDIActivate(false);
    // The menu changes before the new child hears of its activation, so that what it does to
    // the bar (its Tools popup) lands on its own menu.
    if (frame_) frame_->ChildMenuChanged();
    if (activated) activated->EvMDIActivate(true);
}

void TMDIClient::Adopt(TMDIChild& child)
{
    if (std::find(children_.begin(), children_.end(), &child) == children_.end()) children_.push_back(&child);
}

void TMDIClient::Forget(TMDIChild& child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), &child), children_.end());
    if (active_ != &child) return;
    TMDIChild* next = nullptr;
    if (Area())
        for (TMDIChild* c : children_)
            if (c->sub_ && c->sub_ == Area()->activeSubWindow()) next = c;
    if (!next && !children_.empty()) next = children_.back();
    active_ = nullptr;
    child.EvMDIActivate(false);
    if (next) ActivateChild(*next);
    else EvMDIActivate(nullptr);
}

void TMDIClient::ActivateChild(TMDIChild& child)
{
    if (child.IsIconic()) child.Restore();
    if (Area() && child.sub_) Area()->setActiveSubWindow(child.sub_);
    if (active_ != &child) EvMDIActivate(&child);
}

void TMDIClient::CascadeChildren()
{
    // Each frame steps one title bar down and to the right of the one before, and all take
    // the size that lets the last of them end at the area's corner (at least the least size
    // their views allow): every title stays in reach and every frame keeps a useful body.
    QMdiArea* area = Area();
    if (!area) return;
    std::vector<QMdiSubWindow*> frames;
    for (TMDIChild* c : children_)
        if (c->sub_ && c->sub_->isVisible() && !c->IsIconic() && c != active_) frames.push_back(c->sub_);
    if (active_ && active_->sub_ && active_->sub_->isVisible() && !active_->IsIconic()) frames.push_back(active_->sub_);
    if (frames.empty()) return;
    const QSize room = area->viewport()->size();
    int step = 0;
    for (QMdiSubWindow* f : frames)
        if (f->widget()) step = std::max(step, f->widget()->geometry().top());
    if (step <= 0) step = 24;
    const int n = static_cast<int>(frames.size());
    const int w = room.width() - (n - 1) * step, h = room.height() - (n - 1) * step;
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow* f = frames[static_cast<std::size_t>(i)];
        if (f->isMaximized()) f->showNormal();
        const QSize least = f->minimumSize();
        f->setGeometry(i * step, i * step, std::max(w, least.width()), std::max(h, least.height()));
        f->raise();
    }
}

void TMDIClient::TileChildren()
{
    if (Area()) Area()->tileSubWindows();
}

void TMDIClient::ArrangeIcons()
{
    // Minimised children line up along the bottom edge, as the area places them.
    if (!Area()) return;
    for (TMDIChild* c : children_)
        if (c->IsIconic() && c->sub_) c->sub_->showMinimized();
}

bool TMDIClient::CloseChildren()
{
    const std::vector<TMDIChild*> closing(children_);
    // A view alone agrees to close while another view of its document stays open; here all of
    // them go, so the document itself is asked, once, whatever number of views it has.
    std::vector<TDocument*> docs;
    for (TMDIChild* c : closing) {
        if (TView* view = c->GetView()) {
            TDocument* doc = &view->GetDocument();
            if (std::find(docs.begin(), docs.end(), doc) == docs.end()) docs.push_back(doc);
        } else if (!c->CanClose()) {
            return false;
        }
    }
    for (TDocument* doc : docs)
        if (!doc->CanClose()) return false;
    // A document whose changes the user chose to drop is still dirty: asking its frames again
    // would put the same question a second time.
    for (TMDIChild* c : closing)
        if (LiveChildren().count(c) && c->IsWindow()) c->CloseAgreed();
    return true;
}

// --- child ---------------------------------------------------------------------------------

TMDIChild::TMDIChild(TMDIClient& parent, const std::string& title, TWindow* clientWnd)
    : TWindow(nullptr, 0, title), client_(&parent), clientWnd_(clientWnd)
{
    SetCommandTarget(&parent);
    if (clientWnd_) clientWnd_->SetCommandTarget(this);
    LiveChildren().insert(this);
}

TMDIChild::~TMDIChild()
{
    LiveChildren().erase(this);
    if (IsWindow()) Destroy();
    client_->Forget(*this);
    TWindow* w = clientWnd_;
    clientWnd_ = nullptr;
    delete w;
}

QWidget* TMDIChild::MakeWidget(QWidget*)
{
    sub_ = new QMdiSubWindow;
    sub_->setAttribute(Qt::WA_DeleteOnClose, false);
    // Every child's own menu would bind the same close keys, which then take no effect at all:
    // the client binds them once for the active child (SetupWindow), the menu only shows them.
    if (QMenu* menu = sub_->systemMenu())
        for (QAction* a : menu->actions())
            if (!a->shortcut().isEmpty()) {
                if (a->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4)))
                    a->setText(a->text().section('\t', 0, 0) + "\tCtrl+F4");
                a->setShortcuts({});
            }
    sub_->setWindowTitle(QString::fromStdString(GetWindowText()));
    if (ownArea_) {
        area_ = new TMDIChildArea(this);
        sub_->setWidget(area_);
    }
    return sub_;
}

QWidget* TMDIChild::ClientWidget() const { return area_ ? area_ : TWindow::ClientWidget(); }

void TMDIChild::SetOwnClientArea()
{
    ownArea_ = true;
    if (clientWnd_) clientWnd_->SetParent(this);
}

void TMDIChild::RemoveChild(TWindow* child)
{
    if (child == clientWnd_) clientWnd_ = nullptr;
    TWindow::RemoveChild(child);
}

void TMDIChild::SetupWindow()
{
    TWindow::SetupWindow();
    if (area_) {
        // The client window was made with the frame's children.
        if (clientWnd_ && clientWnd_->Widget()) area_->setFocusProxy(clientWnd_->Widget());
    } else if (clientWnd_ && clientWnd_->Create()) {
        sub_->setWidget(clientWnd_->Widget());
    }
    sub_->resize(520, 360);
    client_->Adopt(*this);
    if (client_->Area()) {
        client_->Area()->addSubWindow(sub_);
        sub_->show();
        client_->ActivateChild(*this);
    }
}

void TMDIChild::CleanupWindow()
{
    if (clientWnd_) clientWnd_->Destroy();
    if (client_->Area() && sub_) client_->Area()->removeSubWindow(sub_);
    sub_ = nullptr;
    area_ = nullptr;  // goes with the frame's widget
    client_->Forget(*this);
    TWindow::CleanupWindow();
}

void TMDIChild::SetMenuDescr(const TMenuDescr& menu)
{
    menu_ = menu;
    if (client_->frame_ && client_->GetActiveMDIChild() == this) client_->frame_->ChildMenuChanged();
}

void TMDIChild::SetWindowText(const std::string& text)
{
    TWindow::SetWindowText(text);
    if (sub_) sub_->setWindowTitle(QString::fromStdString(text));
}

bool TMDIChild::IsIconic() const { return sub_ && sub_->isMinimized(); }

void TMDIChild::Restore()
{
    if (sub_) sub_->showNormal();
}

TView* TMDIChild::GetView() const { return dynamic_cast<TView*>(clientWnd_); }

bool TMDIChild::CanClose()
{
    if (auto* q = dynamic_cast<TCloseQuery*>(clientWnd_)) return q->CanCloseWindow();
    return true;
}

bool TMDIChild::CloseWindow()
{
    if (!CanClose()) return false;
    Destroy();
    DeleteLater();
    return true;
}

void TMDIChild::CloseAgreed()
{
    Destroy();
    DeleteLater();
}

void TMDIChild::ClientGone()
{
    clientWnd_ = nullptr;
    Destroy();
    DeleteLater();
}

void TMDIChild::ViewGone()
{
    viewGone_ = true;
    Destroy();
    DeleteLater();
}

void TMDIChild::DeleteLater()
{
    const TMDIChild* self = this;
    QTimer::singleShot(0, qApp, [self] {
        if (LiveChildren().count(self)) delete self;
    });
}

void TMDIChild::EvClose() { CloseWindow(); }

void TMDIChild::EvMDIActivate(bool) {}

}  // namespace vyn
