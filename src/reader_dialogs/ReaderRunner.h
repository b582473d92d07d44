#pragma once
#include <functional>
#include <string>

#include "platform/gui/Dialog.h"
#include "readers/QFoto.h"

namespace vyn {

class QMessageLine;
class ReaderJob;
class QRunnerIcon;
class TComm;

// The worker thread's reports to the progress dialog (wParam: 3 ended, 4 string id,
// 5 count | total << 16, 6 text; 7 and 8 are the runner's own: a message box and the
// plate confirmation, both shown on the main thread for the worker).
constexpr unsigned WM_RUNNERSTATUS = 0x1105;

// The operation a worker thread runs on the driver.
using ReaderOperation = std::function<QFotoStatus(QFoto&)>;

// Runs one reader operation behind the modal progress dialog: the port is opened here on
// the main thread (5 attempts, 600 ms apart), one worker thread runs the operation, and the
// port is closed after the dialog has ended. 0 when the operation ended done, else 1 with
// the reason in the driver's last-error text. keepOpen: a failure stays on show in red for
// 3 seconds instead of closing the dialog at once. Only one operation runs at a time.
int RunReaderOperation(QFoto& driver, TWindow* parent, ReaderOperation op, bool keepOpen);
// The same with two steps of the caller's on the main thread: prepare, when the worker is
// about to start (no other worker is alive then), and done, when it ended in time with done.
int RunReaderJob(QFoto& driver, TWindow* parent, ReaderOperation op, std::function<void(ReaderJob&)> prepare,
                 bool keepOpen, std::function<void(ReaderJob&)> done);

// The entry points of the dialogs and the shell's commands.
int RunMeasure(QFoto& driver, TWindow* parent, double* values, int rows, int cols, int wavelength,
               int refWavelength, int useReference, const std::string& options);
int RunReadFilters(QFoto& driver, TWindow* parent);
int RunWriteFilters(QFoto& driver, TWindow* parent);
// out: eject the plate carrier; else insert it.
int RunMovePlate(QFoto& driver, TWindow* parent, bool out, bool keepOpen);

// The progress dialog (resource 4). Made by RunReaderOperation; tests meet it through the
// modal test hook.
class QRunnerDlg : public TDialog {
public:
    QRunnerDlg(TWindow* parent, QFoto& driver);
    ~QRunnerDlg() override;

    std::string ProgressText() const;
    bool ErrorShown() const { return errorShown_; }
    // The open attempts still left.
    int AttemptsLeft() const { return attempts_; }

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void EvTimer(unsigned id) override;
    void CmCancel() override;

private:
    TResult EvRunnerStatus(TParam1 p1, TParam2 p2);
    void OpenAttempt();
    void StartWorker();
    void ShowFailure();
    // Says how the port came by its lock file, when not as usual.
    void TellLockState(const TComm& port);
    void ShowText(const std::string& text);
    void AdoptWorkerError();

    QFoto& driver_;
    QMessageLine* text_ = nullptr;
    QRunnerIcon* busy_ = nullptr;
    QRunnerIcon* error_ = nullptr;
    TWindow* shown_ = nullptr;
    TPoint base_{0, 0};
    int step_ = 0;
    int attempts_ = 5;
    bool cancelled_ = false;
    bool errorShown_ = false;
    bool firstAttempt_ = true;
};

}  // namespace vyn
