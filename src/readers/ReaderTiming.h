#pragma once

namespace vyn {

// The drivers' waits, pauses and time-outs are the instrument's own (in ms). Tests against
// the emulator run them in a fraction of that time; the port's read time-out is set on the
// port itself and is not scaled. 0 waits not at all, for a port in memory whose replies are
// all there at once.
void SetReaderTimeScale(int percent);
int ReaderTimeScale();
// ms at the current scale; a non-zero time stays at least 1 ms unless the scale is 0.
long ScaledMs(long ms);

}  // namespace vyn
