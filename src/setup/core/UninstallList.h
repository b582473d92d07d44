#pragma once
// The uninstall records: everything an install creates is written down as a fixed-size record
// and all records are saved at the end into one of the copied files; the uninstall reads them
// back and undoes them from the last to the first.
//
// Record file: the bare sequence of 304-byte records, no header, at most 200; integers
// little-endian. Offsets: 0 kind, 4 code (file: its copy's error; key: the root), 8 the path
// (260 bytes, zero-terminated, zero-padded), 268 creation time, 276 last-write time (both
// 100-ns ticks since 1601), 284 size (low 32 bits), 288 error, 292 zero.
#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

#include "platform/core/Registry.h"

namespace vyn {

class SetupLog;

inline constexpr std::uint32_t kRecCopiedFile = 1;
inline constexpr std::uint32_t kRecCreatedFolder = 2;
inline constexpr std::uint32_t kRecShortcut = 4;
inline constexpr std::uint32_t kRecRegistryKey = 8;
inline constexpr std::uint32_t kRecKeyOnlyWhenEmpty = 0x10000;

struct UninstallRecord {
    std::uint32_t kind = 0;
    std::uint32_t code = 0;
    std::string path;
    std::uint64_t creationTime = 0;
    std::uint64_t lastWriteTime = 0;
    std::uint32_t size = 0;
    std::uint32_t error = 0;

    bool operator==(const UninstallRecord&) const = default;
};

// A time as a record keeps it: 100-ns ticks since 1601.
std::uint64_t FileTimeOf(const timespec& ts);
// A file's times and size as a record keeps them; false (errno set) when it cannot be read.
bool ReadFileStamp(const std::string& path, std::uint64_t& creation, std::uint64_t& lastWrite, std::uint32_t& size);

class UninstallList {
public:
    static constexpr int kMaxRecords = 200;
    static constexpr std::size_t kRecordSize = 304;
    static constexpr std::size_t kPathSize = 260;

    explicit UninstallList(SetupLog* log = nullptr) : log_(log) {}
    void SetLog(SetupLog* log) { log_ = log; }

    // Each returns false and appends nothing when the list is full or the path does not fit.
    bool RecordCopiedFile(const std::string& path, std::uint32_t copyError);
    bool RecordCreatedFolder(const std::string& path, std::uint32_t error);
    bool RecordShortcut(const std::string& path, std::uint32_t error);
    bool RecordRegistryKey(RegRoot root, const std::string& subKey, bool onlyWhenEmpty);
    bool RecordRegistryKeyByName(const std::string& rootName, const std::string& subKey, bool onlyWhenEmpty);
    bool Append(const UninstallRecord& r);

    void MarkRecordCount() { mark_ = static_cast<int>(records_.size()); }
    int Mark() const { return mark_; }
    int RecordCount() const { return static_cast<int>(records_.size()); }
    const std::vector<UninstallRecord>& Records() const { return records_; }
    void Clear();

    const UninstallRecord* FindRecordByPath(const std::string& path) const;
    // The full path of the first copied file (below the mark) of that name; empty when none.
    std::string FindCopiedFile(const std::string& name) const;

    // Puts the records of an earlier installation in front of these: a record of the same
    // kind and path is kept once, in the earlier place, with the newer stamp; a folder counts
    // as made when either installation made it.
    void TakeEarlier(const std::vector<UninstallRecord>& earlier);

    std::string Serialize() const;
    // Reads whole records from the bytes (at most kMaxRecords; a trailing part is ignored).
    void Deserialize(const std::string& bytes);
    // 0 or an errno value. The file is replaced whole, never left half-written.
    int Save(const std::string& path) const;
    // 0 or an errno value (with no record held); refreshes the record file's own record.
    int Load(const std::string& path);

    // The backward walk.
    const UninstallRecord* LastRecord();
    const UninstallRecord* PrevRecord();

private:
    SetupLog* log_;
    std::vector<UninstallRecord> records_;
    int mark_ = 0;
    int walk_ = -1;
};

}  // namespace vyn
