#pragma once
// TApplication: the application object. It owns (or adopts) the Qt application, ends the command
// route after view and frame, and runs the idle processing when the message queue runs dry.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Command.h"
#include "platform/gui/Dispatch.h"

class QApplication;

namespace vyn {

class TWindow;
class TIdleWatcher;

class TApplication {
public:
    // Makes the Qt application when none exists yet; otherwise adopts the running one (tests).
    TApplication(int& argc, char** argv);
    TApplication();
    virtual ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    static TApplication* Current();

    // Creates the main window (InitMainWindow) and runs the message loop until it ends.
    int Run();
    void Quit(int code = 0);
    void SetMainWindow(TWindow* w) { mainWindow_ = w; }
    // How Run shows the main window (SW_SHOW, SW_SHOWMAXIMIZED, SW_SHOWMINNOACTIVE).
    void SetMainWindowShow(int cmd) { mainShow_ = cmd; }
    // Creates the main window when needed and shows it as set.
    void ShowMainWindow();
    TWindow* GetMainWindow() const { return mainWindow_; }

    // Handles every message that is waiting, then returns.
    void PumpWaitingMessages();
    // Drops keyboard and mouse input that is waiting, so that keys typed during a long
    // operation do not act afterwards.
    void FlushInputMessages();

    // Called when the queue is empty, with 0 and then rising counts while it returns true.
    // The base asks the registered idle clients (command enablers of bars and gadgets).
    virtual bool IdleAction(long idleCount);
    void AddIdleClient(std::function<bool(long)> client) { idleClients_.push_back(std::move(client)); }

    // The commands this object's own table handles.
    std::vector<unsigned> HandledCommands() const { return table_.CommandIds(); }
    // End of the route of help requests (WM_HELP) that no window took.
    virtual void EvHelp(const THelpInfo&) {}
    // The system's settings of a section may have changed ("windows": the default printer among
    // them). The platform asks each time the program becomes the active one again, since the
    // user changes such settings in other programs.
    virtual void EvWinIniChange(const std::string& /*section*/) {}
    // End of the command route.
    virtual bool EvCommand(unsigned id);
    virtual void EvCommandEnable(TCommandEnabler& ce);
    template <class T>
    void OnCommand(unsigned id, void (T::*fn)()) { table_.AddCommand(id, [this, fn] { (static_cast<T*>(this)->*fn)(); }); }
    void OnCommand(unsigned id, std::function<void()> fn) { table_.AddCommand(id, std::move(fn)); }
    void OnCommandEnable(unsigned id, std::function<void(TCommandEnabler&)> fn) { table_.AddEnabler(id, std::move(fn)); }

protected:
    virtual void InitMainWindow() {}
    static void SetProgramIcon();
    TDispatchTable table_;
    int mainShow_ = 5;  // SW_SHOW

private:
    friend class TIdleWatcher;
    void RunIdle();
    std::unique_ptr<QApplication> ownApp_;
    std::unique_ptr<TIdleWatcher> idle_;
    std::vector<std::function<bool(long)>> idleClients_;
    TWindow* mainWindow_ = nullptr;
    long idleCount_ = 0;
    bool inIdle_ = false;
};

}  // namespace vyn
