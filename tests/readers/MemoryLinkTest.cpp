// The drivers against replies held in memory: what a reader, a faulty cable or another device
// on the port may answer, without an emulator or a terminal. The waits are off, so a reply
// that never ends is cut by the bytes running out.
#include "ReaderBench.h"
#include "readers/MemoryLink.h"
#include "readers/QFotoMul.h"
#include "readers/QFotoOstrel.h"
#include "readers/QFotoSlt.h"

namespace vyn::test {
namespace {

class ReplyInMemory : public ::testing::Test {
protected:
    void SetUp() override { SetReaderTimeScale(0); }
    void TearDown() override
    {
        gComm.Close();
        SetReaderTimeScale(100);
        gReaderSubType = 0;
        gCommSettings = QCommSettings();
    }

    // Runs the operation of the driver against the replies; answers the status and leaves
    // what the driver sent in sent.
    int Run(QFoto& driver, const std::string& replies, int op = 0, const std::string& options = "")
    {
        values.assign(96, -7.0);
        const int filters[] = {340, 405, 450, 620};
        SetFilters(filters, 4);
        driver.SetRequest(values.data(), 8, 12, 405, 620, 0, options);
        MemoryLink link(replies);
        EXPECT_EQ(gComm.Open(link), 0);
        QFotoStatus status = fsError;
        switch (op) {
        case 0:
            status = driver.Measure();
            if (status == fsDone) driver.AfterMeasure();
            break;
        case 1: status = driver.ReadFilters(); break;
        default: status = driver.MovePlate(true); break;
        }
        gComm.Close();
        sent = link.written;
        QFoto::ConcludeOperation(status);
        return status;
    }

    static std::string Repeat(const std::string& s, int n)
    {
        std::string out;
        for (int i = 0; i < n; ++i) out += s;
        return out;
    }

    TempConfigDir dir;
    std::vector<double> values;
    std::string sent;
};

TEST_F(ReplyInMemory, MeasuresAPlateFromTheBytesAndSendsTheCommands)
{
    QFotoMul driver;
    std::string row;
    for (int c = 0; c < 12; ++c) row += " 0.125";
    const std::string replies = "OK\r\nOK\r\nOK\r\nOK\r\nOK\r\n" + Repeat(row + "\r\n", 8) + "OK\r\n";
    EXPECT_EQ(Run(driver, replies), fsDone) << QFoto::GetErrorText();
    EXPECT_EQ(std::count(values.begin(), values.end(), 0.125), 96);
    EXPECT_EQ(sent, "R\r\nE0\r\nF2\r\nA\r\nI\r\nP\r\nQ\r\n");
}

// Replies cut off or never ending end the operation as no response, or as garbled data where
// a reply outgrows what a reader would send; none waits for ever.
TEST_F(ReplyInMemory, RepliesThatNeverEndDoNotHang)
{
    const std::string sltSu = "\x02SU\r";
    struct Case {
        const char* name;
        int family;  // 1 Slt, 2 Ostrel, 5 Mul
        int op;
        std::string replies;
        int status;
    } cases[] = {
        {"nothing at all", 1, 0, "", fsNoResponse},
        {"short reply without its CR", 1, 0, "\x02SU", fsNoResponse},
        {"short reply longer than any", 1, 0, "\x02" + std::string(600, 'S'), fsError},
        {"busy for ever while moving", 1, 2, sltSu + Repeat("\x02+\r", 3) + Repeat("\x02" "B\r", 500), fsNoResponse},
        {"noise before STX", 1, 0, std::string(100, 'x'), fsError},
        {"Mul line without its end", 5, 0, "OK", fsNoResponse},
        {"Mul line longer than any", 5, 0, std::string(300, '0'), fsError},
        {"Ostrel: no ACK to the selection", 2, 1, "\x15\x15\x15\x15\x15\x15", fsError},
        {"Ostrel: frame without ETX", 2, 1, "\x06\x06\x02" + std::string(100, 'Q'), fsNoResponse},
    };
    for (const Case& c : cases) {
        std::unique_ptr<QFoto> driver;
        if (c.family == 1) driver = std::make_unique<QFotoSlt>();
        else if (c.family == 2) driver = std::make_unique<QFotoOstrel>();
        else driver = std::make_unique<QFotoMul>();
        EXPECT_EQ(Run(*driver, c.replies, c.op), c.status) << c.name << ": " << QFoto::GetErrorText();
        EXPECT_FALSE(QFoto::GetErrorText().empty()) << c.name;
    }
}

}  // namespace
}  // namespace vyn::test
