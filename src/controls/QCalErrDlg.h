#pragma once
// QCalErrDlg: the resizable "Status" dialog in which calculations and reports list what they
// have to say. Error mode has "Ignor this" (102), "Ignor all" (103) and "Abort" (104);
// information mode one "Close" button (102). The entries become one read-only text in a
// fixed-pitch font. Position and size are remembered for the rest of the run.
#include <string>
#include <vector>

#include "platform/gui/Dialog.h"

namespace vyn {

class TEdit;
class TStatic;

class QCalErrDlg : public TDialog {
public:
    static constexpr int kResId = 8267;
    // Entry kinds; a code of 0 or more is an error with a caret under that character.
    static constexpr int kEntry = -1, kErrorDetail = -2, kMessage = -3;

    QCalErrDlg(TWindow* parent, bool infoMode, int resId = kResId);

    void SetTitle(const std::string& title) { title_ = title; }
    void AddEntry(const std::string& name, const std::string& text) { Add(name, text, {}, kEntry); }
    void AddErrorDetail(const std::string& name, const std::string& text, const std::string& detail)
    {
        Add(name, text, detail, kErrorDetail);
    }
    void AddMessage(const std::string& name) { Add(name, {}, {}, kMessage); }
    void AddBlankLine() { AddMessage({}); }
    void AddErrorAt(const std::string& name, const std::string& text, const std::string& detail, int position)
    {
        Add(name, text, detail, position < 0 ? 0 : position);
    }
    void Add(const std::string& name, const std::string& text, const std::string& detail, int code);

    int EntryCount() const { return static_cast<int>(codes_.size()); }
    // The text the dialog shows for the entries as they stand ("\r\n" line ends).
    std::string BuildText();

    // Blanks put before every added name while greater than 0.
    int Indent = 0;
    // Closing keeps the entries, so that the next Execute shows them again with what was added.
    bool KeepEntries = false;

    // The remembered placement belongs to one program run; a test starts a new "run" with it.
    static void ForgetPlacement();

protected:
    void SetupWindow() override;
    void CleanupWindow() override;
    TResult EvCommand(unsigned id, TWindow* control, unsigned notifyCode) override;
    void EvSize(unsigned sizeType, const TSize& size) override;
    void EvGetMinMaxInfo(TMinMaxInfo& info) override;

private:
    void Layout();
    void FitScrollBars();

    std::string title_;
    std::vector<std::string> names_, texts_, details_;
    std::vector<int> codes_;
    TEdit* text_;
    TStatic* header_;
    bool setUp_ = false;
    bool infoMode_;
};

}  // namespace vyn
