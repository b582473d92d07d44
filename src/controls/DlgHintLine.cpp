#include "controls/DlgHintLine.h"

#include <string>

#include "platform/gui/Window.h"

namespace vyn {

namespace {

// The line holds at most this many characters of a hint.
constexpr std::size_t maxHintChars = 63;

// The first `count` characters of a UTF-8 text, never cutting one in half.
std::string FirstChars(const std::string& text, std::size_t count)
{
    std::size_t i = 0;
    for (std::size_t n = 0; i < text.size(); ++n) {
        if (n == count) return text.substr(0, i);
        ++i;
        while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;
    }
    return text;
}

}  // namespace

DlgHintLine::DlgHintLine(TWindow* hintControl, int lowId, int highId)
    : hint_(hintControl), lowId_(lowId), highId_(highId)
{
}

void DlgHintLine::OnSetCursor(TWindow* under, int hitTest)
{
    if (hitTest != static_cast<int>(HTCLIENT) || under == last_) return;
    last_ = under;
    TWindow* dialog = hint_ ? hint_->GetParent() : nullptr;
    if (dialog && under && under != dialog && under != hint_ && under->GetParent() == dialog) {
        const int id = under->GetId();
        if (id != 0 && id >= lowId_ && id <= highId_)
            if (TWindow* source = dialog->ChildWithId(id + 2000)) {
                const std::string text = FirstChars(source->GetWindowText(), maxHintChars);
                if (!text.empty()) {
                    hint_->SetWindowText(text);
                    shown_ = true;
                    return;
                }
            }
    }
    if (shown_ && hint_) hint_->SetWindowText(std::string());
    shown_ = false;
}

void DlgHintLine::OnSetCursor(TParam1 p1, TParam2 p2)
{
    OnSetCursor(reinterpret_cast<TWindow*>(p1), static_cast<int>(p2 & 0xFFFF));
}

void DlgHintLine::ForwardFrom(TWindow& dialog)
{
    dialog.OnMessage(WM_SETCURSOR, [this](TParam1 p1, TParam2 p2) -> TResult {
        OnSetCursor(p1, p2);
        return 0;
    });
}

}  // namespace vyn
