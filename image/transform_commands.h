// The commands of an image window that change its image's shape or pixels as a whole:
// &Resize..., Invert, the flips, the quarter turns, the four Size rows and Clipping.
#pragma once
#include <windows.h>

// Returns whether `id` is one of these commands (1019, 1047, 1058 to 1066).
bool RunTransformCommand(HWND window, int id);
