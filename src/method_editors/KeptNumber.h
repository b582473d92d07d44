#pragma once
// A number shown in an edit for the user to change. Read back, it is the number as it was
// unless the user changed the text: a double shown with 15 significant digits does not always
// read back as the same double, and a fixed coefficient that changed by its last digit would
// make the calibration stale.
#include <string>

#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "controls/EditTextLimit.h"
#include "controls/TypedNumberEntry.h"
#include "platform/gui/ControlEdit.h"

namespace vyn {

class KeptNumber {
public:
    void Show(TEdit& edit, double value)
    {
        value_ = value;
        shown_ = value == NoValue ? std::string() : FormatDouble(value, nmGeneral, 0, 15, 0);
        edit.SetWindowText(shown_);
    }
    // missing: the value of a text that holds no number. A text that reads as no number the
    // program can keep (nan, an infinity, past the double range) is refused: the user is told,
    // the edit shows the kept value again and takes the focus, and false is returned.
    bool Read(TWindow* owner, TEdit& edit, std::size_t maxChars, double missing, double& value) const
    {
        const std::string text = LimitChars(edit.GetWindowText(), maxChars);
        if (text == shown_) {
            value = value_;
            return true;
        }
        double v = NoValue;
        if (ReadTypedNumber(text.c_str(), v) == tnNotANumber) {
            edit.SetWindowText(shown_);
            TellNotANumber(owner, text);
            if (edit.IsWindowVisible()) edit.SetFocus();
            return false;
        }
        value = v == NoValue ? missing : v;
        return true;
    }

private:
    double value_ = NoValue;
    std::string shown_;
};

}  // namespace vyn
