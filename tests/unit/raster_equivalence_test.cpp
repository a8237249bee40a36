// The raster layer against the per-pixel reference on many random shapes inside, across and
// far outside the image, at both depths; the XOR forms' round trip; one span per disc row;
// and shapes with coordinates near the ends of the 32-bit range.
#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

#include "imaging/drawing_state.h"
#include "krtlib.h"
#include "test_image.h"

namespace {

constexpr int W = 37, H = 23;  // odd sizes: 8-bit rows carry 3 bytes of padding

enum Shape {
    SetPixelShape, PutPixelShape, XorPixelShape, XorPixelQuietShape, LineShape, XorLineShape,
    BoxShape, XorBoxShape, FillBoxShape, XorFillBoxShape, CircleShape, XorCircleShape,
    FillCircleShape, XorFillCircleShape, FloodFillShape, ShapeCount
};
const char* const kShapeNames[ShapeCount] = {
    "SetPixel", "PutPixel", "XorPixel", "XorPixelQuiet", "DrawLine", "XorLine", "DrawBox", "XorBox",
    "FillBox", "XorFillBox", "DrawCircle", "XorCircle", "FillCircle", "XorFillCircle", "FloodFill"};

struct Args {
    int a, b, c, d;
    int colour;
};

void DrawWithLibrary(Shape shape, const Args& v)
{
    switch (shape) {
    case SetPixelShape: KRT_SetPixel(v.a, v.b, v.colour); break;
    case PutPixelShape: PutPixel(v.a, v.b, v.colour); break;
    case XorPixelShape: XorPixel(v.a, v.b); break;
    case XorPixelQuietShape: XorPixelQuiet(v.a, v.b); break;
    case LineShape: KRT_DrawLine(v.a, v.b, v.c, v.d, v.colour); break;
    case XorLineShape: XorLine(v.a, v.b, v.c, v.d); break;
    case BoxShape: DrawBox(v.a, v.b, v.c, v.d); break;
    case XorBoxShape: XorBox(v.a, v.b, v.c, v.d); break;
    case FillBoxShape: FillBox(v.a, v.b, v.c, v.d); break;
    case XorFillBoxShape: XorFillBox(v.a, v.b, v.c, v.d); break;
    case CircleShape: KRT_DrawCircle(v.a, v.b, v.c, v.colour); break;
    case XorCircleShape: XorCircle(v.a, v.b, v.c); break;
    case FillCircleShape: FillCircle(v.a, v.b, v.c); break;
    case XorFillCircleShape: XorFillCircle(v.a, v.b, v.c); break;
    case FloodFillShape: FloodFill(v.a, v.b); break;
    default: break;
    }
}

void DrawWithReference(RefImage& ref, Shape shape, const Args& v)
{
    switch (shape) {
    case SetPixelShape: ref.SetPixel(v.a, v.b, v.colour); break;
    case PutPixelShape: ref.PutPixel(v.a, v.b, v.colour); break;
    case XorPixelShape: ref.XorPixel(v.a, v.b); break;
    case XorPixelQuietShape: ref.XorPixelQuiet(v.a, v.b); break;
    case LineShape: ref.DrawLine(v.a, v.b, v.c, v.d, v.colour); break;
    case XorLineShape: ref.XorLine(v.a, v.b, v.c, v.d); break;
    case BoxShape: ref.DrawBox(v.a, v.b, v.c, v.d); break;
    case XorBoxShape: ref.XorBox(v.a, v.b, v.c, v.d); break;
    case FillBoxShape: ref.FillBox(v.a, v.b, v.c, v.d); break;
    case XorFillBoxShape: ref.XorFillBox(v.a, v.b, v.c, v.d); break;
    case CircleShape: ref.DrawCircle(v.a, v.b, v.c, v.colour); break;
    case XorCircleShape: ref.XorCircle(v.a, v.b, v.c); break;
    case FillCircleShape: ref.FillCircle(v.a, v.b, v.c); break;
    case XorFillCircleShape: ref.XorFillCircle(v.a, v.b, v.c); break;
    case FloodFillShape: ref.FloodFill(v.a, v.b); break;
    default: break;
    }
}

// Coordinates inside, across the border, or far outside; radii from 0 to far larger than
// the image.
struct ShapeSource {
    std::mt19937 random;
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    int Coordinate(int size)
    {
        switch (Pick(0, 3)) {
        case 0: return Pick(0, size - 1);
        case 1: return Pick(-size, 2 * size);
        case 2: return Pick(-8 * size, 9 * size);
        default: return Pick(-3, size + 2);
        }
    }
    int Radius()
    {
        switch (Pick(0, 3)) {
        case 0: return Pick(0, 4);
        case 1: return Pick(0, 2 * W);
        case 2: return Pick(W, 60 * W);
        default: return Pick(-3, W / 2);
        }
    }
    Args Next(Shape shape)
    {
        const bool circle = shape >= CircleShape && shape <= XorFillCircleShape;
        Args v{Coordinate(W), Coordinate(H), circle ? Radius() : Coordinate(W), Coordinate(H),
               static_cast<int>(random())};
        return v;
    }
};

class RasterEquivalence : public ::testing::TestWithParam<int> {};

TEST_P(RasterEquivalence, EveryShapeMatchesThePerPixelReference)
{
    const int depth = GetParam();
    ShapeSource source{std::mt19937(1234u + depth)};
    for (int trial = 0; trial < 6000; ++trial) {
        const Shape shape = static_cast<Shape>(trial % ShapeCount);
        const Args v = source.Next(shape);
        RefImage ref(W, H, depth);
        // Images of a few values, so that seed fills find ragged regions, or of noise.
        const int values = source.Pick(0, 1) ? 3 : 256;
        for (std::uint8_t& b : ref.bytes)
            b = static_cast<std::uint8_t>(source.Pick(0, values - 1));
        ref.penX = 11, ref.penY = -7;
        ref.drawingColour = source.Pick(0, 2) ? static_cast<int>(source.random()) : source.Pick(0, 2);
        TableImage image(W, H, depth);
        image.bytes() = ref.bytes;
        PixelTable[image.slot()] = image.bytes().data();
        PenPosition = {ref.penX, ref.penY};
        DrawingColour = ref.drawingColour;

        DrawWithLibrary(shape, v);
        DrawWithReference(ref, shape, v);
        const std::string what = std::string(kShapeNames[shape]) + "(" + std::to_string(v.a) + ", " +
                                 std::to_string(v.b) + ", " + std::to_string(v.c) + ", " + std::to_string(v.d) + ")";
        ASSERT_TRUE(SamePixels(image.bytes(), ref)) << what;
        ASSERT_EQ(PenPosition.x, ref.penX) << what;
        ASSERT_EQ(PenPosition.y, ref.penY) << what;
    }
}

TEST_P(RasterEquivalence, EveryXorFormTwiceRestoresTheImage)
{
    const int depth = GetParam();
    ShapeSource source{std::mt19937(99u + depth)};
    const Shape xorShapes[] = {XorPixelShape, XorPixelQuietShape, XorLineShape, XorBoxShape,
                               XorFillBoxShape, XorCircleShape, XorFillCircleShape};
    for (int trial = 0; trial < 3000; ++trial) {
        const Shape shape = xorShapes[trial % 7];
        const Args v = source.Next(shape);
        TableImage image(W, H, depth);
        FillRandom(image.bytes(), source.random);
        const std::vector<std::uint8_t> before = image.bytes();
        DrawWithLibrary(shape, v);
        DrawWithLibrary(shape, v);
        ASSERT_EQ(image.bytes(), before) << kShapeNames[shape] << "(" << v.a << ", " << v.b << ", " << v.c << ", " << v.d << ")";
    }
}

TEST_P(RasterEquivalence, EveryRowOfADiscIsOneSpanAroundTheCentre)
{
    const int depth = GetParam();
    for (int r = 1; r <= 40; ++r) {
        const int size = 2 * r + 5, c = r + 2;
        TableImage image(size, size, depth);
        XorFillCircle(c, c, r);
        for (int y = 0; y < size; ++y) {
            int runs = 0, first = -1, last = -1;
            for (int x = 0; x < size; ++x) {
                const bool on = KRT_GetPixel(x, y) != 0;
                if (on && (x == 0 || KRT_GetPixel(x - 1, y) == 0))
                    ++runs;
                if (on) {
                    if (first < 0)
                        first = x;
                    last = x;
                }
            }
            const bool inDisc = y >= c - r && y <= c + r;
            ASSERT_EQ(runs, inDisc ? 1 : 0) << "r " << r << " row " << y;
            if (inDisc) {
                ASSERT_EQ(c - first, last - c) << "r " << r << " row " << y;  // symmetric about cx
                ASSERT_EQ(y == c ? last - c : 0, y == c ? r : 0) << "r " << r;  // the middle row spans 2r + 1
            }
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, RasterEquivalence, ::testing::Values(32, 8),
                         [](const ::testing::TestParamInfo<int>& info) { return "Depth" + std::to_string(info.param); });

// ---- Coordinates near the ends of the 32-bit range -------------------------------------------

constexpr int kFar = 1 << 30;

// The non-zero pixels of a zero-filled W x H image, row by row as '#' and '.'.
std::string Picture()
{
    std::string out;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            out += KRT_GetPixel(x, y) != 0 ? '#' : '.';
        out += '\n';
    }
    return out;
}

std::string PictureOf(bool (*on)(int x, int y))
{
    std::string out;
    for (int y = 0; y < H; ++y) {
        for (int x = 0; x < W; ++x)
            out += on(x, y) ? '#' : '.';
        out += '\n';
    }
    return out;
}

TEST(FarCoordinates, LinesAreClippedNotWalked)
{
    for (int depth : {32, 8}) {
        {
            TableImage image(W, H, depth);
            KRT_DrawLine(-kFar, -kFar, kFar, kFar, 1);
            KRT_DrawLine(INT_MAX, INT_MAX, INT_MIN, INT_MIN, 1);  // the same diagonal, reversed
            EXPECT_EQ(Picture(), PictureOf([](int x, int y) { return x == y; }));
            EXPECT_EQ(PenPosition.x, INT_MIN);
        }
        {
            // From x = -2^30 the first row is left after exactly 2^30 steps, at x = 0.
            TableImage image(W, H, depth);
            KRT_DrawLine(-kFar, 0, kFar, 1, 1);
            EXPECT_EQ(Picture(), PictureOf([](int, int y) { return y == 1; }));
        }
        {
            TableImage image(W, H, depth);
            KRT_DrawLine(5, -kFar, 5, kFar, 1);
            XorLine(-kFar, 3, kFar, 3);
            XorLine(kFar, kFar, kFar + 5, -kFar);  // never inside
            EXPECT_EQ(Picture(), PictureOf([](int x, int y) { return x == 5 || y == 3; }));
        }
    }
}

TEST(FarCoordinates, RectanglesCoverOrMissTheImageWhole)
{
    TableImage image(W, H, 32);
    DrawingColour = 0x123456;
    XorBox(-kFar, -kFar, kFar, kFar);  // the outline runs far outside
    DrawBox(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(Picture(), PictureOf([](int, int) { return false; }));
    XorBox(-kFar, 2, kFar, 4);  // top and bottom rows cross, the sides do not
    EXPECT_EQ(Picture(), PictureOf([](int, int y) { return y == 2 || y == 4; }));
    FillBox(INT_MAX, INT_MAX, INT_MIN, INT_MIN);
    EXPECT_EQ(KRT_GetPixel(0, 0), 0x123456);
    EXPECT_EQ(KRT_GetPixel(W - 1, H - 1), 0x123456);
    XorFillBox(INT_MIN, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(KRT_GetPixel(W / 2, H / 2), 0x123456 ^ 0xFFFFFF);
}

TEST(FarCoordinates, HugeCirclesTouchTheImageOnlyNearTheirEdge)
{
    // A circle of radius 2^30 whose rightmost column is x = 5: near that point the outline
    // stays in one column for about sqrt(2r) rows, far more than the image has.
    const int cx = 5 - kFar, cy = 10;
    for (int depth : {32, 8}) {
        {
            TableImage image(W, H, depth);
            KRT_DrawCircle(cx, cy, kFar, 1);
            EXPECT_EQ(Picture(), PictureOf([](int x, int) { return x == 5; }));
        }
        {
            TableImage image(W, H, depth);
            XorFillCircle(cx, cy, kFar);
            EXPECT_EQ(Picture(), PictureOf([](int x, int) { return x <= 5; }));
        }
        {
            TableImage image(W, H, depth);
            FillCircle(INT_MAX / 2, INT_MAX / 2, INT_MAX);  // covers the image
            EXPECT_EQ(Picture(), PictureOf([](int, int) { return true; }));
        }
    }
}

}  // namespace
