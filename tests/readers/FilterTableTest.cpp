#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "../platform/core/TempConfigDir.h"
#include "plate/FilterTable.h"
#include "platform/core/ProfileFile.h"
#include "readers/QFoto.h"

namespace vyn {
namespace {

void WriteIni(const std::string& dir, const std::string& text)
{
    std::ofstream(dir + "/VYN.INI") << text;
}

std::string ReadIni(const std::string& dir)
{
    std::ifstream in(dir + "/VYN.INI");
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<int> Table()
{
    std::vector<int> t;
    for (int i = 0; i < GetFilterCount(); ++i) t.push_back(GetFilter(i));
    return t;
}

// Every entry is read. One that is no wavelength (a negative one, as a typed -5 was once saved,
// text, or past four places) is an empty place, so the filters after it keep their
// places, and it is named for the user.
TEST(FilterTable, LoadsEveryEntryAndKeepsOnesThatAreNoWavelengthsAsEmptyPlaces)
{
    struct Case {
        const char* name;
        const char* section;
        std::vector<int> expected;
        std::vector<std::string> notKept;
    } cases[] = {
        {"a negative entry", "F01=405\nF02=450\nF03=-1\nF04=620\n", {405, 450, 0, 620}, {"[filters] F03=-1"}},
        {"typed -5 saved in row 5", "F01=340\nF02=405\nF03=450\nF04=492\nF05=-5\nF06=620\nF07=690\n",
         {340, 405, 450, 492, 0, 620, 690}, {"[filters] F05=-5"}},
        {"zeros are values", "F01=0\nF02=0\nF03=0\n", {0, 0, 0}, {}},
        {"file order, not key order", "F02=450\nF01=405\n", {450, 405}, {}},
        {"text", "F01=abc\nF02=492\n", {0, 492}, {"[filters] F01=abc"}},
        {"past four places", "F01=405\nF02=2147483647\nF03=10000\nF04=9999\n", {405, 0, 0, 9999},
         {"[filters] F02=2147483647", "[filters] F03=10000"}},
        {"empty section", "", {}, {}},
    };
    for (const Case& c : cases) {
        test::TempConfigDir dir;
        WriteIni(dir.Path(), std::string("[filters]\n") + c.section);
        QFilterTable::Instance().SetFilters({1, 2, 3});
        EXPECT_EQ(QFilterTable::Instance().Load(), c.notKept) << c.name;
        EXPECT_EQ(Table(), c.expected) << c.name;
    }
}

TEST(FilterTable, KeepsAtMost32)
{
    test::TempConfigDir dir;
    std::string section = "[filters]\n";
    for (int i = 1; i <= 40; ++i) section += "F" + std::to_string(i) + "=" + std::to_string(300 + i) + "\n";
    WriteIni(dir.Path(), section);
    QFilterTable::Instance().Load();
    ASSERT_EQ(GetFilterCount(), 32);
    EXPECT_EQ(GetFilter(31), 332);
    EXPECT_EQ(GetFilter(32), 0);
    EXPECT_EQ(GetFilter(-1), 0);

    std::vector<int> forty(40, 500);
    SetFilters(forty.data(), 40);
    EXPECT_EQ(GetFilterCount(), 32);
}

TEST(FilterTable, SaveRewritesTheWholeSection)
{
    test::TempConfigDir dir;
    WriteIni(dir.Path(), "[application]\nport=COM2:4800,N,8,1\n[filters]\nF01=1\nF02=2\nF03=3\nF04=4\nF05=5\n");
    const int three[] = {405, 450, 620};
    SetFilters(three, 3);
    ASSERT_TRUE(QFilterTable::Instance().Save());
    ProfileFile ini("VYN.INI");
    EXPECT_EQ(ini.Keys("filters"), (std::vector<std::string>{"F01", "F02", "F03"}));
    std::string v;
    EXPECT_TRUE(ini.Read("application", "port", v));
    EXPECT_EQ(v, "COM2:4800,N,8,1");

    // A full table comes back whole.
    std::vector<int> full;
    for (int i = 0; i < 32; ++i) full.push_back(400 + i);
    SetFilters(full.data(), 32);
    ASSERT_TRUE(QFilterTable::Instance().Save());
    SetFilters(nullptr, 0);
    QFilterTable::Instance().Load();
    EXPECT_EQ(Table(), full);
}

TEST(FilterTable, DriverLoadsAtStartAndSavesAtEnd)
{
    test::TempConfigDir dir;
    WriteIni(dir.Path(), "[filters]\nF01=405\nF02=492\n");
    {
        gReaderType = 4;  // not a reader family: the simulated reader
        QFoto* driver = CreateReaderDriver();
        ASSERT_NE(driver, nullptr);
        EXPECT_EQ(gReaderName, "Demo Device");
        EXPECT_EQ(Table(), (std::vector<int>{405, 492}));
        const int changed[] = {340, 405, 450};
        SetFilters(changed, 3);
        gReader.reset();
    }
    EXPECT_NE(ReadIni(dir.Path()).find("F03=450"), std::string::npos) << ReadIni(dir.Path());
    gReaderType = 0;
}

}  // namespace
}  // namespace vyn
