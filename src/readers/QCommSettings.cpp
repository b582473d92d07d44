#include "readers/QCommSettings.h"

#include <cstring>

namespace vyn {

QCommSettings gCommSettings;

int QCommSettings::SetSettingsText(const char* text)
{
    if (!text) return 0;
    const char* colon = std::strchr(text, ':');
    if (!colon || colon == text) return 0;
    const char digit = colon[-1];
    if (digit < '1' || digit > '9') return 0;
    portIndex = digit - '1';

    const char* p = colon + 1;
    long rate = 0;
    // More digits than any rate has would only overflow; such a rate is not in the table.
    int digits = 0;
    while (*p >= '0' && *p <= '9') {
        if (++digits <= 9) rate = rate * 10 + (*p - '0');
        ++p;
    }
    for (int r : kBaudTable)
        if (digits <= 9 && rate == r) baud = r;

    const char* comma = std::strchr(colon, ',');
    if (!comma) return 1;
    switch (comma[1]) {
    case 'E': case 'e': parity = 2; break;
    case 'N': case 'n': parity = 0; break;
    case 'O': case 'o': parity = 1; break;
    default: break;
    }
    comma = std::strchr(comma + 1, ',');
    if (!comma) return 1;
    dataBits = comma[1] == '7' ? 0 : 1;
    comma = std::strchr(comma + 1, ',');
    if (!comma) return 1;
    // "1.5" counts as one stop bit: the port knows only one and two.
    if (comma[1] == '2') stopBits = 1;
    else if (comma[1] == '1') stopBits = 0;
    return 1;
}

std::string QCommSettings::GetSettingsText()
{
    if (parity < 0 || parity > 2) parity = 0;
    std::string s = "COM" + std::to_string(portIndex + 1) + ":" + std::to_string(baud) + ",";
    s += "NOE"[parity];
    s += ',';
    s += dataBits == 0 ? '7' : '8';
    s += ',';
    s += stopBits == 0 ? '1' : '2';
    return s;
}

void QCommSettings::FixDataBits(int v)
{
    lockedChoices = static_cast<std::uint8_t>((lockedChoices & ~kLockDataBits) | (v == 0 ? kLock8Bits : kLock7Bits));
    dataBits = v;
}

void QCommSettings::FixStopBits(int v)
{
    lockedChoices = static_cast<std::uint8_t>((lockedChoices & ~kLockStopBits) | (v == 0 ? kLock2Stop : kLock1Stop));
    stopBits = v;
}

void QCommSettings::FixParity(int v)
{
    static constexpr std::uint8_t bit[3] = {kLockNoParity, kLockOddParity, kLockEvenParity};
    lockedChoices = static_cast<std::uint8_t>(lockedChoices & ~kLockParity);
    for (int i = 0; i < 3; ++i)
        if (i != v) lockedChoices |= bit[i];
    parity = v;
}

void QCommSettings::FixBaud(int rate)
{
    forbiddenRates = (1u << kBaudCount) - 1;
    for (int i = kBaudCount - 1; i >= 0; --i) {
        if (kBaudTable[i] == rate) {
            forbiddenRates &= static_cast<std::uint16_t>(~(1u << i));
            break;
        }
    }
    baud = rate;
}

int QCommSettings::AllowedRateCount() const
{
    int n = 0;
    for (int i = 0; i < kBaudCount; ++i)
        if (!(forbiddenRates & (1u << i))) ++n;
    return n;
}

}  // namespace vyn
