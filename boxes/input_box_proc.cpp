// The input box's window procedure: committing values, the focus on activation, the column
// widths while the frame is dragged, relabelling, the popup menus and closing.
#include <windows.h>
#include <windowsx.h>

#include "boxes/box_shared.h"
#include "boxes/box_state.h"
#include "boxes/input_box.h"
#include "core/framework.h"
#include "core/window_procedures.h"
#include "krtlib.h"

namespace {

enum InputBoxCommand {
    CommandDestroy = 1023,
    CommandRename = 1056,
};

constexpr int kItemLabelReadUnits = 256;

bool LeftEdge(int edge) { return edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT; }

// The height never changes: only the columns follow the frame.
void OnSizing(HWND window, int edge, RECT* proposed)
{
    RECT present;
    GetWindowRect(window, &present);
    proposed->top = present.top;
    proposed->bottom = present.bottom;
    InputBox.sizingEdge = edge;
}

void OnSize(int clientWidth)
{
    InputColumns columns = CurrentInputColumns();
    FitColumnsToClient(columns, clientWidth, LeftEdge(InputBox.sizingEdge));
    InputBox.labelWidth = columns.labelWidth;
    InputBox.editWidth = columns.editWidth;
    LayOutInputBox();
}

void RenameItem(int item)
{
    if (item < 0 || item >= InputBox.itemCount)
        return;
    HWND box = InputBox.box;
    char line[kPromptBytes];
    if (!AskForLabel(item, InputBox.labels[item], kItemLabelReadUnits, line))
        return;
    // The prompt dispatched messages while it waited: the box may have gone, or been replaced.
    if (InputBox.box == box && item < InputBox.itemCount)
        SetInputLabel(item, line);
}

void OnRightClick(HWND window, int y)
{
    const int row = InputRowAt(y, InputBox.itemCount);
    if (row < 0)
        return;
    InputBox.renameRow = row;
    ShowOneItemMenu(window, CommandRename, "Rename");
}

void OnCommand(int id, int notification, HWND control)
{
    if (id == IDOK && !control)
        CommitEdit(InputBox.lastFocusedEdit);  // Enter, through the dialog-message handling
    else if (notification == EN_SETFOCUS)
        InputBox.lastFocusedEdit = control;
    else if (notification == EN_KILLFOCUS)
        CommitEdit(control);
    switch (id) {
    case CommandDestroy:
        KRT_CloseInputBox();
        break;
    case CommandRename:
        RenameItem(InputBox.renameRow);
        break;
    default:
        break;
    }
}

}  // namespace

LRESULT CALLBACK InputBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!ClaimBoxMessage(window, message, InputBox.box))
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
    case WM_SIZING:
        OnSizing(window, static_cast<int>(wParam), reinterpret_cast<RECT*>(lParam));
        return TRUE;
    case WM_SIZE:
        if (wParam != SIZE_MINIMIZED)
            OnSize(LOWORD(lParam));
        return 0;
    case WM_ACTIVATE:
        // Only when it becomes active: setting the focus while it is being deactivated would
        // activate it again and take the foreground back from the window the user went to.
        if (LOWORD(wParam) != WA_INACTIVE)
            FocusInputBox();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        RenameItem(InputRowAt(GET_Y_LPARAM(lParam), InputBox.itemCount));
        return 0;
    case WM_RBUTTONDOWN:
        OnRightClick(window, GET_Y_LPARAM(lParam));
        return 0;
    case WM_NCRBUTTONDOWN:
        ShowOneItemMenu(window, CommandDestroy, "Destroy");
        return 0;
    case WM_CLOSE:
        KRT_CloseInputBox();
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}
