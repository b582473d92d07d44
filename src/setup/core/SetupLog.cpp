#include "setup/core/SetupLog.h"

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

#include "setup/core/SetupText.h"

namespace vyn {

namespace {

std::string TwoDigits(int v) { return std::string(1, static_cast<char>('0' + v / 10 % 10)) + static_cast<char>('0' + v % 10); }

}  // namespace

std::string SetupLog::TempFolder()
{
    const char* t = std::getenv("TMPDIR");
    std::string dir = t && *t ? t : "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

bool SetupLog::Open() { return OpenAt(TempFolder() + "vst1.tmp"); }

bool SetupLog::OpenAt(const std::string& path)
{
    Close();
    // The temporary folder is shared with other users: never follow a link planted there.
    fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) return false;
    path_ = path;
    if (!WriteAll("Vyn setup logging information.\r\n")) {
        Close();
        return false;
    }
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    localtime_r(&now, &tm);
    int year = tm.tm_year + 1900;
    std::string y = TwoDigits(year / 100) + TwoDigits(year % 100);
    Print("Time: " + y + "." + TwoDigits(tm.tm_mon + 1) + "." + TwoDigits(tm.tm_mday) + "  " + TwoDigits(tm.tm_hour) +
          ":" + TwoDigits(tm.tm_min) + "\r\n");
    Printf("File: %s\r\n", path_);
    return IsOpen();
}

void SetupLog::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool SetupLog::WriteAll(const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::write(fd_, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

void SetupLog::Print(const std::string& text)
{
    if (fd_ < 0 || text.empty() || text.size() > kMaxLine) return;
    if (!WriteAll(text)) Close();
}

void SetupLog::Printf(const std::string& pattern, const std::string& arg) { Print(FormatTexts(pattern, {arg})); }

}  // namespace vyn
