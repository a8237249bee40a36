// Drawing state shared by the menus, the tools, the profile plots and user programs: the
// drawing colour, the pen position and the colour dialog's custom colours.
#pragma once

struct PenPositionFields {
    int x;
    int y;
};

extern int DrawingColour;              // 0x00RRGGBB (a palette index in 8-bit images), initially white
extern PenPositionFields PenPosition;  // last point of the last pixel or line call, initially (0, 0)

constexpr int kCustomColourCount = 16;
// The colour dialog's custom colours, kept between dialogs.  In the window system's 0x00BBGGRR
// form; unsigned long is the window system's COLORREF on every Windows compiler.
extern unsigned long CustomColours[kCustomColourCount];

// As a freshly started process has them, with the text cursor, text colours and cell size.
void ResetDrawingState();
