#include "image/image_table.h"

ImageRecord ImageTable[kImageSlots] = {};
unsigned char* PixelTable[kImageSlots] = {};
int CurrentImage = 0;
int CurrentImageHistory[kImageHistoryDepth] = {};
