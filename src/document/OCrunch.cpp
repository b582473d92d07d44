#include "document/OCrunch.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <charconv>

#include "document/TagNames.h"
#include "evaluator/NumFormat.h"
#include "platform/core/Utf8Text.h"

namespace vyn {

namespace {

constexpr std::size_t kFoldAt = 64;
// A continuation line holds a blank, the field and its ';'.
constexpr std::size_t kMaxUnquoted = kMaxTaggedLine - 2;

bool WriteAll(int fd, const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) return false;
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

template <class T>
std::string IntText(T value)
{
    char text[24];
    auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

}  // namespace

OCrunch::OCrunch(int fd) : fd_(fd) {}

OCrunch::OCrunch(std::string& sink) : sink_(&sink) {}

void OCrunch::BeginTag(int tag)
{
    count_ = 0;
    line_.clear();
    if (tag < 0 || tag >= kTagCount) {
        count_ = -1;
        return;
    }
    line_ = GetTagName(tag);
    line_ += ' ';
}

void OCrunch::PutField(const std::string& text)
{
    if (count_ < 0) return;
    if (text.size() > kMaxUnquoted) {
        count_ = -1;
        line_.clear();
        return;
    }
    if (line_.size() + text.size() > kFoldAt) Flush();
    if (count_ < 0) return;
    Append(text);
    line_ += ';';
}

void OCrunch::PutInt(int value)
{
    PutField(IntText(value));
}

void OCrunch::PutLong(long value)
{
    PutField(IntText(value));
}

void OCrunch::PutDouble(double value)
{
    if (std::isnan(value)) {
        notANumber_ = true;
        count_ = -1;
        line_.clear();
        return;
    }
    PutField(FormatDouble(value, 0, 0, 0, 0));
}

void OCrunch::PutString(const std::string& text)
{
    if (count_ < 0) return;
    line_ += '\'';
    for (char ch : text) {
        const unsigned char c = static_cast<unsigned char>(ch);
        // A dropped control character must not fold the line first: the empty continuation
        // piece it would leave is lost on reading, and the plate would not read back as written.
        if (IsUnstorableControl(c)) continue;
        if (line_.size() > kFoldAt - 1) {
            line_ += '\'';
            Flush();
            if (count_ < 0) return;
            line_ += '\'';
        }
        if (c == '\t') {
            line_ += "\\t";
        } else if (c == '\'') {
            line_ += "\\'";
        } else if (c == '\\') {
            line_ += "\\\\";
        } else {
            line_ += ch;
        }
    }
    line_ += "';";
}

void OCrunch::WritePending(bool continueAfter)
{
    if (count_ < 0) {
        line_.clear();
        return;
    }
    if (sink_) {
        sink_->append(line_).append("\r\n");
        count_ += static_cast<long>(line_.size() + 2);
        line_ = continueAfter ? " " : "";
        return;
    }
    std::string out = line_;
    out += "\r\n";
    if (WriteAll(fd_, out.data(), out.size())) {
        count_ += static_cast<long>(out.size());
        line_ = continueAfter ? " " : "";
    } else {
        count_ = count_ > 0 ? -count_ : -1;
        line_.clear();
    }
}

void OCrunch::Flush()
{
    WritePending(true);
}

long OCrunch::Finish()
{
    if (count_ < 0 || line_.empty()) return count_;
    WritePending(false);
    return count_;
}

}  // namespace vyn
