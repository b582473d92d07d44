#pragma once
// CalibrationDialogs: the document dialogs of the method editors together with the
// calibration dialog, for the shell to plug in as a plate document's IDocDialogs.
#include "method_editors/MethodEditorDialogs.h"

namespace vyn {

class ICalibrationSource;

class CalibrationDialogs : public MethodEditorDialogs {
public:
    // source: the shell's part of "Load calibration..."; none: plate files only.
    CalibrationDialogs(TWindow* parent, const QPlate* plate, ICalibrationSource* source = nullptr,
                       IDocDialogs* next = nullptr);
    ~CalibrationDialogs() override;

    int RunCalibration(CalibrationDialogData& data) override;
    // Documents opened for their calibration alone go back to where they came from.
    void CloseAndDeleteDoc(QDoc& doc) override;

private:
    std::unique_ptr<ICalibrationSource> plain_;
    ICalibrationSource* source_;
};

}  // namespace vyn
