#pragma once
#include <cstdint>

namespace vyn {

// Wall clock: UTC milliseconds since 1 January 1601, the unit of measurement stamps and of
// the expression language's time functions.
std::int64_t NowMs();
// Tests fix "now" here; nullptr restores the system clock.
using NowMsSource = std::int64_t (*)();
void SetNowMsSource(NowMsSource source);

// Milliseconds between 1 January 1601 and 1 January 1970.
inline constexpr std::int64_t kUnixEpochMs = 11644473600000LL;

// A moment broken down into calendar fields.
struct LocalTime {
    int year = 1601;
    int month = 1;       // 1..12
    int day = 1;         // 1..31
    int hour = 0;        // 0..23
    int minute = 0;
    int second = 0;
    int millisecond = 0;
    int dayOfWeek = 1;   // 0 Sunday .. 6 Saturday
};

// ms (as NowMs gives) in the user's time zone; false when the moment is out of the
// calendar's range. Tests may set a converter (e.g. UtcTimeFromMs) for a fixed zone.
bool LocalTimeFromMs(std::int64_t ms, LocalTime& out);
using LocalTimeConverter = bool (*)(std::int64_t ms, LocalTime& out);
void SetLocalTimeConverter(LocalTimeConverter converter);
// The same moment in UTC, computed without the C library.
bool UtcTimeFromMs(std::int64_t ms, LocalTime& out);

// A monotonic tick count in milliseconds; wraps after 49.7 days like the system's.
std::uint32_t GetTickMs();

// Monotonic clock in nanoseconds behind QStopwatch; tests may replace it (nullptr restores).
using MonotonicNsSource = std::int64_t (*)();
void SetMonotonicNsSource(MonotonicNsSource source);

// Millisecond stop-watch for the reader drivers' pauses and time-outs; safe to use on
// worker threads.
class QStopwatch {
public:
    QStopwatch() { Start(); }
    void Start();
    void Restart();
    // True once strictly more than ms milliseconds have passed since the last (re)start.
    bool Passed(long ms) const;

private:
    std::int64_t start_ = 0;
};

// Busy-waits ms milliseconds: no sleep and no message processing, for short pauses
// between reader commands.
void WaitMs(long ms);

}  // namespace vyn
