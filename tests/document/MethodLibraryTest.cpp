// The method library in a scratch folder: listing, selecting with a limit, adding, changing,
// deleting and restoring, renaming and the rewrite, and failures at every write.
#include <gtest/gtest.h>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "PlateFileSupport.h"
#include "document/MethodPaths.h"
#include "document/NewPlate.h"
#include "document/QMetod.h"
#include "platform/core/AtomicFile.h"
#include "platform/core/StringTable.h"

namespace vyn {
namespace {

using test::ReadFileBytes;

class MethodLibrary : public ::testing::Test {
protected:
    void SetUp() override
    {
        char name[] = "/tmp/vyn_mtw_XXXXXX";
        ASSERT_NE(::mkdtemp(name), nullptr);
        dir_ = name;
        SetSysFilesDir(dir_);
        gLastMethodOffset = -1;
    }
    void TearDown() override
    {
        SetSysFilesDir("");
        std::filesystem::remove_all(dir_);
    }

    std::string Library() const { return ReadFileBytes(GetMtwFilePath()); }
    void WriteLibrary(const std::string& bytes) const
    {
        std::ofstream(GetMtwFilePath(), std::ios::binary) << bytes;
    }

    // A method with one fixed and seq sequential qualitative samples.
    static void SmallMethod(QPlate& p, int seq, const std::string& calc = "A1 * 2")
    {
        QDesc* smp = test::Desc(p, 0x02, "Smp", TColor(0, 0, 0), "");
        p.calculations.definitions = {{"f", calc}};
        for (int k = 0; k <= seq; ++k) {
            auto s = std::make_unique<QQSample>(&p);
            s->ident = "S" + std::to_string(k);
            s->AddWellEntry(QSegm{0, k, smp});
            QQSample* sp = s.get();
            p.InsertSample(std::move(s), k, k == 0);
            sp->LinkWells();
        }
    }

    // Adds a small method; answers AddMethod's result.
    int Add(QMetod& lib, const std::string& name, int seq, int replace = -1)
    {
        QPlate p;
        SmallMethod(p, seq, "A1 * " + std::to_string(seq));
        return lib.AddMethod(p, name, name + " comment", replace);
    }

    std::string dir_;
};

std::vector<std::string> Names(const QMetod& lib)
{
    std::vector<std::string> names;
    for (const QMethodEntry& e : lib.Entries()) names.push_back(e.name);
    return names;
}

TEST_F(MethodLibrary, FirstAddCreatesTheLibrary)
{
    QMetod lib;
    EXPECT_EQ(lib.List(), mlNoFile);
    EXPECT_EQ(lib.ListStateText(), "No method defined yet.");
    EXPECT_EQ(lib.EntryCount(), 0);

    QPlate rich;
    test::BuildRichPlate(rich);
    ASSERT_EQ(lib.AddMethod(rich, "Hepatitis", "with \xC3\xBC"), 0) << lib.LastMessage();
    EXPECT_EQ(gLastMethodOffset, 0);
    ASSERT_EQ(lib.GetListState(), mlRead);
    ASSERT_EQ(lib.EntryCount(), 1);
    const QMethodEntry& e = lib.Entries()[0];
    EXPECT_EQ(e.offset, 0);
    EXPECT_EQ(e.name, "Hepatitis");
    EXPECT_EQ(e.comment, "with \xC3\xBC");
    EXPECT_EQ(e.seqCount, 5);
    EXPECT_EQ(lib.PreselectedEntry(), 0);
    EXPECT_EQ(Library().find("TMEA"), std::string::npos) << "library blocks carry no measurement";
}

TEST_F(MethodLibrary, SelectOpensTheMethodForANewPlate)
{
    QMetod lib;
    ASSERT_EQ(Add(lib, "First", 2), 0);
    QPlate rich;
    test::BuildRichPlate(rich);
    ASSERT_EQ(lib.AddMethod(rich, "Rich", ""), 0);
    ASSERT_EQ(lib.EntryCount(), 2);
    gLastMethodOffset = -1;

    struct Row {
        int typed;
        int limit;
        int samples;
    };
    // Two fixed samples and five sequential ones; a typed limit is kept within 0 .. 5.
    for (Row row : {Row{3, 3, 5}, Row{-4, 0, 2}, Row{99, 5, 7}}) {
        int limit = 77;
        ASSERT_EQ(lib.SelectMethod(1, row.typed, gPlateLineReader, &limit), 1) << row.typed;
        EXPECT_EQ(limit, row.limit) << row.typed;
        gSeqSampleLimit = limit;
        QPlate p;
        int message = 0;
        EXPECT_TRUE(InitNewPlateFromMethod(p, &message)) << message;
        EXPECT_EQ(p.methodName, "Rich");
        EXPECT_EQ(p.sampleCount, row.samples) << "typed " << row.typed;
        EXPECT_EQ(p.fixedCount, 2);
        gPlateLineReader.Close();
    }
    gSeqSampleLimit = -1;
    EXPECT_EQ(gLastMethodOffset, lib.Entries()[1].offset);

    // The same method twice gives equal plates.
    std::string first, second;
    for (std::string* out : {&first, &second}) {
        int limit = 0;
        ASSERT_EQ(lib.SelectMethod(0, 9, gPlateLineReader, &limit), 1);
        QPlate p;
        ASSERT_TRUE(InitNewPlateFromMethod(p, gPlateLineReader, limit));
        gPlateLineReader.Close();
        *out = test::WriteBlock(p, pwMethod);
    }
    EXPECT_EQ(first, second);
    EXPECT_NE(first.find("'First'"), std::string::npos);

    // "Empty": no method; a reader closed after use meets the end and gives an empty plate.
    int limit = 0;
    EXPECT_EQ(QMetod::SelectEmpty(gPlateLineReader, &limit), 2);
    EXPECT_EQ(limit, -1);
    QPlate empty;
    EXPECT_TRUE(InitNewPlateFromMethod(empty, gPlateLineReader, limit));
    EXPECT_EQ(empty.sampleCount, 0);
    EXPECT_TRUE(empty.methodName.empty());

    // A reader never opened fails with "Cannot read file.".
    LineReader never;
    int message = 0;
    EXPECT_FALSE(InitNewPlateFromMethod(empty, never, -1, &message));
    EXPECT_EQ(message, 3101);
}

TEST(MethodLimit, SteppedLimitsStayWithinTheCount)
{
    struct Row {
        const char* text;
        int up;       // StepLimit +1
        int down;     // StepLimit -1
    };
    const Row rows[] = {
        {"", 5, 4},   {"3", 4, 2},    {"-4", 0, 0},   {"0", 1, 0},
        {"5", 5, 4},  {"99", 5, 5},   {"2abc", 3, 1}, {"x", 5, 4},
        {"99999999999999999999", 5, 5},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(QMetod::StepLimit(r.text, +1, 5), r.up) << '"' << r.text << '"';
        EXPECT_EQ(QMetod::StepLimit(r.text, -1, 5), r.down) << '"' << r.text << '"';
    }
}

TEST_F(MethodLibrary, ChangeAppendsTheNewVersionAndRetiresTheOld)
{
    QMetod lib;
    ASSERT_EQ(Add(lib, "A", 1), 0);
    ASSERT_EQ(Add(lib, "B", 2), 0);
    const long oldOffset = lib.Entries()[0].offset;
    ASSERT_EQ(Add(lib, "A2", 3, 0), 0) << lib.LastMessage();

    EXPECT_EQ(Library().substr(static_cast<std::size_t>(oldOffset), 4), "MNAD");
    EXPECT_EQ(Names(lib), (std::vector<std::string>{"B", "A2"}));
    EXPECT_EQ(lib.Entries()[1].seqCount, 3);
    EXPECT_EQ(gLastMethodOffset, lib.Entries()[1].offset);
    EXPECT_EQ(lib.PreselectedEntry(), 1);
}

TEST_F(MethodLibrary, MarkRenameAndRewrite)
{
    QMetod lib;
    ASSERT_EQ(Add(lib, "One", 1), 0);
    ASSERT_EQ(Add(lib, "Two", 2), 0);
    ASSERT_EQ(Add(lib, "Old three", 3), 0);
    ASSERT_EQ(Add(lib, "Three", 3, 2), 0);  // leaves an MNAD block behind
    ASSERT_EQ(Add(lib, "Four", 4), 0);
    ASSERT_EQ(Names(lib), (std::vector<std::string>{"One", "Two", "Three", "Four"}));
    const std::string before = Library();

    // Marking and unmarking again leaves nothing to do.
    EXPECT_TRUE(lib.ToggleMark(1));
    EXPECT_FALSE(lib.ToggleMark(1));
    EXPECT_FALSE(lib.HasChanges());

    EXPECT_TRUE(lib.ToggleMark(1));
    EXPECT_EQ(lib.MarkText(), "+");
    EXPECT_TRUE(lib.Rename(2, "Three renamed with a name long enough to fold the line it is on",
                           "a new comment"));
    EXPECT_TRUE(lib.Rename(3, "Four edited", ""));
    EXPECT_TRUE(lib.ToggleMark(3));
    EXPECT_FALSE(lib.Rename(3, "x", "y")) << "a marked method cannot be renamed";
    EXPECT_EQ(lib.MarkedCount(), 2);
    EXPECT_EQ(lib.EditedCount(), 2);

    ASSERT_EQ(lib.Rewrite(2), 0) << lib.LastMessage();
    EXPECT_EQ(Names(lib), (std::vector<std::string>{
                              "One", "Three renamed with a name long enough to fold the line it is on"}));
    EXPECT_EQ(lib.Entries()[1].comment, "a new comment");
    EXPECT_EQ(lib.Entries()[1].seqCount, 3);
    EXPECT_EQ(gLastMethodOffset, lib.Entries()[1].offset);
    const std::string after = Library();
    EXPECT_EQ(after.find("MNAD"), std::string::npos) << "replaced versions are dropped";
    EXPECT_EQ(after.find("Four"), std::string::npos) << "an edited and marked method is not written";
    // An untouched method is copied byte for byte.
    const std::size_t oneEnd = before.find("QEND \r\n") + 7;
    EXPECT_EQ(after.substr(0, oneEnd), before.substr(0, oneEnd));
    // The renamed method still reads as the same method.
    int limit = 0;
    ASSERT_EQ(lib.SelectMethod(1, 9, gPlateLineReader, &limit), 1);
    QPlate p;
    ASSERT_TRUE(InitNewPlateFromMethod(p, gPlateLineReader, limit));
    gPlateLineReader.Close();
    EXPECT_EQ(p.methodInfo, "a new comment");
    EXPECT_EQ(p.calculations.definitions.at(0).text, "A1 * 3");
    EXPECT_EQ(p.sampleCount, 4);
    EXPECT_FALSE(std::filesystem::exists(GetMtwTempPath()));

    // Deleting the selected method leaves no offset to preselect.
    lib.ToggleMark(0);
    ASSERT_EQ(lib.Rewrite(0), 0);
    EXPECT_EQ(gLastMethodOffset, -1);
    EXPECT_EQ(lib.EntryCount(), 1);
}

TEST_F(MethodLibrary, RewriteNeverFollowsALinkPlantedAsItsCompanionFile)
{
    QMetod lib;
    ASSERT_EQ(Add(lib, "One", 1), 0);
    ASSERT_EQ(Add(lib, "Two", 2), 0);
    const std::string victim = dir_ + "/victim.txt";
    std::ofstream(victim, std::ios::binary) << "someone else's file";
    ASSERT_EQ(::symlink(victim.c_str(), GetMtwTempPath().c_str()), 0);
    lib.ToggleMark(0);
    ASSERT_EQ(lib.Rewrite(-1), 0) << lib.LastMessage();
    EXPECT_EQ(ReadFileBytes(victim), "someone else's file");
    EXPECT_EQ(Names(lib), std::vector<std::string>{"Two"});
    EXPECT_FALSE(std::filesystem::is_symlink(GetMtwFilePath())) << "the library is a file of its own";
}

// A library the user linked to a file elsewhere (a shared folder, another disk) stays a link
// through the rewrite, and the file it names holds the rewritten library.
TEST_F(MethodLibrary, RewriteOfALinkedLibraryReplacesTheFileItNames)
{
    struct Case {
        const char* name;
        std::string folder;   // where the real library lives
        bool relative;        // the link names it relative to the link's folder
    };
    std::vector<Case> cases = {{"a folder beside it, relative link", dir_ + "/shared", true}};
    // Another file system, where the companion file cannot simply be renamed over the target.
    struct stat here{}, shm{};
    if (::stat(dir_.c_str(), &here) == 0 && ::stat("/dev/shm", &shm) == 0 && here.st_dev != shm.st_dev) {
        char name[] = "/dev/shm/vyn_mtw_XXXXXX";
        if (::mkdtemp(name)) cases.push_back({"another file system", name, false});
    }
    for (const Case& c : cases) {
        std::filesystem::create_directories(c.folder);
        const std::string real = c.folder + "/methods.lib";
        std::filesystem::remove(GetMtwFilePath());
        std::filesystem::remove(real);
        ASSERT_EQ(::symlink(c.relative ? "shared/methods.lib" : real.c_str(), GetMtwFilePath().c_str()), 0) << c.name;
        QMetod lib;
        ASSERT_EQ(Add(lib, "One", 1), 0) << c.name;
        ASSERT_EQ(Add(lib, "Two", 2), 0) << c.name;
        lib.ToggleMark(0);
        ASSERT_EQ(lib.Rewrite(1), 0) << c.name << ": " << lib.LastMessage();
        EXPECT_TRUE(std::filesystem::is_symlink(GetMtwFilePath())) << c.name;
        EXPECT_EQ(ReadFileBytes(real).find("'One'"), std::string::npos) << c.name;
        EXPECT_NE(ReadFileBytes(real).find("'Two'"), std::string::npos) << c.name;
        EXPECT_EQ(Names(lib), std::vector<std::string>{"Two"}) << c.name;
        EXPECT_EQ(gLastMethodOffset, 0) << c.name;
        EXPECT_FALSE(std::filesystem::exists(GetMtwTempPath())) << c.name;
        if (!c.relative) std::filesystem::remove_all(c.folder);
    }
}

// A list read before another program deleted a method: the chosen method's remembered place
// now holds the next method. Selecting reads no method from there: the list is read again, the
// choice goes over to where the chosen method now stands, and selecting again reads it.
TEST_F(MethodLibrary, SelectWithAStaleListNeverReadsAnotherMethod)
{
    QMetod lib;
    for (const char* n : {"From A", "From B", "From C"}) ASSERT_EQ(Add(lib, n, 1), 0);
    QMetod other;
    ASSERT_EQ(other.List(), mlRead);
    other.ToggleMark(0);
    ASSERT_EQ(other.Rewrite(-1), 0);

    int limit = 0;
    EXPECT_EQ(lib.SelectMethod(1, 1, gPlateLineReader, &limit), 0);
    EXPECT_EQ(lib.LastMessageId(), kMsgLibraryChanged);
    EXPECT_EQ(Names(lib), (std::vector<std::string>{"From B", "From C"}));
    ASSERT_EQ(lib.ChosenAfterRelist(), 0);
    ASSERT_EQ(lib.SelectMethod(lib.ChosenAfterRelist(), 1, gPlateLineReader, &limit), 1);
    QPlate p;
    int message = 0;
    gSeqSampleLimit = limit;
    EXPECT_TRUE(InitNewPlateFromMethod(p, &message)) << message;
    gSeqSampleLimit = -1;
    gPlateLineReader.Close();
    EXPECT_EQ(p.methodName, "From B");
}

TEST_F(MethodLibrary, MarksShowAtMost31Pluses)
{
    std::string bytes;
    for (int i = 0; i < 33; ++i) bytes += "MNAM 'm" + std::to_string(i) + "';'';\r\nQEND \r\n";
    WriteLibrary(bytes);
    QMetod lib;
    ASSERT_EQ(lib.List(), mlRead);
    for (int i = 0; i < 33; ++i) lib.ToggleMark(i);
    EXPECT_EQ(lib.MarkedCount(), 33);
    EXPECT_EQ(lib.MarkText(), std::string(31, '+'));
}

TEST_F(MethodLibrary, DamagedLibraries)
{
    const std::string good = "MNAM 'a';'';\r\nSMQS 'x';G;1;S;0;\r\nQEND \r\n";
    struct Row {
        const char* name;
        std::string bytes;
        int state;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"MNAM with three fields", "MNAM 'a';'b';'c';\r\nQEND \r\n" + good, mlWrongStructure, {}},
        {"MNAM with a number", "MNAM 'a';5;\r\nQEND \r\n", mlWrongStructure, {}},
        {"last block cut short", good + "MNAM 'b';'';\r\nDESC G;C;0;'';\r\nSMQ", mlRead, {"a"}},
        {"last block cut after its name", good + "MNAM 'b';'';", mlRead, {"a"}},
        {"block cut before the next", "MNAM 'c';'';\r\nDESC G;C;0;'';\r\n" + good, mlRead, {"a"}},
        {"replaced blocks are not listed", "MNAD 'old';'';\r\nQEND \r\n" + good, mlRead, {"a"}},
        {"empty file", "", mlRead, {}},
    };
    for (const Row& row : rows) {
        WriteLibrary(row.bytes);
        QMetod lib;
        EXPECT_EQ(lib.List(), row.state) << row.name;
        EXPECT_EQ(Names(lib), row.names) << row.name;
        if (row.state == mlWrongStructure) {
            EXPECT_EQ(lib.ListStateText(), "Wrong method file structure") << row.name;
        }
    }

    // A method added behind a cut-off block is listed, and the cut block stays out.
    WriteLibrary(good + "MNAM 'b';'';\r\nDESC G;C;0;'';\r\nSMQ");
    QMetod lib;
    ASSERT_EQ(Add(lib, "new", 1), 0) << lib.LastMessage();
    EXPECT_EQ(Names(lib), (std::vector<std::string>{"a", "new"}));
    EXPECT_EQ(lib.Entries()[0].seqCount, 1);
}

// Every write of the library can fail; whichever does, the old library stays whole and lists
// as before.
TEST_F(MethodLibrary, FailedWritesLeaveTheLibraryWhole)
{
    struct Row {
        const char* name;
        FileStep step;  // the disk fails at the nth step of this kind
        int nth;
        int message;
    };
    const Row rows[] = {
        {"add: opening the library", FileStep::Open, 1, 3171},
        {"add: the block", FileStep::Write, 1, 3105},
        {"add: flushing the block", FileStep::Sync, 1, 3105},
        {"add: closing the library", FileStep::Close, 1, 3105},
        {"change: the block", FileStep::Write, 1, 3105},
        {"change: the MNAD mark", FileStep::Write, 2, 3172},
        {"change: flushing the mark", FileStep::Sync, 2, 3172},
        {"rewrite: making the companion file", FileStep::Open, 1, 3174},
        {"rewrite: the companion file", FileStep::Write, 1, 3178},
        {"rewrite: flushing the companion", FileStep::Sync, 1, 3178},
        {"rewrite: closing the companion", FileStep::Close, 1, 3178},
        {"rewrite: the rename", FileStep::Rename, 1, 3176},
    };
    {
        QMetod lib;
        ASSERT_EQ(Add(lib, "One", 1), 0);
        ASSERT_EQ(Add(lib, "Two", 2), 0);
    }
    const std::string before = Library();
    for (const Row& row : rows) {
        QMetod lib;
        ASSERT_EQ(lib.List(), mlRead) << row.name;
        const std::string name(row.name);
        int rc;
        {
            // A full disk at one step, as the rows name it.
            FileFault fault(row.step, row.nth, ENOSPC);
            if (name.rfind("add", 0) == 0) {
                rc = Add(lib, "Three", 3);
            } else if (name.rfind("change", 0) == 0) {
                rc = Add(lib, "One again", 3, 0);
            } else {
                lib.ToggleMark(0);
                lib.Rename(1, "Renamed", "");
                rc = lib.Rewrite(1);
            }
            EXPECT_TRUE(fault.Fired()) << row.name;
        }
        EXPECT_EQ(rc, row.message) << row.name;
        EXPECT_EQ(lib.LastMessage(), GetResString(row.message)) << row.name;
        EXPECT_EQ(Library(), before) << row.name;
        EXPECT_FALSE(std::filesystem::exists(GetMtwTempPath())) << row.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), std::filesystem::directory_iterator()), 1)
            << row.name << ": only the library is left";
        QMetod again;
        EXPECT_EQ(again.List(), mlRead) << row.name;
        EXPECT_EQ(Names(again), (std::vector<std::string>{"One", "Two"})) << row.name;
    }
}

TEST_F(MethodLibrary, UnwritableFoldersLeaveTheLibraryWhole)
{
    QMetod lib;
    ASSERT_EQ(Add(lib, "One", 1), 0);
    const std::string before = Library();

    // The temporary file cannot be created.
    QMetod noTemp(GetMtwFilePath());
    ASSERT_EQ(noTemp.List(), mlRead);
    noTemp.ToggleMark(0);
    {
        FileFault cannot(FileStep::Open, 1, EACCES);
        EXPECT_EQ(noTemp.Rewrite(-1), 3174);
    }
    EXPECT_EQ(Library(), before);

    // The library itself cannot be created.
    QMetod nowhere(dir_ + "/missing/VYN.MTW");
    EXPECT_EQ(nowhere.List(), mlNoFile);
    QPlate p;
    SmallMethod(p, 1);
    EXPECT_EQ(nowhere.AddMethod(p, "x", ""), 3171);
    EXPECT_EQ(nowhere.LastMessage(), "Cannot create/open file !");
}

}  // namespace
}  // namespace vyn
