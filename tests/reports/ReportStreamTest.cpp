// The report stream and the report file: byte-exact round trips and a table of damaged input,
// each refused with its message.
#include <gtest/gtest.h>

#include <filesystem>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ReportFixtures.h"
#include <unistd.h>

#include "document/DocShell.h"
#include "platform/core/AtomicFile.h"
#include "reports/ByteIO.h"
#include "reports/QRepDoc.h"

namespace vyn {
namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(ReportStream, EmptyReportLayout)
{
    RPReport r;
    r.SetName(std::string(50, 'n'));
    const Bytes s = r.WriteStream();
    ASSERT_EQ(s.size(), 500u);
    EXPECT_EQ(GetU32(s.data() + 4), 500u);
    EXPECT_EQ(GetU32(s.data() + 148), 5u);
    EXPECT_EQ(GetU32(s.data() + 152), 80u);
    EXPECT_EQ(GetU16(s.data() + 22), 42u) << "a 50-character name is stored cut to 42";
    EXPECT_EQ(GetU32(s.data() + 196 + 56 * 2), 80u) << "detail record";
}

TEST(ReportStream, RichReportWriteReadWriteIsByteIdentical)
{
    RPReport r;
    test::BuildRichReport(r);
    const Bytes first = r.WriteStream();
    RPReport back;
    ASSERT_EQ(back.ReadStream(first.data(), first.size()), 0);
    const Bytes second = back.WriteStream();
    EXPECT_EQ(first, second);
    // A few values that would be lost silently by a wrong field order.
    EXPECT_EQ(back.Name(), "Rich report");
    EXPECT_EQ(back.GridY().Divisions(), 12);
    EXPECT_EQ(back.Detail().GetNOfColumns(), 3);
    EXPECT_FALSE(back.Band(bandPageFooter).Enabled());
    const auto& t = static_cast<const RPObjectTextBox&>(*back.Detail().ObjectAt(0));
    EXPECT_EQ(t.GetContents(), "=page");
    EXPECT_EQ(t.GetFormat().decimals, 5);
    EXPECT_EQ(t.GetFont()->Face(), "Courier New");
    EXPECT_EQ(t.GetSource().CellName(), "B12");
    EXPECT_EQ(t.GetTextAlignH(), 2);
    const auto& g = static_cast<const RPObjectGraph&>(*back.Band(bandReportFooter).ObjectAt(1));
    EXPECT_EQ(g.GetAxisX().high, 2000);
    EXPECT_EQ(g.GetCurveWidth(), 3);
    const auto& p = static_cast<const RPObjectPicture&>(*back.Band(bandPageHeader).ObjectAt(0));
    EXPECT_EQ(p.Bits().size(), 7u);
    EXPECT_EQ(p.GetSizeMode(), 2);
}

TEST(ReportStream, ReaderWidensWidthAndHeights)
{
    RPReport r;
    r.StoreWidth(100);
    test::Add<RPObjectRectangle>(r, bandDetail, 0, 1000, 10, 3000);
    r.Detail().StoreHeight(500);
    const Bytes s = r.WriteStream();
    RPReport back;
    ASSERT_EQ(back.ReadStream(s.data(), s.size()), 0);
    EXPECT_EQ(back.Width(), 720);
    EXPECT_EQ(back.Detail().StoredHeight(), 4000);
}

// One damaging edit of a valid stream and whether the reader must refuse it.
struct Damage {
    const char* name;
    void (*apply)(Bytes&);
    int expected;
};

std::size_t FirstObject(const Bytes&) { return 196 + 4 * 56 + 80; }

TEST(ReportStream, HostileStreams)
{
    RPReport rich;
    test::BuildRichReport(rich);
    const Bytes good = rich.WriteStream();
    const std::vector<Damage> rows = {
        {"version 0x20000", [](Bytes& s) { PutU32(s.data() + 12, 0x20000); }, 1},
        {"version 0x1FFFF accepted", [](Bytes& s) { PutU32(s.data() + 12, 0x1FFFF); }, 0},
        {"name not terminated", [](Bytes& s) { s[66] = 'x'; }, 1},
        {"description not terminated", [](Bytes& s) { s[147] = 'x'; }, 1},
        {"bad format mark", [](Bytes& s) { PutU32(s.data() + 8, 0x00100001); }, 1},
        {"truncated header", [](Bytes& s) { s.resize(100); }, 1},
        {"truncated records", [](Bytes& s) { s.resize(s.size() - 30); }, 1},
        {"huge record count", [](Bytes& s) { PutU32(s.data() + 148, 0xFFFFFFFF); }, 1},
        {"first record past the end", [](Bytes& s) { PutU32(s.data() + 16, 0x7FFFFFFF); }, 1},
        {"detail record of 56 bytes", [](Bytes& s) { PutU32(s.data() + 196 + 112, 56); }, 1},
        {"band index 7", [](Bytes& s) { PutU32(s.data() + 196 + 4, 0x00020007); }, 1},
        {"record size 0", [](Bytes& s) { PutU32(s.data() + 196, 0); }, 1},
        {"record larger than the largest", [](Bytes& s) { PutU32(s.data() + 152, 20); }, 1},
        {"object in band 5", [](Bytes& s) { PutU32(s.data() + FirstObject(s) + 24, 5); }, 1},
        {"object type 9", [](Bytes& s) { PutU32(s.data() + FirstObject(s) + 4, 0x00040009); }, 1},
        {"condition block past its record", [](Bytes& s) { PutU16(s.data() + FirstObject(s) + 60, 0xFFF0); }, 1},
        {"condition length past its block", [](Bytes& s) { PutU16(s.data() + FirstObject(s) + 62, 0x4000); }, 1},
    };
    for (const Damage& d : rows) {
        Bytes s = good;
        d.apply(s);
        RPReport r;
        EXPECT_EQ(r.ReadStream(s.data(), s.size()), d.expected) << d.name;
    }
}

// Values from a file or a clipboard record are bounded as the designer bounds them: lengths
// outside 0..31680 twips refuse the stream; counts, steps and sizes beyond their range are
// clamped, so nothing painted or laid out from them can loop for long or overflow.
TEST(ReportStream, HostileValuesAreRefusedOrClamped)
{
    RPReport src;
    src.Detail().StoreHeight(3000);
    auto* g = test::Add<RPObjectGraph>(src, bandDetail, 100, 200, 2880, 2000);
    RPAxisSpec ax;
    ax.Set(1, 0, 7, 123.25, 500, 25);
    g->SetAxisX(ax);
    g->SetCurveWidth(2);
    RPLogFont lf = DefaultReportFont();
    lf.SetFace("Hostile Face");
    g->SetFont(lf);
    const Bytes good = src.WriteStream();
    // Places in the stream: the graph's record, its x axis (found by its low limit) and font.
    const std::size_t object = 196 + 4 * 56 + 80;
    auto find = [&good](const void* bytes, std::size_t n) {
        const auto* b = static_cast<const std::uint8_t*>(bytes);
        return static_cast<std::size_t>(std::search(good.begin(), good.end(), b, b + n) - good.begin());
    };
    const double low = 123.25;
    const std::size_t axis = find(&low, sizeof low) - 24, font = find("Hostile Face", 12) - 28;
    const std::size_t payload = axis - 60;
    ASSERT_LT(font, good.size());
    ASSERT_LT(axis, good.size());
    struct Row {
        const char* name;
        std::size_t at;
        int bits;  // 16 or 32
        std::uint32_t value;
        int refused;
        std::function<int(const RPReport&)> read;  // the value as the report holds it
        int expected;
    };
    auto graph = [](const RPReport& r) -> const RPObjectGraph& {
        return static_cast<const RPObjectGraph&>(*r.Detail().ObjectAt(0));
    };
    const std::vector<Row> rows = {
        {"height of 2,000,000,000", object + 40, 32, 2000000000u, 1, nullptr, 0},
        {"height of 31681", object + 40, 32, 31681u, 1, nullptr, 0},
        {"height of 31680", object + 40, 32, 31680u, 0, [&](const RPReport& r) { return graph(r).GetHeight(); }, 31680},
        {"negative left", object + 28, 32, 0xFFFFFFFFu, 1, nullptr, 0},
        {"width past the report", object + 36, 32, 0x7FFFFFFFu, 1, nullptr, 0},
        {"65535 subticks", axis + 4, 16, 65535u, 0, [&](const RPReport& r) { return graph(r).GetAxisX().subticks; }, 64},
        {"zero increment", axis + 40, 32, 0u, 0, [&](const RPReport& r) { return graph(r).GetAxisX().RangeError(); }, 1},
        {"axis kind 7", axis, 16, 7u, 0, [&](const RPReport& r) { return graph(r).GetAxisX().kind; }, -1},
        {"font height 2^31 - 1", font, 32, 0x7FFFFFFFu, 0, [&](const RPReport& r) { return graph(r).GetFont()->height; }, 32767},
        {"curve width 65535", payload + 172 + 12, 16, 65535u, 0, [&](const RPReport& r) { return graph(r).GetCurveWidth(); }, 0},
        {"band height 65535", 196 + 8, 32, 65535u, 0, [](const RPReport& r) { return r.Band(bandPageHeader).StoredHeight(); }, 31680},
        {"65535 columns", 196 + 2 * 56 + 56, 16, 65535u, 0, [](const RPReport& r) { return r.Detail().GetNOfColumns(); }, 24},
        {"no columns", 196 + 2 * 56 + 56, 16, 0u, 0, [](const RPReport& r) { return r.Detail().GetNOfColumns(); }, 1},
        {"force new page 9", 196 + 56 + 18, 16, 9u, 0, [](const RPReport& r) { return r.Band(bandReportHeader).GetForceNewPage(); }, 0},
    };
    for (const Row& row : rows) {
        Bytes s = good;
        // The increment is a double: its upper word zero with the lower one gives 0.0.
        if (std::string(row.name) == "zero increment") PutU32(s.data() + row.at + 4, 0);
        if (row.bits == 16) PutU16(s.data() + row.at, row.value);
        else PutU32(s.data() + row.at, row.value);
        RPReport r;
        ASSERT_EQ(r.ReadStream(s.data(), s.size()), row.refused) << row.name;
        if (row.read) {
            EXPECT_EQ(row.read(r), row.expected) << row.name;
        }
        // Every length the reader kept lies where the designer could have put it.
        for (int b = 0; b < 5; ++b) {
            EXPECT_LE(r.Band(b).StoredHeight(), 2 * kMaxTwips) << row.name;
            for (const auto& o : r.Band(b).Objects()) EXPECT_LE(o->TwipsRect().bottom, 2 * kMaxTwips) << row.name;
        }
    }
}

TEST(ReportStream, TextBoxFormatIsCheckedOnReading)
{
    RPReport r;
    auto* t = test::Add<RPObjectTextBox>(r, bandDetail, 0, 0, 100, 100);
    (void)t;
    Bytes s = r.WriteStream();
    const std::size_t payload = FirstObject(s) + 60 + 8 + 12;  // common, empty condition, Default source
    PutU16(s.data() + payload + 4, 7);
    PutU16(s.data() + payload + 6, 40);
    RPReport back;
    ASSERT_EQ(back.ReadStream(s.data(), s.size()), 0);
    const auto& b = static_cast<const RPObjectTextBox&>(*back.Detail().ObjectAt(0));
    EXPECT_EQ(b.GetFormat().kind, -1);
    EXPECT_EQ(b.GetFormat().decimals, 15);
}

struct ScratchFile {
    ScratchFile() { path = std::string("/tmp/vyn_report_") + std::to_string(::getpid()) + ".qrp"; }
    ~ScratchFile() { std::remove(path.c_str()); }
    std::string path;
};

using test::ReadAll;
using test::WriteAll;

TEST(ReportFile, SaveAndReopen)
{
    ScratchFile f;
    QRepDoc doc;
    test::BuildRichReport(doc.Report());
    EXPECT_FALSE(doc.Commit()) << "no path";
    doc.SetDocPath(f.path);
    doc.SetDirty(true);
    ASSERT_TRUE(doc.Commit());
    EXPECT_FALSE(doc.IsDirty());
    const Bytes file = ReadAll(f.path);
    const Bytes stream = doc.Report().WriteStream();
    ASSERT_EQ(file.size(), stream.size() + 64);
    EXPECT_EQ(GetU32(file.data() + 16), file.size());
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "QRPD");

    QRepDoc again;
    again.SetDocPath(f.path);
    ASSERT_TRUE(again.ReadFile());
    EXPECT_EQ(again.Report().WriteStream(), stream);
}

TEST(ReportFile, DamagedFilesGiveTheirMessage)
{
    RPReport r;
    test::BuildRichReport(r);
    const Bytes good = QRepDoc::FileBytes(r);
    struct Row {
        const char* name;
        Bytes bytes;
        bool write;
        const char* message;
    };
    Bytes badMagic = good;
    badMagic[3] = 'X';
    Bytes shortFile(good.begin(), good.begin() + 40);
    Bytes moved = good;  // the stream offset is honoured
    moved.insert(moved.begin() + 64, 16, 0);
    PutU32(moved.data() + 8, 80);
    Bytes badStream = good;
    PutU32(badStream.data() + 64 + 8, 0);
    Bytes offsetPast = good;
    PutU32(offsetPast.data() + 8, 0x7FFFFFF0);
    const std::vector<Row> rows = {
        {"missing file", {}, false, "CANNOT OPEN FILE"},
        {"short file", shortFile, true, "CANNOT READ FILE"},
        {"other magic", badMagic, true, "NOT OUR FILE"},
        {"bad stream", badStream, true, "CANNOT READ FILE"},
        {"stream offset past the end", offsetPast, true, "CANNOT READ FILE"},
        {"moved stream", moved, true, ""},
    };
    for (const Row& row : rows) {
        ScratchFile f;
        if (row.write) WriteAll(f.path, row.bytes);
        ClearLastDocMessage();
        QRepDoc doc;
        doc.SetDocPath(f.path);
        EXPECT_EQ(doc.ReadFile(), std::string(row.message).empty()) << row.name;
        EXPECT_EQ(LastDocMessage(), row.message) << row.name;
    }
}

TEST(ReportFile, FailedSaveKeepsTheOldFile)
{
    ScratchFile f;
    QRepDoc doc;
    doc.SetDocPath(f.path);
    ASSERT_TRUE(doc.Commit());
    const Bytes before = ReadAll(f.path);
    test::BuildRichReport(doc.Report());
    const struct {
        FileStep step;
        const char* message;
    } rows[] = {
        {FileStep::Open, "CANNOT CREATE FILE"}, {FileStep::Write, "CANNOT WRITE FILE"},
        {FileStep::Sync, "CANNOT WRITE FILE"},  {FileStep::Close, "CANNOT WRITE FILE"},
        {FileStep::Rename, "CANNOT WRITE FILE"},
    };
    const std::filesystem::path file(f.path);
    for (const auto& r : rows) {
        {
            FileFault fault(r.step, 1);
            ClearLastDocMessage();
            EXPECT_FALSE(doc.Commit()) << r.message;
        }
        EXPECT_EQ(LastDocMessage(), r.message);
        EXPECT_EQ(ReadAll(f.path), before) << r.message;
        for (const auto& e : std::filesystem::directory_iterator(file.parent_path())) {
            const std::string name = e.path().filename().string();
            EXPECT_FALSE(name != file.filename().string() && name.rfind(file.filename().string(), 0) == 0)
                << "left behind: " << name;
        }
    }
    EXPECT_TRUE(doc.Commit());
    EXPECT_NE(ReadAll(f.path), before);
}

}  // namespace
}  // namespace vyn
