#pragma once
// CtxWzDlg: the expression wizard. It lists by category what an expression may use where it
// will be evaluated, shows each item's help, and inserts the chosen item into the edit that
// opened it. Callers set the context first (SetContext), then build and run the dialog.
#include <memory>
#include <string>
#include <vector>

#include "method_editors/QCtxCategory.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class QOperWin;
class TEdit;
class TListBox;

class CtxWzDlg : public TDialog {
public:
    static constexpr int kResId = 9001;
    static constexpr std::size_t kMaxInsert = 127;

    static void SetContext(int context, int second, const QPlate* plate, int fourth, const TwostrArray* calculations,
                           const TwostrArray* validations, const TwostrArray* evaluations, const void* eighth);
    static const CtxContext& Context();
    // Forgets the remembered position (the start of a new program run, for tests).
    static void ForgetPosition();

    // parent: the caller's edit control.
    CtxWzDlg(TWindow* parent, bool startWithEq);
    ~CtxWzDlg() override;

    int CategoryCount() const { return static_cast<int>(categories_.size()); }
    const QCtxCategory& Category(int i) const { return *categories_[static_cast<std::size_t>(i)]; }
    QOperWin& Palette() { return *palette_; }
    // Puts the text into the caller's edit as Insert does.
    void InsertIntoCaller(const std::string& text);

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    void CmOk() override;  // Insert
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvMouseMove(unsigned modKeys, const TPoint& p) override;

private:
    void CategorySelected();
    void Update();

    TListBox* categoryList_;
    TListBox* itemList_;
    TEdit* insertText_;
    TEdit* helpText_;
    QOperWin* palette_;
    std::vector<std::unique_ptr<QCtxCategory>> categories_;
    TWindow* lastFocus_ = nullptr;
    bool startWithEq_;
};

// The one entry of every expression edit: sets the context and runs the wizard over the edit.
void RunExpressionWizard(TEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                         const TwostrArray* validations, const TwostrArray* evaluations, bool startWithEq);
// Plugs RunExpressionWizard into the shell's in-place edit (QGEdit::RunExpressionWizard).
void InstallExpressionWizard();

}  // namespace vyn
