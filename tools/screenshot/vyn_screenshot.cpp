// Shows a named dialog with sample content and saves what the screen shows as a PNG.
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_screenshot status-dialog OUT.png
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <string>

#include "app/controls/QCalErrDlg.h"
#include "platform/gui/Application.h"

namespace {

void FillStatus(vyn::QCalErrDlg& dlg)
{
    dlg.SetTitle("Errors in the calculation of the plate");
    dlg.AddMessage("Calculations");
    dlg.Indent = 2;
    dlg.AddEntry("Blank", "0.052");
    dlg.AddErrorDetail("Cutoff", "NC * 2.1 / 0", "Division by zero");
    dlg.AddErrorAt("Ratio", "S1 / (PC - NC", "Missing closing parenthesis", 13);
    dlg.Indent = 0;
    dlg.AddBlankLine();
    dlg.AddMessage("Validation");
    dlg.AddErrorDetail("PC > NC", "PC > XX", "Unknown name XX");
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3 || std::string(argv[1]) != "status-dialog") {
        std::fprintf(stderr, "usage: vyn_screenshot status-dialog OUT.png\n");
        return 2;
    }
    vyn::TApplication app(argc, argv);
    std::string out = argv[2];
    vyn::QCalErrDlg dlg(nullptr, false);
    FillStatus(dlg);
    int rc = 1;
    QTimer::singleShot(400, [&] {
        QWidget* w = dlg.Widget();
        QPixmap shot = w->grab();
        rc = shot.save(QString::fromStdString(out), "PNG") ? 0 : 1;
        dlg.SendCommand(104);
    });
    dlg.Execute();
    return rc;
}
