#include <gtest/gtest.h>

#include "plate/RSt.h"

namespace vyn {
namespace {

TEST(RSt, MarksCountOnceAndResetClearsEverything)
{
    RSt st(96);
    EXPECT_FALSE(st.AnyChanged());
    st.MarkWell(5);
    st.MarkWell(5);
    st.MarkWell(95);
    st.MarkSample(0);
    st.MarkSample(0);
    EXPECT_EQ(st.ChangedWells(), 2);
    EXPECT_EQ(st.ChangedSamples(), 1);
    EXPECT_TRUE(st.WellChanged(5));
    EXPECT_FALSE(st.SampleChanged(5)) << "well and sample flags are separate halves";
    st.SetCalibrationChanged();
    st.SetDataChanged();
    st.SetCalculationsChanged();
    st.SetValidationChanged();

    const unsigned char* block = st.Block();
    st.Reset(0);
    EXPECT_EQ(st.Count(), 96);
    EXPECT_EQ(st.Block(), block);
    EXPECT_FALSE(st.AnyChanged());
    for (int i = 0; i < 96; ++i) EXPECT_FALSE(st.WellChanged(i) || st.SampleChanged(i)) << i;
    EXPECT_FALSE(st.CalibrationChanged() || st.DataChanged() || st.CalculationsChanged() || st.ValidationChanged());
}

TEST(RSt, PartFlagAloneCountsAsChange)
{
    RSt st(8);
    st.SetDataChanged();
    EXPECT_TRUE(st.AnyChanged());
    st.Reset(0);
    EXPECT_FALSE(st.AnyChanged());
}

TEST(RSt, ResizeReallocatesOnlyForANewSize)
{
    RSt st(96);
    st.MarkWell(10);
    st.Reset(96);
    EXPECT_FALSE(st.WellChanged(10));
    st.MarkWell(10);
    st.Reset(40);
    EXPECT_EQ(st.Count(), 40);
    EXPECT_FALSE(st.WellChanged(10));
    st.MarkSample(39);
    EXPECT_TRUE(st.SampleChanged(39));
    EXPECT_FALSE(st.WellChanged(39));
    st.MarkWell(40);  // beyond the slots: ignored, not written past the block
    st.MarkSample(-1);
    EXPECT_EQ(st.ChangedWells(), 0);
    EXPECT_EQ(st.ChangedSamples(), 1);
}

}  // namespace
}  // namespace vyn
