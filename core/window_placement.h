// Where a new top-level window goes when its caller may leave either screen coordinate to the
// system.  CreateWindowExW understands a default only for x: with a real x, a default y is
// taken literally (the window's top lands near -2^31, off the screen), and with a default x, y
// is read as a show command.  So a window with either coordinate left to the system is created
// at the system's default position, and the coordinate that was given is put back afterwards;
// the other stays the system's choice, pulled back onto the work area if the window would
// reach past it.
#pragma once
#include <windows.h>

struct WindowPlacement {
    int x, y;                // as given
    bool defaultX, defaultY; // left to the system
};

// CreateWindowExW's x and y for the placement.
int CreationX(const WindowPlacement& placement);
int CreationY(const WindowPlacement& placement);

// After CreateWindowExW: moves the window to the coordinate that was given when the other was
// left to the system; does nothing otherwise.
void FinishPlacement(HWND window, const WindowPlacement& placement);
