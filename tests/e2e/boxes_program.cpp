// The user program of the box stories: a button box and an input box, and a run that writes
// into text window 0's log every press it polls and, on button 5, the value of input item 0.
#include "krtlib.h"

void UserProgramInit(void)
{
    KRT_OpenTextWindow(0, 700, 520, 400, 200);
    KRT_StartLog(0);
    KRT_OpenInputBox(420, 100, 3);
    KRT_OpenButtonBox(100, 100, 3, 2);
}

void UserProgramMain(void)
{
    KRT_Print("running\n");
    while (WaitNextFrame() == 0) {
        for (int i = 0; i < 6; ++i) {
            const int presses = KRT_GetButton(i);
            if (presses)
                KRT_Print("button %d x%d\n", i, presses);
            if (presses && i == 5) {
                const char* value = KRT_GetInputBoxText(0);
                KRT_Print("item0=%s\n", value ? value : "(no box)");
            }
        }
    }
}
