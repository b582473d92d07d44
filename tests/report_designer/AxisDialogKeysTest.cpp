// The axis scaling dialog with the keys alone: a choice's marked letter followed at once by
// Enter closes the dialog with that choice, not with the one the dialog had.
#include <gtest/gtest.h>

#include "platform/gui/TestHook.h"
#include "platform/gui/testing/UserInput.h"
#include "report_designer/AttrDialogs.h"

namespace vyn {
namespace {

TEST(AxisScalingDialog, AChoicesLetterThenEnterAtOnceKeepsTheChoice)
{
    struct Row {
        const char* name;
        int kind, scale;  // as the dialog opens
        char letter;
        int wantKind, wantScale;
    };
    const Row rows[] = {
        {"Alt+N (Linear) on a logarithmic axis", 0, 1, 'N', 0, 0},
        {"Alt+G (Log) on a linear axis", 0, 0, 'G', 0, 1},
        {"Alt+A (Automatic) on a fixed range", 1, 0, 'A', 0, 0},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        TTestHook hook;
        QRAxisDlg dlg(nullptr);
        dlg.spec.Set(r.kind, r.scale, 0, 1.0, 100.0, 10.0);
        hook.AnswerDialog(idQRAxisDlg, 0, [&](TDialog&) {
            PressKeys(static_cast<unsigned>(r.letter), TTestHook::kAlt);
            PressKeys(VK_RETURN);
        });
        EXPECT_EQ(dlg.Execute(), IDOK);
        EXPECT_EQ(dlg.spec.kind, r.wantKind);
        EXPECT_EQ(dlg.spec.scale, r.wantScale);
        EXPECT_EQ(hook.UnansweredDialogs(), 0);
    }
}

}  // namespace
}  // namespace vyn
