#pragma once
// QAllPsh: "Calculation Definition", the property sheet in which the user edits the whole
// method of one plate: blanking, curve fit, calculations, evaluations, validations and reader
// filters, one page each. The sheet edits only its own copies; the command that runs it
// compares them with the plate afterwards. A page writes its controls into the copies each
// time it is left, and the current page when OK or "Print..." is pressed.
#include <string>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/gui/PropertySheet.h"
#include "plate/twostr.h"

namespace vyn {

class QAllPsh;
class QCalibr;
class QPlate;
class QSheetTabs;
class TButton;

// The tab shown last (the next sheet opens on it) and where the last sheet stood on the
// screen ((-1, -1): let the system place it). They live for the run of the program.
extern int gMethodSheetPage;
extern TPoint gMethodSheetPos;

// A page of the sheet. Leaving it commits its controls; it may always be left.
class QMethodPage : public TPropertyPage {
public:
    QMethodPage(QAllPsh* sheet, int resId);
    QAllPsh& Sheet() const { return *sheet_; }
    // The sheet shows a page first: then, and only then, the page loads its controls.
    int SetActive() override;
    bool WasShown() const { return shown_; }
    // Commits the page's controls into the sheet's copies; false keeps the user on the page
    // (an expression that does not parse, which the user chose to correct).
    virtual bool KillActive() { return true; }

protected:
    virtual void SetupPage() {}
    // Enter and Escape on a page end the sheet as its OK and Cancel do.
    void CmOk() override;
    void CmCancel() override;

private:
    QAllPsh* sheet_;
    bool shown_ = false;
};

class QAllPsh : public TPropertySheet {
public:
    static constexpr int kResId = 7299;
    static constexpr int kCaptionId = 3240, kPrintTextId = 3241;
    static constexpr int kTabId = 12320, kApplyId = 12321, kPrintId = 28;
    enum Page { pgBlank, pgCurveFit, pgCalculations, pgEvaluations, pgValidations, pgFilters, pgCount };

    QAllPsh(TWindow* parent, const QPlate* plate);

    // As the user picks a tab: the current page is left (and commits), the new one shown.
    void SelectPage(int index);
    // "OK": the current page commits, the sheet ends with IDOK.
    void PressOk();
    QSheetTabs* Tabs() const { return tabs_; }
    TButton* PrintButton() const { return print_; }

    bool printRequested = false;
    const QPlate* plate;
    int blankMode = 0;
    std::string gblankText;
    std::string transformationText;
    const QCalibr* calibration = nullptr;
    int applyCurveFit = 0;
    int model = 0;
    int decreasing = 0;
    int logX = 0;
    std::vector<double> concentrations;
    int fixedParams = 0;
    double k0 = 0.0;
    double k1 = 1.0;
    std::vector<double> dilutions;
    TwostrArray calculations;
    TwostrArray evaluations;
    TwostrArray validations;
    int useReference = 0;
    int measurementFilter = 0;
    int referenceFilter = 0;
    std::string readerOptions;

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void CmOk() override;
    // Ctrl+Tab and Ctrl+PgDn go to the next page, Ctrl+Shift+Tab and Ctrl+PgUp to the one
    // before, round the ends, wherever the focus is.
    bool PreProcessKey(unsigned vk, TWindow* focus) override;

private:
    void TabChanged();
    void StepPage(int step);
    void Print();
    void ShowPage(int index);

    QSheetTabs* tabs_;
    TButton* print_ = nullptr;
};

}  // namespace vyn
