// Left clicks in image windows kept in order for the user program, so that one that looks
// once a frame misses none (MouseState holds only the latest state).  The image window
// procedure records them; KRT_GetImageClick (krtlib.h) takes them.  Both run on the
// user-program thread.
#pragma once
#include "core/handles.h"

constexpr int kKeptImageClicks = 64;

// A click at image point (x, y) in the window of `slot`.  The window is kept with it: a click
// whose slot has since been given a new window belongs to the old one and is never handed out.
// When kKeptImageClicks wait, the oldest is dropped.
void RecordImageClick(int slot, WindowHandle window, int x, int y);

// The oldest click in `window` of `slot`, removed from the queue; false when there is none.
bool TakeImageClick(int slot, WindowHandle window, int& x, int& y);

void ForgetImageClicks();
