// The INF shipped with the product reads cleanly and gives the program what it needs.
#include <gtest/gtest.h>

#include "setup/core/InfFile.h"

using namespace vyn;

TEST(ShippedInf, NamesTheProgramUninstallerRecordFileAndFolders)
{
    InfFile inf;
    ASSERT_TRUE(inf.Open(std::string(VYN_SOURCE_DIR) + "/resources/setup/vyn.inf")) << inf.ErrorText();
    inf.SetDirectoryId(InfFile::kDestinationDirId, "/opt/Orrin Talvorne/Vyn/");
    std::string names;
    for (const char* s : {"Files.Program", "Files.Demo"})
        for (const InfLine& l : inf.FindSection(s)->lines) names += l.fields[1] + ";";
    for (const char* n : {"vyn;", "vynsetup;", "zzzzzzzz.zzz;", "Demo.plt;", "VYN.MTW;"})
        EXPECT_NE(names.find(n), std::string::npos) << n;
    std::string path;
    ASSERT_TRUE(inf.GetTargetPath("Files.Demo", path));
    EXPECT_EQ(path, "/opt/Orrin Talvorne/Vyn/data");
    EXPECT_NE(inf.FindLine("KeyDirSection", "Software\\Talvorne\\Vyn\\Setup"), nullptr);
    EXPECT_EQ(GetInfString(inf, "MainVynSetup", "VynUninstList", nullptr), "zzzzzzzz.zzz");
}
