#pragma once
// Where the method library lives: "VYN.MTW" in the system-files folder, which the shell sets
// once from its settings at start-up. "VYN.MT~" is the companion name rewrites of the library
// once went through; rewrites now take a temporary name of their own and never touch it.
#include <string>

namespace vyn {

// The folder of the library; empty means the current folder (the data folder the shell makes
// current at start-up).
void SetSysFilesDir(const std::string& dir);
const std::string& GetSysFilesDir();

const std::string& GetMtwFilePath();
const std::string& GetMtwTempPath();

}  // namespace vyn
