// The test patterns against a per-pixel rendering of their formulas written here: every pixel
// set in turn from the top-left (the grey ramps as two lines per column), at both depths and
// at sizes from one pixel up, rows' padding included; and their documented examples.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "imaging/drawing_state.h"
#include "imaging/test_patterns.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

int Clamp(int t) { return t < 0 ? 0 : t >= 255 ? 255 : t; }
int Div16(int t) { return (t + 32768) / 65536; }
int Rgb(int r, int g, int b) { return r * 65536 + g * 256 + b; }

enum class Kind { Rgb, Hsv, YCrCb, Yuv, Yiq, Grey };

int ReferenceColour(Kind kind, int x, int y, int w, int h)
{
    switch (kind) {
    case Kind::Rgb:
        return Rgb(255 * x / w, 255 * y / h, 255 - 255 * (x + y) / (w + h));
    case Kind::Hsv: {
        const int n = h / 2;
        if (y < n)
            return HsvToRgb(255, 255 * y / n, 359 * x / w);
        return HsvToRgb(n == 0 ? 255 : 255 - 255 * (y - n) / n, 255, 359 * x / w);  // one row: full value
    }
    default: {
        const int u = 255 * (x - w / 2) / w, v = 255 * (y - h / 2) / h;
        const int y16 = static_cast<int>(std::sqrt(5.0 * v * v + 5.0 * u * u)) * 65536;
        if (kind == Kind::YCrCb)
            return Rgb(Clamp(Div16(y16 - 91881 * v)), Clamp(Div16(y16 + 46793 * v - 22544 * u)),
                       Clamp(Div16(y16 + 116130 * u)));
        if (kind == Kind::Yuv)
            return Rgb(Clamp(Div16(y16 - 74711 * v)), Clamp(Div16(y16 + 38076 * v - 25952 * u)),
                       Clamp(Div16(y16 + 132973 * u)));
        return Rgb(Clamp(Div16(y16 + 42998 * u - 62187 * v)), Clamp(Div16(y16 - 44872 * u + 17334 * v)),
                   Clamp(Div16(y16 + 118292 * u + 73859 * v)));
    }
    }
}

void DrawReference(RefImage& ref, Kind kind)
{
    const int w = ref.width, h = ref.height;
    if (kind == Kind::Grey) {
        for (int x = 0; x < w; ++x) {
            const int g = 255 * x / w;
            ref.DrawLine(x, 0, x, h / 2 - 1, g * 0x010101);
            ref.DrawLine(x, h / 2, x, h - 1, (255 - g) * 0x010101);
        }
        return;
    }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            ref.SetPixel(x, y, ReferenceColour(kind, x, y, w, h));
}

// Each pattern with its drawing call (the grey ramps are PatternGrey less its palette).
const std::pair<Kind, void (*)()> kPatterns[] = {{Kind::Rgb, PatternRgb},     {Kind::Hsv, PatternHsv},
                                                 {Kind::YCrCb, PatternYCrCb}, {Kind::Yuv, PatternYuv},
                                                 {Kind::Yiq, PatternYiq},     {Kind::Grey, DrawGreyRamps}};

TEST(TestPatterns, EveryPixelAsSetOneByOneAtBothDepthsAndManySizes)
{
    std::mt19937 random(5);
    std::vector<std::pair<int, int>> sizes;
    for (int w = 1; w <= 9; ++w)
        for (int h = 1; h <= 9; ++h)
            sizes.push_back({w, h});
    sizes.insert(sizes.end(), {{300, 200}, {257, 131}, {1000, 3}, {2, 600}});
    for (int depth : {32, 8}) {
        for (const auto& size : sizes) {
            for (const auto& [kind, draw] : kPatterns) {
                SCOPED_TRACE(testing::Message() << "pattern " << int(kind) << ", " << size.first << " x "
                                                << size.second << ", depth " << depth);
                TableImage image(size.first, size.second, depth);
                FillRandom(image.bytes(), random);
                RefImage ref(size.first, size.second, depth);
                ref.bytes = image.bytes();
                PenPosition = {-5, -5};
                draw();
                DrawReference(ref, kind);
                ASSERT_TRUE(SamePixels(image.bytes(), ref));
                ASSERT_EQ(PenPosition.x, ref.penX);
                ASSERT_EQ(PenPosition.y, ref.penY);
            }
        }
    }
}

TEST(TestPatterns, DocumentedExamples)
{
    {
        TableImage image(2, 2, 32);
        PatternRgb();
        EXPECT_EQ(KRT_GetPixel(0, 0), Rgb(0, 0, 255));
        EXPECT_EQ(KRT_GetPixel(1, 0), Rgb(127, 0, 192));
        EXPECT_EQ(KRT_GetPixel(0, 1), Rgb(0, 127, 192));
        EXPECT_EQ(KRT_GetPixel(1, 1), Rgb(127, 127, 128));
    }
    {
        TableImage image(2, 2, 8);
        PatternRgb();  // the blue byte is the index
        EXPECT_EQ(KRT_GetPixel(0, 0), 255);
        EXPECT_EQ(KRT_GetPixel(1, 1), 128);
    }
    {
        TableImage image(9, 7, 32);
        PatternYCrCb();
        EXPECT_EQ(KRT_GetPixel(4, 3), 0);                     // black at the centre
        EXPECT_EQ(KRT_GetPixel(0, 0), Rgb(255, 255, 151));  // saturated towards the corners
    }
    {
        TableImage image(5, 1, 32);
        DrawGreyRamps();  // one row: each column's single pixel has the lower half's colour
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(KRT_GetPixel(x, 0), (255 - 255 * x / 5) * 0x010101) << x;
    }
    {
        TableImage image(6, 1, 32);
        PatternHsv();  // one row: fully saturated, full value
        const int hues[] = {0, 59, 119, 179, 239, 299};
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(KRT_GetPixel(x, 0), HsvToRgb(255, 255, hues[x])) << x;
        EXPECT_EQ(KRT_GetPixel(0, 0), 0xFF0000);
    }
    // Without a live current image nothing is drawn (and nothing breaks).
    CurrentImage = 200;
    PenPosition = {3, 4};
    for (const auto& pattern : kPatterns)
        pattern.second();
    EXPECT_EQ(PenPosition.x, 3);
}

}  // namespace
