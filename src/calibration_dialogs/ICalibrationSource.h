#pragma once
// What "Load calibration..." of the calibration dialog asks of the shell: the choice among the
// open plates with a valid calibration, and the opening of a plate file for its calibration
// alone. FileCalibrationSource is the plain answer without a document manager.
#include <memory>
#include <string>

namespace vyn {

class QDoc;
class TWindow;

class ICalibrationSource {
public:
    virtual ~ICalibrationSource() = default;
    // The calibration selection over the parent: IDOK with the chosen document, or with none
    // when no other open plate holds a valid calibration; IDCANCEL when the user cancelled.
    virtual int SelectCalibration(TWindow* parent, QDoc*& chosen) = 0;
    // Lets the user open a plate file; the document, or none when nothing was opened.
    virtual QDoc* OpenStandardDoc(TWindow* parent) = 0;
    // Closes and deletes a document that OpenStandardDoc opened.
    virtual void CloseAndDeleteDoc(QDoc& doc) = 0;
    // Brings the frame of the dialog's own document to the front again.
    virtual void ActivateOwnFrame() {}
};

// Knows no open plates, so the selection always ends without a choice; opens plate files
// through the file dialog and calculates them, as opening a plate does.
class FileCalibrationSource : public ICalibrationSource {
public:
    int SelectCalibration(TWindow* parent, QDoc*& chosen) override;
    QDoc* OpenStandardDoc(TWindow* parent) override;
    void CloseAndDeleteDoc(QDoc& doc) override;
};

}  // namespace vyn
