#include "platform/gui/Window.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QMdiSubWindow>
#include <QPainter>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyle>
#include <QThread>
#include <QWidget>
#include <algorithm>

#include "platform/gui/Application.h"
#include "platform/gui/Dc.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/WindowBridge.h"
#include "platform/gui/WindowPost.h"

namespace vyn {

namespace {
const char* const kWindowProperty = "vynWindow";
TWindow* gCapture = nullptr;

QColor WindowBackground() { return QColor(255, 255, 255); }

// While the first part of a user's command route runs (from the focus window): the windows at
// which that part ends because the second part asks them anyway, and whether it ended there
// unanswered. A message sent or a handler run meanwhile starts a route of its own and does not
// see it.
struct TRouteSegment {
    std::vector<const TWindow*> stops;
    bool reachedEnd = false;
};
thread_local TRouteSegment* gSegment = nullptr;

class TSegmentPause {
public:
    TSegmentPause() : saved_(gSegment) { gSegment = nullptr; }
    ~TSegmentPause() { gSegment = saved_; }
    TSegmentPause(const TSegmentPause&) = delete;
    TSegmentPause& operator=(const TSegmentPause&) = delete;

private:
    TRouteSegment* saved_;
};

// True when the first part of a route ends before `next` (the route goes on elsewhere).
bool SegmentEndsAt(const TWindow* next)
{
    if (!gSegment) return false;
    if (next && std::find(gSegment->stops.begin(), gSegment->stops.end(), next) == gSegment->stops.end()) return false;
    gSegment->reachedEnd = true;
    return true;
}

// The windows of a route from `w`, bounded so that a loop of command targets cannot hang.
std::vector<const TWindow*> RouteOf(const TWindow* w)
{
    std::vector<const TWindow*> out;
    for (; w && out.size() < 64; w = w->NextOnRoute()) out.push_back(w);
    return out;
}
}  // namespace

TWindow::TWindow(TWindow* parent, int id, const std::string& title) : id_(id), parent_(parent), title_(title)
{
    if (parent_) parent_->AddChild(this);
}

TWindow::~TWindow()
{
    deleting_ = true;
    if (widget_) Destroy();
    // Children made with new belong to their parent; member children have already gone.
    while (!children_.empty()) {
        TWindow* c = children_.back();
        children_.pop_back();
        c->parent_ = nullptr;
        delete c;
    }
    if (parent_) parent_->RemoveChild(this);
    if (gCapture == this) gCapture = nullptr;
}

void TWindow::AddChild(TWindow* child) { children_.push_back(child); }

void TWindow::SetParent(TWindow* parent)
{
    if (parent == parent_ || widget_) return;
    if (parent_) parent_->RemoveChild(this);
    parent_ = parent;
    if (parent_) parent_->AddChild(this);
}

void TWindow::RemoveChild(TWindow* child)
{
    children_.erase(std::remove(children_.begin(), children_.end(), child), children_.end());
}

TWindow* TWindow::ChildWithId(int id) const
{
    for (TWindow* c : children_)
        if (c->id_ == id) return c;
    return nullptr;
}

TWindow* TWindow::FromWidget(const QWidget* w)
{
    for (; w; w = w->parentWidget()) {
        QVariant v = w->property(kWindowProperty);
        if (v.isValid()) return reinterpret_cast<TWindow*>(v.value<quintptr>());
    }
    return nullptr;
}

QWidget* TWindow::MakeWidget(QWidget* parentWidget)
{
    auto* w = new TWindowWidget(this, parentWidget);
    if (ownedPopup_) w->setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    return w;
}

void TWindow::AttachWidget(QWidget* w)
{
    widget_ = w;
    widget_->setProperty(kWindowProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    bridge_ = new TWindowBridge(this);
    widget_->installEventFilter(bridge_);
    // A scroll area (a list, a multi-line edit) takes the mouse in its viewport.
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget_)) area->viewport()->installEventFilter(bridge_);
    if (!title_.empty() && widget_->isWindow()) widget_->setWindowTitle(QString::fromStdString(title_));
    // Scroll ranges set before the window existed.
    SyncBar(SB_HORZ);
    SyncBar(SB_VERT);
}

bool TWindow::Create()
{
    if (widget_) return true;
    if (parent_ && !parent_->widget_) return false;
    QWidget* w = MakeWidget(parent_ ? parent_->ClientWidget() : nullptr);
    if (!w) return false;
    AttachWidget(w);
    CreateChildren();
    SetupWindow();
    return true;
}

void TWindow::CreateChildren()
{
    for (TWindow* c : std::vector<TWindow*>(children_))
        if (!c->widget_) c->Create();
}

void TWindow::SetupWindow() {}
void TWindow::CleanupWindow() {}

void TWindow::ReleaseWidget()
{
    for (TWindow* c : children_)
        if (c->widget_) {
            c->CleanupWindow();
            c->ReleaseWidget();
        }
    for (auto& [id, qtId] : timers_) bridge_->killTimer(qtId);
    timers_.clear();
    if (gCapture == this) ReleaseCapture();
    widget_->removeEventFilter(bridge_);
    QObject::disconnect(widget_, nullptr, bridge_, nullptr);
    QObject::disconnect(widget_, nullptr, widget_, nullptr);
    widget_->setProperty(kWindowProperty, QVariant());
    if (auto* link = dynamic_cast<TWindowLink*>(widget_)) link->Detach();
    for (QObject* o : widget_->findChildren<QObject*>())
        if (auto* link = dynamic_cast<TWindowLink*>(o)) link->Detach();
    bridge_->Detach();
    bridge_->deleteLater();
    bridge_ = nullptr;
    widget_ = nullptr;
    image_.reset();
}

void TWindow::Destroy(int)
{
    if (!widget_) return;
    CleanupWindow();
    QWidget* w = widget_;
    bool topLevel = !parent_ || !parent_->widget_ || w->isWindow();
    ReleaseWidget();
    w->hide();
    // The widget may be the sender of the signal that led here; Qt deletes it once back in the loop.
    if (topLevel || !deleting_) w->deleteLater();
}

std::string TWindow::GetWindowText() const
{
    if (!widget_) return title_;
    return title_;
}

void TWindow::SetWindowText(const std::string& text)
{
    title_ = text;
    if (widget_ && widget_->isWindow()) widget_->setWindowTitle(QString::fromStdString(text));
    else if (widget_) Invalidate();
}

void TWindow::ShowWindow(int cmd)
{
    if (!widget_) return;
    if (cmd == SW_HIDE) widget_->hide();
    else if (cmd == SW_SHOWMAXIMIZED && widget_->isWindow()) widget_->showMaximized();
    else if (cmd == SW_SHOWMINNOACTIVE && widget_->isWindow()) widget_->showMinimized();
    else if (cmd == SW_SHOWNA && widget_->isWindow()) {
        // Shown where it was, the active window stays active.
        const bool was = widget_->testAttribute(Qt::WA_ShowWithoutActivating);
        widget_->setAttribute(Qt::WA_ShowWithoutActivating, true);
        widget_->show();
        widget_->setAttribute(Qt::WA_ShowWithoutActivating, was);
    } else widget_->show();
}

bool TWindow::IsWindowVisible() const { return widget_ && widget_->isVisible(); }
bool TWindow::IsHiddenIn(const TWindow& ancestor) const
{
    return widget_ && ancestor.widget_ && !widget_->isVisibleTo(ancestor.widget_);
}
void TWindow::EnableWindow(bool enable)
{
    if (widget_) widget_->setEnabled(enable);
}
bool TWindow::IsWindowEnabled() const { return widget_ && widget_->isEnabled(); }

TRect TWindow::GetClientRect() const
{
    if (!widget_) return {};
    if (auto* plain = dynamic_cast<TWindowWidget*>(widget_)) {
        QRect c = plain->ClientArea();
        return TRect(0, 0, c.width(), c.height());
    }
    QWidget* area = ClientWidget() ? ClientWidget() : widget_;
    if (auto* sa = qobject_cast<QAbstractScrollArea*>(area)) area = sa->viewport();
    // An MDI frame's client area lies inside its borders and caption.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(area)) {
        const QRect c = sub->contentsRect();
        return TRect(0, 0, c.width(), c.height());
    }
    return TRect(0, 0, area->width(), area->height());
}

TRect TWindow::GetWindowRect() const
{
    if (!widget_) return {};
    // A top-level window's frame belongs to the window manager and is not known before it is
    // shown; window rectangles here are the outer edges of what we draw, so that a rectangle read
    // back and set again keeps its size.
    if (widget_->isWindow()) {
        QRect g = widget_->geometry();
        return TRect(g.left(), g.top(), g.left() + g.width(), g.top() + g.height());
    }
    QPoint tl = widget_->mapToGlobal(QPoint(0, 0));
    return TRect(tl.x(), tl.y(), tl.x() + widget_->width(), tl.y() + widget_->height());
}

TRect TWindow::ChildRectInClient(const TWindow& child) const
{
    if (!widget_ || !child.widget_) return {};
    QWidget* area = ClientWidget() ? ClientWidget() : widget_;
    QRect g = child.widget_->geometry();
    QPoint tl = child.widget_->parentWidget() == area ? g.topLeft()
                                                       : area->mapFromGlobal(child.widget_->mapToGlobal(QPoint(0, 0)));
    return TRect(tl.x(), tl.y(), tl.x() + g.width(), tl.y() + g.height());
}

void TWindow::MoveWindow(int x, int y, int w, int h, bool repaint)
{
    SetWindowPos(nullptr, x, y, w, h, SWP_NOZORDER | (repaint ? 0 : SWP_NOREDRAW));
}

bool TWindow::SetWindowPos(TWindow*, int x, int y, int cx, int cy, unsigned flags)
{
    if (!widget_) return false;
    QRect g = widget_->geometry();
    if (widget_->isWindow()) g = QRect(widget_->geometry().topLeft(), widget_->size());
    if (!(flags & SWP_NOMOVE)) g.moveTo(x, y);
    if (!(flags & SWP_NOSIZE)) g.setSize(QSize(std::max(0, cx), std::max(0, cy)));
    widget_->setGeometry(g);
    if (flags & SWP_SHOWWINDOW) widget_->show();
    if (flags & SWP_HIDEWINDOW) widget_->hide();
    return true;
}

TPoint TWindow::ClientToScreen(TPoint p) const
{
    if (!widget_) return p;
    QPoint q = (ClientWidget() ? ClientWidget() : widget_)->mapToGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

TPoint TWindow::ScreenToClient(TPoint p) const
{
    if (!widget_) return p;
    QPoint q = (ClientWidget() ? ClientWidget() : widget_)->mapFromGlobal(QPoint(p.x, p.y));
    return {q.x(), q.y()};
}

void TWindow::SetFocus()
{
    if (!widget_) return;
    QWidget* top = widget_->window();
    if (top->isVisible() && !top->isActiveWindow()) {
        top->activateWindow();
        QApplication::setActiveWindow(top);
    }
    widget_->setFocus(Qt::OtherFocusReason);
}

bool TWindow::HasFocus() const
{
    QWidget* f = QApplication::focusWidget();
    return widget_ && f && (f == widget_ || widget_->isAncestorOf(f));
}

void TWindow::SetFocusNone()
{
    if (QWidget* f = QApplication::focusWidget()) f->clearFocus();
}

TWindow* TWindow::GetFocus() { return FromWidget(QApplication::focusWidget()); }

void TWindow::SetCapture()
{
    if (!widget_) return;
    gCapture = this;
    widget_->grabMouse();
}

void TWindow::ReleaseCapture()
{
    if (gCapture && gCapture->widget_) gCapture->widget_->releaseMouse();
    gCapture = nullptr;
}

TWindow* TWindow::GetCapture() { return gCapture; }

void TWindow::SetCursorShape(TCursorShape shape)
{
    if (!widget_) return;
    static const Qt::CursorShape kShapes[] = {Qt::ArrowCursor,  Qt::CrossCursor,  Qt::IBeamCursor,        Qt::WaitCursor,
                                              Qt::SizeHorCursor, Qt::SizeVerCursor, Qt::PointingHandCursor, Qt::BlankCursor};
    widget_->setCursor(QCursor(kShapes[static_cast<int>(shape)]));
}

void TWindow::SetWindowFont(const TFont& font, bool redraw)
{
    if (!widget_) return;
    const TLogFont& lf = font.GetObject();
    widget_->setFont(RealizeFont(lf, lf.lfHeight, lf.lfWidth, nullptr)->Font());
    if (redraw) Invalidate();
}

bool TWindow::SetTimer(unsigned id, unsigned ms)
{
    if (!widget_) return false;
    KillTimer(id);
    int qtId = bridge_->startTimer(static_cast<int>(ms), Qt::PreciseTimer);
    if (qtId == 0) return false;
    timers_[id] = qtId;
    return true;
}

bool TWindow::KillTimer(unsigned id)
{
    auto it = timers_.find(id);
    if (it == timers_.end()) return false;
    if (bridge_) bridge_->killTimer(it->second);
    timers_.erase(it);
    return true;
}

// --- painting --------------------------------------------------------------------------------

QImage& TWindow::EnsureImage()
{
    TRect rc = GetClientRect();
    QSize size(std::max(1, rc.Width()), std::max(1, rc.Height()));
    if (!image_ || image_->size() != size) {
        auto img = std::make_unique<QImage>(size, QImage::Format_RGB32);
        img->fill(WindowBackground());
        if (image_) {
            QPainter p(img.get());
            p.drawImage(0, 0, *image_);
        }
        image_ = std::move(img);
        pendingErase_ = true;
        AddInvalid(TRect(0, 0, size.width(), size.height()));
    }
    return *image_;
}

const QImage* TWindow::ClientImage() const { return image_.get(); }

void TWindow::PaintInto(QImage& image, const TRect&, bool erase)
{
    // Only the invalidated part is painted; the rest of the image (a drag frame drawn by
    // exclusive or, say) is shown as it stands.
    if (!hasInvalid_) return;
    const TRect rect = invalid_ & TRect(0, 0, image.width(), image.height());
    hasInvalid_ = false;
    if (rect.IsEmpty()) return;
    if (erase) {
        QPainter p(&image);
        p.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), WindowBackground());
    }
    // As on the screen, the device context of Paint reaches only what was invalidated: a window
    // that fills its whole background erases nothing else.
    TDC dc(image);
    dc.SetSystemClip(rect);
    TRect r = rect;
    Paint(dc, erase, r);
}

void TWindow::Paint(TDC&, bool, TRect&) {}

void TWindow::AddInvalid(const TRect& r)
{
    if (r.IsEmpty()) return;
    invalid_ = hasInvalid_ ? (invalid_ | r) : r;
    hasInvalid_ = true;
}

void TWindow::Invalidate(bool erase)
{
    pendingErase_ = pendingErase_ || erase;
    AddInvalid(TRect(0, 0, 1 << 24, 1 << 24));
    if (widget_) widget_->update();
}

void TWindow::InvalidateRect(const TRect& r, bool erase)
{
    pendingErase_ = pendingErase_ || erase;
    AddInvalid(r);
    if (widget_) widget_->update(QRect(r.left, r.top, r.Width(), r.Height()));
}

void TWindow::UpdateWindow()
{
    if (widget_ && widget_->isVisible()) widget_->repaint();
}

void TWindow::DrawNow(const std::function<void(TDC&)>& draw)
{
    if (!widget_) return;
    QImage& img = EnsureImage();
    {
        TDC dc(img);
        draw(dc);
    }
    widget_->update();
}

// --- scroll bars -----------------------------------------------------------------------------
//
// A scrolling control (a list) keeps its own bars. A plain window gets real bars: shown while
// its range is not empty (or as ShowScrollBar says), they do not move by themselves but tell
// the window what the user did with WM_HSCROLL / WM_VSCROLL codes, and the window moves them
// with SetScrollPos, as the framework's windows do.

bool ScrollCodeOf(int sliderAction, unsigned& code)
{
    switch (sliderAction) {
    case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; return true;
    case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; return true;
    case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; return true;
    case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; return true;
    case QAbstractSlider::SliderToMinimum: code = SB_TOP; return true;
    case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; return true;
    case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; return true;
    default: return false;
    }
}

namespace {
QScrollBar* AreaBar(QWidget* w, int bar)
{
    auto* sa = qobject_cast<QAbstractScrollArea*>(w);
    if (!sa) return nullptr;
    return bar == SB_HORZ ? sa->horizontalScrollBar() : sa->verticalScrollBar();
}
}  // namespace

QScrollBar* TWindow::OwnBar(int bar, bool make)
{
    auto* plain = dynamic_cast<TWindowWidget*>(widget_);
    if (!plain || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
    QScrollBar* q = plain->ScrollBar(bar, false);
    if (q || !make) return q;
    q = plain->ScrollBar(bar, true);
    const unsigned msg = bar == SB_HORZ ? WM_HSCROLL : WM_VSCROLL;
    QObject::connect(q, &QAbstractSlider::actionTriggered, bridge_, [this, bar, msg, q](int action) {
        unsigned code;
        if (!ScrollCodeOf(action, code)) return;
        if (code == SB_THUMBTRACK) {
            SendMessage(msg, MAKEWPARAM(SB_THUMBTRACK, q->sliderPosition()), 0);
            return;
        }
        // The bar stays where it is until the window moves it.
        q->setSliderPosition(scroll_[bar].pos);
        SendMessage(msg, MAKEWPARAM(code, 0), 0);
        SendMessage(msg, SB_ENDSCROLL, 0);
    });
    QObject::connect(q, &QAbstractSlider::sliderReleased, bridge_, [this, bar, msg, q] {
        SendMessage(msg, MAKEWPARAM(SB_THUMBPOSITION, q->sliderPosition()), 0);
        SendMessage(msg, SB_ENDSCROLL, 0);
        if (widget_) q->setValue(scroll_[bar].pos);
    });
    SyncBar(bar);
    return q;
}

void TWindow::SyncBar(int bar)
{
    auto* plain = dynamic_cast<TWindowWidget*>(widget_);
    if (!plain) return;
    const auto& s = scroll_[bar];
    QScrollBar* q = OwnBar(bar, s.shown);
    if (!q) return;
    {
        QSignalBlocker block(q);
        q->setRange(s.min, std::max(s.min, s.max - std::max(0, s.page - 1)));
        q->setPageStep(std::max(1, s.page));
        q->setSingleStep(1);
        q->setValue(s.pos);
    }
    if (plain->BarShown(bar) == s.shown) return;
    plain->ShowBar(bar, s.shown);
    // The client area changed: the window hears of its new size, as when it is sized.
    if (inBarSize_ || !widget_->isVisible()) return;
    inBarSize_ = true;
    TRect rc = GetClientRect();
    SendMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(rc.Width(), rc.Height()));
    inBarSize_ = false;
    Invalidate();
}

void TWindow::SetScrollRange(int bar, int minPos, int maxPos, bool)
{
    if (bar != SB_HORZ && bar != SB_VERT) return;
    auto& s = scroll_[bar];
    s.min = minPos;
    s.max = maxPos;
    s.pos = std::clamp(s.pos, minPos, std::max(minPos, maxPos));
    if (QScrollBar* q = AreaBar(widget_, bar)) q->setRange(minPos, std::max(minPos, maxPos - std::max(0, s.page - 1)));
    s.shown = maxPos > minPos;
    SyncBar(bar);
}

void TWindow::GetScrollRange(int bar, int& minPos, int& maxPos) const
{
    minPos = maxPos = 0;
    if (bar != SB_HORZ && bar != SB_VERT) return;
    if (QScrollBar* q = AreaBar(widget_, bar)) {
        // A scrolling control reports the framework's range: the page counts inside it.
        minPos = q->minimum();
        maxPos = q->maximum() + (q->pageStep() > 0 ? q->pageStep() - 1 : 0);
        return;
    }
    minPos = scroll_[bar].min;
    maxPos = scroll_[bar].max;
}

int TWindow::SetScrollPos(int bar, int pos, bool)
{
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    auto& s = scroll_[bar];
    int old = s.pos;
    s.pos = std::clamp(pos, s.min, std::max(s.min, s.max));
    if (QScrollBar* q = AreaBar(widget_, bar)) {
        old = q->value();
        q->setValue(pos);
    } else if (QScrollBar* own = OwnBar(bar, false)) {
        QSignalBlocker block(own);
        own->setValue(s.pos);
    }
    return old;
}

int TWindow::GetScrollPos(int bar) const
{
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    if (QScrollBar* q = AreaBar(widget_, bar)) return q->value();
    return scroll_[bar].pos;
}

void TWindow::SetScrollPage(int bar, int page)
{
    if (bar != SB_HORZ && bar != SB_VERT) return;
    scroll_[bar].page = page;
    if (QScrollBar* q = AreaBar(widget_, bar)) q->setPageStep(page);
    SyncBar(bar);
}

int TWindow::GetScrollPage(int bar) const
{
    if (bar != SB_HORZ && bar != SB_VERT) return 0;
    if (QScrollBar* q = AreaBar(widget_, bar)) return q->pageStep();
    return scroll_[bar].page;
}

void TWindow::ShowScrollBar(int bar, bool show)
{
    for (int b : {SB_HORZ, SB_VERT}) {
        if (bar != b && bar != SB_BOTH) continue;
        scroll_[b].shown = show;
        if (auto* sa = qobject_cast<QAbstractScrollArea*>(widget_)) {
            Qt::ScrollBarPolicy p = show ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
            if (b == SB_HORZ) sa->setHorizontalScrollBarPolicy(p);
            else sa->setVerticalScrollBarPolicy(p);
        }
        SyncBar(b);
    }
}

bool TWindow::IsScrollBarShown(int bar) const
{
    if (bar != SB_HORZ && bar != SB_VERT) return false;
    if (auto* sa = qobject_cast<QAbstractScrollArea*>(widget_)) {
        QScrollBar* q = bar == SB_HORZ ? sa->horizontalScrollBar() : sa->verticalScrollBar();
        Qt::ScrollBarPolicy p = bar == SB_HORZ ? sa->horizontalScrollBarPolicy() : sa->verticalScrollBarPolicy();
        return p == Qt::ScrollBarAlwaysOn || (p == Qt::ScrollBarAsNeeded && q->maximum() > q->minimum());
    }
    return scroll_[bar].shown;
}

// --- messages --------------------------------------------------------------------------------

TResult TWindow::SendMessage(unsigned msg, TParam1 p1, TParam2 p2)
{
    TSegmentPause pause;
    bool saved = defaultRequested_;
    const std::weak_ptr<char> alive = life_;
    TResult r = WindowProc(msg, p1, p2);
    if (alive.expired()) return r;
    defaultRequested_ = saved;
    return r;
}

bool TWindow::DispatchFromPlatform(unsigned msg, TParam1 p1, TParam2 p2)
{
    TSegmentPause pause;
    bool saved = defaultRequested_;
    defaultRequested_ = false;
    const std::weak_ptr<char> alive = life_;
    WindowProc(msg, p1, p2);
    // A window its handler deleted has nothing left for the default handling to act on.
    if (alive.expired()) return false;
    bool wanted = defaultRequested_;
    defaultRequested_ = saved;
    return wanted;
}

bool TWindow::PostMessage(unsigned msg, TParam1 p1, TParam2 p2)
{
    if (!bridge_) return false;
    QCoreApplication::postEvent(bridge_, new TPostedMessage(msg, p1, p2, nullptr));
    return true;
}

bool TWindow::SendMessageTimeout(unsigned msg, TParam1 p1, TParam2 p2, unsigned timeoutMs, TResult* result)
{
    if (!bridge_) return false;
    if (QThread::currentThread() == bridge_->thread()) {
        TResult r = SendMessage(msg, p1, p2);
        if (result) *result = r;
        return true;
    }
    auto state = std::make_shared<TSendState>();
    QCoreApplication::postEvent(bridge_, new TPostedMessage(msg, p1, p2, state));
    std::unique_lock lock(state->mutex);
    bool done = state->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                     [&] { return state->stage == TSendState::Done; });
    if (!done) {
        if (state->stage == TSendState::Pending) {
            state->stage = TSendState::Abandoned;
            return false;
        }
        // Already running: its parameters are in use, so wait until the handler has returned.
        state->done.wait(lock, [&] { return state->stage == TSendState::Done; });
    }
    if (result) *result = state->result;
    return true;
}

TResult TWindow::SendCommand(unsigned id, unsigned notifyCode, TWindow* control)
{
    return SendMessage(WM_COMMAND, MAKEWPARAM(id, notifyCode), reinterpret_cast<TParam2>(control));
}

void TWindow::NotifyParent(unsigned code)
{
    if (parent_) parent_->SendCommand(static_cast<unsigned>(id_), code, this);
}

TResult TWindow::WindowProc(unsigned msg, TParam1 p1, TParam2 p2)
{
    // A handler that a window registered for a message answers it before the framework's own
    // handling of that message does: a page that takes the context menus its edits forward, or
    // a window that takes its own WM_TIMER, gets them whatever the message.
    if (auto* h = table_.FindMessage(msg)) return (*h)(p1, p2);
    auto point = [p2] { return TPoint(static_cast<std::int16_t>(p2 & 0xFFFF), static_cast<std::int16_t>((p2 >> 16) & 0xFFFF)); };
    switch (msg) {
    case WM_COMMAND: return EvCommand(LOWORD(p1), reinterpret_cast<TWindow*>(p2), HIWORD(p1));
    case WM_TIMER: EvTimer(static_cast<unsigned>(p1)); return 0;
    case WM_SIZE: EvSize(static_cast<unsigned>(p1), TSize(LOWORD(p2), HIWORD(p2))); return 0;
    case WM_GETMINMAXINFO: EvGetMinMaxInfo(*reinterpret_cast<TMinMaxInfo*>(p2)); return 0;
    case WM_KEYDOWN: EvKeyDown(static_cast<unsigned>(p1), LOWORD(p2), HIWORD(p2)); return 0;
    case WM_KEYUP: EvKeyUp(static_cast<unsigned>(p1), LOWORD(p2), HIWORD(p2)); return 0;
    case WM_CHAR: EvChar(static_cast<unsigned>(p1), LOWORD(p2), HIWORD(p2)); return 0;
    case WM_GETDLGCODE: return EvGetDlgCode(reinterpret_cast<const TMsg*>(p2));
    case WM_SETFOCUS: EvSetFocus(reinterpret_cast<TWindow*>(p1)); return 0;
    case WM_KILLFOCUS: EvKillFocus(reinterpret_cast<TWindow*>(p1)); return 0;
    case WM_LBUTTONDOWN: EvLButtonDown(static_cast<unsigned>(p1), point()); return 0;
    case WM_LBUTTONUP: EvLButtonUp(static_cast<unsigned>(p1), point()); return 0;
    case WM_LBUTTONDBLCLK: EvLButtonDblClk(static_cast<unsigned>(p1), point()); return 0;
    case WM_RBUTTONDOWN: EvRButtonDown(static_cast<unsigned>(p1), point()); return 0;
    case WM_RBUTTONUP: EvRButtonUp(static_cast<unsigned>(p1), point()); return 0;
    case WM_MOUSEMOVE: EvMouseMove(static_cast<unsigned>(p1), point()); return 0;
    case WM_CONTEXTMENU: {
        TPoint p = point();
        EvContextMenu(reinterpret_cast<TWindow*>(p1), p.x, p.y);
        return 0;
    }
    case WM_HSCROLL: EvHScroll(LOWORD(p1), HIWORD(p1), reinterpret_cast<TWindow*>(p2)); return 0;
    case WM_VSCROLL: EvVScroll(LOWORD(p1), HIWORD(p1), reinterpret_cast<TWindow*>(p2)); return 0;
    case WM_CLOSE: EvClose(); return 0;
    case WM_ACTIVATE: EvActivate(LOWORD(p1), HIWORD(p1) != 0, reinterpret_cast<TWindow*>(p2)); return 0;
    default: break;
    }
    if (msg == WM_HELP && p2) {
        // Nobody here answers the help request: the next window on the route, then the application.
        if (TWindow* next = NextOnRoute()) return next->SendMessage(WM_HELP, p1, p2);
        if (TApplication* app = TApplication::Current()) app->EvHelp(*reinterpret_cast<const THelpInfo*>(p2));
        return 1;
    }
    DefaultProcessing();
    return 0;
}

void TWindow::RequestHelp()
{
    THelpInfo info;
    info.ctrlId = id_;
    int steps = 0;
    for (const TWindow* w = this; w && steps < 64 && info.contextId == 0; w = w->NextOnRoute(), ++steps)
        info.contextId = static_cast<unsigned long>(w->helpId_);
    QPoint at = QCursor::pos();
    info.mouseX = at.x();
    info.mouseY = at.y();
    SendMessage(WM_HELP, 0, reinterpret_cast<TParam2>(&info));
}

TResult TWindow::EvCommand(unsigned id, TWindow* control, unsigned notifyCode)
{
    if (control) {
        // A control's notification is for its parent alone; a click also counts as the command.
        if (auto* h = table_.FindNotify(id, notifyCode)) {
            (*h)();
            return 0;
        }
        if (notifyCode == BN_CLICKED)
            if (auto* h = table_.FindCommand(id)) (*h)();
        return 0;
    }
    if (auto* h = table_.FindCommand(id)) {
        TSegmentPause pause;
        (*h)();
        return 0;
    }
    TWindow* next = NextOnRoute();
    if (SegmentEndsAt(next)) return 0;
    if (next) return next->EvCommand(id, nullptr, notifyCode);
    if (TApplication* app = TApplication::Current()) app->EvCommand(id);
    return 0;
}

void TWindow::RouteCommand(unsigned id) { SendCommand(id); }

void TWindow::RouteCommandEnable(TCommandEnabler& ce)
{
    TSegmentPause pause;
    EvCommandEnable(ce);
}

void TWindow::EvCommandEnable(TCommandEnabler& ce)
{
    if (auto* h = table_.FindEnabler(ce.GetId())) {
        TSegmentPause pause;
        (*h)(ce);
        return;
    }
    TWindow* next = NextOnRoute();
    if (SegmentEndsAt(next)) return;
    if (next) next->EvCommandEnable(ce);
    else if (TApplication* app = TApplication::Current()) app->EvCommandEnable(ce);
}

void TWindow::RouteUserCommand(TWindow* first, TWindow* rest, unsigned id)
{
    TSegmentPause pause;
    if (first) {
        TRouteSegment seg{RouteOf(rest)};
        if (std::find(seg.stops.begin(), seg.stops.end(), first) == seg.stops.end()) {
            gSegment = &seg;
            first->EvCommand(id, nullptr, 0);
            gSegment = nullptr;
            if (!seg.reachedEnd) return;
        }
    }
    if (rest) rest->SendCommand(id);
    else if (TApplication* app = TApplication::Current()) app->EvCommand(id);
}

void TWindow::RouteUserEnable(TWindow* first, TWindow* rest, TCommandEnabler& ce)
{
    TSegmentPause pause;
    if (first) {
        TRouteSegment seg{RouteOf(rest)};
        if (std::find(seg.stops.begin(), seg.stops.end(), first) == seg.stops.end()) {
            gSegment = &seg;
            first->EvCommandEnable(ce);
            gSegment = nullptr;
            if (!seg.reachedEnd) return;
        }
    }
    if (rest) rest->EvCommandEnable(ce);
    else if (TApplication* app = TApplication::Current()) app->EvCommandEnable(ce);
}

void TWindow::EvTimer(unsigned) {}
void TWindow::EvSize(unsigned, const TSize&) { DefaultProcessing(); }
void TWindow::EvGetMinMaxInfo(TMinMaxInfo&) {}
void TWindow::EvKeyDown(unsigned, unsigned, unsigned) { DefaultProcessing(); }
void TWindow::EvKeyUp(unsigned, unsigned, unsigned) { DefaultProcessing(); }
void TWindow::EvChar(unsigned, unsigned, unsigned) { DefaultProcessing(); }
unsigned TWindow::EvGetDlgCode(const TMsg*) { return 0; }
void TWindow::EvSetFocus(TWindow*) { DefaultProcessing(); }
void TWindow::EvKillFocus(TWindow*) { DefaultProcessing(); }
void TWindow::EvLButtonDown(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonUp(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvLButtonDblClk(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonDown(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvRButtonUp(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvMouseMove(unsigned, const TPoint&) { DefaultProcessing(); }
void TWindow::EvContextMenu(TWindow*, int, int) { DefaultProcessing(); }
void TWindow::EvActivate(unsigned, bool, TWindow*) { DefaultProcessing(); }
void TWindow::EvHScroll(unsigned, unsigned, TWindow*) {}
void TWindow::EvVScroll(unsigned, unsigned, TWindow*) {}
void TWindow::EvClose() { Destroy(); }

int GetSystemMetrics(int index)
{
    QStyle* style = QApplication::style();
    if (!style) return 0;
    switch (index) {
    case SM_CYCAPTION: return style->pixelMetric(QStyle::PM_TitleBarHeight);
    case SM_CXSIZEFRAME:
    case SM_CYSIZEFRAME: return style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth);
    default: return 0;
    }
}

}  // namespace vyn

namespace vyn {
QObject* TWindow::SignalContext() const { return bridge_; }
}  // namespace vyn
