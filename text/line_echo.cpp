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

bool LineTakes(const LineEdit& edit, unsigned short unit)
{
    return edit.length + (IsHighSurrogate(unit) ? 2 : 1) <= kMaxLineLength;
}

void EchoUnit(LineEdit& edit, const EchoSurface& s, unsigned short unit)
{
    if (edit.length >= kMaxLineLength)
        return;
    const bool awaited = edit.length > 0 && IsHighSurrogate(edit.line[edit.length - 1]);
    edit.line[edit.length++] = unit;
    edit.line[edit.length] = 0;
    if (IsHighSurrogate(unit))
        return;  // shown with its second half
    const int count = awaited && IsLowSurrogate(unit) ? 2 : 1;
    const int w = UnitCells(unit);
    int& x = *s.cursorX;
    if (w == 2 && x > s.width - 2 * s.cellWidth) {
        // A double-width character that does not fit goes whole to the next line.
        const unsigned short blank = ' ';
        s.draw(s.context, &blank, 1, 1);  // the caret cell
        PushWrap(edit, x + 2 * s.cellWidth);
        s.newline(s.context);
    }
    s.draw(s.context, edit.line + edit.length - count, count, w);
    if (x + w * s.cellWidth > s.width - s.cellWidth) {
        PushWrap(edit, x);  // no room for one more narrow character
        s.newline(s.context);
    } else {
        x += w * s.cellWidth;
    }
}

void EraseLastUnit(LineEdit& edit, const EchoSurface& s)
{
    if (edit.length <= 0)
        return;
    int& x = *s.cursorX;
    int& y = *s.cursorY;
    const unsigned short blank = ' ';
    s.draw(s.context, &blank, 1, 1);  // the caret cell
    const unsigned short last = edit.line[--edit.length];
    if (IsLowSurrogate(last) && edit.length > 0 && IsHighSurrogate(edit.line[edit.length - 1]))
        --edit.length;  // the pair's first half goes with it
    edit.line[edit.length] = 0;
    if (IsHighSurrogate(last))
        return;  // a first half still waiting for its second was never shown
    const int w = UnitCells(last);
    if (edit.wrapCount > 0 && x == 0) {
        x = edit.wraps[--edit.wrapCount];
        y -= s.cellHeight;
    } else {
        x -= w * s.cellWidth;
    }
    if (w == 2) {
        s.draw(s.context, &kIdeographicSpace, 1, 2);
        // It had been moved whole to a new line: go back to where it would have stood above.
        if (edit.wrapCount > 0 && x == 0 && edit.wraps[edit.wrapCount - 1] >= s.width) {
            x = edit.wraps[--edit.wrapCount] - 2 * s.cellWidth;
            y -= s.cellHeight;
        }
    }
}
