// The button box as a user program and its user meet it.
#include <gtest/gtest.h>

#include <thread>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "core/control_flags.h"

namespace {

using Rect4 = std::array<int, 4>;
using Texts = std::vector<std::wstring>;

class ButtonBoxTest : public FrameworkTest {
protected:
    void TearDown() override
    {
        if (TextRecord(0).inUse)
            TakePromptLog();
        FrameworkTest::TearDown();
    }
    static HWND Open(int x, int y, int nx, int ny)
    {
        RunOnUserThread([=] { KRT_OpenButtonBox(x, y, nx, ny); });
        return ButtonBox.box;
    }
    static void Close() { RunOnUserThread([] { KRT_CloseButtonBox(); }); }
    static int Poll(int index)
    {
        int presses = -1;
        RunOnUserThread([&] { presses = KRT_GetButton(index); });
        return presses;
    }
    static HWND Button(HWND box, int index) { return GetDlgItem(box, 3000 + index); }
    static void DoubleClick(HWND box, int x, int y)
    {
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    }
};

TEST_F(ButtonBoxTest, OpensAGridOfNumberedButtonsOfAtMost256)
{
    HWND box = Open(30, 40, 3, 2);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(box), L"ButtonBox");
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    EXPECT_EQ(ClientSize(box), (std::array<int, 2>{310, 64}));
    EXPECT_EQ(ChildTexts(box), (Texts{L"0", L"1", L"2", L"3", L"4", L"5"}));
    EXPECT_EQ(ChildRect(Button(box, 4)), (Rect4{106, 34, 98, 26}));
    EXPECT_TRUE(GetWindowLongW(Button(box, 4), GWL_STYLE) & BS_MULTILINE);
    EXPECT_EQ(Open(0, 0, 1, 1), box);  // no second box

    Close();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(ChildTexts(Open(0, 0, 16, 16)).size(), 256u);
    Close();
    EXPECT_EQ(Open(0, 0, 16, 17), nullptr);
    EXPECT_EQ(Open(0, 0, 0, 5), nullptr);
}

TEST_F(ButtonBoxTest, ClicksCountUntilPolledAndNothingCountsAfterDestruction)
{
    HWND box = Open(0, 0, 3, 2);
    for (int i = 0; i < 3; ++i)
        PostMessageW(Button(box, 2), BM_CLICK, 0, 0);
    FlushUserThread();
    HWND focus = nullptr;
    RunOnUserThread([&] { focus = GetFocus(); });
    EXPECT_EQ(focus, box);  // not the clicked button: the box's keys keep working
    EXPECT_EQ(Poll(2), 3);
    EXPECT_EQ(Poll(2), 0);

    PostMessageW(Button(box, 0), BM_CLICK, 0, 0);
    FlushUserThread();
    Close();
    RunOnUserThread([] { KRT_SetButtonBoxTitle(0, "gone"); });
    EXPECT_EQ(Poll(0), 0);
    EXPECT_EQ(ChildTexts(Open(0, 0, 2, 1)), (Texts{L"0", L"1"}));
    EXPECT_EQ(Poll(0), 0);  // a new box counts from 0
}

TEST_F(ButtonBoxTest, LettersAndArrowsSetTheirButtonOnceAndDigitsAdd)
{
    HWND box = Open(0, 0, 3, 2);
    for (WPARAM key : std::initializer_list<WPARAM>{'A', 'A', 'A', VK_DOWN, '4', '4', VK_NUMPAD4, '7'})
        PostKey(box, key);
    FlushUserThread();
    EXPECT_EQ(Poll(2), 1);
    EXPECT_EQ(Poll(5), 1);  // the arrows get past the dialog-message handling
    EXPECT_EQ(Poll(4), 3);
    EXPECT_EQ(Poll(7), 0);  // six buttons only

    // With Ctrl the letters still press, the digits do not, and X is no Exit.
    RunOnUserThread([] { SetCtrlDown(true); });
    for (WPARAM key : {'Q', '1', 'X'})
        PostKey(box, key);
    FlushUserThread();
    RunOnUserThread([] { SetCtrlDown(false); });
    EXPECT_EQ(Poll(0), 1);
    EXPECT_EQ(Poll(1), 0);
    PumpFor(100);
    ASSERT_TRUE(IsWindow(MainWindow));

    PostKey(box, 'X');
    ASSERT_TRUE(PumpUntil([] { return !IsWindow(MainWindow); }));
    EXPECT_EQ(exitState, 2);
}

TEST_F(ButtonBoxTest, ResizingStretchesTheButtonsAndTheNextBoxKeepsTheirSize)
{
    HWND box = Open(0, 0, 2, 6);
    RunOnUserThread([] { KRT_ResizeButtonBox(300, 200); });
    EXPECT_EQ(ClientSize(box), (std::array<int, 2>{300, 200}));
    EXPECT_EQ(ChildRect(Button(box, 11)), (Rect4{152, 164, 144, 28}));
    Close();
    box = Open(0, 0, 2, 6);
    EXPECT_EQ(ChildRect(Button(box, 0)), (Rect4{4, 4, 144, 28}));
}

TEST_F(ButtonBoxTest, RelabellingByDoubleClickAndMenuAndDestroyingByTheFrameMenu)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 6);  // client 208 x 184
    RunOnUserThread([] { KRT_SetButtonBoxTitle(3, "\x81\xa9\nr-"); });  // code page 932: a left arrow
    EXPECT_EQ(WindowText(Button(box, 3)), L"\x2190\nr-");
    DoubleClick(box, 206, 10);  // in the gap right of the last column
    ASSERT_TRUE(AnswerPrompt(L"go"));
    DoubleClick(box, 10, 182);  // below the last row
    ASSERT_TRUE(AnswerPrompt(L""));
    ASSERT_TRUE(ChooseOnlyItem(box, BoxMenu(box, 103, 31), 1057, L"Rename"));  // the corner of button 3
    ASSERT_TRUE(AnswerPrompt(L"r+"));
    EXPECT_EQ(ChildTexts(box)[1], L"go");
    EXPECT_EQ(ChildTexts(box)[10], L"10");  // an empty line keeps the label
    EXPECT_EQ(ChildTexts(box)[3], L"r+");
    EXPECT_EQ(TakePromptLog(), "1 '1' ->go\r\n10 '10' ->\r\n3 '\x81\xa9\r\nr-' ->r+\r\n");
    EXPECT_EQ(Poll(3), 0);  // menu commands are no presses

    ASSERT_TRUE(ChooseOnlyItem(box, CaptionMenu(box), 1050, L"&Destroy\tCtrl+Q"));
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
}

TEST_F(ButtonBoxTest, APromptStartsOnlyWhenNoLineIsReadAndOutlivesItsBoxHarmlessly)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 1);
    DoubleClick(box, 10, 10);
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    DoubleClick(box, 110, 10);  // a second prompt would nest and cancel the first
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    HWND next = Open(0, 0, 2, 1);  // the user thread still serves the test while the prompt waits
    ASSERT_TRUE(AnswerPrompt(L"late"));
    EXPECT_EQ(ChildTexts(next), (Texts{L"0", L"1"}));  // the prompt's box is gone: nothing changes
    EXPECT_EQ(TakePromptLog(), "0 '0' ->late\r\n");
}

TEST_F(ButtonBoxTest, AFailedDestructionIsReportedAndTheLeftoverWindowOnlyClosesItself)
{
    HWND box = Open(0, 0, 2, 1);
    std::thread other([] { KRT_CloseButtonBox(); });  // not the window's thread: DestroyWindow fails
    EXPECT_NE(DismissBox(L"KRTLIB error!").find(L"|DestroyWindow[BB] error|"), std::wstring::npos);
    other.join();
    EXPECT_EQ(ButtonBox.box, nullptr);
    HWND next = Open(0, 0, 3, 1);
    PostMessageW(Button(box, 0), BM_CLICK, 0, 0);  // the leftover's buttons count for no box
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_EQ(ButtonBox.box, next);
    EXPECT_TRUE(IsWindow(next));
    EXPECT_EQ(Poll(0), 0);
}

TEST_F(ButtonBoxTest, TheMainWindowsDialoguesReplaceTheBoxesWithTheAnsweredSizes)
{
    OpenPromptWindow();
    HWND old = Open(200, 200, 1, 1);
    TypeLinesForGuiThread({L"2", L"6"});
    PostMessageW(MainWindow, WM_COMMAND, 1051, 0);
    ASSERT_TRUE(PumpUntil([old] { return ButtonBox.box && ButtonBox.box != old; }));
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(ChildRect(Button(ButtonBox.box, 11)), (Rect4{106, 154, 98, 26}));
    RECT r;
    GetWindowRect(ButtonBox.box, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);

    TypeLinesForGuiThread({L"4"});
    PostMessageW(MainWindow, WM_COMMAND, 1044, 0);
    ASSERT_TRUE(PumpUntil([] { return InputBox.box != nullptr; }));
    EXPECT_EQ(ChildTexts(InputBox.box).size(), 8u);
    EXPECT_EQ(TakePromptLog(), "Creating ButtonBox...\r\nNumber[X]=>2\r\nNumber[Y]=>6\r\n"
                               "Creating InpuxBox...\r\nHow many items? >4\r\n");
}

}  // namespace
