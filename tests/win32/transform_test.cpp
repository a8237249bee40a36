// The tools menu's Process rows, Clipping and "&Resize...", chosen through the real menus as a
// user chooses them, checked pixel for pixel against renderings written here.
#include <gtest/gtest.h>

#include "box_test_support.h"
#include "image/image_window.h"
#include "picture_test_support.h"
#include "tool_test_support.h"

namespace {

class ImageTransforms : public FrameworkTest {
protected:
    void TearDown() override
    {
        DestroyAllImages();
        if (TextRecord(0).inUse)
            TakePromptLog();
        FrameworkTest::TearDown();
    }
};

constexpr int kSlot = 3;

// The tools-menu row on the slot's window (which a turn replaces with a new one).
void Process(UINT id) { ASSERT_TRUE(ChooseToolsRow(ImageTable[kSlot].window, id)) << id; }

}  // namespace

TEST_F(ImageTransforms, TurnsFlipsAndInvertMoveEveryPixelAndUndoThemselves)
{
    for (int depth : {32, 8}) {
        const int w = 160, h = 120;
        HWND first = PictureWindow(kSlot, "turn", 200, 150, w, h, depth);
        ASSERT_TRUE(first);
        const RECT place = OuterRect(first);
        auto picture = [depth](int x, int y) { return PictureValue(x, y, depth); };
        const std::wstring title = depth == 8 ? L"turn(100%)[8bit]" : L"turn(100%)";

        // R. Rotate: old (x, y) lands on (h - 1 - y, x) of a h x w image in a new window.
        Process(1061);
        ASSERT_TRUE(ImageTable[kSlot].inUse);
        EXPECT_EQ(ImageTable[kSlot].width, h);
        EXPECT_EQ(ImageTable[kSlot].height, w);
        EXPECT_EQ(FirstWrongPixel(kSlot, [&](int x, int y) { return picture(y, h - 1 - x); }), "") << depth;
        EXPECT_EQ(WindowText(ImageTable[kSlot].window), title);
        EXPECT_EQ(OuterRect(ImageTable[kSlot].window).left, place.left);
        EXPECT_EQ(OuterRect(ImageTable[kSlot].window).top, place.top);
        EXPECT_EQ(CurrentImage, kSlot);
        if (depth == 8) {
            EXPECT_TRUE(SamePalette(PaletteOf(kSlot), DistinctPalette()));
        }
        Process(1062);  // L. Rotate
        EXPECT_EQ(FirstWrongPixel(kSlot, picture), "") << "turned back, " << depth;

        const struct {
            UINT id;
            unsigned (*once)(int x, int y, int w, int h, int depth);
        } inPlace[] = {
            {1059, [](int x, int y, int w, int, int d) { return PictureValue(w - 1 - x, y, d); }},
            {1060, [](int x, int y, int, int h, int d) { return PictureValue(x, h - 1 - y, d); }},
            {1058, [](int x, int y, int, int, int d) { return (d == 8 ? 0xFFu : 0xFFFFFFu) - PictureValue(x, y, d); }},
        };
        for (const auto& row : inPlace) {
            HWND window = ImageTable[kSlot].window;
            Process(row.id);
            EXPECT_EQ(ImageTable[kSlot].window, window) << "in place";
            EXPECT_EQ(FirstWrongPixel(kSlot, [&](int x, int y) { return row.once(x, y, w, h, depth); }), "")
                << row.id << ", " << depth;
            Process(row.id);
            EXPECT_EQ(FirstWrongPixel(kSlot, picture), "") << row.id << " twice, " << depth;
        }
        DestroyAllImages();
    }
}

TEST_F(ImageTransforms, SizeRowsResampleWithTheStretchModeAndATurnThatCannotFitLeavesTheSlotFree)
{
    // COLORONCOLOR at 200 %: every pixel becomes a 2 x 2 block of itself; 8-bit indices and the
    // palette stay.  50 % of 101 x 3 is 51 x 2.
    for (int depth : {32, 8}) {
        ASSERT_TRUE(PictureWindow(kSlot, "size", 100, 100, 80, 60, depth));
        Process(1066);
        ASSERT_EQ(ImageTable[kSlot].width, 160);
        ASSERT_EQ(ImageTable[kSlot].height, 120);
        EXPECT_EQ(FirstWrongPixel(kSlot, [depth](int x, int y) { return PictureValue(x / 2, y / 2, depth); }), "")
            << depth;
        if (depth == 8) {
            EXPECT_TRUE(SamePalette(PaletteOf(kSlot), DistinctPalette()));
        }
        DestroyAllImages();
    }
    ASSERT_TRUE(PictureWindow(kSlot, "odd", 100, 100, 101, 3));
    RunOnUserThread([] { SetImageStretchMode(HALFTONE, kSlot); });
    Process(1063);
    EXPECT_EQ(ImageTable[kSlot].width, 51);
    EXPECT_EQ(ImageTable[kSlot].height, 2);
    EXPECT_EQ(GetImageStretchMode(kSlot), HALFTONE);
    EXPECT_EQ(WindowText(ImageTable[kSlot].window).back(), L'*');
    Process(1064);  // 70.7 %: 51 x 2 gives 36 x 1
    EXPECT_EQ(ImageTable[kSlot].width, 36);
    EXPECT_EQ(ImageTable[kSlot].height, 1);
    DestroyAllImages();

    // 2000 x 20 fits only without the screen's limits; turned, it fits no zoom on the screen: the
    // old image is gone, the slot free, and nothing is shown.
    RunOnUserThread([] { KRT_CreateImageFL(kSlot, "long", 0, 0, 2000, 20, 50); });
    ASSERT_TRUE(ImageTable[kSlot].inUse);
    HWND old = ImageTable[kSlot].window;
    Process(1061);
    EXPECT_FALSE(ImageTable[kSlot].inUse);
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(FindWindowW(L"#32770", nullptr), nullptr) << "a message box";
}

TEST_F(ImageTransforms, ResizeKeepsNamePlacePaletteAndStretchModeAndFitsTheScreen)
{
    RunOnUserThread([] {
        KRT_CreateImage8FL(kSlot, "canvas", 150, 160, 200, 100, 100);
        KRT_SetPalette(DistinctPalette().data(), 256);
        FillBox(0, 0, 199, 99);
        SetImageStretchMode(HALFTONE, kSlot);
    });
    HWND window = ImageTable[kSlot].window;
    const RECT place = OuterRect(window);
    OpenPromptWindow();
    ASSERT_TRUE(ChooseImageMenuRow(window, 1047));
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    TypeUnits(TextRecord(0).window, L"640\r480\r");  // the second prompt reads what follows
    ASSERT_TRUE(PumpUntil([] { return ImageTable[kSlot].inUse && ImageTable[kSlot].width == 640; }));
    FlushUserThread();
    const ImageRecord& r = ImageTable[kSlot];
    EXPECT_EQ(r.height, 480);
    EXPECT_EQ(r.bitDepth, 8);
    EXPECT_EQ(r.sizeLimitMode, ScreenFit);
    EXPECT_EQ(WindowText(r.window), L"canvas(100%)[8bit]*");
    EXPECT_EQ(OuterRect(r.window).left, place.left);
    EXPECT_EQ(OuterRect(r.window).top, place.top);
    EXPECT_EQ(CountOther(kSlot, 0), 0) << "a blank canvas";
    EXPECT_TRUE(SamePalette(PaletteOf(kSlot), DistinctPalette()));
    EXPECT_EQ(TakePromptLog(), "[3] New x-size(pixel)=640\r\n[3] New y-size(pixel)=480\r\n");
}

TEST_F(ImageTransforms, ClippingOpensTheRectangleInTheLowestFreeSlot)
{
    HWND source = PictureWindow(kSlot, "source", 300, 200, 160, 120);
    ASSERT_TRUE(PictureWindow(0, "busy", 700, 200, 120, 100));
    ASSERT_TRUE(RunToolsRow(source, 1019, {{10, 20}, {19, 24}}));
    ASSERT_TRUE(ImageTable[1].inUse);
    EXPECT_EQ(std::string(ImageTable[1].name), "(10,20)-(19,24)");
    EXPECT_EQ(ImageTable[1].width, 10);
    EXPECT_EQ(ImageTable[1].height, 5);
    EXPECT_EQ(OuterRect(ImageTable[1].window).left, 0);
    EXPECT_EQ(OuterRect(ImageTable[1].window).top, 0);
    EXPECT_EQ(CurrentImage, 1);
    EXPECT_EQ(FirstWrongPixel(1, [](int x, int y) { return PatternColour(10 + x, 20 + y); }), "");

    // Ctrl+R on an 8-bit source, the corners picked in reverse and past the image's edge: what
    // lies outside is index 0, and the palette comes along.
    HWND grey = PictureWindow(4, "grey", 300, 400, 160, 120, 8);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostMessageW(grey, WM_KEYDOWN, 'R', 0);
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    RunOnUserThread([] { SetCtrlDown(false); });
    for (POINT p : {POINT{169, 124}, POINT{150, 110}}) {
        PostMessageW(grey, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PumpFor(60);
    }
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0 && ImageTable[2].inUse; }));
    FlushUserThread();
    EXPECT_EQ(std::string(ImageTable[2].name), "(150,110)-(169,124)");
    EXPECT_EQ(ImageTable[2].bitDepth, 8);
    EXPECT_EQ(FirstWrongPixel(2, [](int x, int y) {
                  return 150 + x < 160 && 110 + y < 120 ? PictureValue(150 + x, 110 + y, 8) : 0u;
              }),
              "");
    EXPECT_TRUE(SamePalette(PaletteOf(2), DistinctPalette()));
}
