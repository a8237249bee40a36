// Running a tools-menu row that waits for the mouse, as a user does: the row chosen in the real
// popup menu, then a move and a left click at each client point of the window.
#pragma once
#include <windows.h>

#include <vector>

#include "framework_fixture.h"
#include "imaging/tool_feed.h"
#include "menu_capture.h"

// True once the row's pick has ended (the command may still be reading a line).
inline bool RunToolsRow(HWND window, UINT id, const std::vector<POINT>& clicks)
{
    if (!ChooseToolsRow(window, id) || !PumpUntil([] { return ToolInProgress == 1; }))
        return false;
    for (const POINT& p : clicks) {
        PostMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        PumpFor(60);
    }
    return PumpUntil([] { return ToolInProgress == 0; });
}
