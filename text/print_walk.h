// How printed text is laid out on a console grid: which units form a run drawn with one call,
// where lines break, and when a newline scrolls.  Free of the window system.
#pragma once

// Cells a UTF-16 unit takes: one below U+0080, two from it.
inline int UnitCells(unsigned unit) { return unit < 0x80 ? 1 : 2; }

inline bool IsHighSurrogate(unsigned unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
inline bool IsLowSurrogate(unsigned unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// Whether units[i] and units[i + 1] are the two halves of one character beyond the basic plane
// (which a UTF-8 program can print): it takes two cells, as any other character from U+0080.
inline bool IsSurrogatePair(const unsigned short* units, int i, int count)
{
    return i + 1 < count && IsHighSurrogate(units[i]) && IsLowSurrogate(units[i + 1]);
}

struct PrintWalkCallbacks {
    void* context;
    void (*drawRun)(void* context, int start, int length);  // units [start, start+length) at the cursor
    void (*newline)(void* context);                         // cursor to the next line, scrolling
};

// Walks `count` units starting at pixel x = startX in a line `width` pixels wide with cells
// `cellWidth` wide.  A line feed draws the pending run and starts a new line; a unit that would
// end past the width breaks the line before it.  Returns the x after the last run drawn, or -1
// when the text ended without a run pending (the cursor is then where the callbacks left it).
int WalkPrintedText(const unsigned short* units, int count, int startX, int width, int cellWidth,
                    const PrintWalkCallbacks& callbacks);

// The scroll step after a newline has moved cursorY down by one line.  Returns false when the
// line still fits (nothing to do).  Otherwise the buffer must move up one line: rows
// [cellHeight, cellHeight + copyHeight) go to row 0, cursorY moves up a line, and everything
// from the new cursorY down is cleared.
bool ScrollStep(int& cursorY, int cellHeight, int height, int& copyHeight);
