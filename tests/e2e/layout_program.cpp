// The user program of the layout story: every kind of window, with names and labels that C
// must escape, and the log of text window 0 that shows when the report is done.  Built as a
// UTF-8 program (KRT_LAYOUT_UTF8), its names and labels also hold characters of three scripts.
#include "krtlib.h"

#ifdef KRT_LAYOUT_UTF8
#define KRT_MORE " café ソ日本 Ωμ"
#else
#define KRT_MORE ""
#endif

void UserProgramInit(void)
{
    KRT_CreateImage(0, "000", 30, 30, 160, 120, 100);
    KRT_CreateImage8FL(3, "say \"hi\" \\o/" KRT_MORE, 230, 30, 100, 80, 200);
    KRT_OpenTextWindow(2, 760, 40, 300, 150);
    KRT_OpenInputBox(480, 280, 2);
    KRT_ResizeInputBox(100, 90);
    KRT_SetInputBoxTitle(1, "w\\h" KRT_MORE);
    KRT_OpenButtonBox(60, 420, 3, 2);
    KRT_ResizeButtonBox(330, 90);
    KRT_SetButtonBoxTitle(0, "r\n+" KRT_MORE);
    KRT_OpenTextWindow(0, 700, 520, 400, 200);
    KRT_StartLog(0);
}

void UserProgramMain(void) {}
