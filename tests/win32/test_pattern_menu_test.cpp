// The tools menu's "Test Pattern..." rows, chosen as a user chooses them: Ctrl and a right
// click open the real popup menu, and the arrow keys and Enter walk to the row.  The clicked
// window's image becomes current and is overwritten with the pattern, and the window repaints
// it.
#include <gtest/gtest.h>

#include <vector>

#include "box_test_support.h"
#include "image_test_support.h"
#include "menu_capture.h"

namespace {

std::vector<unsigned char> Bytes(int slot)
{
    const ImageRecord& r = ImageTable[slot];
    const unsigned char* bits = PixelTable[slot];
    return std::vector<unsigned char>(bits, bits + static_cast<size_t>(ImageStride(r.width, r.bitDepth)) * r.height);
}

// What the window shows after it has repainted.
Snapshot Shown(int slot)
{
    Snapshot shot;
    RunOnUserThread([&] {
        const ImageRecord& r = ImageTable[slot];
        UpdateWindow(r.window);
        shot = TakeSnapshot(r.windowDC, r.clientWidth, r.clientHeight);
    });
    return shot;
}

void PaintWhite(int slot)
{
    RunOnUserThread([&] {
        const ImageRecord& r = ImageTable[slot];
        PatBlt(r.windowDC, 0, 0, r.clientWidth, r.clientHeight, WHITENESS);
    });
}

class TestPatternMenu : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }
};

TEST_F(TestPatternMenu, EachRowFillsTheClickedWindowsImageWhichThenRepaints)
{
    struct Row {
        UINT id;
        void (*pattern)();
    };
    const Row rows[] = {{1053, PatternRgb}, {1054, PatternHsv}, {1055, PatternYCrCb},
                        {1067, PatternYuv}, {1068, PatternYiq}, {1071, PatternGrey}};
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(0, "patterns", 100, 100, 160, 120, 100); }), 0);
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(1, "expected", 400, 100, 160, 120, 100); }), 0);
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(2, "current", 700, 100, 32, 32, 100); }), 0);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        RunOnUserThread([&] {
            KRT_SelectImage(1);
            row.pattern();
            KRT_SelectImage(2);
        });
        PaintWhite(0);
        ASSERT_TRUE(ChooseToolsRow(ImageTable[0].window, row.id));
        ASSERT_TRUE(PumpUntil([] { return Bytes(0) == Bytes(1); }, 5000));
        EXPECT_EQ(CurrentImage, 0);
        EXPECT_EQ(CountOther(2, 0), 0);  // the image that was current is left alone
        const Snapshot shown = Shown(0);
        int wrong = 0;
        ASSERT_EQ(ImageTable[0].zoom, 100);
        for (int y = 0; y < 120; ++y)
            for (int x = 0; x < 160; ++x)
                wrong += shown.at(x, y) != PixelOf(0, x, y);
        EXPECT_EQ(wrong, 0);
    }
}

// On an 8-bit image "Grey" first loads the grey palette, so its ramps show as true greys.
TEST_F(TestPatternMenu, GreyLoadsTheGreyPaletteOfAnEightBitImage)
{
    ASSERT_EQ(OnUserThread([] { return KRT_CreateImage8(0, "grey", 100, 100, 160, 120, 100); }), 0);
    std::vector<RGBQUAD> reds(256, RGBQUAD{0, 0, 0xFF, 0});
    ASSERT_EQ(OnUserThread([&] { return KRT_SetPalette(reds.data(), 256); }), 0);
    PaintWhite(0);
    ASSERT_TRUE(ChooseToolsRow(ImageTable[0].window, 1071));
    const std::vector<RGBQUAD> palette = PaletteOf(0);
    for (int i = 0; i < 256; ++i)
        ASSERT_TRUE(palette[i].rgbRed == i && palette[i].rgbGreen == i && palette[i].rgbBlue == i) << i;
    const Snapshot shown = Shown(0);
    ASSERT_EQ(ImageTable[0].zoom, 100);
    for (int x = 0; x < 160; ++x) {
        const unsigned g = 255 * x / 160;
        ASSERT_EQ(PixelOf(0, x, 0), g) << x;
        ASSERT_EQ(shown.at(x, 0), g * 0x010101u) << x;
        ASSERT_EQ(shown.at(x, 119), (255 - g) * 0x010101u) << x;
    }
}

}  // namespace
