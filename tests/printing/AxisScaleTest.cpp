// Nice axis scales against hand-worked ranges, and the decade and value labels.
#include <gtest/gtest.h>

#include "printing/AxisScale.h"

namespace vyn {
namespace {

TEST(AxisScale, NiceScalesOfHandWorkedRanges)
{
    struct Row {
        const char* name;
        double low, high;
        double first, last, step;
        int intervals, minor;
    } rows[] = {
        // p = 10: 20 and 10 give 1 interval, 5 gives 2, 2 gives 5.
        {"0..10 steps of 2", 0, 10, 0, 10, 2, 5, 1},
        // p = 10: steps 20 and 10 too coarse, 5 gives 0..25 in 5 with 4 minor ticks.
        {"1..21 steps of 5", 1, 21, 0, 25, 5, 5, 4},
        // p = 1: 0.5 gives 3 intervals, 0.2 gives -0.4..0.8 in 6.
        {"-0.3..0.7 steps of 0.2", -0.3, 0.7, -0.4, 0.8, 0.2, 6, 1},
        // Widened to 2..4 first; p = 1: 0.5 gives 4 intervals.
        {"empty range 3..3", 3, 3, 2, 4, 0.5, 4, 4},
    };
    for (const Row& r : rows) {
        AxisNice a = AxisNiceScale(4, r.low, r.high);
        EXPECT_NEAR(a.first, r.first, 1e-12) << r.name;
        EXPECT_NEAR(a.last, r.last, 1e-12) << r.name;
        EXPECT_NEAR(a.step, r.step, 1e-12) << r.name;
        EXPECT_EQ(a.intervals, r.intervals) << r.name;
        EXPECT_EQ(a.minor, r.minor) << r.name;
    }
    int f = 0, l = 0;
    AxisDecade(f, l, 0.05, 20);
    EXPECT_EQ(f, -2);
    EXPECT_EQ(l, 2);
    AxisDecade(f, l, 5, 5);  // 5..10
    EXPECT_EQ(f, 0);
    EXPECT_EQ(l, 1);
    EXPECT_EQ(AxisDecadeLabel(-2), "0.01");
    EXPECT_EQ(AxisDecadeLabel(3), "1e3");
    EXPECT_EQ(AxisDecadeLabel(-3), "1e-3");
    EXPECT_EQ(AxisValueLabel(0.1 + 0.2), "0.3");
    EXPECT_EQ(AxisValueLabel(1e6), "1e+06");
}

}  // namespace
}  // namespace vyn
