// The button box: a grid of push buttons whose presses the user program polls.
#include "boxes/button_box.h"

#include <cwchar>

#include "boxes/box_shared.h"
#include "boxes/box_state.h"
#include "core/framework.h"
#include "core/mailbox.h"
#include "krtlib.h"

namespace {

struct ButtonKeyRow {
    WPARAM key;
    int button;
};
constexpr ButtonKeyRow kButtonKeys[] = {
    {'Q', 0}, {'E', 1}, {'A', 2}, {VK_LEFT, 2}, {'D', 3},
    {VK_RIGHT, 3}, {'W', 4}, {VK_UP, 4}, {'S', 5}, {VK_DOWN, 5},
};
static_assert(sizeof kButtonKeys / sizeof kButtonKeys[0] == 10, "six letters and four arrows");

bool ButtonExists(int index) { return ButtonBox.box && index >= 0 && index < ButtonBox.count; }

void PlaceButtons()
{
    const ButtonGrid grid = CurrentButtonGrid();
    for (int i = 0; i < ButtonBox.count; ++i) {
        if (!ButtonBox.buttons[i])
            continue;  // still inside the box's creation
        const BoxRect r = ButtonRect(grid, i);
        SetWindowPos(ButtonBox.buttons[i], nullptr, r.x, r.y, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The library lets go of the box, whether or not its window is gone.
void ForgetButtonBox()
{
    ButtonBox.box = nullptr;
    for (WindowHandle& button : ButtonBox.buttons)
        button = nullptr;
}

}  // namespace

ButtonGrid CurrentButtonGrid()
{
    return {ButtonBox.columns, ButtonBox.rows, ButtonBox.buttonWidth, ButtonBox.buttonHeight};
}

void FitButtonsToBox(int clientWidth, int clientHeight)
{
    ButtonGrid grid = CurrentButtonGrid();
    FitButtonsToClient(grid, clientWidth, clientHeight);
    ButtonBox.buttonWidth = grid.buttonWidth;
    ButtonBox.buttonHeight = grid.buttonHeight;
    PlaceButtons();
}

bool PressButtonByKey(WPARAM key)
{
    for (const ButtonKeyRow& row : kButtonKeys) {
        if (row.key != key)
            continue;
        if (ButtonExists(row.button))
            ButtonBox.pressCount[row.button] = 1;
        return true;
    }
    return false;
}

void KRT_OpenButtonBox(int x, int y, int nx, int ny)
{
    if (ButtonBox.box || !ValidButtonGrid(nx, ny))
        return;
    ButtonBox.columns = nx;
    ButtonBox.rows = ny;
    ButtonBox.count = nx * ny;
    HWND box = CreateBoxWindow(kButtonBoxClass, L"ButtonBox", x, y,
                               ButtonBoxClientSize(CurrentButtonGrid()));
    ButtonBox.box = box;
    if (!box)
        return;
    for (int i = 0; i < ButtonBox.count; ++i) {
        wchar_t label[16];
        swprintf(label, 16, L"%d", i);
        ButtonBox.buttons[i] = CreateBoxControl(L"BUTTON", label, WS_CHILD | WS_VISIBLE | BS_MULTILINE, 0,
                                                ButtonRect(CurrentButtonGrid(), i), box, kFirstButtonId + i);
        ButtonBox.pressCount[i] = 0;
    }
    UpdateWindow(box);
    SetForegroundWindow(box);
}

void KRT_SetButtonBoxTitle(int index, const char* text)
{
    if (ButtonExists(index))
        SetControlText(ButtonBox.buttons[index], text);
}

int KRT_GetButton(int index)
{
    if (!ButtonExists(index))
        return 0;
    const int presses = ButtonBox.pressCount[index];
    ButtonBox.pressCount[index] = 0;
    return presses;
}

void KRT_ResizeButtonBox(int width, int height)
{
    if (ButtonBox.box)
        ResizeClientArea(ButtonBox.box, width, height);  // WM_SIZE stretches the buttons
}

void KRT_CloseButtonBox(void)
{
    HWND box = ButtonBox.box;
    if (!box)
        return;
    const bool destroyed = DestroyWindow(box) != FALSE;
    ForgetButtonBox();
    if (!destroyed)
        MessageBoxW(MainWindow, L"DestroyWindow[BB] error", L"KRTLIB error!", MB_OK | MB_ICONERROR);
}

void OpenButtonBoxRequest(MailboxFields& request)
{
    KRT_CloseButtonBox();
    KRT_OpenButtonBox(request.x, request.y, request.width, request.height);
}
