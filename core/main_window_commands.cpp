// The main window's commands that get work done on the user-program thread through the
// request mailbox.
#include "core/main_window_commands.h"

#include "core/framework.h"
#include "text/text_window_table.h"

namespace {

// 1028: the lowest free text-window slot is opened.
void OpenNextTextWindow()
{
    for (int slot = 0; slot < kTextWindowSlots; ++slot) {
        if (!TextWindowTable[slot].inUse) {
            PostOpenTextWindow(slot);
            return;
        }
    }
}

}  // namespace

void RunMainWindowCommand(int id)
{
    switch (id) {
    case 1028:
        OpenNextTextWindow();
        break;
    default:
        break;
    }
}

void OnMainWindowDrop(HDROP drop)
{
    DragFinish(drop);
}
