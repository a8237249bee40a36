// The current image and its history, and finding the slot of a window.
#pragma once
#include "core/handles.h"

// True when slot is in 0 to 255 and its record holds a live image.
bool IsLiveImage(int slot);

// Pops the history into CurrentImage: 0, or 1 when the newest entry is out of range or free
// (then nothing changes).  The oldest entry stays, so after a pop it is held twice.
int RestorePreviousImage();

// The lowest live slot whose window is `window`, or -1.
int FindImageSlot(WindowHandle window);

// FindImageSlot, then KRT_SelectImage of the result (which does nothing for -1); the slot or -1.
int SelectImageOfWindow(WindowHandle window);
