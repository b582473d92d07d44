#include <gtest/gtest.h>

#include "evaluator/NoValue.h"
#include "plate/QPlate.h"

namespace vyn {
namespace {

TEST(PlateValues, TypingTheSameValueChangesNothing)
{
    QPlate p;
    EXPECT_EQ(p.SetMeasuredValue(3, 0.5), 1);
    EXPECT_EQ(p.measuredCount, 1);
    EXPECT_EQ(p.dataCount, 1);
    EXPECT_EQ(p.wells[3].data, 0.5);
    p.rst.Reset(0);
    EXPECT_EQ(p.SetMeasuredValue(3, 0.5), 0);
    EXPECT_EQ(p.SetMeasuredValue(4, NoValue), 0);
    EXPECT_FALSE(p.rst.AnyChanged());
    EXPECT_EQ(p.SetMeasuredValue(96, 1.0), 0) << "a well outside the plate";
    EXPECT_EQ(p.SetDataValue(-1, 1.0), 0);
    EXPECT_EQ(p.SetMeasuredValue(3, NoValue), 1);
    EXPECT_EQ(p.measuredCount, 0);
}

TEST(PlateValues, TypingAMeasuredValueDropsTheBlankedData)
{
    QPlate p;
    p.SetMeasuredValues({0.2, 0.3});
    p.ClearDataValues(dmSimple);
    p.blankExpr = "0.1";
    p.CalcBlanking();
    p.CommitPending(true);
    ASSERT_EQ(p.dataCount, 2);
    p.SetMeasuredValue(0, 0.25);
    EXPECT_EQ(p.dataCount, 0);
    EXPECT_EQ(p.currentBlank, nullptr);
    EXPECT_EQ(p.wells[1].data, NoValue);
    EXPECT_EQ(p.wells[0].measured, 0.25);
}

TEST(PlateValues, ClearingTheLastDataValueDropsTheBlank)
{
    QPlate p;
    p.SetMeasuredValues({0.2});
    p.ClearDataValues(dmGeneral);
    p.blankExpr = "0.1";
    p.CalcBlanking();
    p.transformExpr = "Cur - gblank";
    p.CalcTransformation(false);
    p.CommitPending(true);
    ASSERT_EQ(p.dataCount, 1);
    EXPECT_EQ(p.SetDataValue(0, 0.5), 1);
    EXPECT_EQ(p.dataCount, 1);
    EXPECT_NE(p.currentBlank, nullptr);
    EXPECT_EQ(p.SetDataValue(0, NoValue), 1);
    EXPECT_EQ(p.currentBlank, nullptr);
}

TEST(PlateValues, WholePlatesOfValues)
{
    QPlate p;
    std::vector<double> values(96, 0.5);
    for (int i = 0; i < 6; ++i) values[static_cast<std::size_t>(i * 7)] = NoValue;
    p.SetMeasuredValues(values);
    EXPECT_EQ(p.measuredCount, 90);
    EXPECT_EQ(p.dataCount, 90);
    EXPECT_EQ(p.wells[7].data, NoValue);

    p.ClearDataValues(dmGeneral);
    EXPECT_EQ(p.dataCount, 0);
    p.SetDataValues(std::vector<double>(96, 1.0));
    EXPECT_EQ(p.dataCount, 96);
    EXPECT_EQ(p.wells[1].measured, 0.5) << "data values leave the measured ones";
    p.ResetDataToMeasured();
    EXPECT_EQ(p.dataMode, dmMeasured);
    EXPECT_EQ(p.dataCount, 90);
    EXPECT_EQ(p.wells[1].data, 0.5);
}

TEST(PlateValues, SubtractingReadingsInWholeThousandths)
{
    const struct {
        const char* name;
        double now, old;
        int sign;
        double expected;
    } rows[] = {
        {"plain", 0.5004, 0.2, 1, 0.3},
        {"opposite sign", 0.5004, 0.2, -1, -0.3},
        {"rounded counts", 0.1234, 0.0007, 1, 0.122},
        {"equal readings", 0.777, 0.777, 1, 0.0},
        {"new missing", NoValue, 0.2, 1, NoValue},
        {"old missing", 0.2, NoValue, 1, NoValue},
        {"beyond 32 bits is refused", 3e6, 0.1, 1, NoValue},
        {"far below is refused", -3e6, 0.1, -1, NoValue},
        {"difference beyond 32 bits", 2.1e6, -2.1e6, 1, 4.2e6},
    };
    for (const auto& r : rows) {
        QPlate p;
        p.SetMeasuredValues({r.old});
        p.SubtractMeasuredValues({r.now}, r.sign);
        EXPECT_DOUBLE_EQ(p.wells[0].measured, r.expected) << r.name;
        EXPECT_EQ(p.wells[0].data, p.wells[0].measured) << r.name;
        EXPECT_EQ(p.measuredCount, r.expected == NoValue ? 0 : 1) << r.name;
    }
    QPlate p;
    p.SetMeasuredValues({0.2});
    p.SubtractMeasuredValues({0.4, 0.1}, 0);
    EXPECT_EQ(p.wells[1].measured, 0.1) << "sign 0 replaces";
    EXPECT_EQ(p.measuredCount, 2);
}

}  // namespace
}  // namespace vyn
