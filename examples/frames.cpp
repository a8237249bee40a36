// A small user program: a console that says what is going on, and a 30 ms frame loop that
// runs from Start until Stop and then reports how many frames it paced.
#include <cstdio>

#include "krtlib.h"

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 0, 0, 360, 240);
    KRT_Print("frames: press Start (S), then Stop (C).\n");
    KRT_Print("Space here opens the command prompt.\n");
    KRT_SetForeground(KRTMAINWINDOW);
}

void UserProgramMain(void)
{
    KRT_Print("Running...\n");
    const unsigned start = MillisecondClock();
    int frames = 0;
    while (WaitNextFrame() == 0)
        ++frames;
    const unsigned elapsed = MillisecondClock() - start;
    KRT_Print("%d frames in %u ms\n", frames, elapsed);
    char report[128];
    std::snprintf(report, sizeof report, "Stopped after %d frames in %u ms.", frames, elapsed);
    KRT_Pause(report);
}
