#pragma once
#include <cstdint>
#include <string>

namespace vyn {

// The serial port's parameters, loaded from and saved to the "port" key of the settings as
// "COMn:baud,parity,data,stop". A reader driver may lock choices its reader cannot use; the
// setup dialog then offers only what is left.
class QCommSettings {
public:
    static constexpr int kBaudCount = 8;
    static constexpr int kBaudTable[kBaudCount] = {1200, 2400, 4800, 9600, 19200, 38400, 56000, 57600};

    // Locked-choice bits.
    static constexpr std::uint8_t kLock7Bits = 0x01, kLock8Bits = 0x02;
    static constexpr std::uint8_t kLock1Stop = 0x04, kLock2Stop = 0x08;
    static constexpr std::uint8_t kLockNoParity = 0x10, kLockOddParity = 0x20, kLockEvenParity = 0x40;
    static constexpr std::uint8_t kLockDataBits = 0x03, kLockStopBits = 0x0C, kLockParity = 0x70;

    int portIndex = 0;     // 0..8: COM1..COM9
    int baud = 9600;
    int dataBits = 0;      // 0: 7 bits, 1: 8 bits
    int stopBits = 0;      // 0: one, 1: two
    int parity = 2;        // 0 none, 1 odd, 2 even
    std::uint16_t forbiddenRates = 0;  // bit i: kBaudTable[i] is not offered
    std::uint8_t lockedChoices = 0;

    // 1 when the text was taken, 0 when rejected (nothing changed then). Parts the text
    // leaves out keep their values.
    int SetSettingsText(const char* text);
    std::string GetSettingsText();

    void FixDataBits(int v);
    void FixStopBits(int v);
    void FixParity(int v);
    void FixBaud(int rate);

    // Number of table rates not forbidden.
    int AllowedRateCount() const;
};

extern QCommSettings gCommSettings;

}  // namespace vyn
