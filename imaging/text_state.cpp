#include "imaging/text_state.h"

TextCursorFields TextCursor = {0, 0, 0};
int krt_tc = 0xFFFFFF;
int krt_tttc = 0xFFFFFF;
FontHandle trueTypeFont = nullptr;
int cellWidth = kInitialCellWidth;
int cellHeight = kInitialCellHeight;

void ResetTextState()
{
    TextCursor = {0, 0, 0};
    krt_tc = 0xFFFFFF;
    krt_tttc = 0xFFFFFF;
    cellWidth = kInitialCellWidth;
    cellHeight = kInitialCellHeight;
}
