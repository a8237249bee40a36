// State shared by the two ways of drawing text into images: the text cursor, the colours and
// the TrueType font with its cell size.
#pragma once
#include "core/handles.h"

struct TextCursorFields {
    int x;
    int baseline;
    int leftMargin;
};

constexpr int kInitialCellWidth = 8;
constexpr int kInitialCellHeight = 16;

extern TextCursorFields TextCursor;
extern int krt_tc;
extern int krt_tttc;
extern FontHandle trueTypeFont;
extern int cellWidth;   // TrueType cell width, initially 8
extern int cellHeight;  // TrueType cell height, initially 16; also the line advance

// The cursor, the colours and the cell size as at start; the font is left to its owner.
void ResetTextState();
