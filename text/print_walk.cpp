#include "text/print_walk.h"

int WalkPrintedText(const unsigned short* units, int count, int startX, int width, int cellWidth,
                    const PrintWalkCallbacks& callbacks)
{
    int x = startX;
    int runStart = 0, runLength = 0;
    auto flush = [&] {
        if (runLength > 0)
            callbacks.drawRun(callbacks.context, runStart, runLength);
        runLength = 0;
    };
    for (int i = 0; i < count; ++i) {
        const unsigned unit = units[i];
        if (unit == '\n') {
            flush();
            callbacks.newline(callbacks.context);
            runStart = i + 1;
            x = 0;
            continue;
        }
        // A surrogate pair is one character: two cells, never split by a line break.
        const int length = IsSurrogatePair(units, i, count) ? 2 : 1;
        const int cells = UnitCells(unit) * cellWidth;
        if (x + cells > width) {
            flush();
            callbacks.newline(callbacks.context);
            runStart = i;
            x = 0;
        }
        if (runLength == 0)
            runStart = i;
        runLength += length;
        x += cells;
        i += length - 1;
    }
    if (runLength == 0)
        return -1;
    flush();
    return x;
}

bool ScrollStep(int& cursorY, int cellHeight, int height, int& copyHeight)
{
    if (cursorY + cellHeight < height)
        return false;
    copyHeight = cursorY - cellHeight;
    cursorY -= cellHeight;
    return true;
}
