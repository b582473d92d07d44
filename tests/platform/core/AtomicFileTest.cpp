#include "platform/core/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

namespace vyn {
namespace {

namespace fs = std::filesystem;

// A scratch folder; Names() shows everything in it, so a temporary left behind is seen.
struct Folder {
    std::string path;
    Folder()
    {
        std::string t = (fs::temp_directory_path() / "vyn-files-XXXXXX").string();
        path = ::mkdtemp(t.data()) ? t : std::string();
    }
    ~Folder()
    {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
    std::string operator/(const std::string& name) const { return path + "/" + name; }
    std::set<std::string> Names() const
    {
        std::set<std::string> names;
        for (const auto& e : fs::directory_iterator(path)) names.insert(e.path().filename().string());
        return names;
    }
};

std::string Read(const std::string& path)
{
    std::string s;
    ReadWholeFile(path, s);
    return s;
}

void Put(const std::string& path, const std::string& text)
{
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_NE(f, nullptr) << path;
    std::fwrite(text.data(), 1, text.size(), f);
    std::fclose(f);
}

int ModeOf(const std::string& path)
{
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? static_cast<int>(st.st_mode & 07777) : -1;
}

const std::string kBig(200000, 'n');  // more than one written block

TEST(AtomicFile, ReplaceWritesTheWholeFileAndKeepsItsPermissions)
{
    Folder d;
    Put(d / "f", "old");
    ASSERT_EQ(::chmod((d / "f").c_str(), 0640), 0);
    ASSERT_TRUE(ReplaceFile(d / "f", kBig));
    EXPECT_EQ(Read(d / "f"), kBig);
    EXPECT_EQ(ModeOf(d / "f"), 0640);
    EXPECT_EQ(d.Names(), (std::set<std::string>{"f"}));

    // A new file, and one under a fixed companion name that is gone afterwards.
    ReplaceOptions companion;
    companion.companion = "F.TM~";
    ASSERT_TRUE(ReplaceFile(d / "g", "new", companion));
    EXPECT_EQ(Read(d / "g"), "new");
    EXPECT_EQ(d.Names(), (std::set<std::string>{"f", "g"}));
}

// Every step that can fail leaves the old file whole and no temporary file behind, and tells
// which step it was.
TEST(AtomicFile, EachFailedStepLeavesTheOldFileWholeAndNoTemporary)
{
    struct Row {
        const char* name;
        FileStep step;
        int nth;
        bool companion;
    };
    const Row rows[] = {
        {"open", FileStep::Open, 1, false},
        {"first block", FileStep::Write, 1, false},
        {"second block", FileStep::Write, 2, false},
        {"sync", FileStep::Sync, 1, false},
        {"close", FileStep::Close, 1, false},
        {"rename", FileStep::Rename, 1, false},
        {"companion: write", FileStep::Write, 2, true},
        {"companion: rename", FileStep::Rename, 1, true},
    };
    for (const Row& r : rows) {
        Folder d;
        Put(d / "f", "old");
        ::chmod((d / "f").c_str(), 0600);
        ReplaceOptions o;
        if (r.companion) o.companion = "F.TM~";
        FileResult res;
        {
            FileFault fault(r.step, r.nth, ENOSPC);
            res = ReplaceFile(d / "f", kBig, o);
            EXPECT_TRUE(fault.Fired()) << r.name;
        }
        EXPECT_FALSE(res) << r.name;
        EXPECT_EQ(res.step, r.step) << r.name;
        EXPECT_EQ(res.error, ENOSPC) << r.name;
        EXPECT_EQ(Read(d / "f"), "old") << r.name;
        EXPECT_EQ(ModeOf(d / "f"), 0600) << r.name;
        EXPECT_EQ(d.Names(), (std::set<std::string>{"f"})) << r.name;
    }
}

TEST(AtomicFile, RefusesWhatIsNoPlainFile)
{
    Folder d;
    ASSERT_EQ(::mkdir((d / "dir").c_str(), 0755), 0);
    ASSERT_EQ(::mkfifo((d / "pipe").c_str(), 0644), 0);
    Put(d / "there", "keep");
    ReplaceOptions createOnly;
    createOnly.createOnly = true;
    EXPECT_EQ(ReplaceFile(d / "dir", "x").error, EISDIR);
    EXPECT_EQ(ReplaceFile(d / "pipe", "x").error, EINVAL);
    EXPECT_EQ(ReplaceFile(d / "there", "x", createOnly).error, EEXIST);
    EXPECT_EQ(Read(d / "there"), "keep");
    EXPECT_EQ(ReplaceFile(d / "missing/f", "x").step, FileStep::Open);
    ASSERT_TRUE(ReplaceFile(d / "new", "x", createOnly));
    EXPECT_EQ(d.Names(), (std::set<std::string>{"dir", "pipe", "there", "new"}));
}

TEST(AtomicFile, LinksAreWrittenThroughAndPlantedCompanionLinksAreNotFollowed)
{
    Folder d;
    ASSERT_EQ(::mkdir((d / "real").c_str(), 0755), 0);
    Put(d / "real/file", "old");
    ::chmod((d / "real/file").c_str(), 0604);
    // A relative link, through a second link.
    ASSERT_EQ(::symlink("real/file", (d / "link1").c_str()), 0);
    ASSERT_EQ(::symlink((d / "link1").c_str(), (d / "link2").c_str()), 0);
    ASSERT_TRUE(ReplaceFile(d / "link2", "through"));
    EXPECT_EQ(Read(d / "real/file"), "through");
    EXPECT_EQ(ModeOf(d / "real/file"), 0604);
    EXPECT_TRUE(fs::is_symlink(d / "link1"));
    EXPECT_TRUE(fs::is_symlink(d / "link2"));
    EXPECT_EQ(ResolveWriteTarget(d / "link2"), d / "real/file");

    // A dangling link makes the file it names.
    ASSERT_EQ(::symlink("real/later", (d / "dangling").c_str()), 0);
    ASSERT_TRUE(ReplaceFile(d / "dangling", "made"));
    EXPECT_EQ(Read(d / "real/later"), "made");

    // A link planted under the companion's name is removed, never written through.
    Put(d / "victim", "victim");
    Put(d / "lib", "old");
    ASSERT_EQ(::symlink((d / "victim").c_str(), (d / "LIB.TM~").c_str()), 0);
    ReplaceOptions o;
    o.companion = "LIB.TM~";
    ASSERT_TRUE(ReplaceFile(d / "lib", "new", o));
    EXPECT_EQ(Read(d / "lib"), "new");
    EXPECT_EQ(Read(d / "victim"), "victim");
    EXPECT_FALSE(fs::exists(fs::symlink_status(d / "LIB.TM~")));

    // The installer replaces a link itself rather than write outside its folder.
    ASSERT_EQ(::symlink((d / "victim").c_str(), (d / "installed").c_str()), 0);
    ReplaceOptions own;
    own.followLink = false;
    ASSERT_TRUE(ReplaceFile(d / "installed", "copy", own));
    EXPECT_FALSE(fs::is_symlink(d / "installed"));
    EXPECT_EQ(Read(d / "installed"), "copy");
    EXPECT_EQ(Read(d / "victim"), "victim");
}

TEST(AtomicFile, StagedFilesWaitUntilCommitted)
{
    Folder d;
    Put(d / "f", "old");
    {
        AtomicFile f(d / "f");
        ASSERT_TRUE(f.Open());
        ASSERT_TRUE(f.Write("new"));
        ASSERT_TRUE(f.Finish());
        EXPECT_EQ(Read(d / "f"), "old");
        EXPECT_EQ(Read(f.TempPath()), "new");
    }
    EXPECT_EQ(Read(d / "f"), "old") << "never committed";
    EXPECT_EQ(d.Names(), (std::set<std::string>{"f"}));
}

TEST(FileAppend, AppendsAndCutsBackOnEveryFailure)
{
    Folder d;
    Put(d / "lib", "HEAD one\r\n");
    {
        FileAppend a(d / "lib");
        ASSERT_TRUE(a.Open());
        EXPECT_EQ(a.OldLength(), 10);
        ASSERT_TRUE(a.Append("two\r\n"));
        ASSERT_TRUE(a.Patch(0, "MARK"));
        ASSERT_TRUE(a.Commit());
    }
    EXPECT_EQ(Read(d / "lib"), "MARK one\r\ntwo\r\n");

    struct Row {
        const char* name;
        FileStep step;
        int nth;
    };
    const Row rows[] = {
        {"first block", FileStep::Write, 1},
        {"second block", FileStep::Write, 2},
        {"sync of the block", FileStep::Sync, 1},
        {"the patch", FileStep::Write, 5},
        {"sync of the patch", FileStep::Sync, 2},
        {"close", FileStep::Close, 1},
    };
    const std::string before = Read(d / "lib");
    for (const Row& r : rows) {
        FileFault fault(r.step, r.nth, ENOSPC);
        FileAppend a(d / "lib");
        ASSERT_TRUE(a.Open()) << r.name;
        const bool ok = a.Append(kBig) && a.Patch(0, "HEAD") && a.Commit();
        EXPECT_TRUE(fault.Fired()) << r.name;
        EXPECT_FALSE(ok) << r.name;
        EXPECT_EQ(a.Result().step, r.step) << r.name;
        EXPECT_EQ(Read(d / "lib"), before) << r.name;
    }
    // Dropped without Commit: cut back as well.
    {
        FileAppend a(d / "lib");
        ASSERT_TRUE(a.Open());
        ASSERT_TRUE(a.Append("lost"));
    }
    EXPECT_EQ(Read(d / "lib"), before);

    // Through a link, to its target.
    ASSERT_EQ(::symlink("lib", (d / "link").c_str()), 0);
    FileAppend a(d / "link");
    ASSERT_TRUE(a.Open() && a.Append("x") && a.Commit());
    EXPECT_EQ(Read(d / "lib"), before + "x");
    EXPECT_TRUE(fs::is_symlink(d / "link"));
}

}  // namespace
}  // namespace vyn
