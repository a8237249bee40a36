// Reading a popup menu the library shows, through the real right-click path: a hook on the
// owner's thread reads the menu when WM_INITMENUPOPUP arrives, then the menu is closed
// without choosing anything.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

struct CapturedItem {
    UINT id = 0;
    bool separator = false;
    bool grayed = false;
    bool checked = false;
    std::wstring text;
    std::vector<CapturedItem> submenu;
};

// trigger() makes a window of thread `thread` open its popup menu (posting a right click, for
// example).  Returns the items of the first popup menu shown, or an empty list after timeoutMs.
std::vector<CapturedItem> CaptureMenu(DWORD thread, const std::function<void()>& trigger,
                                      unsigned timeoutMs = 10000);

// Ctrl and a right click at a client point of image window `window` open its tools menu, as a
// user opens it: once to read it, once to walk the arrow keys and Enter to the row of command
// `id` (in a submenu or on the menu itself).  Returns once the menu has closed and the user
// thread has dispatched what it posted; a command that waits for the mouse is then waiting.
bool ChooseToolsRow(HWND window, UINT id);
// The same with a plain right click, through the image menu.
bool ChooseImageMenuRow(HWND window, UINT id);

// Narrow (UTF-8 source) text as the menus show it.
std::wstring Wide(const char* utf8);
