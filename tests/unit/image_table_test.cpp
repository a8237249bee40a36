// The image table's portable parts: size limits and zoom fitting for a given screen, the
// current-image history, finding a window's slot, and block copies.
#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <vector>

#include "image/image_selection.h"
#include "image/size_limits.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

// A 1280 x 1024 screen with an 18-pixel caption.  Minimum tracking size 112 x 150 and a
// 4-pixel frame give a minimum client area of 104 x 124.
constexpr ScreenMetrics kScreen = {112, 150, 4, 18, 1280, 1024};

void ExpectFit(ZoomFit fit, int zoom, int clientWidth, int clientHeight)
{
    ASSERT_TRUE(fit.fits);
    EXPECT_EQ(fit.zoom, zoom);
    EXPECT_EQ(fit.clientWidth, clientWidth);
    EXPECT_EQ(fit.clientHeight, clientHeight);
}

TEST(SizeLimits, ScreenFitAndFreeLimits)
{
    const SizeLimits fit = GetSizeLimits(ScreenFit, kScreen);
    EXPECT_EQ(fit.minWidth, 104);
    EXPECT_EQ(fit.minHeight, 124);  // 150 - 2 * 4 - 18
    EXPECT_EQ(fit.maxWidth, 1280);
    EXPECT_EQ(fit.maxHeight, 1006);
    const SizeLimits free = GetSizeLimits(FreeLimits, kScreen);
    EXPECT_EQ(free.minWidth, 1);
    EXPECT_EQ(free.minHeight, 1);
    EXPECT_EQ(free.maxWidth, 2560);
    EXPECT_EQ(free.maxHeight, 2048);
}

TEST(FitZoom, LowersTheZoomUntilTheTighterDirectionFits)
{
    ExpectFit(FitZoom(2000, 1000, 100, ScreenFit, kScreen), 64, 1280, 640);
    // Zoom 200 of 1000 x 800: 128 % by width, 125.75 % by height.
    ExpectFit(FitZoom(1000, 800, 200, ScreenFit, kScreen), 125, 1250, 1000);
    ExpectFit(FitZoom(640, 480, 100, ScreenFit, kScreen), 100, 640, 480);
    ExpectFit(FitZoom(2000, 1000, 100, FreeLimits, kScreen), 100, 2000, 1000);
}

TEST(FitZoom, RaisesTheZoomToTheMinimumRoundedUp)
{
    // 1 x 1: 10400 % by width, 12400 % by height; the larger wins.
    ExpectFit(FitZoom(1, 1, 100, ScreenFit, kScreen), 12400, 124, 124);
    // 3 x 7: 3466.7 % by width rounds up to 3467, which is what brings 3 pixels to 104.
    ExpectFit(FitZoom(3, 7, 100, ScreenFit, kScreen), 3467, 104, 242);
    ExpectFit(FitZoom(5, 5, 0, FreeLimits, kScreen), 20, 1, 1);
    ExpectFit(FitZoom(5, 5, -300, ScreenFit, kScreen), 2480, 124, 124);
}

TEST(FitZoom, FailsWhenNoZoomMeetsBothLimits)
{
    EXPECT_FALSE(FitZoom(1, 5000, 100, ScreenFit, kScreen).fits);  // minimum width vs. maximum height
    EXPECT_FALSE(FitZoom(1 << 30, 1 << 30, 100, ScreenFit, kScreen).fits);
    EXPECT_FALSE(FitZoom(1 << 30, 1, INT_MAX, FreeLimits, kScreen).fits);
    EXPECT_FALSE(FitZoom(0, 10, 100, FreeLimits, kScreen).fits);
}

// ---- Current image and history ---------------------------------------------------------------

class LiveSlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (ImageRecord& record : ImageTable)
            record.inUse = 0;
        for (int& entry : CurrentImageHistory)
            entry = 0;
        CurrentImage = 0;
    }
    void TearDown() override { SetUp(); }
    static void Live(int slot, WindowHandle window = nullptr)
    {
        ImageTable[slot].inUse = 1;
        ImageTable[slot].window = window;
    }
};

TEST_F(LiveSlots, NineSelectionsThenRestoresStepBackAndStopAtTheOldest)
{
    const int slots[9] = {11, 22, 33, 44, 55, 66, 77, 88, 99};
    for (int slot : slots)
        Live(slot);
    for (int slot : slots)
        ASSERT_EQ(KRT_SelectImage(slot), 0);
    EXPECT_EQ(CurrentImage, 99);
    for (int k = 7; k >= 0; --k) {
        ASSERT_EQ(RestorePreviousImage(), 0);
        EXPECT_EQ(CurrentImage, slots[k]);
    }
    for (int again = 0; again < 3; ++again) {
        ASSERT_EQ(RestorePreviousImage(), 0);
        EXPECT_EQ(CurrentImage, 11);
    }
}

TEST_F(LiveSlots, SelectingTheCurrentSlotStillPushesAndBadSlotsChangeNothing)
{
    Live(3);
    Live(4);
    KRT_SelectImage(3);
    KRT_SelectImage(3);
    EXPECT_EQ(CurrentImageHistory[0], 3);
    EXPECT_EQ(CurrentImageHistory[1], 0);
    EXPECT_EQ(KRT_SelectImage(5), 1);  // free
    EXPECT_EQ(KRT_SelectImage(-1), 1);
    EXPECT_EQ(KRT_SelectImage(256), 1);
    EXPECT_EQ(CurrentImage, 3);
    EXPECT_EQ(CurrentImageHistory[0], 3);
    // The newest entry is live: restore; then slot 0 is free: nothing changes.
    EXPECT_EQ(RestorePreviousImage(), 0);
    EXPECT_EQ(RestorePreviousImage(), 1);
    EXPECT_EQ(CurrentImage, 3);
}

TEST_F(LiveSlots, FindImageSlotTakesTheLowestLiveSlotOfTheWindow)
{
    WindowHandle a = reinterpret_cast<WindowHandle>(std::uintptr_t{0x1000});
    WindowHandle b = reinterpret_cast<WindowHandle>(std::uintptr_t{0x2000});
    ImageTable[2].window = a;  // a free slot that still names the window
    Live(9, a);
    Live(200, a);
    Live(40, b);
    EXPECT_EQ(FindImageSlot(a), 9);
    EXPECT_EQ(FindImageSlot(b), 40);
    EXPECT_EQ(FindImageSlot(nullptr), -1);
    EXPECT_EQ(SelectImageOfWindow(b), 40);
    EXPECT_EQ(CurrentImage, 40);
    EXPECT_EQ(SelectImageOfWindow(reinterpret_cast<WindowHandle>(std::uintptr_t{0x3000})), -1);
    EXPECT_EQ(CurrentImage, 40);
}

// ---- Block copies ---------------------------------------------------------------------------

TEST(ImageBlocks, EightBitBlocksArePackedWhileImageRowsArePadded)
{
    TableImage image(5, 2, 8);  // stride 8
    const std::uint8_t source[10] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    KRT_PutImageBlock(source, 5, 2);
    const std::vector<std::uint8_t> rows = {1, 2, 3, 4, 5, 0, 0, 0, 6, 7, 8, 9, 10, 0, 0, 0};
    EXPECT_EQ(image.bytes(), rows);
    std::uint8_t block[4] = {};
    KRT_GetImageBlock(block, 3, 1, 2, 2);
    EXPECT_EQ(std::vector<std::uint8_t>(block, block + 4), (std::vector<std::uint8_t>{9, 10, 0, 0}));
}

TEST(ImageBlocks, FarCoordinatesAndBadSizesTouchNothingOutside)
{
    TableImage image(4, 4, 32);
    std::fill(image.bytes().begin(), image.bytes().end(), 0x77);
    for (int far : {1 << 30, -(1 << 30), INT_MAX, INT_MIN}) {
        std::uint32_t block[4] = {9, 9, 9, 9};
        KRT_GetImageBlock(block, far, 0, 2, 2);
        EXPECT_EQ(std::vector<std::uint32_t>(block, block + 4), std::vector<std::uint32_t>(4, 0)) << far;
        KRT_GetImageBlock(block, 0, far, 2, 2);
        EXPECT_EQ(std::vector<std::uint32_t>(block, block + 4), std::vector<std::uint32_t>(4, 0)) << far;
    }
    std::uint32_t untouched[1] = {5};
    KRT_GetImageBlock(untouched, 0, 0, -1, 1);
    KRT_GetImageBlock(untouched, 0, 0, 1, 0);
    EXPECT_EQ(untouched[0], 5u);
    KRT_PutImageBlock(untouched, -4, 4);
    KRT_PutImageBlock(untouched, 4, INT_MIN);
    EXPECT_EQ(image.bytes(), std::vector<std::uint8_t>(64, 0x77));
}

}  // namespace
