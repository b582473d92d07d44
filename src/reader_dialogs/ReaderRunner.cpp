#include "reader_dialogs/ReaderRunner.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/StringTable.h"
#include "platform/gui/Application.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/MsgBox.h"
#include "readers/ReaderJob.h"
#include "readers/ReaderStrings.h"
#include "readers/TComm.h"
#include "reader_dialogs/QMessageLine.h"
#include "reader_dialogs/ReaderUiIds.h"

namespace vyn {

namespace {

constexpr unsigned kTimerOpen = 1, kTimerAnimate = 2, kTimerError = 3;
constexpr unsigned kOpenRetryMs = 600, kAnimateMs = 230, kErrorShowMs = 3000;
constexpr unsigned kProgressSendMs = 150;
constexpr int kOpenAttempts = 5;
constexpr auto kWorkerStopWait = std::chrono::milliseconds(4000);
constexpr std::size_t kShownErrorMax = 63;

// The status of the last run as the dialog left it (0: no status, the worker did not end).
int gRunStatus = 0;

enum RunnerReport : unsigned { rrEnded = 3, rrStringId = 4, rrCount = 5, rrText = 6, rrMessage = 7, rrConfirm = 8 };

const TColor kRed(255, 0, 0);

struct RunnerState {
    bool running = false;
    ReaderOperation op;
    // Runs on the main thread just before the worker starts, when no other worker is alive.
    std::function<void(ReaderJob&)> prepare;
    bool keepOpen = false;
    std::shared_ptr<ReaderJob> job;
    std::thread worker;
    TParam2 generation = 0;
};
RunnerState gRun;

struct MessageArgs {
    std::string text;
    std::string caption;
};

// The progress window as the driver sees it; one per operation, owned by its job. The window
// may go away while the worker is in the middle of a report, so every report to it is made
// under the lock that Attach takes.
class RunnerProgress : public QFotoProgress {
public:
    explicit RunnerProgress(const std::atomic<bool>& stop) : stop_(stop) {}

    void Attach(TWindow* wnd)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wnd_ = wnd;
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
            if (!wnd_ || stop_) return IDCANCEL;
            TResult r = IDCANCEL;
            if (wnd_->SendMessageTimeout(WM_RUNNERSTATUS, kind, reinterpret_cast<TParam2>(args), 300, &r)) return r;
        }
    }

    std::mutex mutex_;
    TWindow* wnd_ = nullptr;
    const std::atomic<bool>& stop_;
};

RunnerProgress& ProgressOf(ReaderJob& job) { return static_cast<RunnerProgress&>(*job.progress); }

std::shared_ptr<ReaderJob> MakeJob()
{
    auto job = std::make_shared<ReaderJob>();
    job->progress = std::make_unique<RunnerProgress>(job->stop);
    job->port.SetReadTimeout(gComm.ReadTimeout());
    return job;
}

}  // namespace

// ---- the progress dialog -------------------------------------------------------------------

QRunnerDlg::QRunnerDlg(TWindow* parent, QFoto& driver) : TDialog(parent, idDlgProgress), driver_(driver)
{
    SetContextHelpId(kHelpProgress);
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
    if (gRun.job) ProgressOf(*gRun.job).Attach(this);
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
    ReaderJob& job = *gRun.job;
    // A worker given up on earlier may still be on the driver: the reader is busy until it ends.
    const bool busy = ReaderJob::LiveWorkers() > 0;
    if (busy || job.port.Open() != 0) {
        if (busy)
            QFoto::SetErrorId(idsPortInUse);
        else
            QFoto::SetErrorFromPort(job.port);
        if (attempts_ > 0)
            SetTimer(kTimerOpen, kOpenRetryMs);
        else
            ShowFailure();
        return;
    }
    TellLockState(job.port);
    ShowText({});
    StartWorker();
}

void QRunnerDlg::TellLockState(const TComm& port)
{
    const std::string text = port.LockText();
    if (text.empty()) return;
    // Without its lock file the port is ours only as far as this system's own locks reach:
    // the user hears it before anything goes over the line.
    if (port.LockState() == SerialPort::LockState::NotTaken) {
        MessageBox(this, text, "Vyn32", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    TApplication* app = TApplication::Current();
    if (auto* frame = app ? dynamic_cast<TDecoratedFrame*>(app->GetMainWindow()) : nullptr) frame->SetStatusText(text);
}

void QRunnerDlg::StartWorker()
{
    std::shared_ptr<ReaderJob> job = gRun.job;
    job->filters.clear();
    for (int i = 0; i < GetFilterCount(); ++i) job->filters.push_back(GetFilter(i));
    if (gRun.prepare) gRun.prepare(*job);
    QFoto* driver = &driver_;
    ReaderOperation op = gRun.op;
    const TParam2 generation = gRun.generation;
    ReaderJob::WorkerStarted();
    try {
        gRun.worker = std::thread([job, driver, op, generation]() mutable {
            {
                ReaderJob::Scope bind(job.get());
                job->Finish(op ? op(*driver) : fsError);
                ProgressOf(*job).PostEnded(generation);
            }
            // The last hold on a job given up on closes its port here, on this thread.
            job.reset();
            ReaderJob::WorkerEnded();
        });
    } catch (const std::system_error& e) {
        ReaderJob::WorkerEnded();
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
        if (p2 != gRun.generation || !gRun.job || errorShown_ || HasEnded()) return 0;
        // The worker's error text becomes the operation's before anything is shown of it.
        AdoptWorkerError();
        const int status = gRun.job->Status();
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
    case rrCount: {
        const std::string total = (p2 >> 16) & 0xFFFF ? "/" + std::to_string((p2 >> 16) & 0xFFFF) : "";
        ShowText(" " + std::to_string(p2 & 0xFFFF) + total + " ");
        return 0;
    }
    case rrText: ShowText(p2 ? reinterpret_cast<const char*>(p2) : ""); return 0;
    case rrMessage: {
        const auto* args = reinterpret_cast<const MessageArgs*>(p2);
        if (args) MessageBox(this, args->text, args->caption, MB_OK);
        return IDOK;
    }
    case rrConfirm: {
        TDialog confirm(this, idDlgConfirmPlate);
        // Its own topic: the progress window's would not tell what Confirm and Abort do here.
        confirm.SetContextHelpId(kHelpConfirmPlate);
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

void QRunnerDlg::AdoptWorkerError()
{
    std::string text;
    if (gRun.job && gRun.job->TakeError(text)) QFoto::SetErrorText(text);
}

void QRunnerDlg::CleanupWindow()
{
    KillTimer(kTimerOpen);
    KillTimer(kTimerAnimate);
    KillTimer(kTimerError);
    if (gRun.job) ProgressOf(*gRun.job).Attach(nullptr);
    if (gRun.worker.joinable()) {
        std::shared_ptr<ReaderJob> job = gRun.job;
        job->stop = true;
        driver_.abort = true;
        if (job->WaitFinished(static_cast<int>(kWorkerStopWait.count()))) {
            gRun.worker.join();
            AdoptWorkerError();
            gRunStatus = cancelled_ ? fsAborted : job->Status();
        } else {
            // The worker is left to end on its own with its own stop flag set. It keeps its job
            // (port, buffer, table, texts); nothing it does from now on reaches this program.
            gRun.worker.detach();
            gRun.job.reset();
            gRunStatus = 0;
            QFoto::SetErrorId(idsSyncProblem);
        }
    } else {
        // Aborted while the port was still being opened: the caller hears "Aborted." rather
        // than a failure without a reason.
        gRunStatus = cancelled_ ? fsAborted : 0;
    }
    TDialog::CleanupWindow();
}

// ---- entry points ----------------------------------------------------------------------------

int RunReaderOperation(QFoto& driver, TWindow* parent, ReaderOperation op, bool keepOpen)
{
    return RunReaderJob(driver, parent, std::move(op), {}, keepOpen, {});
}

int RunReaderJob(QFoto& driver, TWindow* parent, ReaderOperation op, std::function<void(ReaderJob&)> prepare,
                 bool keepOpen, std::function<void(ReaderJob&)> done)
{
    if (gRun.running) {
        QFoto::SetErrorId(idsError);
        return 1;
    }
    gRun.running = true;
    driver.abort = false;
    QFoto::SetErrorText({});
    gRun.op = std::move(op);
    gRun.prepare = std::move(prepare);
    gRun.keepOpen = keepOpen;
    gRun.job = MakeJob();
    gRunStatus = 0;
    ++gRun.generation;
    int shownResult = -1;
    {
        QRunnerDlg dlg(parent, driver);
        shownResult = dlg.Execute();
    }
    const int status = gRunStatus;
    // A job still held here ended in time (or never started a worker): its results count.
    if (std::shared_ptr<ReaderJob> job = std::move(gRun.job)) {
        job->port.Close();
        if (job->filtersChanged) SetFilters(job->filters.data(), static_cast<int>(job->filters.size()));
        if (status == fsDone && done) done(*job);
    }
    gRun.op = nullptr;
    gRun.prepare = nullptr;
    gRun.running = false;
    if (shownResult < 0 && status == 0 && QFoto::GetErrorText().empty()) QFoto::SetErrorId(idsError);
    return QFoto::ConcludeOperation(status);
}

int RunMeasure(QFoto& driver, TWindow* parent, double* values, int rows, int cols, int wavelength, int refWavelength,
               int useReference, const std::string& options)
{
    const std::size_t n = values && rows > 0 && cols > 0 ? static_cast<std::size_t>(rows) * static_cast<std::size_t>(cols) : 0;
    // The driver measures into the job's buffer, never into the caller's: a worker given up on
    // may write long after the caller's buffer is gone.
    auto prepare = [&](ReaderJob& job) {
        job.values.assign(values, values + n);
        driver.SetRequest(n ? job.values.data() : nullptr, rows, cols, wavelength, refWavelength, useReference, options);
        driver.BeforeMeasure();
    };
    auto done = [&](ReaderJob& job) {
        driver.AfterMeasure();
        std::copy(job.values.begin(), job.values.end(), values);
        driver.values = nullptr;
    };
    return RunReaderJob(driver, parent, [](QFoto& d) { return d.Measure(); }, prepare, false, done);
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
