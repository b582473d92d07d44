#include "controls/QGEdit.h"

#include "platform/gui/Dialog.h"
#include "platform/gui/GadgetWindow.h"

namespace vyn {

namespace {
// Shared by every one-key edit: the current key has been consumed by its key-down.
bool sKeyTaken = false;

QGEdit::ExpressionWizardFn sExpressionWizard = nullptr;

bool InMask(unsigned mask, unsigned key) { return key >= VK_END && key <= VK_DOWN && (mask & (1u << (key - VK_END))); }
}  // namespace

QGEdit::QGEdit(TWindow* parent, TWindow* focusOwner, TWindow* notifyWnd, int resourceId, bool forwardContextMenu)
    : TEdit(parent, resourceId, 0), FocusOwner(focusOwner), NotifyWnd(notifyWnd), ForwardContextMenu(forwardContextMenu)
{
    ModifyStyle(0, dlgstyle::HIDDEN);
}

QGEdit::QGEdit(TWindow* parent, TWindow* owner, int id, int widthInChars)
    : TEdit(parent, id, {}, 0, 0, 0, 0), FocusOwner(owner), NotifyWnd(owner), ForwardContextMenu(false)
{
    TSize bu = TDialog::BaseUnitsOf("MS Sans Serif", 8);
    rect_ = TRect(0, 0, widthInChars * bu.cx, (12 * bu.cy) / 8);
    ModifyStyle(0, dlgstyle::HIDDEN);
}

void QGEdit::SetExpressionWizard(ExpressionWizardFn fn) { sExpressionWizard = fn; }

void QGEdit::RunExpressionWizard(int context, const QPlate* plate, const TwostrArray* calculations,
                                 const TwostrArray* validations, const TwostrArray* evaluations)
{
    if (!sExpressionWizard || WizardRunning) return;
    WizardRunning = true;
    sExpressionWizard(*this, context, plate, calculations, validations, evaluations, false);
    WizardRunning = false;
}

void QGEdit::Notify(unsigned code)
{
    if (NotifyWnd) NotifyWnd->SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<unsigned>(GetId()), code), 0);
}

void QGEdit::Ended()
{
    ClearModify();
    Notify(kEnded);
    ClearModify();
}

void QGEdit::Activate(const char* text, bool takeFocus, bool selectAll, bool modified, unsigned leaveKeys,
                      unsigned forwardKeys)
{
    LeaveKeys = leaveKeys;
    ForwardKeys = forwardKeys;
    if (text) SetWindowText(text);
    if (takeFocus) SetFocus();
    if (selectAll) SetSelection(0, 256);
    else SetSelection(256, 256);
    SetModify(modified);
}

void QGEdit::Open(const char* text)
{
    if (!text) Notify(kEnded);
    Activate(text, false, false, false, kUpDown, kUpDown);
}

void QGEdit::OpenFocused(const char* text)
{
    if (!text) Notify(kEnded);
    Activate(text, true, false, false, kUpDown, kUpDown);
}

void QGEdit::OpenSelected(const char* text)
{
    if (!text) Notify(kEnded);
    Activate(text, true, true, false, kUpDown, kUpDown);
}

void QGEdit::OpenWithChar(unsigned ch)
{
    std::string text;
    if (ch >= 32) {
        if (ch < 0x80) text = std::string(1, static_cast<char>(ch));
        else if (ch < 0x800) text = {static_cast<char>(0xC0 | (ch >> 6)), static_cast<char>(0x80 | (ch & 0x3F))};
        else text = {static_cast<char>(0xE0 | (ch >> 12)), static_cast<char>(0x80 | ((ch >> 6) & 0x3F)),
                     static_cast<char>(0x80 | (ch & 0x3F))};
    }
    Activate(text.c_str(), true, false, true, kAllNavigation, kAllNavigation);
}

void QGEdit::ReturnFocus()
{
    if (HasFocus() && FocusOwner) FocusOwner->SetFocus();
}

void QGEdit::Commit()
{
    if (!HasFocus() || !FocusOwner) return;
    // A confirmed edit must hand its typed text over before the edit ends, or the owner would
    // reopen the old value.
    if (IsModified()) Notify(kChanged);
    Ended();
    FocusOwner->SetFocus();
}

void QGEdit::SetupWindow()
{
    TEdit::SetupWindow();
    ShowBarColors(HasFocus());
}

void QGEdit::ShowBarColors(bool focused)
{
    if (!dynamic_cast<TControlBar*>(GetParent())) return;
    SetColors(TColor(0, 0, 0), focused ? TColor(255, 255, 255) : TColor(192, 192, 192));
}

void QGEdit::EvKillFocus(TWindow* gets)
{
    TEdit::EvKillFocus(gets);
    ShowBarColors(false);
    if (WizardRunning) return;
    Invalidate(true);
    if (FocusOwner && FocusOwner->IsWindow()) {
        if (IsModified()) Notify(kChanged);
        Ended();
    }
}

void QGEdit::EvSetFocus(TWindow* lost)
{
    TEdit::EvSetFocus(lost);
    ShowBarColors(true);
    Invalidate(true);
}

unsigned QGEdit::EvGetDlgCode(const TMsg* msg)
{
    unsigned code = TEdit::EvGetDlgCode(msg);
    if (FocusOwner && msg && (msg->message == WM_KEYDOWN || msg->message == WM_CHAR) &&
        (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE))
        code |= DLGC_WANTALLKEYS;
    return code;
}

void QGEdit::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    bool owner = FocusOwner && FocusOwner->IsWindow();
    if ((key == VK_RETURN || key == VK_ESCAPE) && owner) {
        if (key == VK_ESCAPE) ClearModify();
        FocusOwner->SetFocus();
        return;
    }
    if (owner && (InMask(LeaveKeys, key) || InMask(ForwardKeys, key))) {
        if (InMask(LeaveKeys, key)) FocusOwner->SetFocus();
        if (InMask(ForwardKeys, key)) FocusOwner->SendMessage(WM_KEYDOWN, key, 0);
        return;
    }
    TEdit::EvKeyDown(key, repeatCount, flags);
}

void QGEdit::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (FocusOwner && (ch == 13 || ch == 27)) return;
    TEdit::EvChar(ch, repeatCount, flags);
}

void QGEdit::EvContextMenu(TWindow* window, int x, int y)
{
    if (ForwardContextMenu && window == this) {
        if (!HasFocus()) SetFocus();
        if (NotifyWnd)
            NotifyWnd->SendMessage(WM_CONTEXTMENU, reinterpret_cast<TParam1>(window), MAKELPARAM(x, y));
        return;
    }
    TEdit::EvContextMenu(window, x, y);
}

void QScEdit::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (key == VK_DELETE || (key >= VK_END && key <= VK_DOWN)) {
        sKeyTaken = true;
        return;
    }
    sKeyTaken = false;
    TEdit::EvKeyDown(key, repeatCount, flags);
}

void QScEdit::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (sKeyTaken || ch == 8) return;
    if (ch >= 32 && ch <= 126) {
        SetWindowText(std::string(1, static_cast<char>(ch)));
        sKeyTaken = true;
        return;
    }
    TEdit::EvChar(ch, repeatCount, flags);
}

void QScEdit::EvKeyUp(unsigned key, unsigned repeatCount, unsigned flags)
{
    if (!sKeyTaken) TEdit::EvKeyUp(key, repeatCount, flags);
}

}  // namespace vyn
