#pragma once
// ShellDialogChain: the dialogs a plate document's commands run, as one object for the length
// of a command. The calibration dialog answers first, then the method wizard and sheet, and
// whatever neither knows goes to the shell's own dialogs. The calibration dialog's "Load
// calibration..." works over the open plate documents of the application.
#include <memory>

#include "calibration_dialogs/ICalibrationSource.h"
#include "document/DocDialogs.h"

namespace vyn {

class CalibrationDialogs;
class MethodWizardDialogs;
class QPlate;
class ShellDocDialogs;
class TDocManager;
class TWindow;

// Picks among the open plates ("Select Calibration") and opens plate files through the
// document manager, so a plate opened for its calibration shows in a frame like any other.
class ShellCalibrationSource : public ICalibrationSource {
public:
    // own: the document whose calibration dialog runs (its frame comes to the front again).
    ShellCalibrationSource(TDocManager& docs, QDoc* own);
    int SelectCalibration(TWindow* parent, QDoc*& chosen) override;
    QDoc* OpenStandardDoc(TWindow* parent) override;
    void CloseAndDeleteDoc(QDoc& doc) override;
    void ActivateOwnFrame() override;

private:
    TDocManager& docs_;
    QDoc* own_;
    // Only a document this source opened may be closed by it; one the user had open stays.
    QDoc* opened_ = nullptr;
};

class ShellDialogChain {
public:
    // doc: the command's document (none: the dialogs work without a plate).
    ShellDialogChain(TWindow* parent, QDoc* doc);
    ~ShellDialogChain();
    ShellDialogChain(const ShellDialogChain&) = delete;
    ShellDialogChain& operator=(const ShellDialogChain&) = delete;

    IDocDialogs& Dialogs();
    operator IDocDialogs&() { return Dialogs(); }

private:
    std::unique_ptr<ShellDocDialogs> shell_;
    std::unique_ptr<MethodWizardDialogs> wizard_;
    std::unique_ptr<ShellCalibrationSource> source_;
    std::unique_ptr<CalibrationDialogs> calibration_;
};

}  // namespace vyn
