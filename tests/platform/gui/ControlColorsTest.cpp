// A control's own colours: a label's background and an edit's field take the same call, before
// the control is made or after, and ClearColors gives either back the look of an uncoloured one.
#include <gtest/gtest.h>

#include <QImage>
#include <QPixmap>
#include <QWidget>

#include "platform/gui/Control.h"
#include "platform/gui/ControlEdit.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"

using namespace vyn;

namespace {

const TControlTemplate kColourControls[] = {
    {101, TControlKind::STATIC, "", 0, 8, 8, 60, 12},
    {102, TControlKind::EDIT, "", dlgstyle::TABSTOP, 8, 24, 60, 12},
    {201, TControlKind::STATIC, "", 0, 80, 8, 60, 12},
    {202, TControlKind::EDIT, "", dlgstyle::TABSTOP, 80, 24, 60, 12},
    {IDCANCEL, TControlKind::BUTTON, "Cancel", dlgstyle::TABSTOP, 8, 44, 40, 14},
};
const TDialogTemplate kColourTemplate{9997, "Colours", 8, "MS Sans Serif", dlgstyle::POPUP | dlgstyle::CAPTION,
                                      0, 0, 150, 64, kColourControls, 5};

// 1xx are coloured, 2xx stay as the dialog makes them and show what "uncoloured" looks like.
class ColourDialog : public TDialog {
public:
    ColourDialog() : TDialog(nullptr, kColourTemplate), label(this, 101), edit(this, 102), plainLabel(this, 201),
                     plainEdit(this, 202)
    {
    }
    TStatic label;
    TEdit edit;
    TStatic plainLabel;
    TEdit plainEdit;
};

// A point of the control's face away from its frame and text, as the dialog shows it.
QColor Face(TControl& c)
{
    QWidget* w = c.Widget();
    QWidget* dialog = w->window();
    const QPoint at = w->mapTo(dialog, QPoint(w->width() - 4, w->height() / 2));
    return QColor(dialog->grab().toImage().pixel(at));
}

const QColor kYellow(255, 255, 0);

}  // namespace

TEST(ControlColors, LabelAndEditTakeTheSameCallAndClearColorsGivesTheirOwnLookBack)
{
    struct Row {
        const char* name;
        bool beforeCreate;
    } rows[] = {{"coloured before the dialog is made", true}, {"coloured while it shows", false}};
    for (const Row& r : rows) {
        TTestHook hook;
        hook.AnswerDialog(9997, IDCANCEL, [&r](TDialog& d) {
            auto& dlg = static_cast<ColourDialog&>(d);
            dlg.ShowWindow(SW_SHOW);
            TTestHook::ProcessEvents();
            if (!r.beforeCreate) {
                dlg.label.SetColors(TColor(0, 0, 0), TColor(255, 255, 0));
                dlg.edit.SetColors(TColor(0, 0, 0), TColor(255, 255, 0));
            }
            struct Pair {
                const char* kind;
                TControl& coloured;
                TControl& plain;
            } pairs[] = {{"label", dlg.label, dlg.plainLabel}, {"edit", dlg.edit, dlg.plainEdit}};
            for (const Pair& p : pairs) {
                ASSERT_NE(p.coloured.Widget(), nullptr) << r.name << ", " << p.kind;
                EXPECT_EQ(Face(p.coloured), kYellow) << r.name << ", " << p.kind;
                p.coloured.ClearColors();
                EXPECT_FALSE(p.coloured.HasColors()) << r.name << ", " << p.kind;
                EXPECT_EQ(Face(p.coloured), Face(p.plain)) << r.name << ", " << p.kind << " after ClearColors";
            }
        });
        ColourDialog dlg;
        if (r.beforeCreate) {
            dlg.label.SetColors(TColor(0, 0, 0), TColor(255, 255, 0));
            dlg.edit.SetColors(TColor(0, 0, 0), TColor(255, 255, 0));
        }
        dlg.Execute();
    }
}
