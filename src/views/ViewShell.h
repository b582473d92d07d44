#pragma once
// What the plate views need from the application shell, filled in by the shell at start-up:
// the dialogs of the document's commands, opening a sample graph, help, the clipboard and the
// current document. Without a shell (tests, tools) the dialogs are missing and the commands
// that need one do nothing, help and the clipboard do nothing.
#include <functional>
#include <string>

#include "views/ViewBars.h"

namespace vyn {

class IDocDialogs;
class QDoc;
class TView;
class TWindow;

struct ViewShell {
    // The dialogs of a document command run over the given window.
    std::function<IDocDialogs*(TWindow* parent)> dialogs;
    // Opens the sample-graph view of the sample, or activates it when it is open.
    std::function<void(QDoc& doc, int sample)> showSampleView;
    // The inverse-calculation dialog on the plate's calibration.
    std::function<void(TWindow* parent, QDoc& doc)> inverseCalculation;
    std::function<void(int contextId)> help;
    // Selects the entry of the status bar's mode gadget that names the view's work mode.
    std::function<void(int entry)> setModeText;
    // The bars of a list or graph view changed; the shell shows them while the view is active
    // (installed) and takes them off when it is not.
    std::function<void(TView& view, const QPViewBars& bars)> barsChanged;
    // Closes the view with its frame (its sample went): the view is deleted before the call
    // returns, so the caller touches nothing of it afterwards.
    std::function<void(TView& view)> closeView;
    std::function<bool(const std::string& text)> putClipboardText;
    // False when the clipboard holds no text.
    std::function<bool(std::string& text)> getClipboardText;
    // The application setting "exp_fixes": copy the fixed samples too.
    bool copyFixedSamples = false;
};

ViewShell& GetViewShell();

// The plate document and view that were activated last; cleared when that view goes.
extern QDoc* gCurrentDoc;
extern TView* gActiveView;
// The sample a new sample-graph view shows, set just before the shell creates it.
extern int gPendingViewSample;

// The window that holds the views' edit and combo boxes while they stand on the shell's bars:
// the shell's main tool bar. None (tests, tools): each view holds its boxes itself.
void SetViewControlHost(TWindow* host);
TWindow* ViewControlHost();

// The view became the active one.
void SetActiveView(QDoc* doc, TView* view);
// The view is going away: it is no longer the active one.
void ForgetActiveView(const TView* view);

}  // namespace vyn
