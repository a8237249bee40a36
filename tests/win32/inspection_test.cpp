// The "Information..." rows as a user works them through the real tools menu: "Pixel" prints
// a clicked pixel into the log of text window 0; the row and area plots open their result
// windows in the first free slot, and their curves lie where the formulas put them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "box_test_support.h"
#include "image/image_window.h"
#include "image_test_support.h"
#include "tool_test_support.h"

namespace {

class Inspection : public FrameworkTest {
protected:
    void TearDown() override
    {
        RunOnUserThread([] { KRT_CloseAllLogs(); });
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
    // Row `id` on the window of `slot` with its clicks; true once the command has ended.
    static bool Run(int slot, UINT id, const std::vector<POINT>& clicks)
    {
        if (!RunToolsRow(ImageTable[slot].window, id, clicks))
            return false;
        RunOnUserThread([] {});
        return true;
    }
    static std::string Title(int slot) { return Narrow(WindowText(ImageTable[slot].window)); }
};

// A plot's sample: its value v (of full scale `full`) at column x lies on row 127 - 127 v / full.
unsigned PlotAt(int slot, int x, int v, int full = 255) { return PixelOf(slot, x, 127 - v * 127 / full); }

TEST_F(Inspection, PixelPrintsTheSixModelsOrTheIndexIntoTheLog)
{
    OpenPromptWindow();
    ASSERT_EQ(OnUserThread([] {
                  const int made = KRT_CreateImage(0, "colour", 300, 300, 160, 120, 100);
                  KRT_SetPixel(0, 0, 0xFF0000);
                  KRT_SetPixel(5, 7, 0xFFFFFF);
                  return made;
              }),
              0);
    ASSERT_EQ(OnUserThread([] {
                  const int made = KRT_CreateImage8(1, "grey", 500, 300, 160, 120, 100);
                  std::vector<RGBQUAD> reds(256, RGBQUAD{0, 0, 0xFF, 0});
                  KRT_SetPalette(reds.data(), 256);  // the index is printed, not its colour
                  KRT_SetPixel(3, 4, 200);
                  return made;
              }),
              0);
    ASSERT_TRUE(Run(0, 1015, {{0, 0}}));
    ASSERT_TRUE(Run(0, 1015, {{5, 7}}));
    ASSERT_TRUE(Run(1, 1015, {{3, 4}}));
    EXPECT_EQ(CurrentImage, 1);
    EXPECT_EQ(TakePromptLog(),
              "(X,Y)=(0,0)\r\n(R,G,B)=(255,0,0)\r\n(H,S,V)=(0,255,255)\r\n(Y,Cr,Cb)=(76,128,-42)\r\n"
              "(Y,u,v)=(76,-36,157)\r\n(Y,I,Q)=(76,152,53)\r\n\r\n"
              "(X,Y)=(5,7)\r\n(R,G,B)=(255,255,255)\r\n(H,S,V)=(0,0,255)\r\n(Y,Cr,Cb)=(255,0,0)\r\n"
              "(Y,u,v)=(255,0,0)\r\n(Y,I,Q)=(255,0,0)\r\n\r\n"
              "(X,Y)=(3,4)\r\n(Luminance)=(200)\r\n\r\n");
}

TEST_F(Inspection, RowAndAreaPlotsOpenInTheFirstFreeSlotWithTheirCurves)
{
    // Row 10 keeps its three channels in three bands of the plot that never meet: red high,
    // green in the middle, blue low.
    auto red = [](int x) { return 200 + x % 56; };
    auto green = [](int x) { return 100 + 3 * x % 51; };
    auto blue = [](int x) { return 7 * x % 51; };
    ASSERT_EQ(OnUserThread([&] {
                  const int made = KRT_CreateImage(0, "source", 200, 300, 300, 60, 100);
                  for (int x = 0; x < 300; ++x)
                      KRT_SetPixel(x, 10, red(x) << 16 | green(x) << 8 | blue(x));
                  KRT_CreateImage(1, "one", 600, 500, 160, 120, 100);
                  KRT_CreateImage(3, "three", 800, 500, 160, 120, 100);
                  return made;
              }),
              0);

    ASSERT_TRUE(Run(0, 1016, {{50, 10}}));
    ASSERT_TRUE(ImageTable[2].inUse);
    EXPECT_EQ(CurrentImage, 2);
    EXPECT_EQ(Title(2), "RGB(Y=10)(100%)");
    EXPECT_EQ(std::vector<int>({ImageTable[2].width, ImageTable[2].height, ImageTable[2].zoom, ImageTable[2].bitDepth}),
              std::vector<int>({312, 128, 100, 32}));
    RECT frame;
    GetWindowRect(ImageTable[2].window, &frame);
    EXPECT_EQ(std::make_pair(frame.left, frame.top), std::make_pair(0L, 0L));
    for (int x = 0; x < 300; ++x) {
        ASSERT_EQ(PlotAt(2, 12 + x, red(x)), 0xFF0000u) << x;
        ASSERT_EQ(PlotAt(2, 12 + x, green(x)), 0x00FF00u) << x;
        ASSERT_EQ(PlotAt(2, 12 + x, blue(x)), 0x0000FFu) << x;
    }
    int between = 0;  // rows no band reaches
    for (int y : {29, 40, 52, 79, 90, 102})
        for (int x = 12; x < 312; ++x)
            between += PixelOf(2, x, y) != 0;
    EXPECT_EQ(between, 0);
    // Each label in its curve's colour in the margin, at its baseline.
    auto labelled = [](unsigned colour, int baseline) {
        int n = 0;
        for (int y = baseline - 12; y <= baseline; ++y)
            for (int x = 0; x < 12; ++x)
                n += PixelOf(2, x, y) == colour;
        return n;
    };
    EXPECT_GT(labelled(0xFF0000, 40), 0);
    EXPECT_GT(labelled(0x00FF00, 72), 0);
    EXPECT_GT(labelled(0x0000FF, 104), 0);
    EXPECT_EQ(krt_tc, 0x0000FF);

    // A 1 x 1 area plots one white point at (128 + Cb, 128 - Cr) of its pixel, beside the
    // grey axes and the coloured labels.
    ASSERT_TRUE(Run(0, 1022, {{7, 10}, {7, 10}}));
    ASSERT_TRUE(ImageTable[4].inUse);
    EXPECT_EQ(Title(4), "CrCb(7,10)-(7,10)(100%)");
    EXPECT_EQ(std::make_pair(ImageTable[4].width, ImageTable[4].height), std::make_pair(256, 256));
    const int r = red(7), g = green(7), b = blue(7);
    const int cb = (32768 * b - 11076 * r - 21692 * g + 32768) / 65536;
    const int cr = (32768 * r - 27460 * g - 5308 * b + 32768) / 65536;
    EXPECT_EQ(256 * 256 - CountOther(4, 0xFFFFFF), 1);
    EXPECT_EQ(PixelOf(4, 128 + cb, 128 - cr), 0xFFFFFFu);

    // A row 3000 pixels wide gives a window that opens at a reduced zoom to fit the screen.
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(5, "wide", 0, 400, 3000, 200, 100); }), 0);
    const int zoom = ImageTable[5].zoom;
    ASSERT_LT(zoom, 100);
    ASSERT_TRUE(Run(5, 1016, {{30, 20}}));
    ASSERT_TRUE(ImageTable[6].inUse);
    const std::string name = "RGB(Y=" + std::to_string(20 * 100 / zoom) + ")";
    EXPECT_EQ(Title(6).substr(0, name.size()), name);
    EXPECT_EQ(ImageTable[6].width, 3012);
    EXPECT_LT(ImageTable[6].zoom, 100);
    GetWindowRect(ImageTable[6].window, &frame);
    EXPECT_LE(frame.right - frame.left, GetSystemMetrics(SM_CXSCREEN));
}

// "Area(CrCb)" posted to an 8-bit image, whose menu does not offer it: the block read holds a
// byte a pixel, and the plot must not depend on what the rest of its memory held before.  The
// heap is filled with a pattern first, so that stale bytes would show.
TEST_F(Inspection, AreaPlotOfAnEightBitImageDependsOnTheImageAlone)
{
    ASSERT_EQ(OnUserThread([] {
                  const int made = KRT_CreateImage8(0, "grey", 200, 300, 16, 16, 100);
                  for (int y = 0; y < 16; ++y)
                      for (int x = 0; x < 16; ++x)
                          KRT_SetPixel(x, y, 16 * y + x);
                  return made;
              }),
              0);
    std::vector<unsigned> plots[2];
    for (int run = 0; run < 2; ++run) {
        static unsigned char fill;
        fill = run == 0 ? 0x00 : 0xA5;
        PostToUserThread([] {
            std::vector<void*> blocks;
            for (int i = 0; i < 64; ++i) {
                blocks.push_back(std::malloc(16 * 16 * 4));
                std::memset(blocks.back(), fill, 16 * 16 * 4);
            }
            for (void* block : blocks)
                std::free(block);
        });
        PostMessageW(ImageTable[0].window, WM_COMMAND, 1022, 0);
        ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
        for (POINT p : {POINT{0, 0}, POINT{15, 15}}) {
            PostMessageW(ImageTable[0].window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
            PostMessageW(ImageTable[0].window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
            PumpFor(60);
        }
        ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
        RunOnUserThread([] {});
        const int result = run + 1;
        ASSERT_TRUE(ImageTable[result].inUse);
        for (int y = 0; y < 256; ++y)
            for (int x = 0; x < 256; ++x)
                plots[run].push_back(PixelOf(result, x, y));
    }
    EXPECT_TRUE(plots[0] == plots[1]);
}

TEST_F(Inspection, LuminanceOfAnEightBitRowIsItsIndices)
{
    ASSERT_EQ(OnUserThread([] {
                  const int made = KRT_CreateImage8(0, "grey", 200, 300, 256, 40, 100);
                  for (int x = 0; x < 256; ++x)
                      KRT_SetPixel(x, 30, 255 - x);
                  return made;
              }),
              0);
    ASSERT_TRUE(Run(0, 1070, {{100, 30}}));
    ASSERT_TRUE(ImageTable[1].inUse);
    EXPECT_EQ(Title(1), "Luminance(Y=30)(100%)");
    EXPECT_EQ(std::make_pair(ImageTable[1].width, ImageTable[1].height), std::make_pair(268, 128));
    for (int x = 0; x < 256; ++x)
        ASSERT_EQ(PlotAt(1, 12 + x, 255 - x), 0xFFFFFFu) << x;
}

}  // namespace
