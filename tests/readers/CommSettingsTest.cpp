#include <gtest/gtest.h>

#include "readers/QCommSettings.h"
#include "readers/TComm.h"

namespace vyn {
namespace {

struct TextCase {
    const char* name;
    const char* text;
    int result;
    const char* after;  // GetSettingsText afterwards, starting from "COM1:9600,E,7,2"
};

TEST(CommSettings, SettingsTextParse)
{
    const TextCase cases[] = {
        {"port and rate only", "COM2:4800", 1, "COM2:4800,E,7,2"},
        {"port zero rejected", "COM0:9600,E,7,2", 0, "COM1:9600,E,7,2"},
        {"no colon rejected", "9600,E,7,2", 0, "COM1:9600,E,7,2"},
        {"colon first rejected", ":9600,N,8,1", 0, "COM1:9600,E,7,2"},
        {"rate not in table kept", "COM3:14400,N,8,1", 1, "COM3:9600,N,8,1"},
        {"all fields", "COM9:57600,O,8,1", 1, "COM9:57600,O,8,1"},
        {"lower-case parity", "COM4:1200,n,7,2", 1, "COM4:1200,N,7,2"},
        {"unknown parity kept", "COM4:1200,X,8,1", 1, "COM4:1200,E,8,1"},
        {"unknown data bits mean 8", "COM1:9600,E,x", 1, "COM1:9600,E,8,2"},
        {"one and a half stop bits", "COM1:9600,E,7,1.5", 1, "COM1:9600,E,7,1"},
        {"unknown stop bits kept", "COM1:9600,E,7,3", 1, "COM1:9600,E,7,2"},
        {"huge rate ignored", "COM1:99999999999999999999,N", 1, "COM1:9600,N,7,2"},
        {"two-digit port takes its last digit", "COM12:9600", 1, "COM2:9600,E,7,2"},
        {"empty rate", "COM5:,N,8,1", 1, "COM5:9600,N,8,1"},
    };
    for (const TextCase& c : cases) {
        QCommSettings s;
        ASSERT_EQ(s.SetSettingsText("COM1:9600,E,7,2"), 1);
        EXPECT_EQ(s.SetSettingsText(c.text), c.result) << c.name;
        EXPECT_EQ(s.GetSettingsText(), c.after) << c.name;
    }
}

TEST(CommSettings, DefaultsFormatAsStartUpText)
{
    QCommSettings s;
    EXPECT_EQ(s.GetSettingsText(), "COM1:9600,E,7,1");
    s.SetSettingsText("COM1:9600,E,7,2");
    EXPECT_EQ(s.GetSettingsText(), "COM1:9600,E,7,2");
    s.parity = 7;  // out of range: written as none
    EXPECT_EQ(s.GetSettingsText(), "COM1:9600,N,7,2");
}

TEST(CommSettings, LocksForbidEveryOtherChoice)
{
    QCommSettings s;
    s.FixBaud(9600);
    EXPECT_EQ(s.baud, 9600);
    EXPECT_EQ(s.AllowedRateCount(), 1);
    EXPECT_EQ(s.forbiddenRates, 0xFF & ~(1 << 3));

    s.FixBaud(14400);  // not in the table: nothing is offered, the rate is still set
    EXPECT_EQ(s.AllowedRateCount(), 0);
    EXPECT_EQ(s.baud, 14400);

    s.FixParity(2);
    EXPECT_EQ(s.parity, 2);
    EXPECT_EQ(s.lockedChoices & QCommSettings::kLockParity,
              QCommSettings::kLockNoParity | QCommSettings::kLockOddParity);
    s.FixParity(0);  // a second lock moves the allowed choice, it does not forbid all
    EXPECT_EQ(s.lockedChoices & QCommSettings::kLockParity,
              QCommSettings::kLockOddParity | QCommSettings::kLockEvenParity);

    s.FixDataBits(1);
    EXPECT_EQ(s.lockedChoices & QCommSettings::kLockDataBits, QCommSettings::kLock7Bits);
    s.FixStopBits(0);
    EXPECT_EQ(s.lockedChoices & QCommSettings::kLockStopBits, QCommSettings::kLock2Stop);
    EXPECT_EQ(s.dataBits, 1);
    EXPECT_EQ(s.stopBits, 0);
}

TEST(CommPort, ClosedPortTransfersNothingAndReportsSuccess)
{
    TComm port;
    char buf[8];
    std::size_t got = 99;
    EXPECT_EQ(port.Write("abc"), 0);
    EXPECT_EQ(port.Read(buf, sizeof buf, got), 0);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(port.CheckLineError(), 0);
    port.Close();  // closing a closed port does nothing
    EXPECT_STREQ(TComm::PortName(0), "COM1");
    EXPECT_STREQ(TComm::PortName(8), "COM9");
}

TEST(CommPort, LineErrorMessageIsTheLowestBit)
{
    EXPECT_EQ(TComm::LineErrorMessageId(0x01), 6012);
    EXPECT_EQ(TComm::LineErrorMessageId(0x0C), 6014);
    EXPECT_EQ(TComm::LineErrorMessageId(0x20), 6017);
    EXPECT_EQ(TComm::LineErrorMessageId(0x40), 6018);
}

}  // namespace
}  // namespace vyn
