// The commands of an image window's menus and shortcuts.
#pragma once
#include <windows.h>

void RunImageCommand(HWND window, int id);

// One zoom step in or out for the slot's window.
void ZoomStep(int slot, bool in);

// Invalidates (without erasing) the window of the current image, so its paint redraws it.
void InvalidateCurrentImage();
