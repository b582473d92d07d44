#pragma once
// The colour buttons of the wizard and the "Colors" dialog that picks one colour. A colour
// button keeps its colour as its window text (a signed decimal number, -1 for none) and draws
// it as a framed swatch; -1 is drawn white with both diagonals.
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"

namespace vyn {

class TColorSwatch : public TButton {
public:
    TColorSwatch(TWindow* parent, int resourceId) : TButton(parent, resourceId) { ModifyStyle(0, dlgstyle::OWNERDRAW); }
    int GetColour() const;
    void SetColour(int colour);

    void DrawItem(TDrawItem& item) override;
};

class MyColorDlg : public TDialog {
public:
    static constexpr int kResId = 7420;
    static constexpr int kMoreColours = 140;
    MyColorDlg(TWindow* parent, TWindow* opener, int colour);
    int Chosen() const { return chosen_; }

protected:
    void SetupWindow() override;

private:
    TWindow* opener_;
    int chosen_;
};

}  // namespace vyn
