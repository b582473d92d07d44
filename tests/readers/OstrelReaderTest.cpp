#include "ReaderBench.h"
#include "readers/QFotoOstrel.h"

namespace vyn::test {
namespace {

using emu::Fault;

class OstrelReader : public ReaderBench {
protected:
    emu::Script Script(int subType, const std::string& model = "FPHOTO")
    {
        emu::Script s;
        s.family = emu::Family::Ostrel;
        s.subType = subType;
        s.model = model;
        s.plate = Ramp(50);
        s.refPlate.fill(40);
        s.filters = {405, 450, 0, 620, 0, 0};
        return s;
    }
    std::vector<int> Table()
    {
        std::vector<int> t;
        for (int i = 0; i < GetFilterCount(); ++i) t.push_back(GetFilter(i));
        return t;
    }
};

TEST(OstrelFrame, CheckByteIsInvertedForSubTypeZero)
{
    EXPECT_EQ(QFotoOstrel::Frame("Q", 0), std::string("\x02Q\x03\xAD"));
    EXPECT_EQ(QFotoOstrel::Frame("Q", 1), std::string("\x02Q\x03\x52"));
}

TEST_F(OstrelReader, MeasuresEachReaderKind)
{
    struct Case {
        const char* name;
        int subType;
        const char* model;
        const char* measureCommand;
        bool asksForPlate;
    } cases[] = {
        {"sub-type 0", 0, "", "Sf4x3s2w3d20G", false},
        {"sub-type 1", 1, "FPHOTO", "Sf4c0i1x3s2w3d20G", false},
        {"scanning reader", 1, "FSCH2", "Sf4i4x3G", true},
        {"scanning reader that shakes", 3, "FVisRd", "Sf4i4x3s2w3d20G", true},
    };
    for (const Case& c : cases) {
        emu::Script s = Script(c.subType, c.model);
        s.plate[0] = -100;
        s.plate[1] = -101;
        s.plate[2] = 3600;
        s.plate[3] = emu::kNoReading;
        QFoto* d = Start(s, 2, c.subType);
        EXPECT_EQ(Measure(d, 620, 0, false, "SHAKE 20 2 3"), fsDone) << c.name << ": " << ErrorText();
        std::array<int, 96> expected = s.plate;
        expected[1] = emu::kNoReading;
        expected[3] = emu::kNoReading;
        ExpectPlate(expected, c.name);
        EXPECT_TRUE(emu->Received(c.measureCommand)) << c.name;
        EXPECT_EQ(emu->Received("SgG"), c.asksForPlate) << c.name;
        gReader.reset();
        emu.reset();
    }
}

TEST_F(OstrelReader, SubtractsTheReferenceBlocks)
{
    for (int subType : {0, 1}) {
        emu::Script s = Script(subType);
        s.refPlate[4] = 5000;  // out of range at the reference: the well has no value
        s.refPlate[5] = emu::kNoReading;
        QFoto* d = Start(s, 2, subType);
        EXPECT_EQ(Measure(d, 405, 620, true), fsDone) << subType << ": " << ErrorText();
        std::array<int, 96> expected;
        for (int i = 0; i < 96; ++i) expected[i] = s.plate[i] - 40;
        expected[4] = expected[5] = emu::kNoReading;
        ExpectPlate(expected, subType == 0 ? "sub-type 0" : "sub-type 1");
        EXPECT_TRUE(emu->Received(subType == 0 ? "Ad2" : "Ax"));
        gReader.reset();
        emu.reset();
    }
}

TEST_F(OstrelReader, ScanningReaderWaitsForThePlateConfirmation)
{
    QFoto* d = Start(Script(1, "FSCH"), 2, 1);
    progress.confirmAnswer = false;
    EXPECT_EQ(Measure(d, 405, 0, false), fsAborted);
    EXPECT_EQ(ErrorText(), "Aborted.");
    EXPECT_EQ(progress.confirmations, 1);
    EXPECT_FALSE(emu->Received("SgG"));
}

TEST_F(OstrelReader, ReadsAndCalibratesFilters)
{
    QFoto* d = Start(Script(0), 2, 0);
    EXPECT_EQ(d->ReadFilters(), fsDone) << ErrorText();
    EXPECT_EQ(Table(), (std::vector<int>{405, 450, 0, 620}));

    for (int subType : {0, 1}) {
        gReader.reset();
        emu.reset();
        d = Start(Script(subType), 2, subType);
        const int wanted[] = {340, 405, 45};
        SetFilters(wanted, 3);
        EXPECT_EQ(d->WriteFilters(), fsDone) << ErrorText();
        EXPECT_EQ(emu->Filters(), (std::vector<int>{340, 405, 45, 0, 0, 0}));
        EXPECT_TRUE(emu->Received(subType == 0 ? "Jf345G" : "Jf3045G")) << subType;
        EXPECT_TRUE(emu->Received(subType == 0 ? "Jf40G" : "Jf4000G")) << subType;
        EXPECT_EQ(Table(), (std::vector<int>{340, 405, 45})) << subType;  // read back from the reader
    }
}

TEST_F(OstrelReader, MovesTheCarrier)
{
    struct Case {
        const char* name;
        const char* model;
        bool out;
        std::vector<const char*> commands;
    } cases[] = {
        {"eject", "FPHOTO", true, {"IG"}},
        {"insert", "FPHOTO", false, {"Mm2000G"}},
        {"scanning eject", "FSCH", true, {"Mx1jG", "Mx0m3000G"}},
        {"scanning insert", "FSCH", false, {"IG"}},
        {"shaker eject", "FVisRd", true, {"Mm0G"}},
        {"shaker insert", "FVisRd", false, {"Mm5000G"}},
    };
    for (const Case& c : cases) {
        QFoto* d = Start(Script(1, c.model), 2, 1);
        EXPECT_TRUE(d->CanMovePlate());
        EXPECT_EQ(d->MovePlate(c.out), fsDone) << c.name << ": " << ErrorText();
        for (const char* command : c.commands) EXPECT_TRUE(emu->Received(command)) << c.name << ": " << command;
        gReader.reset();
        emu.reset();
    }
}

TEST_F(OstrelReader, PortIsLockedToTheReadersSettings)
{
    Start(Script(1), 2, 1);
    EXPECT_EQ(gCommSettings.GetSettingsText(), "COM1:19200,E,7,2");
    EXPECT_EQ(gCommSettings.AllowedRateCount(), 1);
    gReader.reset();
    gReaderSubType = 0;
    CreateReaderDriver();
    EXPECT_EQ(gCommSettings.baud, 9600);
    EXPECT_FALSE(gReader->CanMovePlate());
}

TEST_F(OstrelReader, FailuresEndWithStatusAndMessage)
{
    struct Case {
        const char* name;
        Fault fault;
        int wavelength;
        int status;
        const char* message;  // nullptr: the system's text for a lost line
    } cases[] = {
        {"no answer to select", Fault::NoAnswer, 405, fsNoResponse, "Device not responding."},
        {"garbage instead of ACK", Fault::Garbage, 405, fsError, "Data garbled."},
        {"line cut mid-plate", Fault::CutMidPlate, 405, fsNoResponse, "Device not responding."},
        {"hang-up mid-plate", Fault::HangUp, 405, fsError, nullptr},
        {"two wrong check bytes", Fault::BadChecksum, 405, fsError, "Data garbled."},
        {"block of the wrong length", Fault::BadLength, 405, fsError, "Data garbled."},
        {"every command refused", Fault::NakAlways, 405, fsError, "Data garbled."},
        {"reader error", Fault::DeviceError, 405, fsError, "ERR(9): Light too low"},
        {"wavelength not in reader", Fault::None, 555, fsError, "Wavelength not in reader."},
    };
    for (const Case& c : cases) {
        emu::Script s = Script(1);
        s.fault = c.fault;
        QFoto* d = Start(s, 2, 1);
        EXPECT_EQ(Measure(d, c.wavelength, 0, false), c.status) << c.name;
        if (c.message) {
            EXPECT_EQ(ErrorText(), c.message) << c.name;
        } else {
            EXPECT_FALSE(ErrorText().empty()) << c.name;
        }
        if (c.fault == Fault::None) {
            for (const std::string& cmd : emu->Commands()) EXPECT_NE(cmd.rfind("Sf", 0), 0u) << c.name;
        }
        gReader.reset();
        emu.reset();
    }
}

TEST(OstrelOptionsText, ParseFormatDescribe)
{
    const OstrelOptions o = OstrelOptions::Parse("SHAKE 20 1 2");
    EXPECT_EQ(o.Describe(), "Shaking\r\ntime 20 [s]\r\nnormal/wide");
    EXPECT_EQ(o.Format(), "SHAKE 20 1 2");
    const OstrelOptions bad = OstrelOptions::Parse("SHAKE 300 5 -1");
    EXPECT_EQ(bad.time, 0);
    EXPECT_EQ(bad.speed, 0);
    EXPECT_EQ(bad.step, 0);
    EXPECT_EQ(bad.Format(), "");
    EXPECT_EQ(OstrelOptions::Parse("SHAKE 20 1").Describe(), "Without\r\nShaking");
}

}  // namespace
}  // namespace vyn::test
