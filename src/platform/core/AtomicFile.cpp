#include "platform/core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fcntl.h>
#include <mutex>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vyn {

namespace {

constexpr std::size_t kBlock = 65536;

std::atomic<FileFaultHook> gHook{nullptr};

struct FaultPlan {
    bool active = false;
    FileStep step = FileStep::None;
    int nth = 0;
    int error = 0;
    int seen = 0;
    bool fired = false;
};
std::mutex gPlanMutex;
FaultPlan gPlan;

// Asked before every step: the errno a test wants that step to fail with, or 0.
int InjectedFault(FileStep step)
{
    {
        std::lock_guard<std::mutex> lock(gPlanMutex);
        if (gPlan.active && (gPlan.step == FileStep::None || gPlan.step == step) && ++gPlan.seen == gPlan.nth) {
            gPlan.fired = true;
            return gPlan.error;
        }
    }
    const FileFaultHook hook = gHook.load();
    return hook ? hook(step) : 0;
}

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

void SyncDirectory(const std::string& path)
{
    // Makes the rename itself durable; a failure here leaves a whole file either way.
    const int dir = ::open(DirectoryOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// A name nobody else is writing under: the process, a counter and the clock.
std::string UniqueSuffix()
{
    static std::atomic<unsigned> counter{0};
    const auto now = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    unsigned long long x = (now << 20) ^ (static_cast<unsigned long long>(::getpid()) << 8) ^ counter.fetch_add(1);
    static const char kChars[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    std::string s;
    for (int i = 0; i < 8; ++i) {
        s += kChars[x % 36];
        x /= 36;
    }
    return s;
}

// The longest file name the folder takes; 255 bytes where the system cannot tell.
std::size_t NameMax(const std::string& dir)
{
    const long n = ::pathconf(dir.c_str(), _PC_NAME_MAX);
    return n > 0 ? static_cast<std::size_t>(n) : 255;
}

}  // namespace

std::string TemporaryNameFor(const std::string& target)
{
    const std::size_t slash = target.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    std::string base = slash == std::string::npos ? target : target.substr(slash + 1);
    const std::string suffix = ".tmp-" + UniqueSuffix();
    // A file whose name fills the folder's limit is still saved: the temporary name takes a
    // shorter part of it, cut before a whole character, and stays in the same folder so that
    // the rename stays one step.
    const std::size_t max = NameMax(dir.empty() ? std::string(".") : dir);
    if (base.size() + suffix.size() > max) {
        std::size_t keep = max > suffix.size() ? max - suffix.size() : 0;
        while (keep > 0 && (static_cast<unsigned char>(base[keep]) & 0xC0) == 0x80) --keep;
        base.resize(keep);
    }
    return dir + base + suffix;
}

void SetFileFaultHook(FileFaultHook hook)
{
    gHook.store(hook);
}

FileFault::FileFault(FileStep step, int nth, int error)
{
    std::lock_guard<std::mutex> lock(gPlanMutex);
    gPlan = FaultPlan{true, step, nth, error, 0, false};
}

FileFault::~FileFault()
{
    std::lock_guard<std::mutex> lock(gPlanMutex);
    gPlan = FaultPlan{};
}

bool FileFault::Fired() const
{
    std::lock_guard<std::mutex> lock(gPlanMutex);
    return gPlan.fired;
}

std::string ResolveWriteTarget(const std::string& path)
{
    std::string target = path;
    // A loop of links ends after as many hops as the system itself follows.
    for (int hops = 0; hops < 40; ++hops) {
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n <= 0) break;
        std::string next(buf, static_cast<std::size_t>(n));
        if (next.front() != '/') {
            const std::size_t slash = target.rfind('/');
            if (slash != std::string::npos) next = target.substr(0, slash + 1) + next;
        }
        target = next;
    }
    return target;
}

// ---------------------------------------------------------------- AtomicFile

AtomicFile::AtomicFile(const std::string& path, ReplaceOptions options)
    : target_(options.followLink ? ResolveWriteTarget(path) : path), options_(std::move(options))
{
}

AtomicFile::~AtomicFile()
{
    Discard();
}

bool AtomicFile::Fail(FileStep step, int error)
{
    result_.step = step;
    result_.error = error ? error : EIO;
    Discard();
    return false;
}

void AtomicFile::Discard()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    if (!temp_.empty() && !committed_) ::unlink(temp_.c_str());
    temp_.clear();
}

bool AtomicFile::Open()
{
    if (fd_ >= 0 || finished_ || committed_) return Fail(FileStep::Open, EINVAL);
    struct stat st {};
    const bool exists = ::lstat(target_.c_str(), &st) == 0;
    if (exists) {
        if (options_.createOnly) return Fail(FileStep::Open, EEXIST);
        if (S_ISDIR(st.st_mode)) return Fail(FileStep::Open, EISDIR);
        // A pipe or a device under a document's name is never replaced by a file.
        if (!S_ISREG(st.st_mode) && !(S_ISLNK(st.st_mode) && !options_.followLink)) return Fail(FileStep::Open, EINVAL);
    } else if (errno != ENOENT) {
        return Fail(FileStep::Open, errno);
    }
    // A replaced file keeps its permission bits exactly; a new one is made as any new file,
    // the umask applied.
    int mode = options_.newMode >= 0 ? options_.newMode : 0644;
    bool exactMode = false;
    if (options_.forceMode >= 0) {
        mode = options_.forceMode;
        exactMode = true;
    } else if (exists && S_ISREG(st.st_mode)) {
        mode = static_cast<int>(st.st_mode & 07777);
        exactMode = true;
    }

    if (const int e = InjectedFault(FileStep::Open)) return Fail(FileStep::Open, e);
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    std::string name;
    if (!options_.companion.empty()) {
        name = options_.companion.find('/') == std::string::npos ? DirectoryOf(target_) + "/" + options_.companion
                                                                 : options_.companion;
        // The companion is ours by name: a leftover of an earlier run, or a link planted there,
        // goes first, and the new one is made without following anything.
        struct stat cs {};
        if (::lstat(name.c_str(), &cs) == 0) {
            if (S_ISDIR(cs.st_mode)) return Fail(FileStep::Open, EISDIR);
            ::unlink(name.c_str());
        }
        fd_ = ::open(name.c_str(), flags, static_cast<mode_t>(mode));
    } else {
        for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
            name = TemporaryNameFor(target_);
            fd_ = ::open(name.c_str(), flags, static_cast<mode_t>(mode));
            if (fd_ < 0 && errno != EEXIST) break;
        }
    }
    if (fd_ < 0) return Fail(FileStep::Open, errno);
    temp_ = name;
    if (exactMode && ::fchmod(fd_, static_cast<mode_t>(mode)) != 0) return Fail(FileStep::Open, errno);
    return true;
}

bool AtomicFile::Write(const void* data, std::size_t size)
{
    if (fd_ < 0 || finished_) return Fail(FileStep::Write, EBADF);
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        if (const int e = InjectedFault(FileStep::Write)) return Fail(FileStep::Write, e);
        std::size_t block = size < kBlock ? size : kBlock;
        while (block > 0) {
            const ssize_t n = ::write(fd_, p, block);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) return Fail(FileStep::Write, n < 0 ? errno : EIO);
            p += n;
            block -= static_cast<std::size_t>(n);
            size -= static_cast<std::size_t>(n);
        }
    }
    return true;
}

bool AtomicFile::Finish()
{
    if (finished_) return true;
    if (fd_ < 0) return Fail(FileStep::Sync, EBADF);
    if (options_.times && ::futimens(fd_, options_.times) != 0) return Fail(FileStep::Sync, errno);
    if (const int e = InjectedFault(FileStep::Sync)) return Fail(FileStep::Sync, e);
    if (::fsync(fd_) != 0) return Fail(FileStep::Sync, errno);
    const int e = InjectedFault(FileStep::Close);
    const int rc = ::close(fd_);
    const int closeErr = errno;
    fd_ = -1;
    if (e) return Fail(FileStep::Close, e);
    if (rc != 0) return Fail(FileStep::Close, closeErr);
    finished_ = true;
    return true;
}

bool AtomicFile::Commit()
{
    if (!Finish()) return false;
    if (temp_.empty()) return Fail(FileStep::Rename, EBADF);
    if (const int e = InjectedFault(FileStep::Rename)) return Fail(FileStep::Rename, e);
    if (options_.createOnly) {
        // A file that appeared meanwhile under the target's name is never replaced.
        if (::link(temp_.c_str(), target_.c_str()) != 0) return Fail(FileStep::Rename, errno);
        ::unlink(temp_.c_str());
    } else if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        return Fail(FileStep::Rename, errno);
    }
    committed_ = true;
    temp_.clear();
    SyncDirectory(target_);
    return true;
}

FileResult ReplaceFile(const std::string& path, std::string_view content, const ReplaceOptions& options)
{
    AtomicFile file(path, options);
    if (file.Open() && file.Write(content)) file.Commit();
    return file.Result();
}

// ---------------------------------------------------------------- FileAppend

FileAppend::FileAppend(const std::string& path, int newMode) : path_(ResolveWriteTarget(path)), newMode_(newMode) {}

FileAppend::~FileAppend()
{
    if (fd_ >= 0) {
        Rollback();
        ::close(fd_);
    }
}

bool FileAppend::Fail(FileStep step, int error)
{
    result_.step = step;
    result_.error = error ? error : EIO;
    Rollback();
    return false;
}

bool FileAppend::Open()
{
    if (fd_ >= 0) return true;
    if (const int e = InjectedFault(FileStep::Open)) {
        result_ = {FileStep::Open, e};
        return false;
    }
    fd_ = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, newMode_);
    if (fd_ < 0) {
        result_ = {FileStep::Open, errno};
        return false;
    }
    struct stat st {};
    if (::fstat(fd_, &st) != 0 || !S_ISREG(st.st_mode)) {
        result_ = {FileStep::Open, EINVAL};
        ::close(fd_);
        fd_ = -1;
        return false;
    }
    oldLength_ = st.st_size;
    return true;
}

bool FileAppend::ReadAt(off_t at, void* to, std::size_t size) const
{
    if (fd_ < 0 || at < 0 || at > oldLength_ || static_cast<std::size_t>(oldLength_ - at) < size) return false;
    char* p = static_cast<char*>(to);
    while (size > 0) {
        const ssize_t n = ::pread(fd_, p, size, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
        at += n;
    }
    return true;
}

namespace {
int WriteAllAt(int fd, const char* p, std::size_t size, off_t at)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, p, size, at);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return n < 0 ? errno : EIO;
        p += n;
        size -= static_cast<std::size_t>(n);
        at += n;
    }
    return 0;
}
}  // namespace

bool FileAppend::Append(std::string_view data)
{
    if (fd_ < 0) return Fail(FileStep::Write, EBADF);
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return Fail(FileStep::Write, errno);
    off_t at = st.st_size;
    for (std::size_t done = 0; done < data.size();) {
        if (const int e = InjectedFault(FileStep::Write)) return Fail(FileStep::Write, e);
        const std::size_t block = data.size() - done < kBlock ? data.size() - done : kBlock;
        if (const int e = WriteAllAt(fd_, data.data() + done, block, at)) return Fail(FileStep::Write, e);
        done += block;
        at += static_cast<off_t>(block);
    }
    if (const int e = InjectedFault(FileStep::Sync)) return Fail(FileStep::Sync, e);
    if (::fsync(fd_) != 0) return Fail(FileStep::Sync, errno);
    return true;
}

bool FileAppend::Patch(off_t at, std::string_view data)
{
    Saved old{at, std::string(data.size(), '\0')};
    if (!ReadAt(at, old.bytes.data(), old.bytes.size())) return Fail(FileStep::Write, EINVAL);
    saved_.push_back(std::move(old));
    if (const int e = InjectedFault(FileStep::Write)) return Fail(FileStep::Write, e);
    if (const int e = WriteAllAt(fd_, data.data(), data.size(), at)) return Fail(FileStep::Write, e);
    if (const int e = InjectedFault(FileStep::Sync)) return Fail(FileStep::Sync, e);
    if (::fsync(fd_) != 0) return Fail(FileStep::Sync, errno);
    return true;
}

bool FileAppend::Commit()
{
    if (fd_ < 0) return Fail(FileStep::Close, EBADF);
    const int e = InjectedFault(FileStep::Close);
    if (e) return Fail(FileStep::Close, e);
    const int rc = ::close(fd_);
    const int closeErr = errno;
    fd_ = -1;
    if (rc == 0) {
        saved_.clear();
        return true;
    }
    // What a failed close left on disk is unknown: open again to cut back to the old length.
    result_ = {FileStep::Close, closeErr};
    fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    if (fd_ >= 0) {
        Rollback();
        ::close(fd_);
        fd_ = -1;
    }
    return false;
}

bool FileAppend::Rollback()
{
    if (fd_ < 0) return false;
    bool ok = true;
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it)
        if (WriteAllAt(fd_, it->bytes.data(), it->bytes.size(), it->at) != 0) ok = false;
    saved_.clear();
    if (InjectedFault(FileStep::Truncate) != 0 || ::ftruncate(fd_, oldLength_) != 0) ok = false;
    if (::fsync(fd_) != 0) ok = false;
    return ok;
}

// ---------------------------------------------------------------- reading and locking

int OpenForReading(const std::string& path)
{
    // Asked by name first, so that a device is never opened; asked again of what was opened,
    // in case the name was given to something else in between.
    struct stat named {};
    if (::stat(path.c_str(), &named) != 0) return -1;
    auto refuse = [](const struct stat& st) {
        errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
        return -1;
    };
    if (!S_ISREG(named.st_mode)) return refuse(named);
    int fd;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return -1;
    struct stat opened {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        return refuse(opened);
    }
    return fd;
}

bool ReadWholeFile(const std::string& path, std::string& content, bool* exists)
{
    content.clear();
    const int fd = OpenForReading(path);
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

std::string FilePathIdentity(const std::string& path)
{
    if (path.empty()) return {};
    namespace fs = std::filesystem;
    std::error_code ec;
    // A link at the name itself may lead to a file not made yet; its target is the name.
    fs::path p = ResolveWriteTarget(path);
    if (p.is_relative()) {
        const fs::path here = fs::current_path(ec);
        if (ec) return fs::path(path).lexically_normal().string();
        p = here / p;
    }
    fs::path whole = fs::weakly_canonical(p, ec);
    if (ec) whole = p.lexically_normal();
    return whole.string();
}

bool SameFile(const std::string& a, const std::string& b)
{
    if (a.empty() || b.empty()) return false;
    struct stat sa {}, sb {};
    if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0) return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
    return FilePathIdentity(a) == FilePathIdentity(b);
}

FileLock::FileLock(const std::string& path)
{
    // Writers reaching one file through different links share one lock.
    const std::string lockPath = ResolveWriteTarget(path) + ".lock";
    fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
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

// ---------------------------------------------------------------- FileHold

namespace {
bool SameInode(int fd, const std::string& path)
{
    struct stat held {}, named {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}
}  // namespace

FileHold::State FileHold::Hold(const std::string& path, int waitMs)
{
    Release();
    path_ = path;
    error_ = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs > 0 ? waitMs : 0);
    for (;;) {
        // Asked by name first, so that a device under the name is never opened.
        struct stat named {};
        if (::stat(path.c_str(), &named) == 0 && !S_ISREG(named.st_mode)) {
            error_ = S_ISDIR(named.st_mode) ? EISDIR : EINVAL;
            return Failed;
        }
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            error_ = errno;
            return error_ == ENOENT ? Missing : Failed;
        }
        struct stat st {};
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            error_ = EINVAL;
            return Failed;
        }
        int rc;
        do {
            rc = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc == 0) {
            // The file may have been replaced between the open and the lock: then the name now
            // leads to another file, which is the one to hold.
            if (SameInode(fd, path)) {
                fd_ = fd;
                return Held;
            }
            ::close(fd);
            continue;
        }
        const int e = errno;
        ::close(fd);
        if (e != EWOULDBLOCK) {
            error_ = e;
            return Failed;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = EWOULDBLOCK;
            return Busy;
        }
        // Holders keep the lock only for the moment of a change.
        ::usleep(10000);
    }
}

FileHold::State FileHold::HoldCreating(const std::string& path, int waitMs, bool& created)
{
    created = false;
    const int fd = ::open(ResolveWriteTarget(path).c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd >= 0) {
        ::close(fd);
        created = true;
    } else if (errno != EEXIST) {
        Release();
        path_ = path;
        error_ = errno;
        return Failed;
    }
    return Hold(path, waitMs);
}

void FileHold::RemoveHeld()
{
    if (Current()) ::unlink(ResolveWriteTarget(path_).c_str());
    Release();
}

bool FileHold::Current() const
{
    return fd_ >= 0 && SameInode(fd_, path_);
}

bool FileHold::Read(std::string& content) const
{
    content.clear();
    if (fd_ < 0) return false;
    char buf[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd_, buf, sizeof buf, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        content.append(buf, static_cast<std::size_t>(n));
        at += n;
    }
}

FileResult FileHold::Replace(std::string_view content, ReplaceOptions options)
{
    if (fd_ < 0) return {FileStep::Open, EBADF};
    AtomicFile file(path_, std::move(options));
    if (!file.Open() || !file.Write(content) || !file.Finish()) return file.Result();
    // The new file is locked before it takes the name, so the hold passes to it without a gap.
    const int next = ::open(file.TempPath().c_str(), O_RDWR | O_NOFOLLOW | O_CLOEXEC);
    if (next < 0) return {FileStep::Open, errno};
    if (::flock(next, LOCK_EX | LOCK_NB) != 0 || !file.Commit()) {
        const FileResult r = file.Result() ? FileResult{FileStep::Open, errno ? errno : EIO} : file.Result();
        ::close(next);
        return r;
    }
    ::close(fd_);
    fd_ = next;
    return {};
}

void FileHold::Release()
{
    if (fd_ >= 0) ::close(fd_);  // closing lets the lock go
    fd_ = -1;
}

}  // namespace vyn
