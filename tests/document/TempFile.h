#pragma once
// A scratch file for one test, removed again when the test ends.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace vyn::test {

class TempFile {
public:
    explicit TempFile(const std::string& content = {})
    {
        char name[] = "/tmp/vyn_doc_test_XXXXXX";
        const int fd = ::mkstemp(name);
        path_ = name;
        if (fd >= 0) {
            if (!content.empty() && ::write(fd, content.data(), content.size()) < 0) path_.clear();
            ::close(fd);
        }
    }
    ~TempFile() { ::unlink(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }

    std::string Read() const
    {
        std::string data;
        const int fd = ::open(path_.c_str(), O_RDONLY);
        if (fd < 0) return data;
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0) data.append(buf, static_cast<std::size_t>(n));
        ::close(fd);
        return data;
    }

private:
    std::string path_;
};

}  // namespace vyn::test
