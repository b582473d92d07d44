// The "report-designer" picture of vyn_screenshot: the program's main window with the demo plate
// open and a small report in the designer in front of it, so that the designer's menu stands on
// the menu bar, its gadgets on the two bars, and its attribute window is open beside it.
#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>

#include "AppShot.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "platform/core/DocManager.h"
#include "report_designer/AttrControls.h"
#include "report_designer/AttrGlobals.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "reports/QRepDoc.h"
#include "reports/RPObjectTextBox.h"
#include "reports/RPReport.h"
#include "reports/RPSection.h"
#include "reports/RPShapes.h"

namespace {

using namespace vyn;

std::unique_ptr<RPObject> TextBox(int l, int t, int w, int h, const char* contents, bool border)
{
    auto o = RPObject::Create(otTextBox);
    o->PlaceTwips(l, t, w, h);
    static_cast<RPObjectTextBox*>(o.get())->StoreContents(contents);
    if (border) o->StoreStyles(1, 1, 0, 0);
    return o;
}

// A title in the page header, the plate's name and a rule in the report header, the
// identification, concentration and a frame in the detail band, the curve in the report footer
// and the page number in the page footer. Returns the concentration box.
RPObject* FillReport(RPReport& report)
{
    report.SetName("Plate summary");
    report.Band(bandPageHeader).StoreHeight(540);
    report.Band(bandPageHeader).AddObject(TextBox(0, 90, 2880, 270, "Vyn immunoassay report", false));
    report.Band(bandReportHeader).StoreHeight(900);
    report.Band(bandReportHeader).AddObject(TextBox(0, 90, 4320, 360, "=\"Plate \" + filename", true));
    auto rule = RPObject::Create(otLine);
    rule->PlaceTwips(0, 630, 7200, 0);
    report.Band(bandReportHeader).AddObject(std::move(rule));
    report.Band(bandDetail).StoreHeight(720);
    report.Band(bandDetail).AddObject(TextBox(180, 180, 1440, 270, "=id", false));
    RPObject* conc = report.Band(bandDetail).AddObject(TextBox(1800, 180, 1800, 270, "=conc", true));
    auto frame = RPObject::Create(otRectangle);
    frame->PlaceTwips(90, 90, 5400, 450);
    report.Band(bandDetail).AddObject(std::move(frame));
    auto graph = RPObject::Create(otGraph);
    graph->PlaceTwips(2880, 90, 3600, 1800);
    report.Band(bandReportFooter).StoreHeight(2070);
    report.Band(bandReportFooter).AddObject(std::move(graph));
    report.Band(bandPageFooter).StoreHeight(450);
    report.Band(bandPageFooter).AddObject(TextBox(6120, 90, 1440, 270, "=\"Page \" + page", false));
    return conc;
}

// The main window and, beside it where the program places it, the attribute window, as the
// screen shows them.
QPixmap Screen(QWidget& main)
{
    QWidget* attr = QRAttrGlobals::gAttrFrame ? QRAttrGlobals::gAttrFrame->Widget() : nullptr;
    if (!attr || !attr->isVisible()) return main.grab();
    QRect all = main.frameGeometry().united(attr->frameGeometry());
    if (QScreen* screen = main.screen()) {
        const QPixmap shot = screen->grabWindow(0, all.x(), all.y(), all.width(), all.height());
        if (!shot.isNull()) return shot;
    }
    // Without a window manager's screen: the two windows painted where they stand.
    QPixmap pm(all.size());
    pm.fill(Qt::black);
    QPainter p(&pm);
    p.drawPixmap(main.geometry().topLeft() - all.topLeft(), main.grab());
    p.drawPixmap(attr->geometry().topLeft() - all.topLeft(), attr->grab());
    return pm;
}

int Shoot(int& argc, char** argv, const std::string& root, const std::string& out)
{
    vynwApp app("Vyn32", argc, argv, "", "");
    app.InitMainWindow();
    RwMainWindow* main = app.GetMainFrame();
    main->Create();
    main->MoveWindow(0, 0, 1100, 760);
    main->ShowWindow(1);
    if (!app.OpenPlate(root + "/data/Demo.plt")) return 1;

    TDocManager& docs = app.GetDocManager();
    TDocTemplate* tpl = docs.FindTemplate("Report");
    auto* doc = tpl ? dynamic_cast<QRepDoc*>(docs.CreateDoc(*tpl, {}, dtNewDoc | dtNoAutoView)) : nullptr;
    if (!doc) return 1;
    RPObject* conc = FillReport(doc->Report());
    docs.CreateView(*tpl, *doc);
    TMDIChild* frame = app.GetMDIClient()->GetActiveMDIChild();
    auto* pane = frame ? dynamic_cast<QRPDesignerPane*>(frame->GetClientWindow()) : nullptr;
    if (!pane) return 1;
    frame->MoveWindow(0, 0, 740, 600);
    QRepView& view = pane->View();
    view.SetFocus();
    view.SelectObject(conc);
    // The user's "Attributes" gadget: the window opens for the selected box.
    view.SendCommand(7118);
    int rc = 1;
    QTimer::singleShot(800, [&] {
        rc = Screen(*main->Widget()).save(QString::fromStdString(out), "PNG") ? 0 : 1;
        doc->SetDirty(false);
        // Not quit(): that asks every window to close, and the attribute window only hides.
        QApplication::exit(0);
    });
    QApplication::exec();
    return rc;
}

}  // namespace

int DesignerInMainWindow(int& argc, char** argv, const std::string& out)
{
    return InFreshInstallation(out, [&](const std::string& root, const std::string& picture) {
        return Shoot(argc, argv, root, picture);
    });
}
