// The echo of a line being typed into a console, and Backspace across the automatic line
// breaks the echo made.  The cursor arithmetic lives here; drawing and the newline (with its
// scroll) are callbacks into the text window.
#pragma once
#include "text/input_ring.h"

struct EchoSurface {
    void* context;
    int* cursorX;  // the text window's cursor
    int* cursorY;
    int width;
    int cellWidth;
    int cellHeight;
    // Draws one character at the cursor (one unit, or the two of a surrogate pair) over `cells`
    // cells and invalidates them.
    void (*draw)(void* context, const unsigned short* units, int count, int cells);
    // cursorX = 0, cursorY one line down, the scroll step.
    void (*newline)(void* context);
};

struct LineEdit {
    unsigned short line[kLineUnits];
    int length;
    int wraps[kLineUnits];  // one x position per automatic line break made by this line's echo
    int wrapCount;
};

constexpr int kMaxLineLength = kLineUnits - 1;  // 255 units
constexpr unsigned short kIdeographicSpace = 0x3000;

void BeginLineEdit(LineEdit& edit);

// Whether the line has room for a typed unit within its 255 units.  The first half of a
// surrogate pair (a character beyond the basic plane, which a UTF-8 program can take) needs room
// for both, so that a line never ends in half a character.
bool LineTakes(const LineEdit& edit, unsigned short unit);

// Echoes a typed unit and appends it (the caller asks LineTakes first).  The first half of a
// surrogate pair is shown with its second half, as one character of two cells.
void EchoUnit(LineEdit& edit, const EchoSurface& surface, unsigned short unit);

// Removes the last character, a surrogate pair whole (nothing when the line is empty).  The
// caret cell is left for the next caret draw.
void EraseLastUnit(LineEdit& edit, const EchoSurface& surface);
