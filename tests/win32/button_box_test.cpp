// The button box as a user program and its user meet it: the grid it opens, presses by click
// and by key, resizing, relabelling, its menus and its destruction.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "core/control_flags.h"
#include "menu_capture.h"

namespace {

class ButtonBoxTest : public FrameworkTest {
protected:
    void TearDown() override
    {
        ClosePromptLogIfAny();
        FrameworkTest::TearDown();
    }
    static void ClosePromptLogIfAny()
    {
        if (TextRecord(0).inUse)
            TakePromptLog();
    }
    static HWND Open(int x, int y, int nx, int ny)
    {
        RunOnUserThread([=] { KRT_OpenButtonBox(x, y, nx, ny); });
        return ButtonBox.box;
    }
    static void Close()
    {
        RunOnUserThread([] { KRT_CloseButtonBox(); });
    }
    static int Poll(int index)
    {
        int presses = -1;
        RunOnUserThread([&] { presses = KRT_GetButton(index); });
        return presses;
    }
    static HWND Button(HWND box, int index) { return GetDlgItem(box, 3000 + index); }
    static void Click(HWND box, int index) { PostMessageW(Button(box, index), BM_CLICK, 0, 0); }
    static void DoubleClick(HWND box, int x, int y)
    {
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(x, y));
    }
    static std::vector<std::wstring> Labels(HWND box)
    {
        std::vector<std::wstring> labels;
        for (HWND child : Children(box))
            labels.push_back(WindowText(child));
        return labels;
    }
};

TEST_F(ButtonBoxTest, OpensAGridOfNumberedButtonsWhereAsked)
{
    HWND box = Open(30, 40, 3, 2);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(box), L"ButtonBox");
    EXPECT_EQ(ClassOf(box), L"krt_bb");
    EXPECT_EQ(GetWindow(box, GW_OWNER), MainWindow);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, 30);
    EXPECT_EQ(r.top, 40);
    const SIZE client = ClientSize(box);
    EXPECT_EQ(client.cx, 3 * 102 + 4);
    EXPECT_EQ(client.cy, 2 * 30 + 4);

    const std::vector<HWND> buttons = Children(box);
    ASSERT_EQ(buttons.size(), 6u);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ClassOf(buttons[i]), L"Button");
        EXPECT_EQ(GetDlgCtrlID(buttons[i]), 3000 + i);
        EXPECT_EQ(WindowText(buttons[i]), std::to_wstring(i));
        EXPECT_TRUE(GetWindowLongW(buttons[i], GWL_STYLE) & BS_MULTILINE);
        EXPECT_EQ(ChildRect(buttons[i]), (PlacedRect{4 + (i % 3) * 102, 4 + (i / 3) * 30, 98, 26}));
    }
    // A second box is not opened while one exists.
    EXPECT_EQ(Open(0, 0, 1, 1), box);
    EXPECT_EQ(Children(box).size(), 6u);
}

TEST_F(ButtonBoxTest, AtMost256ButtonsAndNoneForAnEmptyGrid)
{
    HWND box = Open(0, 0, 16, 16);
    ASSERT_TRUE(box);
    EXPECT_EQ(Children(box).size(), 256u);
    EXPECT_EQ(WindowText(Button(box, 255)), L"255");
    Close();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(Open(0, 0, 16, 17), nullptr);
    EXPECT_EQ(Open(0, 0, 0, 5), nullptr);
    EXPECT_EQ(Open(0, 0, 65536, 65536), nullptr);  // the product would wrap to 0
}

TEST_F(ButtonBoxTest, ClicksCountUntilPolledAndLeaveTheFocusOnTheBox)
{
    HWND box = Open(0, 0, 3, 2);
    for (int i = 0; i < 3; ++i)
        Click(box, 2);
    FlushUserThread();
    EXPECT_EQ(FocusOfUserThread(), box);  // not on the clicked button: keys keep working
    EXPECT_EQ(Poll(2), 3);
    EXPECT_EQ(Poll(2), 0);
    EXPECT_EQ(Poll(1), 0);
    EXPECT_EQ(Poll(6), 0);   // no such button
    EXPECT_EQ(Poll(-1), 0);
}

TEST_F(ButtonBoxTest, LettersAndArrowsSetTheirButtonOnceAndDigitsAdd)
{
    HWND box = Open(0, 0, 3, 2);
    for (int i = 0; i < 3; ++i)
        PostKey(box, 'A');
    PostKey(box, VK_DOWN);  // the arrows pass the dialog-message handling
    PostKey(box, VK_RIGHT);
    PostKey(box, '4');
    PostKey(box, '4');
    PostKey(box, VK_NUMPAD4);
    PostKey(box, '7');  // no button 7 among six
    FlushUserThread();
    EXPECT_EQ(Poll(2), 1);
    EXPECT_EQ(Poll(5), 1);
    EXPECT_EQ(Poll(3), 1);
    EXPECT_EQ(Poll(4), 3);
    EXPECT_EQ(Poll(7), 0);
    EXPECT_EQ(Poll(0), 0);

    // With Ctrl the letters still press, the digits do not.
    RunOnUserThread([] { SetCtrlDown(true); });
    PostKey(box, 'Q');
    PostKey(box, VK_LEFT);
    PostKey(box, '1');
    FlushUserThread();
    RunOnUserThread([] { SetCtrlDown(false); });
    EXPECT_EQ(Poll(0), 1);
    EXPECT_EQ(Poll(2), 1);
    EXPECT_EQ(Poll(1), 0);
}

TEST_F(ButtonBoxTest, XInTheBoxIsExitButNotWithCtrl)
{
    HWND box = Open(0, 0, 2, 1);
    RunOnUserThread([] { SetCtrlDown(true); });
    PostKey(box, 'X');
    FlushUserThread();
    RunOnUserThread([] { SetCtrlDown(false); });
    PumpFor(200);
    ASSERT_TRUE(IsWindow(MainWindow));

    PostKey(box, 'X');
    ASSERT_TRUE(PumpUntil([] { return !IsWindow(MainWindow); }));
    EXPECT_EQ(exitState, 2);
}

TEST_F(ButtonBoxTest, CStopsTheRunningProgramAndEscapeExits)
{
    static std::atomic<int> frames;
    frames = 0;
    testUserMain = [] {
        while (WaitNextFrame() == 0)
            ++frames;
    };
    HWND box = Open(0, 0, 2, 1);
    SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
    ASSERT_TRUE(PumpUntil([] { return frames > 2; }));
    PostKey(box, 'C');
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));

    PostKey(box, VK_ESCAPE);
    ASSERT_TRUE(PumpUntil([] { return !IsWindow(MainWindow); }));
}

TEST_F(ButtonBoxTest, ResizingStretchesTheButtonsAndTheNextBoxKeepsTheirSize)
{
    HWND box = Open(0, 0, 2, 6);
    RunOnUserThread([] { KRT_ResizeButtonBox(300, 200); });
    EXPECT_EQ(ClientSize(box).cx, 300);
    EXPECT_EQ(ClientSize(box).cy, 200);
    EXPECT_EQ(ChildRect(Button(box, 0)), (PlacedRect{4, 4, 144, 28}));
    EXPECT_EQ(ChildRect(Button(box, 11)), (PlacedRect{4 + 148, 4 + 5 * 32, 144, 28}));

    Close();
    box = Open(0, 0, 2, 6);
    EXPECT_EQ(ChildRect(Button(box, 0)), (PlacedRect{4, 4, 144, 28}));
    EXPECT_EQ(ClientSize(box).cx, 300);
    EXPECT_EQ(ClientSize(box).cy, 196);
}

TEST_F(ButtonBoxTest, LabelsTakeLineFeedsAndCodePage932Text)
{
    HWND box = Open(0, 0, 2, 1);
    RunOnUserThread([] {
        KRT_SetButtonBoxTitle(0, "r-\nsmall");
        KRT_SetButtonBoxTitle(1, "\x81\xa9");  // a left arrow
        KRT_SetButtonBoxTitle(2, "none");      // no such button
    });
    EXPECT_EQ(Labels(box), (std::vector<std::wstring>{L"r-\nsmall", L"\x2190"}));
    const std::string longLabel(300, 'x');
    RunOnUserThread([&] { KRT_SetButtonBoxTitle(1, longLabel.c_str()); });
    EXPECT_EQ(WindowText(Button(box, 1)), std::wstring(255, L'x'));
}

TEST_F(ButtonBoxTest, AfterDestructionNothingIsLabelledOrCounted)
{
    HWND box = Open(0, 0, 2, 1);
    Click(box, 0);
    Click(box, 0);
    FlushUserThread();
    Close();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_EQ(ButtonBox.box, nullptr);
    RunOnUserThread([] { KRT_SetButtonBoxTitle(0, "gone"); });
    EXPECT_EQ(Poll(0), 0);
    // A new box numbers its buttons afresh and counts from 0.
    box = Open(0, 0, 2, 1);
    EXPECT_EQ(Labels(box), (std::vector<std::wstring>{L"0", L"1"}));
    EXPECT_EQ(Poll(0), 0);
}

TEST_F(ButtonBoxTest, DoubleClicksInTheGapsBeyondTheGridRelabelTheLastColumnAndRow)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 6);  // client 208 x 184
    DoubleClick(box, 206, 10);    // right of the last column, in row 0
    ASSERT_TRUE(AnswerPrompt(L"go"));
    DoubleClick(box, 10, 182);  // below the last row, in column 0
    ASSERT_TRUE(AnswerPrompt(L""));
    EXPECT_EQ(WindowText(Button(box, 1)), L"go");
    EXPECT_EQ(WindowText(Button(box, 10)), L"10");  // an empty line keeps the label
    EXPECT_EQ(TakePromptLog(), "1 '1' ->go\r\n10 '10' ->\r\n");
}

TEST_F(ButtonBoxTest, RightClickOffersRenameAndTheFrameOffersDestroy)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 6);
    RunOnUserThread([] { KRT_SetButtonBoxTitle(3, "two\nlines"); });
    // Between buttons 0, 1, 2 and 3: the cell of button 3.
    std::vector<CapturedItem> items = CaptureMenu(userThreadId, [box] {
        PostMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(103, 31));
    });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, 1057u);
    EXPECT_EQ(items[0].text, L"Rename");
    PostMessageW(box, WM_COMMAND, 1057, 0);
    ASSERT_TRUE(AnswerPrompt(L"r+"));
    EXPECT_EQ(WindowText(Button(box, 3)), L"r+");
    EXPECT_EQ(TakePromptLog(), "3 'two\r\nlines' ->r+\r\n");
    EXPECT_EQ(Poll(3), 0);  // a menu command is no press

    RECT r;
    GetWindowRect(box, &r);
    items = CaptureMenu(userThreadId, [box, r] {
        PostMessageW(box, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 8));
    });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, 1050u);
    EXPECT_EQ(items[0].text, L"&Destroy\tCtrl+Q");
    PostMessageW(box, WM_COMMAND, 1050, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_EQ(ButtonBox.box, nullptr);
}

TEST_F(ButtonBoxTest, APromptThatOutlivesItsBoxChangesNothing)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 1);
    DoubleClick(box, 10, 10);
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    HWND next = Open(0, 0, 2, 1);  // the user thread still serves the test while it waits
    ASSERT_TRUE(next);
    ASSERT_TRUE(AnswerPrompt(L"late"));
    EXPECT_EQ(Labels(next), (std::vector<std::wstring>{L"0", L"1"}));
}

TEST_F(ButtonBoxTest, NoSecondPromptWhileALineIsRead)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 2, 1);
    DoubleClick(box, 10, 10);
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    DoubleClick(box, 110, 10);  // button 1, while button 0's prompt waits
    FlushUserThread();
    ASSERT_TRUE(AnswerPrompt(L"first"));
    FlushUserThread();
    EXPECT_EQ(lineInputOwner, 0);
    EXPECT_EQ(Labels(box), (std::vector<std::wstring>{L"first", L"1"}));
    EXPECT_EQ(TakePromptLog(), "0 '0' ->first\r\n");
}

TEST_F(ButtonBoxTest, AFailedDestructionIsReportedAndTheLeftoverWindowOnlyClosesItself)
{
    HWND box = Open(0, 0, 2, 1);
    // Another thread cannot destroy the user-program thread's window.
    std::thread other([] { KRT_CloseButtonBox(); });
    EXPECT_NE(DismissBox(L"KRTLIB error!").find(L"|DestroyWindow[BB] error|"), std::wstring::npos);
    other.join();
    EXPECT_EQ(ButtonBox.box, nullptr);
    EXPECT_EQ(Poll(0), 0);
    ASSERT_TRUE(IsWindow(box));

    HWND next = Open(0, 0, 3, 1);
    ASSERT_TRUE(next);
    Click(box, 0);  // the leftover's buttons count for no box
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(next));
    EXPECT_EQ(ButtonBox.box, next);
    EXPECT_EQ(Poll(0), 0);
}

TEST_F(ButtonBoxTest, TheMainWindowsDialogueReplacesTheBoxWithTheAnsweredGrid)
{
    OpenPromptWindow();
    HWND old = Open(200, 200, 1, 1);
    TypeLinesForGuiThread({L"2", L"6"});
    PostMessageW(MainWindow, WM_COMMAND, 1051, 0);
    ASSERT_TRUE(PumpUntil([old] { return ButtonBox.box && ButtonBox.box != old; }));
    HWND box = ButtonBox.box;
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(Children(box).size(), 12u);
    EXPECT_EQ(ChildRect(Button(box, 3)), (PlacedRect{4 + 102, 4 + 30, 98, 26}));  // 2 columns
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(TakePromptLog(), "Creating ButtonBox...\r\nNumber[X]=>2\r\nNumber[Y]=>6\r\n");

    // An answer without digits is 0: the old box goes and none opens.
    TypeLinesForGuiThread({L"x", L"3"});
    PostMessageW(MainWindow, WM_COMMAND, 1051, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_EQ(ButtonBox.box, nullptr);
}

}  // namespace
