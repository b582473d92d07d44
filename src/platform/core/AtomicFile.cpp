#include "platform/core/AtomicFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyn {

namespace {
AtomicWriteHook gHook = nullptr;

bool Reached(AtomicWriteStage stage)
{
    return !gHook || gHook(stage);
}

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

void SetAtomicWriteHook(AtomicWriteHook hook)
{
    gHook = hook;
}

bool WriteFileAtomic(const std::string& path, const std::string& content)
{
    const std::string temp = path + ".tmp";
    mode_t mode = 0644;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;

    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
    if (fd < 0) return false;
    const std::size_t half = content.size() / 2;
    bool ok = Reached(AtomicWriteStage::TempOpened) && WriteAll(fd, content.data(), half) &&
              Reached(AtomicWriteStage::PartWritten) &&
              WriteAll(fd, content.data() + half, content.size() - half) && ::fsync(fd) == 0;
    if (::close(fd) != 0) ok = false;
    ok = ok && Reached(AtomicWriteStage::BeforeRename) && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable; a failure here leaves a whole file either way.
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& content, bool* exists)
{
    content.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (exists) *exists = fd >= 0 || errno != ENOENT;
    if (fd < 0) return false;
    char buf[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            ok = false;
            break;
        }
        if (n == 0) break;
        content.append(buf, static_cast<std::size_t>(n));
    }
    ::close(fd);
    if (!ok) content.clear();
    return ok;
}

FileLock::FileLock(const std::string& path)
{
    const std::string lockPath = path + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) return;
    int rc;
    do {
        rc = ::flock(fd_, LOCK_EX);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FileLock::~FileLock()
{
    if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

}  // namespace vyn
