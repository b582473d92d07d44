// The "main-window" picture of vyn_screenshot, and the "view-..." pictures: the demo plate with
// one of its views active, so that the view's own menu and gadgets stand on the main window.
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/AppPaths.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/QDoc.h"
#include "plate/QSample.h"
#include "views/QLView.h"

// The program's main window in a fresh configuration with the demo plate open in the plate
// view and the sample list, the two frames side by side ("main-window"), or with one view active
// ("view-plate-matrix", "view-sample-list", "view-calibration-curve", "view-sample-graph").
int Shoot(int& argc, char** argv, const std::string& root, const std::string& which, const std::string& out);

int MainWindow(int& argc, char** argv, const std::string& out, const std::string& which)
{
    char tmpl[] = "/tmp/vyn-shot-XXXXXX";
    const std::string root = ::mkdtemp(tmpl) ? tmpl : "/tmp";
    ::setenv("VYN_CONFIG_DIR", (root + "/config").c_str(), 1);
    ::setenv("VYN_DATA_DIR", (root + "/data").c_str(), 1);
    vyn::InitAppPaths();
    vyn::InstallDemoData();
    int rc = Shoot(argc, argv, root, which, out);
    std::filesystem::remove_all(root);
    return rc;
}

namespace {

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
    frame->MoveWindow(0, 0, which == "main-window" ? 1100 : 1000, which == "main-window" ? 720 : 680);
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
        if (which != "view-plate-matrix")
            if (vyn::TMDIChild* child = app.GetMDIClient()->GetActiveMDIChild()) child->MoveWindow(0, 0, 760, 520);
    }
    int rc = 1;
    QTimer::singleShot(800, [&] {
        rc = frame->Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return rc;
}

