// Shows a named dialog with sample content and saves what the screen shows as a PNG.
//   xvfb-run -a -s "-screen 0 1280x1024x24" vyn_screenshot status-dialog OUT.png
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <memory>
#include <string>

#include "controls/QCalErrDlg.h"
#include "platform/gui/Application.h"
#ifdef VYN_SCREENSHOT_VIEWS
#include "PlateViewShot.h"
#include "document/QDoc.h"
#include "views/QPView.h"
#endif
#ifdef VYN_SCREENSHOT_APP
#include "app/QDescLst.h"
#include "app/QDlgDesc.h"
#include "platform/gui/ControlButton.h"
#include "app/QSelMet.h"
#include "document/QDoc.h"
#include "platform/gui/ControlListBox.h"
#include "document/LineReader.h"
#endif
#ifdef VYN_SCREENSHOT_METHOD_EDITORS
#include "calibration_dialogs/QCalDlg.h"
#include "method_editors/QAllPsh.h"
#include "method_editors/QWizzAll.h"
#endif
#ifdef VYN_SCREENSHOT_DESIGNER
#include "report_designer/DesignerDialogs.h"
#endif

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

#ifdef VYN_SCREENSHOT_VIEWS
// The demo plate in its plate matrix view, with the layout, identification, data and result
// layers shown and the keyboard cursor on B3.
int PlateView(const std::string& out, const std::string& plate)
{
    vyn::QDoc doc;
    vyn::QPView* view = ShowPlateView(doc, plate);
    if (!view) return 1;
    view->MoveWindow(40, 40, view->HeaderWidth * 2 + 12 * view->CellWidth, view->HeaderHeight * 2 + 8 * view->CellHeight);
    return ShootPlateView(view, out, [view] {
        view->SendMessage(vyn::WM_KEYDOWN, vyn::VK_RIGHT, 1);
        view->SendMessage(vyn::WM_KEYDOWN, vyn::VK_RIGHT, 1);
        view->SendMessage(vyn::WM_KEYDOWN, vyn::VK_DOWN, 1);
        view->SendMessage(vyn::WM_KEYDOWN, vyn::VK_RIGHT, 1);
    });
}
#endif

#ifdef VYN_SCREENSHOT_DESIGNER
// The designer's dialogs: the sections with the preview and a hint, duplicate objects for three
// boxes of row B, insert picture, sample simulation.
int DesignerDialog(const std::string& what, const std::string& out)
{
    using namespace vyn;
    std::unique_ptr<TDialog> dlg;
    if (what == "report-sections") {
        std::snprintf(gSectionFlags, sizeof gSectionFlags, "%s", "11011");
        dlg = std::make_unique<RPSecDlg>(nullptr);
    } else if (what == "duplicate-objects") {
        auto d = std::make_unique<QReplObj>(nullptr);
        d->objectCount = 3;
        d->gridMode = true;
        d->cellCount = 3;
        d->commonRow = 1;
        dlg = std::move(d);
    } else if (what == "insert-picture") {
        dlg = std::make_unique<QRInsertPictDlg>(nullptr);
    } else {
        dlg = std::make_unique<QRFakeSmpls>(nullptr);
    }
    int rc = 1;
    QTimer::singleShot(400, [&] {
        if (auto* sec = dynamic_cast<RPSecDlg*>(dlg.get())) sec->hintLine->OnFocus(sec->GetDlgItem(103), HTCLIENT);
        QTimer::singleShot(200, [&] {
            rc = dlg->Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            dlg->CloseWindow(IDCANCEL);
        });
    });
    if (auto* pict = dynamic_cast<QRInsertPictDlg*>(dlg.get())) pict->Execute();
    else dlg->Execute();
    return rc;
}
#endif

#ifdef VYN_SCREENSHOT_APP
// "Select a method" over the demo library, the second method chosen.
int SelectMethod(const std::string& out)
{
    vyn::QSelMet dlg(nullptr, vyn::QSelMet::kSelectId, vyn::QMetod(VYN_DEMO_LIBRARY));
    vyn::LineReader reader;
    dlg.Reader = &reader;
    int rc = 1;
    QTimer::singleShot(400, [&] {
        if (auto* list = dynamic_cast<vyn::TListBox*>(dlg.GetDlgItem(101))) list->UserSelect(1);
        QTimer::singleShot(200, [&] {
            rc = dlg.Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            dlg.SendCommand(vyn::IDCANCEL);
        });
    });
    dlg.Execute();
    return rc;
}

// "Method List Updates" over the demo library: the first method marked for deletion, the
// second renamed, so that the three row markers show.
int MethodUpdates(const std::string& out)
{
    vyn::QSelMet dlg(nullptr, vyn::QSelMet::kUpdateId, vyn::QMetod(VYN_DEMO_LIBRARY));
    int rc = 1;
    QTimer::singleShot(400, [&] {
        dlg.Library().Rename(1, dlg.Library().Entries()[1].name + " (renamed)", "");
        if (auto* list = dynamic_cast<vyn::TListBox*>(dlg.GetDlgItem(101))) list->UserSelect(0);
        dlg.SendCommand(106);
        QTimer::singleShot(200, [&] {
            rc = dlg.Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            dlg.SendCommand(vyn::IDCANCEL);
        });
    });
    dlg.Execute();
    return rc;
}

// "Sample Names" over the demo plate's descriptors and two controls that no well uses yet, on
// the controls page with one of those selected.
int SampleNames(const std::string& out)
{
    vyn::QDoc doc;
    doc.SetDocPath(VYN_DEMO_PLATE_FILE);
    if (!doc.InitDoc()) return 1;
    vyn::QPlate& p = doc.GetPlate();
    p.descs.push_back(std::make_unique<vyn::QDesc>(1, "NC", vyn::TColor(0, 0, 255), "Negative control"));
    p.descs.push_back(std::make_unique<vyn::QDesc>(1, "PC", vyn::TColor(255, 0, 0), "Positive control"));
    p.MarkUsedDescriptors();
    vyn::QDlgDesc dlg(nullptr, p.descs);
    int rc = 1;
    QTimer::singleShot(400, [&] {
        if (auto* list = dlg.PageList(0)) list->UserSelect(1);
        QTimer::singleShot(200, [&] {
            rc = dlg.Widget()->grab().save(QString::fromStdString(out), "PNG") ? 0 : 1;
            dlg.SendCommand(vyn::IDCANCEL);
        });
    });
    dlg.Execute();
    return rc;
}
#endif

#ifdef VYN_SCREENSHOT_METHOD_EDITORS
// Grabs the dialog once it is shown and ends it.
int ShootDialog(vyn::TDialog& dlg, const std::string& out)
{
    int rc = 1;
    QTimer::singleShot(400, [&] {
        QPixmap shot = dlg.Widget()->grab();
        rc = shot.save(QString::fromStdString(out), "PNG") ? 0 : 1;
        dlg.CloseWindow(vyn::IDCANCEL);
    });
    dlg.Execute();
    return rc;
}

// The method sheet of the demo plate on its Curve-fit page, or the Calibration dialog.
int MethodEditor(const std::string& what, const std::string& out)
{
    vyn::QDoc doc;
    doc.SetDocPath(VYN_DEMO_PLATE);
    if (!doc.InitDoc()) return 1;
    doc.CalculatePlate();
    vyn::QPlate& p = doc.GetPlate();
    if (what == "curve-fit-dialog") {
        vyn::QCalDlg dlg(nullptr);
        dlg.cal = &p.calibr;
        return ShootDialog(dlg, out);
    }
    if (what == "method-wizard-pages") {
        // Categories and their presentation filled in, so that every page has something to show.
        vyn::QWizzAll wiz(nullptr, &p);
        wiz.calibration = &p.calibr;
        wiz.st.calculations = p.calculations.definitions;
        wiz.st.calculations.push_back({"Thr1", "20"});
        wiz.st.calculations.push_back({"Thr2", "60"});
        wiz.st.evaluations = p.globalQualDef;
        wiz.st.evaluations.push_back({"ValCmp", "conc"});
        wiz.st.evaluations.push_back({"color", "category(\"RGB(0,128,0)\",Thr1,\"noc\",Thr2,\"RGB(255,0,0)\",ValCmp,\"noc\")"});
        wiz.st.evaluations.push_back({"ShortResult", "category(\"-\",Thr1,\"?\",Thr2,\"+\",ValCmp,\" \")"});
        wiz.st.evaluations.push_back({"CategResult", "category(\"negative\",Thr1,\"grey zone\",Thr2,\"positive\",ValCmp,\"no value\")"});
        wiz.st.evaluations.push_back({"_ConcFmt", "str(conc,4,\"G\",0,2)"});
        wiz.st.evaluations.push_back({"LongResult", "CategResult+\" (\"+_ConcFmt+\" ng/ml)\""});
        wiz.st.validations = p.validations.definitions;
        wiz.st.measFilter = 450;
        int rc = 1;
        QTimer::singleShot(400, [&] {
            rc = 0;
            for (int page = 0; page < wiz.GetPageCount(); ++page) {
                if (wiz.GetActiveIndex() != page) wiz.SetActivePage(page);
                QApplication::processEvents();
                const std::string file = out + "/wizard-" + std::to_string(page + 1) + ".png";
                if (!wiz.Widget()->grab().save(QString::fromStdString(file), "PNG")) rc = 1;
            }
            wiz.CloseWindow(vyn::IDCANCEL);
        });
        wiz.Execute();
        return rc;
    }
    vyn::gMethodSheetPage = vyn::QAllPsh::pgCurveFit;
    vyn::QAllPsh sheet(nullptr, &p);
    sheet.calibration = &p.calibr;
    sheet.dilutions = {1, 2, 4};
    sheet.calculations = p.calculations.definitions;
    sheet.evaluations = p.globalQualDef;
    sheet.validations = p.validations.definitions;
    if (what == "method-sheet-pages") {
        sheet.measurementFilter = 450;
        int rc = 1;
        QTimer::singleShot(400, [&] {
            rc = 0;
            for (int page = 0; page < vyn::QAllPsh::pgCount; ++page) {
                sheet.SelectPage(page);
                QApplication::processEvents();
                const std::string file = out + "/sheet-" + std::to_string(page + 1) + ".png";
                if (!sheet.Widget()->grab().save(QString::fromStdString(file), "PNG")) rc = 1;
            }
            sheet.CloseWindow(vyn::IDCANCEL);
        });
        sheet.Execute();
        return rc;
    }
    return ShootDialog(sheet, out);
}
#endif

}  // namespace

#ifdef VYN_SCREENSHOT_APP
// In a file of its own: the shell's headers and the report model's cannot meet in one file.
int MainWindow(int& argc, char** argv, const std::string& out, const std::string& which);
// The designer inside the main window, in a file of its own for the same reason.
int DesignerInMainWindow(int& argc, char** argv, const std::string& out);
int PlateShot(int& argc, char** argv, const std::string& out, const std::string& which);
#endif

int main(int argc, char** argv)
{
    const std::string what = argc >= 3 ? argv[1] : "";
#ifdef VYN_SCREENSHOT_VIEWS
    if (what == "plate-view") {
        vyn::TApplication app(argc, argv);
        return PlateView(argv[2], argc >= 4 ? argv[3] : VYN_DEMO_PLATE);
    }
#endif
#ifdef VYN_SCREENSHOT_APP
    if (what == "select-method") {
        vyn::TApplication app(argc, argv);
        return SelectMethod(argv[2]);
    }
    if (what == "method-updates") {
        vyn::TApplication app(argc, argv);
        return MethodUpdates(argv[2]);
    }
    if (what == "main-window" || what == "main-menus" || what.rfind("view-", 0) == 0 || what == "tool-bar-tip" ||
        what.rfind("plate-view-", 0) == 0)
        return MainWindow(argc, argv, argv[2], what);
    if (what == "sample-names") {
        vyn::TApplication app(argc, argv);
        return SampleNames(argv[2]);
    }
#endif
#ifdef VYN_SCREENSHOT_METHOD_EDITORS
    if (what == "method-sheet" || what == "curve-fit-dialog" || what == "method-sheet-pages" ||
        what == "method-wizard-pages") {
        vyn::TApplication app(argc, argv);
        return MethodEditor(what, argv[2]);
    }
#endif
#ifdef VYN_SCREENSHOT_APP
    if (what == "report-designer") return DesignerInMainWindow(argc, argv, argv[2]);
    if (what == "frame-caption" || what == "select-calibration" || what == "report-preview")
        return PlateShot(argc, argv, argv[2], what);
#endif
#ifdef VYN_SCREENSHOT_DESIGNER
    if (what == "report-sections" || what == "duplicate-objects" || what == "insert-picture" ||
        what == "sample-simulation") {
        vyn::TApplication app(argc, argv);
        return DesignerDialog(what, argv[2]);
    }
#endif
    if (argc != 3 || what != "status-dialog") {
        std::fprintf(stderr, "usage: vyn_screenshot status-dialog|main-window|main-menus|tool-bar-tip|plate-view-dilution|plate-view-renumber|view-plate-matrix|view-sample-list|view-calibration-curve|view-sample-graph|plate-view|select-method|method-updates|sample-names|report-designer|frame-caption|select-calibration|report-preview|report-sections|duplicate-objects|insert-picture|sample-simulation OUT.png [PLATE]\n");
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
