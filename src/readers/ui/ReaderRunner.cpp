#include "readers/ui/ReaderRunner.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/StringTable.h"
#include "platform/gui/MsgBox.h"
#include "readers/ReaderStrings.h"
#include "readers/TComm.h"
#include "readers/ui/QMessageLine.h"
#include "readers/ui/ReaderUiIds.h"

namespace vyn {

namespace {

constexpr unsigned kTimerOpen = 1, kTimerAnimate = 2, kTimerError = 3;
constexpr unsigned kOpenRetryMs = 600, kAnimateMs = 230, kErrorShowMs = 3000;
constexpr unsigned kProgressSendMs = 150;
constexpr int kOpenAttempts = 5;
constexpr auto kWorkerStopWait = std::chrono::milliseconds(4000);
constexpr std::size_t kShownErrorMax = 63;

enum RunnerReport : unsigned { rrEnded = 3, rrStringId = 4, rrCount = 5, rrText = 6, rrMessage = 7, rrConfirm = 8 };

const TColor kRed(255, 0, 0);

// What one run shares with its worker thread. A worker given up on keeps its own copy
// alive, so that a late end does not touch the next run's state.
struct RunShared {
    std::atomic<int> status{0};
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
};

struct RunnerState {
    bool running = false;
    ReaderOperation op;
    bool keepOpen = false;
    std::shared_ptr<RunShared> shared;
    std::thread worker;
    TParam2 generation = 0;
};
RunnerState gRun;

struct MessageArgs {
    std::string text;
    std::string caption;
};

// The progress window as the driver sees it. The window may go away while the worker is in
// the middle of a report, so every report to it is made under the lock that Attach takes.
class RunnerProgress : public QFotoProgress {
public:
    void Attach(TWindow* wnd, QFoto* driver)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wnd_ = wnd;
        if (driver) driver_ = driver;
    }
    void ShowText(const std::string& text) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (wnd_) wnd_->SendMessageTimeout(WM_RUNNERSTATUS, rrText, reinterpret_cast<TParam2>(text.c_str()), kProgressSendMs);
    }
    void ShowCount(int count, int total) override
    {
        std::lock_guard<std::mutex> lock(mutex_);
        const TParam2 packed = static_cast<TParam2>((static_cast<unsigned>(count) & 0xFFFF) |
                                                    ((static_cast<unsigned>(total) & 0xFFFF) << 16));
        if (wnd_) wnd_->SendMessageTimeout(WM_RUNNERSTATUS, rrCount, packed, kProgressSendMs);
    }
    bool ConfirmPlate() override { return Ask(rrConfirm, nullptr) == IDOK; }
    void Message(const std::string& text, const std::string& caption) override
    {
        MessageArgs args{text, caption};
        Ask(rrMessage, &args);
    }
    void PostEnded(TParam2 generation)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (wnd_) wnd_->PostMessage(WM_RUNNERSTATUS, rrEnded, generation);
    }

private:
    // A question the main thread shows for the worker. It is retried in short sends, so that
    // a main thread busy ending the dialog is never kept waiting on the lock for long.
    TResult Ask(unsigned kind, void* args)
    {
        for (;;) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!wnd_ || (driver_ && driver_->abort)) return IDCANCEL;
            TResult r = IDCANCEL;
            if (wnd_->SendMessageTimeout(WM_RUNNERSTATUS, kind, reinterpret_cast<TParam2>(args), 300, &r)) return r;
        }
    }

    std::mutex mutex_;
    TWindow* wnd_ = nullptr;
    QFoto* driver_ = nullptr;
};
RunnerProgress gProgress;

}  // namespace

// ---- the progress dialog -------------------------------------------------------------------

QRunnerDlg::QRunnerDlg(TWindow* parent, QFoto& driver) : TDialog(parent, idDlgProgress), driver_(driver)
{
    OnMessage(WM_RUNNERSTATUS, [this](TParam1 p1, TParam2 p2) { return EvRunnerStatus(p1, p2); });
}

QRunnerDlg::~QRunnerDlg() = default;

std::string QRunnerDlg::ProgressText() const { return text_ ? text_->GetText() : GetDlgItemText(101); }

void QRunnerDlg::SetupWindow()
{
    TDialog::SetupWindow();
    if (!text_) {
        text_ = new QMessageLine(*this, 101, TColor::Black);
        busy_ = new QRunnerIcon(*this, 102, QRunnerIcon::Busy);
        error_ = new QRunnerIcon(*this, 103, QRunnerIcon::Error);
    }
    gProgress.Attach(this, &driver_);
    driver_.progress = &gProgress;
    cancelled_ = false;
    errorShown_ = false;
    firstAttempt_ = true;
    attempts_ = kOpenAttempts;
    SetTimer(kTimerOpen, 0);

    busy_->ShowWindow(SW_HIDE);
    error_->ShowWindow(SW_HIDE);
    const TRect r = ChildRectInClient(*busy_);
    base_ = TPoint(r.left, r.top);
    step_ = 0;
    shown_ = busy_;
    shown_->SetWindowPos(nullptr, base_.x + step_, base_.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown_->ShowWindow(SW_SHOW);
    SetTimer(kTimerAnimate, kAnimateMs);
}

void QRunnerDlg::ShowText(const std::string& text)
{
    if (text_) text_->SetText(text);
}

void QRunnerDlg::EvTimer(unsigned id)
{
    switch (id) {
    case kTimerAnimate:
        step_ = (step_ + 1) % 30;
        if (shown_)
            shown_->SetWindowPos(nullptr, base_.x + step_, base_.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case kTimerOpen: OpenAttempt(); break;
    case kTimerError: CloseWindow(IDCANCEL); break;
    default: TDialog::EvTimer(id); break;
    }
}

void QRunnerDlg::OpenAttempt()
{
    KillTimer(kTimerOpen);
    ShowText(" " + std::to_string(attempts_) + " ");
    if (firstAttempt_) {
        firstAttempt_ = false;
        UpdateWindow();
    }
    --attempts_;
    if (gComm.Open() != 0) {
        QFoto::SetErrorFromPort();
        if (attempts_ > 0)
            SetTimer(kTimerOpen, kOpenRetryMs);
        else
            ShowFailure();
        return;
    }
    ShowText({});
    StartWorker();
}

void QRunnerDlg::StartWorker()
{
    auto shared = gRun.shared;
    QFoto* driver = &driver_;
    ReaderOperation op = gRun.op;
    const TParam2 generation = gRun.generation;
    try {
        gRun.worker = std::thread([shared, driver, op, generation] {
            const QFotoStatus status = op ? op(*driver) : fsError;
            shared->status = status;
            {
                std::lock_guard<std::mutex> lock(shared->mutex);
                shared->finished = true;
            }
            shared->done.notify_all();
            gProgress.PostEnded(generation);
        });
    } catch (const std::system_error& e) {
        QFoto::SetSystemError(e.code().value());
        ShowFailure();
    }
}

void QRunnerDlg::ShowFailure()
{
    if (!gRun.keepOpen) {
        CloseWindow(IDCANCEL);
        return;
    }
    errorShown_ = true;
    const TRect r = ChildRectInClient(*shown_);
    shown_->ShowWindow(SW_HIDE);
    shown_ = error_;
    shown_->SetWindowPos(nullptr, r.left, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    shown_->ShowWindow(SW_SHOW);
    KillTimer(kTimerAnimate);
    SetTimer(kTimerError, kErrorShowMs);
    text_->SetColor(kRed);
    ShowText(CutUtf8(QFoto::GetErrorText(), kShownErrorMax));
}

TResult QRunnerDlg::EvRunnerStatus(TParam1 p1, TParam2 p2)
{
    switch (p1) {
    case rrEnded: {
        if (p2 != gRun.generation || !gRun.shared || errorShown_ || HasEnded()) return 0;
        const int status = gRun.shared->status;
        if (status == fsDone || status == fsAborted) {
            CloseWindow(IDOK);
            return 0;
        }
        if (status == fsNoResponse) QFoto::SetErrorId(idsNotResponding);
        if (!gRun.keepOpen)
            CloseWindow(IDOK);
        else
            ShowFailure();
        return 0;
    }
    case rrStringId: ShowText(GetResStringStd(static_cast<int>(p2))); return 0;
    case rrCount:
        ShowText(" " + std::to_string(p2 & 0xFFFF) + "/" + std::to_string((p2 >> 16) & 0xFFFF) + " ");
        return 0;
    case rrText: ShowText(p2 ? reinterpret_cast<const char*>(p2) : ""); return 0;
    case rrMessage: {
        const auto* args = reinterpret_cast<const MessageArgs*>(p2);
        if (args) MessageBox(this, args->text, args->caption, MB_OK);
        return IDOK;
    }
    case rrConfirm: {
        TDialog confirm(this, idDlgConfirmPlate);
        return confirm.Execute();
    }
    default: return 0;
    }
}

void QRunnerDlg::CmCancel()
{
    if (!errorShown_) cancelled_ = true;
    CloseWindow(IDCANCEL);
}

void QRunnerDlg::CleanupWindow()
{
    KillTimer(kTimerOpen);
    KillTimer(kTimerAnimate);
    KillTimer(kTimerError);
    gProgress.Attach(nullptr, nullptr);
    if (gRun.worker.joinable()) {
        driver_.abort = true;
        auto shared = gRun.shared;
        bool finished = false;
        {
            std::unique_lock<std::mutex> lock(shared->mutex);
            finished = shared->done.wait_for(lock, kWorkerStopWait, [&] { return shared->finished; });
        }
        if (finished) {
            gRun.worker.join();
            if (cancelled_) shared->status = fsAborted;
        } else {
            // The worker is left to end on its own (the abort flag stays set); its late result
            // goes into its own shared state, never into a later run's.
            gRun.worker.detach();
            gRun.shared = std::make_shared<RunShared>();
            QFoto::SetErrorId(idsSyncProblem);
        }
    } else if (cancelled_ && gRun.shared) {
        // Aborted while the port was still being opened: the caller hears "Aborted." rather
        // than a failure without a reason.
        gRun.shared->status = fsAborted;
    }
    TDialog::CleanupWindow();
}

// ---- entry points ----------------------------------------------------------------------------

int RunReaderOperation(QFoto& driver, TWindow* parent, ReaderOperation op, bool keepOpen)
{
    if (gRun.running) {
        QFoto::SetErrorId(idsError);
        return 1;
    }
    gRun.running = true;
    driver.abort = false;
    QFoto::SetErrorText({});
    gRun.op = std::move(op);
    gRun.keepOpen = keepOpen;
    gRun.shared = std::make_shared<RunShared>();
    ++gRun.generation;
    int shownResult = -1;
    {
        QRunnerDlg dlg(parent, driver);
        shownResult = dlg.Execute();
    }
    gComm.Close();
    const int status = gRun.shared->status;
    gRun.op = nullptr;
    gRun.running = false;
    if (shownResult < 0 && status == 0 && QFoto::GetErrorText().empty()) QFoto::SetErrorId(idsError);
    return QFoto::ConcludeOperation(status);
}

int RunMeasure(QFoto& driver, TWindow* parent, double* values, int rows, int cols, int wavelength, int refWavelength,
               int useReference, const std::string& options)
{
    driver.SetRequest(values, rows, cols, wavelength, refWavelength, useReference, options);
    driver.BeforeMeasure();
    if (RunReaderOperation(driver, parent, [](QFoto& d) { return d.Measure(); }, false) != 0) return 1;
    driver.AfterMeasure();
    return 0;
}

int RunReadFilters(QFoto& driver, TWindow* parent)
{
    return RunReaderOperation(driver, parent, [](QFoto& d) { return d.ReadFilters(); }, false);
}

int RunWriteFilters(QFoto& driver, TWindow* parent)
{
    return RunReaderOperation(driver, parent, [](QFoto& d) { return d.WriteFilters(); }, false);
}

int RunMovePlate(QFoto& driver, TWindow* parent, bool out, bool keepOpen)
{
    return RunReaderOperation(driver, parent, [out](QFoto& d) { return d.MovePlate(out); }, keepOpen);
}

}  // namespace vyn
