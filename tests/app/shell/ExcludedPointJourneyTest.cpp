// A standard point excluded from the calibration curve, the curve fitted again and the plate
// calculated: the concentrations that the sample list shows, and that were printed and exported,
// are those the plate shows again after Save, Close and Open.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "ShownDemo.h"
#include "app/AppGlobals.h"
#include "calibration/QCalibr.h"
#include "document/QDoc.h"
#include "plate/QPlate.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "views/QLView.h"
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
    // The program's idle time lights F9's command again, as a user waits for it.
    demo.shell.app->IdleAction(0);
    PressShortcut("F9");
    TTestHook::ProcessEvents();
    const std::vector<std::string> excluded = ShownSampleList(demo);
    ASSERT_NE(excluded, allIncluded) << "the excluded standard changed no concentration";
    for (const std::string& row : excluded) EXPECT_NE(row.find('\t'), std::string::npos) << "no result in " << row;

    QDoc* again = demo.SaveCloseAndOpen();
    ASSERT_NE(again, nullptr);
    // The file keeps the curve with its excluded points, not as a remembered curve: the stored
    // flag, the fourth field of its calibration line, stays 0.
    const std::string saved = FileText(demo.path);
    const std::size_t calj = saved.find("CALJ ");
    ASSERT_NE(calj, std::string::npos);
    std::vector<std::string> fields;
    std::stringstream line(saved.substr(calj + 5, saved.find('\n', calj) - calj - 5));
    for (std::string f; std::getline(line, f, ';');) fields.push_back(f);
    ASSERT_GT(fields.size(), 3u);
    EXPECT_EQ(fields[3], "0") << "the curve was written as a remembered one";
    EXPECT_EQ(ShownSampleList(demo), excluded) << "the plate opened with other concentrations";
    // The calibration curve shows the standard still excluded, and F9 keeps what is shown.
    ASSERT_TRUE(ChooseMenuItem(demo.Main(), 2226));
    TTestHook::ProcessEvents();
    demo.shell.app->IdleAction(0);
    PressShortcut("F9");
    TTestHook::ProcessEvents();
    EXPECT_EQ(ShownSampleList(demo), excluded);
    EXPECT_TRUE(demo.hook.MessageTexts().empty());
}
