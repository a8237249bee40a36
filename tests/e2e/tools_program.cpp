// The user program of the drawing-tools story: image 0 "canvas", black with a red strip along
// its bottom to pick a colour from, and text window 0 with its log started, where "Pixel"
// reports and "Draw Text" asks for its line.
#include "krtlib.h"

void UserProgramInit(void)
{
    KRT_CreateImage(0, "canvas", 300, 200, 200, 150, 100);
    for (int y = 140; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            KRT_SetPixel(x, y, 0xFF0000);
    KRT_RefreshImage(0);
    KRT_OpenTextWindow(0, 700, 200, 400, 300);
    KRT_StartLog(0);
}

void UserProgramMain(void)
{
}
