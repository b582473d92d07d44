#pragma once
// QClrBut: a colour swatch that acts as one radio button of a row of colour choices. Its check
// state is drawn as a selection frame, it is a tab stop only while selected, moving onto it by
// keyboard picks it, and it never becomes the dialog's default button (Enter stays with OK).
#include <string>

#include "platform/core/Geometry.h"
#include "platform/gui/ControlButton.h"

namespace vyn {

class QClrBut : public TButton {
public:
    QClrBut(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, bool isDefault = false);
    // Bound to an owner-drawn button of the dialog's template.
    QClrBut(TWindow* parent, int resourceId, TColor colour);

    TColor GetColour() const { return colour_; }
    void SetSelected(bool selected);
    bool IsSelected() const { return selected_; }

    void DrawItem(TDrawItem& item) override;

protected:
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvSetFocus(TWindow* lost) override;

private:
    void InstallMessages();
    TColor colour_;
    bool selected_ = false;
};

}  // namespace vyn
