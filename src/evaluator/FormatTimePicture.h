#pragma once
// Dates and times written by a picture such as "dd.MM.yyyy HH:mm" or "dddd, MMMM d 'at' h tt".
//
// Picture letters: d dd (day), ddd dddd (abbreviated / full day name), M MM (month), MMM MMMM
// (month name), y yy (year in the century), yyy yyyy (four-digit year), h hh (12-hour clock,
// 1..12), H HH (24-hour clock), m mm (minute), s ss (second), t tt (first character of / the
// whole morning or afternoon designator); doubled letters have a leading zero. Text between
// single quotes is copied as it stands, '' gives one quote, and every other character is
// copied. Names come from the installed TimeLocale.
#include <string>
#include <string_view>

#include "platform/core/Clock.h"

namespace vyn {

class TimeLocale;

// Expands picture into buffer of size bytes (terminator included). The expansion stops before
// the first piece that does not fit, so a short buffer holds whole pieces only; returns the
// length written.
int FormatTimePicture(const LocalTime& t, std::string_view picture, char* buffer, int size);
int FormatTimePicture(const LocalTime& t, std::string_view picture, char* buffer, int size,
                      const TimeLocale& locale);

// The same into a string, as a buffer of size bytes would hold it.
std::string FormatTimePicture(const LocalTime& t, std::string_view picture, int size = 128);

}  // namespace vyn
