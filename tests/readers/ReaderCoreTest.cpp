#include "ReaderBench.h"

#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"

namespace vyn::test {
namespace {

TEST(ReaderDriver, TypeSelectsTheFamily)
{
    TempConfigDir dir;
    struct Case {
        int type;
        const char* name;
    } cases[] = {{0, "Demo Device"}, {1, "Spectra"},   {2, "OSTREL"},      {3, "Demo Device"},
                 {4, "Demo Device"}, {5, "Multiscan RC"}, {6, "Demo Device"}};
    for (const Case& c : cases) {
        gReaderType = static_cast<std::uint8_t>(c.type);
        gReaderSubType = 0;
        QFoto* d = CreateReaderDriver();
        EXPECT_EQ(gReaderName, c.name) << "type " << c.type;
        EXPECT_EQ(d->CanWriteFilters(), c.type != 1 && c.type != 5) << "type " << c.type;
    }
    gReader.reset();
    gReaderType = 0;
    gCommSettings = QCommSettings();
}

TEST(ReaderDriver, ChecksumAndErrorText)
{
    EXPECT_EQ(Checksum("\x02" "ER\x03", 0), 0x16);
    EXPECT_EQ(Checksum("", 0), 0);
    EXPECT_EQ(Checksum(nullptr, 3), 0);

    QFoto::SetErrorId(6023);
    EXPECT_EQ(QFoto::GetErrorText(), "Data garbled.");
    QFoto::SetErrorId(999999);  // no such entry
    EXPECT_EQ(QFoto::GetErrorText(), "error");
    QFoto::SetErrorText(std::string(400, 'x'));
    EXPECT_EQ(QFoto::GetErrorText().size(), 255u);
    char small[6];
    EXPECT_STREQ(QFoto::GetErrorText(small, sizeof small), "xxxxx");
    EXPECT_EQ(QFoto::ConcludeOperation(fsNoResponse), 1);
    EXPECT_EQ(QFoto::GetErrorText(), "Device not responding.");
}

class SimulatedReader : public ReaderBench {};

TEST_F(SimulatedReader, MeasuresZerosAndStopsOnAbort)
{
    gReaderType = 0;
    QFoto* d = CreateReaderDriver();
    d->progress = &progress;
    EXPECT_EQ(Measure(d, 405, 0, false), fsDone);
    EXPECT_EQ(std::count(values.begin(), values.end(), 0.0), 96);
    EXPECT_EQ(progress.texts.back(), "Success.");
    EXPECT_NE(std::find(progress.texts.begin(), progress.texts.end(), " 12/12 "), progress.texts.end());

    std::thread stopper([d] {
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        d->abort = true;
    });
    d->SetRequest(values.data(), 8, 12, 405, 0, 0, "");
    d->abort = false;
    const int status = d->Measure();
    stopper.join();
    EXPECT_EQ(status, fsAborted);
    EXPECT_EQ(QFoto::GetErrorText(), "Aborted.");

    d->abort = false;
    EXPECT_EQ(d->WriteFilters(), fsNoResponse);
    ASSERT_EQ(progress.messages.size(), 1u);
    EXPECT_EQ(progress.messages[0], "Test: This is just for testing.");
    EXPECT_EQ(d->MovePlate(true), fsDone);
    char text[64];
    EXPECT_STREQ(d->GetOptionsText(text, sizeof text, ""), "Reader\r\nSpecific\r\nOptions");
}

class SerialPortOpen : public ReaderBench {};

TEST_F(SerialPortOpen, MissingAndBusyPortsHaveTheirMessages)
{
    ProfileFile("VYN.INI").Write("ports", "COM3", dir.Path() + "/no-such-device");
    gCommSettings.portIndex = 2;
    EXPECT_EQ(gComm.Open(), 1);
    EXPECT_FALSE(gComm.IsOpen());
    EXPECT_EQ(gComm.LastErrorText(), "Serial port not found.");
    QFoto::SetErrorFromPort();
    EXPECT_EQ(QFoto::GetErrorText(), "Serial port not found.");

    // The start-up text asks for 7 bits and parity, which a pseudo-terminal cannot carry and,
    // on some kernels, refuses once it has been asked before: every reopening must still work.
    gCommSettings.SetSettingsText("COM3:9600,E,7,2");
    emu::Script s;
    emu = std::make_unique<emu::ReaderEmulator>(s);
    ProfileFile("VYN.INI").Write("ports", "COM3", emu->SlavePath());
    ASSERT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
    TComm second;
    EXPECT_EQ(second.Open(), 1);
    EXPECT_EQ(second.LastErrorText(), "Serial port in use.");
    gComm.Close();
    EXPECT_EQ(second.Open(), 0) << "a closed port is free again";
    second.Close();
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(gComm.Open(), 0) << "reopening " << i << ": " << gComm.LastErrorText();
        gComm.Close();
    }

    // Every rate of the table, the odd one without a B constant included, can be set.
    for (int rate : QCommSettings::kBaudTable) {
        gCommSettings.baud = rate;
        EXPECT_EQ(gComm.Open(), 0) << rate << ": " << gComm.LastErrorText();
        gComm.Close();
    }
    EXPECT_EQ(SerialPort::DevicePath(4), "/dev/ttyS4");
}

// The lock file other serial programs honour: a live owner keeps us off, a dead one's lock is
// taken over, and ours names us while the port is open and goes when it closes.
TEST_F(SerialPortOpen, LockFileOfTheDevice)
{
    SerialPort::SetLockDirectory(dir.Path());
    emu = std::make_unique<emu::ReaderEmulator>(emu::Script{});
    ASSERT_TRUE(emu->Ok());
    ProfileFile("VYN.INI").Write("ports", "COM3", emu->SlavePath());
    gCommSettings.portIndex = 2;
    const std::string lock = SerialPort::LockFileOf(emu->SlavePath());
    EXPECT_EQ(lock.rfind(dir.Path() + "/LCK..", 0), 0u) << lock;
    auto writeLock = [&](pid_t pid) {
        std::FILE* f = std::fopen(lock.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fprintf(f, "%10d\n", static_cast<int>(pid));
        std::fclose(f);
    };
    auto lockOwner = [&]() -> long {
        std::FILE* f = std::fopen(lock.c_str(), "r");
        if (!f) return -1;
        long pid = 0;
        if (std::fscanf(f, "%ld", &pid) != 1) pid = 0;
        std::fclose(f);
        return pid;
    };

    writeLock(::getppid());  // a program that runs
    EXPECT_EQ(gComm.Open(), 1);
    EXPECT_EQ(gComm.LastErrorText(), "Serial port in use.");
    EXPECT_EQ(lockOwner(), ::getppid()) << "another's lock is left alone";

    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    writeLock(child);  // its owner has gone
    ASSERT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
    EXPECT_EQ(lockOwner(), ::getpid());
    gComm.Close();
    EXPECT_EQ(lockOwner(), -1) << "the lock goes with the port";
    SerialPort::SetLockDirectory("/var/lock");
}

}  // namespace
}  // namespace vyn::test
