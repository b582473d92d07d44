#pragma once
// QWizzAll: the method wizard. Six pages ask for a test in laboratory terms (calibration
// curve, categories with cut-offs, their names and colours, the composition of the result
// text, validity conditions, measurement filters) and turn the answers into ordinary named
// definitions of the method (QWizzSettings). It works on copies; the creating command copies
// back what changed.
#include "method_editors/QWizzSettings.h"
#include "platform/gui/PropertySheet.h"

namespace vyn {

class QCalibr;
class QPlate;

class QWizzAll : public TPropertySheet {
public:
    static constexpr int kSheetResId = 7399;
    static constexpr int kHelpId = 3123;
    enum { kCurveFitPage, kCategoriesPage, kPresentationPage, kCompositionPage, kValidationPage, kMeasurementPage };

    QWizzAll(TWindow* parent, const QPlate* plate);

    // The heading colour of every page (control 101), read whenever a heading is drawn.
    static TColor TitleColour;
    // Forgets the remembered position (a new program run, for tests).
    static void ForgetPosition();

    int StartPage() const { return startPage_; }
    void ReadSettings() { vyn::ReadSettings(st); }
    void WriteSettings() { vyn::WriteSettings(st); }

    QWizzState st;
    const QPlate* plate;
    const QCalibr* calibration = nullptr;
    int lastShown = -1;  // the page shown before the current one

protected:
    void SetupWindow() override;
    void CleanupWindow() override;

private:
    int startPage_;
};

}  // namespace vyn
