#include "app/ReportCommands.h"

#include "app/AppGlobals.h"
#include "app/AppHelp.h"
#include "app/RwMainWindow.h"
#include "app/vynwApp.h"
#include "app/vynwMDI.h"
#include "document/DocShell.h"
#include "document/QDoc.h"
#include "method_editors/CtxWzDlg.h"
#include "platform/core/DocManager.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/MsgBox.h"
#include "printing/AStpPgDlg.h"
#include "printing/PageSettings.h"
#include "printing/RWPrinter.h"
#include "printing/TRwPreview.h"
#include "report_designer/DesignerDialogs.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/QRepViewShell.h"
#include "report_designer/RPListDialogs.h"
#include "report_designer/RPPrintDialogs.h"
#include "reports/QRepDoc.h"
#include "reports/RPReport.h"
#include "reports/ReportStrings.h"
#include "reports/paint/APrintOutReport.h"

namespace vyn {

namespace {

constexpr int kStrSimulated = 7925;
constexpr int kStrOpenFilter = 7926;
constexpr int kStrReportFilter = 7927;
constexpr int kStrSaveReport = 7928;
constexpr char kReportTemplate[] = "Report";

bool PrinterReady(vynwApp& app) { return app.GetPrinter() && app.GetPrinter()->GetError() == peNone; }

TDocTemplate* ReportTemplate(vynwApp& app) { return app.GetDocManager().FindTemplate(kReportTemplate); }

// Prints the report, or shows it in the preview, with the "Report" page settings. The preview
// keeps the layout it made first while it is open, so a run without a plate asks for its
// sample numbers once.
void RunReport(vynwApp& app, RPReport& report, bool preview)
{
    APrintOutReport out(report, preview);
    if (preview) RunPrintPreview(app.GetMainFrame(), out, app.GetPrinter());
    else app.GetPrinter()->Print(app.GetMainFrame(), out, true);
}

// "&Report print..." and "Report pre&view...": a report of the library or of an open report
// document over the current plate.
void ReportThePlate(vynwApp& app, bool preview)
{
    QDoc* doc = gCurrentDoc;
    if (!doc || !PrinterReady(app)) return;
    RPPrnPlate dlg(app.GetMainFrame(), preview ? 1 : 0, app.GetDocManager());
    dlg.AssociatedName = doc->GetPlate().reportDef;
    const int r = dlg.Execute();
    if (r == 105) {
        doc->SetReportDefinition(dlg.AssociatedName);
        return;
    }
    if (r != IDOK) return;
    RPReport fromLibrary;
    RPReport* report = dlg.ChosenReport;
    if (!report) {
        if (dlg.ReadChosen(fromLibrary) != 0) {
            MessageBox(app.GetMainFrame(), GetResStringStd(kStrCannotRead), "", MB_OK);
            return;
        }
        report = &fromLibrary;
    }
    if (dlg.UseInFuture()) doc->SetReportDefinition(dlg.AssociatedName);
    // An open report document goes back to the plate its designer chose.
    QPlate* plate = report->Plate();
    QDoc* plateDoc = report->Doc();
    report->SetRunSource(&doc->GetPlate(), doc);
    RunReport(app, *report, preview);
    report->SetRunSource(plate, plateDoc);
}

void NewReport(vynwApp& app)
{
    TDocTemplate* tpl = ReportTemplate(app);
    if (!tpl) return;
    // The sections are chosen before the designer exists: the dialog stands over no half-made
    // designer, and a cancelled choice leaves no document behind. The dialog starts from the
    // sections chosen last.
    RPSecDlg sections(app.GetMainFrame());
    if (sections.Execute() != IDOK) return;
    TDocManager& docs = app.GetDocManager();
    auto* doc = dynamic_cast<QRepDoc*>(docs.CreateDoc(*tpl, {}, dtNewDoc | dtNoAutoView));
    if (!doc) return;
    for (int i = 0; i < 5; ++i) doc->Report().Band(i).SetEnabled(gSectionFlags[i] == '1');
    docs.CreateView(*tpl, *doc);
}

void EditLibraryReport(vynwApp& app, const RPManDlg& dlg)
{
    TDocTemplate* tpl = ReportTemplate(app);
    if (!tpl) return;
    TDocManager& docs = app.GetDocManager();
    auto* doc = dynamic_cast<QRepDoc*>(docs.CreateDoc(*tpl, {}, dtNewDoc | dtNoAutoView));
    if (!doc) return;
    if (dlg.ReadChosen(doc->Report()) != 0) {
        MessageBox(app.GetMainFrame(), GetResStringStd(kStrCannotRead), "", MB_OK);
        docs.CloseDoc(*doc);
        return;
    }
    doc->libraryEntry = dlg.EntryOffset;
    doc->libraryStream = dlg.ChosenEntry().stream;
    docs.CreateView(*tpl, *doc);
}

void CmReports(vynwApp& app)
{
    RPManDlg dlg(app.GetMainFrame());
    switch (dlg.Execute()) {
    case 104: NewReport(app); break;
    case 105: EditLibraryReport(app, dlg); break;
    default: break;
    }
}

// The designer that asked for a page setup, a print or a preview is the active child again, with
// its menu and gadgets: hiding its attribute window, the dialogs and the preview standing in for
// the main window can each hand the activation to another child.
void ActivateDesignerOf(vynwApp& app, QRepView& v)
{
    vynwMDIClient* client = app.GetMDIClient();
    if (!client) return;
    for (TMDIChild* c : client->Children())
        if (auto* pane = dynamic_cast<QRPDesignerPane*>(c->GetClientWindow()); pane && &pane->View() == &v) {
            if (client->GetActiveMDIChild() != c) client->ActivateChild(*c);
            return;
        }
}

// The hooks outlive any one application object: they reach the running one through gApp.
void BindDesignerHooks()
{
    QRepViewShell& s = GetRepViewShell();
    s.pageSetup = [](QRepView& v) {
        if (!gApp) return;
        ActivateDesignerOf(*gApp, v);
        RunPageSetup(gApp->GetMainFrame(), pkReport, gApp->GetPrinter());
        ActivateDesignerOf(*gApp, v);
    };
    auto runOver = [](QRepView& v, bool preview) {
        if (!gApp || !PrinterReady(*gApp)) return;
        ActivateDesignerOf(*gApp, v);
        RunReport(*gApp, v.Report(), preview);
        ActivateDesignerOf(*gApp, v);
    };
    s.print = [runOver](QRepView& v) { runOver(v, false); };
    s.preview = [runOver](QRepView& v) { runOver(v, true); };
    s.plateDocumentOpen = [] { return gApp && !OpenPlateDocs(gApp->GetDocManager()).empty(); };
    s.choosePrintSource = [](QRepView& v) {
        if (!gApp) return false;
        ActivateDesignerOf(*gApp, v);
        RPDefPrnDlg dlg(&v, gApp->GetDocManager());
        dlg.Plate = v.Report().Plate();
        if (dlg.Execute() != IDOK) return false;
        v.Report().SetRunSource(dlg.Plate, dlg.Document);
        return true;
    };
    s.saveInReportList = [](QRepView& v) {
        RPAddDlg dlg(&v);
        dlg.Name = v.Report().Name();
        dlg.Comment = v.Report().Description();
        dlg.LibraryPosition = v.Doc().libraryEntry;
        dlg.LibraryStream = v.Doc().libraryStream;
        if (dlg.Execute() != IDYES) return 0;
        v.Report().SetName(dlg.Name);
        v.Report().SetDescription(dlg.Comment);
        const int stored = dlg.StoreReport(v.Report());
        return stored == 0 ? 1 : stored == CRepList::kListFull ? -2 : stored == CRepList::kListChanged ? -3 : -1;
    };
    // The wizard lists the report's names and those of the first open plate; in an empty field
    // it starts the text with "=", which makes a text box's contents a formula.
    s.expressionWizard = [](QRepView&, TEdit& edit) {
        const std::vector<QDoc*> plates = gApp ? OpenPlateDocs(gApp->GetDocManager()) : std::vector<QDoc*>();
        RunExpressionWizard(edit, 7, plates.empty() ? nullptr : &plates.front()->GetPlate(), nullptr, nullptr, nullptr,
                            true);
    };
    s.help = [](int id) { HelpContext(id); };
    // A run without a plate lays the report out over simulated samples. Until a dialog asks for
    // their numbers, the user is told which numbers were taken.
    RPRunShell& run = GetRPRunShell();
    if (!run.fakeSamples)
        run.fakeSamples = [](int& fixed, int& sequential) {
            std::string message = GetResStringStd(kStrSimulated);
            for (int n : {fixed, sequential}) {
                const auto at = message.find("%d");
                if (at != std::string::npos) message.replace(at, 2, std::to_string(n));
            }
            MessageBox(gApp ? gApp->GetMainFrame() : nullptr, message, gApp ? gApp->GetName() : std::string(),
                       MB_OK | MB_ICONINFORMATION);
        };
}

}  // namespace

QRepView* ActiveReportView(vynwApp& app)
{
    vynwMDIClient* client = app.GetMDIClient();
    TMDIChild* child = client ? client->GetActiveMDIChild() : nullptr;
    auto* pane = child ? dynamic_cast<QRPDesignerPane*>(child->GetClientWindow()) : nullptr;
    return pane ? &pane->View() : nullptr;
}

TDocument* OpenReportFile(vynwApp& app, const std::string& path)
{
    TDocTemplate* tpl = ReportTemplate(app);
    if (!tpl) return nullptr;
    TDocManager& docs = app.GetDocManager();
    if (TDocument* open = docs.FindDocument(path)) return open;
    return docs.CreateDoc(*tpl, path, 0);
}

TDocument* OpenAnyFile(vynwApp& app, const std::string& path)
{
    TDocTemplate* tpl = app.GetDocManager().MatchTemplate(path);
    if (tpl && tpl == ReportTemplate(app)) return OpenReportFile(app, path);
    return app.OpenPlate(path);
}

std::string OpenFileFilter() { return GetResStringStd(kStrOpenFilter); }

bool AskReportPath(vynwApp& app, const TDocument& doc, std::string& path)
{
    return GetSaveFileName(app.GetMainFrame(), GetResStringStd(kStrSaveReport), GetResStringStd(kStrReportFilter), "qrp",
                           path, &doc);
}

bool SaveActiveReport(vynwApp& app, bool askPath)
{
    QRepView* view = ActiveReportView(app);
    if (!view) return false;
    QRepDoc& doc = view->Doc();
    if (!askPath && doc.HasDocPath()) {
        app.GetDocManager().SaveToItsFile(doc);
        return true;
    }
    std::string path = doc.GetDocPath();
    if (!AskReportPath(app, doc, path)) return true;
    const std::string old = doc.GetDocPath(), oldTitle = doc.GetTitle();
    doc.SetDocPath(path);
    // Saved under a new name, the report is known by its file, as one opened from it is.
    doc.SetTitle(DocTitleOf(path));
    if (!doc.Commit(true)) {
        doc.SetDocPath(old);
        doc.SetTitle(oldTitle);
    } else {
        app.ShowDocFile(doc);
    }
    return true;
}

void InstallReportCommands(vynwApp& app)
{
    BindDesignerHooks();
    app.OnCommand(CM_REPORTS, [&app] { CmReports(app); });
    app.OnCommand(CM_REPORTPRINT, [&app] { ReportThePlate(app, false); });
    app.OnCommand(CM_REPORTPREVIEW, [&app] { ReportThePlate(app, true); });
    app.OnCommandEnable(CM_REPORTS, [](TCommandEnabler& ce) { ce.Enable(true); });
    auto plateReport = [&app](TCommandEnabler& ce) { ce.Enable(gCurrentDoc != nullptr && PrinterReady(app)); };
    app.OnCommandEnable(CM_REPORTPRINT, plateReport);
    app.OnCommandEnable(CM_REPORTPREVIEW, plateReport);
    // The designer view handles "Save in report list ..." through the hook bound above.
    app.OnCommandEnable(cmRepSaveInList, [](TCommandEnabler& ce) { ce.Enable(true); });
    // A report designer's document is saved and closed with the plate's "Save", "Save As" and
    // "Close".
    auto plateOrReport = [&app](TCommandEnabler& ce) { ce.Enable(gCurrentDoc != nullptr || ActiveReportView(app) != nullptr); };
    for (unsigned id : {CM_FILESAVE, CM_FILESAVEAS, CM_FILECLOSE}) app.OnCommandEnable(id, plateOrReport);
}

}  // namespace vyn
