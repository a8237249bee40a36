// The raster layer's operations on the current image that the library uses internally; the
// ones a user program calls (KRT_SetPixel, KRT_GetPixel, KRT_DrawLine, KRT_DrawCircle) are in
// krtlib.h.  None of them redraws a window.  Points outside the image are dropped one by one;
// with no live current image nothing is drawn and reads see "outside".
#pragma once

// Pixels.  The pen position records the point of KRT_SetPixel and XorPixel, inside or not.
void PutPixel(int x, int y, int colour);  // KRT_SetPixel without touching the pen position
int ProbePixel(int x, int y);             // KRT_GetPixel, but -1 outside
void XorPixel(int x, int y);              // 32-bit: low 24 bits inverted; 8-bit: 255 - index
void XorPixelQuiet(int x, int y);         // XorPixel without touching the pen position

// Lines: the pen position becomes the end point (x2, y2).
void XorLine(int x1, int y1, int x2, int y2);

// Rectangles given by two opposite corners in any order, in the drawing colour or inverted.
void DrawBox(int xa, int ya, int xb, int yb);
void XorBox(int xa, int ya, int xb, int yb);      // outline, every pixel inverted once
void FillBox(int xa, int ya, int xb, int yb);
void XorFillBox(int xa, int ya, int xb, int yb);  // outline and interior, every pixel once

// Circles; a negative radius draws nothing.
void XorCircle(int cx, int cy, int r);
void FillCircle(int cx, int cy, int r);     // disc in the drawing colour, then its outline
void XorFillCircle(int cx, int cy, int r);  // every row of the disc inverted once (r >= 1)

// The 4-connected region of pixels equal to the one at (x, y), in the drawing colour.
void FloodFill(int x, int y);

// Every byte of the slot's pixel buffer to 0; nothing for an out-of-range or free slot.
void ClearImage(int slot);
