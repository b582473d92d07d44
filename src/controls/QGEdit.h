#pragma once
// QGEdit: the in-place cell editor of grids and tool bars. The grid (its focus owner) keeps the
// keyboard between edits, opens the editor on a cell, and gets the focus back, with chosen
// navigation keys, when the user leaves. The end of an edit, and whether the text changed, reach
// the notify window as WM_COMMAND: "changed" (id, 1) and "ended" (id, 0), lParam 0.
//
// QScEdit: a one-key edit; a printable key replaces the whole text with that one character.
#include <string>

#include "platform/gui/ControlEdit.h"
#include "plate/twostr.h"

namespace vyn {

class QPlate;

class QGEdit : public TEdit {
public:
    // Key masks: bit k stands for virtual key 35 + k (End, Home, Left, Up, Right, Down).
    static constexpr unsigned kUpDown = 40, kAllNavigation = 63;
    static constexpr unsigned kChanged = 1, kEnded = 0;

    // Bound to the template edit of the dialog.
    QGEdit(TWindow* parent, TWindow* focusOwner, TWindow* notifyWnd, int resourceId, bool forwardContextMenu);
    // Tool-bar form: made at 0,0, widthInChars dialog base units wide and 12/8 of one high.
    QGEdit(TWindow* parent, TWindow* owner, int id, int widthInChars);

    void Activate(const char* text, bool takeFocus, bool selectAll, bool modified, unsigned leaveKeys, unsigned forwardKeys);
    void Open(const char* text);
    void OpenFocused(const char* text);
    void OpenSelected(const char* text);
    void OpenWithChar(unsigned ch);
    void ReturnFocus();
    void Commit();

    TWindow* FocusOwner;
    TWindow* NotifyWnd;
    unsigned LeaveKeys = 0;
    unsigned ForwardKeys = 0;
    bool ForwardContextMenu;
    bool WizardRunning = false;  // while set, losing the focus notifies nobody

    // The expression wizard over this edit: context 0 global blank, 1 transformation,
    // 2 calculations, 3 validations, 4 evaluations, 7 report; lists that are not given are
    // taken from the plate. The edit keeps its text while the wizard runs; the wizard itself
    // lives above the shell controls and is plugged in with SetExpressionWizard.
    using ExpressionWizardFn = void (*)(TEdit& edit, int context, const QPlate* plate, const TwostrArray* calculations,
                                        const TwostrArray* validations, const TwostrArray* evaluations, bool startWithEq);
    static void SetExpressionWizard(ExpressionWizardFn fn);
    void RunExpressionWizard(int context, const QPlate* plate, const TwostrArray* calculations = nullptr,
                             const TwostrArray* validations = nullptr, const TwostrArray* evaluations = nullptr);

protected:
    void SetupWindow() override;
    void EvKillFocus(TWindow* gets) override;
    void EvSetFocus(TWindow* lost) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvContextMenu(TWindow* window, int x, int y) override;

private:
    // On a tool bar the field is white while it has the focus and light grey without it, so
    // that a glance tells whether typing goes there.
    void ShowBarColors(bool focused);
    void Notify(unsigned code);
    void Ended();
};

class QScEdit : public TEdit {
public:
    using TEdit::TEdit;

protected:
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvChar(unsigned ch, unsigned repeatCount, unsigned flags) override;
    void EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags) override;
};

}  // namespace vyn
