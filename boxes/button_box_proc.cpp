// The button box's window procedure: presses by click and by key, relabelling, the popup menus,
// stretching the buttons, and closing.
#include <windows.h>
#include <windowsx.h>

#include "boxes/box_shared.h"
#include "boxes/box_state.h"
#include "boxes/button_box.h"
#include "core/framework.h"
#include "core/window_procedures.h"
#include "krtlib.h"

namespace {

enum ButtonBoxCommand {
    CommandDestroy = 1050,
    CommandRename = 1057,
};

constexpr int kButtonLabelReadUnits = 512;

// Keys the box hands on to the main window (Exit and Stop there) unless Ctrl is held.
constexpr WPARAM kMainWindowKeys[] = {'X', VK_ESCAPE, 'C'};

// 0 to 9 on the main keyboard or the numeric keypad, else -1.
int DigitOfKey(WPARAM key)
{
    if (key >= '0' && key <= '9')
        return static_cast<int>(key - '0');
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9)
        return static_cast<int>(key - VK_NUMPAD0);
    return -1;
}

void OnKeyDown(WPARAM key)
{
    if (PressButtonByKey(key) || CtrlHeld())
        return;
    for (WPARAM forwarded : kMainWindowKeys) {
        if (forwarded == key) {
            PostMessageW(MainWindow, WM_KEYDOWN, key, 0);  // posted: this thread never waits for the GUI
            return;
        }
    }
    const int digit = DigitOfKey(key);
    if (digit >= 0)
        ++ButtonBox.pressCount[digit];
}

int ButtonAtClientPoint(LPARAM point)
{
    return ButtonAtPoint(CurrentButtonGrid(), GET_X_LPARAM(point), GET_Y_LPARAM(point));
}

void RenameButton(int index)
{
    if (index < 0 || index >= ButtonBox.count)
        return;
    HWND box = ButtonBox.box;
    char line[kPromptBytes];
    if (!AskForLabel(index, ButtonBox.buttons[index], kButtonLabelReadUnits, line))
        return;
    // The prompt dispatched messages while it waited: the box may have gone, or been replaced.
    if (ButtonBox.box == box && index < ButtonBox.count)
        SetControlText(ButtonBox.buttons[index], line);
}

void OnRightClick(HWND window, LPARAM point)
{
    ButtonBox.renameTarget = ButtonAtClientPoint(point);
    ShowOneItemMenu(window, CommandRename, "Rename");
}

void OnCommand(HWND window, int id, int notification)
{
    switch (id) {
    case CommandRename:
        RenameButton(ButtonBox.renameTarget);
        return;
    case CommandDestroy:
        KRT_CloseButtonBox();
        return;
    default:
        break;
    }
    const int index = id - kFirstButtonId;
    if (notification == BN_CLICKED && index >= 0 && index < ButtonBox.count) {
        SetFocus(window);  // keys keep going to the box, not to the clicked button
        ++ButtonBox.pressCount[index];
    }
}

}  // namespace

LRESULT CALLBACK ButtonBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!ClaimBoxMessage(window, message, ButtonBox.box))
        return LeftoverBoxProc(window, message, wParam, lParam);
    switch (message) {
    case WM_CREATE:
    case WM_DESTROY:
        return 0;
    case WM_MOVE:
        RebuildSnapTable();
        return 0;
    case WM_MOVING:
        SnapMovingRect(reinterpret_cast<RECT*>(lParam), window);
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            FitButtonsToBox(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_GETDLGCODE:
        // The dialog-message handling would take the arrows for moving the focus and Esc for
        // cancelling; the box's own keys need them.
        return DLGC_WANTALLKEYS;
    case WM_KEYDOWN:
        OnKeyDown(wParam);
        return 0;
    case WM_COMMAND:
        OnCommand(window, LOWORD(wParam), HIWORD(wParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        RenameButton(ButtonAtClientPoint(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRightClick(window, lParam);
        return 0;
    case WM_NCRBUTTONDOWN:
        ShowOneItemMenu(window, CommandDestroy, "&Destroy\tCtrl+Q");
        return 0;
    case WM_CLOSE:
        KRT_CloseButtonBox();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
