#pragma once
// Shortcuts as desktop entries: a ".desktop" file that starts the target program (or opens the
// target folder), in the application menu or on the desktop.
#include <string>

namespace vyn {

class SetupLog;

// Writes the entry at linkPath (replaced whole); 0 or an errno value. An empty working folder
// leaves it out.
int CreateShellLink(const std::string& target, const std::string& linkPath, const std::string& workingFolder,
                    const std::string& name, SetupLog& log);

// Quotes a path for the Exec key of a desktop entry.
std::string QuoteDesktopExec(const std::string& path);

}  // namespace vyn
