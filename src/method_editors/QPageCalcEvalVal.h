#pragma once
// QPageCalcEvalVal: one class for the three list pages of the method sheet, "Calculations",
// "Evaluations" and "Validations". Each edits one list of named expressions in a variable list
// with an in-place edit below it. Names are kept valid, and automatic names keep showing their
// position (fct1, fct2, ...).
#include <memory>
#include <string>

#include "method_editors/QAllPsh.h"
#include "method_editors/ExpressionCheck.h"
#include "method_editors/QDefinitionSeries.h"

namespace vyn {

class QGEdit;
class QVarList;
class TOkCancelGadgetWin;

class QPageCalcEvalVal : public QMethodPage {
public:
    static constexpr int kCalculationsId = 7302, kEvaluationsId = 7303, kValidationsId = 7304;
    static constexpr int kList = 101, kEdit = 102, kHint = 103;

    // Any dialog id but the calculations' and the evaluations' gives the validations page.
    QPageCalcEvalVal(QAllPsh* sheet, int resId, TwostrArray& list);
    ~QPageCalcEvalVal() override;
    bool KillActive() override;

    const std::string& Prefix() const { return series_->Prefix(); }
    int WizardContext() const { return context_; }
    QVarList& List() const { return *list_; }
    QGEdit& Edit() const { return *edit_; }
    TOkCancelGadgetWin& Pair() const { return *pair_; }

protected:
    void SetupPage() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;

private:
    TResult ContextMenu(TParam1 window);

    TwostrArray& defs_;
    int helpId_;
    int context_;
    QVarList* list_;
    QGEdit* edit_;
    TOkCancelGadgetWin* pair_;
    std::unique_ptr<QDefinitionSeries> series_;
    ExpressionGuard guard_;
};

}  // namespace vyn
