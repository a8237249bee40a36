#include "image/transform_commands.h"

#include <cstdio>

#include "image/image_commands.h"
#include "image/image_menus.h"
#include "image/image_recreate.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "imaging/pixel_view.h"
#include "imaging/transforms.h"
#include "krtlib.h"

namespace {

struct ScaleRow {
    int id;
    int perMille;
};
constexpr ScaleRow kScaleRows[] = {{CmdSize50, 500}, {CmdSize70, 707}, {CmdSize141, 1414}, {CmdSize200, 2000}};

// The two sizes typed into text window 0.  The line input dispatches messages: once the sizes
// are typed the window may be gone, and its slot another image's.
void ResizeFromPrompts(HWND window)
{
    const int slot = FindImageSlot(window);
    if (slot < 0)
        return;
    const int width = PromptNumber("[%d] New x-size(pixel)=", slot);
    const int height = PromptNumber("[%d] New y-size(pixel)=", slot);
    if (FindImageSlot(window) == slot)
        RecreateImage(slot, width, height);
}

// Flips and inversion act on the window's own image where it is, without selecting it.
void ChangeInPlace(HWND window, void (*change)(const PixelView&))
{
    const PixelView view = ViewOfSlot(FindImageSlot(window));
    if (view.empty())
        return;
    GdiFlush();  // what GDI drew has reached the pixels
    change(view);
    InvalidateRect(window, nullptr, FALSE);
}

// A rectangle picked in the window copied into a new image window at the screen's top left,
// in the lowest slot that can take it, named by its corners.  Parts of the rectangle outside
// the source are black (index 0).
void ClipToNewImage(HWND window)
{
    const int source = FindImageSlot(window);
    int left = 0, top = 0, right = 0, bottom = 0;
    if (PickRectangle(source, &left, &top, &right, &bottom) != 0 || FindImageSlot(window) != source)
        return;
    char name[64];
    std::snprintf(name, sizeof name, "(%d,%d)-(%d,%d)", left, top, right, bottom);
    const int width = right - left + 1, height = bottom - top + 1;
    const int depth = ImageTable[source].bitDepth;
    int target = 0;
    while (target < kImageSlots &&
           CreateImageWindow(target, name, 0, 0, width, height, 100, depth, ScreenFit) != 0)
        ++target;
    if (target == kImageSlots)
        return;
    if (depth == 8) {
        RGBQUAD palette[256] = {};
        GetDIBColorTable(ImageTable[source].memoryDC, 0, 256, palette);
        SetDIBColorTable(ImageTable[target].memoryDC, 0, 256, palette);
    }
    GdiFlush();
    CopyBlockOut(ViewOfSlot(source), left, top, ViewOfSlot(target));
    KRT_RefreshImage(target);
}

}  // namespace

bool RunTransformCommand(HWND window, int id)
{
    for (const ScaleRow& row : kScaleRows) {
        if (row.id == id) {
            ScaleImageOfWindow(window, row.perMille);
            return true;
        }
    }
    switch (id) {
    case CmdResize: ResizeFromPrompts(window); return true;
    case CmdInvert: ChangeInPlace(window, InvertAll); return true;
    case CmdHorzFlip: ChangeInPlace(window, FlipHorizontal); return true;
    case CmdVertFlip: ChangeInPlace(window, FlipVertical); return true;
    case CmdRotateRight: TurnImageOfWindow(window, Turn::Clockwise); return true;
    case CmdRotateLeft: TurnImageOfWindow(window, Turn::CounterClockwise); return true;
    case CmdClipping: ClipToNewImage(window); return true;
    default: return false;
    }
}
