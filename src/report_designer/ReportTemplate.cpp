#include "report_designer/ReportTemplate.h"

#include "report_designer/QRepView.h"
#include "reports/QRepDoc.h"

namespace vyn {

std::unique_ptr<TDocTemplate> MakeReportTemplate(long flags)
{
    return std::make_unique<TDocViewTemplate<QRepDoc, QRepView>>("Report", "*.qrp", "qrp", flags);
}

}  // namespace vyn
