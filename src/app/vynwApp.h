#pragma once
// The application object: settings, document manager and templates, printer, pending files,
// the main window with its bars, the idle refresh of the status gadgets and the commands that
// every view shares.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/FileHandOver.h"
#include "platform/core/DocManager.h"
#include "platform/core/Geometry.h"
#include "platform/gui/Application.h"

namespace vyn {

class QDoc;
class QRepDoc;
class RwMainWindow;
class RWPrinter;
class vynwMDIClient;
class THandOverServer;

// A file the user named for a save, an export or a print is not written when it is kept by an
// open document ("The file %s is open in another window. ...") or is one of the program's own:
// the method library, the report library, the settings file.
inline constexpr int kMsgPathHeld = 21120;
inline constexpr int kMsgMethodLibraryTarget = 21121, kMsgReportLibraryTarget = 21122, kMsgSettingsTarget = 21123;
// A handed-over or dropped name that was not opened: the document's reason follows; and one that
// is neither a plate nor a report.
inline constexpr int kMsgHandedNotOpened = 21100;
inline constexpr int kMsgHandedNoKind = 21101;

class vynwApp : public TApplication {
public:
    // commandLine: the names to open once the main window is ready; handOverName: the socket
    // on which later starts hand their names over (empty: none).
    vynwApp(const std::string& name, int& argc, char** argv, const std::string& commandLine,
            const std::string& handOverName, int showState = 1);
    ~vynwApp() override;

    int showState;
    const std::string& GetName() const { return name_; }
    TDocManager& GetDocManager() { return *docManager_; }
    RwMainWindow* GetMainFrame() const { return frame_; }
    vynwMDIClient* GetMDIClient() const { return client_; }
    RWPrinter* GetPrinter() const { return printer_.get(); }
    // The system's printer settings may have changed: at the next idle time outside a dialog, a
    // printer object that no longer names the default printer is replaced. Code takes the
    // printer from here each time it prints.
    void EvWinIniChange(const std::string& section) override;
    // The open plate (report) documents in the document manager's order, each given to
    // callback(document, argument); the first non-zero answer ends the walk and is returned, 0
    // when every call answered 0 or none is open.
    std::int32_t FirstDocThat(std::int32_t (*callback)(QDoc& doc, void* argument), void* argument) const;
    std::int32_t FirstRepDocThat(std::int32_t (*callback)(QRepDoc& doc, void* argument), void* argument) const;

    void AddFileDrop(bool wholeName, const std::string& name);
    const std::vector<std::unique_ptr<TFileDrop>>& PendingFiles() const { return pending_; }
    void OpenPendingFiles();
    // The main window is set up: hand-overs may come in.
    void HandOverReady();
    // Asks every open document; true when all may close.
    bool CanCloseAll();

    bool IdleAction(long idleCount) override;
    // F1 on a menu item opens the item's help; on a window its context, or the contents when it
    // has none (or an id outside the help file's range).
    void EvHelp(const THelpInfo& info) override;
    void InitMainWindow() override;
    // The method name shown in the status bar.
    const std::string& ShownMethodName() const { return shownMethod_; }

    static bool NeedsCalculation(QDoc& doc);
    // A current document whose plate has values, an uncalculated calibration and standards.
    static bool CalibrationPending();
    // Export of results and import of identifications have samples to work on.
    static bool ExchangeAllowed();
    // The sample-graph view of the sample (an open one is activated).
    TView* ShowSampleView(int sampleIndex);
    void ActivateViewFrame(TView& view);
    // A view of the current document made by the template (an existing one is activated).
    TView* ShowView(const std::string& templateName);
    // Opens a document of a plate file as the file command does; nullptr when it cannot.
    TDocument* OpenPlate(const std::string& path);
    // After the document was saved under a new name: every window of it shows its file (title
    // bars, and with them the Windows menu; a report's attribute window its title).
    void ShowDocFile(TDocument& doc);

private:
    void RegisterTemplates();
    void BindDocShell();
    void CreateControlBars(RwMainWindow& frame);
    void EvNewView(TView& view);
    void EvViewDestroyed(const TView* view);
    // Why a file the user named is not written: the file of another window, or one of the
    // program's own files.
    void TellWriteRefused(const TDocManager::WriteRefusal& why);

    void CmNewPlate();
    void CmSaveAsMethod();
    void CmFileOpen();
    void CmFileSave();
    void CmFileSaveAs();
    void CmFileClose();
    void CmExit();
    void CmCalculate();
    // After a calculation: the sample list, when the settings ask for it and results exist.
    void ShowListAfterCalculation(const QDoc& doc);
    void CmApplication();
    void CmCalibration();
    void CmPrint();
    void CmMeasure();
    void CmMovePlate(bool out);
    void CmCommunication();
    void CmPhotometer();
    void CmPreview();
    void CmPageSetup();
    void CmAdvancedCalc();
    bool PrinterReady() const;
    void CheckPrinter();
    void BindViewShell();
    void PlateViewActivated(class QPView& view, bool active);
    // Resizes the view's MDI child around the wanted client size; false when the child is
    // minimised or maximised.
    bool FitViewFrame(TWindow& view, const TSize& wanted);

    std::string name_;
    std::unique_ptr<TDocManager> docManager_;
    std::unique_ptr<RWPrinter> printer_;
    bool printerCheck_ = false;  // the system's printer settings changed since the last check
    std::vector<std::unique_ptr<TFileDrop>> pending_;
    std::string commandLine_;
    // Entries of the settings file that were not used ("[section] key=value"), until told.
    std::vector<std::string> settingsNotUsed_;
    std::string handOverName_;
    std::unique_ptr<THandOverServer> server_;
    // While a handed-over name is being opened: the document's messages, kept to be shown
    // with the name when the file is not opened.
    bool collectMessages_ = false;
    std::vector<std::string> collected_;
    RwMainWindow* frame_ = nullptr;
    vynwMDIClient* client_ = nullptr;
    std::string shownMethod_;
    std::uint64_t shownTime_ = 0;
};

extern vynwApp* gApp;

}  // namespace vyn
