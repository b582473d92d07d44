#include "platform/core/Clock.h"

#include <atomic>
#include <chrono>
#include <ctime>

namespace vyn {

namespace {
std::atomic<NowMsSource> gNowSource{nullptr};
std::atomic<LocalTimeConverter> gLocalConverter{nullptr};
std::atomic<MonotonicNsSource> gMonotonicSource{nullptr};

std::int64_t SystemNowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() + kUnixEpochMs;
}

std::int64_t MonotonicNs()
{
    if (MonotonicNsSource src = gMonotonicSource.load()) return src();
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

// Floor division, so moments before 1970 fall into the right second.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}

// Years 1..9999 (UTC), which keeps every intermediate well inside 64 bits.
bool InCalendarRange(std::int64_t ms)
{
    constexpr std::int64_t kMin = -50491123200000LL;  // 0001-01-01 from 1601
    constexpr std::int64_t kMax = 253402300799999LL;  // 9999-12-31 23:59:59.999 from 1970
    return ms >= kMin && ms - kUnixEpochMs <= kMax;
}

bool SystemLocalTime(std::int64_t ms, LocalTime& out)
{
    if (!InCalendarRange(ms)) return false;
    const std::int64_t unixMs = ms - kUnixEpochMs;
    const std::time_t secs = static_cast<std::time_t>(FloorDiv(unixMs, 1000));
    std::tm tm {};
    if (!localtime_r(&secs, &tm)) return false;
    out.year = tm.tm_year + 1900;
    out.month = tm.tm_mon + 1;
    out.day = tm.tm_mday;
    out.hour = tm.tm_hour;
    out.minute = tm.tm_min;
    out.second = tm.tm_sec;
    out.millisecond = static_cast<int>(unixMs - FloorDiv(unixMs, 1000) * 1000);
    out.dayOfWeek = tm.tm_wday;
    return true;
}
}  // namespace

std::int64_t NowMs()
{
    if (NowMsSource src = gNowSource.load()) return src();
    return SystemNowMs();
}

void SetNowMsSource(NowMsSource source)
{
    gNowSource.store(source);
}

bool UtcTimeFromMs(std::int64_t ms, LocalTime& out)
{
    if (!InCalendarRange(ms)) return false;
    const std::int64_t unixMs = ms - kUnixEpochMs;
    const std::int64_t days = FloorDiv(unixMs, 86400000);
    std::int64_t rest = unixMs - days * 86400000;
    out.hour = static_cast<int>(rest / 3600000);
    rest %= 3600000;
    out.minute = static_cast<int>(rest / 60000);
    rest %= 60000;
    out.second = static_cast<int>(rest / 1000);
    out.millisecond = static_cast<int>(rest % 1000);
    out.dayOfWeek = static_cast<int>(((days % 7) + 7 + 4) % 7);  // 1970-01-01 was a Thursday
    // Civil date from a day count (proleptic Gregorian calendar).
    const std::int64_t z = days + 719468;
    const std::int64_t era = FloorDiv(z, 146097);
    const std::int64_t doe = z - era * 146097;
    const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const std::int64_t mp = (5 * doy + 2) / 153;
    out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2 ? 1 : 0));
    return true;
}

bool LocalTimeFromMs(std::int64_t ms, LocalTime& out)
{
    if (LocalTimeConverter conv = gLocalConverter.load()) return conv(ms, out);
    return SystemLocalTime(ms, out);
}

void SetLocalTimeConverter(LocalTimeConverter converter)
{
    gLocalConverter.store(converter);
}

std::uint32_t GetTickMs()
{
    return static_cast<std::uint32_t>(MonotonicNs() / 1000000);
}

void SetMonotonicNsSource(MonotonicNsSource source)
{
    gMonotonicSource.store(source);
}

void QStopwatch::Start()
{
    start_ = MonotonicNs();
}

void QStopwatch::Restart()
{
    start_ = MonotonicNs();
}

bool QStopwatch::Passed(long ms) const
{
    const double elapsedMs = static_cast<double>(MonotonicNs() - start_) / 1e6;
    return elapsedMs > static_cast<double>(ms);
}

void WaitMs(long ms)
{
    QStopwatch watch;
    while (!watch.Passed(ms)) {
    }
}

}  // namespace vyn
