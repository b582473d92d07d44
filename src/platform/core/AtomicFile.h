#pragma once
// The one way this program changes a file on disk. Every writer goes through here, so that a
// full disk, a crash or a planted link is handled the same way for plates, libraries,
// settings, reports, exports and the installer, and a fault mended here is mended for all.
//
// - A whole-file rewrite goes to a temporary file beside the target, is flushed to disk and
//   then renamed over the target: a reader, or the next start after a crash, finds either the
//   old content or the new one. On any failure the old file stays whole and the temporary file
//   is removed.
// - An append remembers the old length and cuts the file back to it on any failure.
// - A path that is a symbolic link is written through: the link stays a link and the file it
//   names gets the content. A temporary or companion file is never opened through a link (it
//   is made afresh, exclusively, without following one).
// - A file that is replaced keeps its permission bits.
#include <cerrno>
#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>
#include <sys/types.h>

namespace vyn {

// The steps of a write at which a disk can fail; the failed step tells a writer which of its
// messages to show.
enum class FileStep {
    None,      // nothing failed
    Open,      // making the temporary file, or opening the file to append to
    Write,     // writing content (each block of it is a step of its own)
    Sync,      // flushing the content to disk
    Close,     // closing the written file
    Rename,    // putting the temporary file in place of the target
    Truncate,  // cutting an append back to the old length
};

struct FileResult {
    FileStep step = FileStep::None;
    int error = 0;  // errno of the failed step
    explicit operator bool() const { return step == FileStep::None; }
};

// --- the fault seam for tests ---
// Called before every step of every write in the process; answering an errno makes that step
// fail with it (0: go on). A test may also end the process there to play a crash.
using FileFaultHook = int (*)(FileStep step);
void SetFileFaultHook(FileFaultHook hook);

// Makes the nth step of a kind (counted from 1, from construction on) fail with error, as a
// full disk would, until destruction; FileStep::None counts every step. Fired() tells whether
// the write got that far, so a test can fail each step in turn until a write gets through.
class FileFault {
public:
    FileFault(FileStep step, int nth, int error = EIO);
    ~FileFault();
    FileFault(const FileFault&) = delete;
    FileFault& operator=(const FileFault&) = delete;
    bool Fired() const;
};

// --- whole-file rewrite ---
struct ReplaceOptions {
    // The temporary file under a fixed name, for formats whose companion file has a name of its
    // own: a file name is placed beside the target, a path is taken as it stands (it must lie
    // on the target's file system); empty: a fresh unique name beside the target. Never for a
    // file that two programs may rewrite at once (the libraries): both would write into one
    // temporary file.
    std::string companion;
    // Only when no file stands at the target yet: an existing one is never replaced (EEXIST).
    bool createOnly = false;
    // Write through a link at the target (the rule for every document); false replaces a link
    // itself, for the installer, which must never write outside its own folders.
    bool followLink = true;
    // The permission bits of a new file, the umask applied (a replaced file keeps its own).
    int newMode = 0644;
    // Permission bits and modification time the new file takes whatever stood there (the
    // installer keeps its source file's); -1 / nullptr: not used.
    int forceMode = -1;
    const struct timespec* times = nullptr;  // access and modification time, as for futimens
};

// A fresh name for a temporary file beside target: target's name with a unique suffix, the name
// shortened when the suffix would make it longer than its folder allows.
std::string TemporaryNameFor(const std::string& target);

// The file a write to path lands on: a link is followed (relative links from the link's own
// folder) to the file it names, which need not exist yet.
std::string ResolveWriteTarget(const std::string& path);

// A rewrite in steps, for writers that produce their content piece by piece or that place
// several files at once. Destroying it before Commit removes the temporary file.
class AtomicFile {
public:
    explicit AtomicFile(const std::string& path, ReplaceOptions options = {});
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool Open();
    bool Write(const void* data, std::size_t size);
    bool Write(std::string_view data) { return Write(data.data(), data.size()); }
    // Flushes and closes the temporary file; the new content then waits under its name.
    bool Finish();
    // Finishes if needed and puts the new content in place of the target.
    bool Commit();
    // Removes the temporary file; the target is untouched.
    void Discard();

    const FileResult& Result() const { return result_; }
    const std::string& Target() const { return target_; }
    const std::string& TempPath() const { return temp_; }

private:
    bool Fail(FileStep step, int error);

    std::string target_;
    std::string temp_;
    ReplaceOptions options_;
    int fd_ = -1;
    bool finished_ = false;
    bool committed_ = false;
    FileResult result_;
};

// Replaces the whole file with content in one step.
FileResult ReplaceFile(const std::string& path, std::string_view content, const ReplaceOptions& options = {});

// The same, for writers that only need to know whether it worked.
inline bool WriteFileAtomic(const std::string& path, std::string_view content)
{
    return static_cast<bool>(ReplaceFile(path, content));
}

// --- append with cut-back ---
// Writes at the end of a file (created when missing, written through a link) and may change
// bytes it already holds; unless Commit succeeds, destruction puts those bytes back and cuts
// the file to its old length, so a failed append leaves the file as it was.
class FileAppend {
public:
    explicit FileAppend(const std::string& path, int newMode = 0644);
    ~FileAppend();
    FileAppend(const FileAppend&) = delete;
    FileAppend& operator=(const FileAppend&) = delete;

    bool Open();
    off_t OldLength() const { return oldLength_; }
    // Reads bytes the file held before; false when they are not all there.
    bool ReadAt(off_t at, void* to, std::size_t size) const;
    // Appends and flushes to disk.
    bool Append(std::string_view data);
    // Overwrites bytes of the old content (they are put back on failure) and flushes.
    bool Patch(off_t at, std::string_view data);
    // Closes the file with its new content.
    bool Commit();
    // Puts the old content back now; false when the cut-back itself failed.
    bool Rollback();

    const FileResult& Result() const { return result_; }

private:
    bool Fail(FileStep step, int error);

    std::string path_;
    int newMode_;
    int fd_ = -1;
    off_t oldLength_ = 0;
    struct Saved {
        off_t at;
        std::string bytes;
    };
    std::vector<Saved> saved_;
    FileResult result_;
};

// Opens a file for reading without ever waiting: only a regular file is opened (a pipe, a
// device or a socket is refused with EINVAL, a folder with EISDIR, and a device is not even
// opened), and a read that would wait, as one of a kernel message file under /proc does,
// fails with EAGAIN instead. The descriptor, or -1 with errno set.
int OpenForReading(const std::string& path);

// Reads a whole file (opened as OpenForReading opens it). False when it cannot be read;
// exists tells a missing file apart.
bool ReadWholeFile(const std::string& path, std::string& content, bool* exists = nullptr);

// The one spelling of the file a name reaches: made absolute against the current folder, links
// followed and "." and ".." taken as the system takes them (".." after a link leads to the
// parent of the link's target, not back to the link's folder). The part of the name that does
// not exist yet is taken as written, its "." and ".." resolved in the text, so a file about to
// be made has its one spelling too.
std::string FilePathIdentity(const std::string& path);

// Whether two names reach one file: the same device and inode when both exist, else the same
// spelling as FilePathIdentity gives it. Names are compared case-sensitively, as the file system
// compares them; a folder that ignores case is still caught by the inode.
bool SameFile(const std::string& a, const std::string& b);

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

// The lock for files that are changed by putting a new file in their place (the method and
// report libraries, which several workstations may share): an exclusive lock on the file that
// stands under the name at the moment the lock is granted. A writer that waited while another
// replaced the file holds the new file, never the one that was replaced; Replace puts new
// content in place and goes on holding it, so no other writer slips in between. Every writer
// of such a file reads and changes it only while holding it. The kernel drops the lock when the
// process dies.
class FileHold {
public:
    enum State { Held, Missing, Busy, Failed };
    FileHold() = default;
    ~FileHold() { Release(); }
    FileHold(const FileHold&) = delete;
    FileHold& operator=(const FileHold&) = delete;

    // How long a writer waits for another writer's change to end.
    static constexpr int kChangeWaitMs = 5000;

    // Opens the file for reading and writing and waits at most waitMs for its lock (0: not at
    // all). Missing when no file stands there; Busy when another holder kept it; Failed with
    // Error() otherwise.
    State Hold(const std::string& path, int waitMs);
    // The same, first making an empty file where none stands (the file a link names, for a
    // link); created tells whether this call made it. One another writer made meanwhile is held
    // as it is.
    State HoldCreating(const std::string& path, int waitMs, bool& created);
    // Removes the held file from its name, while the name still leads to it; the hold ends.
    void RemoveHeld();
    bool IsHeld() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    int Error() const { return error_; }
    // Whether the held file still stands under the name: false when a writer that does not
    // take the lock put another file there.
    bool Current() const;
    // The whole held file.
    bool Read(std::string& content) const;
    // Puts content in place of the held file through a temporary file and holds the new file.
    FileResult Replace(std::string_view content, ReplaceOptions options = {});
    void Release();

private:
    std::string path_;
    int fd_ = -1;
    int error_ = 0;
};

}  // namespace vyn
