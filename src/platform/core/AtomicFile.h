#pragma once
#include <string>

namespace vyn {

// Replaces a whole file so that a reader, or the next start after a crash, finds either the
// old content or the new one: the text goes to "<path>.tmp", is flushed to disk and then
// renamed over the old file. Callers that may race with another process hold a FileLock.
bool WriteFileAtomic(const std::string& path, const std::string& content);

// Reads a whole file. False when it cannot be read; exists tells a missing file apart.
bool ReadWholeFile(const std::string& path, std::string& content, bool* exists = nullptr);

// Points where a test may stop a write: returning false fails the write there, as a full
// disk would; a test may also end the process there to play a crash.
enum class AtomicWriteStage { TempOpened, PartWritten, BeforeRename };
using AtomicWriteHook = bool (*)(AtomicWriteStage stage);
void SetAtomicWriteHook(AtomicWriteHook hook);

// An exclusive advisory lock on "<path>.lock" for a read-modify-write of path, held until
// destruction. The kernel drops it when the process dies, so no stale lock survives.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

}  // namespace vyn
