// Pictures of the window layer as the user sees it, taken in a real X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_window_shots plate-scrolled OUT.png [PLATE]
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_window_shots mnemonics OUT.png
// plate-scrolled: a plate view too small for its plate, scrolled by the mouse wheel and by the
// horizontal scroll bar's arrow. mnemonics: the measure dialog's template with its marked letters.
#include <QApplication>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <cstdio>
#include <string>

#include "PlateViewShot.h"
#include "document/QDoc.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/testing/ScrollInput.h"
#include "views/QPView.h"

namespace {

int PlateScrolled(const std::string& out, const std::string& plate)
{
    vyn::QDoc doc;
    vyn::QPView* view = ShowPlateView(doc, plate);
    if (!view) return 1;
    view->MoveWindow(40, 40, view->HeaderWidth + 6 * view->CellWidth, view->HeaderHeight + 4 * view->CellHeight);
    return ShootPlateView(view, out, [view] {
        QWidget* w = view->Widget();
        vyn::TurnWheel(w, QPoint(0, -120));
        for (QScrollBar* bar : w->findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Horizontal)
                for (int i = 0; i < 4; ++i) vyn::ClickScrollBarPart(bar, QStyle::SC_ScrollBarAddLine);
    });
}

int Mnemonics(const std::string& out)
{
    vyn::TDialog dlg(nullptr, 1);
    int rc = 1;
    QTimer::singleShot(400, [&] {
        rc = dlg.Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
        dlg.CloseWindow(vyn::IDCANCEL);
    });
    dlg.Execute();
    return rc;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string what = argc >= 3 ? argv[1] : "";
    vyn::TApplication app(argc, argv);
    if (what == "plate-scrolled") return PlateScrolled(argv[2], argc >= 4 ? argv[3] : VYN_DEMO_PLATE);
    if (what == "mnemonics") return Mnemonics(argv[2]);
    std::fprintf(stderr, "usage: vyn_window_shots plate-scrolled|mnemonics OUT.png [PLATE]\n");
    return 2;
}
