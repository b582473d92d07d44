// Opening, saving and reverting the plate document.
#include <memory>

#include "document/LineReader.h"
#include "document/NewPlate.h"
#include "document/PlateFile.h"
#include "document/QDoc.h"

namespace vyn {

bool QDoc::InitDoc()
{
    if (!HasDocPath()) return InitNewDoc();
    LineReader reader;
    if (!reader.Open(GetDocPath())) {
        ShowDocMessage(kMsgCannotOpenFile);
        return false;
    }
    int message = 0;
    const bool ok = ReadPlateFile(fPlate, reader, -1, &message);
    reader.Close();
    if (!ok) ShowDocMessage(message);
    return ok;
}

bool QDoc::InitNewDoc()
{
    int message = 0;
    if (!InitNewPlateFromMethod(fPlate, &message)) {
        ShowDocMessage(message);
        return false;
    }
    // The method as it came: Revert of a plate never saved goes back to it, and the plate
    // line reader has moved on by then.
    std::string block;
    if (RenderPlateBlock(fPlate, pwPlate, block)) fInitialBlock = std::move(block);
    return true;
}

bool QDoc::Commit(bool /*force*/)
{
    if (!HasDocPath()) return false;
    std::string message;
    if (!SavePlateFile(fPlate, GetDocPath(), pwPlate, &message)) {
        ShowDocText(message);
        return false;
    }
    SetDirty(false);
    return true;
}

bool QDoc::ReadSource(QPlate& plate)
{
    LineReader reader;
    if (HasDocPath()) {
        if (!reader.Open(GetDocPath())) {
            ShowDocMessage(kMsgCannotOpenFile);
            return false;
        }
    } else if (!fInitialBlock.empty()) {
        reader.OpenMemory(fInitialBlock);
    } else {
        return true;  // a plate built empty stays empty
    }
    int message = 0;
    const bool ok = ReadPlateFile(plate, reader, -1, &message);
    if (!ok) ShowDocMessage(message);
    return ok;
}

void QDoc::ResetPlate()
{
    ForgetRetired();
    for (auto& s : fPlate.samples) RetireSample(std::move(s));
    // A new plate in the same place: views keep their pointer to the document's plate.
    std::destroy_at(&fPlate);
    std::construct_at(&fPlate);
}

bool QDoc::Revert(bool clear)
{
    if (!clear) {
        // Read once aside, so that a file that has gone bad leaves the plate as it is.
        auto trial = std::make_unique<QPlate>();
        if (!ReadSource(*trial)) return false;
    }
    ResetPlate();
    const bool ok = clear || ReadSource(fPlate);

    QPlate& p = fPlate;
    p.rst.Reset(0);
    for (int i = 0; i < p.wellCount; ++i) {
        p.rst.MarkWell(i);
        p.rst.MarkSample(i);
    }
    p.rst.SetCalibrationChanged();
    p.rst.SetDataChanged();
    p.rst.SetCalculationsChanged();
    p.rst.SetValidationChanged();
    Notify(vnPlateChanged);
    if (!ok) return false;
    return TDocument::Revert(clear);
}

}  // namespace vyn
