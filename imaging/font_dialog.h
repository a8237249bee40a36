// "TrueType..." / "Font Change" of the image windows: the font dialog chooses the TrueType font.
#pragma once
#include <windows.h>

// Opens the font dialog owned by `owner` at the current TrueType font; the font chosen becomes
// the TrueType font.  The cell size stays as it is, and cancelling keeps the font.
void ChangeTrueTypeFont(HWND owner);
