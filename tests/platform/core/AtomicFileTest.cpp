#include "platform/core/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

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

namespace vyn {
namespace {

// A file whose name fills the folder's 255 bytes is replaced as any other: the temporary file
// takes a shorter name in the same folder and nothing of it is left behind.
TEST(AtomicFile, NamesAsLongAsTheFolderAllowsAreReplaced)
{
    Folder dir;
    struct Row {
        const char* name;
        std::string file;
    };
    std::string utf8;  // three-byte characters: a cut must not split one
    while (utf8.size() + 3 <= 250) utf8 += "\xE2\x82\xAC";
    const std::vector<Row> rows = {
        {"250 bytes", std::string(246, 'p') + ".plt"},
        {"255 bytes", std::string(251, 'q') + ".txt"},
        {"249 bytes of three-byte characters", utf8},
    };
    for (const Row& row : rows) {
        const std::string path = dir / row.file;
        ASSERT_TRUE(static_cast<bool>(ReplaceFile(path, "first"))) << row.name;
        ASSERT_TRUE(static_cast<bool>(ReplaceFile(path, "second"))) << row.name;
        EXPECT_EQ(Read(path), "second") << row.name;
        const std::string temp = TemporaryNameFor(path);
        const std::string base = temp.substr(temp.rfind('/') + 1);
        EXPECT_LE(base.size(), 255u) << row.name;
        const std::string kept = base.substr(0, base.rfind(".tmp-"));
        EXPECT_EQ(row.file.rfind(kept, 0), 0u) << row.name << ": the name's beginning";
        if (row.file == utf8) {
            EXPECT_EQ(kept.size() % 3, 0u) << "whole characters";
        }
        EXPECT_EQ(temp.substr(0, temp.rfind('/')), dir.path) << row.name << ": beside the file";
        EXPECT_EQ(dir.Names(), std::set<std::string>{row.file}) << row.name;
        fs::remove(path);
    }
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// The lock of a file that writers replace whole: kept by the process that holds it, given up
// when that process dies however it ends, and passed on to the new file by Replace, so that
// a writer waiting meanwhile gets the file as the holder left it.
TEST(FileHold, HeldByOneProcessAtATimeAndFreedWhenItDies)
{
    Folder dir;
    const std::string path = dir / "VYN.MRW";
    Put(path, "library");
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    if (holder == 0) {
        FileHold h;
        const bool held = h.Hold(path, 0) == FileHold::Held;
        if (::write(ready[1], held ? "h" : "x", 1) != 1) ::_exit(1);
        for (;;) ::pause();
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    ASSERT_EQ(c, 'h');
    FileHold mine;
    EXPECT_EQ(mine.Hold(path, 0), FileHold::Busy);
    EXPECT_EQ(mine.Hold(path, 50), FileHold::Busy) << "waits no longer than asked";
    ::kill(holder, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(holder, &status, 0), holder);
    EXPECT_EQ(mine.Hold(path, 0), FileHold::Held) << "a dead holder keeps nothing";
    std::string content;
    EXPECT_TRUE(mine.Read(content));
    EXPECT_EQ(content, "library");
    FileHold none;
    EXPECT_EQ(none.Hold(dir / "missing", 0), FileHold::Missing);
    // What is no plain file under a library's name is refused.
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0644), 0);
    EXPECT_EQ(none.Hold(dir / "pipe", 0), FileHold::Failed);
    EXPECT_EQ(none.Error(), EINVAL);
    EXPECT_EQ(none.Hold(dir.path, 0), FileHold::Failed);
    EXPECT_EQ(none.Error(), EISDIR);
    ::close(ready[0]);
    ::close(ready[1]);
}

TEST(FileHold, AWriterThatWaitedGetsTheReplacedFileAsItsHolderLeftIt)
{
    Folder dir;
    const std::string path = dir / "VYN.MTW";
    Put(path, "old");
    FileHold mine;
    ASSERT_EQ(mine.Hold(path, 0), FileHold::Held);
    int started[2], seen[2];
    ASSERT_EQ(::pipe(started), 0);
    ASSERT_EQ(::pipe(seen), 0);
    const pid_t waiter = ::fork();
    if (waiter == 0) {
        if (::write(started[1], "s", 1) != 1) ::_exit(1);
        FileHold h;
        std::string content;
        if (h.Hold(path, 10000) != FileHold::Held || !h.Read(content)) content = "(not held)";
        const bool ok = ::write(seen[1], content.data(), content.size()) == static_cast<ssize_t>(content.size());
        ::_exit(ok ? 0 : 1);
    }
    char c = 0;
    ASSERT_EQ(::read(started[0], &c, 1), 1);
    ASSERT_TRUE(static_cast<bool>(mine.Replace("new")));
    EXPECT_TRUE(mine.Current()) << "the new file is the one held";
    // Still held after the replace: the waiter sees what is written now too.
    ASSERT_EQ(::pwrite(mine.Fd(), " and more", 9, 3), 9);
    mine.Release();
    int status = 0;
    ASSERT_EQ(::waitpid(waiter, &status, 0), waiter);
    char buf[64] = {};
    const ssize_t n = ::read(seen[0], buf, sizeof buf - 1);
    EXPECT_EQ(std::string(buf, n > 0 ? static_cast<std::size_t>(n) : 0), "new and more");
    EXPECT_EQ(dir.Names(), std::set<std::string>{"VYN.MTW"}) << "no temporary file left";
    for (int fd : {started[0], started[1], seen[0], seen[1]}) ::close(fd);

    // A writer that ignores the lock and puts another file in place: the holder can tell.
    ASSERT_EQ(mine.Hold(path, 0), FileHold::Held);
    ASSERT_TRUE(static_cast<bool>(ReplaceFile(path, "by a writer that takes no lock")));
    EXPECT_FALSE(mine.Current());
}

}  // namespace
}  // namespace vyn
