#include "platform/core/SerialPort.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <linux/serial.h>
#include <poll.h>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include "platform/core/ProfileFile.h"

namespace vyn {

// Sets a rate that has no B constant (56000 of the readers' table); in SerialPortBaud.cpp
// because the kernel's termios2 header clashes with <termios.h>.
bool SetCustomBaud(int fd, int baud);

namespace {

speed_t SpeedConstant(int baud)
{
    switch (baud) {
    case 50: return B50;
    case 75: return B75;
    case 110: return B110;
    case 134: return B134;
    case 150: return B150;
    case 200: return B200;
    case 300: return B300;
    case 600: return B600;
    case 1200: return B1200;
    case 1800: return B1800;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    case 230400: return B230400;
    default: return B0;
    }
}

// The far ends of pseudo-terminals (the devices a reader emulator offers) have majors 136-143.
bool IsPseudoTerminal(int fd)
{
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode)) return false;
    const unsigned m = major(st.st_rdev);
    return m >= 136 && m <= 143;
}

// The lock file of a serial device as the programs of this platform name it: LCK.. and the
// device's name below /dev, a '/' in it written as '_' (pts/3 -> LCK..pts_3).
std::string LockFilePath(const std::string& lockDir, const std::string& devicePath)
{
    std::string name = devicePath.rfind("/dev/", 0) == 0 ? devicePath.substr(5) : devicePath;
    if (devicePath.rfind("/dev/", 0) != 0) {
        const std::size_t slash = name.find_last_of('/');
        if (slash != std::string::npos) name = name.substr(slash + 1);
    }
    for (char& c : name)
        if (c == '/') c = '_';
    return lockDir + "/LCK.." + name;
}

// The owner written in a lock file: ten characters of decimal pid and a line end, or, in
// files of older programs, the pid as four binary bytes. 0 when there is none to read.
pid_t LockOwner(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) return 0;
    char buf[32] = {};
    const ssize_t n = ::read(fd, buf, sizeof buf - 1);
    ::close(fd);
    if (n == static_cast<ssize_t>(sizeof(int))) {
        int pid = 0;
        std::memcpy(&pid, buf, sizeof pid);
        return pid > 0 ? pid : 0;
    }
    if (n <= 0) return 0;
    const long pid = std::strtol(buf, nullptr, 10);
    return pid > 0 && pid <= 0x3FFFFFFF ? static_cast<pid_t>(pid) : 0;
}

bool OwnerAlive(pid_t pid) { return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM); }

enum class LockFileResult { Taken, TakenFromDead, TakenFromGarbage, Busy, Unavailable };

// Temporary names tried before the lock folder counts as unusable: names there that are not
// ours (planted or left behind) are stepped over, never written through.
constexpr int kTempNameAttempts = 8;

// Makes the whole lock text under a fresh temporary name in the lock folder: created here and
// now, never an existing file and never through a link, so nothing outside the folder is
// written. The name made, or empty when none could be made.
std::string WriteTempLock(const std::string& lockDir)
{
    const std::string base = lockDir + "/LTMP." + std::to_string(::getpid());
    char text[16];
    const int len = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
    for (int i = 0; i < kTempNameAttempts; ++i) {
        const std::string tmp = i == 0 ? base : base + "." + std::to_string(i);
        const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0) {
            if (errno == EEXIST || errno == ELOOP) continue;  // somebody's name: try another
            return {};
        }
        const bool written = ::write(fd, text, static_cast<std::size_t>(len)) == len;
        ::close(fd);
        if (written) return tmp;
        ::unlink(tmp.c_str());
        return {};
    }
    return {};
}

// Takes the device's lock file for this process. The file is made whole under another name
// and linked into place, so that nobody ever reads half a pid; a lock whose owner is gone, or
// that names nobody, is removed and taken. Unavailable: no lock could be made here (the folder
// cannot be written, or all temporary names are taken), and nobody else holds the lock.
LockFileResult TakeLockFile(const std::string& lockDir, const std::string& path, pid_t& previousOwner)
{
    previousOwner = 0;
    bool removed = false;
    for (int attempt = 0; attempt < 2; ++attempt) {
        const std::string tmp = WriteTempLock(lockDir);
        if (tmp.empty()) return OwnerAlive(LockOwner(path)) ? LockFileResult::Busy : LockFileResult::Unavailable;
        const int linked = ::link(tmp.c_str(), path.c_str());
        const int linkErr = errno;
        ::unlink(tmp.c_str());
        if (linked == 0) {
            if (!removed) return LockFileResult::Taken;
            return previousOwner > 0 ? LockFileResult::TakenFromDead : LockFileResult::TakenFromGarbage;
        }
        if (linkErr != EEXIST) return LockFileResult::Unavailable;
        const pid_t owner = LockOwner(path);
        if (OwnerAlive(owner)) return LockFileResult::Busy;
        // Stale: its owner has died, or it names nobody. Only the name goes; a file it may be
        // a link to stays as it is.
        previousOwner = owner;
        removed = true;
        ::unlink(path.c_str());
    }
    return LockFileResult::Busy;
}

long ElapsedMs(std::chrono::steady_clock::time_point start)
{
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
}

int PollFor(int fd, short events, int timeoutMs)
{
    pollfd p{fd, events, 0};
    for (;;) {
        int r = ::poll(&p, 1, timeoutMs);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return r;
        return p.revents;
    }
}

}  // namespace

SerialPort::OpenResult SerialPort::Open(const std::string& devicePath, const SerialParams& params,
                                        int& errorCode)
{
    Close();
    errorCode = 0;
    // Other serial programs keep off a device whose lock file names a live process, even
    // when they would be allowed to open it.
    const std::string lockDir = LockDirectory();
    const std::string lockPath = LockFilePath(lockDir, devicePath);
    lockState_ = LockState::Held;
    pid_t previousOwner = 0;
    const LockFileResult lock = TakeLockFile(lockDir, lockPath, previousOwner);
    lockPrevOwner_ = static_cast<int>(previousOwner);
    switch (lock) {
    case LockFileResult::Busy: errorCode = EBUSY; return OpenResult::InUse;
    case LockFileResult::Taken: lockPath_ = lockPath; break;
    case LockFileResult::TakenFromDead:
    case LockFileResult::TakenFromGarbage:
        lockPath_ = lockPath;
        lockState_ = LockState::TakenOver;
        break;
    case LockFileResult::Unavailable: lockState_ = LockState::NotTaken; break;
    }
    int fd = ::open(devicePath.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        errorCode = errno;
        ReleaseLockFile();
        if (errorCode == ENOENT || errorCode == ENXIO || errorCode == ENODEV) return OpenResult::NotFound;
        if (errorCode == EBUSY) return OpenResult::InUse;
        return OpenResult::SystemError;
    }
    // Two programs on one reader would mix their commands: take the device for ourselves.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::ioctl(fd, TIOCEXCL) != 0) {
        errorCode = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        ReleaseLockFile();
        return errorCode == EBUSY ? OpenResult::InUse : OpenResult::SystemError;
    }
    fd_ = fd;
    if (!Apply(params, errorCode)) {
        Close();
        return OpenResult::SystemError;
    }
    SetDtrRts(true);
    TakeLineErrors();  // what happened before the port was ours is not our line error
    Purge();
    return OpenResult::Ok;
}

bool SerialPort::Apply(const SerialParams& params, int& errorCode)
{
    termios t{};
    if (::tcgetattr(fd_, &t) != 0) {
        errorCode = errno;
        return false;
    }
    ::cfmakeraw(&t);
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY | IGNPAR | PARMRK);
    if (params.parity != 0) t.c_iflag |= INPCK;
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    t.c_cflag |= CLOCAL | CREAD | (params.dataBits == 7 ? CS7 : CS8);
    if (params.parity == 2) t.c_cflag |= PARENB;
    if (params.parity == 1) t.c_cflag |= PARENB | PARODD;
    if (params.stopBits == 2) t.c_cflag |= CSTOPB;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
    t.c_cc[VSTART] = 0x11;
    t.c_cc[VSTOP] = 0x13;
    const speed_t speed = SpeedConstant(params.baud);
    if (speed != B0) {
        ::cfsetispeed(&t, speed);
        ::cfsetospeed(&t, speed);
    }
    if (::tcsetattr(fd_, TCSANOW, &t) != 0) {
        errorCode = errno;
        // A pseudo-terminal carries whole bytes and has no parity; it refuses to be asked for
        // less once it knows its own line. Such a line gets what it can carry; a real port
        // gets exactly what was asked or fails.
        if (errorCode != EINVAL || !IsPseudoTerminal(fd_)) return false;
        t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD);
        t.c_cflag |= CS8;
        t.c_iflag &= ~static_cast<tcflag_t>(INPCK);
        if (::tcsetattr(fd_, TCSANOW, &t) != 0) {
            errorCode = errno;
            return false;
        }
        errorCode = 0;
    }
    if (speed == B0 && !SetCustomBaud(fd_, params.baud)) {
        errorCode = errno ? errno : EINVAL;
        return false;
    }
    return true;
}

void SerialPort::Close()
{
    if (fd_ >= 0) {
        SetDtrRts(false);
        // Exclusive mode belongs to the tty, not to our descriptor: give it back.
        ::ioctl(fd_, TIOCNXCL);
        ::close(fd_);
        fd_ = -1;
    }
    ReleaseLockFile();
}

void SerialPort::ReleaseLockFile()
{
    if (lockPath_.empty()) return;
    // Only a lock that is still ours goes.
    if (LockOwner(lockPath_) == ::getpid()) ::unlink(lockPath_.c_str());
    lockPath_.clear();
}

std::string SerialPort::LockDirectory()
{
    std::string dir;
    if (ProfileFile("VYN.INI").Read("ports", "lock_folder", dir) && !dir.empty()) {
        while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
        return dir;
    }
    return kDefaultLockDirectory;
}

std::string SerialPort::LockFileOf(const std::string& devicePath) { return LockFilePath(LockDirectory(), devicePath); }

void SerialPort::SetDtrRts(bool on)
{
    if (fd_ < 0) return;
    int bits = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, on ? TIOCMBIS : TIOCMBIC, &bits);  // pseudo-terminals have no modem lines
}

bool SerialPort::Read(void* buffer, std::size_t count, std::size_t& got, unsigned timeoutMs, int& errorCode)
{
    got = 0;
    errorCode = 0;
    if (fd_ < 0 || count == 0) return true;
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        ssize_t n = ::read(fd_, buffer, count);
        if (n > 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (n == 0) {
            // A tty in raw mode with VMIN 0 reads 0 when nothing is queued.
        } else if (errno != EAGAIN && errno != EINTR) {
            errorCode = errno;
            return false;
        }
        const long left = static_cast<long>(timeoutMs) - ElapsedMs(start);
        if (left <= 0) return true;
        int r = PollFor(fd_, POLLIN, static_cast<int>(left));
        if (r < 0) {
            errorCode = errno;
            return false;
        }
        if (r == 0) return true;
        if ((r & (POLLERR | POLLNVAL)) != 0 || ((r & POLLHUP) != 0 && (r & POLLIN) == 0)) {
            errorCode = EIO;
            return false;
        }
    }
}

bool SerialPort::Write(const void* bytes, std::size_t count, unsigned timeoutMs, int& errorCode)
{
    errorCode = 0;
    if (fd_ < 0) return true;
    const char* p = static_cast<const char*>(bytes);
    const auto start = std::chrono::steady_clock::now();
    while (count > 0) {
        ssize_t n = ::write(fd_, p, count);
        if (n > 0) {
            p += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            errorCode = errno;
            return false;
        }
        if (ElapsedMs(start) >= static_cast<long>(timeoutMs)) return true;
        int r = PollFor(fd_, POLLOUT, 10);
        if (r < 0) {
            errorCode = errno;
            return false;
        }
        if ((r & (POLLERR | POLLNVAL | POLLHUP)) != 0) {
            errorCode = EIO;
            return false;
        }
    }
    return true;
}

void SerialPort::Purge()
{
    if (fd_ >= 0) ::tcflush(fd_, TCIOFLUSH);
}

unsigned SerialPort::TakeLineErrors()
{
    if (fd_ < 0) return 0;
    serial_icounter_struct c{};
    if (::ioctl(fd_, TIOCGICOUNT, &c) != 0) return 0;
    unsigned bits = 0;
    auto fresh = [](int now, std::uint32_t& last) {
        bool changed = static_cast<std::uint32_t>(now) != last;
        last = static_cast<std::uint32_t>(now);
        return changed;
    };
    if (fresh(c.buf_overrun, lastBufOverrun_)) bits |= kSerialRxOver;
    if (fresh(c.overrun, lastOverrun_)) bits |= kSerialOverrun;
    if (fresh(c.parity, lastParity_)) bits |= kSerialParity;
    if (fresh(c.frame, lastFrame_)) bits |= kSerialFrame;
    if (fresh(c.brk, lastBrk_)) bits |= kSerialBreak;
    return bits;
}

std::string SerialPort::DevicePath(int portIndex)
{
    const std::string name = "COM" + std::to_string(portIndex + 1);
    std::string path;
    if (ProfileFile("VYN.INI").Read("ports", name, path) && !path.empty()) return path;
    return "/dev/ttyS" + std::to_string(portIndex);
}

std::string SerialPort::SystemErrorText(int errorCode)
{
    char buf[256];
    buf[0] = '\0';
    // The GNU strerror_r may return a static text instead of filling buf.
    const char* text = ::strerror_r(errorCode, buf, sizeof buf);
    return text ? text : buf;
}

}  // namespace vyn
