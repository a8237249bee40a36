// The main window's commands that get work done on the user-program thread through the
// request mailbox.
#include "core/main_window_commands.h"

#include <cstdio>
#include <cstdlib>

#include "core/control_flags.h"
#include "core/dropped_files.h"
#include "core/framework.h"
#include "image/clipboard.h"
#include "image/image_table.h"
#include "image/picture_files.h"
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

// 1027: width, height and depth typed in the text window; a 32-bit or 8-bit image in the
// lowest free slot, named by its number.
void ImageWindowDialogue()
{
    PostOpenTextWindow(0);
    KRT_Print("Creating ImageWindow...\n");
    int width = 0, height = 0, bits = 0;
    if (!AskNumber(" Width=", width) || !AskNumber("Height=", height) || !AskNumber("Bit[32 or 8]=", bits))
        return;
    if (bits != 32 && bits != 8)
        return;
    for (int slot = 0; slot < kImageSlots; ++slot) {
        if (!ImageTable[slot].inUse) {
            char name[8];
            std::snprintf(name, sizeof name, "%03d", slot);
            PostCreateImage(slot, name, width, height, bits);
            return;
        }
    }
}

// 1045: the report is written by the current text window, opened first when it is not open.
void ForwardWindowInformation()
{
    if (!IsOpenTextWindow(currentTextWindow))
        PostOpenTextWindow(0);
    if (IsOpenTextWindow(currentTextWindow))
        PostMessageW(TextWindowTable[currentTextWindow].window, WM_COMMAND, 1045, 0);
}

// A dropped file that is a picture goes into the first slot from `slot` on that can take it;
// returns the slot to search from for the next file.  The previous current image is restored
// by the user-program thread as part of the last request: the image history is that thread's,
// and it may be changing it meanwhile.
int DropOneFile(const wchar_t* dropped, int slot)
{
    PictureFile picture;
    if (!ReadPictureFile(dropped, picture))
        return slot;  // no slot is used
    while (slot < kImageSlots) {
        char title[kPictureTitleBytes];
        FormatPictureTitle(title, slot, picture.fileName);
        const int result =
            PostCreateImage(slot, title, static_cast<int>(picture.width), static_cast<int>(picture.height), 32);
        ++slot;
        if (result == 0) {
            PostLoadImage(slot - 1, picture.path);
            PostRefreshImage(slot - 1, true);
            return slot;
        }
        if (result != 1)
            return slot;
    }
    return slot;
}

// 1026: the clipboard's picture as a new 32-bit image window in the first slot that takes it,
// named by its number.  As after a drop, the previous current image is restored by the
// user-program thread as part of the last request.
void PasteAsNewImage()
{
    if (running != 0)
        return;
    RGBQUAD palette[256];
    int count = 0;
    HBITMAP bitmap = GetClipboardBitmap(palette, count);
    if (!bitmap)
        return;
    BITMAP size = {};
    GetObjectW(bitmap, sizeof size, &size);
    for (int slot = 0; slot < kImageSlots; ++slot) {
        char name[8];
        std::snprintf(name, sizeof name, "%03d", slot);
        const int result = PostCreateImage(slot, name, size.bmWidth, size.bmHeight, 32);
        if (result == 0) {
            PostPasteBitmap(bitmap);  // the request's from now on
            PostRefreshImage(slot, true);
            return;
        }
        if (result == kRequestNotServed)
            break;  // the user-program thread has ended: no slot will answer
    }
    DeleteObject(bitmap);
}

}  // namespace

void RunMainWindowCommand(int id)
{
    switch (id) {
    case 1026:
        PasteAsNewImage();
        break;
    case 1027:
        ImageWindowDialogue();
        break;
    case 1028:
        OpenNextTextWindow();
        break;
    case 1044:
        InputBoxDialogue();
        break;
    case 1045:
        ForwardWindowInformation();
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
    if (running == 0) {  // dropping is switched off during a run; a late drop is ignored
        const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
        int slot = 0;
        for (UINT i = 0; i < count; ++i) {
            const std::wstring name = DroppedFileName(drop, i);
            if (!name.empty())
                slot = DropOneFile(name.c_str(), slot);
        }
    }
    DragFinish(drop);
}
