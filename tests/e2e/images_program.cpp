// The user program of the image story: one picture, image 10 "pic", shown at start so that the
// user can zoom it, switch its smoothing and save it; slots 0 up are left to dropped files.
#include "krtlib.h"

void UserProgramInit(void)
{
    KRT_CreateImage(10, "pic", 300, 200, 200, 150, 100);
    for (int y = 0; y < 150; ++y)
        for (int x = 0; x < 200; ++x)
            KRT_SetPixel(x, y, x < 100 ? 0xFF0000 : (y < 75 ? 0x00FF00 : 0x0000FF));
    KRT_RefreshImage(10);
}

void UserProgramMain(void)
{
}
