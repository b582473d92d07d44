#pragma once
// For fuzz targets whose parser reads a file by name: one private folder per process (in
// memory where the machine has /dev/shm), and the input written there whole before each run.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace vyn::fuzz {

inline const std::string& ScratchFolder()
{
    static const std::string folder = [] {
        std::string base = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string pattern = base + "/vyn-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        return pattern;
    }();
    return folder;
}

// Writes the bytes as the file name in the scratch folder and answers its path.
inline std::string PutFile(const char* name, const std::uint8_t* data, std::size_t size)
{
    const std::string path = ScratchFolder() + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0) std::abort();
    for (std::size_t done = 0; done < size;) {
        const ssize_t n = ::write(fd, data + done, size - done);
        if (n <= 0) std::abort();
        done += static_cast<std::size_t>(n);
    }
    ::close(fd);
    return path;
}

inline std::string ReadFile(const std::string& path)
{
    std::string bytes;
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return bytes;
    char buf[65536];
    for (ssize_t n; (n = ::read(fd, buf, sizeof buf)) > 0;) bytes.append(buf, static_cast<std::size_t>(n));
    ::close(fd);
    return bytes;
}

}  // namespace vyn::fuzz
