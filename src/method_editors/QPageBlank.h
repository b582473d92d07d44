#pragma once
// QPageBlank: the "Blanking" page: no blanking, one global blank value subtracted from every
// well, or a general transformation of each well, with the two expressions.
#include "method_editors/ExpressionCheck.h"
#include "method_editors/QAllPsh.h"

namespace vyn {

class QGEdit;
class TRadioButton;

class QPageBlank : public QMethodPage {
public:
    static constexpr int kResId = 7300;
    static constexpr int kNone = 200, kSimple = 201, kGeneral = 202, kBlankLabel = 203, kTransformLabel = 204,
                         kBlankEdit = 205, kTransformEdit = 206, kHint = 207;

    explicit QPageBlank(QAllPsh* sheet);
    bool KillActive() override;

protected:
    void SetupPage() override;

private:
    int CheckedMode() const;
    void ShowFields();
    void Choose(int id);
    TResult ContextMenu(TParam1 window);

    TRadioButton* modes_[3];
    QGEdit* blank_;
    QGEdit* transform_;
    ExpressionGuard guard_;
};

}  // namespace vyn
