// Settings through "VYN.INI", the folders from the registry store or the defaults, and the
// demo installation of the first start.
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

#include "ShellEnv.h"
#include "app/AppPaths.h"
#include "app/StartupChecks.h"
#include "app/AppSettings.h"
#include "document/MethodPaths.h"
#include "evaluator/NumFormat.h"
#include "plate/Profile.h"

using namespace vyn;

TEST(AppSettingsTest, RoundTripThroughTheSettingsFile)
{
    ShellEnv env;
    ProfileWriteInt(kAppSection, "comma", 2);
    ProfileWriteInt(kAppSection, "iniMaxShow", 2);
    ProfileWriteString(kAppSection, "exp_format", "2 6");  // one number short: default kept
    ProfileWriteString(kAppSection, "cell_format", "1 5 3");
    ProfileWriteString(kAppSection, "port", "garbage");
    ProfileWriteString(kAppSection, "res_over", ">HIGH");
    AppSettings s;
    int show = 1;
    LoadAppSettings(s, show);
    EXPECT_EQ(gDecimalChar, ',');
    EXPECT_EQ(show, 1) << "only exactly 1 maximises";
    EXPECT_EQ(s.expFormat, QNumFormat());
    EXPECT_EQ(s.cellFormat.mode, 1);
    EXPECT_EQ(s.cellFormat.digits, 5);
    EXPECT_EQ(s.cellFormat.decimals, 3);
    EXPECT_EQ(s.port, "garbage") << "the port settings decide whether a text is usable, when they take it";
    EXPECT_EQ(s.resOver, ">HIGH");
    EXPECT_EQ(s.autoMakeAftLoad, 1);

    s.expIdLen = 12;
    ASSERT_TRUE(SaveAppSettings(s, 3));
    EXPECT_EQ(ProfileGetInt(kAppSection, "comma", 0), 1);
    EXPECT_EQ(ProfileGetInt(kAppSection, "iniMaxShow", 0), 1);
    AppSettings back;
    int show2 = 1;
    LoadAppSettings(back, show2);
    EXPECT_EQ(show2, 3) << "a run that ended maximised starts maximised";
    EXPECT_EQ(back.expIdLen, 12);
    EXPECT_EQ(back.cellFormat, s.cellFormat);
    gDecimalChar = '.';
}

TEST(AppSettingsTest, BlankNameAndPortTexts)
{
    struct Row { const char* name; const char* in; const char* out; };
    const Row rows[] = {
        {"plain", "Blk", "Blk"},
        {"leading blanks and lower case", "  blank2", "Blank"},
        {"digit first after blanks", "  3x", ""},
        {"cut at a non-letter", "Ab-c", "Ab"},
    };
    for (const Row& r : rows) EXPECT_EQ(NormalizeBlankName(r.in), r.out) << r.name;
    EXPECT_TRUE(IsPortText("COM2:19200,N,8,1"));
    for (const char* bad : {"", "COM0:9600,E,7,2", "COM1:9600,E,7", "COM1:9600,X,7,2", "COM1:9600,E,7,2x"})
        EXPECT_FALSE(IsPortText(bad)) << bad;
}

TEST(AppPathsTest, FoldersFromTheRegistryOrTheDefaults)
{
    ShellEnv env;
    InitAppPaths();
    EXPECT_EQ(GetDataDir(), env.data) << "no registry values: the default data folder";
    EXPECT_EQ(GetSysDir(), env.data);
    EXPECT_EQ(GetMtwFilePath(), env.data + "/VYN.MTW");

    const std::string data2 = env.root + "/plates", sys2 = env.root + "/system";
    std::filesystem::create_directories(data2);
    std::filesystem::create_directories(sys2);
    ASSERT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, "IniDataDir", data2.c_str()), 0);
    ASSERT_EQ(RegWriteString(HKEY_LOCAL_MACHINE, kSetupKey, "SysFilesDir", sys2.c_str()), 0);
    InitAppPaths();
    EXPECT_EQ(GetDataDir(), env.data) << "the environment names the data folder whatever was stored";
    ::unsetenv("VYN_DATA_DIR");
    InitAppPaths();
    EXPECT_EQ(GetDataDir(), data2);
    EXPECT_EQ(GetMtwFilePath(), sys2 + "/VYN.MTW");
    EXPECT_EQ(GetLastPlatePath(), sys2 + "/__LAST__.PLT");

    ASSERT_EQ(::chdir(sys2.c_str()), 0);
    SaveIniDataDir();
    char buf[4096];
    RegReadValue(HKEY_LOCAL_MACHINE, kSetupKey, "IniDataDir", buf, sizeof buf);
    EXPECT_EQ(std::string(buf), sys2) << "the folder the user ended in is where the next start opens";
    SetSysFilesDir("");
}

TEST(AppPathsTest, StartUpTellsWhatItCouldNotSetUp)
{
    ShellEnv env;
    InitAppPaths();
    EXPECT_TRUE(SettingsFolderUsable());
    EXPECT_TRUE(StartupProblems(2, true, true).empty());

    // A data folder that takes no file: the demo cannot be installed, and the user is told.
    ::setenv("VYN_DATA_DIR", "/proc/self", 1);
    InitAppPaths();
    const int demo = InstallDemoData();
    EXPECT_EQ(demo, -1);
    std::vector<std::string> texts = StartupProblems(demo, true, true);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_NE(texts[0].find(GetDataDir()), std::string::npos) << texts[0];

    // A settings folder that cannot be made (a file stands where its parent should be).
    { std::ofstream(env.root + "/blocker") << "x"; }
    ::setenv("VYN_CONFIG_DIR", (env.root + "/blocker/config").c_str(), 1);
    EXPECT_FALSE(SettingsFolderUsable());
    texts = StartupProblems(0, false, false);
    ASSERT_EQ(texts.size(), 1u) << "the settings message says it all";
    EXPECT_NE(texts[0].find(env.root + "/blocker/config"), std::string::npos) << texts[0];
    EXPECT_EQ(StartupProblems(0, true, false).size(), 1u) << "no private place for the hand-over";
    SetSysFilesDir("");
}

TEST(AppPathsTest, FirstStartInstallsTheDemoOnceAndNeverOverwrites)
{
    ShellEnv env;
    InitAppPaths();
    EXPECT_EQ(InstallDemoData(), 2);
    EXPECT_TRUE(std::filesystem::exists(env.data + "/VYN.MTW"));
    EXPECT_TRUE(std::filesystem::exists(env.data + "/Demo.plt"));
    { std::ofstream(env.data + "/Demo.plt") << "mine"; }
    std::filesystem::remove(env.data + "/VYN.MTW");
    EXPECT_EQ(InstallDemoData(), 1) << "the user's plate stays";
    std::ifstream in(env.data + "/Demo.plt");
    std::string text;
    std::getline(in, text);
    EXPECT_EQ(text, "mine");
    EXPECT_EQ(InstallDemoData(), 0) << "not a first start any more";
    SetSysFilesDir("");
}
