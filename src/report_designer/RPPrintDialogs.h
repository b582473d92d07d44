#pragma once
// The two dialogs that join a report with a plate for printing or preview: "Report a plate"
// (RPPrnPlate) picks a report from the library or the open report documents for the current
// plate; "Report Printout Mode" (RPDefPrnDlg) picks the plate, or none, that the report being
// designed is printed with.
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"
#include "report_designer/RPListDialogs.h"

namespace vyn {

class QDoc;
class QPlate;
class QRepDoc;
class RPReport;
class TDocManager;
class TListBox;

class RPPrnPlate : public TDialog {
public:
    // mode: 0 print, 1 preview.
    RPPrnPlate(TWindow* parent, int mode, TDocManager& docs, std::string libraryPath = ReportLibraryPath());

    // In: the plate's associated report; out: the name chosen.
    std::string AssociatedName;
    bool UseInFuture() const { return useInFuture_; }
    // After IDOK: a library entry (LibraryFile 0 or more, StreamOffset past the entry header) or
    // an open document's report (ChosenReport), never both.
    int LibraryFile = -1;
    std::uint32_t StreamOffset = 0;
    RPReport* ChosenReport = nullptr;
    // Reads the chosen library entry's report (after IDOK): 0 done.
    int ReadChosen(RPReport& report) const;
    CRepList& Library() { return list_; }

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    void Update();
    void SelectionChanged();
    void BoxClicked();
    void CmAssociate();
    bool LibraryEntrySelected() const;

    int mode_;
    TDocManager& docs_;
    CRepList list_;
    std::vector<RepListExtra> extras_;
    CRepManList* entries_;
    int associated_ = -1;
    int chosenIndex_ = -1;
    bool useInFuture_ = false;
};

class RPDefPrnDlg : public TDialog {
public:
    RPDefPrnDlg(TWindow* parent, TDocManager& docs);

    // In: the plate to preselect; out (IDOK): the chosen plate and its document, or none.
    QPlate* Plate = nullptr;
    QDoc* Document = nullptr;

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    void Radio(int id);

    TDocManager& docs_;
    TListBox* plates_;
    int preselected_ = -1;
};

// The open documents of a kind, in the order they were opened.
std::vector<QRepDoc*> OpenReportDocs(TDocManager& docs);
std::vector<QDoc*> OpenPlateDocs(TDocManager& docs);

}  // namespace vyn
