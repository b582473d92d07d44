#pragma once
// QPageCurveFit: the "Curve-fit" page: data trend, calibration model, "Log (x)", one fixed
// coefficient of the linear model and the standard concentrations, and the dilution series
// of the unknowns. A stored calibration keeps its curve: its controls are disabled and nothing
// of them is applied; the dilutions stay editable.
#include <memory>


#include "method_editors/KeptNumber.h"
#include "method_editors/QAllPsh.h"
#include "controls/QNumberSeries.h"

namespace vyn {

class QGEdit;
class QVarList;
class TCheckBox;
class TComboBox;
class TEdit;
class TOkCancelGadgetWin;
class TRadioButton;

class QPageCurveFit : public QMethodPage {
public:
    static constexpr int kResId = 7301;
    static constexpr int kIncreasing = 405, kDecreasing = 406, kModel = 407, kLogX = 408, kFixK0 = 409,
                         kFixK1 = 410, kK0 = 411, kK1 = 412, kConcList = 413, kConcEdit = 414, kStored = 418,
                         kDilList = 701, kDilEdit = 702, kHint = 103;

    explicit QPageCurveFit(QAllPsh* sheet);
    ~QPageCurveFit() override;
    bool KillActive() override;

    QVarList& ConcentrationList() const { return *concList_; }
    QVarList& DilutionList() const { return *dilList_; }
    TOkCancelGadgetWin& ConcentrationPair() const { return *concPair_; }
    TOkCancelGadgetWin& DilutionPair() const { return *dilPair_; }

protected:
    void SetupPage() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    TResult CharToItem(TParam1 p1, TParam2 p2);
    void ModelControls();
    void KControls();
    void FixClicked(int id);

    TRadioButton* increasing_;
    TRadioButton* decreasing_;
    TComboBox* model_;
    TCheckBox* logX_;
    TCheckBox* fixK0_;
    TCheckBox* fixK1_;
    TEdit* k0_;
    TEdit* k1_;
    QVarList* concList_;
    QGEdit* concEdit_;
    QVarList* dilList_;
    QGEdit* dilEdit_;
    TOkCancelGadgetWin* concPair_;
    TOkCancelGadgetWin* dilPair_;
    std::unique_ptr<QNumberSeries> conc_, dil_;
    KeptNumber shownK0_, shownK1_;
    bool stored_ = false;
};

}  // namespace vyn
