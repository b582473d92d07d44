#include "document/WellIterators.h"

#include <algorithm>
#include <cstdlib>

#include "plate/QPlate.h"

namespace vyn {

void WellRangeIterator::Begin(int first, int step, int n, int runs, int between)
{
    fN = n;
    fLeft = n;
    fRuns = runs;
    fStep = step;
    fBetween = between;
    fWell = first;
}

int WellRangeIterator::Start(const QPlate& plate, int from, int to, bool byColumns)
{
    if (!plate.IsWell(from) || !plate.IsWell(to)) {
        Begin(-1, 0, 1, 0, 0);
        return -1;
    }
    const int c = plate.columns;
    const int rf = from / c, cf = from % c;
    const int rt = to / c, ct = to % c;
    const bool down = rt >= rf;
    const bool right = ct >= cf;
    if (!byColumns) {
        const int n = std::abs(ct - cf) + 1;
        const int between = down ? (right ? c - n + 1 : c + n - 1) : (right ? 1 - c - n : n - 1 - c);
        Begin(from, right ? 1 : -1, n, std::abs(rt - rf) + 1, between);
    } else {
        const int n = std::abs(rt - rf) + 1;
        const int span = (n - 1) * c;
        const int between = right ? (down ? 1 - span : span + 1) : (down ? -(span + 1) : span - 1);
        Begin(from, down ? c : -c, n, std::abs(ct - cf) + 1, between);
    }
    return from;
}

int WellRangeIterator::Next()
{
    if (fRuns <= 0) return -1;
    if (--fLeft != 0) {
        fWell += fStep;
        return fWell;
    }
    if (--fRuns <= 0) {
        fWell = -1;
        return -1;
    }
    fLeft = fN;
    fWell += fBetween;
    return fWell;
}

int WellBlockIterator::Start(const QPlate& plate, int width, int height, int from, int to, bool byColumns)
{
    const int c = plate.columns;
    int rf = from / c, cf = from % c;
    int rt = to / c, ct = to % c;
    if (width < 1 || height < 1 || !plate.IsWell(from) || !plate.IsWell(to)) {
        Begin(-1, 0, 1, 0, 0);
        return -1;
    }
    if (ct < cf) {
        cf -= width - 1;
        ct -= width - 1;
    }
    if (rt < rf) {
        rf -= height - 1;
        rt -= height - 1;
    }
    if (cf < 0 || cf + width > c || rf < 0 || rf + height > plate.rows) {
        Begin(-1, 0, 1, 0, 0);
        return -1;
    }
    ct = std::clamp(ct, 0, c - width);
    rt = std::clamp(rt, 0, plate.rows - height);
    const int across = ct >= cf ? width : -width;           // next block along a row
    const int downwards = (rt >= rf ? height : -height) * c;  // next block along a column
    if (!byColumns) {
        const int n = std::abs(ct - cf) / width + 1;
        Begin(rf * c + cf, across, n, std::abs(rt - rf) / height + 1, downwards - (n - 1) * across);
    } else {
        const int n = std::abs(rt - rf) / height + 1;
        Begin(rf * c + cf, downwards, n, std::abs(ct - cf) / width + 1, across - (n - 1) * downwards);
    }
    return rf * c + cf;
}

}  // namespace vyn
