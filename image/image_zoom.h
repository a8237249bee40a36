// Zoom and stretch mode of image windows.
#pragma once

// 0; 1 no such image; 2 the zoom cannot be fitted (nothing changes).  The zoom that results is
// the one the size limits allow, which may differ from the one asked for.
int SetImageZoom(int zoom, int slot);
// COLORONCOLOR or HALFTONE on both device contexts; any other mode changes nothing but the
// window is still redrawn and retitled.  0, or 1 no such image.
int SetImageStretchMode(int mode, int slot);
// Tab: COLORONCOLOR and HALFTONE in turn.
void ToggleStretchMode(int slot);
