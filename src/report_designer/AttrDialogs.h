#pragma once
// The dialogs that attribute rows open for values too rich for one line: a text box's number
// format, a graph axis's scaling, an object's evaluation context and a long text; and the
// placeholder of the functions and variables browser. The opener sets the fields, runs the
// dialog and reads the fields back when it ended with OK.
#include <string>

#include "platform/gui/Dialog.h"
#include "reports/RPAxisSpec.h"
#include "reports/RPNumFormat.h"

namespace vyn {

enum AttrDialogId : int { idFSeleDlg = 7001, idQRSrcDlg = 7002, idQRFmtDlg = 7005, idQRAxisDlg = 7006, idQREdZDlg = 7020 };

class QRFmtDlg : public TDialog {
public:
    explicit QRFmtDlg(TWindow* parent);
    RPNumFormat format;

protected:
    void SetupWindow() override;
    void CmOk() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void ShowDecimals();
};

class QRAxisDlg : public TDialog {
public:
    explicit QRAxisDlg(TWindow* parent);
    int axisIndex = 0;
    RPAxisSpec spec;

protected:
    void SetupWindow() override;
    void CmOk() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void WriteControls();
    void ReadControls();
};

class QRSrcDlg : public TDialog {
public:
    explicit QRSrcDlg(TWindow* parent);
    int kind = -1;
    std::string cellText;
    std::string sampleText;

protected:
    void SetupWindow() override;
    void CmOk() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void ShowFields();
};

class QREdZDlg : public TDialog {
public:
    explicit QREdZDlg(TWindow* parent);
    std::string text;

protected:
    void SetupWindow() override;
    void CmOk() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
};

class FSeleDlg : public TDialog {
public:
    explicit FSeleDlg(TWindow* parent) : TDialog(parent, idFSeleDlg)
    {
        SetContextHelpId(3334);
    }
};

}  // namespace vyn
