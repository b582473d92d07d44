#pragma once
// The plate document's dialogs as the shell shows them, over the window that runs a command.
// Dialogs that do not exist yet answer Cancel, so that the document changes nothing.
#include "document/DocDialogs.h"

namespace vyn {

class TWindow;

class ShellDocDialogs final : public IDocDialogs {
public:
    explicit ShellDocDialogs(TWindow* parent) : parent_(parent) {}

    int RunMethodWizard(MethodWizardData& data) override;
    int RunMethodSheet(MethodSheetData& data) override;
    int RunSampleDefinition(SampleDefinitionData& data) override;
    int RunCalibration(CalibrationDialogData& data) override;
    int RunSampleNames(QDescList& descs, int startKind) override;
    int RunNameInfo(std::string& name, std::string& comment) override;
    int RunPresentation(PresentationData& data) override;
    bool RunFileDialog(FileDialogData& data) override;
    std::unique_ptr<IStatusReport> MakeInfoReport() override;
    void CloseAndDeleteDoc(QDoc& doc) override;

private:
    TWindow* parent_;
};

}  // namespace vyn
