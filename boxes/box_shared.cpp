#include "boxes/box_shared.h"

#include "core/framework.h"
#include "core/popup_menu.h"
#include "core/text_convert.h"
#include "krtlib.h"
#include "text/text_window.h"

namespace {

constexpr int kMaxLabelReadUnits = 512;

}  // namespace

HWND CreateBoxWindow(const wchar_t* className, const wchar_t* title, int x, int y, BoxSize client)
{
    RECT outer = {0, 0, client.width, client.height};
    AdjustWindowRect(&outer, kBoxStyle, FALSE);
    return CreateWindowExW(0, className, title, kBoxStyle, x, y, outer.right - outer.left,
                           outer.bottom - outer.top, MainWindow, nullptr, krtInstance, nullptr);
}

void ResizeClientArea(HWND window, int width, int height)
{
    RECT outer, client;
    if (!GetWindowRect(window, &outer) || !GetClientRect(window, &client))
        return;
    const int frameWidth = (outer.right - outer.left) - client.right;
    const int frameHeight = (outer.bottom - outer.top) - client.bottom;
    SetWindowPos(window, nullptr, 0, 0, frameWidth + (width > 0 ? width : 0),
                 frameHeight + (height > 0 ? height : 0), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CreateBoxControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                      const BoxRect& r, HWND parent, int id)
{
    return CreateWindowExW(exStyle, className, text, style, r.x, r.y, r.width, r.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), krtInstance, nullptr);
}

void SetControlText(HWND control, const char* text)
{
    wchar_t wide[kLabelUnits];
    WidenText(text, wide, kLabelUnits);
    SetWindowTextW(control, wide);
}

void ShowOneItemMenu(HWND owner, UINT id, const char* text)
{
    HMENU menu = CreatePopupMenu();
    InsertTextItem(menu, 0, id, text, 0);
    TrackAndDestroyPopup(menu, owner);
}

bool AskForLabel(int index, HWND control, int labelUnits, char* line)
{
    line[0] = '\0';
    if (lineInputOwner != 0)
        return false;
    wchar_t wide[kMaxLabelReadUnits];
    GetWindowTextW(control, wide, labelUnits < kMaxLabelReadUnits ? labelUnits : kMaxLabelReadUnits);
    char label[kMaxNarrowBytesPerUnit * kMaxLabelReadUnits];
    NarrowText(wide, -1, label, sizeof label);
    EnsureTextWindow();
    KRT_Print("%d '%s' ->", index, label);
    KRT_InputLine(line);
    return line[0] != '\0';
}

bool ClaimBoxMessage(HWND window, UINT message, HWND& box)
{
    if (message == WM_CREATE)
        box = window;
    return window == box;
}

LRESULT LeftoverBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        DestroyWindow(window);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
