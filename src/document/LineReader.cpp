#include "document/LineReader.h"

#include "platform/core/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vyn {

namespace {
constexpr char kCtrlZ = 26;
}

LineReader::LineReader()
{
    error_ = EBADF;
}

LineReader::LineReader(const std::string& path)
{
    Open(path);
}

LineReader::~LineReader()
{
    Close();
}

void LineReader::Reset()
{
    error_ = 0;
    atEnd_ = false;
    overflow_ = false;
    filePos_ = 0;
    bufferOffset_ = 0;
    lineStart_ = 0;
    length_ = 0;
    cursor_ = 0;
    lastChunk_ = false;
}

bool LineReader::Open(const std::string& path)
{
    Close();
    Reset();
    // A pipe or a device under a plate's name would keep the program waiting for ever.
    const int fd = OpenForReading(path);
    if (fd < 0) {
        error_ = errno ? errno : EIO;
        atEnd_ = true;
        return false;
    }
    fd_ = fd;
    return true;
}

void LineReader::OpenMemory(std::string bytes)
{
    Close();
    Reset();
    bytes_ = std::move(bytes);
    memory_ = true;
}

void LineReader::Close()
{
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    memory_ = false;
    bytes_.clear();
    atEnd_ = true;
}

void LineReader::Fail(int code)
{
    Close();
    error_ = code ? code : EIO;
}

long LineReader::RawRead(char* to, std::size_t count)
{
    if (memory_) {
        if (filePos_ >= static_cast<long>(bytes_.size())) return 0;
        std::size_t n = std::min(count, bytes_.size() - static_cast<std::size_t>(filePos_));
        std::memcpy(to, bytes_.data() + filePos_, n);
        return static_cast<long>(n);
    }
    // Fill the whole request unless the file ends: a short chunk means the end of the file.
    std::size_t got = 0;
    while (got < count) {
        ssize_t n = ::read(fd_, to + got, count - got);
        if (n < 0) {
            if (errno == EINTR) continue;
            return -1;
        }
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
    }
    return static_cast<long>(got);
}

bool LineReader::RawSeek(long offset)
{
    if (offset < 0) {
        errno = EINVAL;
        return false;
    }
    if (!memory_ && ::lseek(fd_, offset, SEEK_SET) < 0) return false;
    filePos_ = offset;
    return true;
}

bool LineReader::FillBuffer()
{
    bufferOffset_ = filePos_;
    long n = RawRead(buffer_, kChunk);
    if (n < 0) {
        Fail(errno);
        return false;
    }
    filePos_ += n;
    length_ = static_cast<int>(n);
    cursor_ = 0;
    lastChunk_ = n < kChunk;
    return true;
}

template <class Store>
std::size_t LineReader::ReadInto(Store store, std::size_t maxLength)
{
    if (atEnd_) return 0;
    auto atFileEnd = [this] {
        return cursor_ < length_ ? buffer_[cursor_] == kCtrlZ : lastChunk_;
    };
    if (atFileEnd()) {
        Close();
        return 0;
    }
    overflow_ = false;
    lineStart_ = bufferOffset_ + cursor_;
    std::size_t stored = 0;
    for (;;) {
        if (cursor_ >= length_ && !lastChunk_) {
            if (!FillBuffer()) return 0;
            continue;
        }
        if (atFileEnd()) {
            // The Ctrl-Z or the end stays where it is, so that the next call closes.
            if (stored > 0 || overflow_) return stored;
            Close();
            return 0;
        }
        const char c = buffer_[cursor_++];
        if (c == '\r') continue;
        if (c == '\n') return stored;
        if (overflow_) continue;
        if (stored < maxLength) {
            store(c);
            ++stored;
        } else {
            overflow_ = true;
        }
    }
}

int LineReader::ReadLine(char* buffer, int size)
{
    if (!buffer || size <= 0) {
        std::string ignored;
        ReadLine(ignored, 0);
        return 0;
    }
    buffer[0] = 0;
    char* out = buffer;
    std::size_t n = ReadInto([&out](char c) { *out++ = c; }, static_cast<std::size_t>(size - 1));
    buffer[n] = 0;
    return static_cast<int>(n);
}

std::size_t LineReader::ReadLine(std::string& line, std::size_t maxLength)
{
    line.clear();
    return ReadInto([&line](char c) { line.push_back(c); }, maxLength);
}

bool LineReader::Seek(long offset)
{
    if (atEnd_) {
        // A closed reader has no file to move in.
        if (!error_) error_ = EBADF;
        return false;
    }
    if (offset == -1) offset = lineStart_;
    if (!RawSeek(offset)) {
        Fail(errno);
        return false;
    }
    length_ = 0;
    cursor_ = 0;
    lastChunk_ = false;
    bufferOffset_ = offset;
    lineStart_ = offset;
    return true;
}

}  // namespace vyn
