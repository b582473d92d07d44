#pragma once
// QSView: the calibration curve of one plate: the fitted curve, the standards as points, the
// valid range as two markers, the model's name as title and the units, the state or the fit's
// message under the x axis. Every change the user makes goes through the plate document.
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "printing/APrintOutGraph.h"
#include "views/QCrvWindow.h"
#include "views/ViewCommands.h"

namespace vyn {

class QCalibr;
class QDoc;
class QPlate;

class QSView : public QCrvWindow, public TView, public APrintOutGraph {
public:
    static constexpr int kHelpContext = 3260;

    explicit QSView(QDoc& doc, TWindow* parent = nullptr);
    ~QSView() override;

    double CurveY(double x) override;
    double PrintCurveY(double x) override { return CurveY(x); }
    const char* GetViewName() override { return "QSView"; }
    // The menu resource the view shows while it is active.
    int GetViewMenu() const { return 113; }
    bool VnNotify(int event, long item) override;
    bool CanClose() override;
    void PrepareHeader() override;
    void PrintLegend() override;

    void Rebuild();
    // The fit can be run: values, a calibration not yet calculated and standards.
    bool CanFit() const;
    QDoc& Doc() const { return doc_; }
    // MDI activation of the view's frame.
    void Activated(bool active);
    // The title as the view shows it.
    std::string TitleText() const;

protected:
    void SetupWindow() override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;

private:
    void CmFit();
    void CmCalibrationDialog();
    void ToggleDisplay(unsigned id);

    QDoc& doc_;
    QPlate& plate_;
    QCalibr& cal_;
    std::vector<int> pointFlags_;
};

}  // namespace vyn
