#pragma once
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "readers/TComm.h"

namespace vyn {

class QFotoProgress;

// Everything one reader operation's worker thread may touch: its stop flag, its port, the
// buffer the measurement lands in, its copy of the filter table, its error text and its
// progress window. The runner and the worker share the job; a worker that the runner gave up
// on keeps its job alive on its own, so that whatever it does late lands in memory that is
// still its own and that nobody reads any more. The runner takes the results over on the
// main thread only after the worker has ended in time.
class ReaderJob {
public:
    ReaderJob();
    ~ReaderJob();
    ReaderJob(const ReaderJob&) = delete;
    ReaderJob& operator=(const ReaderJob&) = delete;

    // The job of the calling worker thread, or none (the main thread, or a driver used
    // directly).
    static ReaderJob* Current();
    // Binds the job to the calling thread for the scope's life.
    class Scope {
    public:
        explicit Scope(ReaderJob* job);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        ReaderJob* previous_;
    };

    // Worker threads that have been started and have not ended yet, given up on or not.
    // Another operation starts its worker only when this is 0, so that two workers never
    // share the driver.
    static int LiveWorkers();
    static void WorkerStarted();
    static void WorkerEnded();
    // Waits up to ms for every worker to end; true when none is left.
    static bool WaitForWorkers(int ms);

    void SetError(const std::string& text);
    // The text the worker left; false when it set none.
    bool TakeError(std::string& text) const;

    // Marks the operation as ended with the status and wakes the runner.
    void Finish(int status);
    // Waits up to ms for Finish; true when it came.
    bool WaitFinished(int ms);
    int Status() const { return status_; }

    std::atomic<bool> stop{false};
    TComm port;
    std::vector<double> values;
    std::vector<int> filters;
    bool filtersChanged = false;
    std::unique_ptr<QFotoProgress> progress;

private:
    mutable std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::atomic<int> status_{0};
    std::string error_;
    bool errorSet_ = false;
};

}  // namespace vyn
