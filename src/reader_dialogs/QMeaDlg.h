#pragma once
#include <string>

#include "platform/gui/Dialog.h"

namespace vyn {

class QFoto;
class QMessageLine;
class TCheckBox;
class TComboBox;

// The measure dialog: filters, reference, reader options, carrier buttons and what to do
// with the new values. "Start" measures behind the progress dialog and ends the dialog with
// OK when the measurement succeeded; the caller then reads the request fields back.
class QMeaDlg : public TDialog {
public:
    explicit QMeaDlg(TWindow* parent, QFoto* driver = nullptr);

    // The request, filled by the caller before Execute and read back after OK.
    int rows = 8;
    int cols = 12;
    double* values = nullptr;
    int wavelength = 0;
    int refWavelength = 0;
    int useReference = 0;
    std::string options;
    bool hasValues = false;
    bool subtract = false;
    bool mayAutoProcess = false;
    bool autoProcess = false;

    std::string MessageText() const;

protected:
    void SetupWindow() override;

private:
    void CmStart();
    void CmOptions();
    void CmMove(bool out);
    void CmReference();
    void ShowOptions();
    void ShowMessage(const std::string& text);
    QFoto& Driver() const;

    QFoto* driver_;
    QMessageLine* line_ = nullptr;
};

}  // namespace vyn
