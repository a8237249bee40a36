// The image window commands that run a pick tool and draw with what it picked.
#pragma once
#include <windows.h>

// Carries out command `id` of `window` if it is one of these; false otherwise.
bool RunToolCommand(HWND window, int id);
