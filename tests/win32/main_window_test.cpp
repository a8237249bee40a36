// The main window: its place, menu bar, status line, popup menu, keys and frame.
#include <gtest/gtest.h>

#include <string>

#include "core/control_flags.h"
#include "core/framework.h"
#include "core/process_state.h"
#include "framework_fixture.h"
#include "krtlib.h"
#include "menu_capture.h"
#include "text/text_window_table.h"

namespace {

using MainWindowTest = FrameworkTest;


TEST_F(MainWindowTest, SettlesCentredWithItsBottomOnTheWorkArea)
{
    EXPECT_EQ(WindowText(MainWindow), L"KRTLIB");
    wchar_t className[64];
    GetClassNameW(MainWindow, className, 64);
    EXPECT_EQ(std::wstring(className), L"krtlib_mw" + std::to_wstring(instanceNumber));
    RECT r;
    GetWindowRect(MainWindow, &r);
    RECT frame = {0, 0, 240, GetSystemMetrics(SM_CYMENU) + 32};
    AdjustWindowRect(&frame, WS_CAPTION | WS_THICKFRAME, FALSE);
    const int w = frame.right - frame.left, h = frame.bottom - frame.top;
    EXPECT_EQ(r.right - r.left, w);
    EXPECT_EQ(r.bottom - r.top, h);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXFULLSCREEN) - w) / 2);
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYFULLSCREEN) + GetSystemMetrics(SM_CYCAPTION));
    EXPECT_FALSE(GetWindowLongW(MainWindow, GWL_STYLE) & WS_SYSMENU);  // no close box
    EXPECT_TRUE(GetWindowLongW(MainWindow, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
}

TEST_F(MainWindowTest, MenuBarAndStatusLine)
{
    HMENU bar = GetMenu(MainWindow);
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    const UINT ids[] = {1001, 1003, 1002};
    const wchar_t* texts[] = {L"Start(&S)", L"Stop(&C)", L"Exit(&X)"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[64];
        GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(GetMenuItemID(bar, i), ids[i]);
        EXPECT_EQ(std::wstring(text), texts[i]);
    }
    HWND status = GetDlgItem(MainWindow, 2001);
    ASSERT_EQ(status, statusLine);
    const std::string idle = std::to_string(displayColourDepth) + "-bit color";
    std::wstring expected(18 - idle.size() / 2, L' ');
    expected += std::wstring(idle.begin(), idle.end());
    EXPECT_EQ(WindowText(status), expected);
    SetStatusText("Input text");
    EXPECT_EQ(WindowText(status), std::wstring(13, L' ') + L"Input text");
    RECT r;
    GetWindowRect(status, &r);
    EXPECT_EQ(r.right - r.left, 234);
    EXPECT_EQ(r.bottom - r.top, 20);
}

void ExpectMainMenu(const std::vector<CapturedItem>& items, bool busy)
{
    struct Row { UINT id; const wchar_t* text; bool greyWhenBusy; };
    const Row rows[] = {
        {1026, L"Paste\tCtrl+V", true}, {0, nullptr, false}, {1001, L"Start", true},
        {1003, L"Stop", false}, {1002, L"E&xit", false}, {0, nullptr, false},
        {1027, L"Image Window", true}, {1028, L"Text Window", true}, {1044, L"Input Box", true},
        {1051, L"Button Box", true}, {0, nullptr, false}, {1045, L"&Window Info.\tCtrl+W", true},
    };
    ASSERT_EQ(items.size(), 12u);
    for (size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i);
        if (!rows[i].text) {
            EXPECT_TRUE(items[i].separator);
            continue;
        }
        EXPECT_EQ(items[i].id, rows[i].id);
        EXPECT_EQ(items[i].text, rows[i].text);
        EXPECT_EQ(items[i].grayed, busy && rows[i].greyWhenBusy);
    }
}

void RightClickMain() { PostMessageW(MainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(10, 10)); }

TEST_F(MainWindowTest, PopupMenuIdleRunningAndDuringLineInput)
{
    ExpectMainMenu(CaptureMenu(GetCurrentThreadId(), RightClickMain), false);

    static std::atomic<int> release;
    release = 0;
    testUserMain = [] {
        while (release == 0)
            PumpUserMessages();
    };
    SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    ExpectMainMenu(CaptureMenu(GetCurrentThreadId(), RightClickMain), true);
    release = 1;
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));

    lineInputOwner = 1;  // a text window is reading a line
    ExpectMainMenu(CaptureMenu(GetCurrentThreadId(), [] {
                       PostMessageW(MainWindow, WM_NCRBUTTONDOWN, HTCAPTION, 0);
                   }),
                   true);
    lineInputOwner = 0;
}

TEST_F(MainWindowTest, KeysStartStopAndExit)
{
    static std::atomic<int> runs;
    runs = 0;
    testUserMain = [] {
        ++runs;
        while (WaitNextFrame() == 0) {
        }
    };
    SendMessageW(MainWindow, WM_KEYDOWN, 'S', 0);
    ASSERT_TRUE(PumpUntil([] { return running == 1; }));
    SendMessageW(MainWindow, WM_KEYDOWN, 'C', 0);
    ASSERT_TRUE(PumpUntil([] { return running == 0; }));
    EXPECT_EQ(runs, 1);
    // With Ctrl held, S is not Start.
    SetCtrlDown(true);
    SendMessageW(MainWindow, WM_KEYDOWN, 'S', 0);
    SetCtrlDown(false);
    PumpFor(50);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(startRequested, 0);
    SendMessageW(MainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_FALSE(IsWindow(MainWindow));
    EXPECT_EQ(exitState, 2);
}

TEST_F(MainWindowTest, TheFrameNeverChangesTheSize)
{
    RECT before;
    GetWindowRect(MainWindow, &before);
    RECT proposed = {before.left - 20, before.top - 30, before.right + 40, before.bottom + 50};
    SendMessageW(MainWindow, WM_SIZING, WMSZ_BOTTOMRIGHT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_TRUE(EqualRect(&proposed, &before));
}

TEST_F(MainWindowTest, MovingWithCtrlSnapsToTheScreenEdge)
{
    RECT r;
    GetWindowRect(MainWindow, &r);
    const int w = r.right - r.left, h = r.bottom - r.top;
    RECT proposed = {5, 300, 5 + w, 300 + h};
    SendMessageW(MainWindow, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.left, 5);  // no Ctrl: no snapping
    SetCtrlDown(true);
    SendMessageW(MainWindow, WM_MOVING, WMSZ_LEFT, reinterpret_cast<LPARAM>(&proposed));
    SetCtrlDown(false);
    EXPECT_EQ(proposed.left, 0);
    EXPECT_EQ(proposed.right, w);
    EXPECT_EQ(proposed.top, 300);
}

TEST_F(MainWindowTest, PauseBoxShowsTheTextCaptionedPause)
{
    static std::atomic<int> returned;
    returned = 0;
    testUserMain = [] {
        KRT_Pause("Hello from the pause box");
        returned = 1;
    };
    SendMessageW(MainWindow, WM_COMMAND, 1001, 0);
    HWND box = nullptr;
    ASSERT_TRUE(PumpUntil([&] { return (box = FindWindowW(L"#32770", L"Pause")) != nullptr; }));
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    bool found = false;
    EnumChildWindows(
        box,
        [](HWND child, LPARAM flag) {
            wchar_t text[128];
            GetWindowTextW(child, text, 128);
            if (std::wstring(text) == L"Hello from the pause box")
                *reinterpret_cast<bool*>(flag) = true;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    EXPECT_TRUE(found);
    EXPECT_EQ(returned, 0);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(PumpUntil([] { return returned == 1; }));
}

}  // namespace
