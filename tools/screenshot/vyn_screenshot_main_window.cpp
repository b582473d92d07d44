// The "main-window" picture of vyn_screenshot.
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

// The program's main window in a fresh configuration with the demo plate open in the plate
// view and the sample list, the two frames side by side.
int Shoot(int& argc, char** argv, const std::string& root, const std::string& out);

int MainWindow(int& argc, char** argv, const std::string& out)
{
    char tmpl[] = "/tmp/vyn-shot-XXXXXX";
    const std::string root = ::mkdtemp(tmpl) ? tmpl : "/tmp";
    ::setenv("VYN_CONFIG_DIR", (root + "/config").c_str(), 1);
    ::setenv("VYN_DATA_DIR", (root + "/data").c_str(), 1);
    vyn::InitAppPaths();
    vyn::InstallDemoData();
    int rc = Shoot(argc, argv, root, out);
    std::filesystem::remove_all(root);
    return rc;
}

int Shoot(int& argc, char** argv, const std::string& root, const std::string& out)
{
    vyn::vynwApp app("Vyn32", argc, argv, "", "");
    app.InitMainWindow();
    vyn::RwMainWindow* frame = app.GetMainFrame();
    frame->Create();
    frame->MoveWindow(0, 0, 1100, 720);
    frame->ShowWindow(1);
    if (!app.OpenPlate(root + "/data/Demo.plt")) return 1;
    app.ShowView("Samples");
    app.GetMDIClient()->TileChildren();
    int rc = 1;
    QTimer::singleShot(800, [&] {
        rc = frame->Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
        QApplication::quit();
    });
    QApplication::exec();
    return rc;
}

