// The tools menu's drawing rows as a user works them: the row chosen with the keys in the real
// popup menu, the points clicked in the window, the text typed at "Text>".  After each row the
// whole image equals a second image drawn directly with the same primitives and points.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "box_test_support.h"
#include "image_test_support.h"
#include "imaging/drawing_state.h"
#include "tool_test_support.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;  // opens at zoom 100: client points are image points

// The first pixel where images 0 and 1 differ, or "" when they are equal.
std::string FirstDifference()
{
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            if (PixelOf(0, x, y) != PixelOf(1, x, y)) {
                char text[80];
                std::snprintf(text, sizeof text, "(%d, %d): %06X, expected %06X", x, y, PixelOf(0, x, y),
                              PixelOf(1, x, y));
                return text;
            }
    return "";
}

class DrawingCommands : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        OpenPromptWindow();
        ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(0, "drawn", 300, 300, kWidth, kHeight, 100); }), 0);
        ASSERT_EQ(OnUserThread([] { return KRT_CreateImage(1, "expected", 500, 300, kWidth, kHeight, 100); }), 0);
    }
    void TearDown() override
    {
        RunOnUserThread([] { KRT_CloseAllLogs(); });
        DestroyAllImages();
        FrameworkTest::TearDown();
    }

    // Row `id` with its clicks and, when it asks for one, its line; true once it has drawn.
    static bool Run(UINT id, const std::vector<POINT>& clicks, const wchar_t* text = nullptr)
    {
        if (!RunToolsRow(ImageTable[0].window, id, clicks) || (text && !AnswerPrompt(text)))
            return false;
        RunOnUserThread([] {});
        return true;
    }

    // The same drawing, straight into image 1.
    static void Expect(const std::function<void()>& draw)
    {
        RunOnUserThread([&] {
            const int current = CurrentImage;
            KRT_SelectImage(1);
            draw();
            CurrentImage = current;
        });
    }
};

TEST_F(DrawingCommands, EachRowDrawsWithWhatWasClickedAndACancelDrawsNothing)
{
    struct Row {
        UINT id;
        int colour;
        std::vector<POINT> clicks;
        const wchar_t* text;
        std::function<void()> draw;
    };
    const std::vector<Row> rows = {
        // Corners given bottom-right first.
        {1037, 0x3366CC, {{120, 90}, {20, 30}}, nullptr, [] { FillBox(20, 30, 120, 90); }},
        // Radius 15 from (70, 60) through (79, 72).
        {1039, 0xFFFF00, {{70, 60}, {79, 72}}, nullptr, [] { KRT_DrawCircle(70, 60, 15, 0xFFFF00); }},
        // The inside of the circle only: its outline stops the fill.
        {1043, 0xFF0000, {{70, 60}}, nullptr, [] { FloodFill(70, 60); }},
        {1032, 0x00FF00, {{5, 5}, {150, 110}}, nullptr, [] { KRT_DrawLine(5, 5, 150, 110, 0x00FF00); }},
        {1034, 0xFF00FF, {{10, 100}}, nullptr, [] { KRT_DrawLine(0, 100, kWidth - 1, 100, 0xFF00FF); }},
        {1035, 0x00FFFF, {{140, 10}}, nullptr, [] { KRT_DrawLine(140, 0, 140, kHeight - 1, 0x00FFFF); }},
        {1036, 0xFFFFFF, {{2, 2}, {40, 20}}, nullptr, [] { DrawBox(2, 2, 40, 20); }},
        {1038, 0x123456, {{60, 50}, {30, 10}}, nullptr, [] { XorFillBox(30, 10, 60, 50); }},
        {1040, 0x808000, {{120, 30}, {126, 38}}, nullptr, [] { FillCircle(120, 30, 10); }},
        {1041, 0x000000, {{40, 80}, {40, 92}}, nullptr, [] { XorFillCircle(40, 80, 12); }},
        {1042, 0xFFA000, {{8, 115}}, L"Hi!",
         [] {
             KRT_SetTextCursor(8, 115, 8);
             krt_tc = 0xFFA000;
             KRT_DrawTextF("%s", "Hi!");
         }},
        {1048, 0x000000, {{130, 70}, {90, 100}}, L"Ab",
         [] {
             KRT_SetTextCursor(90, 100, 90);
             SetTrueTypeCellSize(41, 31);
             DrawTrueTypeString("Ab");
         }},
    };
    RunOnUserThread([] { krt_tttc = 0xC0FFC0; });
    for (const Row& row : rows) {
        SCOPED_TRACE(row.id);
        RunOnUserThread([&] { DrawingColour = row.colour; });
        ASSERT_TRUE(Run(row.id, row.clicks, row.text));
        Expect(row.draw);
        ASSERT_EQ(FirstDifference(), "");
        EXPECT_EQ(CurrentImage, 0);
    }
    ASSERT_NE(CountOther(0, 0), 0);

    // "Pick" takes the colour of the clicked pixel (inside the painted circle) and draws nothing.
    RunOnUserThread([] { DrawingColour = 0; });
    ASSERT_TRUE(Run(1052, {{70, 60}}));
    EXPECT_EQ(DrawingColour, 0xFF0000);
    EXPECT_EQ(krt_tttc, 0xFF0000);
    EXPECT_EQ(FirstDifference(), "");

    // A fill stepped back once and then cancelled changes nothing; the window's image was
    // selected by the row and again by its tool, over the image that was current.
    RunOnUserThread([] { KRT_SelectImage(1); });
    ASSERT_TRUE(ChooseToolsRow(ImageTable[0].window, 1037));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    PostMessageW(ImageTable[0].window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(ImageTable[0].window, WM_MOUSEMOVE, 0, MAKELPARAM(90, 90));
    PumpFor(100);
    PostMessageW(ImageTable[0].window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(90, 90));
    PumpFor(100);
    PostMessageW(ImageTable[0].window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(90, 90));
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
    RunOnUserThread([] {});
    EXPECT_EQ(FirstDifference(), "");
    EXPECT_EQ(std::vector<int>({CurrentImage, CurrentImageHistory[0], CurrentImageHistory[1]}),
              std::vector<int>({0, 0, 1}));

    // The two text rows asked for their lines at "Text>".
    const std::string log = TakePromptLog();
    EXPECT_NE(log.find("Text>Hi!"), std::string::npos) << log;
    EXPECT_NE(log.find("Text>Ab"), std::string::npos) << log;
}

// One tool at a time: a second tool command posted with the first, one for the other window
// while the first's band is drawn, and a program's own pick meanwhile are all refused.  The
// first tool takes every click, removes its band and fills exactly what was picked.
TEST_F(DrawingCommands, ASecondToolWhileOneWaitsIsRefused)
{
    const HWND window = ImageTable[0].window;
    auto mouse = [window](UINT message, int x, int y) {
        PostMessageW(window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
        PumpFor(60);
    };
    RunOnUserThread([] { DrawingColour = 0x3366CC; });
    PostMessageW(window, WM_COMMAND, 1037, 0);  // Draw Box / Fill
    PostMessageW(window, WM_COMMAND, 1032, 0);  // Draw Line / Normal
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    mouse(WM_LBUTTONDOWN, 20, 30);
    mouse(WM_MOUSEMOVE, 60, 50);
    PostMessageW(ImageTable[1].window, WM_COMMAND, 1039, 0);  // Draw Circle / Normal
    static std::atomic<int> picked;  // static: the work may outlive a failed test
    static int x, y;
    picked = x = y = -1;
    PostToUserThread([] { picked = PickPoint(0, &x, &y); });
    ASSERT_TRUE(PumpUntil([] { return picked != -1; }));
    EXPECT_EQ(std::vector<int>({picked, x, y}), std::vector<int>({1, 0, 0}));
    mouse(WM_LBUTTONDOWN, 120, 90);
    ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 0; }));
    FlushUserThread();
    Expect([] { FillBox(20, 30, 120, 90); });
    EXPECT_EQ(FirstDifference(), "");
    EXPECT_EQ(CurrentImage, 0);
}

}  // namespace
