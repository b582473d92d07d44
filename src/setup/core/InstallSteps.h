#pragma once
// The installation after the wizard: files, menu folder and shortcuts, registry, folder values,
// and finally the uninstall records saved into one of the copied files. Every step is logged.
#include <string>

namespace vyn {

struct SetupContext;

// 0 on success, 1 after a message was shown.
int RunInstall(SetupContext& ctx);

// Makes the menu folder below the application menu and a desktop entry for each line of the
// section: target = link name [, working-folder section [, Desktop]].
void CreateMenuShortcuts(SetupContext& ctx, const std::string& menuName, const std::string& section);

}  // namespace vyn
