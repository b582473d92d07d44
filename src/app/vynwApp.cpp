#include "app/vynwApp.h"

#include <unistd.h>

#include "app/AppGlobals.h"
#include "app/AppHelp.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/BlankFormula.h"
#include "app/QAppDlg.h"
#include "app/QChView.h"
#include "app/StartupChecks.h"
#include "app/vynwAboutDlg.h"
#include "app/QPViewGadgets.h"
#include "app/QSelMet.h"
#include "app/ShellDialogChain.h"
#include "app/ShellDocDialogs.h"
#include "app/QPictButtGadget.h"
#include "app/RwMainWindow.h"
#include "app/TMyControlBar.h"
#include "app/TMyStatusBar.h"
#include "app/TMySwitchTG.h"
#include "controls/QCalErrDlg.h"
#include "app/vynwMDI.h"
#include "calibration_dialogs/InvCalDlg.h"
#include "document/NewPlate.h"
#include "method_editors/CtxWzDlg.h"
#include "document/QDoc.h"
#include "document/MethodPaths.h"
#include "document/QMetod.h"
#include "plate/Profile.h"
#include "platform/core/ProfileFile.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/MsgBox.h"
#include "printing/PageFurniture.h"
#include "printing/PageSettings.h"
#include "printing/RWPrinter.h"
#include "platform/gui/ModalLoop.h"
#include "report_designer/RPPrintDialogs.h"
#include "printing/APrintOut.h"
#include "report_designer/AttrEditor.h"
#include "report_designer/DesignerDialogs.h"
#include "app/ReportFrame.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "report_designer/ReportTemplate.h"
#include "app/ReportCommands.h"
#include "reports/QRepDoc.h"
#include "reports/paint/RPScreenFont.h"
#include "printing/AStpPgDlg.h"
#include "printing/QMethodSummaryPrintout.h"
#include "printing/TRwPreview.h"
#include "readers/QCommSettings.h"
#include "readers/QFoto.h"
#include "readers/ReaderStrings.h"
#include "reader_dialogs/MeasureCommand.h"
#include "reader_dialogs/QComSetupDlg.h"
#include "reader_dialogs/QFltDlg.h"
#include "reader_dialogs/ReaderOptionsDlgs.h"
#include "reader_dialogs/ReaderRunner.h"
#include "views/QLView.h"
#include "views/QNView.h"
#include "views/QPView.h"
#include "views/QSView.h"
#include "views/ViewShell.h"

namespace vyn {

vynwApp* gApp = nullptr;

namespace {

constexpr int kMsgSettingsNotUsed = 21088;

// The file dialogs make the chosen file's folder current, so the next dialog opens there and
// the exit keeps it as the data folder of the next start.
void FollowChosenFolder(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return;
    const std::string dir = slash == 0 ? "/" : path.substr(0, slash);
    if (::chdir(dir.c_str()) != 0) return;
}

// A name typed without its folder lies in the current one.
std::string WholePath(const std::string& path)
{
    if (path.empty() || path[0] == '/') return path;
    return JoinPath(CurrentDirectory(), path);
}

// The "Status" dialog as the plate document's status report.
class ShellStatusReport final : public IStatusReport {
public:
    explicit ShellStatusReport(TWindow* parent) : parent_(parent), dlg_(std::make_unique<QCalErrDlg>(parent, false)) {}
    void SetTitle(const std::string& t) override { dlg_->SetTitle(t); }
    void AddEntry(const std::string& n, const std::string& t) override { dlg_->AddEntry(n, t); }
    void AddErrorDetail(const std::string& n, const std::string& t, const std::string& d) override
    {
        dlg_->AddErrorDetail(n, t, d);
    }
    void AddMessage(const std::string& t) override { dlg_->AddMessage(t); }
    void AddBlankLine() override { dlg_->AddBlankLine(); }
    int Run() override
    {
        // The user gets the normal cursor while the dialog waits for an answer.
        if (gStatusBar) gStatusBar->SuspendBusy();
        int r = dlg_->Execute();
        if (gStatusBar) gStatusBar->ResumeBusy();
        if (!keep_) dlg_ = std::make_unique<QCalErrDlg>(parent_, false);  // the next report shows only its own lines
        return r;
    }
    void KeepEarlierLines() override
    {
        keep_ = true;
        dlg_->KeepEntries = true;
    }

private:
    TWindow* parent_;
    std::unique_ptr<QCalErrDlg> dlg_;
    bool keep_ = false;
};

// Settings that did not reach the settings file are gone at the next start: the user hears it
// now, while the values can still be noted down.
void TellSettingsNotKept(TWindow* parent)
{
    MessageBox(parent, SettingsNotKeptText(), GetResStringStd(kMsgSettingsCaption), MB_OK | MB_ICONEXCLAMATION);
}

const TFont& BarFont()
{
    static const TFont font("Arial", -13);  // 10 points
    return font;
}

}  // namespace

vynwApp::vynwApp(const std::string& name, int& argc, char** argv, const std::string& commandLine,
                 const std::string& handOverName, int show)
    : TApplication(argc, argv), showState(show), name_(name), commandLine_(commandLine), handOverName_(handOverName)
{
    gApp = this;
    LoadAppSettings(GetAppSettings(), showState);
    docManager_ = std::make_unique<TDocManager>();
    RegisterTemplates();
    docManager_->onViewCreated = [this](TView& v) { EvNewView(v); };
    docManager_->onViewDestroyed = [this](const TView* v) { EvViewDestroyed(v); };
    docManager_->onAskSave = [this](TDocument& doc) {
        std::string title = doc.HasDocPath() ? doc.GetDocPath() : doc.GetTitle();
        int a = MessageBox(frame_, FormatWithArg(GetResString(21091), title.c_str()), name_,
                           MB_YESNOCANCEL | MB_ICONQUESTION);
        return a == IDYES ? TDocManager::SaveAnswer::Save
                          : (a == IDNO ? TDocManager::SaveAnswer::Discard : TDocManager::SaveAnswer::Cancel);
    };
    docManager_->onAskSavePath = [this](TDocument& doc) {
        // Each kind of document gets its own dialog, filter and ending: a report written under
        // a plate's would be a file that neither kind can open again.
        std::string path;
        const bool chosen = dynamic_cast<QRepDoc*>(&doc)
                                ? AskReportPath(*this, doc, path)
                                : GetSaveFileName(frame_, GetResStringStd(21094), GetResStringStd(21092), "plt", path, &doc);
        return chosen ? WholePath(path) : std::string();
    };
    // Every name the user gives a file to be written goes through one check, in the save and
    // print dialogs before they ask whether to replace the file, and again for the close
    // question's save.
    docManager_->AddProgramFile(kMsgMethodLibraryTarget, [] { return GetMtwFilePath(); });
    docManager_->AddProgramFile(kMsgReportLibraryTarget, [] { return GetMrwFilePath(); });
    docManager_->AddProgramFile(kMsgSettingsTarget, [] { return ProfileFile::ResolvePath(kProfileName); });
    docManager_->onWriteRefused = [this](const std::string&, const TDocManager::WriteRefusal& why) { TellWriteRefused(why); };
    SetWriteNameCheck([this](const std::string& path, const TDocument* saving) { return docManager_->MayWrite(path, saving); });
    docManager_->onDocRenamed = [this](TDocument& doc) { ShowDocFile(doc); };
    settingsNotUsed_ = LoadPrintSettings(kProfileName);
    printer_ = std::make_unique<RWPrinter>();
    SetPreviewPrinter(printer_.get());
    BindDocShell();
    BindViewShell();
    // The method pages' edits open the expression wizard through the shell's edit control.
    InstallExpressionWizard();
    // Report views: their attribute editor and the screen fonts they draw with.
    QRAttrDlg::InstallViewHooks();
    InstallDesignerDialogs();
    InstallReportScreenFonts();
    // The reader: the port text first, since a driver locks the choices its reader cannot use.
    // Without a configured reader the simulated one answers.
    InstallReaderOptionsDialogs();
    if (!gCommSettings.SetSettingsText(GetAppSettings().port.c_str()))
        gCommSettings.SetSettingsText(GetResStringStd(idsDefaultPortText).c_str());
    gReaderType = static_cast<std::uint8_t>(GetAppSettings().readerType);
    gReaderSubType = static_cast<std::uint8_t>(GetAppSettings().readerSubType);
    if (!gReader) CreateReaderDriver();
    for (std::string& entry : TakeFilterTableNotKept()) settingsNotUsed_.push_back(std::move(entry));

    OnCommand(CM_FILENEW, [this] { CmNewPlate(); });
    OnCommand(CM_FILEOPEN, [this] { CmFileOpen(); });
    OnCommand(CM_FILESAVE, [this] { CmFileSave(); });
    OnCommand(CM_FILESAVEAS, [this] { CmFileSaveAs(); });
    OnCommand(CM_FILECLOSE, [this] { CmFileClose(); });
    OnCommand(CM_EXIT, [this] { CmExit(); });
    OnCommand(CM_CALCULATE, [this] { CmCalculate(); });
    OnCommand(CM_HELPCONTENTS, [] { HelpContents(); });
    OnCommand(CM_HELPUSING, [] { HelpOnHelp(); });
    OnCommand(CM_HELPCONTEXT, [] { HelpContext(kMainHelpContext); });
    OnCommand(CM_MODEBUTTON, [] { HelpContext(CM_MODEBUTTON); });
    OnCommand(CM_SHOWPLATE, [this] { ShowView("Plates"); });
    OnCommand(CM_SHOWLIST, [this] { ShowView("Samples"); });
    OnCommand(CM_SHOWCURVE, [this] { ShowView("Standard"); });
    auto withDlg = [this](auto fn) {
        return [this, fn] {
            if (!gCurrentDoc) return;
            ShellDialogChain dialogs(frame_, gCurrentDoc);
            fn(*gCurrentDoc, dialogs.Dialogs());
        };
    };
    OnCommand(CM_NAMES, withDlg([](QDoc& d, IDocDialogs& ui) { d.EditSampleNames(ui, 0); }));
    OnCommand(CM_METHODINFO, withDlg([](QDoc& d, IDocDialogs& ui) { d.EditMethodName(ui); }));
    OnCommand(CM_SHOWSTATUS, withDlg([](QDoc& d, IDocDialogs& ui) { d.ShowPlateSummary(ui); }));
    OnCommand(CM_CALCULATIONS, withDlg([](QDoc& d, IDocDialogs& ui) { d.RunMethodWizard(ui); }));
    OnCommand(CM_ADVANCEDCALC, [this] { CmAdvancedCalc(); });
    OnCommand(CM_DATAPRESENTATION, withDlg([](QDoc& d, IDocDialogs& ui) { d.EditDataPresentation(ui); }));
    OnCommand(CM_RESULTPRESENTATION, withDlg([](QDoc& d, IDocDialogs& ui) { d.EditResultPresentation(ui); }));
    OnCommand(CM_EXPORTRESULTS, withDlg([](QDoc& d, IDocDialogs& ui) {
        if (ExchangeAllowed()) d.ExportResults(ui);
    }));
    OnCommand(CM_IMPORTIDS, withDlg([](QDoc& d, IDocDialogs& ui) {
        if (ExchangeAllowed()) d.ImportIdentifications(ui);
    }));
    OnCommand(CM_CALIBRATE, [] {
        if (CalibrationPending()) gCurrentDoc->ApplyCalibration();
    });
    OnCommand(CM_CALIBRATION, [this] { CmCalibration(); });
    OnCommand(CM_APPLICATION, [this] { CmApplication(); });
    OnCommand(CM_PRINT, [this] { CmPrint(); });
    OnCommand(CM_SAVEASMETHOD, [this] { CmSaveAsMethod(); });
    OnCommand(CM_METHODS, [this] { QSelMet::Update(frame_); });
    auto always = [](TCommandEnabler& ce) { ce.Enable(true); };
    for (unsigned id : {CM_FILENEW, CM_FILEOPEN, CM_EXIT, CM_HELPCONTENTS, CM_HELPUSING, CM_HELPCONTEXT, CM_MODEBUTTON})
        OnCommandEnable(id, always);
    OnCommandEnable(CM_APPLICATION, always);
    OnCommandEnable(CM_METHODS, always);
    auto withDoc = [](TCommandEnabler& ce) { ce.Enable(gCurrentDoc != nullptr); };
    for (unsigned id : {CM_FILESAVE, CM_FILESAVEAS, CM_SHOWPLATE, CM_SHOWLIST, CM_SHOWCURVE, CM_NAMES,
                        CM_METHODINFO, CM_SHOWSTATUS, CM_CALCULATIONS, CM_ADVANCEDCALC, CM_DATAPRESENTATION,
                        CM_RESULTPRESENTATION, CM_CALIBRATION, CM_SAVEASMETHOD})
        OnCommandEnable(id, withDoc);
    OnCommandEnable(CM_EXPORTRESULTS, [](TCommandEnabler& ce) { ce.Enable(ExchangeAllowed()); });
    OnCommandEnable(CM_IMPORTIDS, [](TCommandEnabler& ce) { ce.Enable(ExchangeAllowed()); });
    OnCommandEnable(CM_CALIBRATE, [](TCommandEnabler& ce) { ce.Enable(CalibrationPending()); });
    OnCommandEnable(CM_PRINT, [this](TCommandEnabler& ce) {
        ce.Enable(printer_ && printer_->GetError() == peNone && dynamic_cast<APrintOut*>(gActiveView) != nullptr);
    });
    OnCommand(CM_MEASURE, [this] { CmMeasure(); });
    OnCommandEnable(CM_MEASURE, [](TCommandEnabler& ce) { ce.Enable(gCurrentDoc != nullptr && gReader != nullptr); });
    OnCommand(CM_COMMUNICATION, [this] { CmCommunication(); });
    OnCommandEnable(CM_COMMUNICATION, always);
    OnCommand(CM_PHOTOMETER, [this] { CmPhotometer(); });
    OnCommandEnable(CM_PHOTOMETER, [](TCommandEnabler& ce) { ce.Enable(gReader != nullptr); });
    OnCommand(CM_PREVIEW, [this] { CmPreview(); });
    OnCommand(CM_PAGESETUP, [this] { CmPageSetup(); });
    OnCommandEnable(CM_PREVIEW, [this](TCommandEnabler& ce) {
        ce.Enable(PrinterReady() && dynamic_cast<APrintOut*>(gActiveView) != nullptr);
    });
    OnCommandEnable(CM_PAGESETUP, [this](TCommandEnabler& ce) { ce.Enable(PrinterReady()); });
    // The report view's own print and preview commands: the view handles them, the printer
    // decides whether they can run.
    for (unsigned id : {unsigned(cmRepPrint), unsigned(cmRepPreview)}) OnCommandEnable(id, [this](TCommandEnabler& ce) { ce.Enable(PrinterReady()); });
    OnCommand(CM_ABOUT, [this] { vynwAboutDlg(frame_).Execute(); });
    OnCommandEnable(CM_ABOUT, always);
    OnCommandEnable(CM_CALCULATE, [](TCommandEnabler& ce) { ce.Enable(gCurrentDoc && NeedsCalculation(*gCurrentDoc)); });
    // The carrier buttons need a reader that can move the plate.
    auto canMove = [](TCommandEnabler& ce) { ce.Enable(gReader && gReader->CanMovePlate()); };
    OnCommand(CM_INSERTCARRIER, [this] { CmMovePlate(false); });
    OnCommand(CM_EJECTCARRIER, [this] { CmMovePlate(true); });
    OnCommandEnable(CM_INSERTCARRIER, canMove);
    OnCommandEnable(CM_EJECTCARRIER, canMove);
    InstallReportCommands(*this);
}

vynwApp::~vynwApp()
{
    server_.reset();
    SetWriteNameCheck(nullptr);
    // The views go before the frame: the plate views' boxes live on its tool bar.
    TakeExchangeSettings(GetAppSettings());
    docManager_.reset();
    QPView::Shell() = QPViewShell{};
    PlateViewGadgets().Clear();
    if (frame_) {
        if (frame_->IsWindow()) frame_->Destroy();
        delete frame_;
        frame_ = nullptr;
    }
    // The bars went with the frame. A message box below runs the idle time, which must not
    // write into their gadgets.
    gToolBar = gToolPalette = nullptr;
    gModeButton = nullptr;
    gStatusBar = nullptr;
    gModeGadget = gStateGadget = nullptr;
    for (auto& g : gToolBarGadgets) g = nullptr;
    SetPreviewPrinter(nullptr);
    printer_.reset();
    ReleaseReaderDriver(5000);  // saves the filter table
    // The port text as the settings hold it now, a driver's locks included.
    GetAppSettings().port = gCommSettings.GetSettingsText();
    const bool appKept = SaveAppSettings(GetAppSettings(), showState);
    const bool printKept = SavePrintSettings(kProfileName);
    // The filter table lives in the settings file as well: one message names the file.
    if (FilterTableSaveFailed() || !appKept || !printKept) TellSettingsNotKept(nullptr);
    GetDocShell() = DocShell{};
    GetViewShell() = ViewShell{};
    QPView::Shell() = QPViewShell{};
    QPView::SetControlHost(nullptr);
    gCurrentDoc = nullptr;
    gActiveView = nullptr;
    if (gApp == this) gApp = nullptr;
}

void vynwApp::RegisterTemplates()
{
    const long plates = dtAutoDelete | dtUpdateDir | 0x1006;
    docManager_->AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QPView>>("Plates", "*.plt", "plt", plates));
    docManager_->AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QNView>>(
        "Sample", "*.plt", "plt", dtAutoDelete | dtUpdateDir | dtHidden | 0x0004));
    docManager_->AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QLView>>("Samples", "*.plt", "plt", plates | dtHidden));
    docManager_->AddTemplate(std::make_unique<TDocViewTemplate<QDoc, QSView>>("Standard", "*.plt", "plt", plates | dtHidden));
    docManager_->AddTemplate(MakeReportTemplate(dtAutoDelete | dtUpdateDir | dtSingleView | 0x1006));
}

void vynwApp::BindDocShell()
{
    DocShell& shell = GetDocShell();
    shell.showMessage = [this](const std::string& text) {
        if (collectMessages_) collected_.push_back(text);
        else MessageBox(frame_, text, name_, MB_OK);
    };
    shell.makeStatusReport = [this]() -> std::unique_ptr<IStatusReport> { return std::make_unique<ShellStatusReport>(frame_); };
    shell.startBusy = [] { if (gStatusBar) gStatusBar->StartBusy(); };
    shell.busyTick = [] { StatusBarTick(); };
    shell.suspendBusy = [] { if (gStatusBar) gStatusBar->SuspendBusy(); };
    shell.resumeBusy = [] { if (gStatusBar) gStatusBar->ResumeBusy(); };
    shell.stopBusy = [] { if (gStatusBar) gStatusBar->StopBusy(); };
}

void vynwApp::InitMainWindow()
{
    if (showState != 0 && showState != 3 && showState != 7) showState = 1;
    client_ = new vynwMDIClient;
    frame_ = new RwMainWindow(name_, kMainMenu, *client_);
    CreateControlBars(*frame_);
    gStatusBar = new TMyStatusBar(frame_, TGadget::Recessed, TStatusBar::CapsLock | TStatusBar::NumLock, BarFont());
    // Wide enough for the measurement time the idle refresh shows ("hh:mm  Mon dd,yyyy"), with
    // one character to spare for digits wider than the average letter.
    gModeGadget = new TMySwitchTG(0, static_cast<int>(std::string(DateTimeText()).size()) + 1);
    gModeGadget->AddText("");
    gModeGadget->AddText("LAYOUT EDIT", TColor(255, 0, 0));
    gModeGadget->AddText("DATA ENTRY", TColor(255, 255, 0));
    gModeGadget->AddText("DEFINITION", TColor(255, 0, 0));
    gModeGadget->AddText("ID ENTRY", TColor(255, 255, 0));
    gModeGadget->Select(0);
    gModeGadget->SetText("");
    gStateGadget = new TMySwitchTG(0, 7);
    gStateGadget->AddText("?");
    gStateGadget->AddText("VALID");
    gStateGadget->AddText("INVALID", TColor(255, 0, 0));
    gStateGadget->AddText("ERROR", TColor(255, 0, 255));
    gStateGadget->AddText("");
    gStatusBar->Insert(*gModeGadget);
    gStatusBar->Insert(*gStateGadget);
    frame_->Insert(*gStatusBar, TDecoratedFrame::Bottom);
    SetMainWindow(frame_);
    // The window comes up as the last run left it: maximised when it ended maximised.
    SetMainWindowShow(showState == 3 ? SW_SHOWMAXIMIZED : (showState == 7 ? SW_SHOWMINNOACTIVE : SW_SHOW));
    QPView::SetControlHost(gToolBar);
}

void vynwApp::CreateControlBars(RwMainWindow& frame)
{
    gToolBar = new TMyControlBar(&frame, TGadgetWindow::Horizontal, BarFont());
    gToolBar->Insert(*new TButtonGadget(CM_FILENEW, CM_FILENEW, TButtonGadget::Command, true));
    gToolBar->Insert(*new TButtonGadget(CM_FILEOPEN, CM_FILEOPEN, TButtonGadget::Command, true));
    gToolBarGadgets[0] = new TSeparatorGadget(6);
    gToolBarGadgets[1] = new TButtonGadget(CM_INSERTCARRIER, CM_INSERTCARRIER, TButtonGadget::Command, false);
    gToolBarGadgets[2] = new TButtonGadget(CM_EJECTCARRIER, CM_EJECTCARRIER, TButtonGadget::Command, false);
    for (TGadget* g : gToolBarGadgets) gToolBar->Insert(*g);
    frame.Insert(*gToolBar, TDecoratedFrame::Top);
    gToolPalette = new TMyControlBar(&frame, TGadgetWindow::Vertical, BarFont());
    gModeButton = new QPictButtGadget(CM_MODEBUTTON, 7, CM_MODEBUTTON);
    gToolPalette->Insert(*gModeButton);
    frame.Insert(*gToolPalette, TDecoratedFrame::Left);
}

void vynwApp::HandOverReady()
{
    // Settings of the file that could not be used are told once, when the window stands.
    if (!settingsNotUsed_.empty() && frame_) {
        std::string list;
        for (const std::string& entry : settingsNotUsed_) list += "\n" + entry;
        settingsNotUsed_.clear();
        MessageBox(frame_, FormatWithArg(GetResString(kMsgSettingsNotUsed), ProfileFile::ResolvePath(kProfileName).c_str()) + list,
                   name_, MB_OK | MB_ICONEXCLAMATION);
    }
    if (!handOverName_.empty() && !server_) {
        server_ = std::make_unique<THandOverServer>(handOverName_, [this](const THandOverRecord& r) {
            // A modal dialog is open: nobody can take the names now.
            if (TDecoratedFrame::ModalDialogOpen()) {
                MessageBeep(MB_ICONHAND);
                return;
            }
            if (frame_ && r.data == kHandOverBegin) frame_->BringToForeground();
            if (frame_) frame_->EvCopyData(r);
        });
        // A later start could not hand its files over: the user hears it now, not then.
        if (!server_->Listen()) MessageBox(frame_, GetResStringStd(kMsgNoHandOverId), name_, MB_OK | MB_ICONEXCLAMATION);
    }
    // This start's own names go the same way as a later start's.
    if (frame_)
        for (const auto& r : CommandLineRecords(commandLine_)) frame_->EvCopyData(r);
    commandLine_.clear();
}

void vynwApp::AddFileDrop(bool wholeName, const std::string& name)
{
    pending_.push_back(std::make_unique<TFileDrop>(wholeName, name));
}

void vynwApp::OpenPendingFiles()
{
    while (!pending_.empty()) {
        std::vector<std::unique_ptr<TFileDrop>> local;
        local.swap(pending_);
        for (auto& drop : local) {
            drop->ResolveDroppedName();
            const std::string& name = drop->GetName();
            TDocTemplate* tpl = docManager_->MatchTemplate(name);
            // Names come from outside, often several at once: one that is not opened is said
            // by name, and the others are opened all the same.
            if (!tpl) {
                MessageBox(frame_, FormatWithArg(GetResString(kMsgHandedNoKind), name.c_str()), name_, MB_OK | MB_ICONEXCLAMATION);
                continue;
            }
            if (docManager_->FindDocument(name)) continue;
            collectMessages_ = true;
            collected_.clear();
            const bool opened = docManager_->CreateDoc(*tpl, name, 0) != nullptr;
            collectMessages_ = false;
            std::vector<std::string> said;
            said.swap(collected_);
            if (!opened) {
                std::string text = FormatWithArg(GetResString(kMsgHandedNotOpened), name.c_str());
                for (const std::string& reason : said) text += "\n\n" + reason;
                MessageBox(frame_, text, name_, MB_OK | MB_ICONEXCLAMATION);
            } else {
                for (const std::string& text : said) MessageBox(frame_, text, name_, MB_OK);
            }
        }
    }
}

TDocument* vynwApp::OpenPlate(const std::string& path)
{
    TDocTemplate* tpl = docManager_->FindTemplate("Plates");
    if (!tpl) return nullptr;
    if (TDocument* open = docManager_->FindDocument(path)) return open;
    bool saved = frame_ ? frame_->OpeningFiles() : false;
    if (frame_) frame_->SetOpeningFiles(true);
    TDocument* doc = docManager_->CreateDoc(*tpl, path, 0);
    if (frame_) frame_->SetOpeningFiles(saved);
    return doc;
}

bool vynwApp::CanCloseAll() { return docManager_->CloseAll(); }

void vynwApp::TellWriteRefused(const TDocManager::WriteRefusal& why)
{
    // Two documents of one file would each overwrite what the other saved, and other bytes
    // written into a document's file leave its window showing what the file no longer holds:
    // the name is refused rather than the other window closed behind the user's back. The
    // program's own files would lose the methods, reports or settings kept in them.
    const int id = why.programFile ? why.programFile : kMsgPathHeld;
    // Over the dialog the name was chosen in, or the main window.
    MessageBox(nullptr, FormatWithArg(GetResString(id), why.file.c_str()), name_, MB_OK | MB_ICONEXCLAMATION);
}

bool vynwApp::NeedsCalculation(QDoc& doc)
{
    const QPlate& p = doc.GetPlate();
    const bool values = p.measuredCount > 0 || p.dataCount > 0;
    if (p.dataMode != 0 && p.measuredCount > 0 && !p.currentBlank) return true;
    if (!values) return false;
    if (p.calibr.state == 0 && p.stdInUse) return true;
    if (p.calculations.HasPending()) return true;
    if (p.validations.HasPending()) return true;
    return p.sampleCount > p.samplesWithResults;
}

void vynwApp::EvNewView(TView& view)
{
    if (!client_ || !client_->IsWindow()) return;
    auto* wnd = dynamic_cast<TWindow*>(&view);
    if (!wnd) return;
    if (auto* report = dynamic_cast<QRepView*>(&view)) {
        FrameReportView(*client_, *report, *docManager_);
        return;
    }
    std::string title = view.GetDocument().HasDocPath() ? view.GetDocument().GetDocPath() : view.GetDocument().GetTitle();
    if (title.empty()) title = "Plate" + std::to_string(docManager_->NextUntitledIndex());
    if (!view.GetDocument().HasDocPath() && view.GetDocument().GetTitle().empty()) view.GetDocument().SetTitle(title);
    vynwMDIChild* frame = nullptr;
    if (auto* list = dynamic_cast<QLView*>(&view)) frame = new listMDIChild(*client_, title, list);
    else frame = new vynwMDIChild(*client_, title, wnd);
    frame->SetMenuDescr(TMenuDescr(view.GetViewMenu()));
    frame->Create();
    // The plate view's frame takes the size of the whole plate, not the frame's default size.
    if (auto* plate = dynamic_cast<QPView*>(&view)) plate->FitFrame();
    // A new sample list takes the width the last one was left at.
    if (auto* list = dynamic_cast<QLView*>(&view)) FitViewFrame(*list, TSize(list->WantedWidth(), list->GetWindowRect().Height()));
    const bool byUser = frame_ && frame_->OpeningFiles();
    if (byUser && GetAppSettings().autoMakeAftLoad && gCurrentDoc && NeedsCalculation(*gCurrentDoc)) {
        gCurrentDoc->CalculatePlate();
        gCurrentDoc->SetDirty(false);  // the automatic calculation is no change of the user's
        ShowListAfterCalculation(*gCurrentDoc);
    }
}

void vynwApp::EvViewDestroyed(const TView* view)
{
    PlateViewGadgets().ViewGone(view);
    if (gActiveView == view) {
        gActiveView = nullptr;
        gCurrentDoc = nullptr;
    }
    if (!client_) return;
    // A report designer's frame holds the view in its pane: the view went, the pane with its
    // rulers is still the frame's and goes with it.
    for (TMDIChild* c : std::vector<TMDIChild*>(client_->Children())) {
        if (const auto* pane = dynamic_cast<const QRPDesignerPane*>(c->GetClientWindow())) {
            if (pane->ViewKey() == view) c->ViewGone();
        } else if (dynamic_cast<const TView*>(c->GetClientWindow()) == view) {
            c->ClientGone();
        }
    }
}

TView* vynwApp::ShowView(const std::string& templateName)
{
    TDocument* doc = docManager_->GetCurrentDoc();
    TDocTemplate* tpl = docManager_->FindTemplate(templateName);
    if (!doc || !tpl) {
        MessageBeep(0);
        return nullptr;
    }
    for (TView* v = doc->NextView(nullptr); v; v = doc->NextView(v))
        if (tpl->IsMyKindOfView(*v) && client_)
            for (TMDIChild* c : client_->Children())
                if (dynamic_cast<TView*>(c->GetClientWindow()) == v) {
                    client_->ActivateChild(*c);
                    return v;
                }
    return docManager_->CreateView(*tpl, *doc);
}

void vynwApp::EvHelp(const THelpInfo& info)
{
    if (info.contextType == HELPINFO_MENUITEM) {
        if (info.ctrlId != 0 && info.ctrlId < 0x8000) HelpContext(info.ctrlId);
        return;
    }
    if (TWindow::GetCapture()) return;
    if (info.contextId == 0 || (info.contextId & 0x0FFF8000ul) != 0) HelpContents();
    else HelpContext(static_cast<int>(info.contextId & 0xFFFF));
}

bool vynwApp::IdleAction(long idleCount)
{
    if (printerCheck_ && printer_ && !InModalLoop()) CheckPrinter();
    if (gModeGadget) gModeGadget->ClearTouched();
    bool more = TApplication::IdleAction(idleCount);
    if (frame_ && frame_->IsWindow()) frame_->IdleAction(idleCount);
    if (gModeGadget && !gModeGadget->Touched()) {
        gModeGadget->Select(0);
        const std::uint64_t t = gCurrentDoc ? gCurrentDoc->GetPlate().measureTime : 0;
        if (t != shownTime_) {
            shownTime_ = t;
            gModeGadget->SetText(t ? FileTimeText(static_cast<std::int64_t>(t)) : "");
        }
        gModeGadget->ClearTouched();
    }
    if (gStatusBar) {
        const std::string method = gCurrentDoc ? gCurrentDoc->GetPlate().methodName : std::string();
        if (method != shownMethod_) {
            shownMethod_ = method;
            gStatusBar->SetText(shownMethod_);
        }
    }
    if (gStateGadget) {
        if (!gCurrentDoc || gCurrentDoc->GetPlate().validations.DefinitionCount() == 0) gStateGadget->Select(4);
        else gStateGadget->Select(gCurrentDoc->GetPlate().validity & 3);
    }
    return more;
}

// --- commands ------------------------------------------------------------------------------

void vynwApp::CmNewPlate()
{
    gPlateLineReader.Close();
    if (QSelMet::Select(frame_, gPlateLineReader, &gSeqSampleLimit) == 0) return;
    if (TDocTemplate* tpl = docManager_->FindTemplate("Plates"))
        docManager_->InitDoc(std::make_unique<QDoc>(nullptr), *tpl, {}, dtNewDoc);
    gPlateLineReader.Close();
}

void vynwApp::CmSaveAsMethod()
{
    if (!gCurrentDoc) return;
    QPlate& plate = gCurrentDoc->GetPlate();
    std::string name = plate.methodName, comment = plate.methodInfo;
    // The dialog stores the method itself and reports its own failures; it stays open on them.
    QSelMet::Add(frame_, plate, name, comment);
}


void vynwApp::CmFileOpen()
{
    std::string path;
    if (!GetOpenFileName(frame_, GetResStringStd(21093), OpenFileFilter(), path)) return;
    path = WholePath(path);
    FollowChosenFolder(path);
    TDocument* open = docManager_->FindDocument(path);
    TDocument* doc = OpenAnyFile(*this, path);
    // The file is open already, under this name or another: its window comes to the front.
    if (doc && doc == open)
        if (TView* view = doc->NextView(nullptr)) ActivateViewFrame(*view);
}

void vynwApp::CmFileSave()
{
    if (!gCurrentDoc) {
        SaveActiveReport(*this, false);
        return;
    }
    if (!gCurrentDoc->HasDocPath()) {
        CmFileSaveAs();
        return;
    }
    docManager_->SaveToItsFile(*gCurrentDoc);
}

void vynwApp::CmFileSaveAs()
{
    if (!gCurrentDoc) {
        SaveActiveReport(*this, true);
        return;
    }
    std::string path = gCurrentDoc->GetDocPath();
    if (!GetSaveFileName(frame_, GetResStringStd(21094), GetResStringStd(21092), "plt", path, gCurrentDoc)) return;
    path = WholePath(path);
    const std::string old = gCurrentDoc->GetDocPath();
    gCurrentDoc->SetDocPath(path);
    if (!gCurrentDoc->Commit(true)) {
        gCurrentDoc->SetDocPath(old);
        return;
    }
    FollowChosenFolder(path);
    gCurrentDoc->SetTitle(DocTitleOf(path));
    ShowDocFile(*gCurrentDoc);
}

void vynwApp::ShowDocFile(TDocument& doc)
{
    if (!client_) return;
    for (TMDIChild* c : client_->Children()) {
        TView* v = c->GetView();
        if (!v || &v->GetDocument() != &doc) continue;
        if (auto* report = dynamic_cast<QRPMDIChild*>(c)) report->ShowDocTitle();
        else c->SetWindowText(doc.GetDocPath());
    }
}

void vynwApp::CmFileClose()
{
    if (gCurrentDoc) {
        docManager_->CloseDoc(*gCurrentDoc);
        return;
    }
    // An active report designer closes as its frame's close box closes it, asking about
    // unsaved changes first.
    if (client_ && ActiveReportView(*this))
        if (TMDIChild* child = client_->GetActiveMDIChild()) child->CloseWindow();
}

void vynwApp::CmExit()
{
    if (frame_) frame_->SendMessage(WM_CLOSE);
}

void vynwApp::CmCalculate()
{
    if (!gCurrentDoc || !NeedsCalculation(*gCurrentDoc)) return;
    gCurrentDoc->CalculatePlate();
    if (gCurrentDoc) ShowListAfterCalculation(*gCurrentDoc);
}

void vynwApp::ShowListAfterCalculation(const QDoc& doc)
{
    if (GetAppSettings().autoListAftMake && doc.GetPlate().samplesWithResults > 0) ShowView("Samples");
}

}  // namespace vyn

namespace vyn {

// --- the views' side of the shell ----------------------------------------------------------

void vynwApp::BindViewShell()
{
    ViewShell& vs = GetViewShell();
    vs.dialogs = [this](TWindow* parent) -> IDocDialogs* {
        // One dialog set per command; the view uses it before the next command starts.
        static std::unique_ptr<ShellDialogChain> dialogs;
        dialogs.reset();
        dialogs = std::make_unique<ShellDialogChain>(parent ? parent : frame_, gCurrentDoc);
        return &dialogs->Dialogs();
    };
    vs.showSampleView = [this](QDoc&, int sample) { ShowSampleView(sample); };
    vs.help = [](int id) { HelpContext(id); };
    vs.setModeText = [](int entry) {
        if (gModeGadget) gModeGadget->Select(entry);
    };
    vs.putClipboardText = [](const std::string& text) { return Clipboard::SetText(text); };
    vs.getClipboardText = [](std::string& text) { return Clipboard::GetText(text); };
    vs.copyFixedSamples = GetAppSettings().expFixes != 0;
    vs.inverseCalculation = [this](TWindow* parent, QDoc& doc) {
        InvCalDlg dlg(parent ? parent : frame_, &doc.GetPlate().calibr);
        dlg.Execute();
    };
    vs.barsChanged = [](TView& view, const QPViewBars& bars) {
        if (bars.installed || PlateViewGadgets().ShownFor() == &view) PlateViewGadgets().Apply(view, bars);
    };
    vs.closeView = [](TView& view) {
        // The view goes, not only its frame: a view left behind would keep its document open
        // after the user closed every window of it, and the file could not be opened again.
        // Its frame follows through EvViewDestroyed. Only another view of the document asks
        // this, so the document outlives the call.
        if (view.GetDocument().GetViewCount() > 1) delete &view;
    };

    QPViewShell& ps = QPView::Shell();
    ps.activated = [this](QPView& view, bool active) { PlateViewActivated(view, active); };
    ps.barsChanged = [](QPView& view) {
        if (gActiveView == &view || view.Bars().installed) PlateViewGadgets().Apply(view);
    };
    ps.setModeText = [](int entry) {
        if (gModeGadget) gModeGadget->Select(entry);
    };
    ps.help = [](int id) { HelpContext(id); };
    ps.askDataType = [this](int helpId) {
        QChView dlg(frame_, helpId);
        if (dlg.Execute() != IDOK) return 0;
        return static_cast<int>(dlg.Measured ? plMeasured : plData);
    };
    auto dialogs = [this] { return ShellDocDialogs(frame_); };
    ps.editSampleNames = [dialogs](QDoc& doc, int kind) {
        ShellDocDialogs ui = dialogs();
        return doc.EditSampleNames(ui, kind) ? 1 : 0;
    };
    ps.importData = [dialogs](QDoc& doc, bool measured) {
        ShellDocDialogs ui = dialogs();
        return doc.ImportData(ui, !measured);
    };
    ps.exportData = [dialogs](QDoc& doc, bool measured) {
        ShellDocDialogs ui = dialogs();
        return doc.ExportData(ui, !measured);
    };
    ps.subtractData = [dialogs](QDoc& doc) {
        ShellDocDialogs ui = dialogs();
        return doc.SubtractTextData(ui);
    };
    ps.calculateBlanking = [](QDoc& doc) { return doc.CalculateBlanking(); };
    ps.autoBlankName = [] { return GetAppSettings().autoBlankBlank; };
    ps.classifyBlank = [](const std::string& text, const std::string& name) { return ClassifyBlankFormula(text, name); };
    ps.blankText = [](bool averaged, const std::string& name) { return BlankFormulaText(averaged, name); };
    ps.fitFrame = [this](QPView& view, const TSize& wanted) { return FitViewFrame(view, wanted); };
    ps.setClipboardText = [](const std::string& text) { Clipboard::SetText(text); };
    ps.clipboardText = [] {
        std::string text;
        return Clipboard::GetText(text) ? text : std::string();
    };
    ps.pastePlate = [](QDoc& doc, const std::string& text, bool measured) { return doc.PastePlateValues(text, !measured); };
}

void vynwApp::PlateViewActivated(QPView& view, bool active)
{
    if (active) {
        SetActiveView(view.Doc, &view);
        PlateViewGadgets().Apply(view);
    } else {
        ForgetActiveView(&view);
        PlateViewGadgets().Apply(view);
        PlateViewGadgets().ViewGone(&view);
    }
}

bool vynwApp::FitViewFrame(TWindow& view, const TSize& wanted)
{
    if (!client_ || !view.IsWindow()) return false;
    for (TMDIChild* c : client_->Children()) {
        if (c->GetClientWindow() != &view) continue;
        const TRect area = client_->GetClientRect();
        const TRect frame = c->GetWindowRect();
        // A minimised or maximised frame keeps its size.
        if (c->IsIconic() || (frame.Width() >= area.Width() && frame.Height() >= area.Height())) return false;
        // The view's whole window: the scroll bars it shows now go once the plate fits.
        const TRect inner = view.GetWindowRect();
        // The frame keeps its place and ends within the area, where its corner can be reached.
        const TRect at = client_->ChildRectInClient(*c);
        const int w = std::min(wanted.cx + frame.Width() - inner.Width(), area.Width() - std::max(0, at.left));
        const int h = std::min(wanted.cy + frame.Height() - inner.Height(), area.Height() - std::max(0, at.top));
        c->SetWindowPos(nullptr, 0, 0, w, h, SWP_NOMOVE | SWP_NOZORDER);
        return true;
    }
    return false;
}

bool vynwApp::CalibrationPending()
{
    if (!gCurrentDoc) return false;
    const QPlate& p = gCurrentDoc->GetPlate();
    return (p.measuredCount > 0 || p.dataCount > 0) && p.calibr.state == 0 && p.stdInUse;
}

bool vynwApp::ExchangeAllowed()
{
    if (!gCurrentDoc) return false;
    const QPlate& p = gCurrentDoc->GetPlate();
    return GetAppSettings().expFixes ? p.sampleCount > 0 : p.sampleCount > p.fixedCount;
}

void vynwApp::ActivateViewFrame(TView& view)
{
    if (!client_) return;
    for (TMDIChild* c : client_->Children()) {
        const auto* pane = dynamic_cast<const QRPDesignerPane*>(c->GetClientWindow());
        if (dynamic_cast<TView*>(c->GetClientWindow()) == &view || (pane && pane->ViewKey() == &view)) {
            client_->ActivateChild(*c);
            return;
        }
    }
}

TView* vynwApp::ShowSampleView(int sampleIndex)
{
    TDocument* doc = docManager_->GetCurrentDoc();
    TDocTemplate* tpl = docManager_->FindTemplate("Sample");
    if (!doc || !tpl) {
        MessageBeep(0);
        return nullptr;
    }
    for (TView* v = doc->NextView(nullptr); v; v = doc->NextView(v)) {
        if (!tpl->IsMyKindOfView(*v)) continue;
        auto* graph = dynamic_cast<QNView*>(v);
        if (!graph) {
            MessageBeep(0);
            return nullptr;
        }
        if (graph->SampleIndex() != sampleIndex) continue;
        ActivateViewFrame(*v);
        return v;
    }
    gPendingViewSample = sampleIndex;
    return docManager_->CreateView(*tpl, *doc);
}

void vynwApp::CmApplication()
{
    AppSettings& s = GetAppSettings();
    TakeExchangeSettings(s);
    QAppDlg dlg(frame_);
    dlg.FromSettings(s, gDecimalChar);
    if (dlg.Execute() != IDOK) return;
    dlg.ToSettings(s);
    gDecimalChar = dlg.DecimalChar == ',' ? ',' : '.';
    ApplyExchangeSettings(s);
    // The settings file takes the change at once: a crash later loses nothing of it.
    if (!SaveAppSettings(s, showState)) TellSettingsNotKept(frame_);
    // Values on screen follow the new decimal character and texts.
    for (TDocument* d : docManager_->GetDocuments())
        for (TView* v = d->NextView(nullptr); v; v = d->NextView(v))
            if (auto* w = dynamic_cast<TWindow*>(v)) w->Invalidate(false);
}

void vynwApp::CmCalibration()
{
    if (!gCurrentDoc) return;
    // Opening the view makes it the active one; the command came from another.
    TView* const from = gActiveView;
    TView* v = ShowView("Standard");
    if (v && v != from)
        if (auto* w = dynamic_cast<TWindow*>(v)) w->SendCommand(CM_CALIBRATION);
}

void vynwApp::CmPrint()
{
    if (!printer_ || printer_->GetError() != peNone) return;
    if (auto* printout = dynamic_cast<APrintOut*>(gActiveView)) printer_->Print(frame_, *printout, true);
}

}  // namespace vyn

namespace vyn {

void vynwApp::CmMeasure()
{
    if (!gCurrentDoc || !gReader) return;
    QDoc& doc = *gCurrentDoc;
    const MeasureOutcome out = RunMeasureCommand(frame_, doc, GetAppSettings().autoMakeAftMea != 0);
    if (!out.measured) return;
    if (out.autoProcess) {
        if (NeedsCalculation(doc)) {
            doc.CalculatePlate();
            ShowListAfterCalculation(doc);
        }
        return;
    }
    // Without processing the user sees what was measured.
    const QPlate& p = doc.GetPlate();
    if (p.dataMode != 0 && p.measuredCount > 0)
        if (auto* view = dynamic_cast<QPView*>(gActiveView)) view->ShowLayer(2486);
}

void vynwApp::CmMovePlate(bool out)
{
    if (gReader && gReader->CanMovePlate()) RunMovePlate(*gReader, frame_, out, true);
}

void vynwApp::CmPhotometer()
{
    if (gReader) QFltDlg(frame_).Execute();
}

void vynwApp::CmCommunication()
{
    if (QComSetupDlg(frame_, gCommSettings).Execute() != IDOK) return;
    AppSettings& s = GetAppSettings();
    s.port = gCommSettings.GetSettingsText();
    if (!SaveAppSettings(s, showState)) TellSettingsNotKept(frame_);
}

}  // namespace vyn

namespace vyn {

void vynwApp::EvWinIniChange(const std::string& section)
{
    // Print, preview and page setup hold the printer object while they run, so the check waits
    // for the next idle time outside any dialog.
    if (section == "windows" && printer_) printerCheck_ = true;
}

void vynwApp::CheckPrinter()
{
    printerCheck_ = false;
    const std::string device = TPrinter::DefaultPrinterName();
    if (!device.empty() && printer_->GetError() == peNone) {
        RWPrinter fresh;
        if (printer_->GetDevice() == fresh.GetDevice() && printer_->GetDriver() == fresh.GetDriver() &&
            printer_->GetPort() == fresh.GetPort())
            return;
    }
    printer_ = std::make_unique<RWPrinter>();
    SetPreviewPrinter(printer_.get());
}

std::int32_t vynwApp::FirstDocThat(std::int32_t (*callback)(QDoc&, void*), void* argument) const
{
    if (!docManager_) return 0;
    for (QDoc* doc : OpenPlateDocs(*docManager_))
        if (const std::int32_t r = callback(*doc, argument)) return r;
    return 0;
}

std::int32_t vynwApp::FirstRepDocThat(std::int32_t (*callback)(QRepDoc&, void*), void* argument) const
{
    if (!docManager_) return 0;
    for (QRepDoc* doc : OpenReportDocs(*docManager_))
        if (const std::int32_t r = callback(*doc, argument)) return r;
    return 0;
}

bool vynwApp::PrinterReady() const { return printer_ && printer_->GetError() == peNone; }

void vynwApp::CmPreview()
{
    if (!PrinterReady()) return;
    if (auto* printout = dynamic_cast<APrintOut*>(gActiveView)) RunPrintPreview(frame_, *printout, printer_.get());
}

void vynwApp::CmPageSetup()
{
    if (!PrinterReady()) return;
    // The page kind of the active view: plate, list, or one of the graphs.
    int kind = -1;
    if (dynamic_cast<QPView*>(gActiveView)) kind = 0;
    else if (dynamic_cast<QLView*>(gActiveView)) kind = 1;
    else if (dynamic_cast<QNView*>(gActiveView) || dynamic_cast<QSView*>(gActiveView)) kind = 2;
    RunPageSetup(frame_, kind, printer_.get());
}

void vynwApp::CmAdvancedCalc()
{
    if (!gCurrentDoc) return;
    QDoc& doc = *gCurrentDoc;
    int result = 0;
    {
        ShellDialogChain dialogs(frame_, &doc);
        result = doc.RunMethodSheet(dialogs.Dialogs());
    }
    // The sheet's "print" asks for the method summary in the preview.
    if ((result & 2) && PrinterReady()) {
        QMethodSummaryPrintout summary(doc.GetPlate(), doc.GetDocPath());
        RunPrintPreview(frame_, summary, printer_.get());
    }
}

}  // namespace vyn
