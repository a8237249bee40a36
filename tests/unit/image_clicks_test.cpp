// The clicks kept for a program: the boundary of what is kept, and clicks of windows that are
// gone.
#include <gtest/gtest.h>

#include <cstdint>

#include "image/image_clicks.h"

namespace {

WindowHandle Window(int n) { return reinterpret_cast<WindowHandle>(static_cast<std::uintptr_t>(0x1000 + 16 * n)); }

TEST(ImageClicks, TheLatestSixtyFourAreKeptInOrderAndAWindowsOwnOnlyAreHandedOut)
{
    ForgetImageClicks();
    for (int i = 0; i < kKeptImageClicks; ++i)
        RecordImageClick(1, Window(1), i, 0);
    int x = -1, y = -1;
    ASSERT_TRUE(TakeImageClick(1, Window(1), x, y));
    EXPECT_EQ(x, 0);  // exactly 64 waited: the first is still there
    for (int i = kKeptImageClicks; i < kKeptImageClicks + 2; ++i)
        RecordImageClick(1, Window(1), i, 0);
    ASSERT_TRUE(TakeImageClick(1, Window(1), x, y));
    EXPECT_EQ(x, 2);  // 65 would have waited: the oldest went

    // Clicks of another slot wait behind; a slot's click in its earlier window is dropped.
    ForgetImageClicks();
    RecordImageClick(2, Window(2), 20, 21);
    RecordImageClick(1, Window(7), 70, 71);
    RecordImageClick(1, Window(1), 10, 11);
    EXPECT_TRUE(TakeImageClick(1, Window(1), x, y));
    EXPECT_EQ(x * 100 + y, 1011);
    EXPECT_FALSE(TakeImageClick(1, Window(7), x, y));  // dropped while looking for window 1's
    EXPECT_TRUE(TakeImageClick(2, Window(2), x, y));
    EXPECT_EQ(x * 100 + y, 2021);
    x = y = -1;
    EXPECT_FALSE(TakeImageClick(2, Window(2), x, y));
    EXPECT_EQ(x, -1);
    EXPECT_EQ(y, -1);
}

}  // namespace
