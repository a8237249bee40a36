// The raster layer's documented examples, each with its expected pixels written out.
#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "imaging/drawing_state.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

using Points = std::set<std::pair<int, int>>;

// The points of a zero-filled image that are no longer 0.
Points Changed(int width, int height)
{
    Points points;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (KRT_GetPixel(x, y) != 0)
                points.insert({x, y});
    return points;
}

// The same points shifted by (dx, dy).
Points Shifted(const Points& points, int dx, int dy)
{
    Points out;
    for (const auto& p : points)
        out.insert({p.first + dx, p.second + dy});
    return out;
}

class DrawingExamples : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override
    {
        ResetDrawingState();
        DrawingColour = 0x00FF00;  // non-zero at both depths (8-bit keeps 0x00: see below)
        if (GetParam() == 8)
            DrawingColour = 0x0000C8;
    }
    int depth() const { return GetParam(); }
};

TEST_P(DrawingExamples, SetPixelOutsideMovesOnlyThePen)
{
    TableImage image(8, 6, depth());
    KRT_SetPixel(-1, 0, 0xFFFFFF);
    EXPECT_TRUE(Changed(8, 6).empty());
    EXPECT_EQ(PenPosition.x, -1);
    EXPECT_EQ(PenPosition.y, 0);
    PutPixel(2, 3, 0x7F);
    EXPECT_EQ(PenPosition.x, -1);  // PutPixel leaves the pen alone
}

TEST_P(DrawingExamples, ReadingOutsideGivesZeroOrMinusOne)
{
    TableImage image(8, 6, depth());
    KRT_SetPixel(0, 0, 0x33);
    for (const auto& p : Points{{-1, 0}, {0, -1}, {8, 0}, {0, 6}, {-(1 << 30), 1 << 30}}) {
        EXPECT_EQ(KRT_GetPixel(p.first, p.second), 0);
        EXPECT_EQ(ProbePixel(p.first, p.second), -1);
    }
    EXPECT_EQ(ProbePixel(0, 0), 0x33);
}

TEST(DrawingValues, ThirtyTwoBitWordsKeepTheTopByteAndXorKeepsIt)
{
    TableImage image(4, 4, 32);
    KRT_SetPixel(1, 1, static_cast<int>(0xAB123456u));
    EXPECT_EQ(static_cast<unsigned>(KRT_GetPixel(1, 1)), 0xAB123456u);
    XorPixel(1, 1);
    EXPECT_EQ(static_cast<unsigned>(KRT_GetPixel(1, 1)), 0xABEDCBA9u);
    const unsigned char* p = image.bytes().data() + 4 * 4 + 4;  // bytes blue, green, red, top
    EXPECT_EQ(p[0], 0xA9);
    EXPECT_EQ(p[2], 0xED);
    EXPECT_EQ(p[3], 0xAB);
}

TEST(DrawingValues, EightBitStoresTheLowByteAndXorComplementsTheIndex)
{
    TableImage image(5, 3, 8);  // rows padded to 8 bytes
    KRT_SetPixel(4, 2, 0x123456);
    EXPECT_EQ(KRT_GetPixel(4, 2), 0x56);
    EXPECT_EQ(image.bytes()[2 * 8 + 4], 0x56);
    KRT_SetPixel(0, 0, 10);
    XorPixel(0, 0);
    EXPECT_EQ(KRT_GetPixel(0, 0), 245);
    EXPECT_EQ(PenPosition.x, 0);
    XorPixelQuiet(4, 2);
    EXPECT_EQ(KRT_GetPixel(4, 2), 255 - 0x56);
    EXPECT_EQ(PenPosition.x, 0);
}

TEST_P(DrawingExamples, ShallowLineAndItsReverseCoverTheSamePixels)
{
    const Points expected = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {5, 2}};
    {
        TableImage image(8, 4, depth());
        KRT_DrawLine(0, 0, 5, 2, 0x80);
        EXPECT_EQ(Changed(8, 4), expected);
        EXPECT_EQ(PenPosition.x, 5);
        EXPECT_EQ(PenPosition.y, 2);
    }
    TableImage image(8, 4, depth());
    KRT_DrawLine(5, 2, 0, 0, 0x80);
    EXPECT_EQ(Changed(8, 4), expected);
    EXPECT_EQ(PenPosition.x, 0);
    EXPECT_EQ(PenPosition.y, 0);
}

TEST_P(DrawingExamples, SinglePixelLinesAndLinesFromOutside)
{
    TableImage image(8, 8, depth());
    KRT_DrawLine(3, 3, 3, 3, 0x80);
    EXPECT_EQ(Changed(8, 8), (Points{{3, 3}}));
    TableImage other(8, 8, depth());
    KRT_DrawLine(-3, -3, 2, 2, 0x80);  // a diagonal entering at the corner
    KRT_DrawLine(-100, 6, 100, 6, 0x80);
    Points expected = {{0, 0}, {1, 1}, {2, 2}};
    for (int x = 0; x < 8; ++x)
        expected.insert({x, 6});
    EXPECT_EQ(Changed(8, 8), expected);
}

TEST_P(DrawingExamples, CirclesOfRadiusOneAndThree)
{
    TableImage image(16, 16, depth());
    KRT_DrawCircle(4, 4, 1, 0x80);
    EXPECT_EQ(Changed(16, 16), Shifted(Points{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}, 4, 4));
    TableImage other(16, 16, depth());
    KRT_DrawCircle(8, 8, 3, 0x80);
    const Points r3 = {{0, 3},  {0, -3},  {1, 3},  {-1, 3}, {1, -3}, {-1, -3}, {3, 0},  {-3, 0},
                       {3, 1},  {3, -1},  {-3, 1}, {-3, -1}, {2, 2},  {2, -2},  {-2, 2}, {-2, -2}};
    EXPECT_EQ(Changed(16, 16), Shifted(r3, 8, 8));
    TableImage inverted(16, 16, depth());
    XorCircle(8, 8, 3);  // the same points, each inverted exactly once
    EXPECT_EQ(Changed(16, 16), Shifted(r3, 8, 8));
    for (const auto& p : r3)
        EXPECT_EQ(KRT_GetPixel(8 + p.first, 8 + p.second), depth() == 8 ? 255 : 0xFFFFFF);
}

TEST_P(DrawingExamples, FillBoxTwoWideIsItsOutline)
{
    TableImage image(6, 8, depth());
    FillBox(1, 5, 0, 0);
    Points expected;
    for (int y = 0; y <= 5; ++y)
        expected.insert({0, y}), expected.insert({1, y});
    EXPECT_EQ(Changed(6, 8), expected);
    EXPECT_EQ(PenPosition.x, 0);  // the fourth edge ends at the first corner
    EXPECT_EQ(PenPosition.y, 0);
}

TEST_P(DrawingExamples, RadiusZeroXorFormsChangeNothingAndNegativeRadiiDrawNothing)
{
    TableImage image(9, 9, depth());
    XorCircle(4, 4, 0);
    XorFillCircle(4, 4, 0);
    EXPECT_TRUE(Changed(9, 9).empty());
    PenPosition = {1, 2};
    KRT_DrawCircle(4, 4, -3, 0x80);
    XorCircle(4, 4, -1);
    FillCircle(4, 4, -2);
    XorFillCircle(4, 4, -5);
    EXPECT_TRUE(Changed(9, 9).empty());
    EXPECT_EQ(PenPosition.x, 1);
    EXPECT_EQ(PenPosition.y, 2);
}

TEST_P(DrawingExamples, FloodFillReturnsAtOnceOnTheFillValueAndOutside)
{
    TableImage image(6, 6, depth());
    PenPosition = {9, 9};
    FloodFill(-1, 2);
    FloodFill(2, 6);
    EXPECT_TRUE(Changed(6, 6).empty());
    DrawingColour = 0;
    FloodFill(2, 2);  // the region already has the fill value
    EXPECT_EQ(PenPosition.x, 9);
    if (depth() == 8) {
        DrawingColour = 0x123400;  // low byte 0: the index of every pixel
        FloodFill(2, 2);
        EXPECT_TRUE(Changed(6, 6).empty());
        EXPECT_EQ(PenPosition.x, 9);
    }
}

TEST_P(DrawingExamples, NothingHappensWithoutALiveCurrentImage)
{
    std::vector<std::uint8_t> before;
    {
        TableImage image(6, 6, depth());
        before = image.bytes();
        ImageTable[image.slot()].inUse = 0;  // as after destroying the current image
        KRT_SetPixel(1, 1, 0x80);
        KRT_DrawLine(0, 0, 5, 5, 0x80);
        FillCircle(3, 3, 2);
        FloodFill(1, 1);
        XorFillBox(0, 0, 5, 5);
        ClearImage(image.slot());
        EXPECT_EQ(KRT_GetPixel(1, 1), 0);
        EXPECT_EQ(ProbePixel(1, 1), -1);
        EXPECT_EQ(image.bytes(), before);
    }
    CurrentImage = 300;  // out of range, as a user program might set it
    KRT_SetPixel(1, 1, 0x80);
    EXPECT_EQ(KRT_GetPixel(1, 1), 0);
    CurrentImage = 0;
}

TEST(DrawingValues, ClearImageZeroesTheWholeBufferPaddingIncluded)
{
    TableImage image(5, 4, 8);
    std::fill(image.bytes().begin(), image.bytes().end(), 0x5A);
    ClearImage(image.slot());
    EXPECT_EQ(image.bytes(), std::vector<std::uint8_t>(8 * 4, 0));
}

INSTANTIATE_TEST_SUITE_P(Depths, DrawingExamples, ::testing::Values(32, 8),
                         [](const ::testing::TestParamInfo<int>& info) { return "Depth" + std::to_string(info.param); });

}  // namespace
