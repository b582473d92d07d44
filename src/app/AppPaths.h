#pragma once
// Where the program keeps its files: the data folder (plates; made current at start and
// written back as "IniDataDir" at exit) and the system-files folder (the method and report
// libraries, the last plate), both read from the registry at start.
#include <string>

namespace vyn {

inline constexpr const char* kSetupKey = "Software\\Talvorne\\Vyn\\Setup";

// Reads "IniDataDir" and "SysFilesDir". $VYN_DATA_DIR, when set, names the data folder
// instead of "IniDataDir"; a missing or unusable value falls back to ~/.local/share/vyn (made
// when needed). Makes the data folder current and fills the path getters.
void InitAppPaths();
// Writes the current folder back as "IniDataDir", so that the next start opens where the
// user last chose a file.
void SaveIniDataDir();

// The current folder, whole (no length limit).
std::string CurrentDirectory();
// The default folder when the registry names none.
std::string DefaultDataDir();
const std::string& GetDataDir();
const std::string& GetSysDir();
const std::string& GetMrwFilePath();
const std::string& GetMrwTempPath();
const std::string& GetLastPlatePath();
// The built-in help file.
const std::string& GetHelpFilePath();

// The directory with a trailing '/', the name appended.
std::string JoinPath(const std::string& dir, const std::string& name);

// On the first start (no method library yet) copies the demo method library into the
// system-files folder and the demo plate into the data folder, each through a temporary
// file. Files already there are never overwritten. Answers the number of files written; -1
// when a write failed (what was written stays whole).
int InstallDemoData();

}  // namespace vyn
