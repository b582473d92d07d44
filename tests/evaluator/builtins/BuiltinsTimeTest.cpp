#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

#include "BuiltinsTestSupport.h"
#include "evaluator/FormatTimePicture.h"
#include "platform/core/Clock.h"
#include "platform/core/TimeLocale.h"

namespace vyn::test {
namespace {

// 2024-03-14 00:05:07 and 12:00:00 UTC.
constexpr std::int64_t kJustAfterMidnight = 13354848307000;
constexpr std::int64_t kNoon = 13354891200000;

// Names that cannot be mistaken for any real locale's, one of them with a two-byte letter.
class FakeTimeLocale : public TimeLocale {
public:
    std::string DayName(int d, bool abbreviated) const override
    {
        return (abbreviated ? "D" : "Day") + std::to_string(d);
    }
    std::string MonthName(int m, bool abbreviated) const override
    {
        return (abbreviated ? "Mo" : "Month") + std::to_string(m);
    }
    std::string AmPm(bool afternoon) const override { return afternoon ? "\xC3\xA9vening" : "morning"; }
    std::string ShortDate(const LocalTime& t) const override
    {
        return std::to_string(t.day) + "|" + std::to_string(t.month) + "|" + std::to_string(t.year);
    }
    std::string ShortTime(const LocalTime& t) const override
    {
        return std::to_string(t.hour) + "h" + std::to_string(t.minute);
    }
};

class FixedClock : public FixedClockTest<FakeTimeLocale> {
protected:
    static LocalTime At(std::int64_t ms)
    {
        LocalTime t;
        EXPECT_TRUE(UtcTimeFromMs(ms, t));
        return t;
    }
};

TEST_F(FixedClock, PictureTokens)
{
    struct Row {
        const char* label;
        std::int64_t at;
        const char* picture;
        const char* expected;
    };
    const Row rows[] = {
        {"date and time", kThursdayAfternoon, "dd.MM.yyyy HH:mm", "14.03.2024 15:09"},
        {"short forms", kJustAfterMidnight, "d/M/y H:m:s", "14/3/24 0:5:7"},
        {"two-digit forms", kJustAfterMidnight, "dd/MM/yy HH:mm:ss", "14/03/24 00:05:07"},
        {"names", kThursdayAfternoon, "dddd ddd MMMM MMM", "Day4 D4 Month3 Mo3"},
        {"longest token first", kThursdayAfternoon, "ddddd MMMMM", "Day414 Month33"},
        {"yyy is the full year", kThursdayAfternoon, "yyy|yyyyy", "2024|202424"},
        {"12-hour clock in the afternoon", kThursdayAfternoon, "hh:mm tt|h t", "03:09 \xC3\xA9vening|3 \xC3\xA9"},
        {"12-hour clock at midnight shows 12", kJustAfterMidnight, "h:mm tt", "12:05 morning"},
        {"12-hour clock at noon shows 12", kNoon, "hh tt", "12 \xC3\xA9vening"},
        {"quoted text", kThursdayAfternoon, "'at' HH", "at 15"},
        {"quoted picture letters", kThursdayAfternoon, "'dd MM' dd", "dd MM 14"},
        {"doubled quote", kThursdayAfternoon, "HH''mm", "15'09"},
        {"missing closing quote", kThursdayAfternoon, "HH 'h and mm", "15 h and mm"},
        {"other characters", kThursdayAfternoon, "[D Y S T]", "[D Y S T]"},
        {"empty picture", kThursdayAfternoon, "", ""},
    };
    for (const Row& r : rows) EXPECT_EQ(FormatTimePicture(At(r.at), r.picture), r.expected) << "case: " << r.label;
}

TEST_F(FixedClock, PictureStopsBeforeThePieceThatDoesNotFit)
{
    const LocalTime t = At(kThursdayAfternoon);
    struct Row {
        const char* label;
        const char* picture;
        int size;
        const char* expected;
    };
    const Row rows[] = {
        {"room for the whole text", "yyyy-MM", 8, "2024-03"},
        {"one byte short", "yyyy-MM", 7, "2024-"},
        {"a name needs its whole room", "dd dddd", 7, "14 "},
        {"quoted text goes on character by character", "'abcdef'", 4, "abc"},
        {"a two-byte character is not split", "'a\xC3\xA9'", 3, "a"},
        {"size 1 holds only the terminator", "HH", 1, ""},
    };
    for (const Row& r : rows) {
        char buffer[16];
        std::fill(std::begin(buffer), std::end(buffer), '#');
        const int n = FormatTimePicture(t, r.picture, buffer, r.size);
        EXPECT_EQ(std::string(buffer), r.expected) << "case: " << r.label;
        EXPECT_EQ(n, static_cast<int>(std::string(r.expected).size())) << "case: " << r.label;
        EXPECT_EQ(buffer[r.size], '#') << "case: " << r.label << " wrote past its buffer";
    }
}

TEST_F(FixedClock, Tmstr)
{
    const double now = static_cast<double>(kThursdayAfternoon);
    RunCallCases({
        {"a time", "tmstr", {N(now), T("dd.MM.yyyy HH:mm")}, "'14.03.2024 15:09'"},
        {"fractions of a millisecond truncate", "tmstr", {N(now + 999.9), T("ss")}, "'26'"},
        {"0 is no time", "tmstr", {N(0), T("dd.MM.yyyy")}, "''"},
        {"a missing time", "tmstr", {N(NoValue), T("HH")}, "''"},
        {"long results are cut to whole pieces", "tmstr", {N(now), T(std::string(130, 'x'))},
         "'" + std::string(127, 'x') + "'"},
        {"one argument", "tmstr", {N(now)}, "E1431(tmstr)"},
        {"a text time", "tmstr", {T("x"), T("HH")}, "E1430(tmstr)"},
        {"a number picture", "tmstr", {N(now), N(1)}, "E1430(tmstr)"},
        {"a vector time", "tmstr", {V({now}), T("HH")}, "E1430(tmstr)"},
        {"beyond the calendar", "tmstr", {N(1e300), T("HH")}, "E1430(tmstr)"},
        {"not a number", "tmstr", {N(std::nan("")), T("HH")}, "E1430(tmstr)"},
    });
}

TEST_F(FixedClock, NowTodayAndTime)
{
    struct Row {
        const char* name;
        std::string expected;
    };
    const Row rows[] = {
        {"now", "13354902566000"},
        {"NOW", "13354902566000"},
        {"today", "'14|3|2024'"},
        {"Time", "'15h9'"},
    };
    TEvaluator ev;
    for (const Row& r : rows) {
        TStackVal v = TStackVal::Named(r.name);
        ASSERT_TRUE(ev.GetVar(v)) << r.name;
        EXPECT_EQ(Show(v), r.expected) << r.name;
        EXPECT_EQ(v.Name(), r.name) << "a resolved name keeps its name";
    }
    TStackVal other = TStackVal::Named("nowhere");
    EXPECT_FALSE(ev.GetVar(other));
    EXPECT_TRUE(other.IsUnresolved());
}

}  // namespace
}  // namespace vyn::test
