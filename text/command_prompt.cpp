// KRT_CommandPrompt: "Cmd>" and one line, matched against five commands.
#include <windows.h>

#include "core/framework.h"
#include "imaging/text_state.h"
#include "krtlib.h"
#include "text/command_table.h"
#include "text/text_window.h"

int KRT_CommandPrompt(void)
{
    KRT_Print("Cmd>");
    char line[256] = "";
    KRT_InputLine(line);
    switch (FindPromptCommand(line)) {
    case CommandExit:
        PostMessageW(MainWindow, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(1);
        return 0;
    case CommandStart:
        PostMessageW(MainWindow, WM_KEYDOWN, 'S', 0);
        return 0;
    case CommandHelp:
        KRT_Print("Command list:exit help start ver color\n");
        return 0;
    case CommandVer:
        if (TextWindowRecord* record = CurrentOpenTextWindow())
            PostMessageW(record->window, WM_COMMAND, 1020, 0);
        return 0;
    case CommandColor: {
        const int colour = KRT_GetDrawingColour();
        KRT_Print("Red  :%3d\n", (colour >> 16) & 0xFF);
        KRT_Print("Green:%3d\n", (colour >> 8) & 0xFF);
        KRT_Print("Blue :%3d\n", colour & 0xFF);
        KRT_Print("krt_tttc=%06x\n", krt_tttc);
        KRT_Print("krt_tc=%06x\n", krt_tc);
        return 0;
    }
    case CommandInvalid:
        break;
    }
    KRT_Print("Invalid command\n");
    return 1;
}
