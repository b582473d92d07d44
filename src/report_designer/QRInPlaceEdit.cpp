#include "report_designer/QRInPlaceEdit.h"

#include "platform/gui/Clipboard.h"
#include "platform/gui/Keyboard.h"
#include "report_designer/QRepView.h"

namespace vyn {

QRInPlaceEdit::QRInPlaceEdit(TWindow* parent, int id) : TEdit(parent, id, std::string(), 0, 0, 20, 20) {}

unsigned QRInPlaceEdit::EvGetDlgCode(const TMsg* msg)
{
    return TEdit::EvGetDlgCode(msg) | DLGC_WANTALLKEYS | DLGC_WANTTAB;
}

void QRInPlaceEdit::Send(unsigned command)
{
    // Sent at once: the view has to see the end of the edit before the next key arrives.
    if (TWindow* p = GetParent()) p->SendMessage(WM_COMMAND, MAKEWPARAM(command, 0), reinterpret_cast<TParam2>(this));
}

void QRInPlaceEdit::EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags)
{
    switch (key) {
    case VK_RETURN:
    case VK_DOWN: Send(cmEditEnter); return;
    case VK_ESCAPE: Send(cmEditEsc); return;
    case VK_UP: Send(cmEditUp); return;
    case VK_TAB: Send(GetKeyState(VK_SHIFT) < 0 ? cmEditBackTab : cmEditTab); return;
    default: TEdit::EvKeyDown(key, repeatCount, flags);
    }
}

void QRInPlaceEdit::EvChar(unsigned ch, unsigned repeatCount, unsigned flags)
{
    if (ch == 13 || ch == 27 || ch == 9) return;
    TEdit::EvChar(ch, repeatCount, flags);
}

namespace {

// Byte offset of the n-th character of a UTF-8 text (the text's size past its end).
std::size_t ByteOffset(const std::string& s, int n)
{
    std::size_t i = 0;
    for (int k = 0; k < n && i < s.size(); ++k) {
        ++i;
        while (i < s.size() && (static_cast<unsigned char>(s[i]) & 0xC0) == 0x80) ++i;
    }
    return i;
}

int CharCount(const std::string& s)
{
    int n = 0;
    for (char c : s)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

}  // namespace

void QRInPlaceEdit::EditCommand(unsigned id)
{
    std::string text = GetWindowText();
    int start = 0, end = 0;
    GetSelection(start, end);
    if (start > end) std::swap(start, end);
    const std::size_t a = ByteOffset(text, start);
    std::size_t b = ByteOffset(text, end);
    const std::string selected = text.substr(a, b - a);
    std::string insert;
    switch (id) {
    case 24323:
        if (!selected.empty()) Clipboard::SetText(selected);
        return;
    case 24322:
        if (selected.empty()) return;
        Clipboard::SetText(selected);
        break;
    case 24324:
        if (!Clipboard::GetText(insert)) return;
        break;
    case 24325:
        if (a == b) b = ByteOffset(text, start + 1);
        if (a == b) return;
        break;
    default: return;
    }
    text.replace(a, b - a, insert);
    SetWindowText(text);
    const int caret = start + CharCount(insert);
    SetSelection(caret, caret);
    SetModify(true);
}

void QRInPlaceEdit::EvContextMenu(TWindow* window, int x, int y)
{
    if (TWindow* p = GetParent()) {
        p->SendMessage(WM_CONTEXTMENU, reinterpret_cast<TParam1>(window), MAKELPARAM(x, y));
        return;
    }
    TEdit::EvContextMenu(window, x, y);
}

}  // namespace vyn
