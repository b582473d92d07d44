#include "ReaderBench.h"

#include <cstdio>
#include <sys/stat.h>
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
    ProfileFile("VYN.INI").Write("ports", "lock_folder", dir.Path());
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
    EXPECT_EQ(gComm.LockState(), SerialPort::LockState::TakenOver);
    EXPECT_EQ(gComm.LockText(), "The serial port's lock of the ended process " + std::to_string(child) + " was taken over.");
    gComm.Close();
    EXPECT_EQ(lockOwner(), -1) << "the lock goes with the port";

    ASSERT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
    EXPECT_EQ(gComm.LockState(), SerialPort::LockState::Held);
    EXPECT_EQ(gComm.LockText(), "");
    gComm.Close();
}

// Names planted in the lock folder are never written through: a hard link or a symbolic link
// under the temporary lock's name leaves the file it leads to as it was, and the lock is made
// under another name; when no name is left, or the folder cannot be used, the port opens
// without a lock and says so. A lock file naming nobody, or one that is a link, is taken over
// without touching what it leads to.
TEST_F(SerialPortOpen, PlantedNamesInTheLockFolderAreNeverWrittenThrough)
{
    const std::string locks = dir.Path() + "/locks";
    ASSERT_EQ(::mkdir(locks.c_str(), 0755), 0);
    ProfileFile("VYN.INI").Write("ports", "lock_folder", locks + "/");
    emu = std::make_unique<emu::ReaderEmulator>(emu::Script{});
    ASSERT_TRUE(emu->Ok());
    ProfileFile("VYN.INI").Write("ports", "COM3", emu->SlavePath());
    gCommSettings.portIndex = 2;
    const std::string lock = SerialPort::LockFileOf(emu->SlavePath());
    ASSERT_EQ(lock.rfind(locks + "/LCK..", 0), 0u) << lock;
    const std::string precious = locks + "/precious", elsewhere = dir.Path() + "/elsewhere";
    const std::string kept = "not to be overwritten\n";
    for (const std::string& f : {precious, elsewhere}) {
        std::FILE* out = std::fopen(f.c_str(), "w");
        ASSERT_NE(out, nullptr);
        std::fputs(kept.c_str(), out);
        std::fclose(out);
    }
    auto content = [](const std::string& f) {
        std::string text;
        if (std::FILE* in = std::fopen(f.c_str(), "r")) {
            char buf[128];
            std::size_t n = std::fread(buf, 1, sizeof buf, in);
            text.assign(buf, n);
            std::fclose(in);
        }
        return text;
    };
    const std::string tmp = locks + "/LTMP." + std::to_string(::getpid());
    auto plantAll = [&](int count) {
        for (int i = 0; i < count; ++i) {
            const std::string name = i == 0 ? tmp : tmp + "." + std::to_string(i);
            // Hard links and symbolic links by turns; a symbolic link to nowhere among them.
            const int r = i % 3 == 0 ? ::link(precious.c_str(), name.c_str())
                        : i % 3 == 1 ? ::symlink(elsewhere.c_str(), name.c_str())
                                     : ::symlink((dir.Path() + "/nothing").c_str(), name.c_str());
            ASSERT_EQ(r, 0) << name;
        }
    };
    auto unplantAll = [&]() {
        for (int i = 0; i < 16; ++i) ::unlink((i == 0 ? tmp : tmp + "." + std::to_string(i)).c_str());
    };

    struct Row {
        const char* name;
        int planted;
        SerialPort::LockState state;
    };
    for (const Row& r : {Row{"one name planted", 1, SerialPort::LockState::Held},
                         Row{"two names planted", 2, SerialPort::LockState::Held},
                         Row{"every name planted", 8, SerialPort::LockState::NotTaken}}) {
        plantAll(r.planted);
        ASSERT_EQ(gComm.Open(), 0) << r.name << ": " << gComm.LastErrorText();
        EXPECT_EQ(gComm.LockState(), r.state) << r.name;
        EXPECT_EQ(::access(lock.c_str(), F_OK) == 0, r.state == SerialPort::LockState::Held) << r.name;
        if (r.state == SerialPort::LockState::NotTaken) {
            EXPECT_EQ(gComm.LockText(), "The serial port cannot be locked: no lock file can be made in " + locks +
                                            ". Other programs will not see that the reader is in use while it measures.");
        }
        gComm.Close();
        EXPECT_EQ(content(precious), kept) << r.name;
        EXPECT_EQ(content(elsewhere), kept) << r.name;
        EXPECT_NE(::access((dir.Path() + "/nothing").c_str(), F_OK), 0) << r.name << ": no file made through the link";
        unplantAll();
    }

    // The lock file itself planted as a link: it names nobody, so it is taken over; only the
    // name goes, the files it leads to stay.
    for (bool hard : {true, false}) {
        ASSERT_EQ(hard ? ::link(precious.c_str(), lock.c_str()) : ::symlink(elsewhere.c_str(), lock.c_str()), 0);
        ASSERT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
        EXPECT_EQ(gComm.LockState(), SerialPort::LockState::TakenOver) << hard;
        EXPECT_EQ(gComm.LockText(), "The serial port's lock file " + lock + " named no running program and was taken over.");
        gComm.Close();
        EXPECT_EQ(content(precious), kept) << hard;
        EXPECT_EQ(content(elsewhere), kept) << hard;
    }

    // A lock folder that is no folder: the port opens unlocked and says so.
    ProfileFile("VYN.INI").Write("ports", "lock_folder", precious);
    ASSERT_EQ(gComm.Open(), 0) << gComm.LastErrorText();
    EXPECT_EQ(gComm.LockState(), SerialPort::LockState::NotTaken);
    gComm.Close();
    EXPECT_EQ(content(precious), kept);
}

}  // namespace
}  // namespace vyn::test
