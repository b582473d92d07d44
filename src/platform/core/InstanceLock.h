#pragma once
// The single-instance lock: an exclusive lock on a file that the kernel drops when the
// process ends, however it ends, so a crashed instance never blocks the next start.
#include <string>

namespace vyn {

class TInstanceLock {
public:
    // Tries once, without waiting; the folder is made when needed.
    explicit TInstanceLock(const std::string& path);
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // True when this process holds the lock (it is the first instance).
    bool Acquired() const { return fd_ >= 0; }
    // True when another process holds it; false also when the file could not be opened, in
    // which case the program runs without the single-instance guard rather than not at all.
    bool HeldElsewhere() const { return heldElsewhere_; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
    int fd_ = -1;
    bool heldElsewhere_ = false;
};

// The lock file of the user's instance: "<configuration folder>/vyn.lock".
std::string DefaultInstanceLockPath();

}  // namespace vyn
