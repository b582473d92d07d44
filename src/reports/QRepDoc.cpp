#include "reports/QRepDoc.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

#include "document/DocShell.h"
#include "platform/core/AtomicFile.h"
#include "reports/ByteIO.h"
#include "reports/ReportStrings.h"

namespace vyn {

namespace {
constexpr char kMagic[4] = {'Q', 'R', 'P', 'D'};
}

bool QRepDoc::Open(int, const char* path)
{
    if (path) SetDocPath(path);
    return true;
}

std::vector<std::uint8_t> QRepDoc::FileBytes(const RPReport& report)
{
    const std::vector<std::uint8_t> stream = report.WriteStream();
    if (stream.empty()) return {};
    std::vector<std::uint8_t> out(kReportFileHeaderSize, 0);
    std::memcpy(out.data(), kMagic, 4);
    PutU32(out.data() + 4, 0x00010000);
    PutU32(out.data() + 8, kReportFileHeaderSize);
    PutU32(out.data() + 12, 1);
    PutU32(out.data() + 16, static_cast<std::uint32_t>(kReportFileHeaderSize + stream.size()));
    out.insert(out.end(), stream.begin(), stream.end());
    return out;
}

int QRepDoc::ReadFileBytes(const std::vector<std::uint8_t>& bytes, RPReport& report)
{
    if (bytes.size() < kReportFileHeaderSize) return kStrCannotRead;
    if (std::memcmp(bytes.data(), kMagic, 4) != 0) return kStrNotOurFile;
    const std::uint32_t offset = GetU32(bytes.data() + 8);
    if (offset > bytes.size()) return kStrCannotRead;
    return report.ReadStream(bytes.data(), bytes.size(), offset) == 0 ? 0 : kStrCannotRead;
}

bool QRepDoc::ReadFile()
{
    if (!HasDocPath()) return true;
    const int fd = OpenForReading(GetDocPath());
    if (fd < 0) {
        ShowDocMessage(kStrCannotOpen);
        return false;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t buf[8192];
    bool ok = true;
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) ok = false;
        if (n <= 0) break;
        bytes.insert(bytes.end(), buf, buf + n);
    }
    ::close(fd);
    const int failure = ok ? ReadFileBytes(bytes, report_) : kStrCannotRead;
    if (failure != 0) {
        ShowDocMessage(failure);
        return false;
    }
    return true;
}

bool QRepDoc::Commit(bool)
{
    if (!HasDocPath()) return false;
    // The file is replaced whole or not at all, so a failed save never costs the old report; a
    // file that cannot be made at all is told apart from one whose writing failed.
    AtomicFile file(GetDocPath());
    if (!file.Open()) {
        ShowDocMessage(kStrCannotCreate);
        return false;
    }
    const std::vector<std::uint8_t> bytes = FileBytes(report_);
    if (bytes.empty() || !file.Write(bytes.data(), bytes.size()) || !file.Commit()) {
        ShowDocMessage(kStrCannotWrite);
        return false;
    }
    SetDirty(false);
    return true;
}

bool QRepDoc::Revert(bool)
{
    SetDirty(false);
    return true;
}

}  // namespace vyn
