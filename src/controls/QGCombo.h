#pragma once
// QGCombo: the drop-down list of sample-name descriptors in the main tool bar. Each item is a
// QDesc drawn as its short name in its own colour. Selection changes by the user go to the
// owner as a command; Enter, Escape and closing the list give the owner the focus back.
#include "platform/gui/ControlList.h"

namespace vyn {

class QDesc;

class QGCombo : public TComboBox {
public:
    // The framework's border and vertical scroll-bar widths, in pixels.
    static constexpr int kBorder = 1, kVScrollWidth = 17;

    QGCombo(TWindow* parent, TWindow* owner, int id, int chars, int items);

    static int ComboWidth(int chars);
    static int ListHeight(int items);
    static int ListWidth(int pixels);

    int AddItem(QDesc* desc) { return AddItemData(reinterpret_cast<std::uintptr_t>(desc)); }
    QDesc* GetSelData() const;
    void SelectNext();
    void SelectPrev();
    void FitDropWidth();

    TWindow* Owner;

    void DrawItem(TDrawItem& item) override;

protected:
    void SetupWindow() override;
    void EvKeyDown(unsigned key, unsigned repeatCount, unsigned flags) override;
    void EvKillFocus(TWindow* gets) override;
    void NotifyAtChild(unsigned code) override;

private:
    void GiveFocusToOwner();
};

}  // namespace vyn
