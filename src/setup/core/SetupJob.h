#pragma once
// The one job of the installer, chosen at start from its name and command line: uninstall
// ("-U"), install (the program is called "setup": the wizard, then the installation), or a
// box saying there is nothing to do.
#include <functional>
#include <string>

namespace vyn {

struct SetupContext;

// The number of files "vyn*.inf" (any case) in the folder; path gets folder + the first one.
int FindInfFile(std::string& path, const std::string& folder);

// Runs the wizard; above 0 when the user finished it, 0 when cancelled, -1 on error.
using RunWizardFn = std::function<int(SetupContext&)>;

// Writes the heading of an installation's log.
void LogInstallHeading(SetupContext& ctx);

// Runs the job; returns what it did: 1 uninstalled, 2 installed, 0 otherwise.
int RunSetupJob(SetupContext& ctx, const RunWizardFn& runWizard);

}  // namespace vyn
