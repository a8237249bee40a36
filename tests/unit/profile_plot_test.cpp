// Reading rows and plotting them: every channel of the profile plot in both modes, and the
// (Cb, Cr) paths, against the plots drawn here point by point with the reference pixel and
// line calls.  The plots' text labels are not compared (their boxes are left out).
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/drawing_state.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

const std::vector<std::uint32_t> kSamples = {0x000000, 0xFFFFFF, 0xFF8000, 0x12A0F0, 0x00FF00, 0xFF00FF,
                                             0x808080, 0x0000FF, 0xFF0000, 0x3C7D22, 0xAB123456};

TEST(ProfilePlots, ReadImageRowCopiesTheRowAndZerosWhatLiesOutside)
{
    TableImage image(5, 3, 32);
    for (int x = 0; x < 5; ++x)
        KRT_SetPixel(x, 1, 0x010203 * (x + 1));
    std::vector<std::uint32_t> row(8, 0xEEEEEEEE);
    ReadImageRow(row.data(), 1, 7);
    EXPECT_EQ(row, (std::vector<std::uint32_t>{0x010203, 0x020406, 0x030609, 0x04080C, 0x050A0F, 0, 0, 0xEEEEEEEE}));
    for (int y : {3, -1}) {
        ReadImageRow(row.data(), y, 2);
        EXPECT_EQ(row[0], 0u);
        EXPECT_EQ(row[1], 0u);
        EXPECT_EQ(row[2], 0x030609u);
    }

    TableImage bytes(3, 2, 8, 8);
    KRT_SetPixel(2, 1, 0x77);
    std::vector<std::uint8_t> out(5, 0xEE);
    ReadImageRow(out.data(), 1, 4);
    EXPECT_EQ(out, (std::vector<std::uint8_t>{0, 0, 0x77, 0, 0xEE}));
    CurrentImage = 200;  // no image: nothing is written
    ReadImageRow(out.data(), 0, 4);
    EXPECT_EQ(out[2], 0x77);
}

struct Channel {
    int flag;
    int (*value)(std::uint32_t c);
    int fullScale;
};
const Channel kChannels[] = {
    {0x0001, [](std::uint32_t c) { return int(c >> 16 & 255); }, 255},
    {0x0002, [](std::uint32_t c) { return int(c >> 8 & 255); }, 255},
    {0x0004, [](std::uint32_t c) { return int(c & 255); }, 255},
    {0x0008, [](std::uint32_t c) { return GetHue(int(c)); }, 359},
    {0x0010, [](std::uint32_t c) { return GetSaturation(int(c)); }, 255},
    {0x0020, [](std::uint32_t c) { return GetValue(int(c)); }, 255},
    {0x0100, [](std::uint32_t c) { return Luminance(int(c)); }, 255},
    {0x0200, [](std::uint32_t c) { return ChromaCr(int(c)) + 128; }, 255},
    {0x0400, [](std::uint32_t c) { return ChromaCb(int(c)) + 128; }, 255},
};

// The plot as documented: sample i at (xOffset + i, 127 - v * 127 / scale), a pixel each, or
// the first a pixel and every further one a line from the pen position.
void ReferenceProfile(RefImage& ref, const std::vector<int>& values, int xOffset, int scale, bool dots, int colour)
{
    for (size_t i = 0; i < values.size(); ++i) {
        const int x = xOffset + int(i), y = 127 - values[i] * 127 / scale;
        if (dots || i == 0)
            ref.SetPixel(x, y, colour);
        else
            ref.DrawLine(ref.penX, ref.penY, x, y, colour);
    }
}

TEST(ProfilePlots, EveryChannelInDotsAndConnectedModes)
{
    for (const Channel& channel : kChannels) {
        for (int mode : {0x40, 0x80, 0xC0}) {  // dots, connected, both (dots win)
            SCOPED_TRACE(testing::Message() << "flag " << channel.flag << ", mode " << mode);
            TableImage image(30, 128, 32);
            RefImage ref(30, 128, 32);
            std::vector<int> values;
            for (std::uint32_t c : kSamples)
                values.push_back(channel.value(c));
            PenPosition = {29, 60};  // the first sample is a single pixel, wherever the pen was
            ref.penX = 29, ref.penY = 60;
            PlotProfile(kSamples.data(), 7, int(kSamples.size()), channel.flag | mode, 0x00C0FF);
            ReferenceProfile(ref, values, 7, channel.fullScale, mode != 0x80, 0x00C0FF);
            ASSERT_TRUE(SamePixels(image.bytes(), ref));
            ASSERT_EQ(PenPosition.x, ref.penX);
            ASSERT_EQ(PenPosition.y, ref.penY);
        }
    }
}

TEST(ProfilePlots, BytesScalesFlagOrderAndNothingToDraw)
{
    TableImage image(8, 128, 8);
    const std::uint8_t bytes[] = {0, 255, 128, 64};
    PlotProfile(bytes, 2, 4, 0x1000 | 0x80, 9);
    RefImage ref(8, 128, 8);
    ReferenceProfile(ref, {0, 255, 128, 64}, 2, 255, false, 9);
    EXPECT_TRUE(SamePixels(image.bytes(), ref));
    EXPECT_EQ(KRT_GetPixel(2, 127), 9);  // 0 on row 127
    EXPECT_EQ(KRT_GetPixel(3, 0), 9);    // 255 on row 0

    TableImage words(4, 128, 32, 8);
    const std::uint32_t samples[] = {0xFF00FF, 0xFF0000};  // hue 300 and 0
    PlotProfile(samples, 0, 2, 0x0008 | 0x0001 | 0x40, 0xFFFFFF);  // red comes first
    EXPECT_EQ(KRT_GetPixel(0, 0), 0xFFFFFF);
    EXPECT_EQ(KRT_GetPixel(1, 0), 0xFFFFFF);
    PlotProfile(samples, 2, 2, 0x0008 | 0x40, 0x00FF00);  // hue on its own scale of 359
    EXPECT_EQ(KRT_GetPixel(2, 127 - 300 * 127 / 359), 0x00FF00);
    EXPECT_EQ(KRT_GetPixel(3, 127), 0x00FF00);

    // No samples, or no drawing mode: nothing is drawn and the pen stays.
    TableImage empty(4, 128, 32, 9);
    PenPosition = {1, 2};
    PlotProfile(samples, 0, 0, 0x0001 | 0x40, 0xFFFFFF);
    PlotProfile(samples, 0, -3, 0x0001 | 0x80, 0xFFFFFF);
    PlotProfile(samples, 0, 2, 0x0001, 0xFFFFFF);
    EXPECT_EQ(empty.bytes(), std::vector<std::uint8_t>(empty.bytes().size(), 0));
    EXPECT_EQ(PenPosition.x, 1);
    EXPECT_EQ(PenPosition.y, 2);
}

// The axes and the (Cb, Cr) paths, outside the two label boxes.
bool InLabel(int x, int y) { return (x >= 100 && x < 160 && y < 28) || (x >= 228 && y >= 120 && y < 160); }

::testing::AssertionResult SameOutsideLabels(const RefImage& ref)
{
    for (int y = 0; y < ref.height; ++y)
        for (int x = 0; x < ref.width; ++x)
            if (!InLabel(x, y) && KRT_GetPixel(x, y) != int(ref.Get(x, y)))
                return ::testing::AssertionFailure() << "pixel (" << x << ", " << y << ") is " << std::hex
                                                     << KRT_GetPixel(x, y) << " instead of " << ref.Get(x, y);
    return ::testing::AssertionSuccess();
}

void ReferenceAxes(RefImage& ref)
{
    ref.DrawLine(0, 128, 256, 128, 0x808080);
    ref.DrawLine(128, 0, 128, 256, 0x808080);
}

void ReferencePoint(RefImage& ref, std::uint32_t c, bool first, int colour)
{
    const int r = int(c >> 16 & 255), g = int(c >> 8 & 255), b = int(c & 255);
    const int cb = (32768 * (b + 1) - 21692 * g - 11076 * r) / 65536;
    const int cr = (32768 * (r + 1) - 27460 * g - 5308 * b) / 65536;
    if (first)
        ref.SetPixel(128 + cb, 128 - cr, colour);
    else
        ref.DrawLine(ref.penX, ref.penY, 128 + cb, 128 - cr, colour);
}

TEST(ProfilePlots, CrCbRowAlternatesWhiteAndMagentaAndAreaStartsAWhitePathOnEveryRow)
{
    TableImage image(256, 256, 32);
    RefImage ref(256, 256, 32);
    PlotCrCbRow(kSamples.data(), int(kSamples.size()));
    ReferenceAxes(ref);
    int colour = 0xFFFFFF;
    for (size_t i = 0; i < kSamples.size(); ++i, colour ^= 0x00FF00)
        ReferencePoint(ref, kSamples[i], i == 0, colour);
    EXPECT_TRUE(SameOutsideLabels(ref));
    EXPECT_EQ(krt_tc, 0x8888FF);  // the colour of the last label

    TableImage area(256, 256, 32, 8);
    RefImage areaRef(256, 256, 32);
    const std::uint32_t block[] = {0xFF0000, 0x00FF00, 0x204060, 0x0000FF, 0xFFFF00, 0x00FFFF};  // 2 rows of 3
    PlotCrCbArea(2, block, 3);
    ReferenceAxes(areaRef);
    for (int i = 0; i < 6; ++i)
        ReferencePoint(areaRef, block[i], i % 3 == 0, 0xFFFFFF);
    EXPECT_TRUE(SameOutsideLabels(areaRef));
}

}  // namespace
