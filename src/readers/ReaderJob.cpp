#include "readers/ReaderJob.h"

#include <chrono>

#include "readers/QFoto.h"

namespace vyn {

namespace {
thread_local ReaderJob* tCurrentJob = nullptr;

std::mutex gWorkersLock;
std::condition_variable gWorkersGone;
int gLiveWorkers = 0;
}  // namespace

ReaderJob::ReaderJob() = default;
ReaderJob::~ReaderJob() = default;

ReaderJob* ReaderJob::Current() { return tCurrentJob; }

ReaderJob::Scope::Scope(ReaderJob* job) : previous_(tCurrentJob) { tCurrentJob = job; }
ReaderJob::Scope::~Scope() { tCurrentJob = previous_; }

int ReaderJob::LiveWorkers()
{
    std::lock_guard<std::mutex> lock(gWorkersLock);
    return gLiveWorkers;
}

void ReaderJob::WorkerStarted()
{
    std::lock_guard<std::mutex> lock(gWorkersLock);
    ++gLiveWorkers;
}

void ReaderJob::WorkerEnded()
{
    {
        std::lock_guard<std::mutex> lock(gWorkersLock);
        --gLiveWorkers;
    }
    gWorkersGone.notify_all();
}

bool ReaderJob::WaitForWorkers(int ms)
{
    std::unique_lock<std::mutex> lock(gWorkersLock);
    return gWorkersGone.wait_for(lock, std::chrono::milliseconds(ms), [] { return gLiveWorkers == 0; });
}

void ReaderJob::SetError(const std::string& text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    error_ = text;
    errorSet_ = true;
}

bool ReaderJob::TakeError(std::string& text) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    if (errorSet_) text = error_;
    return errorSet_;
}

void ReaderJob::Finish(int status)
{
    status_ = status;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = true;
    }
    done_.notify_all();
}

bool ReaderJob::WaitFinished(int ms)
{
    std::unique_lock<std::mutex> lock(mutex_);
    return done_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return finished_; });
}

}  // namespace vyn
