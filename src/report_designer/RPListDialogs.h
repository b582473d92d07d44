#pragma once
// The report library's dialogs: the list manager (RPManDlg), one entry's name and comment
// (RPNameDlg), saving a report into the library (RPAddDlg) and the library's details
// (RPManMoreDlg), with the owner-drawn list of library entries they share (CRepManList).
// Marks, names and comments stay pending in the CRepList until the user confirms them.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/ControlListBox.h"
#include "platform/gui/Dialog.h"
#include "reports/CRepList.h"

namespace vyn {

class CHintStat;
class RPReport;

// The library file of the program: "VYN.MRW" in the system-files folder.
std::string ReportLibraryPath();

// Resource ids of the library and printout dialogs.
enum : int { kDlgRepManager = 7031, kDlgRepName = 7032, kDlgRepAdd = 7033, kDlgRepDetails = 7034,
             kDlgRepPlate = 7035, kDlgRepPrintMode = 7036 };

// A list entry that is not in the library (an open report document): its name and a detail.
struct RepListExtra {
    std::string name;
    std::string detail;
};

inline constexpr std::uintptr_t kExtraEntryBit = 0x4000;

// The hint line (control 110) of a library or printout dialog: the hint of the control under
// the mouse, for the controls whose ids lie between lowId and highId.
CHintStat* AddHintLine(TDialog& dialog, int lowId, int highId);

class CRepManList : public TListBox {
public:
    CRepManList(TWindow* parent, CRepList& list, const std::vector<RepListExtra>* extras = nullptr);

    // Rebuilds the rows from the library and the extras, sorted by name; an extra entry sorts
    // before a library entry of the same name.
    void Fill();
    // The item data of the selection: a library index, or an extra's index | 0x4000; -1 none.
    int SelectedEntry() const;
    bool SelectByName(const std::string& name);
    bool SelectByOffset(std::uint32_t offset);
    // Selects the row of that library entry.
    bool SelectEntry(int index);
    void RedrawSelected();
    // After a rename: the row takes its place under the new name, still selected.
    void ReinsertSelected();

    void DrawItem(TDrawItem& item) override;
    void MeasureItem(TMeasureItem& item) override;
    // The list is light grey, below its rows too.
    void Paint(TDC& dc, bool erase, TRect& rect) override;

private:
    CRepList& list_;
    const std::vector<RepListExtra>* extras_;
};

// "Save to Report List": the owner puts the report's name, comment and library position in,
// runs it and, on IDYES, copies Name and Comment into the report and calls StoreReport.
class RPAddDlg : public TDialog {
public:
    RPAddDlg(TWindow* parent, std::string libraryPath = ReportLibraryPath());

    std::string Name;
    std::string Comment;
    // The library entry the report was read from (position 0: none). The dialog offers that
    // entry wherever the library now keeps it, and none when it has gone.
    std::uint32_t LibraryPosition = 0;
    std::vector<std::uint8_t> LibraryStream;
    int ChosenEntry() const { return chosen_; }
    // 0 stored, negative when the library could not be written.
    int StoreReport(const RPReport& report);
    CRepList& Library() { return list_; }

protected:
    void SetupWindow() override;

private:
    void Update();
    void Choose(bool replace);

    CRepList list_;
    CRepManList* entries_;
    int chosen_ = -1;
};

// "Report List Manipulation": ends with 103 (closed, changes written), 104 (a new report),
// 105 (edit the chosen entry: LibraryFile, StreamOffset and EntryOffset set) or IDCANCEL.
class RPManDlg : public TDialog {
public:
    RPManDlg(TWindow* parent, std::string libraryPath = ReportLibraryPath());

    // For the owner after 105: the entry's report stream, readable until the dialog is gone.
    int LibraryFile = -1;
    std::uint32_t StreamOffset = 0;
    std::uint32_t EntryOffset = 0;
    CRepList& Library() { return list_; }
    // Reads the chosen entry's report (after 105): 0 done.
    int ReadChosen(RPReport& report) const;
    // The chosen entry (after 105), for finding it again when the report is saved.
    RepLibraryEntry ChosenEntry() const { return list_.EntryOf(chosenIndex_); }

protected:
    void SetupWindow() override;
    void CmCancel() override;

private:
    void Update();
    void Finish(int id);
    void CmName();
    void CmDelete();
    void CmMore();
    // Writes pending marks and names: 1 done or nothing to do, 0 failed, -1 the library had
    // changed and has been listed again (the user was told either way).
    int WritePending();
    // Tells the user that another writer changed the library and shows it as read again.
    void ShowChangedLibrary();

    CRepList list_;
    CRepManList* entries_;
    int buttonText_ = 0;
    int chosenIndex_ = -1;
};

// "Report Description": 101 new texts in Name and Comment, 102 reset the entry, IDCANCEL.
class RPNameDlg : public TDialog {
public:
    RPNameDlg(TWindow* parent, std::string name, std::string comment, bool entryUnchanged);
    std::string Name;
    std::string Comment;

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    bool unchanged_;
};

// "Report List Details": 101 show all reports, 102 consolidate, IDCANCEL.
class RPManMoreDlg : public TDialog {
public:
    RPManMoreDlg(TWindow* parent, CRepList& list);

protected:
    void SetupWindow() override;

private:
    CRepList& list_;
};

}  // namespace vyn
