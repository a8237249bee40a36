// The user program of the console flood story: at start-up it prints 100,000 numbered lines into
// text window 0 with its log on, then leaves the console alone.
#include "krtlib.h"

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 300, 200, 400, 300);
    KRT_StartLog(0);
    for (int line = 1; line <= 100000; ++line)
        KRT_Print("line %06d of the flood\n", line);
}

void UserProgramMain(void)
{
}
