// The pick tools driven by the mouse messages a user's hand causes in the tool's image window:
// what each returns for clicks and for a cancel, the step back after the first point, Stop,
// and that no rubber band is left in the pixels afterwards.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/framework.h"
#include "framework_fixture.h"
#include "image_test_support.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"

namespace {

constexpr int kWidth = 160, kHeight = 120;  // opens at zoom 100: client points are image points

std::vector<unsigned char> Pixels()
{
    const size_t bytes = static_cast<size_t>(ImageStride(kWidth, 32)) * kHeight;
    return std::vector<unsigned char>(PixelTable[0], PixelTable[0] + bytes);
}

std::wstring StatusText()
{
    std::wstring text = WindowText(statusLine);
    const size_t first = text.find_first_not_of(L' ');
    return first == std::wstring::npos ? L"" : text.substr(first);
}

class PickTools : public FrameworkTest {
protected:
    void SetUp() override
    {
        FrameworkTest::SetUp();
        // The real pointer rests where no window is: the system sends a window under it mouse
        // moves of its own (when windows appear, for one), which would move a band.
        SetCursorPos(1270, 850);
        RunOnUserThread([] {
            ASSERT_EQ(KRT_CreateImage(0, "tools", 500, 400, kWidth, kHeight, 100), 0);
            for (int y = 0; y < kHeight; ++y)
                for (int x = 0; x < kWidth; ++x)
                    KRT_SetPixel(x, y, static_cast<int>(PatternColour(x, y)));
        });
        before = Pixels();
    }
    void TearDown() override
    {
        DestroyAllImages();
        FrameworkTest::TearDown();
    }

    // Starts `tool` on the user thread and waits until it listens.
    void Begin(std::function<int()> tool)
    {
        done = false;
        PostToUserThread([this, tool] {
            result = tool();
            done = true;
        });
        ASSERT_TRUE(PumpUntil([] { return ToolInProgress == 1; }));
    }
    // The mouse in the image window (zoom 100: client and image points are the same).
    void Send(UINT message, int x, int y)
    {
        PostMessageW(ImageTable[0].window, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, MAKELPARAM(x, y));
        PumpFor(60);
    }
    void Move(int x, int y) { Send(WM_MOUSEMOVE, x, y); }
    void Click(int x, int y) { Send(WM_LBUTTONDOWN, x, y); }
    void RightClick() { Send(WM_RBUTTONDOWN, 1, 1); }
    int Finish()
    {
        EXPECT_TRUE(PumpUntil([this] { return done.load(); }));
        return result;
    }
    bool Unchanged() { return Pixels() == before; }
    // Whether the band comes to cover pixel (x, y).
    static bool Changes(int x, int y)
    {
        return PumpUntil([x, y] { return PixelOf(0, x, y) != PatternColour(x, y); });
    }

    std::vector<unsigned char> before;
    std::atomic<bool> done{false};
    int result = -1;
    int a = -1, b = -1, c = -1, d = -1;
};

TEST_F(PickTools, ClicksGiveTheirPointsAndLeaveNoBandBehind)
{
    Begin([this] { return PickPoint(0, &a, &b); });
    Click(5, 6);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(5, 6));

    Begin([this] { return PickRow(0, &a, &b); });
    Move(3, 10);
    EXPECT_TRUE(Changes(40, 10));  // the band crosses the whole row
    Click(4, 11);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(4, 11));
    EXPECT_TRUE(Unchanged());

    Begin([this] { return PickColumn(0, &a, &b); });
    Move(20, 3);
    EXPECT_TRUE(Changes(20, 40));
    Click(21, 4);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(21, 4));
    EXPECT_TRUE(Unchanged());

    Begin([this] { return PickLine(0, &a, &b, &c, &d); });
    Click(2, 3);
    EXPECT_TRUE(PumpUntil([] { return StatusText() == L"Click the second point"; }));
    Move(10, 12);
    Click(20, 7);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::vector<int>({a, b, c, d}), std::vector<int>({2, 3, 20, 7}));
    EXPECT_TRUE(Unchanged());

    // Corners given bottom-right first come back ordered.
    Begin([this] { return PickRectangle(0, &a, &b, &c, &d); });
    Click(30, 20);
    Move(12, 9);
    Click(10, 5);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::vector<int>({a, b, c, d}), std::vector<int>({10, 5, 30, 20}));
    EXPECT_TRUE(Unchanged());

    // Radius 5 for (3, 4) from the centre, 1 for (1, 1) (sqrt 2 + 0.5 = 1.91).
    Begin([this] { return PickCircle(0, &a, &b, &c); });
    Click(20, 20);
    Move(26, 20);
    Click(23, 24);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::vector<int>({a, b, c}), std::vector<int>({20, 20, 5}));
    Begin([this] { return PickCircle(0, &a, &b, &c); });
    Click(10, 10);
    Click(11, 11);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(c, 1);
    EXPECT_TRUE(Unchanged());
    EXPECT_NE(StatusText().find(L"-bit color"), std::wstring::npos);
}

TEST_F(PickTools, PlacementShowsDiagonalsOnlyFromNineByNine)
{
    // 8 x 20 centred on (30, 24): box from (26, 14) to (33, 33); its inside stays as it was.
    Begin([this] { return PickPlacement(0, 8, 20, &a, &b); });
    Move(30, 24);
    EXPECT_TRUE(Changes(26, 14));
    EXPECT_EQ(PixelOf(0, 28, 17), PatternColour(28, 17));  // no diagonal
    Click(31, 25);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::make_pair(a, b), std::make_pair(31, 25));
    EXPECT_TRUE(Unchanged());
    // 9 x 9 centred on (30, 24): box from (26, 20) to (34, 28), diagonals through (28, 22).
    Begin([this] { return PickPlacement(0, 9, 9, &a, &b); });
    Move(30, 24);
    EXPECT_TRUE(Changes(28, 22));
    EXPECT_TRUE(Changes(32, 22));
    RightClick();
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(Unchanged());
}

TEST_F(PickTools, RightClickStepsBackThenCancelsAndStopCancelsWithoutABand)
{
    // Every tool: a right click before any point cancels with 1 and zeroed outputs.
    const std::vector<std::function<int()>> tools = {
        [this] { return PickPoint(0, &a, &b); },
        [this] { return PickRow(0, &a, &b); },
        [this] { return PickColumn(0, &a, &b); },
        [this] { return PickLine(0, &a, &b, &c, &d); },
        [this] { return PickRectangle(0, &a, &b, &c, &d); },
        [this] { return PickCircle(0, &a, &b, &c); },
        [this] { return PickPlacement(0, 12, 12, &a, &b); },
    };
    for (size_t i = 0; i < tools.size(); ++i) {
        a = b = -1;
        Begin(tools[i]);
        Move(15, 15);
        RightClick();
        EXPECT_EQ(Finish(), 1) << i;
        EXPECT_EQ(a, 0) << i;
        EXPECT_TRUE(Unchanged()) << i;
    }

    // After the first point a right click removes the band and asks for the first point again.
    Begin([this] { return PickRectangle(0, &a, &b, &c, &d); });
    Click(5, 5);
    Move(40, 30);
    RightClick();
    EXPECT_TRUE(PumpUntil([] { return StatusText() == L"Click the first point"; }));
    EXPECT_TRUE(PumpUntil([this] { return Unchanged(); }));
    Click(8, 9);
    Click(12, 13);
    EXPECT_EQ(Finish(), 0);
    EXPECT_EQ(std::vector<int>({a, b, c, d}), std::vector<int>({8, 9, 12, 13}));

    // Stop with a band drawn: a cancel, and the band is gone.
    Begin([this] { return PickCircle(0, &a, &b, &c); });
    Click(30, 20);
    Move(40, 20);
    ASSERT_TRUE(PumpUntil([this] { return !Unchanged(); }));
    SendMessageW(MainWindow, WM_COMMAND, 1003, 0);
    EXPECT_EQ(Finish(), 1);
    EXPECT_TRUE(Unchanged());

    // No such image: 2, and nothing changes, not even the outputs.
    a = b = c = d = -1;
    EXPECT_EQ(PickPoint(-1, &a, &b), 2);
    EXPECT_EQ(PickLine(7, &a, &b, &c, &d), 2);
    EXPECT_EQ(PickCircle(256, &a, &b, &c), 2);
    EXPECT_EQ(PickPlacement(7, 9, 9, &a, &b), 2);
    EXPECT_EQ(std::vector<int>({a, b, c, d}), std::vector<int>({-1, -1, -1, -1}));
}

// What the window shows while a band moves is what a whole repaint of it shows: every pixel a
// band changed, drawing or removing it, is repainted, at any zoom.
TEST_F(PickTools, TheWindowShowsEveryBandAsAWholeRepaintWould)
{
    auto shown = [](bool whole) {
        Snapshot shot;
        RunOnUserThread([&] {
            const ImageRecord& r = ImageTable[1];
            if (whole)
                InvalidateRect(r.window, nullptr, FALSE);
            UpdateWindow(r.window);
            shot = TakeSnapshot(r.windowDC, r.clientWidth, r.clientHeight);
        });
        return shot;
    };
    auto firstDifference = [](const Snapshot& a, const Snapshot& b) {
        for (int y = 0; y < a.height; ++y)
            for (int x = 0; x < a.width; ++x)
                if (a.at(x, y) != b.at(x, y))
                    return std::to_string(x) + ", " + std::to_string(y);
        return std::string();
    };
    struct Size {
        int width, height, zoom;
    };
    for (const Size& size : {Size{400, 300, 70}, Size{160, 120, 200}, Size{301, 211, 43}}) {
        RunOnUserThread([&] {
            KRT_DestroyImage(1);
            ASSERT_EQ(KRT_CreateImageFL(1, "zoomed", 20, 20, size.width, size.height, size.zoom), 0);
            for (int y = 0; y < size.height; ++y)
                for (int x = 0; x < size.width; ++x)
                    KRT_SetPixel(x, y, static_cast<int>(PatternColour(x, y)));
            InvalidateRect(ImageTable[1].window, nullptr, FALSE);
            UpdateWindow(ImageTable[1].window);
        });
        ASSERT_EQ(ImageTable[1].zoom, size.zoom);
        const HWND window = ImageTable[1].window;
        struct Tool {
            std::function<int()> run;
            bool twoPoints;
        };
        const std::vector<Tool> tools = {
            {[this] { return PickRectangle(1, &a, &b, &c, &d); }, true},
            {[this] { return PickLine(1, &a, &b, &c, &d); }, true},
            {[this] { return PickCircle(1, &a, &b, &c); }, true},
            {[this] { return PickRow(1, &a, &b); }, false},
            {[this] { return PickColumn(1, &a, &b); }, false},
            {[this] { return PickPlacement(1, 21, 13, &a, &b); }, false},
            {[this] { return PickPlacement(1, 5, 30, &a, &b); }, false},
        };
        for (size_t i = 0; i < tools.size(); ++i) {
            SCOPED_TRACE(std::to_string(size.zoom) + " %, tool " + std::to_string(i));
            Begin(tools[i].run);
            if (tools[i].twoPoints)
                PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(101, 77));
            for (POINT p : {POINT{150, 120}, POINT{37, 13}, POINT{211, 9}, POINT{5, 160}, POINT{120, 90}}) {
                PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
                PumpFor(60);
                const Snapshot partial = shown(false);
                ASSERT_EQ(firstDifference(partial, shown(true)), "");
            }
            // A step back first where there is a first point, then the cancel.
            PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 1));
            if (tools[i].twoPoints) {
                ASSERT_TRUE(PumpUntil([] { return StatusText() == L"Click the first point"; }));
                const Snapshot partial = shown(false);
                ASSERT_EQ(firstDifference(partial, shown(true)), "");
                PostMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(1, 1));
            }
            EXPECT_EQ(Finish(), 1);
            const Snapshot partial = shown(false);
            ASSERT_EQ(firstDifference(partial, shown(true)), "");
        }
    }
}

}  // namespace
