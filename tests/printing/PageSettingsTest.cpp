// Page settings in "VYN.INI", their profile texts, the date texts and the page furniture's rules.
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

#include "PrintTestUtil.h"
#include "evaluator/TStackVal.h"
#include "platform/core/Clock.h"
#include "printing/PageFurniture.h"

namespace vyn::test {
namespace {

class PageSettingsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        const char* old = std::getenv("VYN_CONFIG_DIR");
        if (old) oldDir = old;
        setenv("VYN_CONFIG_DIR", dir.path().toStdString().c_str(), 1);
        ResetPrintSettings();
    }
    void TearDown() override
    {
        if (oldDir.empty()) unsetenv("VYN_CONFIG_DIR");
        else setenv("VYN_CONFIG_DIR", oldDir.c_str(), 1);
        ResetPrintSettings();
    }
    std::string IniText() const
    {
        std::ifstream f(dir.filePath("VYN.INI").toStdString());
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }
    QTemporaryDir dir;
    std::string oldDir;
};

TEST_F(PageSettingsFile, EveryKindAndTheGlobalModeSurviveTheRoundTrip)
{
    EXPECT_EQ(gPageMargins[pkPlate], (PageMargins{20, 50, 20, 70}));
    EXPECT_EQ(gPageMargins[pkReport], (PageMargins{100, 100, 100, 100}));
    gPageMargins[pkMethod] = {10, 20, 30, 40};
    gPageMargins[pkGraph] = {5, 0, 400, 7};
    TLogFont lf = NoPageFont();
    lf.lfHeight = 105;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lf.lfFaceName = "Courier New";
    gPageFonts[pkResults] = lf;
    gGlobalMode = 2;
    SavePrintSettings("VYN.INI");

    const std::string ini = IniText();
    EXPECT_NE(ini.find("Lines=10 20 30 40"), std::string::npos) << ini;
    EXPECT_NE(ini.find("GlobalMode=2"), std::string::npos) << ini;
    // 105 as four little-endian bytes, then weight 700 = 0x2bc.
    EXPECT_NE(ini.find("List=69000000000000000000000000000000bc0200000100000000000031Courier New"), std::string::npos)
        << ini;

    ResetPrintSettings();
    LoadPrintSettings("VYN.INI");
    EXPECT_EQ(gPageMargins[pkMethod], (PageMargins{10, 20, 30, 40}));
    EXPECT_EQ(gPageMargins[pkGraph], (PageMargins{5, 0, 400, 7}));
    EXPECT_EQ(gPageMargins[pkPlate], (PageMargins{20, 50, 20, 70}));
    EXPECT_EQ(gPageFonts[pkResults], lf);
    EXPECT_EQ(gPageFonts[pkPlate], NoPageFont());
    EXPECT_EQ(gGlobalMode, 2);
}

TEST_F(PageSettingsFile, MissingOrDamagedValuesKeepTheCurrentSettings)
{
    std::ofstream(dir.filePath("VYN.INI").toStdString())
        << "[Pages]\r\nPlate=1 2 3\r\nLines=abc\r\nGraph=1 2 3 4\r\n[Fonts]\r\nPlate=0a0b\r\n";
    LoadPrintSettings("VYN.INI");
    EXPECT_EQ(gPageMargins[pkPlate], (PageMargins{20, 50, 20, 70}));
    EXPECT_EQ(gPageMargins[pkMethod], (PageMargins{100, 100, 100, 100}));
    EXPECT_EQ(gPageMargins[pkGraph], (PageMargins{1, 2, 3, 4}));
    EXPECT_EQ(gPageFonts[pkPlate], NoPageFont());
    EXPECT_EQ(gGlobalMode, 1);
}

TEST(PageSettingsText, MarginsTexts)
{
    struct Case {
        const char* name;
        const char* text;
        bool taken;
        PageMargins result;
    };
    const Case cases[] = {
        {"four numbers", "10 20 30 40", true, {10, 20, 30, 40}},
        {"signs and extra blanks", " +1  -2 3 4 junk", true, {1, -2, 3, 4}},
        {"three numbers", "10 20 30", false, {7, 7, 7, 7}},
        {"six characters or fewer", "1 2 34", false, {7, 7, 7, 7}},
        {"not a number", "10 20 x 40", false, {7, 7, 7, 7}},
    };
    for (const Case& c : cases) {
        PageMargins m{7, 7, 7, 7};
        EXPECT_EQ(ParseMarginsText(c.text, m), c.taken) << c.name;
        EXPECT_EQ(m, c.result) << c.name;
    }
}

TEST(PageSettingsText, FontTexts)
{
    TLogFont lf = NoPageFont();
    lf.lfFaceName = "Keep";
    const std::string digits(56, '0');
    EXPECT_TRUE(ParseFontText(digits.c_str(), lf));
    EXPECT_EQ(lf, NoPageFont()) << "exactly 56 digits give an empty face name";

    lf.lfHeight = 90;
    EXPECT_FALSE(ParseFontText(digits.substr(1).c_str(), lf)) << "55 digits are too few";
    EXPECT_EQ(lf.lfHeight, 90);

    // A pair that is not hexadecimal leaves its byte; the others are read.
    std::string text = "zz01" + std::string(52, '0') + "Arial";
    lf = NoPageFont();
    lf.lfHeight = 0x33;
    ASSERT_TRUE(ParseFontText(text.c_str(), lf));
    EXPECT_EQ(lf.lfHeight, 0x133);
    EXPECT_EQ(lf.lfFaceName, "Arial");

    // Face names keep at most 31 characters.
    lf.lfFaceName = std::string(40, 'F');
    TLogFont back = NoPageFont();
    ASSERT_TRUE(ParseFontText(FormatFontText(lf).c_str(), back));
    EXPECT_EQ(back.lfFaceName, std::string(31, 'F'));
}

TEST(PageSettingsText, PrintFontIsScaledFromTenthsOfAPoint)
{
    ResetPrintSettings();
    TFont f;
    EXPECT_FALSE(CreatePrintFont(600, f)) << "a kind without a font keeps the device's";
    gCurPageFont.lfHeight = 100;  // 10 points
    ASSERT_TRUE(CreatePrintFont(600, f));
    EXPECT_EQ(f.GetObject().lfHeight, -83);  // 10 / 72 inch at 600 dpi
    EXPECT_EQ(gCurPageFont.lfHeight, 100);
    ResetPrintSettings();
}

TEST(PageSettingsText, DateTexts)
{
    // 5 March 2024, 07:08 UTC, shown in UTC.
    SetNowMsSource([]() -> std::int64_t { return kUnixEpochMs + 1709622480000LL; });
    SetLocalTimeConverter(UtcTimeFromMs);
    EXPECT_STREQ(DateTimeText(), "07:08  Mar 05,2024");
    EXPECT_STREQ(TimeText(), "07:08  Mar 05");
    EXPECT_STREQ(FileTimeText(kUnixEpochMs + 1735689599000LL), "23:59  Dec 31,2024");
    SetNowMsSource(nullptr);
    SetLocalTimeConverter(nullptr);
}

TEST(PageFurniture, FooterValidityAndGlobalMode)
{
    EXPECT_STREQ(FooterText(1, 1), "the end");
    EXPECT_STREQ(FooterText(2, 1), "continue ...");
    EXPECT_STREQ(FooterText(2, 2), "the end");
    EXPECT_STREQ(ValidityText(-1), "error in expression");
    EXPECT_STREQ(ValidityText(1), "O.K.");
    EXPECT_STREQ(ValidityText(7), "???");

    ResetPrintSettings();
    FixedPage page;
    // Copies of a value drop its name, so the names are set in place.
    std::vector<TStackVal> calc(2);
    calc[0].SetNumber(1.0);
    calc[0].SetName("conc");
    calc[1].SetNumber(2.0);
    calc[1].SetName("_tmp");
    const TTextMetric tm = page.dc.GetTextMetrics();
    const int L = tm.tmHeight + tm.tmExternalLeading;
    const int base = InfoBlockHeight(page.dc, 0, nullptr, nullptr);
    EXPECT_EQ(base, tm.tmHeight * 5 / 3 + 5 * L);
    EXPECT_EQ(InfoBlockHeight(page.dc, 1, nullptr, nullptr), base + L);
    EXPECT_EQ(InfoBlockHeight(page.dc, 0, &calc, nullptr), base + tm.tmHeight / 2 + L) << "'_tmp' is not counted";
    gGlobalMode = 2;
    EXPECT_EQ(InfoBlockHeight(page.dc, 0, &calc, nullptr), base + tm.tmHeight / 2 + 2 * L);
    std::vector<TStackVal> oneValidation(1);
    oneValidation[0].SetNumber(1.0);
    EXPECT_EQ(InfoBlockHeight(page.dc, 1, nullptr, &oneValidation), base + L) << "a single validation is not listed";
    EXPECT_EQ(InfoBlockHeight(page.dc, 1, nullptr, &calc), base + L + tm.tmHeight / 2 + 2 * L);
    gGlobalMode = 0;
    EXPECT_EQ(InfoBlockHeight(page.dc, 0, &calc, &calc), base);
    ResetPrintSettings();
}

TEST(PageFurniture, LongPathsAreCutInTheMiddle)
{
    FixedPage page;
    const int w = page.charWidth;
    EXPECT_EQ(ShortenPath("/data/plates/x.p", page.dc, 3 * w), "/data/plates/x.p") << "16 characters stay whole";
    const std::string path = "/home/user/plates/2024/march/assay-17.plt";
    const std::string cut = ShortenPath(path, page.dc, 24 * w);
    EXPECT_LE(static_cast<int>(cut.size()), 24);
    EXPECT_NE(cut.find("...."), std::string::npos) << cut;
    // Characters go from both sides of the dots, the ends stay.
    EXPECT_EQ(cut.substr(0, 4), path.substr(0, 4)) << cut;
    EXPECT_EQ(cut.substr(cut.size() - 10), path.substr(path.size() - 10)) << cut;
    EXPECT_EQ(ShortenPath(path, page.dc, 1000 * w), path);
}

TEST(PageFurniture, MarginRectangleNeverEmptyOrInverted)
{
    ResetPrintSettings();
    FixedPage page;  // 816 x 1056 at 96 dpi
    gCurPageMargins = {100, 50, 25, 200};
    EXPECT_EQ(PageMarginRect(page.dc), TRect(96, 48, 792, 864));
    StoreMarginRect(page.dc, PageMarginRect(page.dc));
    EXPECT_EQ(gCurPageMargins, (PageMargins{100, 50, 25, 200}));
    gCurPageMargins = {600, 0, 600, 0};  // the sides cross
    EXPECT_EQ(PageMarginRect(page.dc), TRect(240, 0, 576, 1056));
    gCurPageMargins = {400, 0, 400, 0};  // narrower than a tenth of the page
    EXPECT_EQ(PageMarginRect(page.dc), TRect(384, 0, 465, 1056));
    gCurPageMargins = {900, 0, -100, 0};
    EXPECT_EQ(PageMarginRect(page.dc), TRect(735, 0, 816, 1056));
    ResetPrintSettings();
}

}  // namespace
}  // namespace vyn::test
