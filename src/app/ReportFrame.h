#pragma once
// The frame of a report designer view, kept apart from the plate shell because the report
// model's names would clash with the plate's.
namespace vyn {

class QRepView;
class TDocManager;
class TMDIClient;

// Frames the view in the client; a new report's document is titled after the report, or
// "Report<n>" with the running number when the report has no name.
void FrameReportView(TMDIClient& client, QRepView& view, TDocManager& docs);

}  // namespace vyn
