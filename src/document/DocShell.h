#pragma once
// What the plate document needs from the shell without knowing about windows: the "Status"
// report of a recalculation, the main window's message box and the status bar's busy
// indicator. The shell fills these in at start-up; without it (tests, tools) the message is
// only recorded, the busy indicator does nothing and a status report goes on as if the user
// had answered "Ignor this".
#include <functional>
#include <memory>
#include <string>

namespace vyn {

// Answers of a status report, the ids of the buttons that close the "Status" dialog.
enum : int {
    kStatusIgnoreThis = 102,
    kStatusIgnoreAll = 103,
    kStatusAbort = 104,
};

// One "Status" report: a title and lines of up to three columns, shown modally. Run answers
// the id of the button that closed it; closing empties the title and the lines, so that the
// next report of the same run shows only its own, unless the lines are to be kept.
class IStatusReport {
public:
    virtual ~IStatusReport() = default;
    virtual void SetTitle(const std::string& title) = 0;
    virtual void AddEntry(const std::string& name, const std::string& text) = 0;
    virtual void AddErrorDetail(const std::string& name, const std::string& text,
                                const std::string& detail) = 0;
    virtual void AddMessage(const std::string& text) = 0;
    virtual void AddBlankLine() = 0;
    virtual int Run() = 0;
    // From now on closing keeps the lines: each later Run shows them with the new ones added
    // (a report run lists all its errors so far; a new title replaces the old).
    virtual void KeepEarlierLines() {}
};

struct DocShell {
    // The main window's message box (the application's name as caption, an OK button).
    std::function<void(const std::string& text)> showMessage;
    // A status report in error mode over the main window.
    std::function<std::unique_ptr<IStatusReport>()> makeStatusReport;
    std::function<void()> startBusy;
    std::function<void()> busyTick;
    std::function<void()> suspendBusy;
    std::function<void()> resumeBusy;
    std::function<void()> stopBusy;
};

// The process-wide hooks; the shell sets them once, tests set and restore them.
DocShell& GetDocShell();

// Shows a string-table text in the main window's message box and remembers it as the last
// message of the document layer.
void ShowDocMessage(int id);
void ShowDocText(const std::string& text);
const std::string& LastDocMessage();
void ClearLastDocMessage();

// A status report built by the shell's factory, or the silent one.
std::unique_ptr<IStatusReport> MakeStatusReport();

}  // namespace vyn
