#include <gtest/gtest.h>

#include <chrono>

#include "platform/core/Clock.h"
#include "platform/core/InputHooks.h"
#include "platform/core/TimeLocale.h"

namespace vyn {
namespace {

TEST(Clock, NowCountsMillisecondsSince1601)
{
    // The bounds come from the same clock NowMs reads: std::time may lag it by up to a
    // second just after a second boundary.
    using namespace std::chrono;
    const auto unixMs = [] {
        return static_cast<std::int64_t>(
            duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count());
    };
    const std::int64_t before = unixMs();
    const std::int64_t now = NowMs();
    const std::int64_t after = unixMs();
    EXPECT_GE(now, before + 11644473600000LL);
    EXPECT_LE(now, after + 11644473600000LL);

    SetNowMsSource([]() -> std::int64_t { return 42; });
    EXPECT_EQ(NowMs(), 42);
    SetNowMsSource(nullptr);
    EXPECT_GT(NowMs(), 42);
}

// Reference dates computed with Python's datetime (UTC, proleptic Gregorian calendar):
// (datetime(...) - datetime(1601, 1, 1)) in milliseconds, and strftime('%A').
TEST(Clock, UtcBreakdownMatchesCalendarReference)
{
    struct Row {
        std::int64_t ms;
        int year, month, day, hour, minute, second, millisecond, dayOfWeek;
    };
    static const Row rows[] = {
        {0, 1601, 1, 1, 0, 0, 0, 0, 1},
        {11644473600000LL, 1970, 1, 1, 0, 0, 0, 0, 4},
        {12596301296789LL, 2000, 2, 29, 12, 34, 56, 789, 2},
        {9440668799999LL, 1900, 3, 1, 23, 59, 59, 999, 4},
        {13380076800001LL, 2024, 12, 31, 0, 0, 0, 1, 2},
        {-50491123200000LL, 1, 1, 1, 0, 0, 0, 0, 1},
    };
    for (const Row& r : rows) {
        LocalTime t;
        ASSERT_TRUE(UtcTimeFromMs(r.ms, t)) << r.ms;
        EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second, t.millisecond, t.dayOfWeek}),
                  (std::vector<int>{r.year, r.month, r.day, r.hour, r.minute, r.second, r.millisecond, r.dayOfWeek}))
            << r.ms;
    }
    LocalTime t;
    EXPECT_FALSE(UtcTimeFromMs(INT64_MAX, t));
    EXPECT_FALSE(UtcTimeFromMs(INT64_MIN, t));
}

TEST(Clock, LocalTimeGoesThroughTheConverterSeam)
{
    SetLocalTimeConverter(&UtcTimeFromMs);
    LocalTime t;
    ASSERT_TRUE(LocalTimeFromMs(12596301296789LL, t));
    SetLocalTimeConverter(nullptr);
    EXPECT_EQ(t.hour, 12);
    EXPECT_FALSE(LocalTimeFromMs(INT64_MAX, t)) << "the system conversion must refuse, not wrap";
}

std::int64_t gFakeNs = 0;
std::int64_t FakeNs()
{
    return gFakeNs;
}
std::int64_t AdvancingNs()
{
    return gFakeNs += 250000;  // a quarter millisecond per reading
}

TEST(Stopwatch, PassedIsStrictlyMoreThanTheInterval)
{
    gFakeNs = 1000;
    SetMonotonicNsSource(&FakeNs);
    QStopwatch w;
    EXPECT_FALSE(w.Passed(0)) << "no time has passed yet";
    gFakeNs += 1;
    EXPECT_TRUE(w.Passed(0));
    EXPECT_FALSE(w.Passed(100));
    gFakeNs = 1000 + 100000000;
    EXPECT_FALSE(w.Passed(100)) << "exactly 100 ms is not more than 100 ms";
    gFakeNs += 1;
    EXPECT_TRUE(w.Passed(100));
    w.Restart();
    EXPECT_FALSE(w.Passed(0));

    gFakeNs = 0;
    SetMonotonicNsSource(&AdvancingNs);
    WaitMs(10);
    SetMonotonicNsSource(nullptr);
    EXPECT_GT(gFakeNs, 10000000);
    EXPECT_LE(gFakeNs, 10000000 + 2 * 250000);
}

TEST(Stopwatch, RealClockAdvances)
{
    QStopwatch w;
    WaitMs(2);
    EXPECT_TRUE(w.Passed(1));
}

TEST(TimeLocale, InstalledLocaleReplacesTheUsersOne)
{
    static const EnglishTimeLocale english;
    SetTimeLocale(&english);
    const TimeLocale& loc = CurrentTimeLocale();
    LocalTime t;
    UtcTimeFromMs(12596301296789LL, t);
    EXPECT_EQ(loc.DayName(t.dayOfWeek, false), "Tuesday");
    EXPECT_EQ(loc.DayName(0, true), "Sun");
    EXPECT_EQ(loc.MonthName(9, true), "Sep");
    EXPECT_EQ(loc.MonthName(2, false), "February");
    EXPECT_EQ(loc.AmPm(true), "PM");
    EXPECT_EQ(loc.ShortDate(t), "2/29/2000");
    EXPECT_EQ(loc.ShortTime(t), "12:34");
    SetTimeLocale(nullptr);
    EXPECT_NE(&CurrentTimeLocale(), &english);
    EXPECT_FALSE(CurrentTimeLocale().MonthName(1, false).empty());
}

int gFlushes = 0;
TEST(InputHooks, FlushIsANoOpUntilTheWindowLayerInstallsIt)
{
    FlushInputMessages();
    SetFlushInputHook([] { ++gFlushes; });
    FlushInputMessages();
    SetFlushInputHook(nullptr);
    FlushInputMessages();
    EXPECT_EQ(gFlushes, 1);
}

}  // namespace
}  // namespace vyn
