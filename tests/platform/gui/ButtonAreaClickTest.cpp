// A check box or radio button takes a click anywhere on its area as the dialog lays it out, not
// only on its mark and caption: every check box and radio button of every dialog resource is
// clicked with the mouse at the far end of its area, beyond a short caption, where a user clicks
// beside the word.
#include <gtest/gtest.h>

#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/DialogTemplate.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {
namespace button_area_click {

// A dialog of a resource that only counts the clicks its buttons tell it of.
class CountingDialog : public TDialog {
public:
    using TDialog::TDialog;
    int Clicks(int id) const { return clicks_.count(id) ? clicks_.at(id) : 0; }

protected:
    TResult EvCommand(unsigned id, TWindow*, unsigned notifyCode) override
    {
        if (notifyCode == BN_CLICKED) ++clicks_[static_cast<int>(id)];
        return 1;
    }

private:
    std::map<int, int> clicks_;
};

std::string Lines(const std::vector<std::string>& v)
{
    std::string all;
    for (const std::string& s : v) all += s + "\n";
    return all;
}

// The dialog's control that the widget belongs to, other than the dialog itself; none off it.
TWindow* ControlOf(TDialog& d, QWidget* w)
{
    for (TWindow* c : d.Children())
        if (c->Widget() && (c->Widget() == w || c->Widget()->isAncestorOf(w))) return c;
    return nullptr;
}

TEST(ButtonAreaClick, EveryCheckBoxAndRadioButtonTakesAClickBesideItsCaption)
{
    std::vector<std::string> faults;
    int clicked = 0;
    for (int d = 0; d < res::kDialogCount; ++d) {
        const TDialogTemplate& tmpl = res::kDialogTable[d];
        TTestHook hook;
        CountingDialog dlg(nullptr, tmpl);
        // The Application Options' panels lie on one another and the dialog shows one at a time.
        const bool layered = tmpl.id == 1425;
        hook.AnswerDialog(tmpl.id, 0, [&](TDialog& shown) {
            for (TWindow* c : shown.Children()) {
                auto* box = dynamic_cast<TCheckBox*>(c);
                if (!box || !box->IsWindowVisible() || !box->IsWindowEnabled()) continue;
                const std::string name =
                    "dialog " + std::to_string(tmpl.id) + " \"" + box->GetWindowText() + "\" (" + std::to_string(box->GetId()) + ")";
                const bool radio = dynamic_cast<TRadioButton*>(box) != nullptr;
                const TRect area = box->GetClientRect();
                const QPoint at = ScreenPoint(*box, area.Width() - 2, area.Height() / 2);
                const int before = box->GetCheck(), clicksBefore = dlg.Clicks(box->GetId());
                QWidget* hit = ClickAt(at);
                // A control in the way of another panel's button is hidden as the dialog hides
                // it when it shows the button's panel, and the button clicked again.
                for (TWindow* other = layered && hit != box->Widget() ? ControlOf(shown, hit) : nullptr; other;
                     other = hit != box->Widget() ? ControlOf(shown, hit) : nullptr) {
                    other->ShowWindow(SW_HIDE);
                    hit = ClickAt(at);
                }
                TTestHook::ProcessEvents();
                ++clicked;
                if (hit != box->Widget()) {
                    faults.push_back(name + ": the click beside the caption went to another window");
                    continue;
                }
                if (dlg.Clicks(box->GetId()) != clicksBefore + 1) faults.push_back(name + ": the dialog heard no click");
                const int after = box->GetCheck();
                if (radio ? after != TCheckBox::BF_CHECKED : after == before)
                    faults.push_back(name + ": shows " + std::to_string(after) + " after the click, " + std::to_string(before) +
                                     " before");
            }
            shown.CloseWindow(IDCANCEL);
        });
        dlg.Execute();
        for (const std::string& m : hook.MessageTexts()) faults.push_back("dialog " + std::to_string(tmpl.id) + ": message " + m);
    }
    EXPECT_GT(clicked, 50) << "the resources' check boxes and radio buttons were clicked";
    EXPECT_TRUE(faults.empty()) << Lines(faults);
}

}  // namespace button_area_click
}  // namespace vyn
