#include "setup/core/UninstallList.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/core/AtomicFile.h"
#include "setup/core/SetupLog.h"
#include "setup/core/SetupRegistry.h"
#include "setup/core/SetupText.h"

namespace vyn {

namespace {

constexpr std::uint64_t kEpochDiff = 11644473600ull;  // seconds from 1601 to 1970

void Put32(std::string& b, std::size_t at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
void Put64(std::string& b, std::size_t at, std::uint64_t v)
{
    for (int i = 0; i < 8; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}
std::uint32_t Get32(const std::string& b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}
std::uint64_t Get64(const std::string& b, std::size_t at)
{
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}

std::string ErrorLine(std::uint32_t error) { return error ? "   " + SystemErrorText(static_cast<int>(error)) + "\r\n" : "   OK\r\n"; }

}  // namespace

std::uint64_t FileTimeOf(const timespec& ts)
{
    if (ts.tv_sec < 0) return 0;
    return (static_cast<std::uint64_t>(ts.tv_sec) + kEpochDiff) * 10000000ull + static_cast<std::uint64_t>(ts.tv_nsec) / 100;
}

bool ReadFileStamp(const std::string& path, std::uint64_t& creation, std::uint64_t& lastWrite, std::uint32_t& size)
{
    // Looked at by name only: opening a pipe or a device could block or act on it.
    struct stat st{};
    if (::stat(path.c_str(), &st) != 0) return false;
    // The change time stands in for the creation time, which is only kept and never compared.
    creation = FileTimeOf(st.st_ctim);
    lastWrite = FileTimeOf(st.st_mtim);
    size = static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFFu);
    return true;
}

void UninstallList::Clear()
{
    records_.clear();
    mark_ = 0;
    walk_ = -1;
}

bool UninstallList::Append(const UninstallRecord& r)
{
    // A path cut to fit would name another file at uninstall; such a record is not made.
    if (RecordCount() >= kMaxRecords || r.path.size() >= kPathSize || r.path.find('\0') != std::string::npos) return false;
    records_.push_back(r);
    return true;
}

bool UninstallList::RecordCopiedFile(const std::string& path, std::uint32_t copyError)
{
    UninstallRecord r;
    r.kind = kRecCopiedFile;
    r.code = copyError;
    r.path = path;
    if (RecordCount() >= kMaxRecords || path.size() >= kPathSize) return false;
    if (log_) log_->Printf("%s\r\n", path);
    if (!ReadFileStamp(path, r.creationTime, r.lastWriteTime, r.size)) r.error = static_cast<std::uint32_t>(errno);
    if (log_) log_->Print(ErrorLine(r.error));
    struct stat st{};
    if (::stat(path.c_str(), &st) == 0 && !(st.st_mode & S_IWUSR)) ::chmod(path.c_str(), (st.st_mode & 07777) | S_IWUSR);
    return Append(r);
}

bool UninstallList::RecordCreatedFolder(const std::string& path, std::uint32_t error)
{
    if (RecordCount() >= kMaxRecords || path.size() >= kPathSize) return false;
    if (log_) {
        log_->Printf("Create dir: %s\r\n", path);
        log_->Print(ErrorLine(error));
    }
    UninstallRecord r;
    r.kind = kRecCreatedFolder;
    r.path = path;
    r.error = error;
    return Append(r);
}

bool UninstallList::RecordShortcut(const std::string& path, std::uint32_t error)
{
    if (RecordCount() >= kMaxRecords || path.size() >= kPathSize) return false;
    if (log_) {
        log_->Printf("Create Shortcut: %s\r\n", path);
        log_->Print(ErrorLine(error));
    }
    UninstallRecord r;
    r.kind = kRecShortcut;
    r.path = path;
    r.error = error;
    return Append(r);
}

bool UninstallList::RecordRegistryKey(RegRoot root, const std::string& subKey, bool onlyWhenEmpty)
{
    UninstallRecord r;
    r.kind = kRecRegistryKey | (onlyWhenEmpty ? kRecKeyOnlyWhenEmpty : 0);
    r.code = static_cast<std::uint32_t>(root);
    r.path = subKey;
    return Append(r);
}

bool UninstallList::RecordRegistryKeyByName(const std::string& rootName, const std::string& subKey, bool onlyWhenEmpty)
{
    RegRoot root;
    if (!RootKeyFromName(rootName, root)) return false;
    return RecordRegistryKey(root, subKey, onlyWhenEmpty);
}

const UninstallRecord* UninstallList::FindRecordByPath(const std::string& path) const
{
    for (const UninstallRecord& r : records_)
        if (EqualsNoCase(r.path, path)) return &r;
    return nullptr;
}

std::string UninstallList::FindCopiedFile(const std::string& name) const
{
    for (int i = 0; i < mark_ && i < RecordCount(); ++i) {
        const UninstallRecord& r = records_[static_cast<std::size_t>(i)];
        if (r.kind != kRecCopiedFile) continue;
        std::size_t slash = r.path.rfind('/');
        if (slash == std::string::npos) continue;
        if (EqualsNoCase(std::string_view(r.path).substr(slash + 1), name)) return r.path;
    }
    return {};
}

void UninstallList::TakeEarlier(const std::vector<UninstallRecord>& earlier)
{
    if (earlier.empty()) return;
    std::vector<UninstallRecord> merged;
    for (const UninstallRecord& r : earlier)
        if (r.kind != 0 && !r.path.empty()) merged.push_back(r);
    for (const UninstallRecord& r : records_) {
        auto same = std::find_if(merged.begin(), merged.end(), [&](const UninstallRecord& m) {
            return m.kind == r.kind && m.path == r.path && ((r.kind & 0xFF) != kRecRegistryKey || m.code == r.code);
        });
        if (same == merged.end()) {
            merged.push_back(r);
        } else {
            bool made = r.kind == kRecCreatedFolder && (same->error == 0 || r.error == 0);
            *same = r;
            if (made) same->error = 0;
        }
    }
    if (merged.size() > static_cast<std::size_t>(kMaxRecords)) merged.resize(kMaxRecords);
    records_ = std::move(merged);
    mark_ = RecordCount();
}

std::string UninstallList::Serialize() const
{
    std::string out(records_.size() * kRecordSize, '\0');
    for (std::size_t i = 0; i < records_.size(); ++i) {
        const UninstallRecord& r = records_[i];
        std::size_t at = i * kRecordSize;
        Put32(out, at + 0, r.kind);
        Put32(out, at + 4, r.code);
        std::memcpy(&out[at + 8], r.path.data(), std::min(r.path.size(), kPathSize - 1));
        Put64(out, at + 268, r.creationTime);
        Put64(out, at + 276, r.lastWriteTime);
        Put32(out, at + 284, r.size);
        Put32(out, at + 288, r.error);
    }
    return out;
}

void UninstallList::Deserialize(const std::string& bytes)
{
    Clear();
    std::size_t count = std::min<std::size_t>(bytes.size() / kRecordSize, kMaxRecords);
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t at = i * kRecordSize;
        UninstallRecord r;
        r.kind = Get32(bytes, at + 0);
        r.code = Get32(bytes, at + 4);
        const char* p = &bytes[at + 8];
        const void* nul = std::memchr(p, 0, kPathSize);
        // A path without its terminating zero is damaged: the record keeps its place in the
        // walk but acts on nothing.
        if (nul) r.path.assign(p, static_cast<const char*>(nul));
        else r.kind = 0;
        r.creationTime = Get64(bytes, at + 268);
        r.lastWriteTime = Get64(bytes, at + 276);
        r.size = Get32(bytes, at + 284);
        r.error = Get32(bytes, at + 288);
        records_.push_back(r);
    }
    mark_ = RecordCount();
}

int UninstallList::Save(const std::string& path) const
{
    // Replaced in one step; a link planted in its place is replaced, never written through.
    ReplaceOptions options;
    options.followLink = false;
    return ReplaceFile(path, Serialize(), options).error;
}

int UninstallList::Load(const std::string& path)
{
    Clear();
    // Only a regular file is read; a pipe named here would block the uninstall for ever.
    const int fd = OpenForReading(path);
    if (fd < 0) return errno == EISDIR ? EINVAL : errno;
    std::string bytes(kMaxRecords * kRecordSize, '\0');
    std::size_t got = 0;
    while (got < bytes.size()) {
        ssize_t n = ::read(fd, &bytes[got], bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            int err = errno;
            ::close(fd);
            return err;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    bytes.resize(got);
    Deserialize(bytes);
    // The record file was rewritten after its own record was taken; its stamp is taken again
    // so that it is removed without a question.
    struct stat st{};
    if (::fstat(fd, &st) == 0)
        for (UninstallRecord& r : records_)
            if (r.kind == kRecCopiedFile && EqualsNoCase(r.path, path)) {
                r.creationTime = FileTimeOf(st.st_ctim);
                r.lastWriteTime = FileTimeOf(st.st_mtim);
                r.size = static_cast<std::uint32_t>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFFu);
                break;
            }
    ::close(fd);
    return 0;
}

const UninstallRecord* UninstallList::LastRecord()
{
    walk_ = RecordCount() - 1;
    return walk_ >= 0 ? &records_[static_cast<std::size_t>(walk_)] : nullptr;
}

const UninstallRecord* UninstallList::PrevRecord()
{
    if (walk_ <= 0) {
        walk_ = -1;
        return nullptr;
    }
    --walk_;
    return &records_[static_cast<std::size_t>(walk_)];
}

}  // namespace vyn
