// The clock built-ins: "now", "today", "time" and tmstr.
#include <cmath>
#include <cstdint>
#include <string>

#include "evaluator/BuiltinArgs.h"
#include "evaluator/Builtins.h"
#include "evaluator/FormatTimePicture.h"
#include "evaluator/NoValue.h"
#include "platform/core/Clock.h"
#include "platform/core/StringTable.h"
#include "platform/core/TimeLocale.h"

namespace vyn {

namespace {
constexpr int kTimeTextBytes = 128;  // with the terminator

std::string LocalNowText(bool date)
{
    LocalTime t;
    if (!LocalTimeFromMs(NowMs(), t)) return {};
    const TimeLocale& locale = CurrentTimeLocale();
    return CutUtf8(date ? locale.ShortDate(t) : locale.ShortTime(t), kTimeTextBytes - 1);
}
}  // namespace

bool GetBuiltinVar(TStackVal& value)
{
    const std::string& name = value.Name();
    if (EqualsNoCase(name, "now")) {
        value.SetNumber(static_cast<double>(NowMs()));
    } else if (EqualsNoCase(name, "today")) {
        value.SetText(LocalNowText(true));
    } else if (EqualsNoCase(name, "time")) {
        value.SetText(LocalNowText(false));
    } else {
        return false;
    }
    return true;
}

// tmstr(t, picture): t in milliseconds since 1601 (as "now" gives) written in local time.
void BuiltinTmstr(TStackVal* args, int count)
{
    RequireArgCount(args, count, 2, 2);
    if (!args[1].IsNumber() || !args[2].IsText()) ThrowWrongArgument(args);
    const double t = args[1].Number();
    TStackVal r;
    if (t == NoValue || t == 0.0) {
        r.SetText("");
    } else {
        // A moment outside the calendar (or not a number at all) is no time to write.
        LocalTime local;
        if (!(std::fabs(t) < 9.0e18) || !LocalTimeFromMs(static_cast<std::int64_t>(t), local))
            ThrowWrongArgument(args);
        r.SetText(FormatTimePicture(local, args[2].Text(), kTimeTextBytes));
    }
    SetResult(args, r);
}

}  // namespace vyn
