// The image windows: 256 records indexed by slot, the parallel pixel pointers, and the
// current image with its history.
#pragma once
#include "core/handles.h"

constexpr int kImageSlots = 256;
constexpr int kImageHistoryDepth = 8;

enum SizeLimitMode { FreeLimits = 0, ScreenFit = 1 };

struct ImageRecord {
    int inUse;
    int bitDepth;       // 32 or 8
    int width;          // at least 1
    int height;         // at least 1
    int clientWidth;    // width * zoom / 100
    int clientHeight;   // height * zoom / 100
    int zoom;           // percent
    int sizeLimitMode;  // ScreenFit or FreeLimits
    WindowHandle window;
    DcHandle memoryDC;  // holds the DIB section
    DcHandle windowDC;  // the window's own DC, kept for its whole life
    BitmapHandle dibSection;
    BitmapHandle previousBitmap;
    char* name;         // heap copy
};

extern ImageRecord ImageTable[kImageSlots];
extern unsigned char* PixelTable[kImageSlots];  // first byte of each slot's pixels

extern int CurrentImage;
extern int CurrentImageHistory[kImageHistoryDepth];  // newest first

// Bytes per row: width words for 32-bit images, width rounded up to 4 bytes for 8-bit ones.
inline int ImageStride(int width, int bitDepth)
{
    return bitDepth == 8 ? ((width + 3) & ~3) : width * 4;
}
