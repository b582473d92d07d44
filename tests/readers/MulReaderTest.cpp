#include "ReaderBench.h"
#include "readers/QFotoMul.h"

namespace vyn::test {
namespace {

using emu::Fault;

class MulReader : public ReaderBench {
protected:
    emu::Script Script()
    {
        emu::Script s;
        s.family = emu::Family::Mul;
        s.plate = Ramp(50);
        s.refPlate.fill(40);
        return s;
    }
    QFoto* StartMul(const emu::Script& s)
    {
        QFoto* d = Start(s, 5, 1);
        const int filters[] = {340, 405, 450, 620};
        SetFilters(filters, 4);
        return d;
    }
};

TEST_F(MulReader, MeasuresThePlateWithShakingAndStepWise)
{
    emu::Script s = Script();
    s.plate[0] = 4200;    // the top of the range
    s.plate[1] = -50;     // negative readings round like positive ones
    s.plate[2] = -200;
    s.plate[3] = emu::kNoReading;
    QFoto* d = StartMul(s);
    EXPECT_EQ(gReaderName, "Multiscan EX");
    EXPECT_EQ(Measure(d, 450, 0, false, "SHAKE 10 1 STPW"), fsDone) << ErrorText();
    ExpectPlate(s.plate, "plate");
    const std::vector<std::string> expected = {"R", "E1", "X2", "Z10", "F3", "A", "I", "P", "Q"};
    EXPECT_EQ(emu->Commands(), expected);
}

TEST_F(MulReader, SubtractsTheReferencePass)
{
    emu::Script s = Script();
    s.refPlate[7] = emu::kNoReading;
    QFoto* d = StartMul(s);
    EXPECT_EQ(Measure(d, 405, 620, true), fsDone) << ErrorText();
    std::array<int, 96> expected;
    for (int i = 0; i < 96; ++i) expected[i] = s.plate[i] - s.refPlate[i];
    expected[7] = emu::kNoReading;
    ExpectPlate(expected, "with reference");
    const std::vector<std::string> sent = {"R", "E0", "F2", "A", "I", "P", "F4", "A", "I", "P", "Q"};
    EXPECT_EQ(emu->Commands(), sent);
}

TEST_F(MulReader, PortIsLockedToEightBitsNoParityOneStop)
{
    gCommSettings.SetSettingsText("COM1:4800,E,7,2");
    Start(Script(), 5, 0);
    EXPECT_EQ(gCommSettings.GetSettingsText(), "COM1:4800,N,8,1");
    EXPECT_EQ(gReaderName, "Multiscan RC");
    EXPECT_FALSE(gReader->CanReadFilters() || gReader->CanWriteFilters() || gReader->CanMovePlate());
}

TEST_F(MulReader, FailuresEndWithStatusAndMessage)
{
    const std::string shortRow = [] {
        std::string line;
        for (int c = 0; c < 12; ++c) {
            char buf[16];
            std::snprintf(buf, sizeof buf, "%6.3f", (50 + 200 + c * 7) / 1000.0);
            line += buf;
        }
        return line.substr(0, 71);
    }();
    struct Case {
        const char* name;
        Fault fault;
        int wavelength;
        int status;
        std::string message;  // empty: the system's text for a lost line
    } cases[] = {
        {"no answer", Fault::NoAnswer, 405, fsNoResponse, "Device not responding."},
        {"garbage", Fault::Garbage, 405, fsError, "Data garbled."},
        {"line cut mid-plate", Fault::CutMidPlate, 405, fsNoResponse, "Device not responding."},
        {"hang-up mid-plate", Fault::HangUp, 405, fsError, ""},
        {"short plate line", Fault::BadLength, 405, fsError, "Rejected : P : " + shortRow},
        {"overlong line", Fault::LongLine, 405, fsError, "Data garbled."},
        {"filter refused", Fault::Reject, 405, fsError, "Rejected : F2 : ERR 3"},
        {"wavelength not in table", Fault::None, 555, fsError, "Wrong filter."},
    };
    for (const Case& c : cases) {
        emu::Script s = Script();
        s.fault = c.fault;
        QFoto* d = StartMul(s);
        EXPECT_EQ(Measure(d, c.wavelength, 0, false), c.status) << c.name;
        if (c.message.empty()) {
            EXPECT_FALSE(ErrorText().empty()) << c.name;
        } else {
            EXPECT_EQ(ErrorText(), c.message) << c.name;
        }
        if (c.fault == Fault::None) {
            EXPECT_EQ(emu->Commands().back(), "Q") << c.name;
        }
        gReader.reset();
        emu.reset();
    }
}

TEST_F(MulReader, PlateWithoutAnyReadingIsGarbled)
{
    emu::Script s = Script();
    s.plate.fill(emu::kNoReading);
    QFoto* d = StartMul(s);
    EXPECT_EQ(Measure(d, 405, 0, false), fsError);
    EXPECT_EQ(ErrorText(), "Data garbled.");
    EXPECT_EQ(emu->Commands().back(), "Q");
}

TEST_F(MulReader, SlowReaderWithinTheTimeOutStillMeasures)
{
    emu::Script s = Script();
    s.byteDelayMs = 1;
    QFoto* d = StartMul(s);
    EXPECT_EQ(Measure(d, 405, 0, false), fsDone) << ErrorText();
    ExpectPlate(s.plate, "slow reader");
}

TEST(MulPlateField, ReadsThousandths)
{
    struct Case {
        const char* name;
        const char* field;
        int reading;
    } cases[] = {
        {"top of range", "   4.2", 4200},
        {"above range", "  4.21", QFotoMul::kInvalid},
        {"blanks", "      ", QFotoMul::kInvalid},
        {"negative", "-0.050", -50},
        {"below range", " -0.21", QFotoMul::kInvalid},
        {"bottom of range", "  -0.2", -200},
        {"nearest thousandth", "1.2346", 1235},
        {"number then noise", "1.2abc", 1200},
        {"plus sign", "+0.125", 125},
        {"stars", "  ****", QFotoMul::kInvalid},
    };
    for (const Case& c : cases) EXPECT_EQ(QFotoMul::ParseField(c.field), c.reading) << c.name;
}

TEST(MulOptionsText, ParseFormatDescribe)
{
    const MulOptions o = MulOptions::Parse("SHAKE 10 1 STPW");
    EXPECT_EQ(o.time, 10);
    EXPECT_EQ(o.mode, 1);
    EXPECT_TRUE(o.stepWise);
    EXPECT_EQ(o.Format(), "SHAKE 10 1 STPW");
    EXPECT_EQ(o.Describe(), "Shaking\r\ntime 10 [s]\r\nnormal\r\nstep-wise");
    const MulOptions clamped = MulOptions::Parse("SHAKE 150 7");
    EXPECT_EQ(clamped.time, 99);
    EXPECT_EQ(clamped.mode, 2);
    EXPECT_EQ(MulOptions::Parse("STPW").Format(), "STPW");
    EXPECT_EQ(MulOptions::Parse("").Describe(), "Without\r\nShaking\r\n");
}

}  // namespace
}  // namespace vyn::test
