#pragma once
// TComboBox: the drop-down list control, optionally owner-drawn (the owner draws each item
// through a TDC). Selections made by the user reach the parent as CBN_SELCHANGE; selections
// made by program calls are silent. Opening and closing the list send CBN_DROPDOWN and
// CBN_CLOSEUP.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gui/Control.h"

namespace vyn {

class TDC;

inline constexpr int CB_ERR = -1;

// Item states and actions of an owner-drawn item.
inline constexpr unsigned ODS_SELECTED = 0x0001, ODS_DISABLED = 0x0004, ODS_FOCUS = 0x0010,
                          ODS_COMBOBOXEDIT = 0x1000;
inline constexpr unsigned ODA_DRAWENTIRE = 0x0001, ODA_SELECT = 0x0002, ODA_FOCUS = 0x0004;

struct TDrawItem {
    unsigned ctlId;
    int itemId;  // -1 when there is no item (an empty selection field)
    unsigned itemAction;
    unsigned itemState;
    TDC& dc;
    TRect rcItem;  // in the control's (or its list's) client coordinates
    std::uintptr_t itemData;
};

struct TMeasureItem {
    unsigned ctlId;
    int itemId;
    int itemHeight;
    std::uintptr_t itemData;
};

class TComboBox : public TControl {
public:
    TComboBox(TWindow* parent, int resourceId);
    // Made in pixels; h is the height with the list dropped down, as the framework takes it.
    TComboBox(TWindow* parent, int id, int x, int y, int w, int h, unsigned style);

    bool IsOwnerDrawn() const { return (style_ & (dlgstyle::OWNERDRAWFIXED | dlgstyle::OWNERDRAW)) != 0; }
    // A box without the drop-down-list style (and not owner-drawn) has an edit field the user
    // types into; its window text is then the field's text.
    bool IsEditable() const { return !(style_ & dlgstyle::DROPDOWNLIST) && !IsOwnerDrawn(); }
    // Adds an item; an owner-drawn box without strings keeps the value as the item data.
    int AddString(const std::string& text);
    int AddItemData(std::uintptr_t data);
    int GetCount() const { return static_cast<int>(items_.size()); }
    void ClearList();
    std::string GetString(int index) const;
    std::uintptr_t GetItemData(int index) const;
    int GetSelIndex() const;
    // Program selection: sends nothing. An index outside the list clears the selection and
    // returns CB_ERR.
    int SetSelIndex(int index);

    // -1 is the selection field, anything else the list items.
    int GetItemHeight(int index) const;
    bool SetItemHeight(int index, int height);
    void ShowList(bool show = true);
    bool GetDroppedState() const;
    TRect GetDroppedControlRect() const;  // the control with its list, in screen coordinates
    bool SetWindowPos(TWindow* insertAfter, int x, int y, int cx, int cy, unsigned flags) override;

    virtual void DrawItem(TDrawItem& item);
    virtual void MeasureItem(TMeasureItem& item);

    // For the platform: draws one item into an image of the given size.
    void PaintItem(QImage& image, int index, const TRect& rect, unsigned state);
    void OnUserSelChange();
    void OnListShown(bool shown);

protected:
    // A notification of the control about itself; the base tells the parent. A box that handles
    // its own notifications overrides it.
    virtual void NotifyAtChild(unsigned code) { NotifyParent(code); }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;

private:
    struct Item {
        std::string text;
        std::uintptr_t data;
    };
    std::vector<Item> items_;
    int sel_ = -1;
    int fieldHeight_ = 0;
    int itemHeight_ = 0;
    int dropHeight_ = 0;
    bool programSelect_ = false;
};

}  // namespace vyn
