#include "SetupTree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <fcntl.h>
#include <sys/stat.h>

namespace vyn::test {

int ScriptedUi::Message(const std::string& text, const std::string& caption, unsigned flags)
{
    shown.push_back({text, caption, flags});
    if (answers.empty()) return (flags & 0xF) == kBoxOk ? kAnswerOk : kAnswerCancel;
    int a = answers.front();
    answers.pop_front();
    return a;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text)
{
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

bool Exists(const std::string& path)
{
    struct stat st{};
    return ::lstat(path.c_str(), &st) == 0;
}

namespace {

// The tree redirects TMPDIR into itself; the next tree is made where the first one was.
const std::string& OuterTempFolder()
{
    static const std::string dir = std::filesystem::temp_directory_path().string();
    return dir;
}

}  // namespace

SetupTree::SetupTree()
{
    std::string base = OuterTempFolder() + "/vyn-setup-XXXXXX";
    std::vector<char> name(base.begin(), base.end());
    name.push_back('\0');
    // Resolved, as the installer resolves the folders it records.
    root = std::filesystem::canonical(::mkdtemp(name.data())).string() + "/";
    setupFolder = root + "medium/";
    programFiles = root + "opt";
    destination = programFiles + "/Talvorne/Vyn/";
    menuFolder = root + "data/applications/";
    desktop = root + "Desktop/";
    std::filesystem::create_directories(desktop);
    std::filesystem::create_directories(programFiles);
    std::filesystem::create_directories(root + "tmp");
    ::setenv("VYN_CONFIG_DIR", (root + "config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (root + "data").c_str(), 1);
    ::setenv("XDG_DESKTOP_DIR", desktop.c_str(), 1);
    ::setenv("TMPDIR", (root + "tmp").c_str(), 1);
    ::setenv("VYN_PROGRAM_FILES", programFiles.c_str(), 1);

    WriteFile(setupFolder + "vyn.inf", ReadFile(std::string(VYN_TEST_DATA) + "/setup/install/vyn.inf"));
    WriteFile(setupFolder + "setup", "#!/bin/sh\n# the installer\n");
    ::chmod((setupFolder + "setup").c_str(), 0755);
    WriteFile(setupFolder + "bin/vyn", "#!/bin/sh\n# the program\n");
    ::chmod((setupFolder + "bin/vyn").c_str(), 0755);
    WriteFile(setupFolder + "bin/vyn.version", "1.2.3.4\n");
    WriteFile(setupFolder + "bin/setup", "#!/bin/sh\n# the uninstaller copy\n");
    WriteFile(setupFolder + "zzzzzzzz.zzz", "");
    WriteFile(setupFolder + "Demo.plt", "PLAT;demo;\n");
    // The medium was made long ago: a file written by a test is newer, one dated back older.
    for (const char* f : {"setup", "bin/vyn", "bin/vyn.version", "bin/setup", "zzzzzzzz.zzz", "Demo.plt"}) SetMTime(setupFolder + f, 1577836800);
}

void SetMTime(const std::string& path, long long unixSeconds)
{
    timespec times[2] = {{unixSeconds, 0}, {unixSeconds, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0) << path;
}

SetupTree::~SetupTree()
{
    ::setenv("TMPDIR", OuterTempFolder().c_str(), 1);
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
}

void SetupTree::Start(SetupContext& ctx, const std::string& program, const std::vector<std::string>& args, SetupUi& ui)
{
    ctx.ui = &ui;
    ctx.StartUp(program, args);
}

void SetupTree::PrepareInstall(SetupContext& ctx, SetupUi& ui, const std::string& menuName)
{
    Start(ctx, setupFolder + "setup", {}, ui);
    ctx.infPath = setupFolder + "vyn.inf";
    ASSERT_TRUE(ctx.inf.Open(ctx.infPath)) << ctx.inf.ErrorText();
    ctx.destination = destination;
    ctx.menuName = menuName;
}

}  // namespace vyn::test
