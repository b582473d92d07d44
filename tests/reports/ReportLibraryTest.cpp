// The report library: listing, marks, renames, add, replace and compaction, with a write
// failure injected at every step of every rewrite; the former library must stay whole.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include "platform/core/AtomicFile.h"
#include "reports/ByteIO.h"
#include "reports/CRepList.h"

namespace vyn {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct LibDir {
    LibDir()
    {
        char name[] = "/tmp/vyn_replib_XXXXXX";
        dir = ::mkdtemp(name) ? name : "/tmp";
        path = dir + "/VYN.MRW";
    }
    ~LibDir()
    {
        std::remove(path.c_str());
        std::remove((dir + "/VYN.MR~").c_str());
        ::rmdir(dir.c_str());
    }
    Bytes Read() const { return test::ReadAll(path); }
    void Write(const Bytes& b) const { test::WriteAll(path, b); }
    // What the folder holds: a companion or temporary file left behind shows here.
    std::set<std::string> Files() const
    {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    }
    std::string dir, path;
};

void Named(RPReport& r, const std::string& name)
{
    r.SetName(name);
    r.SetDescription("about " + name);
}

// A library of three reports, the second one deleted.
void MakeLibrary(const LibDir& d)
{
    for (const char* n : {"one", "two", "three"}) {
        CRepList list(d.path);
        list.Open(false);
        RPReport r;
        Named(r, n);
        ASSERT_EQ(list.Append(r), 0);
    }
    CRepList list(d.path);
    ASSERT_EQ(list.Open(false), 0);
    list.ToggleMark(1);
    ASSERT_EQ(list.Commit(), 1);
}

std::vector<std::string> Names(const std::string& path, bool deleted)
{
    CRepList list(path);
    list.Open(deleted);
    std::vector<std::string> v;
    for (int i = 0; i < list.Count(); ++i) v.push_back(list.GetDescr(i).name + (list.GetDescr(i).deleted ? "*" : ""));
    return v;
}

TEST(ReportLibrary, MissingLibraryIsCreatedByTheFirstAppend)
{
    LibDir d;
    CRepList list(d.path);
    EXPECT_EQ(list.Open(false), 0);
    EXPECT_EQ(list.status, lsMissing);
    RPReport r;
    Named(r, "first");
    ASSERT_EQ(list.Append(r), 0);
    const Bytes b = d.Read();
    EXPECT_EQ(b.size(), 64 + 64 + r.WriteStream().size() + 64);
    EXPECT_EQ(GetU32(b.data() + 12), 1u);
    EXPECT_EQ(GetU32(b.data() + 16), b.size() - 64);
}

TEST(ReportLibrary, MarksRenamesReplaceAndConsolidate)
{
    LibDir d;
    MakeLibrary(d);
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{"one", "two*", "three"}));
    {
        CRepList list(d.path);
        list.Open(false);
        EXPECT_EQ(list.skippedCount, 1);
        EXPECT_EQ(list.Count(), 2);
        list.ToggleMark(0);
        list.ToggleMark(0);
        EXPECT_EQ(list.pendingCount, 0);
        EXPECT_EQ(list.Commit(), 0) << "marking twice writes nothing";
        EXPECT_TRUE(list.SetStrings(1, std::string(50, 'x'), "new"));
        EXPECT_FALSE(list.SetStrings(1, std::string(50, 'x'), "new"));
        EXPECT_TRUE(list.RevertEntry(1));
        EXPECT_EQ(list.GetDescr(1).name, "three");
        list.SetStrings(1, std::string(50, 'x'), "new");
        EXPECT_EQ(list.Commit(), 1);
    }
    EXPECT_EQ(Names(d.path, false), (std::vector<std::string>{"one", std::string(42, 'x')}));
    {
        CRepList list(d.path);
        list.Open(false);
        RPReport r;
        Named(r, "one again");
        ASSERT_EQ(list.Replace(r, 0), 0);
    }
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{"one*", "two*", std::string(42, 'x'), "one again"}));
    {
        CRepList list(d.path);
        list.Open(true);
        ASSERT_EQ(list.Consolidate(), 0);
    }
    const Bytes b = d.Read();
    EXPECT_EQ(GetU32(b.data() + 12), 2u);
    EXPECT_EQ(GetU32(b.data() + GetU32(b.data() + 16)), 0u) << "end offset points at the terminator";
    EXPECT_EQ(GetU32(b.data() + 16) + 64, b.size());
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{std::string(42, 'x'), "one again"}));
    CRepList list(d.path);
    list.Open(false);
    RPReport back;
    ASSERT_EQ(list.ReadReport(1, back), 0);
    EXPECT_EQ(back.Description(), "about one again");
}

TEST(ReportLibrary, FailedWritesLeaveTheOldLibraryWhole)
{
    struct Op {
        const char* name;
        int (*run)(CRepList&);
    };
    const std::vector<Op> ops = {
        {"append", [](CRepList& l) { RPReport r; test::BuildRichReport(r); return l.Append(r); }},
        {"replace", [](CRepList& l) { RPReport r; Named(r, "new"); return l.Replace(r, 0); }},
        {"delete mark", [](CRepList& l) { l.ToggleMark(0); return l.Commit() == 1 ? 0 : -1; }},
        {"rename", [](CRepList& l) { l.SetStrings(1, "renamed", "d"); return l.Commit() == 1 ? 0 : -1; }},
        {"consolidate", [](CRepList& l) { return l.Consolidate(); }},
    };
    for (const Op& op : ops) {
        LibDir d;
        MakeLibrary(d);
        const Bytes before = d.Read();
        int failures = 0;
        // Each step of the disk fails in turn until the change gets through.
        for (int failAt = 1;; ++failAt) {
            CRepList list(d.path);
            ASSERT_EQ(list.Open(true), 0) << op.name;
            int rc = 0;
            {
                FileFault fault(FileStep::None, failAt);
                rc = op.run(list);
            }
            if (rc == 0) break;
            ++failures;
            EXPECT_EQ(d.Read(), before) << op.name << " failing at step " << failAt;
            EXPECT_EQ(d.Files(), std::set<std::string>{"VYN.MRW"}) << op.name << " failing at step " << failAt;
            ASSERT_LT(failAt, 50) << op.name;
        }
        EXPECT_GE(failures, 1) << op.name;
        EXPECT_NE(d.Read(), before) << op.name << " finally succeeds";
    }
}

TEST(ReportLibrary, HostileLibraries)
{
    LibDir d;
    MakeLibrary(d);
    const Bytes good = d.Read();
    struct Row {
        const char* name;
        void (*apply)(Bytes&);
        int status;
    };
    const std::vector<Row> rows = {
        {"bad magic", [](Bytes& b) { b[0] = 'X'; }, lsBadFile},
        {"version 0x20000", [](Bytes& b) { PutU32(b.data() + 4, 0x20000); }, lsBadFile},
        {"count 1025", [](Bytes& b) { PutU32(b.data() + 12, 1025); }, lsBadFile},
        {"count past the entries", [](Bytes& b) { PutU32(b.data() + 12, 4); }, lsBadFile},
        {"truncated header", [](Bytes& b) { b.resize(30); }, lsBadFile},
        {"truncated entry", [](Bytes& b) { b.resize(200); }, lsBadFile},
        {"first entry past the end", [](Bytes& b) { PutU32(b.data() + 8, 0x7FFFFFF0); }, lsBadFile},
        {"entry size 0", [](Bytes& b) { PutU32(b.data() + 64, 0); }, lsBadFile},
        // Found by fuzzing: an entry no longer than its own header took its report's name from
        // the next entry, and renaming it wrote into that entry.
        {"entry without room for its report", [](Bytes& b) { PutU32(b.data() + 64, 64); }, lsBadFile},
        {"entry size past the end", [](Bytes& b) { PutU32(b.data() + 64, 0x7FFFFFF0); }, lsBadFile},
        {"name not terminated", [](Bytes& b) { b[64 + 64 + 66] = 'z'; }, lsBadFile},
        {"untouched", [](Bytes&) {}, lsOpen},
    };
    for (const Row& row : rows) {
        Bytes b = good;
        row.apply(b);
        d.Write(b);
        CRepList list(d.path);
        list.Open(true);
        EXPECT_EQ(list.status, row.status) << row.name;
    }
}

// Found by fuzzing: a header that counts fewer entries than the library holds lists only
// those, and consolidating must not bring the unlisted ones back nor drop them: it refuses.
TEST(ReportLibrary, ConsolidateRefusesAHeaderThatUndercountsItsEntries)
{
    LibDir d;
    MakeLibrary(d);
    Bytes b = d.Read();
    PutU32(b.data() + 12, 2);
    d.Write(b);
    CRepList list(d.path);
    ASSERT_EQ(list.Open(true), 0);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Consolidate(), -1);
    EXPECT_EQ(d.Read(), b);
}

TEST(ReportLibrary, LibraryHeldByAnotherWriterIsRefused)
{
    LibDir d;
    MakeLibrary(d);
    const int fd = ::open(d.path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    CRepList list(d.path);
    EXPECT_EQ(list.Open(false), -1);
    EXPECT_EQ(list.status, lsShared);
    ::close(fd);
}

// A link planted under the companion's name is never written through; a library that is a
// link stays one, and the file it names gets the change.
TEST(ReportLibrary, RewritesNeverFollowAPlantedCompanionAndWriteThroughALinkedLibrary)
{
    LibDir d;
    MakeLibrary(d);
    const std::string victim = d.dir + "/victim";
    test::WriteAll(victim, Bytes{'v'});
    ASSERT_EQ(::symlink(victim.c_str(), (d.dir + "/VYN.MR~").c_str()), 0);
    {
        CRepList list(d.path);
        ASSERT_EQ(list.Open(true), 0);
        list.SetStrings(0, "renamed", "d");
        ASSERT_EQ(list.Commit(), 1);
    }
    EXPECT_EQ(test::ReadAll(victim), Bytes{'v'});
    EXPECT_EQ(Names(d.path, false), (std::vector<std::string>{"renamed", "three"}));

    const std::string link = d.dir + "/linked.mrw";
    ASSERT_EQ(::symlink("VYN.MRW", link.c_str()), 0);
    {
        CRepList list(link);
        ASSERT_EQ(list.Open(true), 0);
        ASSERT_EQ(list.Consolidate(), 0);
    }
    EXPECT_TRUE(std::filesystem::is_symlink(link));
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{"renamed", "three"}));
    // Rewrites go through temporary files of their own: the planted name is not even touched.
    EXPECT_EQ(d.Files(), (std::set<std::string>{"VYN.MRW", "VYN.MR~", "linked.mrw", "victim"}));
    std::remove(link.c_str());
    std::remove(victim.c_str());
}

// Append adds only to a library this list holds open; a library it never opened, could not
// read or finds held by another writer stays byte for byte as it was.
TEST(ReportLibrary, AppendNeverReplacesALibraryItDidNotOpen)
{
    struct Row {
        const char* name;
        void (*prepare)(const LibDir&, CRepList&);
    };
    const std::vector<Row> rows = {
        {"never opened", [](const LibDir&, CRepList&) {}},
        {"newer version",
         [](const LibDir& d, CRepList& l) {
             Bytes b = d.Read();
             PutU32(b.data() + 4, 0x20000);
             d.Write(b);
             EXPECT_EQ(l.Open(false), -1);
             EXPECT_EQ(l.status, lsBadFile);
         }},
        {"closed after open", [](const LibDir&, CRepList& l) {
             l.Open(false);
             l.Close();
         }},
    };
    for (const Row& row : rows) {
        LibDir d;
        MakeLibrary(d);
        CRepList list(d.path);
        row.prepare(d, list);
        const Bytes before = d.Read();
        RPReport r;
        Named(r, "intruder");
        EXPECT_EQ(list.Append(r), -1) << row.name;
        EXPECT_EQ(d.Read(), before) << row.name;
    }
    // Held by another writer: this list cannot open it, and its append must not go round it.
    LibDir d;
    MakeLibrary(d);
    const Bytes before = d.Read();
    const int fd = ::open(d.path.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    CRepList list(d.path);
    EXPECT_EQ(list.Open(false), -1);
    RPReport r;
    Named(r, "intruder");
    EXPECT_EQ(list.Append(r), -1);
    ::close(fd);
    EXPECT_EQ(d.Read(), before);
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{"one", "two*", "three"}));
}

}  // namespace
}  // namespace vyn

namespace vyn {
namespace {

// Another writer whose lock does not reach this list (a shared drive that passes no locks on)
// stores a report and puts its library in place while the list is open.
void StoreBehindTheList(const LibDir& d, const std::string& name)
{
    const std::string copy = d.path + ".other";
    test::WriteAll(copy, d.Read());
    {
        CRepList other(copy);
        ASSERT_EQ(other.Open(false), 0);
        RPReport r;
        Named(r, name);
        ASSERT_EQ(other.Append(r), 0);
    }
    ASSERT_EQ(std::rename(copy.c_str(), d.path.c_str()), 0);
}

// Every change of an open list meets a library another writer changed: one that rests on what
// the list shows (marks, names, the entry replaced, what compaction drops) writes nothing and
// reads the list again, the marks and names kept on the reports still there; a new report is
// added to the library as it is now. Nothing the other writer stored is lost.
TEST(ReportLibrary, ChangesMeetALibraryAnotherWriterChanged)
{
    struct Row {
        const char* name;
        int (*change)(CRepList&);
        int answer;
        std::vector<std::string> listedAfter;  // with deleted entries: Open(true)
        std::vector<std::string> after;
    };
    const std::vector<Row> rows = {
        {"confirm",
         [](CRepList& l) {
             l.ToggleMark(0);
             l.SetStrings(2, "renamed", "d");
             return l.Commit();
         },
         CRepList::kListChanged, {"one*", "two*", "renamed", "other"}, {"one", "two*", "three", "other"}},
        {"replace",
         [](CRepList& l) {
             RPReport r;
             Named(r, "new three");
             return l.Replace(r, 1);
         },
         CRepList::kListChanged, {"one", "two*", "three", "other"}, {"one", "two*", "three", "other"}},
        {"consolidate", [](CRepList& l) { return l.Consolidate(); }, CRepList::kListChanged,
         {"one", "two*", "three", "other"}, {"one", "two*", "three", "other"}},
        {"append",
         [](CRepList& l) {
             RPReport r;
             Named(r, "four");
             return l.Append(r);
         },
         0, {}, {"one", "two*", "three", "other", "four"}},
    };
    for (const Row& row : rows) {
        LibDir d;
        MakeLibrary(d);
        CRepList list(d.path);
        ASSERT_EQ(list.Open(true), 0) << row.name;
        StoreBehindTheList(d, "other");
        EXPECT_EQ(row.change(list), row.answer) << row.name;
        std::vector<std::string> listed;
        for (int i = 0; i < list.Count(); ++i)
            listed.push_back(list.GetDescr(i).name + (list.GetDescr(i).deleted ? "*" : ""));
        EXPECT_EQ(listed, row.listedAfter) << row.name;
        list.Close();  // the library opens to nobody else while this list holds it
        EXPECT_EQ(Names(d.path, true), row.after) << row.name;
    }
    // Confirmed again on the list as it is now, the marks and names go through.
    LibDir d;
    MakeLibrary(d);
    CRepList list(d.path);
    ASSERT_EQ(list.Open(true), 0);
    StoreBehindTheList(d, "other");
    EXPECT_EQ(rows[0].change(list), CRepList::kListChanged);
    EXPECT_EQ(list.Commit(), 1);
    list.Close();
    EXPECT_EQ(Names(d.path, true), (std::vector<std::string>{"one*", "two*", "renamed", "other"}));
}

}  // namespace
}  // namespace vyn
