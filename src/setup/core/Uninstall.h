#pragma once
// The uninstall: reads the records the install saved and undoes them from the last to the first,
// asking before it deletes a file that changed since the install.
#include <string>

namespace vyn {

struct SetupContext;
struct UninstallRecord;

// 1 when the walk ran to its end; 0 when the user declined or cancelled or no records were found.
int Uninstall(SetupContext& ctx);

// Whether a record may be acted on: a known kind, an absolute path for files, folders and
// shortcuts, a known root and a sub-key for registry keys. A damaged record file must not make
// the uninstall delete what its records do not plainly name.
bool IsUsableRecord(const UninstallRecord& r);

}  // namespace vyn
