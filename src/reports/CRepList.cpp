#include "reports/CRepList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/AtomicFile.h"
#include "reports/ByteIO.h"
#include "reports/RPReport.h"

namespace vyn {

namespace {

constexpr char kMagic[4] = {'Q', 'R', 'P', 'M'};

// A stream header whose version and texts a list accepts; name and description out.
bool ParseStreamHeader(const std::uint8_t* h, std::string& name, std::string& description)
{
    if (GetU32(h + 12) > 0x1FFFF || GetU16(h + 66) != 0 || GetU16(h + 146) != 0) return false;
    auto text = [](const std::uint8_t* p, std::size_t max) {
        std::size_t n = 0;
        while (n < max && p[n]) ++n;
        return std::string(reinterpret_cast<const char*>(p), n);
    };
    name = text(h + 24, 44);
    description = text(h + 72, 76);
    return true;
}

void PutHeaderText(std::uint8_t* block, std::uint32_t blockSize, const std::string& s, std::size_t max, std::size_t field)
{
    const std::size_t n = std::min(s.size(), max);
    std::memset(block + 4, 0, field);
    PutU16(block, blockSize);
    PutU16(block + 2, static_cast<std::uint32_t>(n));
    std::memcpy(block + 4, s.data(), n);
}

bool CheckHeader(const std::vector<std::uint8_t>& b)
{
    return b.size() >= kLibraryHeaderSize && std::memcmp(b.data(), kMagic, 4) == 0 && GetU32(b.data() + 4) <= 0x1FFFF &&
           GetU32(b.data() + 12) <= kMaxLibraryEntries;
}

std::vector<std::uint8_t> NewLibrary()
{
    std::vector<std::uint8_t> b(kLibraryHeaderSize + kEntryHeaderSize, 0);
    std::memcpy(b.data(), kMagic, 4);
    PutU32(b.data() + 4, 0x00010000);
    PutU32(b.data() + 8, kLibraryHeaderSize);
    PutU32(b.data() + 12, 0);
    PutU32(b.data() + 16, kLibraryHeaderSize);
    return b;
}

}  // namespace

CRepList::CRepList(std::string path) : path_(std::move(path)) { Close(); }

CRepList::~CRepList() { Close(); }

void CRepList::Close()
{
    hold_.Release();
    listed_.clear();
    descrs_.clear();
    status = deletedCount = pendingCount = changedCount = skippedCount = 0;
}

const SRepDescr& CRepList::GetDescr(int index) const
{
    static const SRepDescr empty;
    if (index < 0 || index >= Count()) return empty;
    return descrs_[static_cast<std::size_t>(index)];
}

int CRepList::Open(bool includeDeleted)
{
    Close();
    includeDeleted_ = includeDeleted;
    status = lsFailed;
    // Other writers are kept out while the list is open.
    switch (hold_.Hold(path_, 0)) {
    case FileHold::Held: break;
    case FileHold::Missing: status = lsMissing; return 0;
    case FileHold::Busy: status = lsShared; return -1;
    case FileHold::Failed: {
        const int e = hold_.Error();
        status = (e == EACCES || e == EPERM || e == EBUSY || e == ETXTBSY || e == EROFS) ? lsShared : lsFailed;
        return -1;
    }
    }
    std::string bytes;
    auto bad = [this]() {
        Close();
        status = lsBadFile;
        return -1;
    };
    if (!hold_.Read(bytes)) return bad();
    listed_.assign(bytes.begin(), bytes.end());
    const std::vector<std::uint8_t>& b = listed_;
    if (!CheckHeader(b)) return bad();
    const std::uint32_t count = GetU32(b.data() + 12);
    std::uint64_t pos = GetU32(b.data() + 8);
    for (std::uint32_t i = 0; i < count; ++i) {
        if (pos > b.size() || b.size() - pos < kEntryHeaderSize + kStreamHeaderSize) return bad();
        const std::uint8_t* e = b.data() + pos;
        const std::uint32_t size = GetU32(e);
        // An entry must hold its own header and its report's header: a shorter one would
        // never move the walk on, or would lend its name to the next entry's bytes.
        if (size < kEntryHeaderSize + kStreamHeaderSize || size > b.size() - pos) return bad();
        SRepDescr d;
        if (!ParseStreamHeader(e + kEntryHeaderSize, d.name, d.description)) return bad();
        d.deleted = (GetU32(e + 4) & kEntryDeleted) ? 1 : 0;
        d.offset = static_cast<std::uint32_t>(pos);
        if (d.deleted && !includeDeleted) {
            ++skippedCount;
        } else {
            if (d.deleted) ++deletedCount;
            descrs_.push_back(std::move(d));
        }
        pos += size;
    }
    status = lsOpen;
    return 0;
}

const std::uint8_t* CRepList::StreamOf(const SRepDescr& d, std::size_t& size) const
{
    // Open checked every listed entry's size against the bytes.
    const std::uint8_t* e = listed_.data() + d.offset;
    size = GetU32(e) - kEntryHeaderSize;
    return e + kEntryHeaderSize;
}

bool CRepList::Unchanged()
{
    std::string now;
    return hold_.IsHeld() && hold_.Current() && hold_.Read(now) && now.size() == listed_.size() &&
           std::memcmp(now.data(), listed_.data(), now.size()) == 0;
}

void CRepList::Reload()
{
    struct Kept {
        std::vector<std::uint8_t> stream;
        SRepDescr d;
    };
    std::vector<Kept> kept;
    for (const SRepDescr& d : descrs_) {
        if (!d.pendingToggle && !d.changed) continue;
        std::size_t size = 0;
        const std::uint8_t* p = StreamOf(d, size);
        kept.push_back({std::vector<std::uint8_t>(p, p + size), d});
    }
    // Another writer that replaced the library may still hold the new one for a moment.
    hold_.Release();
    const bool deleted = includeDeleted_;
    if (Open(deleted) != 0 && status == lsShared && hold_.Hold(path_, FileHold::kChangeWaitMs) == FileHold::Held) {
        hold_.Release();
        Open(deleted);
    }
    // A report is the same one only while its stream is: what the other writer changed or
    // replaced is another report now, and the user's marks do not go over to it.
    for (Kept& k : kept) {
        for (int i = 0; i < Count(); ++i) {
            const SRepDescr& d = descrs_[static_cast<std::size_t>(i)];
            std::size_t size = 0;
            const std::uint8_t* p = StreamOf(d, size);
            if (d.pendingToggle || d.changed || size != k.stream.size() || !std::equal(p, p + size, k.stream.begin()))
                continue;
            if (d.deleted != k.d.deleted) ToggleMark(i);
            if (k.d.changed) SetStrings(i, k.d.name, k.d.description);
            break;
        }
    }
}

RepLibraryEntry CRepList::EntryOf(int index) const
{
    if (index < 0 || index >= Count()) return {};
    const SRepDescr& d = descrs_[static_cast<std::size_t>(index)];
    std::size_t size = 0;
    const std::uint8_t* p = StreamOf(d, size);
    return {d.offset, std::vector<std::uint8_t>(p, p + size)};
}

int CRepList::FindEntry(const RepLibraryEntry& entry) const
{
    if (entry.stream.empty()) return -1;
    // Reports of one layout differ only in their names and comments, so a report renamed in the
    // list cannot be told from another one: only the same name and content make the same report.
    int found = -1;
    for (int i = 0; i < Count(); ++i) {
        std::size_t size = 0;
        const std::uint8_t* p = StreamOf(descrs_[static_cast<std::size_t>(i)], size);
        if (size != entry.stream.size() || !std::equal(p, p + size, entry.stream.begin())) continue;
        if (descrs_[static_cast<std::size_t>(i)].offset == entry.offset) return i;
        if (found < 0) found = i;
    }
    return found;
}

void CRepList::ToggleMark(int index)
{
    if (index < 0 || index >= Count()) return;
    SRepDescr& d = descrs_[static_cast<std::size_t>(index)];
    d.deleted ^= 1;
    d.pendingToggle ^= 1;
    deletedCount += d.deleted ? 1 : -1;
    pendingCount += d.pendingToggle ? 1 : -1;
}

bool CRepList::SetStrings(int index, const std::string& name, const std::string& description)
{
    if (index < 0 || index >= Count()) return false;
    SRepDescr& d = descrs_[static_cast<std::size_t>(index)];
    if (d.name == name && d.description == description) return false;
    d.name = name;
    d.description = description;
    if (!d.changed) {
        d.changed = 1;
        ++changedCount;
    }
    return true;
}

bool CRepList::RevertEntry(int index)
{
    if (index < 0 || index >= Count() || !hold_.IsHeld()) return false;
    SRepDescr& d = descrs_[static_cast<std::size_t>(index)];
    if (!d.changed) return false;
    // The name and comment as listed from the file.
    const std::uint8_t* h = listed_.data() + d.offset + kEntryHeaderSize;
    if (GetU32(h + 12) >= 0x20000) return false;
    std::string name, description;
    if (!ParseStreamHeader(h, name, description)) return false;
    d.name = name;
    d.description = description;
    d.changed = 0;
    --changedCount;
    return true;
}

bool CRepList::Rewrite(const std::vector<std::uint8_t>& bytes, bool create)
{
    const std::string_view content(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    if (!create) return static_cast<bool>(hold_.Replace(content));
    // A new library takes the name only while nothing stands there: a library that appeared
    // meanwhile, or one that could not be read, is never replaced by a one-entry library.
    ReplaceOptions options;
    options.createOnly = true;
    return static_cast<bool>(ReplaceFile(path_, content, options));
}

int CRepList::Commit()
{
    if (!hold_.IsHeld() || pendingCount + changedCount == 0) return 0;
    if (!Unchanged()) {
        Reload();
        return kListChanged;
    }
    std::vector<std::uint8_t> b = listed_;
    for (const SRepDescr& d : descrs_) {
        if (static_cast<std::size_t>(d.offset) + kEntryHeaderSize + kStreamHeaderSize > b.size()) return -1;
        std::uint8_t* e = b.data() + d.offset;
        if (d.pendingToggle) PutU32(e + 4, GetU32(e + 4) ^ kEntryDeleted);
        if (d.changed) {
            std::uint8_t* h = e + kEntryHeaderSize;
            PutHeaderText(h + 20, 48, d.name, kMaxNameLength, 44);
            PutHeaderText(h + 68, 80, d.description, kMaxDescriptionLength, 76);
        }
    }
    if (!Rewrite(b)) return -1;
    // The list goes on with the file that now stands under the library's name, still held.
    listed_ = std::move(b);
    for (SRepDescr& d : descrs_) {
        d.pendingToggle = 0;
        d.changed = 0;
    }
    pendingCount = changedCount = 0;
    return 1;
}

int CRepList::AppendBytes(std::vector<std::uint8_t>& b, const RPReport& report, std::uint32_t& oldEnd) const
{
    if (!CheckHeader(b)) return -1;
    // Guarded here: a library of more entries would no longer open.
    if (GetU32(b.data() + 12) >= kMaxLibraryEntries) return kListFull;
    oldEnd = GetU32(b.data() + 16);
    if (static_cast<std::uint64_t>(oldEnd) + kEntryHeaderSize > b.size()) return -1;
    const std::vector<std::uint8_t> stream = report.WriteStream();
    if (stream.empty()) return -1;
    b.resize(oldEnd + kEntryHeaderSize);
    b.insert(b.end(), stream.begin(), stream.end());
    b.insert(b.end(), kEntryHeaderSize, 0);
    PutU32(b.data() + oldEnd, static_cast<std::uint32_t>(kEntryHeaderSize + stream.size()));
    PutU32(b.data() + oldEnd + 4, 0);
    PutU32(b.data() + 16, static_cast<std::uint32_t>(oldEnd + kEntryHeaderSize + stream.size()));
    PutU32(b.data() + 12, GetU32(b.data() + 12) + 1);
    return 0;
}

int CRepList::Append(const RPReport& report)
{
    // Only a library this list holds open is added to. Without one a new library is made,
    // and only where no file stands: a library never opened, opened with an error (another
    // version, a damaged file) or held by another writer is left exactly as it is.
    const bool create = status != lsOpen;
    std::vector<std::uint8_t> b;
    if (create) {
        struct stat st {};
        if (::lstat(path_.c_str(), &st) == 0 || errno != ENOENT) {
            Close();
            status = lsFailed;
            return -1;
        }
        b = NewLibrary();
    } else {
        // Nothing the user chose depends on the list here: a library another writer changed
        // meanwhile is added to as it is now.
        if (!Unchanged()) Reload();
        if (status == lsOpen) b = listed_;
    }
    std::uint32_t oldEnd = 0;
    const int appended = b.empty() ? -1 : AppendBytes(b, report, oldEnd);
    if (appended == kListFull) {
        Close();
        return kListFull;
    }
    if (appended != 0 || !Rewrite(b, create)) {
        Close();
        status = lsFailed;
        return -1;
    }
    Close();
    return 0;
}

int CRepList::Replace(const RPReport& report, int index)
{
    if (status != lsOpen || index < 0 || index >= Count()) return -1;
    // The entry chosen is the one listed: it is replaced only while it still stands there.
    if (!Unchanged()) {
        Reload();
        return kListChanged;
    }
    std::vector<std::uint8_t> b = listed_;
    std::uint32_t oldEnd = 0;
    const std::uint32_t entry = descrs_[static_cast<std::size_t>(index)].offset;
    // A replaced report is written anew behind the others: it needs a free entry too.
    const int appended = AppendBytes(b, report, oldEnd);
    if (appended == kListFull) {
        Close();
        return kListFull;
    }
    if (appended != 0 || entry + 8u > b.size()) {
        Close();
        status = lsFailed;
        return -1;
    }
    PutU32(b.data() + entry + 4, GetU32(b.data() + entry + 4) | kEntryDeleted);
    const bool ok = Rewrite(b);
    Close();
    if (!ok) status = lsFailed;
    return ok ? 0 : -1;
}

int CRepList::Consolidate()
{
    if (!hold_.IsHeld()) return -1;
    // What is dropped for good is what the user was shown as deleted.
    if (!Unchanged()) {
        Reload();
        return kListChanged;
    }
    const std::vector<std::uint8_t> src = listed_;
    if (!CheckHeader(src)) {
        Close();
        return -1;
    }
    const std::uint32_t first = GetU32(src.data() + 8);
    if (first < kLibraryHeaderSize || first > src.size()) {
        Close();
        return -1;
    }
    std::vector<std::uint8_t> out(src.begin(), src.begin() + first);
    std::uint64_t pos = first;
    std::uint32_t live = 0;
    std::uint32_t walked = 0;
    const std::uint32_t listed = GetU32(src.data() + 12);
    for (;;) {
        if (pos > src.size() || src.size() - pos < kEntryHeaderSize) {
            Close();
            return -1;
        }
        const std::uint8_t* e = src.data() + pos;
        const std::uint32_t size = GetU32(e);
        if (size == 0) {
            // Entries past the header's count were never listed: a library whose header and
            // entries disagree is damaged, and consolidating it would bring back what nobody saw.
            if (walked != listed) {
                Close();
                return -1;
            }
            PutU32(out.data() + 16, static_cast<std::uint32_t>(out.size()));
            PutU32(out.data() + 12, live);
            out.insert(out.end(), e, e + kEntryHeaderSize);
            break;
        }
        if (size < kEntryHeaderSize + kStreamHeaderSize || size > src.size() - pos) {
            Close();
            return -1;
        }
        if (!(GetU32(e + 4) & kEntryDeleted)) {
            out.insert(out.end(), e, e + size);
            ++live;
        }
        ++walked;
        pos += size;
    }
    const bool ok = Rewrite(out);
    Close();
    return ok ? 0 : -1;
}

int CRepList::ReadReport(int index, RPReport& report) const
{
    if (index < 0 || index >= Count()) return 1;
    // The report as it was listed, whatever another writer did to the file since.
    return report.ReadStream(listed_.data(), listed_.size(), descrs_[static_cast<std::size_t>(index)].offset + kEntryHeaderSize);
}

}  // namespace vyn
