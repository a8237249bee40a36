// Test patterns: the parts that only write pixels.  PatternGrey (which first loads the grey
// palette of an 8-bit image through the window system) draws its ramps with DrawGreyRamps.
#pragma once

// Column x of the current image gets g = 255 x / width: g * 0x010101 in rows 0 to height/2 - 1
// and (255 - g) * 0x010101 below; a one-row image gets the lower colour.  The pen position is
// left at the bottom-right pixel, where drawing each column half as a line leaves it.
void DrawGreyRamps();
