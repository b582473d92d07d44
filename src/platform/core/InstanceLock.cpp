#include "platform/core/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "platform/core/ConfigDir.h"

namespace vyn {

TInstanceLock::TInstanceLock(const std::string& path) : path_(path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash != std::string::npos && slash > 0) MakeDirectories(path.substr(0, slash));
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        heldElsewhere_ = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    fd_ = fd;
}

TInstanceLock::~TInstanceLock()
{
    if (fd_ >= 0) ::close(fd_);  // closing drops the lock; the file stays for the next start
}

std::string DefaultInstanceLockPath() { return ConfigDir() + "/vyn.lock"; }

}  // namespace vyn
