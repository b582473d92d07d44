#pragma once
// The document template of report documents ("Report", files "*.qrp") with the designer's view.
#include <memory>

#include "platform/core/DocManager.h"

namespace vyn {

std::unique_ptr<TDocTemplate> MakeReportTemplate(long flags);

}  // namespace vyn
