#pragma once
// QSmpDlg: the definition of one qualitative or quantitative sample, either the plate's global
// definition or a local one of its own: the named evaluations and, for a quantitative sample,
// the dilution series. It edits copies; the caller applies them after IDOK, which it gets only
// when there is a change to apply.
#include <memory>
#include <vector>

#include "platform/core/Geometry.h"
#include "platform/gui/Dialog.h"
#include "plate/twostr.h"

namespace vyn {

class QGEdit;
class QNumberSeries;
class QPlate;
class QQSample;
class QVarList;
class TOkCancelGadgetWin;
class TStatic;

class QSmpDlg : public TDialog {
public:
    static constexpr int kQualitativeId = 901, kQuantitativeId = 902;
    QSmpDlg(TWindow* parent, const QPlate& plate, int sampleIndex, int editable, int resId);
    ~QSmpDlg() override;

    bool HasSample() const { return sample_ != nullptr; }

    int Editable;
    std::vector<double> Dilutions;
    TwostrArray Evaluations;
    int UseLocal = 0;

    // The window rectangle of the last sample dialog of the run; the next one opens there.
    static TRect LastRect;

protected:
    void SetupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void CmOk() override;
    void CmCancel() override;
    void EvClose() override;

private:
    bool CanEdit() const { return Editable != 0 && UseLocal != 0; }
    void UpdateControls(bool reload);
    void Choose(bool local);
    void EvalListNotify(unsigned code);
    void EvalEditNotify(unsigned code);
    void Rename();
    TResult CharToItem(TParam1 p1, TParam2 p2);
    void End(int result);

    const QPlate& plate_;
    QQSample* sample_;
    int quantitative_;
    TStatic* number_;
    TStatic* ident_;
    QGEdit* dilEdit_ = nullptr;
    QVarList* dilList_ = nullptr;
    QGEdit* evalEdit_;
    QVarList* evalList_;
    TOkCancelGadgetWin* dilPair_ = nullptr;
    TOkCancelGadgetWin* evalPair_;
    std::unique_ptr<QNumberSeries> series_;
};

}  // namespace vyn
