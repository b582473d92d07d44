#include <gtest/gtest.h>

#include <cstring>

#include "platform/core/StringTable.h"

namespace vyn {
namespace {

TEST(StringTable, UnknownIdGivesEmptyTextNotThePreviousOne)
{
    GetResString(1400);  // leave something in the shared buffer
    EXPECT_STREQ(GetResString(65000), "");
    char buf[16] = "garbage";
    EXPECT_STREQ(GetResStringBuf(65000, buf, sizeof buf), "");
}

TEST(StringTable, FormatWithArgTakesTheFirstPercentS)
{
    EXPECT_EQ(FormatWithArg("Numerical error in %s.", "log"), "Numerical error in log.");
    EXPECT_EQ(FormatWithArg("100%% of %s", "x"), "100% of x");
    EXPECT_EQ(FormatWithArg("no argument", "x"), "no argument");
}

TEST(StringTable, CutUtf8NeverSplitsACharacter)
{
    std::string s = "ab\xC3\xA9";  // "abé"
    EXPECT_EQ(CutUtf8(s, 3), "ab");
    EXPECT_EQ(CutUtf8(s, 4), s);
}

TEST(StringTable, BufferCopyIsCutAndTerminated)
{
    const char* full = FindResString(1400);
    if (!full) GTEST_SKIP() << "no text 1400 in the table yet";
    char buf[6];
    GetResStringBuf(1400, buf, sizeof buf);
    EXPECT_EQ(std::strlen(buf), 5u);
    EXPECT_EQ(std::string(full).substr(0, 5), buf);
}

}  // namespace
}  // namespace vyn
