#pragma once
// QNView: one quantitative sample against the plate's calibration curve: the curve and the
// sample's evaluation points, its number and identification as title, its result, state or
// last error under the x axis. Several may be open for one plate, one sample each.
#include <string>
#include <vector>

#include "platform/core/Document.h"
#include "printing/APrintOutGraph.h"
#include "views/QCrvWindow.h"

namespace vyn {

class QDoc;
class QNSample;
class QSample;
class QPlate;

class QNView : public QCrvWindow, public TView, public APrintOutGraph {
public:
    static constexpr int kHelpContext = 3270;

    // The sample is the one named by gPendingViewSample.
    explicit QNView(QDoc& doc, TWindow* parent = nullptr);
    QNView(QDoc& doc, int sampleIndex, TWindow* parent);
    ~QNView() override;

    double CurveY(double x) override;
    double PrintCurveY(double x) override { return CurveY(x); }
    const char* GetViewName() override { return "QNView"; }
    // The menu resource the view shows while it is active.
    int GetViewMenu() const { return 114; }
    bool VnNotify(int event, long item) override;
    void PrepareHeader() override;
    void PrintLegend() override;

    // The list index of the sample shown (it moves when samples are renumbered or fixed).
    int SampleIndex() const;
    // The sample shown; null when the index names no quantitative sample (any more).
    QNSample* Sample() const;
    void Rebuild();
    void Activated(bool active);
    std::string TitleText() const;
    // The x-axis label and whether it is highlighted.
    std::string LabelText(bool& highlight) const;

protected:
    void SetupWindow() override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;

private:
    void Init();
    void CmCalculate();
    bool CanCalculate() const;
    void ToggleDisplay(unsigned id);

    QDoc& doc_;
    QPlate& plate_;
    int index_;
    QSample* sample_ = nullptr;
    std::string shownTitle_;  // the sample shown, kept by identity, not by list index
    // The points as lent to the curve window; copies, so that a recalculation of the sample
    // can never leave the window reading freed arrays.
    std::vector<double> x_, y_;
    std::vector<int> flags_;
};

}  // namespace vyn
