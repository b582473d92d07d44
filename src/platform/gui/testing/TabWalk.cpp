#include "platform/gui/testing/TabWalk.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <sstream>

#include "platform/gui/Control.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"

namespace vyn {

namespace {

void CollectStops(const TWindow& w, std::vector<TWindow*>& stops)
{
    for (TWindow* c : w.Children()) {
        auto* control = dynamic_cast<TControl*>(c);
        if (control && (control->GetStyle() & dlgstyle::TABSTOP) && c->IsWindowVisible() && c->IsWindowEnabled())
            stops.push_back(c);
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

bool Contains(const std::vector<TWindow*>& v, const TWindow* w) { return std::find(v.begin(), v.end(), w) != v.end(); }

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

}  // namespace

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
