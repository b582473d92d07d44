#pragma once
// TEdit: the single-line or multi-line edit control. It tells its parent EN_CHANGE whenever the
// text changes (also when a program sets it), and EN_SETFOCUS / EN_KILLFOCUS as the focus moves.
// The modified flag is set by the user's typing and cleared when a program sets the text.
#include "platform/gui/Control.h"

class QLineEdit;

namespace vyn {

// A text limit is the size of the text's buffer, its end included: the edit takes at most
// textLimit - 1 bytes of UTF-8 (0: no limit), never half a character, a line end of a
// multi-line edit counting as the two bytes CR LF that its text gives.
class TEdit : public TControl {
public:
    TEdit(TWindow* parent, int resourceId, int textLimit = 0);
    TEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, int textLimit = 0,
          bool multiline = false);

    bool IsModified() const { return modified_; }
    void ClearModify() { modified_ = false; }
    void SetModify(bool modified) { modified_ = modified; }
    bool IsMultiLine() const { return (style_ & dlgstyle::MULTILINE) != 0; }

    // The selection from start to end (character positions, cut to the text); start == end puts
    // the caret there.
    void SetSelection(int start, int end);
    void GetSelection(int& start, int& end) const;
    void SetReadOnly(bool readOnly);
    void SetTextLimit(int limit);
    int GetTextLimit() const { return textLimit_; }
    void Clear() { SetWindowText({}); }

protected:
    QWidget* MakeControl(QWidget* parentWidget) override;
    std::string WidgetText() const override;
    void SetWidgetText(const std::string& text) override;
    unsigned EvGetDlgCode(const TMsg* msg) override;
    void EvSetFocus(TWindow* lost) override;
    void EvKillFocus(TWindow* gets) override;

private:
    void ApplyTextLimit(QLineEdit* e);
    int textLimit_;
    bool modified_ = false;
    bool settingText_ = false;
};

}  // namespace vyn
