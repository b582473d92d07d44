#pragma once
// The registry part of an installation: the install section's AddReg and DelReg directives,
// the program's version and product values, its App Paths and Add/Remove Programs keys, the
// file types bound to it, and the folders that [KeyDirSection] writes into registry values.
#include <string>

namespace vyn {

struct SetupContext;
class InfFile;

// AddReg lines: root, sub-key, value name, flags, value... Flags (hex with 0x, or decimal):
// 0 text, 0x1 binary (the values are hex bytes), 0x2 keep an existing value, 0x4 delete the
// value, 0x10 the key only, 0x10001 a 32-bit number, 0x20000 expandable text. A line without a
// value makes the key only. DelReg lines: root, sub-key, and optionally the value name to delete
// instead of the whole key. 0 when every line was applied, else the first error (the other lines
// are applied all the same).
long ApplyRegistryDirectives(const InfFile& inf, const std::string& section);

// Returns 0; failures are logged and otherwise passed over.
int InstallRegistry(SetupContext& ctx);

void WriteKeyDirSection(SetupContext& ctx, const std::string& section);

// The version of the main program: the text of the "<program>.version" file beside it, a dotted
// version of up to four numbers; false when there is none or it is 4,096 bytes or more.
bool ReadProgramVersion(const std::string& versionFile, std::string& text, unsigned char bin[8]);

}  // namespace vyn
