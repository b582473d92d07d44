#pragma once
// Files built into the program from resources/ (pictures, help pages, demo data), so that the
// program finds them wherever it is started from.
#include <cstddef>
#include <string>
#include <string_view>

namespace vyn {

namespace res {
struct ResFileEntry {
    const char* name;  // path below resources/, e.g. "bitmaps/2230.xpm"
    const unsigned char* data;
    std::size_t size;
};
extern const ResFileEntry kFileTable[];
extern const int kFileCount;
}  // namespace res

// The built-in file of that name, or nullptr.
const res::ResFileEntry* FindResFile(std::string_view name);
// Its bytes; false when there is no such file.
bool ReadResFile(std::string_view name, std::string& content);

}  // namespace vyn
