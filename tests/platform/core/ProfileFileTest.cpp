#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/core/AtomicFile.h"
#include "platform/core/ProfileFile.h"
#include "TempConfigDir.h"

namespace vyn {
namespace {

std::string FileText(const std::string& path)
{
    std::string s;
    ReadWholeFile(path, s);
    return s;
}

void WriteText(const std::string& path, const std::string& text)
{
    ASSERT_TRUE(WriteFileAtomic(path, text));
}

class ProfileFileTest : public ::testing::Test {
protected:
    test::TempConfigDir dir;
    std::string Path() const { return dir.Path() + "/VYN.INI"; }
};

TEST_F(ProfileFileTest, MissingFileReadsAsDefaults)
{
    char buf[32] = "garbage";
    EXPECT_EQ(GetPrivateProfileString("application", "res_error", "err  ", buf, sizeof buf, "VYN.INI"), 3);
    EXPECT_STREQ(buf, "err");  // trailing blanks of the default go
    EXPECT_EQ(GetPrivateProfileInt("application", "comma", 7, "VYN.INI"), 7);
    EXPECT_TRUE(ProfileFile("VYN.INI").Sections().empty());
}

TEST_F(ProfileFileTest, FirstWriteCreatesFolderAndFile)
{
    test::TempConfigDir nested;  // a folder that does not exist yet below it
    ::setenv("VYN_CONFIG_DIR", (nested.Path() + "/deeper/vyn").c_str(), 1);
    EXPECT_TRUE(WritePrivateProfileString("application", "comma", "1", "VYN.INI"));
    EXPECT_EQ(FileText(nested.Path() + "/deeper/vyn/VYN.INI"), "[application]\ncomma=1\n");
}

TEST_F(ProfileFileTest, SectionsAndKeysIgnoreCaseAndValuesAreTrimmed)
{
    WriteText(Path(), "; settings\r\n[Application]\r\nRes_Error = \"  err \" \r\nempty=\r\nnoequals\r\n[other]\r\nres_error=x\r\n");
    char buf[32];
    EXPECT_EQ(GetPrivateProfileString("APPLICATION", "res_error", "d", buf, sizeof buf, "VYN.INI"), 6);
    EXPECT_STREQ(buf, "  err ");
    EXPECT_EQ(GetPrivateProfileString("application", "empty", "d", buf, sizeof buf, "VYN.INI"), 0);
    EXPECT_EQ(GetPrivateProfileString("application", "noequals", "d", buf, sizeof buf, "VYN.INI"), 1);
    EXPECT_EQ(GetPrivateProfileString("application", "res_error", "d", buf, 4, "VYN.INI"), 3);
    EXPECT_STREQ(buf, "  e");
    EXPECT_EQ(ProfileFile("VYN.INI").Keys("application"), (std::vector<std::string>{"Res_Error", "empty"}));
}

TEST_F(ProfileFileTest, IntegersParseLikeTheProfileCall)
{
    struct Row {
        const char* name;
        const char* text;
        int expected;
    };
    static const Row rows[] = {
        {"plain", "42", 42},           {"negative", "-5", -5},         {"leading blanks", "  17", 17},
        {"trailing text", "12abc", 12}, {"word", "abc", 0},             {"hex", "0x1F", 31},
        {"plus", "+3", 3},             {"empty gives default", "", 99}, {"wraps at 32 bits", "4294967297", 1},
    };
    for (const Row& r : rows) {
        ASSERT_TRUE(WritePrivateProfileString("s", "k", r.text, "VYN.INI"));
        EXPECT_EQ(GetPrivateProfileInt("s", "k", 99, "VYN.INI"), r.expected) << r.name;
    }
    EXPECT_EQ(GetPrivateProfileInt("s", "missing", 99, "VYN.INI"), 99);
}

TEST_F(ProfileFileTest, RewriteKeepsOrderCommentsAndLineEnds)
{
    WriteText(Path(), "; keep me\r\n[a]\r\nx=1\r\ny=2\r\n\r\n[b]\r\nz=3\r\n");
    ASSERT_TRUE(WritePrivateProfileString("A", "Y", "20", "VYN.INI"));
    ASSERT_TRUE(WritePrivateProfileString("a", "w", "4", "VYN.INI"));
    ASSERT_TRUE(WritePrivateProfileString("c", "v", "5", "VYN.INI"));
    EXPECT_EQ(FileText(Path()), "; keep me\r\n[a]\r\nx=1\r\nY=20\r\nw=4\r\n\r\n[b]\r\nz=3\r\n\r\n[c]\r\nv=5\r\n");

    ASSERT_TRUE(WritePrivateProfileString("a", "x", nullptr, "VYN.INI"));
    ASSERT_TRUE(WritePrivateProfileString("B", nullptr, nullptr, "VYN.INI"));
    EXPECT_EQ(FileText(Path()), "; keep me\r\n[a]\r\nY=20\r\nw=4\r\n\r\n[c]\r\nv=5\r\n");
    EXPECT_EQ(ProfileFile("VYN.INI").Sections(), (std::vector<std::string>{"a", "c"}));
}

TEST_F(ProfileFileTest, ValueWithLineBreakStaysOneLine)
{
    ASSERT_TRUE(WritePrivateProfileString("s", "k", "one\ntwo", "VYN.INI"));
    ASSERT_TRUE(WritePrivateProfileString("s", "after", "x", "VYN.INI"));
    std::string v;
    ASSERT_TRUE(ProfileFile("VYN.INI").Read("s", "k", v));
    EXPECT_EQ(v, "one two");
    EXPECT_EQ(ProfileFile("VYN.INI").Keys("s").size(), 2u);
}

int DieBeforeSync(FileStep step)
{
    if (step == FileStep::Sync) ::raise(SIGKILL);
    return 0;
}

TEST_F(ProfileFileTest, FailedWriteLeavesOldFileWhole)
{
    const std::string old = "[s]\nk=old\n";
    WriteText(Path(), old);
    bool ok = true;
    {
        FileFault fault(FileStep::Rename, 1);
        ok = WritePrivateProfileString("s", "k", "new", "VYN.INI");
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(FileText(Path()), old);
    for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << "left behind: " << e.path();
}

TEST_F(ProfileFileTest, KilledWriterLeavesOldFileWhole)
{
    std::string old = "[s]\n";
    for (int i = 0; i < 2000; ++i) old += "key" + std::to_string(i) + "=value\n";
    WriteText(Path(), old);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SetFileFaultHook(&DieBeforeSync);
        WritePrivateProfileString("s", "key1", "changed", "VYN.INI");
        ::_exit(0);  // not reached
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
    EXPECT_EQ(FileText(Path()), old);
    // The next writer is not stopped by the dead one's lock or its half temporary file.
    EXPECT_TRUE(WritePrivateProfileString("s", "key1", "changed", "VYN.INI"));
    char buf[16];
    GetPrivateProfileString("s", "key1", "", buf, sizeof buf, "VYN.INI");
    EXPECT_STREQ(buf, "changed");
}

// A file the user made read-only keeps its content and mode whoever runs the program (root
// included, whom no mode stops): every write is refused, and a write that changes nothing is no
// failure. A folder in the file's place is refused too, without being taken for read-only.
TEST_F(ProfileFileTest, AReadOnlyFileIsLeftAsItIs)
{
    const std::string old = "[s]\nk=old\n";
    WriteText(Path(), old);
    ASSERT_EQ(::chmod(Path().c_str(), 0444), 0);
    ProfileFile file("VYN.INI");
    EXPECT_TRUE(file.ReadOnly());
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "new", "VYN.INI"));
    EXPECT_FALSE(WritePrivateProfileString("s", "other", "1", "VYN.INI"));
    EXPECT_FALSE(WritePrivateProfileString("s", nullptr, nullptr, "VYN.INI"));
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "old", "VYN.INI")) << "nothing to change";
    EXPECT_EQ(FileText(Path()), old);
    EXPECT_EQ(std::filesystem::status(Path()).permissions() & std::filesystem::perms::all,
              std::filesystem::perms::owner_read | std::filesystem::perms::group_read | std::filesystem::perms::others_read);

    ASSERT_EQ(::chmod(Path().c_str(), 0644), 0);
    EXPECT_FALSE(file.ReadOnly());
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "new", "VYN.INI"));

    std::filesystem::remove(Path());
    std::filesystem::create_directory(Path());
    EXPECT_FALSE(file.ReadOnly());
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "new", "VYN.INI"));
    EXPECT_TRUE(std::filesystem::is_directory(Path()));
}

}  // namespace
}  // namespace vyn
