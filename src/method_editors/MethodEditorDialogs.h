#pragma once
// MethodEditorDialogs: the plate document's dialogs that the method editors answer, for the
// shell to plug in as the document's IDocDialogs. The method sheet is answered here; every
// other dialog goes on to the next implementation (none: it counts as cancelled).
#include "document/DocDialogs.h"

namespace vyn {

class TWindow;

class MethodEditorDialogs : public IDocDialogs {
public:
    // The plate is the expression wizard's context; the parent owns the modal dialogs.
    MethodEditorDialogs(TWindow* parent, const QPlate* plate, IDocDialogs* next = nullptr);

    int RunMethodSheet(MethodSheetData& data) override;

    int RunMethodWizard(MethodWizardData& data) override;
    int RunSampleDefinition(SampleDefinitionData& data) override;
    int RunCalibration(CalibrationDialogData& data) override;
    int RunSampleNames(QDescList& descs, int startKind) override;
    int RunNameInfo(std::string& name, std::string& comment) override;
    int RunPresentation(PresentationData& data) override;
    bool RunFileDialog(FileDialogData& data) override;
    std::unique_ptr<IStatusReport> MakeInfoReport() override;
    void CloseAndDeleteDoc(QDoc& doc) override;

protected:
    TWindow* Parent() const { return parent_; }
    const QPlate* Plate() const { return plate_; }
    IDocDialogs* Next() const { return next_; }

private:
    TWindow* parent_;
    const QPlate* plate_;
    IDocDialogs* next_;
};

}  // namespace vyn
