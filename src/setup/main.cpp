// The installer. Started as "setup" beside one "vyn*.inf" it runs the wizard and installs;
// started with "-U" (normally as its installed copy) it removes what the install recorded.
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/gui/Application.h"
#include "setup/core/SetupContext.h"
#include "setup/core/SetupJob.h"
#include "setup/wizard/GuiSetupUi.h"
#include "setup/wizard/SetupWizard.h"

int main(int argc, char** argv)
{
    vyn::TApplication app(argc, argv);
    std::vector<std::string> args(argv + 1, argv + argc);
    // The program's own path decides the mode and the setup folder, whatever called it.
    std::string self = argv[0];
    if (char* real = ::realpath("/proc/self/exe", nullptr)) {
        self = real;
        std::free(real);
    }
    vyn::SetupContext ctx;
    vyn::GuiSetupUi ui;
    ctx.ui = &ui;
    ctx.StartUp(self, args);
    vyn::RunSetupJob(ctx, [](vyn::SetupContext& c) { return vyn::RunWizard(c); });
    return 0;
}
