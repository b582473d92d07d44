#include "evaluator/FormatTimePicture.h"

#include <string>

#include "platform/core/TimeLocale.h"

namespace vyn {

namespace {
std::string Number(int value, bool twoDigits)
{
    std::string s = std::to_string(value);
    if (twoDigits && s.size() < 2) s.insert(0, 1, '0');
    return s;
}

std::string FourDigits(int value)
{
    std::string s = std::to_string(value);
    if (s.size() < 4) s.insert(0, 4 - s.size(), '0');
    return s;
}

// Bytes of the UTF-8 character that starts at s[i] (a stray byte counts alone).
std::size_t CharBytes(std::string_view s, std::size_t i)
{
    const unsigned char c = static_cast<unsigned char>(s[i]);
    std::size_t n = c < 0xC0 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    std::size_t k = 1;
    while (k < n && i + k < s.size() && (static_cast<unsigned char>(s[i + k]) & 0xC0) == 0x80) ++k;
    return k;
}

// How many times c repeats at pos, at most max.
std::size_t RunLength(std::string_view s, std::size_t pos, char c, std::size_t max)
{
    std::size_t n = 0;
    while (n < max && pos + n < s.size() && s[pos + n] == c) ++n;
    return n;
}

class PictureWriter {
public:
    PictureWriter(char* buffer, int size) : fBuffer(buffer), fSize(size > 0 ? static_cast<std::size_t>(size) : 0) {}
    // Appends a piece when it leaves room for the terminator; false ends the expansion.
    bool Put(std::string_view piece)
    {
        if (piece.size() >= fSize - fLength) return false;
        piece.copy(fBuffer + fLength, piece.size());
        fLength += piece.size();
        return true;
    }
    int Finish()
    {
        if (fSize > 0) fBuffer[fLength] = '\0';
        return static_cast<int>(fLength);
    }

private:
    char* fBuffer;
    std::size_t fSize;
    std::size_t fLength = 0;
};
}  // namespace

int FormatTimePicture(const LocalTime& t, std::string_view picture, char* buffer, int size)
{
    return FormatTimePicture(t, picture, buffer, size, CurrentTimeLocale());
}

int FormatTimePicture(const LocalTime& t, std::string_view picture, char* buffer, int size,
                      const TimeLocale& locale)
{
    PictureWriter out(buffer, size);
    if (size <= 0) return 0;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        std::string piece;
        std::size_t used = 1;
        switch (c) {
        case 'd':
            used = RunLength(picture, i, 'd', 4);
            piece = used >= 3 ? locale.DayName(t.dayOfWeek, used == 3) : Number(t.day, used == 2);
            break;
        case 'M':
            used = RunLength(picture, i, 'M', 4);
            piece = used >= 3 ? locale.MonthName(t.month, used == 3) : Number(t.month, used == 2);
            break;
        case 'y':
            used = RunLength(picture, i, 'y', 4);
            piece = used >= 3 ? FourDigits(t.year) : Number(t.year % 100, true);
            break;
        case 'h':
            // A 12-hour clock shows 12 at noon and midnight, never 0.
            used = RunLength(picture, i, 'h', 2);
            piece = Number(t.hour % 12 == 0 ? 12 : t.hour % 12, used == 2);
            break;
        case 'H':
            used = RunLength(picture, i, 'H', 2);
            piece = Number(t.hour, used == 2);
            break;
        case 'm':
            used = RunLength(picture, i, 'm', 2);
            piece = Number(t.minute, used == 2);
            break;
        case 's':
            used = RunLength(picture, i, 's', 2);
            piece = Number(t.second, used == 2);
            break;
        case 't':
            used = RunLength(picture, i, 't', 2);
            piece = locale.AmPm(t.hour >= 12);
            if (used == 1 && !piece.empty()) piece.resize(CharBytes(piece, 0));
            break;
        case '\'':
            if (i + 1 < picture.size() && picture[i + 1] == '\'') {
                piece = "'";
                used = 2;
                break;
            }
            // A quoted run, copied character by character up to the closing quote or the end.
            for (++i; i < picture.size() && picture[i] != '\''; i += used) {
                used = CharBytes(picture, i);
                if (!out.Put(picture.substr(i, used))) return out.Finish();
            }
            if (i < picture.size()) ++i;  // the closing quote
            continue;
        default:
            used = CharBytes(picture, i);
            piece = std::string(picture.substr(i, used));
            break;
        }
        if (!out.Put(piece)) break;
        i += used;
    }
    return out.Finish();
}

std::string FormatTimePicture(const LocalTime& t, std::string_view picture, int size)
{
    if (size <= 0) return {};
    std::string buffer(static_cast<std::size_t>(size), '\0');
    buffer.resize(static_cast<std::size_t>(FormatTimePicture(t, picture, buffer.data(), size)));
    return buffer;
}

}  // namespace vyn
