// Shows the installer's wizard with the shipped INF under a real X server, turns to the page
// named on the command line and saves what the screen shows as a PNG.
//   xvfb-run -a -s "-screen 0 1280x1024x24" setup_screenshot 1 OUT.png
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/gui/Application.h"
#include "platform/gui/PropertySheet.h"
#include "setup/core/SetupContext.h"
#include "setup/wizard/GuiSetupUi.h"
#include "setup/wizard/SetupWizard.h"

int main(int argc, char** argv)
{
    if (argc != 3 || argv[1][0] < '0' || argv[1][0] > '3') {
        std::fprintf(stderr, "usage: setup_screenshot PAGE(0-3) OUT.png\n");
        return 2;
    }
    vyn::TApplication app(argc, argv);
    int page = argv[1][0] - '0';
    std::string out = argv[2];
    vyn::SetupContext ctx;
    vyn::GuiSetupUi ui;
    ctx.ui = &ui;
    ctx.StartUp(std::string(VYN_SOURCE_DIR) + "/resources/setup/setup", {});
    ctx.infPath = std::string(VYN_SOURCE_DIR) + "/resources/setup/vyn.inf";
    ctx.inf.Open(ctx.infPath);
    int rc = 1;
    QTimer::singleShot(400, [&] {
        auto* sheet = dynamic_cast<vyn::TPropertySheet*>(vyn::TWindow::FromWidget(QApplication::activeModalWidget()));
        if (!sheet) {
            QApplication::exit(1);
            return;
        }
        for (int i = 0; i < page; ++i) sheet->PressButton(vyn::TPropertySheet::ID_PSNEXT);
        QTimer::singleShot(400, [&, sheet] {
            rc = sheet->Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            sheet->PressButton(vyn::IDCANCEL);
        });
    });
    vyn::RunWizard(ctx);
    return rc;
}
