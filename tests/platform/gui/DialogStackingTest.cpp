// Every dialog resource, built as the program builds it: each control a user clicks is the
// window Qt finds under the pointer anywhere on it, not a group box or a frame that lies on top
// and swallows the click; and no two controls shown together cover each other, except a frame
// around what it frames. (Controls and labels may share a place where a dialog shows them in
// turn, as pages; the dialog's own code hides the others.)
#include <gtest/gtest.h>

#include <QLabel>
#include <QWidget>

#include <sstream>
#include <string>
#include <vector>

#include "platform/gui/Control.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/DialogTemplate.h"

namespace vyn {
namespace {

bool TakesClicks(const TControlTemplate& t)
{
    if (t.style & dlgstyle::HIDDEN) return false;
    return t.kind != TControlKind::STATIC && t.kind != TControlKind::GROUPBOX;
}

// Where on the control a click may land: its middle, and near each corner and edge.
std::vector<QPoint> Probes(const QRect& r)
{
    std::vector<QPoint> out;
    const int dx = std::max(1, std::min(3, r.width() / 4)), dy = std::max(1, std::min(3, r.height() / 4));
    for (int x : {r.left() + dx, r.center().x(), r.right() - dx})
        for (int y : {r.top() + dy, r.center().y(), r.bottom() - dy}) out.emplace_back(x, y);
    return out;
}

TEST(DialogStacking, NoControlOfAnyDialogLiesUnderAnother)
{
    std::vector<std::string> covered;
    for (int d = 0; d < res::kDialogCount; ++d) {
        const TDialogTemplate& tmpl = res::kDialogTable[d];
        TDialog dlg(nullptr, tmpl);
        ASSERT_TRUE(dlg.Create()) << "dialog " << tmpl.id;
        for (TWindow* c : dlg.Children()) {
            const TControlTemplate* t = nullptr;
            for (int i = 0; i < tmpl.controlCount; ++i)
                if (tmpl.controls[i].id == c->GetId() && c->GetId() != -1) t = &tmpl.controls[i];
            if (!t || !TakesClicks(*t) || !c->Widget()) continue;
            const QRect r = c->Widget()->geometry();
            for (const QPoint& p : Probes(r)) {
                QWidget* hit = c->Widget()->parentWidget()->childAt(p);
                if (hit == c->Widget() || c->Widget()->isAncestorOf(hit)) continue;
                TWindow* over = TWindow::FromWidget(hit);
                // A frame on top swallows the click; a label of another page does not count.
                auto* label = qobject_cast<QLabel*>(hit);
                const bool frame = dynamic_cast<TGroupBox*>(over) ||
                                   (label && label->frameShape() != QFrame::NoFrame && label->text().isEmpty());
                if (!frame) continue;
                std::ostringstream s;
                s << "dialog " << tmpl.id << ": control " << t->id << " \"" << t->text << "\" lies under control "
                  << over->GetId() << " \"" << over->GetWindowText() << "\" at " << p.x() - r.left() << ","
                  << p.y() - r.top();
                covered.push_back(s.str());
                break;
            }
        }
    }
    std::string all;
    for (const std::string& s : covered) all += s + "\n";
    EXPECT_TRUE(covered.empty()) << all;
}

// A group box, or a bare bordered static, drawn around other controls.
bool IsFrame(const TControlTemplate& t)
{
    return t.kind == TControlKind::GROUPBOX ||
           (t.kind == TControlKind::STATIC && (t.style & dlgstyle::BORDER) && (!t.text || !*t.text));
}

// When a control is shown: on which page of a dialog that shows one page at a time, and in
// which of the alternatives of a page (0: always). Two controls on different pages, or in
// different alternatives of one page, share a place without ever being seen together.
struct ShownWhen {
    int page = 0, alternative = 0;
};

ShownWhen WhenShown(int dialog, int control)
{
    switch (dialog) {
    case 898:  // the list of plates with a calibration, or the note that there is none
        return {0, control == 101 ? 1 : (control == 102 ? 2 : 0)};
    case 1425:  // six pages, numbered by the hundreds of their ids
        if (control < 200 || control > 799) return {};
        // The export pages show the separator or the field widths.
        if (control == 403 || control == 404 || control == 503 || control == 504) return {control / 100, 1};
        if ((control >= 405 && control <= 410) || (control >= 505 && control <= 507)) return {control / 100, 2};
        return {control / 100, 0};
    default: return {};
    }
}

bool NeverShownTogether(int dialog, int a, int b)
{
    const ShownWhen x = WhenShown(dialog, a), y = WhenShown(dialog, b);
    if (x.page && y.page && x.page != y.page) return true;
    return x.page == y.page && x.alternative && y.alternative && x.alternative != y.alternative;
}

std::string Describe(const TControlTemplate& t, const QRect& r)
{
    std::ostringstream s;
    s << t.id << " \"" << (t.text ? t.text : "") << "\" (" << r.x() << "," << r.y() << " " << r.width() << "x"
      << r.height() << ")";
    return s.str();
}

TEST(DialogStacking, NoTwoControlsShownTogetherOverlap)
{
    std::vector<std::string> overlaps;
    for (int d = 0; d < res::kDialogCount; ++d) {
        const TDialogTemplate& tmpl = res::kDialogTable[d];
        TDialog dlg(nullptr, tmpl);
        ASSERT_TRUE(dlg.Create()) << "dialog " << tmpl.id;
        // The places as built: a combo box is its closed field, whatever its list's height.
        std::vector<std::pair<const TControlTemplate*, QRect>> shown;
        std::size_t next = 0;
        std::vector<TWindow*> kids = dlg.Children();
        for (int i = 0; i < tmpl.controlCount; ++i) {
            const TControlTemplate& t = tmpl.controls[i];
            // Children are made in template order, one for each line.
            TWindow* c = next < kids.size() ? kids[next++] : nullptr;
            EXPECT_TRUE(c && c->GetId() == t.id) << "dialog " << tmpl.id << ", line " << i;
            if ((t.style & dlgstyle::HIDDEN) || !c || !c->Widget()) continue;
            shown.emplace_back(&t, c->Widget()->geometry());
        }
        for (std::size_t i = 0; i < shown.size(); ++i)
            for (std::size_t j = i + 1; j < shown.size(); ++j) {
                const auto& [a, ra] = shown[i];
                const auto& [b, rb] = shown[j];
                if (!ra.intersects(rb)) continue;
                if ((IsFrame(*a) && ra.contains(rb)) || (IsFrame(*b) && rb.contains(ra))) continue;
                if (NeverShownTogether(tmpl.id, a->id, b->id)) continue;
                overlaps.push_back("dialog " + std::to_string(tmpl.id) + ": " + Describe(*a, ra) + " overlaps " +
                                   Describe(*b, rb));
            }
    }
    std::string all;
    for (const std::string& s : overlaps) all += s + "\n";
    EXPECT_TRUE(overlaps.empty()) << overlaps.size() << " overlaps:\n" << all;
}

}  // namespace
}  // namespace vyn
