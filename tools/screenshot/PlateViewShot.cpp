#include "PlateViewShot.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>

#include "document/QDoc.h"
#include "views/QPView.h"

vyn::QPView* ShowPlateView(vyn::QDoc& doc, const std::string& plate)
{
    doc.SetDocPath(plate);
    if (!doc.InitDoc()) {
        std::fprintf(stderr, "cannot open %s\n", plate.c_str());
        return nullptr;
    }
    doc.CalculatePlate();
    auto* view = new vyn::QPView(doc);
    view->SetLayers(1 | 2 | 4 | 16);
    view->Create();
    view->ShowWindow(vyn::SW_SHOW);
    view->EvMDIActivate(true);
    view->SetFocus();
    return view;
}

int ShootPlateView(vyn::QPView* view, const std::string& out, const std::function<void()>& act)
{
    int rc = 1;
    QTimer::singleShot(400, [&] {
        act();
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
