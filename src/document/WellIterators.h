#pragma once
// Walks over the wells of a swept rectangle, well by well or block by block, in the fill
// direction of the layout tools. Wells are numbered row by row from 0.
namespace vyn {

class QPlate;

class WellRangeIterator {
public:
    // The rectangle spanned by from and to (corners included), along rows or along
    // columns, each run going from from's column (row) towards to's. Answers from; -1 (and
    // nothing to walk) when either corner lies off the plate.
    int Start(const QPlate& plate, int from, int to, bool byColumns);
    // The next well; -1 once the rectangle is exhausted, and from then on.
    int Next();

protected:
    // One walk over a grid of positions: runs of n positions step apart, runs of them
    // between apart (from the last position of a run to the first of the next).
    void Begin(int first, int step, int n, int runs, int between);

private:
    int fN = 0;
    int fLeft = 0;
    int fRuns = 0;
    int fStep = 0;
    int fBetween = 0;
    int fWell = -1;
};

class WellBlockIterator : public WellRangeIterator {
public:
    // Blocks of width x height wells laid side by side from from towards to; a block
    // clicked at to's side of from has that well as its right (bottom) edge. Answers the
    // top-left well of the first block, or -1 when that block does not fit on the plate;
    // later blocks are cut off so that the last one ends at the plate's edge.
    int Start(const QPlate& plate, int width, int height, int from, int to, bool byColumns);
};

}  // namespace vyn
