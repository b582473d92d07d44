#include "platform/core/TimeLocale.h"

#include <atomic>
#include <ctime>
#include <langinfo.h>
#include <locale.h>

#include "platform/core/Utf8Text.h"

namespace vyn {

namespace {

const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};
const char* const kMonths[] = {"January", "February", "March",     "April",   "May",      "June",
                               "July",    "August",   "September", "October", "November", "December"};

// A locale in a single-byte code set gives its names in that code set; Latin-1 covers the
// accented names of the usual western locales.
std::string ToUtf8(const std::string& s)
{
    if (IsValidUtf8(s)) return s;
    std::string out;
    for (unsigned char c : s) AppendUtf8(out, c);
    return out;
}

std::tm ToTm(const LocalTime& t)
{
    std::tm tm {};
    tm.tm_year = t.year - 1900;
    tm.tm_mon = t.month - 1;
    tm.tm_mday = t.day;
    tm.tm_hour = t.hour;
    tm.tm_min = t.minute;
    tm.tm_sec = t.second;
    tm.tm_wday = t.dayOfWeek;
    return tm;
}

int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

class UserTimeLocale : public TimeLocale {
public:
    UserTimeLocale()
    {
        loc_ = newlocale(LC_ALL_MASK, "", static_cast<locale_t>(nullptr));
        if (!loc_) loc_ = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        timeFormat_ = TimeWithoutSeconds(loc_ ? nl_langinfo_l(T_FMT, loc_) : "%H:%M:%S");
    }
    ~UserTimeLocale() override
    {
        if (loc_) freelocale(loc_);
    }

    std::string DayName(int dayOfWeek, bool abbreviated) const override
    {
        std::tm tm {};
        tm.tm_wday = Clamp(dayOfWeek, 0, 6);
        return Format(abbreviated ? "%a" : "%A", tm);
    }
    std::string MonthName(int month, bool abbreviated) const override
    {
        std::tm tm {};
        tm.tm_mon = Clamp(month, 1, 12) - 1;
        return Format(abbreviated ? "%b" : "%B", tm);
    }
    std::string AmPm(bool afternoon) const override
    {
        std::tm tm {};
        tm.tm_hour = afternoon ? 13 : 1;
        return Format("%p", tm);
    }
    std::string ShortDate(const LocalTime& t) const override { return Format("%x", ToTm(t)); }
    std::string ShortTime(const LocalTime& t) const override { return Format(timeFormat_.c_str(), ToTm(t)); }

private:
    std::string Format(const char* format, const std::tm& tm) const
    {
        char buf[256];
        const std::size_t n = loc_ ? strftime_l(buf, sizeof buf, format, &tm, loc_) : 0;
        return ToUtf8(std::string(buf, n));
    }

    // The locale's time form turned to the 24-hour clock, without seconds and without the
    // morning/afternoon marker.
    static std::string TimeWithoutSeconds(const char* fmt)
    {
        std::string in;
        for (const char* p = fmt; *p; ++p) {
            if (p[0] == '%' && (p[1] == 'T' || p[1] == 'r')) {
                in += "%H:%M:%S";
                ++p;
            } else if (p[0] == '%' && p[1] == 'R') {
                in += "%H:%M";
                ++p;
            } else {
                in += *p;
                if (*p == '%' && p[1]) in += *++p;
            }
        }
        std::string out;
        for (std::size_t i = 0; i < in.size(); ++i) {
            if (in[i] != '%' || i + 1 >= in.size()) {
                out += in[i];
                continue;
            }
            const char c = in[++i];
            if (c == 'S') {
                // drop the separator written before the seconds as well
                while (!out.empty() && out.back() != 'M' && out.back() != 'H') out.pop_back();
            } else if (c == 'p' || c == 'P') {
                while (!out.empty() && out.back() == ' ') out.pop_back();
            } else {
                out += '%';
                out += (c == 'I') ? 'H' : (c == 'l') ? 'k' : c;
            }
        }
        return out.empty() ? "%H:%M" : out;
    }

    locale_t loc_ = nullptr;
    std::string timeFormat_;
};

std::atomic<const TimeLocale*> gInstalled{nullptr};

}  // namespace

const TimeLocale& CurrentTimeLocale()
{
    if (const TimeLocale* loc = gInstalled.load()) return *loc;
    static const UserTimeLocale user;
    return user;
}

void SetTimeLocale(const TimeLocale* locale)
{
    gInstalled.store(locale);
}

std::string EnglishTimeLocale::DayName(int dayOfWeek, bool abbreviated) const
{
    const std::string name = kDays[Clamp(dayOfWeek, 0, 6)];
    return abbreviated ? name.substr(0, 3) : name;
}

std::string EnglishTimeLocale::MonthName(int month, bool abbreviated) const
{
    const std::string name = kMonths[Clamp(month, 1, 12) - 1];
    return abbreviated ? name.substr(0, 3) : name;
}

std::string EnglishTimeLocale::AmPm(bool afternoon) const
{
    return afternoon ? "PM" : "AM";
}

std::string EnglishTimeLocale::ShortDate(const LocalTime& t) const
{
    return std::to_string(t.month) + "/" + std::to_string(t.day) + "/" + std::to_string(t.year);
}

std::string EnglishTimeLocale::ShortTime(const LocalTime& t) const
{
    auto two = [](int v) { return std::string(v < 10 ? "0" : "") + std::to_string(v); };
    return two(t.hour) + ":" + two(t.minute);
}

}  // namespace vyn
