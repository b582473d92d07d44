#include "app/ReportFrame.h"

#include <string>

#include "app/QPViewGadgets.h"
#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "platform/core/DocManager.h"
#include "reports/RPReport.h"
#include "views/ViewBars.h"

namespace vyn {

namespace {

// The designer's gadgets on the shell's bars, in the form the plate views give theirs: the
// shell puts Save and a separator first on the main bar and a separator first on the palette.
QPViewBars DesignerBars(bool active)
{
    QPViewBars bars;
    if (!active) return bars;
    const QRepViewBars designer = QRepView::Bars();
    bars.installed = true;
    // The carrier buttons are the plate's: while a designer is active the bar is cut back to its
    // fixed part, and they come back with a plate view or when the last window closes.
    bars.carrierAnchors = false;
    auto copy = [](const std::vector<unsigned>& from, std::size_t skip, std::vector<int>& to) {
        for (std::size_t i = skip; i < from.size(); ++i) to.push_back(from[i] == 0 ? gdSeparator : static_cast<int>(from[i]));
    };
    copy(designer.mainBar, 2, bars.mainBar);
    copy(designer.toolBar, 1, bars.palette);
    bars.modeButtonCommand = static_cast<int>(designer.sharedButtonCommand);
    bars.modeButtonPicture = designer.sharedButtonPicture;
    return bars;
}

}  // namespace

void FrameReportView(TMDIClient& client, QRepView& view, TDocManager& docs)
{
    TDocument& doc = view.GetDocument();
    if (!doc.HasDocPath()) {
        const std::string& name = view.Report().Name();
        doc.SetTitle(name.empty() ? "Report" + std::to_string(docs.NextUntitledIndex()) : name);
    }
    // While a designer frame is active its view's gadgets stand on the shell's bars.
    QRepViewShell& shell = GetRepViewShell();
    if (!shell.barsChanged)
        shell.barsChanged = [](QRepView& v, bool active) {
            if (active || PlateViewGadgets().ShownFor() == &v) PlateViewGadgets().Apply(v, DesignerBars(active));
        };
    auto* frame = new QRPMDIChild(client, "", view);
    frame->ShowDocTitle();
    frame->SetMenuDescr(TMenuDescr(view.GetViewMenu()));
    frame->Create();
}

}  // namespace vyn
