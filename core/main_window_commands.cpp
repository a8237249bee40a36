// The main window's commands that get work done on the user-program thread through the
// request mailbox.
#include "core/main_window_commands.h"

#include <cstdlib>

#include "core/control_flags.h"
#include "core/framework.h"
#include "krtlib.h"
#include "text/input_ring.h"
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

// One answer of an interactive creation dialogue, read as a decimal number (no digits give 0).
// Returns false when Exit began while the line was read: the dialogue then ends at once.
bool AskNumber(const char* prompt, int& number)
{
    KRT_Print("%s", prompt);
    char line[kLineUnits] = "";
    KRT_InputLine(line);
    if (exitState != 0)
        return false;
    number = static_cast<int>(std::strtol(line, nullptr, 10));
    return true;
}

// 1044.
void InputBoxDialogue()
{
    PostOpenTextWindow(0);
    KRT_Print("Creating InpuxBox...\n");
    int items = 0;
    if (AskNumber("How many items? >", items))
        PostOpenInputBox(items);
}

// 1051.
void ButtonBoxDialogue()
{
    PostOpenTextWindow(0);
    KRT_Print("Creating ButtonBox...\n");
    int columns = 0, rows = 0;
    if (AskNumber("Number[X]=>", columns) && AskNumber("Number[Y]=>", rows))
        PostOpenButtonBox(columns, rows);
}

}  // namespace

void RunMainWindowCommand(int id)
{
    switch (id) {
    case 1028:
        OpenNextTextWindow();
        break;
    case 1044:
        InputBoxDialogue();
        break;
    case 1051:
        ButtonBoxDialogue();
        break;
    default:
        break;
    }
}

void OnMainWindowDrop(HDROP drop)
{
    DragFinish(drop);
}
