// What the input box and the button box share on the window-system side: their frame, their
// creation, client resizing, the one-item popup menus, label texts and the relabelling prompt.
#pragma once
#include <windows.h>

#include "boxes/box_geometry.h"

// Both boxes: a sizable captioned window with a close box and no menu.
constexpr DWORD kBoxStyle = WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;

constexpr int kLabelUnits = 256;   // a label set from narrow text, terminator included
constexpr int kPromptBytes = 256;  // a line read by the relabelling prompt

// A box window of class `className` at screen point (x, y) whose client area has `client`'s
// size, owned by the main window.
HWND CreateBoxWindow(const wchar_t* className, const wchar_t* title, int x, int y, BoxSize client);

// Resizes a window so that its client area becomes width x height (its frame measured on the
// window itself), keeping its place and z-order.
void ResizeClientArea(HWND window, int width, int height);

// A child control of the system class `className` at `r` inside `parent`.
HWND CreateBoxControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                      const BoxRect& r, HWND parent, int id);

// Narrow text (system code page) as a control's text, at most kLabelUnits - 1 units.
void SetControlText(HWND control, const char* text);

// A popup menu at the cursor with the single item `text`, owned by `owner`.
void ShowOneItemMenu(HWND owner, UINT id, const char* text);

// Relabelling prompt for item `index`: prints "%d '%s' ->" with the control's present label (read
// up to labelUnits units) into the current text window, opening one if needed, and reads a line
// into line[kPromptBytes].  Returns whether a non-empty line was read.  No prompt starts while
// another line input runs: two readers would share the typed characters between them.
bool AskForLabel(int index, HWND control, int labelUnits, char* line);

// Whether a message is for the box: a window becomes `box` at its WM_CREATE; a window that is
// not the box (one the library forgot after its destruction failed) gets LeftoverBoxProc.
bool ClaimBoxMessage(HWND window, UINT message, HWND& box);

// A forgotten box window does nothing but close itself.
LRESULT LeftoverBoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
