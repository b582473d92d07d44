#pragma once
// A dialog's hint line: one static control that explains, in a line, the control the mouse is
// over. The explanation of the control with id n is the text of a hidden static with id n + 2000
// in the same dialog template, so the texts are kept and translated with the dialog, not in code.
// Only the controls whose ids lie in [lowId, highId] have hints; over any other control or the
// dialog's background the line is emptied (once, and only when it showed a hint, so a resource
// text such as "..." stays until the first hint).
//
// The window layer tells a dialog which of its children the mouse entered with WM_SETCURSOR
// (wParam: that window, or the dialog itself when the mouse went back to the background; low
// word of lParam: the hit-test code). The dialog forwards it, after its own handling:
//
//     class MyDlg : public TDialog {
//     public:
//         explicit MyDlg(TWindow* parent)
//             : TDialog(parent, idMyDlg), hint_(new TStatic(this, 110)), hintLine_(hint_, 101, 109)
//         {
//             hintLine_.ForwardFrom(*this);  // or, in a WM_SETCURSOR handler of its own:
//                                            // hintLine_.OnSetCursor(p1, p2);
//         }
//     private:
//         TStatic* hint_;           // static 110 of the template, owned by the dialog
//         DlgHintLine hintLine_;    // hints for controls 101..109 from statics 2101..2109
//     };
#include "platform/gui/WindowMessages.h"

namespace vyn {

class TWindow;

class DlgHintLine {
public:
    // hintControl: the static that shows the hints; its parent is the dialog.
    explicit DlgHintLine(TWindow* hintControl, int lowId = 100, int highId = 200);

    void SetRange(int lowId, int highId)
    {
        lowId_ = lowId;
        highId_ = highId;
    }

    // The mouse is now over `under` (hit-test code as WM_SETCURSOR gives it). Acts only in the
    // client area and when the window changed since the last call.
    void OnSetCursor(TWindow* under, int hitTest);
    // The same from WM_SETCURSOR's own parameters.
    void OnSetCursor(TParam1 p1, TParam2 p2);
    // The name the report dialogs call it by.
    void OnFocus(TWindow* under, int hitTest) { OnSetCursor(under, hitTest); }

    // Makes the dialog pass its WM_SETCURSOR here; for dialogs with no handler of their own for
    // that message.
    void ForwardFrom(TWindow& dialog);

    bool Shown() const { return shown_; }
    TWindow* HintControl() const { return hint_; }

private:
    TWindow* hint_;
    TWindow* last_ = nullptr;  // only compared, never used: it may be gone by now
    bool shown_ = false;
    int lowId_;
    int highId_;
};

}  // namespace vyn
