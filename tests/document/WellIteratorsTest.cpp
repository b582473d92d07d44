#include <gtest/gtest.h>

#include <string>

#include "document/WellIterators.h"
#include "plate/QPlate.h"

namespace vyn {
namespace {

std::string Name(const QPlate& p, int w)
{
    return w < 0 ? "-1" : p.FormatWellName(w);
}

int At(const char* name)
{
    return (name[0] - 'A') * 12 + std::stoi(name + 1) - 1;
}

TEST(WellRangeIterator, WalksTheRectangleInFillDirection)
{
    const struct {
        const char* name;
        const char* from;
        const char* to;
        bool byColumns;
        const char* walk;
    } rows[] = {
        {"rows, down right", "A1", "B3", false, "A1 A2 A3 B1 B2 B3"},
        {"columns, down right", "A1", "B3", true, "A1 B1 A2 B2 A3 B3"},
        {"rows, up left", "B3", "A1", false, "B3 B2 B1 A3 A2 A1"},
        {"columns, up left", "B3", "A1", true, "B3 A3 B2 A2 B1 A1"},
        {"rows, down left", "A3", "B2", false, "A3 A2 B3 B2"},
        {"rows, up right", "B2", "A3", false, "B2 B3 A2 A3"},
        {"columns, down left", "A3", "C2", true, "A3 B3 C3 A2 B2 C2"},
        {"columns, up right", "C2", "A3", true, "C2 B2 A2 C3 B3 A3"},
        {"one well", "D7", "D7", false, "D7"},
        {"one row to the far edge", "H10", "H12", false, "H10 H11 H12"},
    };
    QPlate p;
    for (const auto& r : rows) {
        WellRangeIterator it;
        std::string walk;
        for (int w = it.Start(p, At(r.from), At(r.to), r.byColumns); w >= 0; w = it.Next()) {
            if (!walk.empty()) walk += ' ';
            walk += Name(p, w);
            ASSERT_LT(walk.size(), 400u) << r.name << ": the walk does not end";
        }
        EXPECT_EQ(walk, r.walk) << r.name;
        EXPECT_EQ(it.Next(), -1) << r.name << ": an exhausted walk stays exhausted";
    }
}

TEST(WellRangeIterator, RefusesCornersOffThePlate)
{
    QPlate p;
    WellRangeIterator it;
    EXPECT_EQ(it.Start(p, -1, 5, false), -1);
    EXPECT_EQ(it.Next(), -1);
    EXPECT_EQ(it.Start(p, 0, 96, false), -1);
}

TEST(WellBlockIterator, LaysBlocksSideBySideAndStopsAtTheEdge)
{
    const struct {
        const char* name;
        int width, height;
        const char* from;
        const char* to;
        bool byColumns;
        const char* walk;
    } rows[] = {
        {"doublets across a row", 2, 1, "A1", "A6", false, "A1 A3 A5"},
        {"doublets across, two rows", 2, 1, "A1", "B4", false, "A1 A3 B1 B3"},
        {"doublets down by columns", 1, 2, "A1", "D2", true, "A1 C1 A2 C2"},
        {"first block crosses the right edge", 2, 1, "A12", "A12", false, "-1"},
        {"first block crosses the bottom", 1, 2, "H1", "H1", false, "-1"},
        {"later blocks clamped to the edge", 2, 1, "A8", "A12", false, "A8 A10"},
        {"clicked well is the right edge going left", 2, 1, "A6", "A1", false, "A5 A3 A1"},
        {"clicked well is the bottom going up", 1, 2, "D1", "A1", true, "C1 A1"},
        {"a single block at the start of the sweep", 2, 1, "A1", "A1", false, "A1"},
        {"three by two blocks", 3, 2, "A1", "D12", false, "A1 A4 A7 A10 C1 C4 C7 C10"},
    };
    QPlate p;
    for (const auto& r : rows) {
        WellBlockIterator it;
        std::string walk;
        for (int w = it.Start(p, r.width, r.height, At(r.from), At(r.to), r.byColumns);; w = it.Next()) {
            if (!walk.empty()) walk += ' ';
            walk += Name(p, w);
            if (w < 0) break;
            ASSERT_LT(walk.size(), 400u) << r.name << ": the walk does not end";
        }
        // The walk text ends with the -1 that ended it; a walk that never started is "-1".
        const std::string expected = std::string(r.walk) == "-1" ? "-1" : std::string(r.walk) + " -1";
        EXPECT_EQ(walk, expected) << r.name;
    }
}

}  // namespace
}  // namespace vyn
