#include "image/image_commands.h"

#include <climits>
#include <cstdlib>

#include "image/clipboard.h"
#include "image/image_file.h"
#include "image/image_menus.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_zoom.h"
#include "image/inspection_commands.h"
#include "image/tool_commands.h"
#include "image/transform_commands.h"
#include "image/zoom_steps.h"
#include "imaging/colour_dialog.h"
#include "imaging/font_dialog.h"
#include "krtlib.h"

namespace {

// The line's leading decimal integer (no digits give 0); beyond the range of int it stops at
// the nearest end rather than wrapping.
int LeadingInteger(const char* line)
{
    const long long value = std::strtoll(line, nullptr, 10);
    return value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// The window's image stays current afterwards, unlike a dropped file's.
void LoadIntoWindow(HWND window)
{
    if (SelectImageOfWindow(window) < 0)
        return;
    char name[kImageNameBytes];
    if (AskOpenImageFile(name) == 0) {
        KRT_LoadImageFile(name, 0, 0);
        InvalidateCurrentImage();
    }
}

void SaveWindowAs(HWND window)
{
    if (SelectImageOfWindow(window) < 0)
        return;
    char name[kImageNameBytes];
    if (AskSaveImageFile(name) == 0)
        SaveCurrentImageAs(name, saveFilterIndex);
}

// The line input dispatches messages: by the time the number is typed the window may be gone
// and its slot taken by another image, which the number is not meant for.
void ZoomFromPrompt(HWND window, int slot)
{
    if (slot < 0)
        return;
    const int zoom = PromptNumber("[%d] Zoom(%%)=", slot);
    if (FindImageSlot(window) == slot)
        SetImageZoom(zoom, slot);
}

// The test patterns of the tools menu: the window's image becomes current, is overwritten and
// repainted.
struct PatternCommand {
    int id;
    void (*draw)();
};
constexpr PatternCommand kPatternCommands[] = {
    {CmdPatternRgb, PatternRgb}, {CmdPatternHsv, PatternHsv}, {CmdPatternYCrCb, PatternYCrCb},
    {CmdPatternYuv, PatternYuv}, {CmdPatternYiq, PatternYiq}, {CmdPatternGrey, PatternGrey},
};

// Whether `id` is a test pattern's command (drawn when the window has an image).
bool DrawPatternCommand(HWND window, int id)
{
    for (const PatternCommand& pattern : kPatternCommands) {
        if (pattern.id != id)
            continue;
        if (SelectImageOfWindow(window) >= 0) {
            pattern.draw();
            InvalidateCurrentImage();
        }
        return true;
    }
    return false;
}

}  // namespace

int PromptNumber(const char* prompt, int slot)
{
    KRT_OpenTextWindow(0, -1, -1, -1, -1);
    KRT_Print(prompt, slot);
    char line[256] = "";
    KRT_InputLine(line);
    return LeadingInteger(line);
}

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

// The commands of the two menus and the Ctrl shortcuts; the test patterns come from their
// table, and the clipboard, the transforms, those that pick points with the mouse and those
// that inspect pixels are in their own files.
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
        ZoomFromPrompt(window, slot);
        break;
    case CmdColorChange:
        ChangeDrawingColour(window);
        break;
    case CmdFontChange:
        ChangeTrueTypeFont(window);
        break;
    default:
        if (!DrawPatternCommand(window, id) && !RunClipboardCommand(window, id) &&
            !RunTransformCommand(window, id) && !RunToolCommand(window, id))
            RunInspectionCommand(slot, id);
        break;
    }
}
