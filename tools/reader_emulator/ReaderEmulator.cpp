#include "ReaderEmulator.h"

#include <algorithm>
#include <cstdlib>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include "EmulatorLink.h"

namespace vyn::emu {

namespace {
void MakeRaw(int fd)
{
    termios t{};
    if (::tcgetattr(fd, &t) != 0) return;
    ::cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    ::tcsetattr(fd, TCSANOW, &t);
}
}  // namespace

ReaderEmulator::ReaderEmulator(Script script, const std::string& devicePath)
    : script_(std::move(script)), filters_(script_.filters)
{
    if (!devicePath.empty()) {
        fd_ = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd_ >= 0) MakeRaw(fd_);
        slavePath_ = devicePath;
    } else {
        fd_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        char name[128];
        if (fd_ >= 0 && ::grantpt(fd_) == 0 && ::unlockpt(fd_) == 0 && ::ptsname_r(fd_, name, sizeof name) == 0) {
            slavePath_ = name;
            ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
            // Holding the far end open keeps the master readable while the driver's port is
            // closed, and sets the line raw before the driver ever sees it.
            slaveFd_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
            if (slaveFd_ >= 0) MakeRaw(slaveFd_);
        } else if (fd_ >= 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    link_ = std::make_unique<EmulatorLink>(fd_, stop_);
    link_->SetByteDelay(script_.byteDelayMs);
}

ReaderEmulator::~ReaderEmulator()
{
    Stop();
    link_->HangUp();
    if (slaveFd_ >= 0) ::close(slaveFd_);
}

void ReaderEmulator::Start()
{
    if (fd_ < 0 || thread_.joinable()) return;
    stop_ = false;
    thread_ = std::thread([this] { Run(); });
}

void ReaderEmulator::Stop()
{
    stop_ = true;
    if (thread_.joinable()) thread_.join();
}

void ReaderEmulator::Run()
{
    switch (script_.family) {
    case Family::Slt: RunSlt(*this, *link_); break;
    case Family::Mul: RunMul(*this, *link_); break;
    case Family::Ostrel: RunOstrel(*this, *link_); break;
    }
}

void ReaderEmulator::Log(const std::string& command)
{
    std::lock_guard<std::mutex> lock(mutex_);
    commands_.push_back(command);
}

std::vector<std::string> ReaderEmulator::Commands() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return commands_;
}

bool ReaderEmulator::Received(const std::string& command) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return std::find(commands_.begin(), commands_.end(), command) != commands_.end();
}

std::vector<int> ReaderEmulator::Filters() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return filters_;
}

void ReaderEmulator::SetFilters(const std::vector<int>& filters)
{
    std::lock_guard<std::mutex> lock(mutex_);
    filters_ = filters;
}

}  // namespace vyn::emu
