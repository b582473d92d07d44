#pragma once
// The two dialogs of the printer object: the modal print dialog (printer, print to file, page
// range, copies, orientation) and the modeless abort dialog that stands while a job runs.
#include <string>

#include "platform/gui/Dialog.h"
#include "platform/gui/Printer.h"

namespace vyn {

class TCheckBox;
class TComboBox;
class TEdit;
class TRadioButton;
class TStatic;

class TPrintDialog : public TDialog {
public:
    static constexpr int kResId = 1538;
    // Control ids.
    static constexpr int kPrinter = 1139, kToFile = 1040, kFileName = 1155, kAll = 1056, kPages = 1058,
                         kFrom = 1152, kTo = 1153, kCopies = 1154, kPortrait = 1064, kLandscape = 1065;

    // Edits data in place, and only when the dialog ends with OK; printer is set to the name
    // chosen (empty when the system has no printers).
    TPrintDialog(TWindow* parent, TPrintDialogData& data, std::string& printer);

protected:
    void SetupWindow() override;
    void CmOk() override;

private:
    void UpdateFileState();

    TPrintDialogData& data_;
    std::string& printer_;
    TComboBox* printerBox_;
    TCheckBox* toFile_;
    TEdit* fileName_;
    TRadioButton* all_;
    TRadioButton* pages_;
    TEdit* from_;
    TEdit* to_;
    TEdit* copies_;
    TRadioButton* portrait_;
    TRadioButton* landscape_;
};

class TPrinterAbortDlg : public TDialog {
public:
    static constexpr int kResId = 19999;
    static constexpr int kTitle = 102, kDevice = 103, kPage = 104;

    // The static texts of the template are formats: the title line takes the printout's title,
    // the device line the device and the port, the page line the page number.
    TPrinterAbortDlg(TWindow* parent, int resId, TPrinter& printer, const std::string& title);

    // Shows the page being printed, and the count when it is known (above 0).
    void SetPage(int page, int count);
    std::string PageText() const;

protected:
    void SetupWindow() override;
    void CmCancel() override;

private:
    TPrinter& printer_;
    std::string title_;
    std::string pageFormat_;
    TStatic* page_;
};

}  // namespace vyn
