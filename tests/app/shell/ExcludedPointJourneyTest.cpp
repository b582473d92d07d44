// A standard point excluded from the calibration curve and the curve fitted again, or the curve's
// range narrowed with its markers, and the plate calculated: the concentrations that the sample
// list shows, and that were printed and exported, are those the plate shows again after Save,
// Close and Open, and so is the calibration information with its parameters on their own lines.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "PlateInput.h"
#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "calibration/QCalibr.h"
#include "controls/QCalErrDlg.h"
#include "document/QDoc.h"
#include "plate/QPlate.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QLView.h"
#include "views/QPView.h"
#include "views/QSView.h"

using namespace vyn;

namespace {

// Windows > Sample list, and the rows it paints.
std::vector<std::string> ShownSampleList(ShownDemo& demo)
{
    if (!ChooseMenuItem(demo.Main(), 2225)) return {};
    TTestHook::ProcessEvents();
    auto* list = dynamic_cast<QLView*>(gActiveView);
    return list ? ListRows(*list) : std::vector<std::string>{};
}

// The demo plate without its result categories and with ten digits for results, so that the
// sample list shows each sample's concentration closely enough to tell two fits apart; its
// standard of 40 reads too high, as a standard worth excluding does.
void ConcentrationsAsResults()
{
    const std::string path = std::string(std::getenv("VYN_DATA_DIR")) + "/Demo.plt";
    std::string text = FileText(path);
    auto drop = [&text](const std::string& tag) {
        const std::size_t at = text.find(tag);
        if (at != std::string::npos) text.erase(at, text.find('\n', at) + 1 - at);
    };
    drop("QUAL ");
    drop("FMTR ");
    text.insert(text.find("QEND"), "FMTR 0;10;6;\r\n");
    const std::size_t at = text.find("0.25;0.25;");
    if (at != std::string::npos) text.replace(at, 10, "0.3;0.3;");
    std::ofstream(path, std::ios::binary) << text;
}

// F9, once the program's idle time has lit its command again, as a user waits for it.
void CalculateWithF9(ShownDemo& demo)
{
    demo.shell.app->IdleAction(0);
    PressShortcut("F9");
    TTestHook::ProcessEvents();
}

// Action > Show calibration info from the curve view: the lines the box shows, closed with its
// button.
std::vector<std::string> ShownCalibrationInfo(ShownDemo& demo)
{
    std::vector<std::string> shown;
    demo.hook.AnswerDialog(QCalErrDlg::kResId, 0, [&](TDialog& d) {
        shown = ShownLines(d.GetDlgItem(101)->Widget());
        ClickReaches(*d.GetDlgItem(102));
    });
    EXPECT_TRUE(ChooseMenuItem(demo.Main(), 2208));
    TTestHook::ProcessEvents();
    return shown;
}

// The calibration line of the saved file, split into its fields.
std::vector<std::string> SavedCurveFields(const std::string& path)
{
    const std::string saved = FileText(path);
    const std::size_t calj = saved.find("CALJ ");
    if (calj == std::string::npos) return {};
    std::vector<std::string> fields;
    std::stringstream line(saved.substr(calj + 5, saved.find('\n', calj) - calj - 5));
    for (std::string f; std::getline(line, f, ';');) fields.push_back(f);
    return fields;
}

}  // namespace

TEST(ExcludedPointJourney, TheConcentrationsShownAfterOpeningAreThoseOfTheExcludedFit)
{
    ShownDemo demo(ConcentrationsAsResults);
    ASSERT_NE(demo.doc, nullptr);
    const std::vector<std::string> allIncluded = ShownSampleList(demo);
    ASSERT_FALSE(allIncluded.empty());

    // Windows > Calibration curve; a middle standard clicked (the first click gives the graph
    // the focus; the range markers stand at the curve's ends), Del excludes it, "Calibration"
    // fits without it, F9 calculates.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2226));
    TTestHook::ProcessEvents();
    auto* curve = dynamic_cast<QSView*>(gActiveView);
    ASSERT_NE(curve, nullptr);
    const QCalibr& cal = demo.doc->GetPlate().calibr;
    ASSERT_EQ(cal.state, csValid);
    ASSERT_FALSE(cal.pointX.empty());
    const std::size_t mid = cal.pointX.size() / 2;
    const TPoint at(curve->XDevice(cal.pointX[mid]), curve->YDevice(cal.pointY[mid]));
    ClickAt(ScreenPoint(*curve, at.x, at.y));
    ClickAt(ScreenPoint(*curve, at.x, at.y));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(curve->HasSelection());
    PressKeys(VK_DELETE);
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2213));
    TTestHook::ProcessEvents();
    const std::vector<std::string> info = ShownCalibrationInfo(demo);
    ASSERT_GE(info.size(), 2u);
    EXPECT_EQ(info[info.size() - 2].rfind("K[1] = ", 0), 0u) << info[info.size() - 2];
    EXPECT_EQ(info.back().rfind("K[0] = ", 0), 0u) << info.back();
    CalculateWithF9(demo);
    const std::vector<std::string> excluded = ShownSampleList(demo);
    ASSERT_NE(excluded, allIncluded) << "the excluded standard changed no concentration";
    for (const std::string& row : excluded) EXPECT_NE(row.find('\t'), std::string::npos) << "no result in " << row;

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    // The file keeps the curve with its excluded points, not as a remembered curve: the stored
    // flag, the fourth field of its calibration line, stays 0.
    const std::vector<std::string> fields = SavedCurveFields(demo.path);
    ASSERT_GT(fields.size(), 3u);
    EXPECT_EQ(fields[3], "0") << "the curve was written as a remembered one";
    EXPECT_EQ(ShownSampleList(demo), excluded) << "the plate opened with other concentrations";
    // The calibration curve shows the standard still excluded and the same information, and F9
    // keeps what is shown.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2226));
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownCalibrationInfo(demo), info) << "the information lines after opening";
    CalculateWithF9(demo);
    EXPECT_EQ(ShownSampleList(demo), excluded);
    EXPECT_EQ(demo.hook.DialogsRun(), std::vector<int>(2, QCalErrDlg::kResId));
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}

TEST(ExcludedPointJourney, TheConcentrationsShownAfterOpeningAreThoseOfTheNarrowedRange)
{
    ShownDemo demo(ConcentrationsAsResults);
    ASSERT_NE(demo.doc, nullptr);
    const std::vector<std::string> fullRange = ShownSampleList(demo);
    ASSERT_FALSE(fullRange.empty());
    const std::vector<std::string> definitionOnly = SavedCurveFields(demo.path);

    // Windows > Calibration curve; the low range marker dragged right to a concentration of 30,
    // above the first sample's, "Calibration" takes the range, F9 calculates.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2226));
    TTestHook::ProcessEvents();
    auto* curve = dynamic_cast<QSView*>(gActiveView);
    ASSERT_NE(curve, nullptr);
    ASSERT_NE(curve->Marker1X(), -1);
    const int y = (curve->PlotRect().top + curve->PlotRect().bottom) / 2;
    // The first click gives the graph the focus.
    ClickAt(ScreenPoint(*curve, curve->Marker1X(), y));
    DragAt(ScreenPoint(*curve, curve->Marker1X(), y), ScreenPoint(*curve, curve->XDevice(30.0), y));
    TTestHook::ProcessEvents();
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2213));
    TTestHook::ProcessEvents();
    CalculateWithF9(demo);
    const std::vector<std::string> narrowed = ShownSampleList(demo);
    ASSERT_NE(narrowed, fullRange) << "the narrowed range changed no result";

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(ShownSampleList(demo), narrowed) << "the plate opened with the full range";
    // The curve is kept whole, not as a remembered one (stored flag, the fourth field, 0).
    const std::vector<std::string> fields = SavedCurveFields(demo.path);
    ASSERT_GT(fields.size(), definitionOnly.size());
    EXPECT_EQ(fields[3], "0") << "the curve was written as a remembered one";
    // The curve view and F9 keep the range, and so does a second save.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2226));
    TTestHook::ProcessEvents();
    CalculateWithF9(demo);
    EXPECT_EQ(ShownSampleList(demo), narrowed);
    ASSERT_NE(demo.SaveCloseAndOpen(), nullptr);
    EXPECT_EQ(ShownSampleList(demo), narrowed) << "the second save lost the range";

    // A standard's value typed again: the curve is fitted anew over its full range, and the
    // plate is saved with the curve's definition only, as before the range was narrowed.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2224));
    TTestHook::ProcessEvents();
    auto* plate = dynamic_cast<QPView*>(gActiveView);
    ASSERT_NE(plate, nullptr);
    TypeIntoWell(*plate, 0, 1, "0.076");
    CalculateWithF9(demo);
    const std::vector<std::string> refitted = ShownSampleList(demo);
    ASSERT_EQ(refitted.size(), narrowed.size());
    for (std::size_t i = 0; i < refitted.size(); ++i) {
        if (narrowed[i].find('<') != std::string::npos) {
            EXPECT_EQ(refitted[i].find('<'), std::string::npos) << "still below the range: " << refitted[i];
        }
    }
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), CM_FILESAVE));
    EXPECT_EQ(SavedCurveFields(demo.path), definitionOnly);
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}
