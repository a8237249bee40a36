#include <gtest/gtest.h>

#include <thread>

#include "text/input_ring.h"

namespace {

TEST(InputRing, StartsEmptyAndHandsUnitsBackInOrder)
{
    InputRingFields ring;
    EXPECT_EQ(RingReadIndex(ring), -1);
    EXPECT_EQ(RingWriteIndex(ring), 0);
    EXPECT_EQ(RingTake(ring), 0);
    EXPECT_TRUE(RingPut(ring, 'a'));
    EXPECT_TRUE(RingPut(ring, 'b'));
    EXPECT_EQ(RingReadIndex(ring), 0);
    EXPECT_EQ(RingWriteIndex(ring), 2);
    EXPECT_EQ(RingTake(ring), 'a');
    EXPECT_EQ(RingTake(ring), 'b');
    EXPECT_EQ(RingReadIndex(ring), -1);  // empty again once the reader reaches the writer
}

TEST(InputRing, AFullRingDropsUnitsUntilOneIsTaken)
{
    InputRingFields ring;
    for (int i = 0; i < kInputRingSize; ++i)
        ASSERT_TRUE(RingPut(ring, static_cast<unsigned short>(i + 1)));
    EXPECT_TRUE(RingFull(ring));
    EXPECT_EQ(RingReadIndex(ring), RingWriteIndex(ring));  // full: read index = write index
    EXPECT_FALSE(RingPut(ring, 999));
    EXPECT_EQ(RingTake(ring), 1);
    EXPECT_TRUE(RingPut(ring, 1000));
    for (int i = 2; i <= kInputRingSize; ++i)
        ASSERT_EQ(RingTake(ring), i);
    EXPECT_EQ(RingTake(ring), 1000);
    EXPECT_EQ(RingTake(ring), 0);
}

TEST(InputRing, OneWriterAndOneReaderOnTwoThreadsLoseNothing)
{
    static InputRingFields ring;
    constexpr int total = 200000;
    std::thread writer([] {
        for (int i = 0; i < total;)
            if (RingPut(ring, static_cast<unsigned short>(i % 60000 + 1)))
                ++i;
    });
    int expected = 0;
    while (expected < total) {
        const unsigned short unit = RingTake(ring);
        if (unit == 0)
            continue;
        ASSERT_EQ(unit, expected % 60000 + 1);
        ++expected;
    }
    writer.join();
    EXPECT_EQ(RingTake(ring), 0);
}

}  // namespace
