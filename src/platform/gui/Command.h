#pragma once
// Command enablers: before a menu opens and at idle time, each command id is offered to the
// windows on its route (view, frame, application) as an enabler; the first window that knows the
// command decides whether it is enabled, checked and what its text is.
#include <string>

namespace vyn {

class TCommandEnabler {
public:
    explicit TCommandEnabler(unsigned id) : id_(id) {}
    virtual ~TCommandEnabler() = default;

    unsigned GetId() const { return id_; }

    enum { Unchecked = 0, Checked = 1, Indeterminate = 2 };
    virtual void Enable(bool enable = true) { enabled_ = enable; handled_ = true; }
    virtual void SetCheck(int state) { check_ = state; handled_ = true; }
    virtual void SetText(const std::string& text) { text_ = text; textSet_ = true; handled_ = true; }

    bool IsEnabled() const { return enabled_; }
    int GetCheck() const { return check_; }
    bool TextWasSet() const { return textSet_; }
    const std::string& GetText() const { return text_; }
    // True once a handler answered; an enabler nobody answered leaves its command disabled.
    bool GetHandled() const { return handled_; }
    void SetHandled() { handled_ = true; }

private:
    unsigned id_;
    bool enabled_ = false;
    int check_ = Unchecked;
    bool textSet_ = false;
    bool handled_ = false;
    std::string text_;
};

}  // namespace vyn
