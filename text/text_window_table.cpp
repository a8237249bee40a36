#include "text/text_window_table.h"

TextWindowRecord TextWindowTable[kTextWindowSlots] = {};
int currentTextWindow = 0;
std::atomic<int> lineInputOwner{0};
