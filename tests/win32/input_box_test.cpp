// The input box as a user program and its user meet it.
#include <gtest/gtest.h>

#include "boxes/box_state.h"
#include "box_test_support.h"

namespace {

using Rect4 = std::array<int, 4>;

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
    static void Close() { RunOnUserThread([] { KRT_CloseInputBox(); }); }
    static std::string Value(int item)  // the committed value, or "<none>"
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
    static HWND Focus()
    {
        HWND focus = nullptr;
        RunOnUserThread([&] { focus = GetFocus(); });
        return focus;
    }
    static int SelectedUnits(HWND edit)
    {
        DWORD from = 0, to = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        return static_cast<int>(to - from);
    }
    static void DoubleClickRow(HWND box, int row)
    {
        PostMessageW(box, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(20, row * 28 + 10));
    }
};

TEST_F(InputBoxTest, OpensOneToThirtyLabelledFieldsHoldingZero)
{
    HWND box = Open(10, 20, 3);
    ASSERT_TRUE(box);
    EXPECT_EQ(WindowText(box), L"InputBox");
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 20);
    EXPECT_EQ(ClientSize(box), (std::array<int, 2>{162, 86}));
    EXPECT_EQ(ChildTexts(box), (std::vector<std::wstring>{L"Item 0", L"0", L"Item 1", L"0", L"Item 2", L"0"}));
    EXPECT_EQ(ChildRect(Label(2)), (Rect4{4, 63, 80, 24}));
    EXPECT_EQ(ChildRect(Edit(2)), (Rect4{88, 60, 70, 24}));
    EXPECT_EQ(Value(2), "0");
    EXPECT_EQ(Value(3), "<none>");
    EXPECT_EQ(Open(0, 0, 5), box);  // no second box

    Close();
    EXPECT_EQ(ChildTexts(Open(0, 0, 0)).size(), 2u);
    Close();
    EXPECT_EQ(ChildTexts(Open(0, 0, 45)).size(), 60u);
}

TEST_F(InputBoxTest, TabAndEnterCommitWhatWasTyped)
{
    Open(0, 0, 3);
    FlushUserThread();
    EXPECT_EQ(Focus(), Edit(0));
    EXPECT_EQ(SelectedUnits(Edit(0)), 1);  // typing replaces the "0"
    Type(Edit(0), L"12");
    FlushUserThread();
    EXPECT_EQ(Value(0), "0");  // not committed while the field has the focus
    PostKey(Edit(0), VK_TAB);
    FlushUserThread();
    EXPECT_EQ(Focus(), Edit(1));
    EXPECT_EQ(Value(0), "12");

    Type(Edit(1), L"7");
    PostKey(Edit(1), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(1), "7");
    int number = 0;
    double real = 0;
    RunOnUserThread([&] {
        number = KRT_GetInputBoxInt(1);
        real = KRT_GetInputBoxDouble(0);
    });
    EXPECT_EQ(number, 7);
    EXPECT_EQ(real, 12.0);

    // A value is cut to 255 bytes of whole characters.
    Type(Edit(1), std::wstring(254, L'a') + L"\x65E5");  // the last character takes two bytes
    PostKey(Edit(1), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(1), "7" + std::string(254, 'a'));
}

TEST_F(InputBoxTest, AProgramSetsAFieldsTextAndItsValueTogether)
{
    RunOnUserThread([] { KRT_SetInputBoxText(0, "5"); });  // no box: nothing to set, nothing kept
    HWND box = Open(0, 0, 3);
    RunOnUserThread([] {
        KRT_SetInputBoxText(0, "5");
        KRT_SetInputBoxText(2, "examples\\flyeye.bmp");
        KRT_SetInputBoxText(3, "no such item");
        KRT_SetInputBoxText(-1, "none");
    });
    EXPECT_EQ(ChildTexts(box), (std::vector<std::wstring>{L"Item 0", L"5", L"Item 1", L"0", L"Item 2",
                                                          L"examples\\flyeye.bmp"}));
    EXPECT_EQ(Value(0), "5");
    EXPECT_EQ(Value(2), "examples\\flyeye.bmp");
    int number = 0;
    RunOnUserThread([&] { number = KRT_GetInputBoxInt(0); });
    EXPECT_EQ(number, 5);

    // The user's Enter commits the same text; a long text is cut as a typed one is.
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    EXPECT_EQ(Value(0), "5");
    RunOnUserThread([] { KRT_SetInputBoxText(1, std::string(300, 'b').c_str()); });
    EXPECT_EQ(Value(1), std::string(255, 'b'));
}

TEST_F(InputBoxTest, AValueReadStaysReadableAfterTheBoxIsClosed)
{
    Open(0, 0, 3);
    FlushUserThread();
    Type(Edit(0), L"12");
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    const char* kept = nullptr;
    RunOnUserThread([&] { kept = KRT_GetInputBoxText(0); });
    ASSERT_NE(kept, nullptr);
    Close();
    Open(0, 0, 3);  // its values are "0" again
    EXPECT_EQ(Value(1), "0");
    EXPECT_STREQ(kept, "12");
}

TEST_F(InputBoxTest, AReopenedBoxShowsZerosAgainWithTheColumnWidthsKept)
{
    RunOnUserThread([] { KRT_ResizeInputBox(100, 50); });  // kept while no box is open
    HWND box = Open(0, 0, 3);
    EXPECT_EQ(ChildRect(Edit(0)), (Rect4{108, 4, 50, 24}));
    Type(Edit(0), L"5");
    PostKey(Edit(0), VK_RETURN);
    FlushUserThread();
    const int height = ClientSize(box)[1];
    RunOnUserThread([] {
        KRT_SetInputBoxTitle(1, "gain");
        KRT_ResizeInputBox(90, 60);
    });
    EXPECT_EQ(ClientSize(box), (std::array<int, 2>{162, height}));
    EXPECT_EQ(ChildRect(Label(1)), (Rect4{4, 35, 90, 24}));
    EXPECT_EQ(Value(0), "5");
    Close();
    EXPECT_EQ(Value(0), "<none>");

    Open(0, 0, 3);
    EXPECT_EQ(ChildTexts(InputBox.box), (std::vector<std::wstring>{L"Item 0", L"0", L"Item 1", L"0", L"Item 2", L"0"}));
    EXPECT_EQ(Value(0), "0");
    EXPECT_EQ(ChildRect(Edit(2)), (Rect4{98, 60, 60, 24}));
}

TEST_F(InputBoxTest, RelabellingByDoubleClickAndMenuAndDestroyingByTheFrameMenu)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 3);
    DoubleClickRow(box, 2);
    ASSERT_TRUE(AnswerPrompt(L""));
    EXPECT_EQ(WindowText(Label(2)), L"Item 2");
    DoubleClickRow(box, 2);
    ASSERT_TRUE(AnswerPrompt(L"width"));
    EXPECT_EQ(WindowText(Label(2)), L"width");
    ASSERT_TRUE(ChooseOnlyItem(box, BoxMenu(box, 20, 28 + 5), 1056, L"Rename"));
    ASSERT_TRUE(AnswerPrompt(L"gain"));
    EXPECT_EQ(WindowText(Label(1)), L"gain");
    EXPECT_EQ(TakePromptLog(), "2 'Item 2' ->\r\n2 'Item 2' ->width\r\n1 'Item 1' ->gain\r\n");

    ASSERT_TRUE(ChooseOnlyItem(box, CaptionMenu(box), 1023, L"Destroy"));
    ASSERT_TRUE(PumpUntil([box] { return !IsWindow(box); }));
}

TEST_F(InputBoxTest, ThePromptKeepsTheForegroundAndActivationRefocusesTheLastField)
{
    OpenPromptWindow();
    HWND box = Open(0, 0, 3);
    RunOnUserThread([] { SetFocus(Edit(1)); });
    DoubleClickRow(box, 0);
    ASSERT_TRUE(PumpUntil([] { return lineInputOwner != 0; }));
    PumpFor(200);
    // Where the line is typed.  (Wine keeps it there even when the box sets its focus while
    // being deactivated; Windows' SetFocus would activate the box again.)
    EXPECT_EQ(GetForegroundWindow(), TextRecord(0).window);
    ASSERT_TRUE(AnswerPrompt(L"x"));

    RunOnUserThread([box] { SetForegroundWindow(box); });
    FlushUserThread();
    EXPECT_EQ(Focus(), Edit(1));
    EXPECT_EQ(SelectedUnits(Edit(0)), 1);  // item 0's whole text
}

}  // namespace
