#include "platform/gui/Application.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QTimer>

#include "platform/core/ResFiles.h"
#include "platform/gui/Fonts.h"
#include "platform/gui/Window.h"

namespace vyn {

namespace {
TApplication* gApp = nullptr;
}

// Runs the application's idle processing when the event loop is about to wait.
class TIdleWatcher : public QObject {
public:
    explicit TIdleWatcher(TApplication* app) : app_(app)
    {
        if (auto* d = QAbstractEventDispatcher::instance())
            connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] { app_->RunIdle(); });
        if (auto* g = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
            connect(g, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && wasInactive_) app_->EvWinIniChange("windows");
                wasInactive_ = state != Qt::ApplicationActive;
            });
    }

private:
    TApplication* app_;
    bool wasInactive_ = false;  // the first activation at start is no return
};

TApplication::TApplication(int& argc, char** argv)
{
    if (!QApplication::instance()) ownApp_ = std::make_unique<QApplication>(argc, argv);
    gApp = this;
    LoadShippedFonts();
    SetProgramIcon();
    idle_ = std::make_unique<TIdleWatcher>(this);
}

TApplication::TApplication()
{
    gApp = this;
    SetProgramIcon();
    idle_ = std::make_unique<TIdleWatcher>(this);
}

TApplication::~TApplication()
{
    idle_.reset();
    if (gApp == this) gApp = nullptr;
}

TApplication* TApplication::Current() { return gApp; }

void TApplication::SetProgramIcon()
{
    // Every window and MDI child without an icon of its own shows the program's.
    const res::ResFileEntry* f = FindResFile("bitmaps/icon1.xpm");
    QPixmap pm;
    if (f && pm.loadFromData(f->data, static_cast<uint>(f->size), "XPM")) QApplication::setWindowIcon(QIcon(pm));
}

int TApplication::Run()
{
    InitMainWindow();
    ShowMainWindow();
    return QApplication::exec();
}

void TApplication::ShowMainWindow()
{
    if (!mainWindow_) return;
    if (!mainWindow_->IsWindow()) mainWindow_->Create();
    mainWindow_->ShowWindow(mainShow_);
}

void TApplication::Quit(int code) { QApplication::exit(code); }

void TApplication::PumpWaitingMessages() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

void TApplication::FlushInputMessages()
{
    QCoreApplication::removePostedEvents(nullptr, QEvent::KeyPress);
    QCoreApplication::removePostedEvents(nullptr, QEvent::KeyRelease);
    QCoreApplication::removePostedEvents(nullptr, QEvent::MouseButtonPress);
    QCoreApplication::removePostedEvents(nullptr, QEvent::MouseButtonRelease);
    QCoreApplication::removePostedEvents(nullptr, QEvent::MouseButtonDblClick);
    QCoreApplication::removePostedEvents(nullptr, QEvent::MouseMove);
    // Input the window system already delivered to Qt but not yet to the widgets.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TApplication::RunIdle()
{
    if (inIdle_) return;
    inIdle_ = true;
    bool more = IdleAction(idleCount_++);
    inIdle_ = false;
    if (more) QTimer::singleShot(0, idle_.get(), [] {});
    else idleCount_ = 0;
}

bool TApplication::IdleAction(long idleCount)
{
    bool more = false;
    for (auto& client : idleClients_) more = client(idleCount) || more;
    return more;
}

bool TApplication::EvCommand(unsigned id)
{
    if (auto* h = table_.FindCommand(id)) {
        (*h)();
        return true;
    }
    return false;
}

void TApplication::EvCommandEnable(TCommandEnabler& ce)
{
    if (auto* h = table_.FindEnabler(ce.GetId())) (*h)(ce);
}

}  // namespace vyn
