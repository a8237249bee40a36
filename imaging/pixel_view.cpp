#include "imaging/pixel_view.h"

#include "image/image_table.h"

PixelView ViewOfSlot(int slot)
{
    if (slot < 0 || slot >= kImageSlots || !ImageTable[slot].inUse || !PixelTable[slot])
        return PixelView{nullptr, 0, 0, 32, 0};
    const ImageRecord& record = ImageTable[slot];
    return PixelView{PixelTable[slot], record.width, record.height, record.bitDepth,
                     ImageStride(record.width, record.bitDepth)};
}

PixelView CurrentPixelView() { return ViewOfSlot(CurrentImage); }
