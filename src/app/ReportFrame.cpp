#include "app/ReportFrame.h"

#include <string>

#include "report_designer/QRPMDIChild.h"
#include "report_designer/QRepView.h"
#include "platform/core/DocManager.h"
#include "reports/RPReport.h"

namespace vyn {

void FrameReportView(TMDIClient& client, QRepView& view, TDocManager& docs)
{
    TDocument& doc = view.GetDocument();
    if (!doc.HasDocPath()) {
        const std::string& name = view.Report().Name();
        doc.SetTitle(name.empty() ? "Report" + std::to_string(docs.NextUntitledIndex()) : name);
    }
    auto* frame = new QRPMDIChild(client, "", view);
    frame->Create();
}

}  // namespace vyn
