#include "core/main_window_commands.h"

void RunMainWindowCommand(int id)
{
    switch (id) {
    default:
        break;
    }
}

void OnMainWindowDrop(HDROP drop)
{
    DragFinish(drop);
}
