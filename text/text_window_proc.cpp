// The text window procedure: painting, resizing and closing, typed characters for the line
// input, the popup menu, the keyboard shortcuts and the commands.
#include <windows.h>

#include <cstdio>

#include "core/framework.h"
#include "core/popup_menu.h"
#include "core/process_state.h"
#include "core/window_procedures.h"
#include "imaging/tool_feed.h"
#include "krtlib.h"
#include "text/input_ring.h"
#include "text/text_window.h"
#include "text/window_information.h"

#ifndef KRT_VERSION_STRING
#define KRT_VERSION_STRING "0"
#endif

namespace {

enum TextWindowCommand {
    CommandDestroy = 1006,
    CommandAbout = 1020,
    CommandStartLog = 1024,
    CommandStopLog = 1025,
    CommandPrompt = 1029,
    CommandCopyLog = 1030,
    CommandWindowInfo = 1045,
    CommandSelect = 1069,
};

// ---- Typed characters and keys -------------------------------------------------------------

void OnChar(WPARAM unit)
{
    if (lineInputOwner == 0 || CtrlHeld())
        return;
    RingPut(InputRing, static_cast<unsigned short>(unit));  // a full ring drops it
}

void OnLineInputKey(WPARAM key)
{
    if (lineInputRequest != NoLineRequest)
        return;
    if (key == VK_UP)
        lineInputRequest = RecallLastLine;
    else if (key == 'V' && CtrlHeld())
        lineInputRequest = PasteClipboard;
}

struct ShortcutRow {
    WPARAM key;
    int command;
};
constexpr ShortcutRow kCtrlShortcuts[] = {
    {'A', CommandAbout}, {'C', CommandCopyLog}, {'W', CommandWindowInfo},
    {'Q', CommandDestroy}, {'S', CommandSelect},
};

void OnKeyDown(HWND window, WPARAM key)
{
    if (lineInputOwner != 0) {
        OnLineInputKey(key);
        return;
    }
    if (CtrlHeld()) {
        for (const ShortcutRow& row : kCtrlShortcuts)
            if (row.key == key)
                PostMessageW(window, WM_COMMAND, row.command, 0);
        return;
    }
    switch (key) {
    case 'X':
    case VK_ESCAPE:
    case 'S':
    case 'C':
        PostMessageW(MainWindow, WM_KEYDOWN, key, 0);
        break;
    case VK_SPACE: {
        // The space's own WM_CHAR is already queued; it must not become the first character of
        // the command line.
        MSG pending;
        PeekMessageW(&pending, window, WM_CHAR, WM_CHAR, PM_REMOVE);
        KRT_SelectTextWindow(FindTextWindowSlot(window));
        KRT_CommandPrompt();
        break;
    }
    default:
        break;
    }
}

// ---- Popup menu -----------------------------------------------------------------------------

void ShowMenu(HWND window)
{
    if (lineInputOwner != 0 || ToolInProgress)
        return;
    const int slot = FindTextWindowSlot(window);
    if (slot < 0)
        return;
    const TextWindowRecord& record = TextWindowTable[slot];
    char copyText[64];
    std::snprintf(copyText, sizeof copyText, "&Copy KRTLIB%d%d.LOG\tCtrl+C", instanceNumber, slot);
    struct Row {
        UINT id;  // 0: separator
        const char* text;
        bool checked;
    };
    const Row rows[] = {
        {CommandSelect, "&Select\tCtrl+S", currentTextWindow == slot},
        {CommandWindowInfo, "&Window Info.\tCtrl+W", false},
        {CommandPrompt, "Command", false},
        {0, nullptr, false},
        {CommandStartLog, "Start Log", record.logState == 1},
        {CommandStopLog, "Stop Log", record.logState == 2},
        {CommandCopyLog, copyText, false},
        {0, nullptr, false},
        {CommandAbout, "&About KRTLIB\tCtrl+A", false},
        {0, nullptr, false},
        {CommandDestroy, "&Destroy\tCtrl+Q", false},
    };
    static_assert(sizeof rows / sizeof rows[0] == 11, "eleven rows");
    HMENU menu = CreatePopupMenu();
    UINT position = 0;
    for (const Row& row : rows) {
        if (row.id == 0)
            InsertSeparator(menu, position++);
        else
            InsertTextItem(menu, position++, row.id, row.text, row.checked ? MFS_CHECKED : 0);
    }
    TrackAndDestroyPopup(menu, window);
}

// ---- Commands -------------------------------------------------------------------------------

// The library's banner, in light green on dark grey, leaving the window's colours as they were.
void ShowAbout(int slot)
{
    KRT_SelectTextWindow(slot);
    KRT_PushTextColor(0x404040, 0x80FF80);
    KRT_Print("KRTLIB version %s\n", KRT_VERSION_STRING);
    KRT_Print("Built %s %s\n", __DATE__, __TIME__);
    KRT_PopTextColor();
}

void OnCommand(HWND window, int id)
{
    const int slot = FindTextWindowSlot(window);
    switch (id) {
    case CommandDestroy:
        KRT_CloseTextWindow(slot);
        break;
    case CommandAbout:
        ShowAbout(slot);
        break;
    case CommandStartLog:
        KRT_StartLog(slot);
        break;
    case CommandStopLog:
        KRT_StopLog(slot);
        break;
    case CommandPrompt:
        KRT_CommandPrompt();  // in the current text window, which is not changed first
        break;
    case CommandCopyLog:
        KRT_CopyLog(slot);
        break;
    case CommandWindowInfo:
        WindowInformation(window);
        break;
    case CommandSelect:
        KRT_SelectTextWindow(slot);
        break;
    default:
        break;
    }
}

}  // namespace

LRESULT CALLBACK TextWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
        return 0;
    case WM_PAINT:
        PaintTextWindow(window);
        return 0;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            ResizeTextWindow(window, LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CLOSE:
        KRT_CloseTextWindow(FindTextWindowSlot(window));
        return 0;
    case WM_MOVE:
        RebuildSnapTable();
        return 0;
    case WM_MOVING:
        SnapMovingRect(reinterpret_cast<RECT*>(lParam), window);
        return TRUE;
    case WM_CHAR:
        OnChar(wParam);
        return 0;
    case WM_KEYDOWN:
        OnKeyDown(window, wParam);
        return 0;
    case WM_RBUTTONDOWN:
        ShowMenu(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam));
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
