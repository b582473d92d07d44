#include "ReaderBench.h"
#include "readers/QFotoSlt.h"

namespace vyn::test {
namespace {

using emu::Fault;

class SltReader : public ReaderBench {
protected:
    emu::Script Script(bool framed)
    {
        emu::Script s;
        s.family = emu::Family::Slt;
        s.framed = framed;
        s.plate = Ramp(50);
        s.refPlate.fill(40);
        return s;
    }
};

TEST_F(SltReader, ShortDialectMeasuresThePlate)
{
    emu::Script s = Script(false);
    s.plate[5] = emu::kNoReading;
    s.plate[17] = 3501;   // beyond the reader's range
    s.plate[18] = -3500;  // the lowest reading there is
    QFoto* d = Start(s, 1, 2);
    EXPECT_EQ(gReaderName, "Sunrise");
    EXPECT_EQ(Measure(d, 405, 0, false), fsDone) << ErrorText();
    std::array<int, 96> expected = s.plate;
    expected[17] = emu::kNoReading;
    ExpectPlate(expected, "short dialect");
    EXPECT_TRUE(emu->Received("F405"));
    EXPECT_FALSE(emu->Received("Y 20 6"));
    EXPECT_EQ(emu->Commands().back(), "E");
}

TEST_F(SltReader, ShortDialectSendsReferenceAndShaking)
{
    emu::Script s = Script(false);
    QFoto* d = Start(s, 1, 0);
    EXPECT_EQ(Measure(d, 405, 620, true, "SHAKE 20 6"), fsDone) << ErrorText();
    std::array<int, 96> expected;
    for (int i = 0; i < 96; ++i) expected[i] = s.plate[i] - 40;
    ExpectPlate(expected, "reference subtracted by the reader");
    EXPECT_TRUE(emu->Received("F405 620"));
    EXPECT_TRUE(emu->Received("Y 20 6"));
}

TEST_F(SltReader, FramedDialectSubtractsTheReference)
{
    emu::Script s = Script(true);
    s.plate[0] = -101;              // below the framed reader's range
    s.refPlate[1] = emu::kNoReading;
    s.refPlate[2] = 1250;           // a reference above the reading gives a negative value
    QFoto* d = Start(s, 1, 0);
    EXPECT_EQ(Measure(d, 405, 620, true, "SHAKE 20 6"), fsDone) << ErrorText();
    EXPECT_TRUE(static_cast<QFotoSlt*>(d)->IsFramed());
    std::array<int, 96> expected;
    for (int i = 0; i < 96; ++i) expected[i] = s.plate[i] - s.refPlate[i];
    expected[0] = emu::kNoReading;
    expected[1] = emu::kNoReading;
    ExpectPlate(expected, "framed dialect");
    EXPECT_TRUE(emu->Received("SW405"));
    EXPECT_TRUE(emu->Received("SW620"));
    // Outside shaking: no carrier move before it, milliseconds on the wire.
    EXPECT_TRUE(emu->Received("SH 2 20000"));
    EXPECT_FALSE(emu->Received("TR1"));
}

TEST_F(SltReader, ReadsFiltersInBothDialects)
{
    struct Case {
        const char* name;
        bool framed;
        std::vector<int> reader;
        std::vector<int> table;
    } cases[] = {
        {"short", false, {405, 450, 492, 620}, {405, 450, 492, 620}},
        {"framed", true, {405, 450, 492, 620}, {405, 450, 492, 620}},
        {"stops at a number out of range", false, {405, 45, 620}, {405}},
        {"at most six", true, {340, 405, 450, 492, 550, 620, 690}, {340, 405, 450, 492, 550, 620}},
    };
    for (const Case& c : cases) {
        emu::Script s = Script(c.framed);
        s.filters = c.reader;
        QFoto* d = Start(s, 1, 0);
        EXPECT_EQ(d->ReadFilters(), fsDone) << c.name << ": " << ErrorText();
        std::vector<int> table;
        for (int i = 0; i < GetFilterCount(); ++i) table.push_back(GetFilter(i));
        EXPECT_EQ(table, c.table) << c.name;
        gComm.Close();
        gReader.reset();
        emu.reset();
    }
}

TEST_F(SltReader, MovesTheCarrier)
{
    struct Case {
        const char* name;
        bool framed;
        bool out;
        const char* command;
    } cases[] = {
        {"short eject", false, true, "TR1"},
        {"short insert", false, false, "TR0"},
        {"framed eject", true, true, "TR0"},
        {"framed insert", true, false, "TR1"},
    };
    for (const Case& c : cases) {
        QFoto* d = Start(Script(c.framed), 1, 0);
        EXPECT_EQ(d->MovePlate(c.out), fsDone) << c.name;
        EXPECT_TRUE(emu->Received(c.command)) << c.name;
        EXPECT_EQ(emu->Commands().back(), c.framed ? "ER" : "E") << c.name;
        gComm.Close();
        gReader.reset();
        emu.reset();
    }
}

TEST_F(SltReader, FailuresEndWithStatusAndMessage)
{
    struct Case {
        const char* name;
        bool framed;
        Fault fault;
        int status;
        const char* message;  // nullptr: the system's text for a lost line
    } cases[] = {
        {"no answer", false, Fault::NoAnswer, fsNoResponse, "Device not responding."},
        {"garbage", false, Fault::Garbage, fsError, "Data garbled."},
        {"line cut mid-plate", false, Fault::CutMidPlate, fsNoResponse, "Device not responding."},
        {"framed line cut mid-plate", true, Fault::CutMidPlate, fsNoResponse, "Device not responding."},
        {"hang-up mid-plate", false, Fault::HangUp, fsError, nullptr},
        {"wrong plate check sum", false, Fault::BadChecksum, fsError, "Data garbled."},
        {"wrong frame check byte", true, Fault::BadChecksum, fsError, "Data garbled."},
        {"short column", false, Fault::BadLength, fsError, "Data garbled."},
        {"missing row", true, Fault::BadLength, fsError, "Data garbled."},
        {"overlong reply", false, Fault::LongLine, fsError, "Data garbled."},
        {"filter refused", false, Fault::Reject, fsError, "Filter(s) not accepted."},
        {"framed filter refused", true, Fault::Reject, fsError, "Filter(s) not accepted."},
        {"reader error", false, Fault::DeviceError, fsError, "E12 Lamp failure"},
        {"framed reader error", true, Fault::DeviceError, fsError, "E12 Lamp failure"},
        {"no plate", false, Fault::NoPlate, fsError, "Insert a plate and click start."},
    };
    for (const Case& c : cases) {
        emu::Script s = Script(c.framed);
        s.fault = c.fault;
        QFoto* d = Start(s, 1, 0);
        EXPECT_EQ(Measure(d, 405, 0, false), c.status) << c.name;
        if (c.message) {
            EXPECT_EQ(ErrorText(), c.message) << c.name;
        } else {
            EXPECT_FALSE(ErrorText().empty()) << c.name;
        }
        gReader.reset();
        emu.reset();
    }
}

TEST_F(SltReader, AbortEndsAWaitingMeasurement)
{
    emu::Script s = Script(false);
    s.busyPolls = 1000000;  // the reader never finishes
    QFoto* d = Start(s, 1, 0);
    std::thread stopper([d] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        d->abort = true;
    });
    d->SetRequest(nullptr, 8, 12, 405, 0, 0, "");
    const int status = d->Measure();
    stopper.join();
    EXPECT_EQ(status, fsAborted);
    QFoto::ConcludeOperation(status);
    EXPECT_EQ(ErrorText(), "Aborted.");
}

TEST(SltOptionsText, ParseFormatDescribe)
{
    struct Case {
        const char* name;
        const char* text;
        int time, where, how;
        const char* formatted;
    } cases[] = {
        {"outside normal", "SHAKE 20 6", 20, 1, 1, "SHAKE 20 6"},
        {"empty: no shaking", "", 0, 0, 0, ""},
        {"time out of range", "SHAKE 300 2", 0, 0, 1, ""},
        {"code out of range", "SHAKE 5 9", 5, 0, 0, "SHAKE 5 1"},
        {"one number only", "SHAKE 5", 0, 0, 0, ""},
    };
    for (const Case& c : cases) {
        const SltOptions o = SltOptions::Parse(c.text);
        EXPECT_EQ(o.time, c.time) << c.name;
        EXPECT_EQ(o.where, c.where) << c.name;
        EXPECT_EQ(o.how, c.how) << c.name;
        EXPECT_EQ(o.Format(), c.formatted) << c.name;
    }
    EXPECT_EQ(SltOptions::Parse("SHAKE 20 6").Describe(), "Shaking\r\ntime 20 [s]\r\noutside/normal");
    EXPECT_EQ(SltOptions::Parse("").Describe(), "Without\r\nShaking");
    TempConfigDir dir;  // the driver reads and writes the filter table
    QFotoSlt d;
    char small[8];
    EXPECT_STREQ(d.GetOptionsText(small, sizeof small, "SHAKE 20 6"), "Shaking");
}

}  // namespace
}  // namespace vyn::test
