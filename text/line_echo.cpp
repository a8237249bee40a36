#include "text/line_echo.h"
#include "text/print_walk.h"

void BeginLineEdit(LineEdit& edit)
{
    edit.length = 0;
    edit.wrapCount = 0;
    edit.line[0] = 0;
}

namespace {

void PushWrap(LineEdit& edit, int x)
{
    if (edit.wrapCount < kLineUnits)
        edit.wraps[edit.wrapCount++] = x;
}

}  // namespace

void EchoUnit(LineEdit& edit, const EchoSurface& s, unsigned short unit)
{
    const int w = UnitCells(unit);
    int& x = *s.cursorX;
    if (w == 2 && x > s.width - 2 * s.cellWidth) {
        // A double-width character that does not fit goes whole to the next line.
        s.draw(s.context, ' ', 1);  // the caret cell
        PushWrap(edit, x + 2 * s.cellWidth);
        s.newline(s.context);
    }
    s.draw(s.context, unit, w);
    if (x + w * s.cellWidth > s.width - s.cellWidth) {
        PushWrap(edit, x);  // no room for one more narrow character
        s.newline(s.context);
    } else {
        x += w * s.cellWidth;
    }
    if (edit.length < kMaxLineLength)
        edit.line[edit.length++] = unit;
    edit.line[edit.length] = 0;
}

void EraseLastUnit(LineEdit& edit, const EchoSurface& s)
{
    if (edit.length <= 0)
        return;
    int& x = *s.cursorX;
    int& y = *s.cursorY;
    s.draw(s.context, ' ', 1);  // the caret cell
    const int w = UnitCells(edit.line[--edit.length]);
    edit.line[edit.length] = 0;
    if (edit.wrapCount > 0 && x == 0) {
        x = edit.wraps[--edit.wrapCount];
        y -= s.cellHeight;
    } else {
        x -= w * s.cellWidth;
    }
    if (w == 2) {
        s.draw(s.context, kIdeographicSpace, 2);
        // It had been moved whole to a new line: go back to where it would have stood above.
        if (edit.wrapCount > 0 && x == 0 && edit.wraps[edit.wrapCount - 1] >= s.width) {
            x = edit.wraps[--edit.wrapCount] - 2 * s.cellWidth;
            y -= s.cellHeight;
        }
    }
}
