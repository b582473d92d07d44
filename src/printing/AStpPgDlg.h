#pragma once
// AStpPgDlg: "Print Page Setup". The user sets, per printout kind, the four margins (in 0.01
// inch or 0.1 mm) and the print font, and how calculations appear on the plate's pages
// (GlobalMode). The dialog edits a working copy of all five kinds and writes them back only on
// OK; the caller saves them to the profile.
#include <algorithm>
#include <limits>

#include "platform/gui/Dialog.h"
#include "printing/PageSettings.h"

namespace vyn {

class TPrinter;

// The kind shown and the unit of the margins (0: 0.01 inch, 1: 0.1 mm), kept between runs of
// the dialog for the rest of the program run.
extern int gPageSetupKind;
extern int gPageSetupUnits;

class AStpPgDlg : public TDialog {
public:
    static constexpr int kResId = 23600;
    enum {
        IDC_KIND = 101,        // 101 + kind
        IDC_UNIT_INCH = 106,
        IDC_UNIT_MM = 107,
        IDC_LEFT = 108,        // 108..111: left, top, right, bottom
        IDC_SPIN = 1107,       // 1107..1110 beside 108..111
        IDC_FONTSIZE = 211,
        IDC_SAMPLE = 212,
        IDC_FONT = 213,
        IDC_HASFONT = 214,
        IDC_APPLYALL = 216,
        IDC_MODE = 113,        // 113 + GlobalMode
        IDC_ICON = 23601,      // 23601 + kind
    };
    static constexpr int kMaxMargin = 22000;

    // kind -1 keeps the kind shown the last time. printer null: no font can be chosen.
    AStpPgDlg(TWindow* parent, int kind, TPrinter* printer);

    // Unit conversions of the margin edits (0.01 inch and 0.1 mm), in a wide type and held to
    // the int range, so a large typed number cannot wrap into a negative margin.
    static int InchToMm(int v) { return Clamped(static_cast<long long>(v) * 2540 / 1000); }
    static int MmToInch(int v) { return Clamped((static_cast<long long>(v) * 1000 + 2539) / 2540); }
    static int Clamped(long long v)
    {
        return static_cast<int>(std::clamp<long long>(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
    }

    // The working copy (for the font dialog's answer and for tests).
    const PageSettings& Working(int kind) const { return work_[kind]; }

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void CmOk() override;
    void EvVScroll(unsigned code, unsigned pos, TWindow* control) override;
    void EvHScroll(unsigned code, unsigned pos, TWindow* control) override;

private:
    void ShowKind(int kind);
    void ShowFont(int kind);
    // The four edits as typed, in the unit shown; false after telling the user of a refused one.
    bool ReadMarginEdits(int (&values)[4]);
    // Into the kind's working record; false when an edit was refused.
    bool ReadMargins(int kind);
    void WriteEdit(int id, int value);
    bool Checked(int id) const;
    void Check(int id, bool on);
    void Step(TWindow* control, unsigned code);

    void KindClicked(int kind);
    void UnitClicked(int units);
    void CmFont();
    void CmNoFont();
    void CmApplyAll();

    PageSettings work_[kPrintKindCount];
    int screenDpiY_;
    TPrinter* printer_;
    int units_ = 0;
};

// The page setup of the program: the dialog over the parent, starting on the kind (-1: the one
// shown last); on OK the settings are saved to "VYN.INI" at once. printer null: the printer
// object set with SetPreviewPrinter. Answers the id that ended the dialog.
int RunPageSetup(TWindow* parent, int kind, TPrinter* printer = nullptr);

}  // namespace vyn
