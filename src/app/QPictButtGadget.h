#pragma once
// A tool-bar button whose picture is one of a strip of bitmap resources (base, base + 1, ...),
// with a short text (a letter, a number, a word) drawn over it, and whose command can be
// re-bound while it stays in the bar. The views show their mode, layer or dilution with it.
#include <string>

#include "platform/gui/Gadget.h"

namespace vyn {

class QPictButtGadget : public TButtonGadget {
public:
    static constexpr int kNoNumber = 32767;

    QPictButtGadget(int baseResId, int pictureCount, int commandId, TType type = Command, bool enabled = true,
                    TState state = Up, bool repeat = false);

    void SetPicture(int n);
    void SetText(const std::string& text);
    void SetLetter(char ch);
    void SetNumber(int n);
    void SetTextColor(TColor color);
    void ResetTextColor();
    void SetCommandId(int id);

    int GetPicture() const { return picture_; }
    const std::string& GetText() const { return text_; }
    // How often the glyph was rebuilt; a change that is no change must not rebuild.
    int GlyphBuilds() const { return builds_; }

    void CommandEnable() override;
    void MouseEnter() override { mouseInside_ = true; }
    void MouseLeave() override { mouseInside_ = false; }

protected:
    void BuildGlyph() override;

private:
    void Rebuild();

    int base_;
    int count_;
    int picture_ = 0;
    TColor textColor_{0, 0, 0};
    bool ownColor_ = false;
    bool mouseInside_ = false;
    int number_ = kNoNumber;
    char letter_ = 0;
    std::string text_;
    int builds_ = 0;
};

}  // namespace vyn
