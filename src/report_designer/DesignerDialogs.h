#pragma once
// The report designer's own dialogs: the hint line that dialogs show under their controls, the
// "Report Sections" dialog with its page preview, "Duplicate Objects", "Insert Picture" and
// "Sample Simulation". Each is built by its opener on its resource, given its inputs in fields,
// run modally and read back.
#include <string>

#include "controls/DlgHintLine.h"
#include "platform/gui/Control.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"

namespace vyn {

enum DesignerDialogId : int {
    idQRInsertPictDlg = 7003,
    idQReplObj = 7004,
    idQRFakeSmpls = 7007,
    idRPSecDlg = 7008,
};

// A dialog's hint line on its static control: the program's dialog hint line (the text of the
// hidden static id + 2000 of the control under the mouse, for the ids in the range). The dialog
// calls OnFocus from its WM_SETCURSOR.
class CHintStat : public TStatic {
public:
    CHintStat(TWindow* parent, int resourceId, int lowId = 100, int highId = 200)
        : TStatic(parent, resourceId), line_(this, lowId, highId)
    {
    }
    void SetRange(int lowId, int highId) { line_.SetRange(lowId, highId); }
    void OnFocus(TWindow* under, int hitTest) { line_.OnFocus(under, hitTest); }
    bool HintShown() const { return line_.Shown(); }

private:
    DlgHintLine line_;
};

// The band flags the sections dialog edits: one character per band in the report's band order
// (page header, report header, detail, report footer, page footer), '1' present. It keeps the
// last choice for the rest of the run.
extern char gSectionFlags[6];

// The sections dialog's page preview, drawn from its own window text (the five flags).
class RPSecPictButton : public TButton {
public:
    RPSecPictButton(TWindow* parent, int resourceId) : TButton(parent, resourceId) {}
    void DrawItem(TDrawItem& item) override;
    static void DrawPage(TDC& dc, const TRect& page, const bool flags[5]);
};

class RPSecDlg : public TDialog {
public:
    explicit RPSecDlg(TWindow* parent, int resId = idRPSecDlg);
    CHintStat* hintLine;
    RPSecPictButton* preview;

protected:
    void SetupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
};

// "Duplicate Objects": copies of the selection laid out in columns and rows.
class QReplObj : public TDialog {
public:
    explicit QReplObj(TWindow* parent, int resId = idQReplObj);
    // Inputs.
    int objectCount = 0;
    bool gridMode = false;
    bool sectionsDiffer = false;
    int cellCount = 0;
    int commonColumn = -1;
    int commonRow = -1;
    // Outputs, valid after IDOK.
    bool gridModeUsed = false;
    int columns = 1;
    int rows = 1;
    bool smart = false;
    int columnSpacing = 0;  // twips, or grid steps in grid mode
    int rowSpacing = 0;

    // Where the dialog was last closed and how "S&mart" was left, for the next run.
    static TPoint& KeptPosition();
    static bool& KeptSmart();
    bool Warning() const { return warning_; }

protected:
    void SetupWindow() override;
    void CmOk() override;
    void CmCancel() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    void Comment(const std::string& text, bool warning);
    void Refuse(int stringId, int arg, int focusId);
    void Normalise(int id);
    // A count or grid spacing as typed; false, after telling the user (naming the field's range
    // low..high), when the text is no whole number.
    bool ReadWhole(int id, int low, int high, int& value);
    void KeepState();
    bool warning_ = false;
};

// "Insert Picture": where a placed picture comes from and how it is sized.
class QRInsertPictDlg : public TDialog {
public:
    explicit QRInsertPictDlg(TWindow* parent, int resId = idQRInsertPictDlg);
    // Input: no size was drawn, the picture can only take its own.
    bool sizeFixed = false;
    // Outputs: 0 the clipboard, 1 a file; 0 the drawn size, 1 the picture's own.
    int source = 0;
    int size = 0;
    // Skips the dialog when the hide box was left checked and there is nothing to choose.
    int Execute();

    static int& KeptSource();
    static int& KeptSize();
    static bool& KeptHide();

protected:
    void SetupWindow() override;
    void CmOk() override;
    void CmCancel() override;

private:
    bool clipboardPicture_ = false;
};

// "Sample Simulation": how many samples a report without a plate is laid out for.
class QRFakeSmpls : public TDialog {
public:
    explicit QRFakeSmpls(TWindow* parent = nullptr, int resId = idQRFakeSmpls);
    int fixedCount = 3;
    int sequentialCount = 45;
    // The counts are kept to this so that the layout's sums cannot overflow.
    static constexpr int kMaxSamples = 9999;

protected:
    void SetupWindow() override;
    void CmOk() override;
    void CmCancel() override;

private:
    // false, after telling the user, when a count is refused.
    bool ReadBack();
};

// Connects the view's dialog hooks and the report run's sample simulation to these dialogs.
void InstallDesignerDialogs();

}  // namespace vyn
