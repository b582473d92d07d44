#pragma once
// The sample list and calibration curve views as the shell uses them. Their command ids
// share names with the plate view's, so each is reached through a file of its own.
namespace vyn {

class TDocManager;
class TWindow;

void AddSampleListTemplate(TDocManager& manager, long flags);
void AddCalibrationCurveTemplate(TDocManager& manager, long flags);
// The frame's activation for a view of the kind; false when the window is not one.
bool ActivateSampleList(TWindow* client, bool active);
bool ActivateCalibrationCurve(TWindow* client, bool active);

}  // namespace vyn
