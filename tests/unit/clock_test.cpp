#include <gtest/gtest.h>

#include <cstdint>

#include "core/clock.h"

namespace {

TEST(MillisecondClock, TakesTheFloorAndKeepsTheLow32Bits)
{
    EXPECT_EQ(MillisecondsFromCounter(0, 0.001), 0u);
    EXPECT_EQ(MillisecondsFromCounter(1999, 0.001), 1u);  // 1.999 ms floors to 1
    const int64_t wrap = int64_t{1} << 32;               // 2^32 ms with a 1 ms counter
    EXPECT_EQ(MillisecondsFromCounter(wrap + 5, 1.0), 5u);
    EXPECT_EQ(MillisecondsFromCounter(wrap - 1, 1.0), 0xFFFFFFFFu);
}

TEST(MillisecondClock, DifferencesSurviveThe32BitWrap)
{
    const int64_t wrap = int64_t{1} << 32;
    const uint32_t before = MillisecondsFromCounter(wrap - 10, 1.0);
    const uint32_t after = MillisecondsFromCounter(wrap + 20, 1.0);
    EXPECT_GT(before, after);  // the raw values wrapped...
    EXPECT_EQ(ElapsedMilliseconds(before, after), 30u);  // ...the difference did not
    EXPECT_EQ(ElapsedMilliseconds(after, after), 0u);
}

TEST(MillisecondClock, FrameWaitRoundsToNearest)
{
    // A 10 MHz counter: 10,000 ticks a millisecond.
    const double factor = 1000.0 / 1e7;
    EXPECT_EQ(RoundedMillisecondsBetween(0, 294999, factor), 29);
    EXPECT_EQ(RoundedMillisecondsBetween(0, 295000, factor), 30);
    EXPECT_EQ(RoundedMillisecondsBetween(1000, 1000, factor), 0);
}

}  // namespace
