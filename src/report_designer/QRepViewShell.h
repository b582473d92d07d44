#pragma once
// What the report view asks of the rest of the program: the attribute editor, the designer's
// dialogs, the shell's bars, printing and help. The parts that own them fill these hooks in;
// a hook left empty makes the view do without: the attribute editor calls do nothing, a
// dialog that would be needed sounds the warning beep and the command changes nothing.
#include <functional>
#include <string>

namespace vyn {

class QRepView;
class TEdit;
class TWindow;
class RPReport;

// How the attribute editor should follow the view.
enum class AttrUpdate {
    Reload,         // the target or its values changed
    ReloadValues,   // only the values
    RebuildRows,    // the rows are invalid and must be built again
    ApplyPending,   // a drag ended: apply what waited
};

// What the duplicate-objects dialog is told of the selection, and its results.
struct DuplicateRequest {
    int objectCount = 0;  // page breaks not counted
    bool sectionsDiffer = false;
    int cellCount = 0;  // objects evaluated at a plate cell
    int commonColumn = -1;
    int commonRow = -1;
    bool grid = false;  // spacings in grid steps
    int columns = 1;
    int rows = 1;
    bool smart = false;
    int columnSpacing = 0;  // twips, or grid steps
    int rowSpacing = 0;
};

// Where a picture comes from and how it is sized.
struct PictureRequest {
    bool fromClipboard = true;
    bool ownSize = false;
};

struct QRepViewShell {
    // The attribute editor (one for the program).
    std::function<void(QRepView&, AttrUpdate)> attrUpdate;
    std::function<void(QRepView&, bool open)> attrOpen;            // opened for the view, or closed
    std::function<void(QRepView&, bool visible)> attrShowForView;  // hide around a dialog, show again
    // The view's frame became active or inactive: the shell puts the view's gadgets on its bars
    // (QRepView::Bars) or takes them off.
    std::function<void(QRepView&, bool active)> barsChanged;
    // Dialogs; each returns false when cancelled.
    std::function<bool(QRepView&, DuplicateRequest&)> duplicateDialog;
    std::function<bool(QRepView&, std::string& flags)> sectionsDialog;
    std::function<bool(QRepView&, PictureRequest&)> insertPictureDialog;
    // Printing: none means the program has no printer.
    std::function<void(QRepView&)> pageSetup;
    std::function<void(QRepView&)> print;
    std::function<void(QRepView&)> preview;
    // The report printout mode dialog when plate documents are open: false when cancelled;
    // otherwise the report's printout source has been set.
    std::function<bool(QRepView&)> choosePrintSource;
    // Whether any plate document is open.
    std::function<bool()> plateDocumentOpen;
    // "Save to Report List": 1 stored, 0 cancelled, -1 the library could not be written, -2 it is
    // full, -3 another program changed it meanwhile (nothing stored).
    std::function<int(QRepView&)> saveInReportList;
    std::function<void(QRepView&, TEdit&)> expressionWizard;
    std::function<void(int contextId)> help;
};

QRepViewShell& GetRepViewShell();

}  // namespace vyn
