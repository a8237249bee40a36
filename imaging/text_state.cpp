#include "imaging/text_state.h"

TextCursorFields TextCursor = {0, 0, 0};
int krt_tc = 0xFFFFFF;
int krt_tttc = 0xFFFFFF;
FontHandle trueTypeFont = nullptr;
int cellWidth = 8;
int cellHeight = 16;
