// The console text windows: 256 records indexed by slot, the current slot and the
// line-input owner.
#pragma once
#include <atomic>
#include <cstdio>
#include "core/handles.h"

constexpr int kTextWindowSlots = 256;
constexpr int kTextColourStackDepth = 8;

struct TextWindowRecord {
    int inUse;
    int width;       // client width, also the back buffer's
    int height;      // client height, also the back buffer's
    int cursorX;     // where the next character goes
    int cursorY;     // top of the current line
    int cellWidth;   // average character width of the console font
    int cellHeight;  // character height of the console font
    int textColor;   // 0xRRGGBB
    int backColor;   // 0xRRGGBB
    int textColorStack[kTextColourStackDepth];  // entry 0 the most recently saved
    int backColorStack[kTextColourStackDepth];
    WindowHandle window;
    DcHandle memoryDC;        // holds the back buffer, the OEM fixed font and the black brush
    DcHandle windowDC;        // the window's own DC, kept for its whole life
    BitmapHandle backBuffer;
    BitmapHandle previousBitmap;  // what memoryDC held before backBuffer
    int logState;             // 0 no log, 1 logging, 2 paused
    std::FILE* logFile;
};

extern TextWindowRecord TextWindowTable[kTextWindowSlots];
extern int currentTextWindow;

// A slot in 0 to 255 whose window is open.
inline bool IsOpenTextWindow(int slot)
{
    return slot >= 0 && slot < kTextWindowSlots && TextWindowTable[slot].inUse;
}  // slot that printing, line input and the colour stack act on

// 0 while no line input runs, else slot + 1 of the window reading a line.  Exit clears it
// from the GUI thread.
extern std::atomic<int> lineInputOwner;
