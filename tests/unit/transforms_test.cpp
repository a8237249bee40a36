// Quarter turns, flips and inversion against plain renderings written here by forward mapping
// (where each old pixel goes), which the library's inverse index formulas and blocked walk must
// reproduce exactly; and the rounding of the Size rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/transforms.h"
#include "raster_reference.h"

namespace {

PixelView ViewOf(RefImage& image) { return {image.bytes.data(), image.width, image.height, image.depth, image.stride}; }

RefImage Random(int w, int h, int depth, unsigned seed)
{
    RefImage image(w, h, depth);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.Store(x, y, depth == 8 ? random() & 0xFF : random());
    return image;
}

// The first pixel where two images differ, or "".
std::string FirstDifference(const RefImage& actual, const RefImage& expected)
{
    if (actual.width != expected.width || actual.height != expected.height)
        return "sizes differ";
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.Get(x, y) != expected.Get(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    return "";
}

// Turned as the command turns: from the packed block KRT_GetImageBlock hands over.
RefImage Turned(const RefImage& image, Turn turn)
{
    std::vector<std::uint32_t> packed;
    for (int y = 0; y < image.height; ++y)
        for (int x = 0; x < image.width; ++x)
            packed.push_back(image.Get(x, y));
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t v : packed)
        bytes.push_back(static_cast<std::uint8_t>(v));
    RefImage out(image.height, image.width, image.depth);
    TurnQuarter(image.depth == 8 ? static_cast<const void*>(bytes.data()) : packed.data(), image.width, image.height,
                ViewOf(out), turn);
    return out;
}

}  // namespace

TEST(ScaledSide, RoundsToNearest)
{
    EXPECT_EQ(ScaledSide(101, 500), 51);
    EXPECT_EQ(ScaledSide(3, 500), 2);
    EXPECT_EQ(ScaledSide(1000, 707), 707);
    EXPECT_EQ(ScaledSide(707, 707), 500);
    EXPECT_EQ(ScaledSide(333, 1414), 471);  // 470.862
    EXPECT_EQ(ScaledSide(1500000, 2000), 3000000);
}

TEST(QuarterTurns, MatchWhereEachPixelGoesAndUndoEachOther)
{
    // The 3 x 2 example: clockwise, the new top-left pixel is the old bottom-left one.
    RefImage small(3, 2, 32);
    for (int i = 0; i < 6; ++i)
        small.Store(i % 3, i / 3, 0x10 * (i / 3) + i % 3);
    EXPECT_EQ(Turned(small, Turn::Clockwise).Get(0, 0), 0x10u);
    EXPECT_EQ(Turned(small, Turn::Clockwise).Get(1, 2), 0x02u);
    EXPECT_EQ(Turned(small, Turn::CounterClockwise).Get(0, 0), 0x02u);

    // Sizes around the block and tile edges, both depths (8-bit rows padded).
    const int sizes[][2] = {{3, 2}, {1, 1}, {1, 7}, {33, 1}, {31, 33}, {64, 65}, {130, 97}, {257, 3}};
    for (int depth : {32, 8}) {
        for (const auto& size : sizes) {
            const RefImage image = Random(size[0], size[1], depth, 5 + size[0] * size[1]);
            RefImage clockwise(image.height, image.width, depth), counter(image.height, image.width, depth);
            for (int y = 0; y < image.height; ++y)
                for (int x = 0; x < image.width; ++x) {
                    clockwise.Store(image.height - 1 - y, x, image.Get(x, y));  // (x, y) to (H-1-y, x)
                    counter.Store(y, image.width - 1 - x, image.Get(x, y));     // (x, y) to (y, W-1-x)
                }
            const std::string where = std::to_string(depth) + " bits, " + std::to_string(size[0]) + " x " +
                                      std::to_string(size[1]);
            const RefImage right = Turned(image, Turn::Clockwise);
            EXPECT_EQ(FirstDifference(right, clockwise), "") << "clockwise, " << where;
            EXPECT_EQ(FirstDifference(Turned(image, Turn::CounterClockwise), counter), "") << "counter, " << where;
            EXPECT_EQ(FirstDifference(Turned(right, Turn::CounterClockwise), image), "") << "back, " << where;
        }
    }
}

TEST(FlipsAndInversion, MirrorInPlaceAndTwiceRestore)
{
    for (int depth : {32, 8}) {
        for (int w : {1, 2, 7, 64, 101}) {
            const int h = w % 5 + 1;
            const RefImage original = Random(w, h, depth, 9 + w);
            RefImage mirrored(w, h, depth), upsideDown(w, h, depth), inverted(w, h, depth);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = original.Get(x, y);
                    mirrored.Store(w - 1 - x, y, v);
                    upsideDown.Store(x, h - 1 - y, v);
                    inverted.Store(x, y, depth == 8 ? 255 - v : v ^ 0x00FFFFFFu);  // the fourth byte stays
                }
            const struct {
                void (*change)(const PixelView&);
                const RefImage& once;
            } changes[] = {{FlipHorizontal, mirrored}, {FlipVertical, upsideDown}, {InvertAll, inverted}};
            for (const auto& c : changes) {
                RefImage image = original;
                c.change(ViewOf(image));
                EXPECT_EQ(FirstDifference(image, c.once), "") << depth << " bits, width " << w;
                c.change(ViewOf(image));
                EXPECT_EQ(FirstDifference(image, original), "") << depth << " bits, width " << w;
            }
        }
    }
}
