// The main window: Start, Stop and Exit, the status line, the popup menu and the keys.
#include <windows.h>

#include "core/control_flags.h"
#include "core/framework.h"
#include "core/main_window_commands.h"
#include "core/popup_menu.h"
#include "core/process_state.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"
#include "text/text_window_table.h"

HWND MainWindow = nullptr;
HWND statusLine = nullptr;
HANDLE userThread = nullptr;
DWORD userThreadId = 0;
bool dropInPaced = true;

namespace {

// The drop-in: 28 steps of 20 ms that add up to 55 pixels, a fall and two bounces.
constexpr int kDropOffsets[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, -6, -5, -4, -3,
                                -2, -1, 1, 2, 3, 4, 5, 6, -3, -2, -1, 1, 2, 3};
static_assert(sizeof kDropOffsets / sizeof kDropOffsets[0] == 28, "28 steps");
constexpr unsigned kDropStepMs = 20;
constexpr unsigned kDropRestMs = 500;

void BusyWaitSince(unsigned since, unsigned milliseconds)
{
    while (MillisecondClock() - since < milliseconds) {
    }
}

void OnCreate(HWND window)
{
    MainWindow = window;
    statusLine = CreateWindowExW(0, L"STATIC", L"Ready", WS_CHILD | WS_VISIBLE, 0, 6, 234, 20, window,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStatusLineId)),
                                 krtInstance, nullptr);
    unsigned t = MillisecondClock();
    for (int offset : kDropOffsets) {
        RECT r;
        GetWindowRect(window, &r);
        SetWindowPos(window, nullptr, r.left, r.top + offset, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        if (dropInPaced)
            BusyWaitSince(t, kDropStepMs);
        t = MillisecondClock();
    }
    if (dropInPaced)
        BusyWaitSince(t, kDropRestMs);
    HDC dc = GetDC(window);
    displayColourDepth = GetDeviceCaps(dc, BITSPIXEL);
    ReleaseDC(window, dc);
    userThread = CreateThread(nullptr, 0, UserThreadMain, nullptr, 0, &userThreadId);
}

// Rows of the popup menu.  "Busy" rows are greyed while a run is in progress or a line input
// is pending.
struct MainMenuRow {
    UINT id;  // 0: separator
    const char* text;
    bool greyWhenBusy;
};
constexpr MainMenuRow kMainMenu[] = {
    {1026, "Paste\tCtrl+V", true},
    {0, nullptr, false},
    {1001, "Start", true},
    {1003, "Stop", false},
    {1002, "E&xit", false},
    {0, nullptr, false},
    {1027, "Image Window", true},
    {1028, "Text Window", true},
    {1044, "Input Box", true},
    {1051, "Button Box", true},
    {0, nullptr, false},
    {1045, "&Window Info.\tCtrl+W", true},
};
static_assert(sizeof kMainMenu / sizeof kMainMenu[0] == 12, "twelve rows");

void ShowPopupMenu(HWND window)
{
    if (ToolInProgress)
        return;
    const bool busy = running != 0 || lineInputOwner != 0;
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (const MainMenuRow& row : kMainMenu) {
        if (row.id == 0)
            InsertSeparator(menu, position++);
        else
            InsertTextItem(menu, position++, row.id, row.text,
                           row.greyWhenBusy && busy ? MFS_GRAYED : 0);
    }
    TrackAndDestroyPopup(menu, window);
}

void OnKeyDown(HWND window, WPARAM key)
{
    if (CtrlHeld()) {
        if (key == 'V')
            PostMessageW(window, WM_COMMAND, 1026, 0);
        else if (key == 'W')
            PostMessageW(window, WM_COMMAND, 1045, 0);
        return;
    }
    switch (key) {
    case 'X':
    case VK_ESCAPE:
        ExitFramework();
        break;
    case 'S':
        if (running == 0)
            startRequested = 1;
        break;
    case 'C':
        stopRequested = 1;
        break;
    default:
        break;
    }
}

void OnCommand(int id)
{
    switch (id) {
    case 1001:
        if (running == 0)
            startRequested = 1;
        break;
    case 1003:
        stopRequested = 1;
        break;
    case 1002:
        ExitFramework();
        break;
    default:
        RunMainWindowCommand(id);
        break;
    }
}

}  // namespace

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_CLOSE:
        // The window has no close box, but the system's close keystroke still arrives here:
        // end the process the orderly way, as Exit does.
        ExitFramework();
        return 0;
    case WM_MOVE:
        RebuildSnapTable();
        return 0;
    case WM_MOVING:
        SnapMovingRect(reinterpret_cast<RECT*>(lParam), window);
        return TRUE;
    case WM_SIZING:
        GetWindowRect(window, reinterpret_cast<RECT*>(lParam));  // the frame never resizes it
        return TRUE;
    case WM_RBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
        ShowPopupMenu(window);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_DROPFILES:
        OnMainWindowDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
