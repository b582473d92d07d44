// Numbers typed into the calibration dialog that no file can hold: "nan", infinities and numbers
// past the double range are refused with a message where they are typed, the entry keeps its
// value, and the plate saved afterwards opens again with what the user meant.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "ListRowInput.h"
#include "ShownDemo.h"
#include "ShellTestFixture.h"
#include "app/AppGlobals.h"
#include "app/RwMainWindow.h"
#include "app/AppSettings.h"
#include "app/QAppDlg.h"
#include "app/QChView.h"
#include "app/QSmpDlg.h"
#include "calibration_dialogs/QCalDlg.h"
#include "document/QDoc.h"
#include "plate/Profile.h"
#include "plate/QNSample.h"
#include "plate/QPlate.h"
#include "views/QLView.h"
#include "views/QPView.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/FileDialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/FieldInput.h"
#include "platform/gui/testing/UserInput.h"

using namespace vyn;

namespace typed_numbers {

// The first entry of the focused grid or list edited with F2 and the text typed over it; Enter
// takes it, and the one message box that answers it is confirmed.
void TypeRefusedIntoFirstEntry(TTestHook& hook, const char* text)
{
    PressKeys(VK_HOME);
    PressKeys(VK_F2);
    TypeOver(text);
    hook.AnswerMessageBox(IDOK);
    PressKeys(VK_RETURN);
    TTestHook::ProcessEvents();
}

// The demo plate, with the menus that hold the calibration and sample commands.
struct TypedDemo : ShownDemo {
    bool Choose(const char* item)
    {
        return ClickMenuItem(Main(), "Definition", item) || ClickMenuItem(Main(), "Plate", item);
    }
};

// A click on the dialog's control of the id.
void Press(TDialog& d, int id) { EXPECT_TRUE(ClickDlgItem(d, id)) << "control " << id; }

// The texts a user may type for a number that are none the plate file can keep.
const char* const kNotNumbers[] = {"nan", "inf", "-Infinity", "1e999", "-1e999"};

TEST(TypedNumbers, CalibrationRefusesTextsThatAreNoNumbersAndTheSavedPlateOpensAgain)
{
    TypedDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const std::vector<double> concentrations = demo.doc->GetPlate().calibr.concentrations;
    ASSERT_FALSE(concentrations.empty());
    ASSERT_EQ(demo.doc->GetPlate().calibr.model, 0) << "the demo curve is linear: K0 can be fixed";

    std::vector<std::string> expected;
    demo.hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        // Each text over the first concentration, confirmed with Enter.
        for (const char* text : kNotNumbers) {
            SCOPED_TRACE(text);
            Press(d, QCalDlg::kList);
            TypeRefusedIntoFirstEntry(demo.hook, text);
            expected.push_back("\"" + std::string(text) + "\" is not a number.");
            EXPECT_EQ(d.GetDlgItemText(QCalDlg::kEdit), "5") << "the entry shows its kept value again";
        }
        // The fixed intercept: refused at OK, the dialog stays; a number then closes it.
        Press(d, QCalDlg::kFixK0);
        ASSERT_TRUE(d.GetDlgItem(QCalDlg::kK0)->IsWindowVisible());
        for (const char* text : kNotNumbers) {
            SCOPED_TRACE(text);
            EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(QCalDlg::kK0), text));
            demo.hook.AnswerMessageBox(IDOK);
            Press(d, IDOK);
            expected.push_back("\"" + std::string(text) + "\" is not a number.");
            ASSERT_TRUE(d.IsWindow() && d.IsWindowVisible()) << "the dialog stays open";
        }
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(QCalDlg::kK0), "0.25"));
        Press(d, IDOK);
    });
    ASSERT_TRUE(demo.Choose("Calibration..."));
    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    EXPECT_EQ(demo.doc->GetPlate().calibr.concentrations, concentrations);
    ASSERT_TRUE(demo.doc->IsDirty()) << "fixing K0 changed the plate";

    QDoc* again = demo.SaveCloseAndOpen();
    EXPECT_EQ(FileText(demo.path).find("nan"), std::string::npos);
    ASSERT_NE(again, nullptr) << "the saved plate opens again";
    EXPECT_EQ(again->GetPlate().calibr.fixedK, 1);
    EXPECT_EQ(again->GetPlate().calibr.K0, 0.25);
    EXPECT_EQ(again->GetPlate().calibr.concentrations, concentrations);
    EXPECT_EQ(demo.hook.MessageTexts(), expected) << "no other message";
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
}

// A coefficient typed as "nan" and then unfixed: its edit is hidden, and OK refused the dialog
// over a value the user could no longer see. The hidden text is dropped: OK closes at once
// without a message, the coefficient keeps its value, and its box ticked again shows that value.
TEST(TypedNumbers, UnfixedCoefficientTypedAsNanIsDroppedAtOk)
{
    TypedDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    struct Case {
        int box, edit;
        const char* name;
    };
    for (const Case& c : {Case{QCalDlg::kFixK0, QCalDlg::kK0, "K0"}, Case{QCalDlg::kFixK1, QCalDlg::kK1, "K1"}}) {
        SCOPED_TRACE(c.name);
        std::string kept;
        bool closed = false;
        demo.hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            kept = d.GetDlgItemText(c.edit);
            Press(d, c.box);
            EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(c.edit), "nan"));
            Press(d, c.box);
            ASSERT_FALSE(d.GetDlgItem(c.edit)->IsWindowVisible());
            Press(d, IDOK);
            closed = !d.IsWindowVisible();
        });
        ASSERT_TRUE(demo.Choose("Calibration..."));
        EXPECT_TRUE(closed) << "OK closes the dialog";
        // Opened again, the box ticked shows the coefficient as it was.
        std::string shown;
        demo.hook.AnswerDialog(QCalDlg::kResId, 0, [&](TDialog& d) {
            TTestHook::ProcessEvents();
            Press(d, c.box);
            shown = d.GetDlgItemText(c.edit);
            Press(d, IDCANCEL);
        });
        ASSERT_TRUE(demo.Choose("Calibration..."));
        EXPECT_EQ(shown, kept);
    }
    EXPECT_EQ(demo.hook.MessageTexts(), std::vector<std::string>{}) << "no message";
    EXPECT_FALSE(demo.doc->IsDirty()) << "nothing changed";
    EXPECT_EQ(demo.hook.UnansweredBoxes(), 0);
}

// "-1e999" as the rounding read as its leading -1 and silently became 0 (all digits): the
// options refuse it like every other text that is no number.
TEST(TypedNumbers, RoundingTypedPastTheDoubleRangeIsRefused)
{
    TypedDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    const AppSettings before = GetAppSettings();
    std::vector<std::string> expected;
    // The options' plate data page, its "Rounding" edit.
    demo.hook.AnswerDialog(QAppDlg::kResId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        Press(d, 104);
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(516), "-1e999"));
        demo.hook.AnswerMessageBox(IDOK);
        Press(d, IDOK);
        expected.push_back("\"-1e999\" is not a whole number from 0 to 15.");
        ASSERT_TRUE(d.IsWindow() && d.IsWindowVisible()) << "the dialog stays open";
        EXPECT_TRUE(TypeIntoField(*d.GetDlgItem(516), "6"));
        Press(d, IDOK);
    });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    EXPECT_EQ(GetAppSettings().cellFormat.digits, 6);

    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    char stored[32] = "";
    ProfileGetString(kAppSection, "cell_format", "", stored, sizeof stored);
    EXPECT_EQ(std::string(stored), "0 6 2") << "mode, digits, decimals in the settings file";
    // Opened again, the dialog shows the rounding kept.
    std::string shown;
    demo.hook.AnswerDialog(QAppDlg::kResId, IDCANCEL, [&](TDialog& d) { shown = d.GetDlgItemText(516); });
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_APPLICATION));
    EXPECT_EQ(shown, "6");
    EXPECT_EQ(demo.hook.MessageTexts(), expected) << "no other message";
    GetAppSettings() = before;
    QAppDlg::ResetLastPage();
}

// The data-entry box read "nan" and "-inf" as numbers and stored them in the well.
TEST(TypedNumbers, DataEntryKeepsTheWellsValueForTextsThatAreNoNumbers)
{
    TypedDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    demo.hook.AnswerDialog(QChView::kResId, IDOK, [](TDialog& d) {
        if (TWindow* measured = d.GetDlgItem(QChView::IDC_MEASURED)) ClickReaches(*measured);
    });
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Tools", "Data simulation"));
    TTestHook::ProcessEvents();
    auto* view = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(view, nullptr);
    ASSERT_EQ(view->Mode, pmDataEntry);
    const bool measured = view->EntryLayer == plMeasured;
    auto value = [&] {
        const QWellRecord& w = demo.doc->GetPlate().wells[0];
        return measured ? w.measured : w.data;
    };
    const double kept = value();
    std::vector<std::string> expected;
    for (const char* text : {"nan", "-inf", "-1e999"}) {
        SCOPED_TRACE(text);
        const TRect a1 = view->CellRect(0, 0);
        ClickAt(ScreenPoint(*view, (a1.left + a1.right) / 2, (a1.top + a1.bottom) / 2));
        TTestHook::ProcessEvents();
        TypeRefusedIntoFirstEntry(demo.hook, text);
        expected.push_back("\"" + std::string(text) + "\" is not a number. The well keeps its value.");
        EXPECT_EQ(value(), kept);
    }
    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    EXPECT_FALSE(demo.doc->IsDirty());
}

// A sample's own dilutions: "nan" and "1e999" typed over a dilution are refused the same way,
// and the plate saved afterwards opens again with the dilutions as they were.
TEST(TypedNumbers, SampleDilutionThatIsNoNumberIsRefused)
{
    TypedDemo demo;
    ASSERT_NE(demo.doc, nullptr);
    int quant = -1;
    for (int i = 0; i < demo.doc->GetPlate().sampleCount && quant < 0; ++i)
        if (dynamic_cast<QNSample*>(demo.doc->GetPlate().GetSample(i))) quant = i;
    ASSERT_GE(quant, 0);
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_SHOWLIST));
    TTestHook::ProcessEvents();
    auto* list = dynamic_cast<QLView*>(gActiveView);
    ASSERT_NE(list, nullptr);
    ASSERT_TRUE(ClickListRow(*list, quant));

    std::vector<double> dilutions;
    std::vector<std::string> expected;
    demo.hook.AnswerDialog(QSmpDlg::kQuantitativeId, 0, [&](TDialog& d) {
        TTestHook::ProcessEvents();
        Press(d, 103);  // its own definition
        dilutions = static_cast<QSmpDlg&>(d).Dilutions;
        ASSERT_FALSE(dilutions.empty());
        for (const char* text : {"nan", "1e999"}) {
            SCOPED_TRACE(text);
            Press(d, 603);
            TypeRefusedIntoFirstEntry(demo.hook, text);
            expected.push_back("\"" + std::string(text) + "\" is not a number.");
        }
        EXPECT_EQ(static_cast<QSmpDlg&>(d).Dilutions, dilutions);
        Press(d, IDOK);
    });
    ASSERT_TRUE(ClickMenuItem(demo.Main(), "Definition", "Sample..."));
    EXPECT_EQ(demo.hook.MessageTexts(), expected);
    ASSERT_TRUE(demo.doc->IsDirty()) << "the sample took its own definition";
    EXPECT_EQ(dynamic_cast<QNSample*>(demo.doc->GetPlate().GetSample(quant))->QuantDefinition(), dilutions);

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(dynamic_cast<QNSample*>(again->GetPlate().GetSample(quant))->QuantDefinition(), dilutions);
    EXPECT_EQ(demo.hook.MessageTexts(), expected) << "no other message";
}

}  // namespace typed_numbers
