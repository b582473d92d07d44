#include "document/LinkTarget.h"

#include <unistd.h>

namespace vyn {

std::string FollowLinks(const std::string& path)
{
    std::string target = path;
    for (int hops = 0; hops < 40; ++hops) {
        char buf[4096];
        const ssize_t n = ::readlink(target.c_str(), buf, sizeof buf - 1);
        if (n < 0) break;
        std::string next(buf, static_cast<std::size_t>(n));
        const std::size_t slash = target.rfind('/');
        if (next.empty() || next.front() != '/') next = (slash == std::string::npos ? std::string() : target.substr(0, slash + 1)) + next;
        target = next;
    }
    return target;
}

}  // namespace vyn
