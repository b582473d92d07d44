#pragma once
#include <string>

namespace vyn {

// The folder of the user's settings ("VYN.INI", the registry store): $VYN_CONFIG_DIR when
// set, else $XDG_CONFIG_HOME/vyn, else ~/.config/vyn. Not created here.
std::string ConfigDir();

// Creates the folder and any missing parents; true when it exists afterwards.
bool MakeDirectories(const std::string& path);

}  // namespace vyn
