#pragma once
// TDialog: a dialog built from a template. Its controls are made from the template lines, in
// pixels converted from dialog units by the dialog font's base units; a control object that the
// dialog's class made with a template id is bound to its line, the other lines get plain
// controls. Execute() runs it modally and returns the id that ended it.
#include <string>
#include <vector>

#include "platform/gui/DialogTemplate.h"
#include "platform/gui/Window.h"

namespace vyn {

class TDialog : public TWindow {
public:
    TDialog(TWindow* parent, int resId);
    TDialog(TWindow* parent, const TDialogTemplate& tmpl);
    ~TDialog() override;

    int GetResId() const { return tmpl_ ? tmpl_->id : 0; }
    const TDialogTemplate* GetTemplate() const { return tmpl_; }

    bool Create() override;  // modeless
    int Execute();           // modal; -1 when the template is missing
    bool IsModal() const { return modal_; }
    // Ends the dialog with the id (modal) or destroys it (modeless).
    void CloseWindow(int retVal = IDCANCEL);
    void EndDialog(int retVal) { CloseWindow(retVal); }
    // The id that ended the last run, or 0 while it runs.
    int GetResult() const { return result_; }
    bool HasEnded() const { return ended_; }

    TWindow* GetDlgItem(int id) const { return ChildWithId(id); }
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void SetDefaultId(int id) { defaultId_ = id; }
    int GetDefaultId() const { return defaultId_; }

    // Base units of the dialog font: the average width of its letters and its height.
    TSize GetBaseUnits() const { return baseUnits_; }
    static TSize BaseUnitsOf(const std::string& face, int pointSize);
    // The font the dialog's controls show their texts in, for measuring what fits in them.
    TFont GetDialogFont() const;
    // Dialog units to pixels: x * baseX / 4 and y * baseY / 8, rounded as the framework does.
    void MapDialogRect(TRect& r) const;
    static TRect MapDialogRect(const TRect& r, TSize baseUnits);

    // Enter or Escape that the focused control did not claim.
    void DialogKey(unsigned vk, TWindow* from);
    // A key pressed on a control of the dialog (or of a page inside it), heard by the dialog
    // before the control: Tab and Shift+Tab move the focus, unless the control asks for Tab
    // itself (DLGC_WANTTAB). The modifiers are those of GetKeyState. True when the dialog took
    // the key.
    virtual bool PreProcessKey(unsigned vk, TWindow* focus);
    // The control that Tab (forward) or Shift+Tab moves the focus to from the window: the next
    // visible, enabled tab stop in the tab order of the dialog's window, round its end; nullptr
    // when there is none other. A group of radio buttons is one stop, entered at its checked
    // button (at its first shown, enabled one when none of those is checked).
    TWindow* NextTabStop(TWindow* from, bool forward) const;

    // The controls made for the template's lines, in the template's order (one per line).
    const std::vector<TWindow*>& TemplateControls() const { return lines_; }
    // The group of a control made for a template line, in template order: from the line with the
    // GROUP style at or before it up to the next line with that style. Of radio buttons only the
    // radio buttons, of other buttons only the buttons and check boxes (a radio's arrows never
    // land elsewhere, nor another button's on a radio). Empty for any other control.
    std::vector<TWindow*> ButtonGroupOf(const TWindow* control) const;
    // Whether the control is a radio button of a template line.
    bool IsTemplateRadio(const TWindow* control) const;
    // Where the keyboard enters the radio group of the button: its checked button when that one
    // is shown and enabled, else the group's first shown, enabled button. Any other control is
    // itself.
    static TWindow* GroupEntry(TWindow* control);
    // The focus moved by the keyboard (Tab, an arrow, a page turned): an edit shows its whole
    // text selected, as it does when Tab comes into it, so that typing, Backspace and Delete
    // replace it.
    static void FocusFromKeyboard(TWindow& control);

protected:
    QWidget* MakeWidget(QWidget* parentWidget) override;
    virtual void CmOk();
    virtual void CmCancel();
    void EvClose() override;

private:
    void BuildControls();
    int RunModal();
    // An arrow key on a button of a group: the focus moves to the next (or previous) shown,
    // enabled button of its group, round its ends; a radio button reached is checked.
    bool MoveInGroup(TWindow* focus, unsigned vk);
    int LineOf(const TWindow* control) const;

    const TDialogTemplate* tmpl_;
    std::vector<TWindow*> lines_;
    TSize baseUnits_{6, 13};
    int defaultId_ = IDOK;
    int result_ = 0;
    bool modal_ = false;
    bool ended_ = false;
};

// The copy between a dialog's fields and its caller's data, in one direction: a dialog that
// edits the caller's values names each pair once, and the list runs In before the dialog opens
// and Out to take the answer.
class TTransfer {
public:
    static const TTransfer In, Out;
    template <class D, class C>
    void operator()(D& dialogField, C& callerField) const
    {
        if (in_) dialogField = callerField;
        else callerField = dialogField;
    }

private:
    constexpr explicit TTransfer(bool in) : in_(in) {}
    bool in_;
};
inline constexpr TTransfer TTransfer::In{true}, TTransfer::Out{false};

// Runs the dialog modally on the caller's values: exchange(TTransfer) names the pairs; the answer
// is taken back only after OK. True after OK.
template <class Exchange>
bool ExecuteTransfer(TDialog& dlg, Exchange&& exchange)
{
    exchange(TTransfer::In);
    if (dlg.Execute() != IDOK) return false;
    exchange(TTransfer::Out);
    return true;
}

}  // namespace vyn
