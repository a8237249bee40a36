#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "examples/flyeye/flyeye_image.h"

namespace {

TEST(FlyEyeSample, TheShippedPictureIsWhatTheGeneratorMakes)
{
    std::ifstream file(KRT_SOURCE_DIR "/examples/flyeye.bmp", std::ios::binary);
    ASSERT_TRUE(file.good());
    const std::vector<uint8_t> shipped((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::vector<uint8_t> made = MakeFlyEyeBmp();
    ASSERT_EQ(shipped.size(), made.size());
    EXPECT_TRUE(shipped == made);
}

TEST(FlyEyeSample, FacetsAreBrightInTheMiddleAndTheCornersAreDark)
{
    const std::vector<uint32_t> pixels = MakeFlyEyePixels();
    auto at = [&](int x, int y) { return pixels[static_cast<size_t>(y) * kFlyEyeWidth + x]; };
    auto red = [](uint32_t p) { return static_cast<int>(p >> 16); };
    EXPECT_EQ(at(0, 0), at(kFlyEyeWidth - 1, kFlyEyeHeight - 1));  // background
    // The facet at the centre of the picture (a lattice point) is much brighter than the
    // background, and its centre brighter than its rim.
    const int cx = kFlyEyeWidth / 2 - 8, cy = 252;  // row 12 of the lattice (12 * 21), offset 0
    EXPECT_GT(red(at(cx - 2, cy - 2)), red(at(cx + 9, cy)));
    EXPECT_GT(red(at(cx - 2, cy - 2)), 3 * red(at(0, 0)));
}

}  // namespace
