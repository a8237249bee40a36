#include "image/image_recreate.h"

#include <cstddef>
#include <memory>
#include <new>
#include <string>

#include "core/gdi_handles.h"
#include "image/image_commands.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "image/image_zoom.h"
#include "krtlib.h"

int RecreateImage(int slot, int width, int height)
{
    if (!IsLiveImage(slot))
        return 1;
    // What the new window keeps of the old one.  The size-limit mode is not among them: the
    // new window always fits the screen.
    const ImageRecord& old = ImageTable[slot];
    const std::string name = old.name ? old.name : "";
    const int depth = old.bitDepth;
    const int zoom = old.zoom;
    RECT outer = {};
    GetWindowRect(old.window, &outer);
    const int mode = GetStretchBltMode(old.windowDC);
    RGBQUAD palette[256] = {};
    if (depth == 8)
        GetDIBColorTable(old.memoryDC, 0, 256, palette);

    KRT_DestroyImage(slot);
    const int result =
        CreateImageWindow(slot, name.c_str(), outer.left, outer.top, width, height, zoom, depth, ScreenFit);
    if (result != 0)
        return result;  // the old image is gone and the slot stays free
    if (depth == 8)
        SetDIBColorTable(ImageTable[slot].memoryDC, 0, 256, palette);
    SetImageStretchMode(mode, slot);  // also retitles the window
    return 0;
}

void ScaleImageOfWindow(HWND window, int perMille)
{
    const int slot = SelectImageOfWindow(window);
    if (slot < 0)
        return;
    const ImageRecord& record = ImageTable[slot];
    const int width = record.width, height = record.height;
    // The pixels set aside in a bitmap made like the image's own (an 8-bit one keeps its
    // colour table), to be resampled once the image has its new size.
    OwnedMemoryDc copyDc(CreateCompatibleDC(record.memoryDC));
    OwnedBitmap copy(CreateCompatibleBitmap(record.memoryDC, width, height));
    if (!copyDc || !copy)
        return;
    Selection selected(copyDc.get(), copy.get());
    BitBlt(copyDc.get(), 0, 0, width, height, record.memoryDC, 0, 0, SRCCOPY);

    const int newWidth = ScaledSide(width, perMille), newHeight = ScaledSide(height, perMille);
    if (RecreateImage(slot, newWidth, newHeight) != 0)
        return;
    const ImageRecord& scaled = ImageTable[slot];
    StretchBlt(scaled.memoryDC, 0, 0, newWidth, newHeight, copyDc.get(), 0, 0, width, height, SRCCOPY);
    GdiFlush();
    InvalidateRect(scaled.window, nullptr, FALSE);
}

void TurnImageOfWindow(HWND window, Turn turn)
{
    const int slot = SelectImageOfWindow(window);
    if (slot < 0)
        return;
    const int width = ImageTable[slot].width, height = ImageTable[slot].height;
    const std::size_t element = ImageTable[slot].bitDepth == 8 ? 1 : 4;
    std::unique_ptr<unsigned char[]> block(
        new (std::nothrow) unsigned char[static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * element]);
    if (!block)
        return;
    GdiFlush();
    KRT_GetImageBlock(block.get(), 0, 0, width, height);  // the window's image is current
    if (RecreateImage(slot, height, width) != 0)
        return;
    TurnQuarter(block.get(), width, height, ViewOfSlot(slot), turn);
    InvalidateCurrentImage();
}
