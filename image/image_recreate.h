// Giving an image a new size: RecreateImage (declared in krtlib.h), and the two commands that
// carry the old pixels over into the new buffer, scaling by a fixed factor and quarter turns.
// Each leaves the slot as the current image.  When the image cannot be made again at its new
// size, the old one is gone all the same, the copies are released and nothing is shown.
#pragma once
#include <windows.h>

#include "imaging/transforms.h"

// Size 50.0 % to 200.0 %: the window's image resampled to perMille thousandths of each side
// (rounded to nearest) with the window's stretch mode: HALFTONE smooths, COLORONCOLOR takes
// the nearest pixel.
void ScaleImageOfWindow(HWND window, int perMille);

// R. Rotate and L. Rotate: the window's image turned by a quarter, width and height exchanged.
void TurnImageOfWindow(HWND window, Turn turn);
