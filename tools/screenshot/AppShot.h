#pragma once
// The screenshot tool's pictures of the running program start from a fresh installation: settings
// and data in a temporary folder of their own, with the demo method library and plate installed.
#include <functional>
#include <string>

// Runs shoot with the folder (the demo plate lies in its "data" folder) and the picture's path made
// whole (the program works in its data folder, so a relative path would land there), removes the
// folder after it and answers what shoot answered.
int InFreshInstallation(const std::string& out,
                        const std::function<int(const std::string& root, const std::string& out)>& shoot);
