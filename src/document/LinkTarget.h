#pragma once
// Writers that replace a file by renaming a new copy over it would turn a symbolic link the
// user made into a plain file and leave the file it names as it was. They replace the link's
// target instead: the link stays a link and the file it names gets the new content.
#include <string>

namespace vyn {

// The file path names after following every link on the way (a chain of at most 40); a path
// that is not a link, or a dangling link's last target, is answered as it stands. A relative
// link is taken from the folder of the link.
std::string FollowLinks(const std::string& path);

}  // namespace vyn
