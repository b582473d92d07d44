#pragma once
#include <string>

#include "platform/core/Clock.h"

namespace vyn {

// The user's names and forms for dates and times, as UTF-8 texts.
class TimeLocale {
public:
    virtual ~TimeLocale() = default;
    virtual std::string DayName(int dayOfWeek, bool abbreviated) const = 0;  // 0 Sunday .. 6 Saturday
    virtual std::string MonthName(int month, bool abbreviated) const = 0;    // 1..12
    virtual std::string AmPm(bool afternoon) const = 0;
    // The short date form, e.g. 03/14/2024 or 14.03.2024.
    virtual std::string ShortDate(const LocalTime& t) const = 0;
    // Hours and minutes on the 24-hour clock in the locale's form, without seconds or marker.
    virtual std::string ShortTime(const LocalTime& t) const = 0;
};

// The user's locale (LC_TIME of the environment) unless a test installed another one.
const TimeLocale& CurrentTimeLocale();
// Installs a locale for the whole process; nullptr goes back to the user's one. The caller
// keeps the object alive while it is installed.
void SetTimeLocale(const TimeLocale* locale);

// Fixed English names and forms (M/d/yyyy, HH:mm), whatever the environment says.
class EnglishTimeLocale : public TimeLocale {
public:
    std::string DayName(int dayOfWeek, bool abbreviated) const override;
    std::string MonthName(int month, bool abbreviated) const override;
    std::string AmPm(bool afternoon) const override;
    std::string ShortDate(const LocalTime& t) const override;
    std::string ShortTime(const LocalTime& t) const override;
};

}  // namespace vyn
