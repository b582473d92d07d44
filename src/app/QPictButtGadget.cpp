#include "app/QPictButtGadget.h"

#include "platform/gui/Command.h"
#include "platform/gui/Dc.h"
#include "platform/gui/DecoratedFrame.h"
#include "platform/gui/GadgetWindow.h"
#include "platform/gui/ResBitmap.h"

namespace vyn {

namespace {
// The enabler of a picture button: a command's text handler may change the button's text.
class QPictButtEnabler : public TCommandEnabler {
public:
    QPictButtEnabler(QPictButtGadget& g, unsigned id) : TCommandEnabler(id), gadget_(g) {}
    void SetText(const std::string& text) override
    {
        TCommandEnabler::SetText(text);
        gadget_.SetText(text);
    }

private:
    QPictButtGadget& gadget_;
};
}  // namespace

QPictButtGadget::QPictButtGadget(int baseResId, int pictureCount, int commandId, TType type, bool enabled,
                                 TState state, bool repeat)
    : TButtonGadget(baseResId, commandId, type, enabled, state, repeat), base_(baseResId), count_(pictureCount)
{
}

void QPictButtGadget::Rebuild()
{
    BuildGlyph();
    Invalidate();
    Update();
}

void QPictButtGadget::BuildGlyph()
{
    ++builds_;
    TButtonGadget::BuildGlyph();
    if (text_.empty() || !glyph_) return;
    TMemoryDC dc(glyph_);
    dc.SetBkMode(1);
    if (window_) dc.SelectObject(window_->GetFont());
    if (ownColor_) dc.SetTextColor(textColor_);
    TRect r(0, 0, glyph_.Width(), glyph_.Height());
    dc.DrawText(text_, r, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    dc.RestoreFont();
    dc.RestoreBitmap();
}

void QPictButtGadget::SetPicture(int n)
{
    if (n == picture_) return;
    if (n < 0 || n >= count_) n = 0;
    picture_ = n;
    resId_ = base_ + n;
    Rebuild();
}

void QPictButtGadget::SetText(const std::string& text)
{
    if (text == text_) return;
    text_ = text;
    Rebuild();
}

void QPictButtGadget::SetLetter(char ch)
{
    if (ch == letter_) return;
    letter_ = ch;
    SetText(ch ? std::string(1, ch) : std::string());
}

void QPictButtGadget::SetNumber(int n)
{
    if (n == number_) return;
    number_ = n;
    SetText(n == kNoNumber ? std::string() : std::to_string(n));
}

void QPictButtGadget::SetTextColor(TColor color)
{
    ownColor_ = true;
    textColor_ = color;
}

void QPictButtGadget::ResetTextColor() { ownColor_ = false; }

void QPictButtGadget::SetCommandId(int id)
{
    // Tool tips are looked up by the command id when shown, so the new id takes effect for
    // them at once; the status-bar hint of a button under the mouse is shown already and
    // changes to the new command's now.
    if (id == id_) return;
    SetId(id);
    if (mouseInside_ && window_)
        if (TDecoratedFrame* frame = TDecoratedFrame::FrameOf(*window_)) frame->SetHintCommand(id);
}

void QPictButtGadget::CommandEnable()
{
    TWindow* receiver = window_ ? window_->GetCommandReceiver() : nullptr;
    if (!receiver) return;
    QPictButtEnabler ce(*this, static_cast<unsigned>(id_));
    receiver->RouteCommandEnable(ce);
    SetEnabled(ce.GetHandled() && ce.IsEnabled());
    if (type_ != Command && ce.GetHandled()) SetButtonState(ce.GetCheck() == TCommandEnabler::Checked ? Down : Up);
}

}  // namespace vyn
