// The setup information file parser: a good file with every feature read field by field, and a
// table of damaged files, each refused with its own message naming the line.
#include <gtest/gtest.h>

#include <string>

#include "platform/core/StringTable.h"
#include "setup/core/InfFile.h"
#include "setup/core/SetupResIds.h"

using namespace vyn;

namespace {

std::string Data(const std::string& name) { return std::string(VYN_TEST_DATA) + "/setup/" + name; }

std::string Value(const InfFile& inf, const char* section, const char* key)
{
    return GetInfString(inf, section, key, "<missing>");
}

}  // namespace

TEST(InfFile, ReadsSectionsKeysQuotesContinuationsAndStrings)
{
    InfFile inf;
    ASSERT_TRUE(inf.Open(Data("good.inf"))) << inf.ErrorText();
    // Sections of the same name (any case) are one; keys compare without regard to case.
    EXPECT_EQ(Value(inf, "MAINVYNSETUP", "vynapplication"), "vyn");
    EXPECT_EQ(Value(inf, "MainVynSetup", "VynProductName"), "Vyn \"Lab\" Edition");
    EXPECT_EQ(Value(inf, "MainVynSetup", "DefaDestPath"), "Lab Tools/Vyn");
    EXPECT_EQ(Value(inf, "MainVynSetup", "Joined"), "first,second,third");
    EXPECT_EQ(Value(inf, "MainVynSetup", "Late"), "a;b,c");
    EXPECT_EQ(Value(inf, "MainVynSetup", "Empty"), "");
    EXPECT_EQ(Value(inf, "MainVynSetup", "Rate"), "50%");
    EXPECT_EQ(Value(inf, "MainVynSetup", "NoSuchKey"), "<missing>");
    EXPECT_EQ(GetInfString(inf, "NoSection", "Key", nullptr), "");

    // Keyless lines keep their fields; a missing field is reported as missing.
    const InfSection* files = inf.FindSection("files.data");
    ASSERT_NE(files, nullptr);
    ASSERT_EQ(files->lines.size(), 2u);
    std::string f;
    EXPECT_FALSE(files->lines[0].hasKey);
    EXPECT_EQ(InfFile::FieldCount(files->lines[1]), 2);
    ASSERT_TRUE(inf.GetField(files->lines[1], 2, f));
    EXPECT_EQ(f, "data/VYN.MTW");
    EXPECT_FALSE(inf.GetField(files->lines[1], 3, f));
    EXPECT_EQ(files->lines[1].lineNo, 22);
}

TEST(InfFile, DirectoryIdsAreFilledInWhenUsed)
{
    InfFile inf;
    ASSERT_TRUE(inf.Open(Data("good.inf"))) << inf.ErrorText();
    std::string path;
    EXPECT_FALSE(inf.GetTargetPath("root", path)) << "the destination is not chosen yet";
    EXPECT_EQ(Value(inf, "MainVynSetup", "Dir"), "%66000%/bin");

    inf.SetDirectoryId(InfFile::kDestinationDirId, "/opt/Vyn/");
    ASSERT_TRUE(inf.GetTargetPath("root", path));
    EXPECT_EQ(path, "/opt/Vyn");
    ASSERT_TRUE(inf.GetTargetPath("Files.Data", path));
    EXPECT_EQ(path, "/opt/Vyn/demo");
    EXPECT_EQ(Value(inf, "MainVynSetup", "Dir"), "/opt/Vyn/bin");
    EXPECT_FALSE(inf.GetTargetPath("NotListed", path)) << "no DefaultDestDir";
}

TEST(InfFile, SubFoldersOfDestinationDirsStayInside)
{
    InfFile inf;
    ASSERT_TRUE(inf.Parse("[DestinationDirs]\nup = 66000, ../etc\nabs = 66000,/etc\nin = 66000,a/b\nbad = x\n", "t.inf"));
    inf.SetDirectoryId(InfFile::kDestinationDirId, "/opt/Vyn");
    std::string path;
    EXPECT_FALSE(inf.GetTargetPath("up", path));
    EXPECT_FALSE(inf.GetTargetPath("abs", path));
    EXPECT_FALSE(inf.GetTargetPath("bad", path));
    ASSERT_TRUE(inf.GetTargetPath("in", path));
    EXPECT_EQ(path, "/opt/Vyn/a/b");
}

TEST(InfFile, BytesThatAreNotUtf8AreReadAsWindows1252)
{
    InfFile inf;
    ASSERT_TRUE(inf.Open(Data("cp1252.inf"))) << inf.ErrorText();
    EXPECT_EQ(Value(inf, "Main", "Name"), "Caf\xC3\xA9 \xE2\x82\xAC \xE2\x82\xAC");
}

TEST(InfFile, DamagedFilesAreRefusedWithTheirMessage)
{
    struct Row {
        const char* name;
        std::string file;       // fixture name, or empty to parse `bytes`
        std::string bytes;
        int id;
        const char* where;      // what the message must name
    };
    const std::string huge = "[Main]\nKey = " + std::string(InfFile::kMaxLineLength, 'x') + "\n";
    std::string continued = "[Main]\nKey = ";
    for (int i = 0; i < 100; ++i) continued += std::string(50, 'y') + " \\\n";
    continued += "end\n";
    const Row rows[] = {
        {"unterminated section", "unterminated_section.inf", "", kIdsInfUnclosedSection, "line 3"},
        {"unclosed quote", "unclosed_quote.inf", "", kIdsInfUnclosedQuote, "line 2"},
        {"line before any section", "outside_section.inf", "", kIdsInfOutsideSection, "line 2"},
        {"undefined string", "missing_string.inf", "", kIdsInfUndefinedString, "%Product% (missing_string.inf, line 2)"},
        {"text after section name", "text_after_section.inf", "", kIdsInfTextAfterSection, "line 1"},
        {"huge line", "", huge, kIdsInfLineTooLong, "line 2"},
        {"huge continued line", "", continued, kIdsInfLineTooLong, "line 2"},
        {"zero byte", "", std::string("[Main]\nKey = a\0b\n", 17), kIdsInfDamagedLine, "line 2"},
        {"empty section name", "", "[ ]\n", kIdsInfDamagedLine, "line 1"},
        {"missing file", "no_such.inf", "", kIdsInfCannotOpen, "no_such.inf"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        InfFile inf;
        bool ok = r.file.empty() ? inf.Parse(r.bytes, "mem.inf") : inf.Open(Data(r.file));
        EXPECT_FALSE(ok);
        EXPECT_FALSE(inf.IsOpen());
        EXPECT_EQ(inf.ErrorId(), r.id) << inf.ErrorText();
        EXPECT_NE(inf.ErrorText().find(r.where), std::string::npos) << inf.ErrorText();
        EXPECT_NE(std::string(GetResString(r.id)), "") << "the message is in the string table";
        EXPECT_EQ(GetInfString(inf, "Main", "Key", "dflt"), "dflt") << "a refused file gives the defaults";
    }
}
