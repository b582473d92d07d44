#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "../platform/core/TempConfigDir.h"
#include "evaluator/NoValue.h"
#include "evaluator/NumFormat.h"
#include "platform/core/AtomicFile.h"
#include "plate/Profile.h"

namespace vyn {
namespace {

class ProfileTest : public ::testing::Test {
protected:
    void TearDown() override { gDecimalChar = '.'; }
    test::TempConfigDir dir;
};

TEST_F(ProfileTest, DoublesReadBackAndDefaultsStayExact)
{
    const double third = 1.0 / 3;
    EXPECT_EQ(ProfileGetDouble("application", "x", third), third) << "missing file";
    ASSERT_EQ(ProfileWriteString("application", "other", "1"), 1);
    EXPECT_EQ(ProfileGetDouble("application", "x", third), third) << "missing key";
    EXPECT_EQ(ProfileGetDouble("application", "x", NoValue), NoValue);

    ASSERT_EQ(ProfileWriteString("application", "word", "high"), 1);
    EXPECT_EQ(ProfileGetDouble("application", "word", 1.0), NoValue);

    ASSERT_EQ(ProfileWriteDouble("application", "pi", 3.14159265358979), 1);
    EXPECT_EQ(ProfileGetString("application", "pi", ""), "3.14159265358979");
    EXPECT_EQ(ProfileGetDouble("application", "pi", 0), 3.14159265358979);

    gDecimalChar = ',';
    ASSERT_EQ(ProfileWriteDouble("application", "comma", 2.5), 1);
    EXPECT_EQ(ProfileGetString("application", "comma", ""), "2,5");
    ASSERT_EQ(ProfileWriteString("application", "point", "2.5"), 1);
    EXPECT_EQ(ProfileGetDouble("application", "comma", 0), 2.5);
    EXPECT_EQ(ProfileGetDouble("application", "point", 0), 2.5);
}

TEST_F(ProfileTest, IntsStringsAndFormattedLines)
{
    EXPECT_EQ(ProfileGetInt("application", "cell_val_len", 7), 7);
    ASSERT_EQ(ProfileWriteInt("application", "cell_val_len", -12), 1);
    EXPECT_EQ(ProfileGetInt("application", "cell_val_len", 7), -12);

    char buf[8];
    EXPECT_EQ(ProfileGetString("application", "res_error", "err", buf, sizeof buf), 3);
    EXPECT_STREQ(buf, "err");

    int mode = -1, digits = -1, decimals = -1;
    EXPECT_EQ(ProfileScanFormat("application", "cell_format", "%d%d%d", &mode, &digits, &decimals), 0);
    EXPECT_EQ(mode, -1) << "a missing value leaves the places alone";
    ASSERT_EQ(ProfileWriteFormat("application", "cell_format", "%d %d %d", 2, 4, 3), 1);
    EXPECT_EQ(ProfileScanFormat("application", "cell_format", "%d%d%d", &mode, &digits, &decimals), 3);
    EXPECT_EQ((std::vector<int>{mode, digits, decimals}), (std::vector<int>{2, 4, 3}));
    ASSERT_EQ(ProfileWriteString("application", "cell_format", "1 x"), 1);
    EXPECT_EQ(ProfileScanFormat("application", "cell_format", "%d%d%d", &mode, &digits, &decimals), 1);
    ASSERT_EQ(ProfileWriteString("application", "cell_format", "   "), 1);
    EXPECT_EQ(ProfileScanFormat("application", "cell_format", "%d%d%d", &mode, &digits, &decimals), 0);
}

TEST_F(ProfileTest, FormattedLinesIgnoreTheProcessLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    if (!std::setlocale(LC_ALL, "de_DE.UTF-8"))
        GTEST_SKIP() << "locale de_DE.UTF-8 is not installed (scripts/install-deps.sh generates it)";
    const int written = ProfileWriteFormat("s", "k", "%.2f", 1.5);
    double back = 0;
    const int scanned = ProfileScanFormat("s", "k", "%lf", &back);
    const std::string text = ProfileGetString("s", "k", "");
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_EQ(written, 1);
    EXPECT_EQ(text, "1.50");
    EXPECT_EQ(scanned, 1);
    EXPECT_EQ(back, 1.5);
}

const char* kSetup = "Software\\Talvorne\\Vyn\\Setup";

TEST_F(ProfileTest, RegistryStringsRoundTrip)
{
    char buf[260] = "garbage";
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");

    ASSERT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "/data"), ERROR_SUCCESS);
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", buf, sizeof buf), 6);
    EXPECT_STREQ(buf, "/data");
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "SysFilesDir", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "");

    char small[4] = "xyz";
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", small, sizeof small), 0) << "does not fit";
    EXPECT_STREQ(small, "");
    char exact[6];
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", exact, sizeof exact), 6);
    EXPECT_STREQ(exact, "/data");

    const char noZero[] = {'a', 'b', 'c'};
    ASSERT_EQ(RegSetValue(HKEY_LOCAL_MACHINE, kSetup, "Raw", REG_SZ, noZero, sizeof noZero), ERROR_SUCCESS);
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "Raw", small, 3), 0) << "would be unterminated";
    EXPECT_EQ(RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "Raw", small, 4), 3);
    EXPECT_STREQ(small, "abc");
}

TEST_F(ProfileTest, FailedRegistryValueWriteIsReported)
{
    ASSERT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "/old"), ERROR_SUCCESS);
    long rc = 0;
    int profileOk = 1;
    {
        FileFault fault(FileStep::Rename, 1);
        rc = RegWriteString(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", "/new");
    }
    {
        FileFault fault(FileStep::Rename, 1);
        profileOk = ProfileWriteInt("application", "comma", 1);
    }
    EXPECT_NE(rc, ERROR_SUCCESS);
    EXPECT_EQ(profileOk, 0);
    char buf[32];
    RegReadValue(HKEY_LOCAL_MACHINE, kSetup, "IniDataDir", buf, sizeof buf);
    EXPECT_STREQ(buf, "/old");
}

}  // namespace
}  // namespace vyn
