#include "platform/gui/testing/TabWalk.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/gui/Control.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {

namespace {

bool Contains(const std::vector<TWindow*>& v, const TWindow* w) { return std::find(v.begin(), v.end(), w) != v.end(); }

// The tab stops: a group of radio buttons is one, at the button where Tab enters it.
void CollectStops(const TWindow& w, std::vector<TWindow*>& stops)
{
    for (TWindow* c : w.Children()) {
        auto* control = dynamic_cast<TControl*>(c);
        if (control && (control->GetStyle() & dlgstyle::TABSTOP) && c->IsWindowVisible() && c->IsWindowEnabled())
            if (TWindow* stop = TDialog::GroupEntry(c); !Contains(stops, stop)) stops.push_back(stop);
        CollectStops(*c, stops);
    }
}

std::string Name(const TWindow* w)
{
    if (!w) return "nothing";
    std::ostringstream s;
    s << "control " << w->GetId();
    if (auto* c = dynamic_cast<const TControl*>(w); c && !c->GetWindowText().empty())
        s << " \"" << c->GetWindowText() << "\"";
    return s.str();
}

std::string DialogName(const TDialog& d)
{
    std::ostringstream s;
    s << "dialog " << d.GetResId() << ": ";
    return s.str();
}

// The letter after a single '&' of the text, upper case; 0 without one.
char MarkedLetter(const std::string& text)
{
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != '&') continue;
        if (text[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(text[i + 1])));
        ++i;
    }
    return 0;
}

// Shown, enabled widgets of the window that answer Alt and the letter: labels with a buddy, buttons, group boxes.
int OwnersOfLetter(QWidget* top, char letter)
{
    int n = 0;
    for (QWidget* w : top->findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled()) continue;
        QString text;
        if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) text = l->text();
        else if (auto* b = qobject_cast<QAbstractButton*>(w)) text = b->text();
        else if (auto* g = qobject_cast<QGroupBox*>(w)) text = g->title();
        if (!text.isEmpty() && MarkedLetter(text.toStdString()) == letter) ++n;
    }
    return n;
}

// One round of n presses of Tab (or Shift+Tab) from start; faults are added, the order met returned.
std::vector<TWindow*> Round(TDialog& d, const std::vector<TWindow*>& stops, TWindow* start, bool forward,
                            std::vector<std::string>& faults)
{
    const char* key = forward ? "Tab" : "Shift+Tab";
    std::vector<TWindow*> met;
    TWindow* at = start;
    for (std::size_t i = 0; i < stops.size(); ++i) {
        PressKeys(VK_TAB, forward ? 0u : MK_SHIFT);
        TWindow* now = TWindow::GetFocus();
        if (!Contains(stops, now))
            faults.push_back(DialogName(d) + key + " from " + Name(at) + " went to " + Name(now) +
                             ", not a shown, enabled tab stop");
        else if (now == at && stops.size() > 1)
            faults.push_back(DialogName(d) + key + " stayed on " + Name(at));
        met.push_back(now);
        at = now;
        if (!faults.empty()) return met;
    }
    if (at != start)
        faults.push_back(DialogName(d) + std::to_string(stops.size()) + " presses of " + key + " from " + Name(start) +
                         " ended on " + Name(at) + ", not back at the start");
    for (TWindow* s : stops)
        if (!Contains(met, s)) faults.push_back(DialogName(d) + key + " never reached " + Name(s));
    return met;
}

// The dialog and the pages shown in it.
std::vector<TDialog*> ShownDialogs(TDialog& d)
{
    std::vector<TDialog*> out{&d};
    for (TWindow* c : d.Children())
        if (auto* page = dynamic_cast<TDialog*>(c); page && page->IsWindowVisible()) out.push_back(page);
    return out;
}

bool TakesKeys(const TWindow* w)
{
    return w && w->Widget() && w->IsWindowVisible() && w->IsWindowEnabled() && w->Widget()->focusPolicy() != Qt::NoFocus;
}

bool Checked(const TWindow* w)
{
    auto* b = dynamic_cast<const TCheckBox*>(w);
    return b && b->GetCheck() == TCheckBox::BF_CHECKED;
}

// The radio buttons of each group of the shown dialogs that take the keyboard, in template order.
std::vector<std::vector<TWindow*>> RadioGroups(TDialog& d)
{
    std::vector<std::vector<TWindow*>> groups;
    for (TDialog* dd : ShownDialogs(d)) {
        const TDialogTemplate* t = dd->GetTemplate();
        const std::vector<TWindow*>& lines = dd->TemplateControls();
        if (!t || lines.size() != static_cast<std::size_t>(t->controlCount)) continue;
        std::vector<TWindow*> group;
        for (int i = 0; i <= t->controlCount; ++i) {
            if (i == t->controlCount || (t->controls[i].style & dlgstyle::GROUP)) {
                if (!group.empty()) groups.push_back(group);
                group.clear();
            }
            if (i < t->controlCount && t->controls[i].kind == TControlKind::RADIOBUTTON && TakesKeys(lines[static_cast<std::size_t>(i)]))
                group.push_back(lines[static_cast<std::size_t>(i)]);
        }
    }
    return groups;
}

std::size_t IndexIn(const std::vector<TWindow*>& v, const TWindow* w)
{
    return static_cast<std::size_t>(std::find(v.begin(), v.end(), w) - v.begin());
}

// One group walked; faults added.
void WalkRadioGroup(TDialog& d, const std::vector<TWindow*>& ring, std::size_t stopCount, std::vector<std::string>& faults)
{
    const std::size_t n = ring.size();
    const std::size_t before = faults.size();
    TWindow* start = ring.front();
    for (TWindow* r : ring)
        if (Checked(r)) start = r;
    // Tab comes round to the group.
    TWindow* now = nullptr;
    for (std::size_t k = 0; k < stopCount + 2 && !Contains(ring, now); ++k) {
        PressKeys(VK_TAB);
        now = TWindow::GetFocus();
    }
    if (!Contains(ring, now)) {
        faults.push_back(DialogName(d) + "Tab never came into the group of " + Name(ring.front()));
        return;
    }
    if (now != start) faults.push_back(DialogName(d) + "Tab entered the group at " + Name(now) + ", not at " + Name(start));
    std::size_t at = IndexIn(ring, now);
    std::vector<bool> reached(n, false);
    for (std::size_t k = 0; k < n && faults.size() == before; ++k) {
        PressKeys(VK_DOWN);
        TWindow* f = TWindow::GetFocus();
        const std::size_t want = (at + 1) % n;
        if (f != ring[want]) {
            faults.push_back(DialogName(d) + "Down from " + Name(ring[at]) + " went to " + Name(f) + ", not to " + Name(ring[want]) +
                             (Contains(ring, f) ? "" : ": it left the group"));
            return;
        }
        at = want;
        if (!Checked(f)) faults.push_back(DialogName(d) + "Down onto " + Name(f) + " did not check it");
        for (TWindow* r : ring)
            if (r != f && Checked(r)) faults.push_back(DialogName(d) + "Down onto " + Name(f) + " left " + Name(r) + " checked");
        reached[at] = Checked(f);
    }
    if (n > 1 && stopCount > 1 && faults.size() == before) {
        // The next choice checked, Tab leaves the group and Shift+Tab comes back to it.
        PressKeys(VK_DOWN);
        at = (at + 1) % n;
        PressKeys(VK_TAB);
        TWindow* out = TWindow::GetFocus();
        if (Contains(ring, out)) faults.push_back(DialogName(d) + "Tab from " + Name(ring[at]) + " stayed in its group, on " + Name(out));
        PressKeys(VK_TAB, MK_SHIFT);
        if (TWindow::GetFocus() != ring[at])
            faults.push_back(DialogName(d) + "Shift+Tab from " + Name(out) + " came back to " + Name(TWindow::GetFocus()) +
                             ", not to the checked " + Name(ring[at]));
        PressKeys(VK_UP);
        at = (at + n - 1) % n;
        if (TWindow::GetFocus() != ring[at] || !Checked(ring[at]))
            faults.push_back(DialogName(d) + "Up went to " + Name(TWindow::GetFocus()) + ", not to " + Name(ring[at]) + " checked");
    }
    for (std::size_t i = 0; i < n; ++i)
        if (!reached[i] && faults.size() == before) faults.push_back(DialogName(d) + Name(ring[i]) + " was never checked from the keyboard");
    // The choice the dialog had is checked again.
    for (std::size_t k = 0; k < n && TWindow::GetFocus() != start && Contains(ring, TWindow::GetFocus()); ++k) PressKeys(VK_DOWN);
}

}  // namespace

std::vector<std::string> WalkRadioGroups(TDialog& d)
{
    std::vector<std::string> faults;
    std::vector<TWindow*> stops;
    CollectStops(d, stops);
    for (const std::vector<TWindow*>& ring : RadioGroups(d))
        if (TakesKeys(ring.front())) WalkRadioGroup(d, ring, stops.size(), faults);
    return faults;
}

std::vector<std::string> PressSpaceOnButtons(TDialog& d, const std::function<int(int id)>& pressesHeard)
{
    std::vector<std::string> faults;
    for (TDialog* dd : ShownDialogs(d))
        for (TWindow* c : dd->Children()) {
            if (!dynamic_cast<TButton*>(c) || dynamic_cast<TCheckBox*>(c) || !TakesKeys(c)) continue;
            c->SetFocus();
            const int before = pressesHeard(c->GetId());
            PressKeys(VK_SPACE);
            const int presses = pressesHeard(c->GetId()) - before;
            if (presses != 1)
                faults.push_back(DialogName(d) + "Space on " + Name(c) + " pressed it " + std::to_string(presses) + " times");
        }
    return faults;
}

std::vector<std::string> PressUnmarkedAltLetters(TDialog& d)
{
    std::vector<std::string> faults;
    if (!d.Widget()) return faults;
    QWidget* top = d.Widget()->window();
    std::string letters;
    for (char l = 'A'; l <= 'Z'; ++l)
        if (OwnersOfLetter(top, l) == 0) letters += l;
    for (TDialog* dd : ShownDialogs(d))
        for (TWindow* c : dd->Children()) {
            QWidget* w = c->Widget();
            auto* combo = qobject_cast<QComboBox*>(w);
            const bool typed = qobject_cast<QLineEdit*>(w) || qobject_cast<QPlainTextEdit*>(w) || (combo && combo->isEditable());
            if (!typed || !TakesKeys(c)) continue;
            c->SetFocus();
            const std::string text = c->GetWindowText();
            for (char l : letters) {
                PressKeys(static_cast<unsigned>(l), TTestHook::kAlt);
                if (c->GetWindowText() == text) continue;
                faults.push_back(DialogName(d) + "Alt+" + l + " in " + Name(c) + " changed its text from \"" + text + "\" to \"" +
                                 c->GetWindowText() + "\"");
                break;
            }
        }
    return faults;
}

std::vector<std::string> PressMarkedLettersThenEnter(TDialog& d, const std::function<int(int id)>& checkSeenAtEnter)
{
    std::vector<std::string> faults;
    if (!d.Widget()) return faults;
    QWidget* top = d.Widget()->window();
    for (TDialog* dd : ShownDialogs(d))
        for (TWindow* c : dd->Children()) {
            auto* b = dynamic_cast<TCheckBox*>(c);
            const char letter = b ? MarkedLetter(b->GetWindowText()) : 0;
            if (!letter || !TakesKeys(c) || OwnersOfLetter(top, letter) != 1) continue;
            const bool radio = dynamic_cast<TRadioButton*>(c) != nullptr;
            const int want = radio || b->GetCheck() != TCheckBox::BF_CHECKED ? TCheckBox::BF_CHECKED : TCheckBox::BF_UNCHECKED;
            PressKeys(static_cast<unsigned>(letter), TTestHook::kAlt);
            PressKeys(VK_RETURN);
            const int seen = checkSeenAtEnter(c->GetId());
            if (seen != want)
                faults.push_back(DialogName(d) + "Alt+" + letter + " and Enter at once: the dialog read " + Name(c) + " as " +
                                 std::to_string(seen) + ", not " + std::to_string(want));
            if (!radio) PressKeys(static_cast<unsigned>(letter), TTestHook::kAlt);
        }
    return faults;
}

std::vector<std::string> WalkWithTab(TDialog& d)
{
    std::vector<std::string> faults;
    std::vector<TWindow*> stops;
    CollectStops(d, stops);
    if (stops.empty()) return faults;
    TWindow* start = TWindow::GetFocus();
    if (!Contains(stops, start)) {
        PressKeys(VK_TAB);
        start = TWindow::GetFocus();
        if (!Contains(stops, start)) {
            faults.push_back(DialogName(d) + "Tab put the focus on " + Name(start) + ", not a shown, enabled tab stop");
            return faults;
        }
    }
    const std::vector<TWindow*> ahead = Round(d, stops, start, true, faults);
    if (!faults.empty()) return faults;
    std::vector<TWindow*> back = Round(d, stops, start, false, faults);
    if (!faults.empty()) return faults;
    // Shift+Tab meets the controls in the opposite order: the start last, the one before it first.
    std::vector<TWindow*> expected(ahead.rbegin() + 1, ahead.rend());
    expected.push_back(start);
    if (back != expected) {
        std::string s = DialogName(d) + "Shift+Tab does not go back the way Tab came:";
        for (std::size_t i = 0; i < back.size(); ++i) s += " " + Name(back[i]) + (back[i] == expected[i] ? "" : " (!)");
        faults.push_back(s);
    }
    return faults;
}

std::vector<std::string> PressLabelMnemonics(TDialog& d)
{
    std::vector<std::string> faults;
    const TDialogTemplate* tmpl = d.GetTemplate();
    if (!tmpl || !d.Widget()) return faults;
    // The template's lines and the controls made for them, in the same order.
    std::vector<TWindow*> made;
    std::vector<TWindow*> labels;
    for (TWindow* c : d.Children())
        if (dynamic_cast<TControl*>(c)) made.push_back(c);
    for (int i = 0; i < tmpl->controlCount; ++i) {
        const TControlTemplate& t = tmpl->controls[i];
        if (t.kind != TControlKind::STATIC || (t.style & dlgstyle::NOPREFIX) || !t.text || !MarkedLetter(t.text)) continue;
        // The label of this line: the shown static with its text.
        TWindow* label = nullptr;
        for (TWindow* c : made)
            if (dynamic_cast<TStatic*>(c) && c->GetId() == t.id && c->GetWindowText() == t.text && !Contains(labels, c))
                label = c;
        if (!label || !label->IsWindowVisible() || !label->IsWindowEnabled()) continue;
        labels.push_back(label);
        TWindow* want = nullptr;
        for (int j = i + 1; j < tmpl->controlCount && !want; ++j) {
            const TControlTemplate& n = tmpl->controls[j];
            auto* c = n.id == -1 ? nullptr : dynamic_cast<TControl*>(d.GetDlgItem(n.id));
            if (c && (c->GetStyle() & dlgstyle::TABSTOP) && c->IsWindowVisible() && c->IsWindowEnabled()) want = c;
        }
        if (!want) continue;
        const char letter = MarkedLetter(t.text);
        const int owners = std::max(1, OwnersOfLetter(d.Widget()->window(), letter));
        TWindow* now = nullptr;
        for (int k = 0; k < owners && now != want; ++k) {
            PressKeys(static_cast<unsigned>(letter), TTestHook::kAlt);
            now = TWindow::GetFocus();
        }
        if (now != want)
            faults.push_back(DialogName(d) + "Alt+" + letter + " of the label \"" + t.text + "\" put the focus on " +
                             Name(now) + ", not on " + Name(want));
    }
    return faults;
}

}  // namespace vyn
