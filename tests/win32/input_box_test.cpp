// The input box as a user program and its user meet it: the fields it opens, values committed
// by Tab, Enter and focus changes, the column widths, relabelling, menus and destruction.
#include <gtest/gtest.h>

#include <string>
#include <thread>

#include "boxes/box_state.h"
#include "box_test_support.h"
#include "menu_capture.h"

namespace {

class InputBoxTest : public FrameworkTest {
protected:
    void TearDown() override
    {
        if (TextRecord(0).inUse)
            TakePromptLog();
        FrameworkTest::TearDown();
    }
    static HWND Open(int x, int y, int items)
    {
        RunOnUserThread([=] { KRT_OpenInputBox(x, y, items); });
        return InputBox.box;
    }
    static void Close()
    {
        RunOnUserThread([] { KRT_CloseInputBox(); });
    }
    // The committed value, or "<none>".
    static std::string Value(int item)
    {
        std::string value;
        RunOnUserThread([&] {
            const char* text = KRT_GetInputBoxText(item);
            value = text ? text : "<none>";
        });
        return value;
    }
    static HWND Edit(int item) { return InputBox.edits[item]; }
    static HWND Label(int item) { return InputBox.labels[item]; }
    static void Type(HWND edit, const std::wstring& units)
    {
        for (wchar_t unit : units)
            PostMessageW(edit, WM_CHAR, unit, 0);
    }
    static void DoubleClickRow(HWND box, int row)
    {
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, row * 28 + 10));
    }
    // What the window procedure makes of a frame drag: WM_SIZING with the proposed rectangle,
    // then the new size.  Returns the rectangle WM_SIZING left.
    static RECT DragFrame(HWND box, int edge, int dLeft, int dRight, int dBottom)
    {
        RECT r;
        GetWindowRect(box, &r);
        r.left += dLeft;
        r.right += dRight;
        r.bottom += dBottom;
        RunOnUserThread([&] {
            SendMessageW(box, WM_SIZING, edge, reinterpret_cast<LPARAM>(&r));
            SetWindowPos(box, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER);
        });
        return r;
    }
};

TEST_F(InputBoxTest, OpensLabelledFieldsHoldingZero)
{
    HWND box = Open(10, 20, 3);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(box), L"InputBox");
    EXPECT_EQ(ClassOf(box), L"krt_ib");
    EXPECT_EQ(GetWindow(box, GW_OWNER), MainWindow);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(ClientSize(box).cx, 80 + 70 + 12);
    EXPECT_EQ(ClientSize(box).cy, 3 * 28 + 2);
    const std::vector<HWND> children = Children(box);
    ASSERT_EQ(children.size(), 6u);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        HWND label = children[2 * i], edit = children[2 * i + 1];
        EXPECT_EQ(ClassOf(label), L"Static");
        EXPECT_EQ(WindowText(label), L"Item " + std::to_wstring(i));
        EXPECT_EQ(ChildRect(label), (PlacedRect{4, 7 + 28 * i, 80, 24}));
        EXPECT_EQ(ClassOf(edit), L"Edit");
        EXPECT_EQ(WindowText(edit), L"0");
        EXPECT_EQ(ChildRect(edit), (PlacedRect{88, 4 + 28 * i, 70, 24}));
        EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
        EXPECT_EQ(Value(i), "0");
    }
    EXPECT_EQ(Open(0, 0, 5), box);  // no second box
    EXPECT_EQ(Children(box).size(), 6u);
}

TEST_F(InputBoxTest, ItemCountsAreClampedToOneToThirty)
{
    HWND box = Open(0, 0, 0);
    EXPECT_EQ(Children(box).size(), 2u);
    Close();
    box = Open(0, 0, 45);
    EXPECT_EQ(Children(box).size(), 60u);
    EXPECT_EQ(ClientSize(box).cy, 30 * 28 + 2);
    EXPECT_EQ(WindowText(Label(29)), L"Item 29");
}

TEST_F(InputBoxTest, TheFirstFieldHasTheFocusWithItsTextSelected)
{
    Open(0, 0, 2);
    PumpFor(100);
    EXPECT_EQ(FocusOfUserThread(), Edit(0));
    DWORD from = 9, to = 9;
    SendMessageW(Edit(0), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(from, 0u);
    EXPECT_EQ(to, 1u);
}

TEST_F(InputBoxTest, TabAndEnterCommitWhatWasTyped)
{
    Open(0, 0, 3);
    PumpFor(100);
    Type(Edit(0), L"12");  // replaces the selected "0"
    FlushUserThread();
    EXPECT_EQ(WindowText(Edit(0)), L"12");
    EXPECT_EQ(Value(0), "0");  // not committed while the field has the focus

    PostKey(Edit(0), VK_TAB);
    FlushUserThread();
    EXPECT_EQ(FocusOfUserThread(), Edit(1));
    EXPECT_EQ(Value(0), "12");

    Type(Edit(1), L"7");  // Tab selected the next field's text
    PostKey(Edit(1), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(1), "7");
    EXPECT_EQ(FocusOfUserThread(), Edit(1));
    int number = 0;
    double real = 0;
    RunOnUserThread([&] {
        number = KRT_GetInputBoxInt(1);
        real = KRT_GetInputBoxDouble(0);
    });
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 12.0);
}

TEST_F(InputBoxTest, ACommittedValueIsCutToWholeCharactersOf255Bytes)
{
    Open(0, 0, 2);
    PumpFor(100);
    Type(Edit(0), std::wstring(300, L'x'));
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(0), std::string(255, 'x'));

    SendMessageW(Edit(0), EM_SETSEL, 0, -1);
    Type(Edit(0), std::wstring(254, L'a') + L"\x65E5");  // the last character takes two bytes
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(0), std::string(254, 'a'));
}

TEST_F(InputBoxTest, ReadingCallsGiveNothingForItemsThatDoNotExist)
{
    EXPECT_EQ(Value(0), "<none>");
    Open(0, 0, 2);
    EXPECT_EQ(Value(2), "<none>");
    EXPECT_EQ(Value(-1), "<none>");
    int number = -1;
    double real = -1;
    RunOnUserThread([&] {
        number = KRT_GetInputBoxInt(5);
        real = KRT_GetInputBoxDouble(5);
    });
    EXPECT_EQ(number, 0);
    EXPECT_EQ(real, 0.0);
}

TEST_F(InputBoxTest, TheRightEdgeWidensTheEditsTheLeftEdgeTheLabelsAndTheHeightStays)
{
    HWND box = Open(300, 300, 2);
    RECT before;
    GetWindowRect(box, &before);
    DragFrame(box, WMSZ_RIGHT, 0, 30, 0);
    EXPECT_EQ(ChildRect(Label(1)), (PlacedRect{4, 35, 80, 24}));
    EXPECT_EQ(ChildRect(Edit(1)), (PlacedRect{88, 32, 100, 24}));

    DragFrame(box, WMSZ_LEFT, -25, 0, 0);
    EXPECT_EQ(ChildRect(Label(1)), (PlacedRect{4, 35, 105, 24}));
    EXPECT_EQ(ChildRect(Edit(1)), (PlacedRect{113, 32, 100, 24}));

    const RECT proposed = DragFrame(box, WMSZ_BOTTOMRIGHT, 0, 0, 40);
    EXPECT_EQ(proposed.bottom, before.bottom);
    RECT after;
    GetWindowRect(box, &after);
    EXPECT_EQ(after.bottom - after.top, before.bottom - before.top);
}

TEST_F(InputBoxTest, TheResizeCallKeepsWidthsWithoutABoxAndLaysOutAnOpenOne)
{
    RunOnUserThread([] { KRT_ResizeInputBox(100, 50); });
    HWND box = Open(0, 0, 2);
    EXPECT_EQ(ChildRect(Label(0)), (PlacedRect{4, 7, 100, 24}));
    EXPECT_EQ(ChildRect(Edit(0)), (PlacedRect{108, 4, 50, 24}));
    const SIZE before = ClientSize(box);

    RunOnUserThread([] { KRT_ResizeInputBox(60, 120); });
    EXPECT_EQ(ClientSize(box).cx, 60 + 120 + 12);
    EXPECT_EQ(ClientSize(box).cy, before.cy);
    EXPECT_EQ(ChildRect(Label(1)), (PlacedRect{4, 35, 60, 24}));
    EXPECT_EQ(ChildRect(Edit(1)), (PlacedRect{68, 32, 120, 24}));
}

TEST_F(InputBoxTest, AReopenedBoxShowsZerosAgainWithTheOldColumns)
{
    Open(0, 0, 3);
    PumpFor(100);
    Type(Edit(0), L"5");
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    RunOnUserThread([] {
        KRT_SetInputBoxTitle(1, "gain");
        KRT_ResizeInputBox(90, 60);
    });
    EXPECT_EQ(Value(0), "5");
    Close();
    EXPECT_EQ(Value(0), "<none>");
    RunOnUserThread([] { KRT_SetInputBoxTitle(1, "no box"); });

    Open(0, 0, 3);
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(WindowText(Edit(i)), L"0");
        EXPECT_EQ(WindowText(Label(i)), L"Item " + std::to_wstring(i));
        EXPECT_EQ(Value(i), "0");
        EXPECT_EQ(ChildRect(Edit(i)), (PlacedRect{98, 4 + 28 * i, 60, 24}));
    }
}

TEST_F(InputBoxTest, DoubleClickRelabelsAndAnEmptyLineKeepsTheLabel)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 3);
    DoubleClickRow(box, 2);
    ASSERT_TRUE(AnswerPrompt(L""));
    EXPECT_EQ(WindowText(Label(2)), L"Item 2");
    DoubleClickRow(box, 2);
    ASSERT_TRUE(AnswerPrompt(L"width"));
    EXPECT_EQ(WindowText(Label(2)), L"width");
    EXPECT_EQ(TakePromptLog(), "2 'Item 2' ->\r\n2 'Item 2' ->width\r\n");

    // The strip under the last item belongs to no item.
    PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, 3 * 28 + 1));
    FlushUserThread();
    EXPECT_EQ(lineInputOwner, 0);
}

TEST_F(InputBoxTest, RightClickOffersRenameAndTheFrameOffersDestroy)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 3);
    std::vector<CapturedItem> items = CaptureMenu(userThreadId, [box] {
        PostMessageW(box, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(20, 28 + 5));
    });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, 1056u);
    EXPECT_EQ(items[0].text, L"Rename");
    PostMessageW(box, WM_COMMAND, 1056, 0);
    ASSERT_TRUE(AnswerPrompt(L"gain"));
    EXPECT_EQ(WindowText(Label(1)), L"gain");
    EXPECT_EQ(TakePromptLog(), "1 'Item 1' ->gain\r\n");

    RECT r;
    GetWindowRect(box, &r);
    items = CaptureMenu(userThreadId, [box, r] {
        PostMessageW(box, WM_NCRBUTTONDOWN, HTCAPTION, MAKELPARAM(r.left + 40, r.top + 8));
    });
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].id, 1023u);
    EXPECT_EQ(items[0].text, L"Destroy");
    PostMessageW(box, WM_COMMAND, 1023, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_EQ(Value(0), "<none>");
}

TEST_F(InputBoxTest, TheBoxGivesUpTheForegroundToAPromptAndRefocusesWhenActivatedAgain)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 3);
    RunOnUserThread([] { SetFocus(Edit(1)); });
    DoubleClickRow(box, 0);
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    PumpFor(200);
    // Where the user types the line.  (Wine keeps it there even when the box sets its focus on
    // deactivation too; Windows' SetFocus would activate the box again.)
    EXPECT_EQ(GetForegroundWindow(), TextRecord(0).window);
    ASSERT_TRUE(AnswerPrompt(L"x"));

    RunOnUserThread([box] { SetForegroundWindow(box); });
    FlushUserThread();
    EXPECT_EQ(FocusOfUserThread(), Edit(1));  // the field that had the focus last
    DWORD from = 9, to = 9;
    SendMessageW(Edit(0), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
    EXPECT_EQ(to - from, 1u);  // item 0's whole text
}

TEST_F(InputBoxTest, AFailedDestructionIsReportedAndTheLeftoverWindowOnlyClosesItself)
{
    HWND box = Open(0, 0, 2);
    std::thread other([] { KRT_CloseInputBox(); });
    EXPECT_NE(DismissBox(L"KRTLIB Error!").find(L"|DestroyWindow[IB] Error|"), std::wstring::npos);
    other.join();
    EXPECT_EQ(InputBox.box, nullptr);
    EXPECT_EQ(Value(0), "<none>");  // the values are freed all the same
    ASSERT_TRUE(IsWindow(box));

    HWND next = Open(0, 0, 2);
    ASSERT_TRUE(next);
    PostMessageW(box, WM_CLOSE, 0, 0);
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
    EXPECT_TRUE(IsWindow(next));
    EXPECT_EQ(InputBox.box, next);
    EXPECT_EQ(Value(1), "0");
}

TEST_F(InputBoxTest, TheMainWindowsDialogueReplacesTheBoxWithTheAnsweredCount)
{
    OpenPromptWindow();
    HWND old = Open(200, 200, 1);
    TypeLinesForGuiThread({L"4"});
    PostMessageW(MainWindow, WM_COMMAND, 1044, 0);
    ASSERT_TRUE(PumpUntil([old] { return InputBox.box && InputBox.box != old; }));
    EXPECT_FALSE(IsWindow(old));
    EXPECT_EQ(Children(InputBox.box).size(), 8u);
    RECT r;
    GetWindowRect(InputBox.box, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(TakePromptLog(), "Creating InpuxBox...\r\nHow many items? >4\r\n");
}

}  // namespace
