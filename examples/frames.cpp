// A minimal user program: Start runs a 30 ms frame loop until Stop, then reports how many
// frames it paced.
#include <cstdio>

#include "krtlib.h"

void UserProgramInit(void)
{
}

void UserProgramMain(void)
{
    const unsigned start = MillisecondClock();
    int frames = 0;
    while (WaitNextFrame() == 0)
        ++frames;
    char report[128];
    std::snprintf(report, sizeof report, "Stopped after %d frames in %u ms.", frames,
                  MillisecondClock() - start);
    KRT_Pause(report);
}
