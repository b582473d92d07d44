#include "calibration_dialogs/ICalibrationSource.h"

#include "document/QDoc.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/WindowMessages.h"

namespace vyn {

int FileCalibrationSource::SelectCalibration(TWindow*, QDoc*& chosen)
{
    chosen = nullptr;
    return IDOK;
}

QDoc* FileCalibrationSource::OpenStandardDoc(TWindow* parent)
{
    std::string path;
    if (!GetOpenFileName(parent, "Open", "Plates (*.plt)|*.plt|All (*.*)|*", path) || path.empty()) return nullptr;
    auto doc = std::make_unique<QDoc>();
    doc->SetDocPath(path);
    if (!doc->InitDoc()) return nullptr;
    doc->CalculatePlate();
    return doc.release();
}

void FileCalibrationSource::CloseAndDeleteDoc(QDoc& doc) { delete &doc; }

}  // namespace vyn
