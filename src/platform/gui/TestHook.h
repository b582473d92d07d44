#pragma once
// The one test hook of modal windows. While a TTestHook object lives, message boxes and modal
// dialogs are not shown: each message box takes the next registered answer and its text is
// recorded; each modal dialog is created, handed to the callback registered for its resource id
// (which may fill or drive its controls), and then, unless the callback ended it, the
// registered button is pressed as the user would press it.
//
// It also feeds input to windows through the same path as real input, so tests drive controls
// by keys without waiting for a window to appear.
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/WindowMessages.h"

namespace vyn {

class TDialog;
class TWindow;
}  // namespace vyn
class QMenuBar;
class QString;
namespace vyn {

struct TMenuBarItem {
    unsigned id;
    std::string path;  // popup texts and the item's text, joined by '/', mnemonics kept
    std::string key;   // the accelerator shown beside it
    bool enabled;      // after the enablers were asked, as when its popup opens
};

struct TShownMessage {
    std::string text;
    std::string caption;
    unsigned flags;
    int answer;
    bool answered = true;  // false: no answer was registered, the box took its default button
};

class TTestHook {
public:
    TTestHook();
    ~TTestHook();
    TTestHook(const TTestHook&) = delete;
    TTestHook& operator=(const TTestHook&) = delete;

    static bool Active();
    static TTestHook& Get();

    // Answers for the next message boxes, in order. An unanswered box returns its default
    // button and is counted.
    void AnswerMessageBox(int result) { boxAnswers_.push_back(result); }
    const std::vector<TShownMessage>& Messages() const { return messages_; }
    std::vector<std::string> MessageTexts() const;
    int UnansweredBoxes() const { return unansweredBoxes_; }
    // Answers registered for boxes that have not come (yet).
    std::size_t PendingBoxAnswers() const { return boxAnswers_.size(); }
    // Takes back the answers not used: a test that probes whether a box comes at all.
    void ForgetBoxAnswers() { boxAnswers_.clear(); }
    int UnansweredDialogs() const { return unansweredDialogs_; }
    // Warning beeps sounded while the hook lives (MessageBeep).
    int Beeps() const { return beeps_; }
    void CountBeep() { ++beeps_; }

    // The answer for the next run of the dialog with this resource id: the callback gets the live
    // dialog first, then the button is pressed (0: only the callback acts). Answers for one id are
    // used in the order given.
    void AnswerDialog(int resId, int button, std::function<void(TDialog&)> drive = {});
    // Dialog resource ids in the order they were run.
    const std::vector<int>& DialogsRun() const { return dialogsRun_; }

    // Input as the user gives it, to the window with the focus (or the one named). With kAlt
    // among the modifiers the key goes to the program's shortcuts first (the marked letters of
    // labels and buttons, the menu bar), as the keyboard's does.
    static constexpr unsigned kAlt = 0x1000;
    static void Key(unsigned vk, unsigned modKeys = 0, TWindow* target = nullptr);
    static void Type(const std::string& text, TWindow* target = nullptr);
    static void Click(TWindow& button);
    // Chooses an item of the frame's menu bar as the user does: opens the popups on its way,
    // which asks their enablers, and clicks it. The item is named by its command id, or by the
    // title of its popup on the bar and its own text (compared without '&' and the accelerator
    // text). False when it is not on the bar, is greyed, or the frame takes no input because a
    // modal window is open over it.
    static bool ChooseMenuItem(TWindow& frame, unsigned id);
    static bool ChooseMenuItem(TWindow& frame, const std::string& popup, const std::string& item);
    // Every command item of the frame's menu bar as it stands now.
    static std::vector<TMenuBarItem> MenuBarItems(TWindow& frame);
    // Whether the window takes input from the user now (shown, and no modal window keeps it).
    static bool TakesInput(TWindow& window);
    // Handles what is queued (posted messages, deferred deletions) without waiting.
    static void ProcessEvents();

    // Platform side.
    static int QtKeyCode(unsigned vk);  // the Qt key of a virtual key
    static QMenuBar* MenuBarOf(TWindow& frame);        // the bar of the frame's top window, or none
    static std::string MenuPlainText(const QString& text);  // as the user reads it: no '&', no accelerator
    static int RunDialog(TDialog& dlg);
    static int ShowMessage(const std::string& text, const std::string& caption, unsigned flags, int defaultAnswer);

private:
    struct DialogAnswer {
        int button;
        std::function<void(TDialog&)> drive;
    };
    std::deque<int> boxAnswers_;
    std::vector<TShownMessage> messages_;
    std::map<int, std::deque<DialogAnswer>> dialogAnswers_;
    std::vector<int> dialogsRun_;
    int unansweredBoxes_ = 0;
    int unansweredDialogs_ = 0;
    int beeps_ = 0;
};

}  // namespace vyn
