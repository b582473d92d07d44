#include "EmulatorLink.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <thread>
#include <unistd.h>

namespace vyn::emu {

int EmulatorLink::ReadByte()
{
    while (!stop_ && fd_ >= 0) {
        pollfd p{fd_, POLLIN, 0};
        const int r = ::poll(&p, 1, 20);
        if (r < 0 && errno != EINTR) return -1;
        if (r <= 0) continue;
        if (p.revents & POLLIN) {
            unsigned char b = 0;
            const ssize_t n = ::read(fd_, &b, 1);
            if (n == 1) return b;
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        }
        // Nobody on the other side right now (the driver closed its port): wait for it.
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return -1;
}

void EmulatorLink::Write(const std::string& bytes)
{
    if (cut_ || fd_ < 0) return;
    std::size_t done = 0;
    while (done < bytes.size() && !stop_) {
        if (byteDelayMs_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(byteDelayMs_));
        const std::size_t chunk = byteDelayMs_ > 0 ? 1 : bytes.size() - done;
        const ssize_t n = ::write(fd_, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    }
}

void EmulatorLink::HangUp()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace vyn::emu
