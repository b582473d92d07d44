#pragma once
// What the start-up could not set up, told to the user once a message can be shown: a data
// folder the demo cannot be installed in, a settings folder that cannot be used (no settings
// kept, no guard against a second running instance), and no safe place for the hand-over.
#include <string>
#include <vector>

namespace vyn {

inline constexpr int kMsgNoHandOverId = 21099;

// True when the settings folder exists (made when needed) and takes a new file.
bool SettingsFolderUsable();
// The messages, in the order to show them. demoResult is InstallDemoData's answer;
// handOverPossible: later starts have a safe place to hand their files over.
std::vector<std::string> StartupProblems(int demoResult, bool settingsUsable, bool handOverPossible);

}  // namespace vyn
