#include "app/ShellDialogChain.h"

#include "app/ShellDocDialogs.h"
#include "app/vynwApp.h"
#include "calibration_dialogs/CalibrationDialogs.h"
#include "document/QDoc.h"
#include "method_editors/MethodWizardDialogs.h"
#include "platform/core/DocManager.h"
#include "platform/core/StringTable.h"
#include "platform/gui/FileDialog.h"
#include "reader_dialogs/QCalSel.h"

namespace vyn {

ShellCalibrationSource::ShellCalibrationSource(TDocManager& docs, QDoc* own) : docs_(docs), own_(own) {}

int ShellCalibrationSource::SelectCalibration(TWindow* parent, QDoc*& chosen)
{
    QCalSel dlg(parent, docs_.GetDocuments(), own_);
    const int r = dlg.Execute();
    chosen = r == IDOK ? dlg.Chosen() : nullptr;
    return r;
}

QDoc* ShellCalibrationSource::OpenStandardDoc(TWindow* parent)
{
    std::string path;
    if (!GetOpenFileName(parent, GetResStringStd(21093), GetResStringStd(21092), path) || path.empty()) return nullptr;
    const bool wasOpen = docs_.FindDocument(path) != nullptr;
    auto* doc = dynamic_cast<QDoc*>(gApp ? gApp->OpenPlate(path) : nullptr);
    if (!doc) return nullptr;
    if (!wasOpen) opened_ = doc;
    // The calibration is only there once the plate has been calculated.
    if (vynwApp::NeedsCalculation(*doc)) doc->CalculatePlate();
    return doc;
}

void ShellCalibrationSource::CloseAndDeleteDoc(QDoc& doc)
{
    if (&doc != opened_) return;
    opened_ = nullptr;
    docs_.CloseDoc(doc);
}

void ShellCalibrationSource::ActivateOwnFrame()
{
    if (!own_ || !gApp) return;
    if (TView* v = own_->NextView(nullptr)) gApp->ActivateViewFrame(*v);
}

ShellDialogChain::ShellDialogChain(TWindow* parent, QDoc* doc)
    : shell_(std::make_unique<ShellDocDialogs>(parent))
{
    const QPlate* plate = doc ? &doc->GetPlate() : nullptr;
    wizard_ = std::make_unique<MethodWizardDialogs>(parent, plate, shell_.get());
    if (gApp) source_ = std::make_unique<ShellCalibrationSource>(gApp->GetDocManager(), doc);
    calibration_ = std::make_unique<CalibrationDialogs>(parent, plate, source_.get(), wizard_.get());
}

ShellDialogChain::~ShellDialogChain() = default;

IDocDialogs& ShellDialogChain::Dialogs() { return *calibration_; }

}  // namespace vyn
