// Every dialog resource, built as the program builds it: each control a user clicks is the
// window Qt finds under the pointer anywhere on it, not a group box or a frame that lies on top
// and swallows the click. (Controls and labels may share a place where a dialog shows them in
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

}  // namespace
}  // namespace vyn
