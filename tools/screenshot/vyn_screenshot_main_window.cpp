// The "main-window" picture of vyn_screenshot, and the "view-..." pictures: the demo plate with
// one of its views active, so that the view's own menu and gadgets stand on the main window.
#include <QApplication>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>
#include <algorithm>

#include "AppShot.h"
#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "plate/QSample.h"
#include "views/QLView.h"
#include "views/QPView.h"
#include "app/AppGlobals.h"
#include "app/TMyControlBar.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/testing/HintInput.h"
#include "platform/gui/testing/UserInput.h"

// The program's main window in a fresh configuration with the demo plate open in the plate
// view and the sample list, the two frames side by side ("main-window"), or with one view active
// ("view-plate-matrix", "view-sample-list", "view-calibration-curve", "view-sample-graph"), or
// the plate view active with every popup of the menu bar open below the window ("main-menus"),
// the mouse resting on the tool bar's Save button with its tool tip showing ("tool-bar-tip"), or
// the plate view's layout tools at work: the standards in free style with the next dilution's
// letter ("plate-view-dilution") and renumbering with the next number ("plate-view-renumber").
int Shoot(int& argc, char** argv, const std::string& root, const std::string& which, const std::string& out);

int InFreshInstallation(const std::string& out,
                        const std::function<int(const std::string& root, const std::string& out)>& shoot)
{
    const std::string picture = std::filesystem::absolute(out).string();
    char tmpl[] = "/tmp/vyn-shot-XXXXXX";
    const std::string root = ::mkdtemp(tmpl) ? tmpl : "/tmp";
    ::setenv("VYN_CONFIG_DIR", (root + "/config").c_str(), 1);
    ::setenv("VYN_DATA_DIR", (root + "/data").c_str(), 1);
    vyn::InitAppPaths();
    vyn::InstallDemoData();
    const int rc = shoot(root, picture);
    std::filesystem::remove_all(root);
    return rc;
}

int MainWindow(int& argc, char** argv, const std::string& out, const std::string& which)
{
    return InFreshInstallation(out, [&](const std::string& root, const std::string& picture) {
        return Shoot(argc, argv, root, which, picture);
    });
}

namespace {

// The window with each popup of its menu bar as it opens (enablers asked), side by side below it.
QPixmap WithMenusOpen(QWidget& window)
{
    const QPixmap top = window.grab();
    std::vector<QPixmap> popups;
    int width = 0, height = 0;
    if (auto* main = qobject_cast<QMainWindow*>(&window))
        for (QAction* a : main->menuBar()->actions())
            if (QMenu* m = a->menu()) {
                m->popup(main->menuBar()->mapToGlobal(main->menuBar()->actionGeometry(a).bottomLeft()));
                QApplication::processEvents();
                popups.push_back(m->grab());
                m->hide();
                width += popups.back().width() + 4;
                height = std::max(height, popups.back().height());
            }
    QPixmap all(std::max(top.width(), width), top.height() + 4 + height);
    all.fill(Qt::white);
    QPainter p(&all);
    p.drawPixmap(0, 0, top);
    int x = 0;
    for (const QPixmap& m : popups) {
        p.drawPixmap(x, top.height() + 4, m);
        x += m.width() + 4;
    }
    return all;
}

// The window with the tool tip that shows over it drawn where it stands.
QPixmap WithToolTip(QWidget& window)
{
    QPixmap shot = window.grab();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && w->inherits("QTipLabel")) {
            QPainter p(&shot);
            p.drawPixmap(window.mapFromGlobal(w->mapToGlobal(QPoint(0, 0))), w->grab());
        }
    return shot;
}

// A button of a bar clicked at its middle, as a user clicks it.
void Click(vyn::TGadgetWindow* bar, int id)
{
    if (bar) vyn::ClickGadget(*bar, id);
    QApplication::processEvents();
}

// The first quantitative sample of the plate, -1 when there is none.
int FirstQuantitative(const vyn::QPlate& p)
{
    for (int i = 0; i < p.sampleCount; ++i)
        if (p.GetSample(i)->kind == vyn::skQuantitative) return i;
    return -1;
}

}  // namespace

int Shoot(int& argc, char** argv, const std::string& root, const std::string& which, const std::string& out)
{
    vyn::vynwApp app("Vyn32", argc, argv, "", "");
    app.InitMainWindow();
    vyn::RwMainWindow* frame = app.GetMainFrame();
    frame->Create();
    const bool small = which == "main-menus";
    frame->MoveWindow(0, 0, which == "main-window" ? 1100 : small ? 900 : 1000, which == "main-window" ? 720 : small ? 420 : 680);
    frame->ShowWindow(1);
    auto* doc = dynamic_cast<vyn::QDoc*>(app.OpenPlate(root + "/data/Demo.plt"));
    if (!doc) return 1;
    if (which == "main-window") {
        app.ShowView("Samples");
        app.GetMDIClient()->TileChildren();
    } else {
        if (which == "view-sample-list") {
            if (auto* list = dynamic_cast<vyn::QLView*>(app.ShowView("Samples"))) list->SetSelIndex(1);
        } else if (which == "view-calibration-curve") {
            app.ShowView("Standard");
        } else if (which == "view-sample-graph") {
            app.ShowSampleView(FirstQuantitative(doc->GetPlate()));
        }
        // The plate view's frame takes the size the view fits it to; the others are made larger.
        if (which.rfind("view-", 0) == 0 && which != "view-plate-matrix" && !small)
            if (vyn::TMDIChild* child = app.GetMDIClient()->GetActiveMDIChild()) child->MoveWindow(0, 0, 760, 520);
    }
    int rc = 1;
    QTimer::singleShot(800, [&] {
        if (which == "plate-view-dilution" || which == "plate-view-renumber") {
            Click(vyn::gToolPalette, 2473);  // Layout
            if (which == "plate-view-dilution") {
                Click(vyn::gToolPalette, 2478);  // Standards
                Click(vyn::gToolBar, 2499);      // free style
            } else {
                Click(vyn::gToolPalette, 2482);  // Renumber: the first number,
                // given to the sample clicked in C1; the button shows the next one.
                if (auto* view = dynamic_cast<vyn::QPView*>(vyn::gActiveView)) {
                    const vyn::TRect c1 = view->CellRect(0, 2);
                    vyn::ClickReaches(*view, (c1.left + c1.right) / 2, (c1.top + c1.bottom) / 2);
                    QApplication::processEvents();
                }
            }
        }
        std::string tip;
        // A window shows tool tips only while it is active; without a window manager nothing
        // activates it, so it is made active here.
        if (which == "tool-bar-tip") QApplication::setActiveWindow(frame->Widget()->window());
        if (which == "tool-bar-tip")
            if (vyn::TGadget* save = vyn::gToolBar ? vyn::gToolBar->GadgetWithId(24333) : nullptr) {
                const vyn::TRect r = save->GetBounds();
                tip = vyn::RestMouse(*vyn::gToolBar, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
            }
        if (which == "tool-bar-tip" && tip.empty()) std::fprintf(stderr, "no tool tip showed\n");
        const QPixmap shot = small ? WithMenusOpen(*frame->Widget())
                             : which == "tool-bar-tip" ? WithToolTip(*frame->Widget())
                                                       : frame->Widget()->grab();
        rc = shot.save(QString::fromStdString(out), "PNG") ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return rc;
}

