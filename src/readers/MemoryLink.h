#pragma once
#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

#include "readers/TComm.h"

namespace vyn {

// A reader that has said all it will: its replies are the given bytes, read in order, and
// after them every read times out at once. What the driver writes is kept for the caller.
class MemoryLink : public CommLink {
public:
    explicit MemoryLink(std::string_view replies, bool keepWritten = true)
        : replies_(replies), keepWritten_(keepWritten)
    {
    }

    bool Read(void* buffer, std::size_t count, std::size_t& got, unsigned, int&) override
    {
        got = std::min(count, replies_.size() - pos_);
        if (got) std::memcpy(buffer, replies_.data() + pos_, got);
        pos_ += got;
        return true;
    }
    bool Write(const void* bytes, std::size_t count, unsigned, int&) override
    {
        if (keepWritten_) written.append(static_cast<const char*>(bytes), count);
        return true;
    }

    std::size_t Unread() const { return replies_.size() - pos_; }

    std::string written;

private:
    std::string_view replies_;
    std::size_t pos_ = 0;
    bool keepWritten_;
};

}  // namespace vyn
