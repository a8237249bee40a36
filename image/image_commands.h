// The commands of an image window's menus and shortcuts.
#pragma once
#include <windows.h>

void RunImageCommand(HWND window, int id);

// One zoom step in or out for the slot's window.
void ZoomStep(int slot, bool in);

// Invalidates (without erasing) the window of the current image, so its paint redraws it.
void InvalidateCurrentImage();

// Prints the prompt (formatted with the slot) in text window 0, opened at its default place if
// need be, and reads the line's leading decimal integer (no digits give 0).
int PromptNumber(const char* prompt, int slot);
