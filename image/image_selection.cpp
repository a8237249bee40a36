#include "image/image_selection.h"

#include "image/image_table.h"
#include "krtlib.h"

bool IsLiveImage(int slot) { return slot >= 0 && slot < kImageSlots && ImageTable[slot].inUse; }

int KRT_SelectImage(int slot)
{
    if (!IsLiveImage(slot))
        return 1;
    // Selecting the current slot pushes it too: every selection is one history entry.
    for (int k = kImageHistoryDepth - 1; k > 0; --k)
        CurrentImageHistory[k] = CurrentImageHistory[k - 1];
    CurrentImageHistory[0] = CurrentImage;
    CurrentImage = slot;
    return 0;
}

int RestorePreviousImage()
{
    if (!IsLiveImage(CurrentImageHistory[0]))
        return 1;
    CurrentImage = CurrentImageHistory[0];
    for (int k = 0; k < kImageHistoryDepth - 1; ++k)
        CurrentImageHistory[k] = CurrentImageHistory[k + 1];
    return 0;
}

int FindImageSlot(WindowHandle window)
{
    for (int slot = 0; slot < kImageSlots; ++slot)
        if (ImageTable[slot].inUse && ImageTable[slot].window == window)
            return slot;
    return -1;
}

int SelectImageOfWindow(WindowHandle window)
{
    const int slot = FindImageSlot(window);
    KRT_SelectImage(slot);
    return slot;
}
