#include "readers/ReaderTiming.h"

#include <atomic>

namespace vyn {

namespace {
std::atomic<int> gScalePercent{100};
}

void SetReaderTimeScale(int percent) { gScalePercent = percent < 0 ? 0 : percent; }

int ReaderTimeScale() { return gScalePercent; }

long ScaledMs(long ms)
{
    if (ms <= 0 || gScalePercent == 0) return 0;
    const long scaled = ms * gScalePercent / 100;
    return scaled < 1 ? 1 : scaled;
}

}  // namespace vyn
