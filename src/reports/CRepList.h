#pragma once
// The report library "VYN.MRW": a 64-byte header (magic "QRPM"), entries of a 64-byte entry
// header (size, deleted flag) and a report stream, and a terminating zero entry header.
// Every change is written to the companion "VYN.MR~" beside the library in full and renamed
// over it through the file service, so a failed write at any point leaves the former library
// whole.
#include <cstdint>
#include <string>
#include <vector>

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
    int Append(const RPReport& report);
    int Replace(const RPReport& report, int index);
    int Consolidate();
    // Reads the report of an entry of the open list: 0 done, 1 refused.
    int ReadReport(int index, RPReport& report) const;
    const std::string& GetFileName() const { return path_; }

    int status = 0;
    int deletedCount = 0;
    int pendingCount = 0;
    int changedCount = 0;
    int skippedCount = 0;

private:
    bool ReadFileBytes(std::vector<std::uint8_t>& bytes) const;
    // create: the library is new and must not replace any file of its name.
    bool Rewrite(const std::vector<std::uint8_t>& bytes, bool create = false);
    int AppendBytes(std::vector<std::uint8_t>& bytes, const RPReport& report, std::uint32_t& oldEnd) const;

    std::string path_;
    int fd_ = -1;
    std::vector<SRepDescr> descrs_;
};

}  // namespace vyn
