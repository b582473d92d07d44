#pragma once
// The report library "VYN.MRW": a 64-byte header (magic "QRPM"), entries of a 64-byte entry
// header (size, deleted flag) and a report stream, and a terminating zero entry header.
// An open list holds the library's lock (other writers are refused until it is closed) and
// keeps the bytes it listed. Every change is made on the library as it stands on disk, only
// while that is still what was listed (otherwise the list is read again and the change is
// refused with kListChanged, marks and names kept on the reports still there), written to a
// temporary file of its own beside the library and renamed over it, the lock passing to the
// new file: a failed write at any point leaves the former library whole.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/core/AtomicFile.h"

namespace vyn {

class RPReport;

struct SRepDescr {
    int deleted = 0;
    int pendingToggle = 0;
    int changed = 0;
    std::string name;
    std::string description;
    std::uint32_t offset = 0;
    bool operator==(const SRepDescr& o) const { return offset == o.offset; }
};

inline constexpr int kLibraryHeaderSize = 64;
inline constexpr int kEntryHeaderSize = 64;
inline constexpr std::uint32_t kMaxLibraryEntries = 1024;
inline constexpr std::uint32_t kEntryDeleted = 0x80000000u;

// The library entry a report was read from: its place when it was read and its report stream
// as it stood there (the report's name and content), by which it is found again wherever a
// compaction has moved it.
struct RepLibraryEntry {
    std::uint32_t offset = 0;
    std::vector<std::uint8_t> stream;
};

enum CRepListStatus : int { lsOpen = 1, lsMissing = 0, lsFailed = -1, lsShared = -2, lsBadFile = -3 };

class CRepList {
public:
    // path: the library file.
    explicit CRepList(std::string path);
    ~CRepList();
    CRepList(const CRepList&) = delete;
    CRepList& operator=(const CRepList&) = delete;

    int Open(bool includeDeleted);
    void Close();
    int Count() const { return static_cast<int>(descrs_.size()); }
    const SRepDescr& GetDescr(int index) const;
    void ToggleMark(int index);
    bool SetStrings(int index, const std::string& name, const std::string& description);
    bool RevertEntry(int index);
    int Commit();
    // 0 done, kListFull when the list already holds its kMaxLibraryEntries entries (the file is
    // left as it was), -1 any other failure.
    static constexpr int kListFull = -2;
    // The library on disk is no longer what was listed: the list has been read again.
    static constexpr int kListChanged = -4;
    int Append(const RPReport& report);
    int Replace(const RPReport& report, int index);
    int Consolidate();
    // Reads the report of an entry of the open list: 0 done, 1 refused.
    int ReadReport(int index, RPReport& report) const;
    RepLibraryEntry EntryOf(int index) const;
    // The listed entry that holds the report of entry: the same report stream (name and
    // content) at the same place, else anywhere; -1 when it is no longer in the library.
    int FindEntry(const RepLibraryEntry& entry) const;
    const std::string& GetFileName() const { return path_; }

    int status = 0;
    int deletedCount = 0;
    int pendingCount = 0;
    int changedCount = 0;
    int skippedCount = 0;

private:
    // The library as listed is still what stands on disk; otherwise the list is read again with
    // the pending marks and names kept on the reports still there.
    bool Unchanged();
    void Reload();
    const std::uint8_t* StreamOf(const SRepDescr& d, std::size_t& size) const;
    // create: the library is new and must not replace any file of its name.
    bool Rewrite(const std::vector<std::uint8_t>& bytes, bool create = false);
    int AppendBytes(std::vector<std::uint8_t>& bytes, const RPReport& report, std::uint32_t& oldEnd) const;

    std::string path_;
    FileHold hold_;
    bool includeDeleted_ = false;
    std::vector<std::uint8_t> listed_;
    std::vector<SRepDescr> descrs_;
};

}  // namespace vyn
