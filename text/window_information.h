// Window information, the text-window command 1045 (the main window forwards its own 1045 to
// the current text window).
#pragma once
#include <windows.h>

// Prints the report of every open library window into `window` (a text window, selected
// first) and puts the source text that recreates the layout on the clipboard.
void WindowInformation(HWND window);
