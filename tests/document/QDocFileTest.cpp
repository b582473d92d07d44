#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <dirent.h>
#include <unistd.h>

#include "QDocTestUtil.h"
#include "document/LineReader.h"
#include "document/NewPlate.h"
#include "document/PlateFile.h"
#include "platform/core/AtomicFile.h"

namespace vyn {
namespace {

using test::Heard;
using test::W;

const std::string kDemoPlate = std::string(VYN_SOURCE_DIR) + "/resources/demo/Demo.plt";
const std::string kDemoLibrary = std::string(VYN_SOURCE_DIR) + "/resources/demo/VYN.MTW";

// A scratch folder, emptied and removed when the test ends.
struct TempDir {
    TempDir()
    {
        char name[] = "/tmp/vyn_qdoc_XXXXXX";
        path = ::mkdtemp(name) ? name : "";
    }
    ~TempDir()
    {
        for (const std::string& f : Files()) ::unlink((path + "/" + f).c_str());
        ::rmdir(path.c_str());
    }
    std::vector<std::string> Files() const
    {
        std::vector<std::string> names;
        if (DIR* d = ::opendir(path.c_str())) {
            while (dirent* e = ::readdir(d)) {
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
            }
            ::closedir(d);
        }
        return names;
    }
    std::string path;
};

std::unique_ptr<QDoc> Open(const std::string& path)
{
    auto doc = std::make_unique<QDoc>();
    doc->SetDocPath(path);
    if (!doc->InitDoc()) return nullptr;
    return doc;
}

std::string Block(QDoc& doc)
{
    std::string block;
    RenderPlateBlock(doc.GetPlate(), pwPlate, block);
    return block;
}

struct Messages : ::testing::Test {
    void SetUp() override { ClearLastDocMessage(); }
};

using QDocFile = Messages;

// Blank 0.05 subtracted, the standards on the line 0.005 per ng/ml through the origin, each
// sample's replicates 0.01 either side of its signal: the concentrations are the signals'
// means divided by 0.005, worked out by hand.
TEST_F(QDocFile, TheDemoPlateEvaluatesToHandComputedResults)
{
    auto doc = Open(kDemoPlate);
    ASSERT_TRUE(doc) << LastDocMessage();
    EXPECT_FALSE(doc->IsDirty());
    QPlate& p = doc->GetPlate();
    ASSERT_EQ(p.sampleCount, 4);
    EXPECT_EQ(p.measuredCount, 22);
    EXPECT_EQ(doc->CalculatePlate(), 1);
    EXPECT_NEAR(p.blankValue.Number(), 0.05, 1e-15);
    ASSERT_EQ(p.calibr.state, csValid) << p.calibr.message;
    const struct {
        double conc;
        double high;
    } expected[] = {{30, 0}, {60, 1}, {100, 1}, {150, 1}};
    for (int i = 0; i < 4; ++i) {
        const QSample* s = p.GetSample(i);
        ASSERT_EQ(s->ResultCount(), 2) << "sample " << i;
        EXPECT_NEAR(s->results[0].Number(), expected[i].conc, 1e-9) << "sample " << i;
        EXPECT_EQ(s->results[1].Number(), expected[i].high) << "sample " << i;
        EXPECT_EQ(s->resultState, rsCalculated) << "sample " << i;
    }
    EXPECT_NEAR(p.calculations.results[0].Number(), 0.05, 1e-15);
    EXPECT_EQ(p.validity, pvValid);
}

TEST_F(QDocFile, ASavedPlateReadsBackEqual)
{
    TempDir dir;
    auto doc = Open(kDemoPlate);
    ASSERT_TRUE(doc);
    doc->CalculatePlate();
    doc->SetSampleName("Patient 1", 0);
    const std::string path = dir.path + "/copy.plt";
    doc->SetDocPath(path);
    ASSERT_TRUE(doc->Commit()) << LastDocMessage();
    EXPECT_FALSE(doc->IsDirty());
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"copy.plt"})) << "no temporary file left";

    auto again = Open(path);
    ASSERT_TRUE(again) << LastDocMessage();
    EXPECT_EQ(Block(*again), Block(*doc));
    EXPECT_EQ(again->GetPlate().GetSample(0)->ident, "Patient 1");
    EXPECT_EQ(again->GetPlate().measureTime, doc->GetPlate().measureTime);
    again->CalculatePlate();
    EXPECT_NEAR(again->GetPlate().GetSample(3)->results[0].Number(), 150.0, 1e-9);
}

TEST_F(QDocFile, SavingWithoutAPathDoesNothing)
{
    QDoc doc;
    doc.SetDirty();
    EXPECT_FALSE(doc.Commit());
    EXPECT_TRUE(doc.IsDirty());
    EXPECT_EQ(LastDocMessage(), "");
}

TEST_F(QDocFile, AFailedWriteKeepsTheOldFile)
{
    TempDir dir;
    const std::string path = dir.path + "/plate.plt";
    std::string original;
    ASSERT_TRUE(ReadWholeFile(kDemoPlate, original));
    ASSERT_TRUE(WriteFileAtomic(path, original));
    auto doc = Open(path);
    ASSERT_TRUE(doc);
    doc->SetSampleName("changed", 1);

    // The disk fails at each step of the save in turn, as a full or broken disk would.
    struct Row {
        FileStep step;
        const char* message;
    };
    const Row rows[] = {
        {FileStep::Open, "Cannot create file."},   {FileStep::Write, "Error writing file."},
        {FileStep::Sync, "Error writing file."},   {FileStep::Close, "Cannot close file."},
        {FileStep::Rename, "Error writing file."},
    };
    for (const Row& r : rows) {
        ClearLastDocMessage();
        bool saved = true;
        {
            FileFault fault(r.step, 1, ENOSPC);
            saved = doc->Commit();
        }
        EXPECT_FALSE(saved) << r.message;
        EXPECT_EQ(LastDocMessage(), r.message);
        EXPECT_TRUE(doc->IsDirty()) << r.message;
        std::string now;
        ASSERT_TRUE(ReadWholeFile(path, now));
        EXPECT_EQ(now, original) << "the old file is whole: " << r.message;
        EXPECT_EQ(dir.Files(), (std::vector<std::string>{"plate.plt"})) << "no temporary file left: " << r.message;
    }

    // A file-size limit makes every write past 200 bytes fail, as a full disk does.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 200;
    ::setrlimit(RLIMIT_FSIZE, &small);
    const bool saved_ok = doc->Commit();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(saved_ok);
    EXPECT_EQ(LastDocMessage(), "Error writing file.");
    std::string now;
    ASSERT_TRUE(ReadWholeFile(path, now));
    EXPECT_EQ(now, original) << "the old file is whole";
    EXPECT_EQ(dir.Files(), (std::vector<std::string>{"plate.plt"})) << "no temporary file left";

    EXPECT_TRUE(doc->Commit()) << "with room again the save goes through";
    ASSERT_TRUE(ReadWholeFile(path, now));
    EXPECT_NE(now.find("'changed'"), std::string::npos);
}

TEST_F(QDocFile, OpeningFailuresShowTheirMessage)
{
    TempDir dir;
    const struct {
        const char* name;
        const char* content;  // nullptr: no file at all
        const char* message;
    } rows[] = {
        {"no such file", nullptr, "Cannot open file."},
        {"an empty line", "MNAM 'x';'';\r\n\r\nQEND \r\n", "Unexpected file structure."},
        {"a bad descriptor", "MNAM 'x';'';\r\nDESC ZZ;a;1;\r\nQEND \r\n", "Wrong item description."},
    };
    for (const auto& r : rows) {
        const std::string path = dir.path + "/bad.plt";
        ::unlink(path.c_str());
        if (r.content) {
            ASSERT_TRUE(WriteFileAtomic(path, r.content)) << r.name;
        }
        ClearLastDocMessage();
        EXPECT_EQ(Open(path), nullptr) << r.name;
        EXPECT_EQ(LastDocMessage(), r.message) << r.name;
    }
}

TEST_F(QDocFile, RevertReadsTheFileAgain)
{
    TempDir dir;
    const std::string path = dir.path + "/plate.plt";
    std::string original;
    ASSERT_TRUE(ReadWholeFile(kDemoPlate, original));
    ASSERT_TRUE(WriteFileAtomic(path, original));
    auto doc = Open(path);
    ASSERT_TRUE(doc);
    auto* view = new test::RecordingView(*doc);
    const QPlate* plate = &doc->GetPlate();
    const std::string before = Block(*doc);
    std::vector<unsigned char> all(96, 1);
    doc->ClearSelectedWells(all);
    ASSERT_EQ(doc->GetPlate().sampleCount, 0);
    view->heard.clear();

    EXPECT_TRUE(doc->Revert());
    EXPECT_FALSE(doc->IsDirty());
    EXPECT_EQ(&doc->GetPlate(), plate) << "views keep their pointer to the plate";
    EXPECT_EQ(Block(*doc), before);
    EXPECT_EQ(view->heard, (std::vector<Heard>{{vnPlateChanged, 0}}));
    EXPECT_TRUE(doc->GetPlate().rst.WellChanged(95));

    // A file that has gone leaves the plate as it is, and the document dirty.
    doc->SetSampleName("kept", 0);
    ::unlink(path.c_str());
    EXPECT_FALSE(doc->Revert());
    EXPECT_EQ(LastDocMessage(), "Cannot open file.");
    EXPECT_EQ(doc->GetPlate().GetSample(0)->ident, "kept");
    EXPECT_TRUE(doc->IsDirty());
}

TEST_F(QDocFile, ANewPlateComesFromTheChosenMethodAndRevertsToIt)
{
    std::string library;
    ASSERT_TRUE(ReadWholeFile(kDemoLibrary, library));
    gPlateLineReader.OpenMemory(library);  // positioned at the first method
    gSeqSampleLimit = 2;
    QDoc doc;
    ASSERT_TRUE(doc.InitDoc()) << LastDocMessage();
    gPlateLineReader.Close();
    gSeqSampleLimit = -1;
    EXPECT_EQ(doc.GetPlate().methodName, "Demo Linear");
    EXPECT_EQ(doc.GetPlate().sampleCount, 2) << "the first two sequential samples";
    const std::string fresh = Block(doc);

    doc.PlaceNewSampleAt(doc.GetPlate().descs[2].get(), W("H1"), W("H4"), false, arSingle);
    EXPECT_TRUE(doc.IsDirty());
    EXPECT_TRUE(doc.Revert());
    EXPECT_EQ(Block(doc), fresh);
    EXPECT_FALSE(doc.IsDirty());

    // After "Empty" the reader stays closed: the new plate has an empty method.
    QDoc empty;
    EXPECT_TRUE(empty.InitDoc());
    EXPECT_EQ(empty.GetPlate().methodName, "");
    EXPECT_EQ(empty.GetPlate().sampleCount, 0);
}

}  // namespace
}  // namespace vyn
