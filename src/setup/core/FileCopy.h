#pragma once
// The file copy of an installation: every file of the install section's CopyFiles sections is
// copied from the setup folder to its target folder, all or nothing. Each file is first written
// whole beside its target under a temporary name by the file service (every write and the close
// checked); only when all are there are they put in place over their targets, the files they
// replace kept until the end.
// A failure at any point removes what this run wrote, puts back what it replaced and removes the
// folders it made, so a failed copy leaves the disk as it found it.
//
// Copy-section lines: destination name, then optionally the source name (a path below the setup
// folder). A target that is newer than its source is kept and not recorded.
#include <string>

namespace vyn {

struct SetupContext;

// 0, or the errno of the failure with the path it concerns in failedPath. On success the folders
// made and the files copied are appended to the context's records, in that order.
int CopyInstallFiles(SetupContext& ctx, const std::string& sourceRoot, const std::string& section, std::string& failedPath);

}  // namespace vyn
