#include "image/image_commands.h"

#include <cstdlib>

#include "image/image_file.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_zoom.h"
#include "image/zoom_steps.h"
#include "krtlib.h"

namespace {

// Reads a number after a prompt in text window 0 (opened at its default place if needed).
int PromptNumber(const char* format, int slot)
{
    KRT_OpenTextWindow(0, -1, -1, -1, -1);
    KRT_Print(format, slot);
    char line[256] = "";
    KRT_InputLine(line);
    return std::atoi(line);
}

void LoadIntoWindow(HWND window)
{
    SelectImageOfWindow(window);
    char name[260];
    if (AskOpenImageFile(name) == 0)
        KRT_LoadImageFile(name, 0, 0);
    InvalidateCurrentImage();  // the window stays current
}

void SaveWindowAs(HWND window)
{
    SelectImageOfWindow(window);
    char name[260];
    if (AskSaveImageFile(name) == 0)
        SaveCurrentImageAs(name, saveFilterIndex);
}

}  // namespace

void ZoomStep(int slot, bool in)
{
    if (IsLiveImage(slot)) {
        const int zoom = ImageTable[slot].zoom;
        SetImageZoom(in ? ZoomInStep(zoom) : ZoomOutStep(zoom), slot);
    }
}

void InvalidateCurrentImage()
{
    if (IsLiveImage(CurrentImage))
        InvalidateRect(ImageTable[CurrentImage].window, nullptr, FALSE);
}

void RunImageCommand(HWND window, int id)
{
    const int slot = FindImageSlot(window);
    switch (id) {
    case CmdLoadImage:
        LoadIntoWindow(window);
        break;
    case CmdDestroyImage:
        KRT_DestroyImage(slot);
        break;
    case CmdZoom50:
        SetImageZoom(50, slot);
        break;
    case CmdZoom100:
        SetImageZoom(100, slot);
        break;
    case CmdZoom200:
        SetImageZoom(200, slot);
        break;
    case CmdSaveAs:
        SaveWindowAs(window);
        break;
    case CmdZoomPrompt:
        SetImageZoom(PromptNumber("[%d] Zoom(%%)=", slot), slot);
        break;
    default:
        break;
    }
}
