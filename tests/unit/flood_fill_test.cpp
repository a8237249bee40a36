// The seed fill on a ragged region: it fills the whole 4-connected region however many seeds
// are pending, and touches nothing else.
#include <gtest/gtest.h>

#include <queue>
#include <string>

#include "imaging/drawing_state.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

constexpr int kWall = 1, kFloor = 0;

// The 4-connected region of equal pixels around (x, y), found breadth first.
std::vector<bool> RegionOf(const RefImage& image, int x, int y)
{
    std::vector<bool> in(size_t(image.width) * image.height, false);
    const std::uint32_t target = image.Get(x, y);
    std::queue<std::pair<int, int>> queue;
    queue.push({x, y});
    in[size_t(y) * image.width + x] = true;
    while (!queue.empty()) {
        const auto [px, py] = queue.front();
        queue.pop();
        const int next[4][2] = {{px - 1, py}, {px + 1, py}, {px, py - 1}, {px, py + 1}};
        for (const auto& n : next) {
            if (!image.Inside(n[0], n[1]) || image.Get(n[0], n[1]) != target || in[size_t(n[1]) * image.width + n[0]])
                continue;
            in[size_t(n[1]) * image.width + n[0]] = true;
            queue.push({n[0], n[1]});
        }
    }
    return in;
}

// A comb: a corridor along row 0 with a tooth hanging from every even column.  The corridor's
// one span records a seed below each tooth at once, far more than 4000 of them.  Next to the
// tip of every fourth tooth sits a floor pixel that touches it only diagonally.
RefImage Comb(int width, int height, int depth)
{
    RefImage image(width, height, depth);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.Store(x, y, y == 0 || (x % 2 == 0 && y < height - 1) ? kFloor : kWall);
    for (int x = 0; x + 1 < width; x += 8)
        image.Store(x + 1, height - 1, kFloor);
    return image;
}

void ExpectFilledExactly(const std::vector<std::uint8_t>& pixels, const RefImage& before,
                         const std::vector<bool>& region, int fill)
{
    RefImage after(before.width, before.height, before.depth);
    after.bytes = pixels;
    const std::uint32_t stored = before.depth == 8 ? std::uint32_t(fill) & 0xFF : std::uint32_t(fill);
    size_t filled = 0;
    for (int y = 0; y < before.height; ++y)
        for (int x = 0; x < before.width; ++x) {
            const bool in = region[size_t(y) * before.width + x];
            filled += in;
            ASSERT_EQ(after.Get(x, y), in ? stored : before.Get(x, y)) << "pixel (" << x << ", " << y << ")";
        }
    EXPECT_GT(filled, 0u);
}

class SeedFill : public ::testing::TestWithParam<int> {};

TEST_P(SeedFill, CombNeedingThousandsOfPendingSeedsIsFilledCompletely)
{
    const int depth = GetParam();
    const RefImage comb = Comb(12001, 9, depth);
    // Keeping only 4000 pending seeds, as a fixed store would, leaves teeth unfilled: the
    // fixture really needs more.
    RefImage capped = comb;
    capped.drawingColour = 0x55;
    capped.FloodFill(3, 0, 4000);
    EXPECT_EQ(capped.Get(12000, 5), std::uint32_t(kFloor));

    TableImage image(comb.width, comb.height, depth);
    image.bytes() = comb.bytes;
    PixelTable[image.slot()] = image.bytes().data();
    DrawingColour = 0x55;
    FloodFill(3, 0);
    ExpectFilledExactly(image.bytes(), comb, RegionOf(comb, 3, 0), 0x55);
    // The diagonal neighbours of the tooth tips are not part of a 4-connected region.
    EXPECT_EQ(KRT_GetPixel(1, comb.height - 1), kFloor);
}

INSTANTIATE_TEST_SUITE_P(Depths, SeedFill, ::testing::Values(32, 8),
                         [](const ::testing::TestParamInfo<int>& info) { return "Depth" + std::to_string(info.param); });

}  // namespace
