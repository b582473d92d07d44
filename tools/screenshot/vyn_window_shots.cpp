// Pictures of the window layer as the user sees it, taken in a real X server:
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_window_shots plate-scrolled OUT.png [PLATE]
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_window_shots mnemonics OUT.png
// plate-scrolled: a plate view too small for its plate, scrolled by the mouse wheel and by the
// horizontal scroll bar's arrow. mnemonics: the measure dialog's template with its marked letters.
#include <QApplication>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QTimer>
#include <QWheelEvent>
#include <cstdio>
#include <string>

#include "document/QDoc.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialog.h"
#include "views/QPView.h"

namespace {

void ClickArrow(QScrollBar* bar)
{
    QStyleOptionSlider opt;
    opt.initFrom(bar);
    opt.subControls = QStyle::SC_All;
    opt.orientation = bar->orientation();
    if (bar->orientation() == Qt::Horizontal) opt.state |= QStyle::State_Horizontal;
    opt.minimum = bar->minimum();
    opt.maximum = bar->maximum();
    opt.sliderPosition = bar->sliderPosition();
    opt.sliderValue = bar->value();
    opt.pageStep = bar->pageStep();
    opt.singleStep = bar->singleStep();
    const QPoint at = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, bar).center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, QPointF(at), QPointF(bar->mapToGlobal(at)), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(bar, &e);
    }
}

int PlateScrolled(const std::string& out, const std::string& plate)
{
    vyn::QDoc doc;
    doc.SetDocPath(plate);
    if (!doc.InitDoc()) {
        std::fprintf(stderr, "cannot open %s\n", plate.c_str());
        return 1;
    }
    doc.CalculatePlate();
    auto* view = new vyn::QPView(doc);
    view->SetLayers(1 | 2 | 4 | 16);
    view->Create();
    view->MoveWindow(40, 40, view->HeaderWidth + 6 * view->CellWidth, view->HeaderHeight + 4 * view->CellHeight);
    view->ShowWindow(vyn::SW_SHOW);
    view->EvMDIActivate(true);
    view->SetFocus();
    int rc = 1;
    QTimer::singleShot(400, [&] {
        QWidget* w = view->Widget();
        const QPointF mid(w->width() / 2.0, w->height() / 2.0);
        QWheelEvent wheel(mid, w->mapToGlobal(mid), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(w, &wheel);
        for (QScrollBar* bar : w->findChildren<QScrollBar*>())
            if (bar->orientation() == Qt::Horizontal)
                for (int i = 0; i < 4; ++i) ClickArrow(bar);
        view->UpdateWindow();
        QTimer::singleShot(200, [&] {
            rc = view->Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            QApplication::quit();
        });
    });
    QApplication::exec();
    delete view;
    return rc;
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
