#pragma once
// A status-bar text field that switches among up to eight texts, each with its own
// background colour (the mode and the validity of the current plate).
#include <string>
#include <vector>

#include "platform/gui/Gadget.h"

namespace vyn {

class TMySwitchTG : public TTextGadget {
public:
    static constexpr int kMaxEntries = 8;

    TMySwitchTG(int id, int numChars);

    // Ignored once eight entries exist.
    void AddText(const std::string& text, TColor color = TColor::None);
    void Select(int i);
    void SetText(const std::string& text) override;

    int GetSelected() const { return selected_; }
    int EntryCount() const { return static_cast<int>(entries_.size()); }
    const std::string& EntryText(int i) const { return entries_[static_cast<std::size_t>(i)].text; }
    // The colour the field is filled with now (the button face when the entry has none).
    TColor ShownColor() const;
    bool Touched() const { return touched_; }
    void ClearTouched() { touched_ = false; }

    // Wide enough for its given number of characters and for the widest of its texts, so that
    // no entry is shown cut ("INVALID" is wider than seven average letters).
    TSize GetDesiredSize(TDC& dc) override;

protected:
    void PaintBackground(TDC& dc, const TRect& inner) override;

private:
    struct Entry {
        std::string text;
        TColor color;
    };
    std::vector<Entry> entries_;
    int selected_ = -1;
    bool touched_ = false;
};

}  // namespace vyn
