// Quarter turns, flips, inversion and the clipping copy against plain renderings written here
// by forward mapping (where each old pixel goes), which the library's inverse index formulas
// and tiled walk must reproduce exactly; and the rounding of the Size rows.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imaging/transforms.h"

namespace {

// An image buffer with its view: rows `stride` apart, the padding of 8-bit rows set to a marker
// that nothing may change.
struct Picture {
    int width, height, depth, stride;
    std::vector<std::uint8_t> bytes;
    Picture(int w, int h, int d) : width(w), height(h), depth(d), stride(d == 8 ? (w + 3) / 4 * 4 : w * 4)
    {
        bytes.assign(static_cast<size_t>(stride) * h, 0xA5);
    }
    PixelView view() { return {bytes.data(), width, height, depth, stride}; }
    std::uint32_t at(int x, int y) const
    {
        const std::uint8_t* p = &bytes[static_cast<size_t>(y) * stride];
        if (depth == 8)
            return p[x];
        return p[4 * x] | p[4 * x + 1] << 8 | p[4 * x + 2] << 16 | static_cast<std::uint32_t>(p[4 * x + 3]) << 24;
    }
    void set(int x, int y, std::uint32_t v)
    {
        std::uint8_t* p = &bytes[static_cast<size_t>(y) * stride];
        if (depth == 8)
            p[x] = static_cast<std::uint8_t>(v);
        else
            for (int i = 0; i < 4; ++i)
                p[4 * x + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
};

Picture Random(int w, int h, int depth, unsigned seed)
{
    Picture p(w, h, depth);
    std::mt19937 random(seed);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.set(x, y, random());
    return p;
}

// The packed block KRT_GetImageBlock hands a turn: rows of `width` elements.
std::vector<std::uint8_t> Packed(const Picture& p)
{
    const int element = p.depth == 8 ? 1 : 4;
    std::vector<std::uint8_t> out;
    for (int y = 0; y < p.height; ++y)
        out.insert(out.end(), p.bytes.begin() + static_cast<long>(y) * p.stride,
                   p.bytes.begin() + static_cast<long>(y) * p.stride + p.width * element);
    return out;
}

// The first pixel where two pictures differ, or "" when they are equal (padding included).
std::string FirstDifference(const Picture& actual, const Picture& expected)
{
    if (actual.width != expected.width || actual.height != expected.height)
        return "sizes differ";
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x)
            if (actual.at(x, y) != expected.at(x, y))
                return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    if (actual.bytes != expected.bytes)
        return "row padding changed";
    return "";
}

Picture Turned(const Picture& p, Turn turn)
{
    Picture out(p.height, p.width, p.depth);
    const std::vector<std::uint8_t> block = Packed(p);
    TurnQuarter(block.data(), p.width, p.height, out.view(), turn);
    return out;
}

}  // namespace

TEST(ScaledSide, RoundsToNearest)
{
    EXPECT_EQ(ScaledSide(101, 500), 51);
    EXPECT_EQ(ScaledSide(3, 500), 2);
    EXPECT_EQ(ScaledSide(1000, 707), 707);
    EXPECT_EQ(ScaledSide(707, 707), 500);
    EXPECT_EQ(ScaledSide(1, 500), 1);
    EXPECT_EQ(ScaledSide(333, 1414), 471);  // 470.862
    EXPECT_EQ(ScaledSide(1500000, 2000), 3000000);
}

TEST(QuarterTurns, MatchWhereEachPixelGoesAndUndoEachOther)
{
    // The 3 x 2 example: clockwise, the new top-left pixel is the old bottom-left one.
    Picture small(3, 2, 32);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            small.set(x, y, 0x10 * y + x);
    const Picture right = Turned(small, Turn::Clockwise);
    EXPECT_EQ(right.width, 2);
    EXPECT_EQ(right.height, 3);
    EXPECT_EQ(right.at(0, 0), 0x10u);
    EXPECT_EQ(right.at(1, 0), 0x00u);
    EXPECT_EQ(right.at(0, 2), 0x12u);
    EXPECT_EQ(Turned(small, Turn::CounterClockwise).at(0, 0), 0x02u);

    // Sizes around the tile edges, both depths (8-bit rows padded).
    const int sizes[][2] = {{3, 2}, {1, 1}, {1, 7}, {33, 1}, {31, 33}, {64, 65}, {130, 97}, {257, 3}};
    for (int depth : {32, 8}) {
        for (const auto& size : sizes) {
            const Picture p = Random(size[0], size[1], depth, 5 + size[0] * size[1]);
            Picture clockwise(p.height, p.width, depth), counter(p.height, p.width, depth);
            for (int y = 0; y < p.height; ++y)
                for (int x = 0; x < p.width; ++x) {
                    clockwise.set(p.height - 1 - y, x, p.at(x, y));  // right turn: (x, y) to (H-1-y, x)
                    counter.set(y, p.width - 1 - x, p.at(x, y));    // left turn: (x, y) to (y, W-1-x)
                }
            const std::string where = std::to_string(depth) + " bits, " + std::to_string(p.width) + " x " +
                                      std::to_string(p.height);
            const Picture right = Turned(p, Turn::Clockwise);
            EXPECT_EQ(FirstDifference(right, clockwise), "") << "clockwise, " << where;
            EXPECT_EQ(FirstDifference(Turned(p, Turn::CounterClockwise), counter), "") << "counter, " << where;
            EXPECT_EQ(FirstDifference(Turned(right, Turn::CounterClockwise), p), "") << "back, " << where;
        }
    }
}

TEST(FlipsAndInversion, MirrorInPlaceAndTwiceRestore)
{
    for (int depth : {32, 8}) {
        for (int w : {1, 2, 7, 64, 101}) {
            const int h = w % 5 + 1;
            const Picture original = Random(w, h, depth, 9 + w);
            Picture mirrored(w, h, depth), upsideDown(w, h, depth), inverted(w, h, depth);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x) {
                    const std::uint32_t v = original.at(x, y);
                    mirrored.set(w - 1 - x, y, v);
                    upsideDown.set(x, h - 1 - y, v);
                    inverted.set(x, y, depth == 8 ? 255 - v : v ^ 0x00FFFFFFu);  // the fourth byte stays
                }
            const std::string where = std::to_string(depth) + " bits, width " + std::to_string(w);
            Picture p = original;
            FlipHorizontal(p.view());
            EXPECT_EQ(FirstDifference(p, mirrored), "") << where;
            FlipHorizontal(p.view());
            EXPECT_EQ(FirstDifference(p, original), "") << where;
            FlipVertical(p.view());
            EXPECT_EQ(FirstDifference(p, upsideDown), "") << where;
            FlipVertical(p.view());
            EXPECT_EQ(FirstDifference(p, original), "") << where;
            InvertAll(p.view());
            EXPECT_EQ(FirstDifference(p, inverted), "") << where;
            InvertAll(p.view());
            EXPECT_EQ(FirstDifference(p, original), "") << where;
        }
    }
}

TEST(CopyBlockOut, TakesTheRectangleAndClearsWhatLiesOutsideTheSource)
{
    for (int depth : {32, 8}) {
        const Picture source = Random(40, 30, depth, 3);
        const struct {
            int left, top, width, height;
        } rectangles[] = {{10, 20, 10, 5}, {30, 20, 20, 15}, {-3, -2, 6, 4}, {45, 0, 3, 3}, {-5, 10, 60, 2}};
        for (const auto& r : rectangles) {
            Picture target(r.width, r.height, depth), expected(r.width, r.height, depth);
            for (int y = 0; y < r.height; ++y)
                for (int x = 0; x < r.width; ++x)
                    target.set(x, y, 0x5A5A5A5Au);  // leftovers that must go
            for (int y = 0; y < r.height; ++y)
                for (int x = 0; x < r.width; ++x) {
                    const int sx = r.left + x, sy = r.top + y;
                    const bool inside = sx >= 0 && sx < 40 && sy >= 0 && sy < 30;
                    expected.set(x, y, inside ? source.at(sx, sy) : 0);
                }
            Picture copy = source;
            CopyBlockOut(copy.view(), r.left, r.top, target.view());
            EXPECT_EQ(FirstDifference(target, expected), "") << depth << " bits at " << r.left << ", " << r.top;
        }
    }
}
