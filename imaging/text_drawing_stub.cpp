// TEMPORARY, replaced by the built-in font: the two text calls the profile plots label
// themselves with, defined trivially so that the plots build and run before text drawing
// exists.  Drop this file (and its row in imaging/sources.cmake) when the font lands.
#include "imaging/text_state.h"

void KRT_SetTextCursor(int x, int baseline, int leftMargin)
{
    TextCursor = {x, baseline, leftMargin};
}

void KRT_DrawTextF(const char*, ...) {}
