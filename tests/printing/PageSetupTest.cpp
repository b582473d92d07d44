// The page setup dialog driven by its control ids: margins in both units, the spin steps at
// their limits, switching kinds, "Apply to All", the font check box, GlobalMode, and what OK
// and Cancel leave in the settings and in "VYN.INI".
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "platform/gui/ChooseFontDialog.h"
#include "platform/gui/ControlButton.h"
#include "platform/gui/Dialog.h"
#include "platform/gui/ResBitmap.h"
#include "platform/gui/TestHook.h"
#include "platform/gui/testing/ShownScreen.h"
#include "platform/gui/testing/UserInput.h"
#include "printing/AStpPgDlg.h"
#include "printing/RWPrinter.h"

namespace vyn::test {
namespace {

class PageSetup : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        if (const char* old = std::getenv("VYN_CONFIG_DIR")) oldDir = old;
        setenv("VYN_CONFIG_DIR", dir.path().toStdString().c_str(), 1);
        ResetPrintSettings();
        gPageSetupKind = 0;
        gPageSetupUnits = 0;
    }
    void TearDown() override
    {
        if (oldDir.empty()) unsetenv("VYN_CONFIG_DIR");
        else setenv("VYN_CONFIG_DIR", oldDir.c_str(), 1);
        TChooseFontDialog::SetTestAnswer({});
        ResetPrintSettings();
    }
    std::string IniText() const
    {
        std::ifstream f(dir.filePath("VYN.INI").toStdString());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    // Runs the page setup with the drive callback and ends it with the button.
    int Run(int kind, int button, std::function<void(TDialog&)> drive, TPrinter* printer = nullptr)
    {
        TTestHook hook;
        hook.AnswerDialog(AStpPgDlg::kResId, button, std::move(drive));
        return RunPageSetup(nullptr, kind, printer);
    }
    QTemporaryDir dir;
    std::string oldDir;
};

void Click(TDialog& d, int id) { EXPECT_TRUE(ClickReaches(*d.GetDlgItem(id))); }
void Spin(TDialog& d, int spinId, unsigned code)
{
    d.SendMessage(WM_VSCROLL, MAKEWPARAM(code, 0), reinterpret_cast<TParam2>(d.GetDlgItem(spinId)));
}
std::vector<std::string> Margins(TDialog& d)
{
    return {d.GetDlgItemText(108), d.GetDlgItemText(109), d.GetDlgItemText(110), d.GetDlgItemText(111)};
}
bool Checked(TDialog& d, int id) { return static_cast<TCheckBox*>(d.GetDlgItem(id))->GetCheck() == TCheckBox::BF_CHECKED; }

TEST(PageSetupUnits, ConversionsRoundTripAndRoundUpwards)
{
    struct Row {
        const char* name;
        int inch;
        int mm;
    } rows[] = {{"one inch", 100, 254}, {"zero", 0, 0}, {"a fifth of an inch", 20, 50}, {"the largest", 22000, 55880}};
    for (const Row& r : rows) {
        EXPECT_EQ(AStpPgDlg::InchToMm(r.inch), r.mm) << r.name;
        EXPECT_EQ(AStpPgDlg::MmToInch(r.mm), r.inch) << r.name;
    }
    // 1 mm is 3.94 hundredths of an inch: going back rounds up, never to a smaller margin.
    EXPECT_EQ(AStpPgDlg::MmToInch(10), 4);
}

TEST_F(PageSetup, ShowsTheKindsMarginsAndSwitchesUnitsBackAndForth)
{
    std::vector<std::string> inch, mm, back;
    EXPECT_EQ(Run(pkPlate, IDCANCEL, [&](TDialog& d) {
                  EXPECT_TRUE(Checked(d, 101));
                  EXPECT_TRUE(Checked(d, 106));
                  EXPECT_TRUE(Checked(d, 114)) << "GlobalMode 1";
                  EXPECT_TRUE(d.GetDlgItem(23601)->IsWindowVisible());
                  EXPECT_FALSE(d.GetDlgItem(23602)->IsWindowVisible());
                  inch = Margins(d);
                  Click(d, 107);
                  mm = Margins(d);
                  Click(d, 106);
                  back = Margins(d);
                  Click(d, 107);  // the unit stays for the next run
              }),
              IDCANCEL);
    EXPECT_EQ(inch, (std::vector<std::string>{"20", "50", "20", "70"}));
    EXPECT_EQ(mm, (std::vector<std::string>{"50", "127", "50", "177"}));
    EXPECT_EQ(back, (std::vector<std::string>{"20", "50", "20", "70"}));
    EXPECT_EQ(gPageSetupUnits, 1);
    Run(-1, IDCANCEL, [&](TDialog& d) {
        EXPECT_TRUE(Checked(d, 107));
        EXPECT_EQ(d.GetDlgItemText(108), "50");
    });
}

// Each kind chosen with the mouse shows its own picture, not a framed word.
TEST_F(PageSetup, EachKindShowsItsPicture)
{
    Run(pkPlate, IDCANCEL, [&](TDialog& d) {
        for (int k = 0; k < kPrintKindCount; ++k) {
            SCOPED_TRACE(k);
            TWindow& radio = *d.GetDlgItem(101 + k);
            EXPECT_TRUE(ClickReaches(radio, 6, radio.GetClientRect().Height() / 2));
            TTestHook::ProcessEvents();
            TWindow& icon = *d.GetDlgItem(23601 + k);
            const TBitmap picture = LoadResBitmap(23601 + k);
            ASSERT_FALSE(picture.IsNull()) << "the kind's bitmap";
            EXPECT_GT(picture.Width(), 20) << "a picture of its own size, not a button's";
            EXPECT_TRUE(ShownTexts(icon).empty()) << "no word in place of the picture";
            EXPECT_TRUE(ShowsPicture(icon, picture));
        }
    });
}

// A margin past the edits' range is refused before the units switch, so nothing converts it.
TEST_F(PageSetup, AHugeTypedMarginIsRefusedAndTheUnitStays)
{
    std::string kept, message;
    bool inch = false;
    Run(pkPlate, IDCANCEL, [&](TDialog& d) {
        Click(d, 106);
        d.SetDlgItemText(108, "999999");
        TTestHook::Get().AnswerMessageBox(IDOK);
        Click(d, 107);
        kept = d.GetDlgItemText(108);
        if (!TTestHook::Get().MessageTexts().empty()) message = TTestHook::Get().MessageTexts().back();
        inch = dynamic_cast<TCheckBox&>(*d.GetDlgItem(106)).GetCheck() == TCheckBox::BF_CHECKED;
    });
    EXPECT_EQ(kept, "999999");
    EXPECT_TRUE(inch);
    EXPECT_EQ(message, "\"999999\" is not a whole number from 0 to 22000.");
}

TEST_F(PageSetup, SpinStepsStopAtTheirLimits)
{
    std::vector<std::string> seen;
    Run(pkMethod, IDCANCEL, [&](TDialog& d) {
        d.SetDlgItemText(108, "22000");
        Spin(d, 1107, SB_LINEUP);
        seen.push_back(d.GetDlgItemText(108));
        d.SetDlgItemText(109, "0");
        Spin(d, 1108, SB_LINEDOWN);
        seen.push_back(d.GetDlgItemText(109));
        Spin(d, 1109, SB_LINEUP);
        seen.push_back(d.GetDlgItemText(110));
        Spin(d, 1110, SB_LINEDOWN);
        seen.push_back(d.GetDlgItemText(111));
        Spin(d, 1110, SB_PAGEDOWN);  // only line steps count
        seen.push_back(d.GetDlgItemText(111));
    });
    EXPECT_EQ(seen, (std::vector<std::string>{"22000", "0", "101", "99", "99"}));
}

TEST_F(PageSetup, OkKeepsEveryKindsEditsAndWritesTheProfile)
{
    ASSERT_EQ(Run(pkPlate, IDOK,
                  [&](TDialog& d) {
                      d.SetDlgItemText(108, "11");
                      d.SetDlgItemText(111, "");  // reads as 0
                      Click(d, 102);                 // the plate's edits are kept on the switch
                      EXPECT_EQ(Margins(d), (std::vector<std::string>{"100", "100", "100", "100"}));
                      Click(d, 107);
                      d.SetDlgItemText(109, "254");  // 0.1 mm, one inch
                      Click(d, 105);
                      EXPECT_FALSE(d.GetDlgItem(213)->IsWindowVisible()) << "the report kind has no font here";
                      EXPECT_FALSE(d.GetDlgItem(216)->IsWindowVisible());
                      Click(d, 115);
                  }),
              IDOK);
    EXPECT_EQ(gPageMargins[pkPlate], (PageMargins{11, 50, 20, 0}));
    EXPECT_EQ(gPageMargins[pkResults], (PageMargins{100, 100, 100, 100}));
    EXPECT_EQ(gGlobalMode, 2);
    EXPECT_EQ(gPageSetupKind, pkReport);
    const std::string ini = IniText();
    EXPECT_NE(ini.find("Plate=11 50 20 0"), std::string::npos) << ini;
    EXPECT_NE(ini.find("GlobalMode=2"), std::string::npos) << ini;
}

TEST_F(PageSetup, CancelChangesNothing)
{
    ASSERT_EQ(Run(pkGraph, IDCANCEL,
                  [&](TDialog& d) {
                      d.SetDlgItemText(108, "5");
                      Click(d, 216);
                      Click(d, 113);
                  }),
              IDCANCEL);
    for (int k = 0; k < kPrintKindCount; ++k)
        EXPECT_EQ(gPageMargins[k], k == pkPlate ? (PageMargins{20, 50, 20, 70}) : (PageMargins{100, 100, 100, 100}))
            << "kind " << k;
    EXPECT_EQ(gGlobalMode, 1);
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("VYN.INI")));
}

TEST_F(PageSetup, ApplyToAllReachesEveryKindButTheReport)
{
    TLogFont chosen = NoPageFont();
    TChooseFontDialog::SetTestAnswer([&](TLogFont& lf, int& size) {
        lf.lfFaceName = "Courier New";
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        size = 95;
        chosen = lf;
        return true;
    });
    RWPrinter printer;
    std::string sizeText, sample;
    ASSERT_EQ(Run(pkPlate, IDOK,
                  [&](TDialog& d) {
                      EXPECT_FALSE(d.GetDlgItem(214)->IsWindowVisible()) << "no font of its own yet";
                      EXPECT_EQ(d.GetDlgItemText(211), "");
                      Click(d, 213);
                      sizeText = d.GetDlgItemText(211);
                      sample = d.GetDlgItemText(212);
                      EXPECT_TRUE(Checked(d, 214));
                      d.SetDlgItemText(110, "33");
                      Click(d, 216);
                  },
                  &printer),
              IDOK);
    EXPECT_EQ(sizeText, "9 pt");
    EXPECT_EQ(sample, "Courier New");
    for (int k : {pkPlate, pkResults, pkGraph, pkMethod}) {
        EXPECT_EQ(gPageMargins[k], (PageMargins{20, 50, 33, 70})) << "kind " << k;
        EXPECT_EQ(gPageFonts[k].lfHeight, 95) << "kind " << k;
        EXPECT_EQ(gPageFonts[k].lfFaceName, "Courier New") << "kind " << k;
    }
    EXPECT_EQ(gPageMargins[pkReport], (PageMargins{100, 100, 100, 100}));
    EXPECT_EQ(gPageFonts[pkReport].lfHeight, 0);
}

TEST_F(PageSetup, TheCheckBoxTakesTheKindsFontAwayAndWithoutAPrinterNoFontCanBeChosen)
{
    gPageFonts[pkResults] = NoPageFont();
    gPageFonts[pkResults].lfHeight = 120;
    gPageFonts[pkResults].lfFaceName = "Arial";
    RWPrinter printer;
    Run(pkResults, IDOK,
        [&](TDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(211), "12 pt");
            EXPECT_TRUE(d.GetDlgItem(214)->IsWindowVisible());
            Click(d, 214);
            EXPECT_EQ(d.GetDlgItemText(211), "");
            EXPECT_FALSE(d.GetDlgItem(214)->IsWindowVisible());
        },
        &printer);
    EXPECT_EQ(gPageFonts[pkResults].lfHeight, 0);

    Run(pkResults, IDCANCEL, [&](TDialog& d) { EXPECT_FALSE(d.GetDlgItem(213)->IsWindowEnabled()); });
}

}  // namespace
}  // namespace vyn::test
