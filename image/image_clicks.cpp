#include "image/image_clicks.h"

#include "krtlib.h"

namespace {

struct Click {
    int slot;
    WindowHandle window;
    int x, y;
};

// Oldest first.  Few clicks wait at a time, so removing from the middle by moving the rest up
// costs nothing worth a cleverer structure.
Click waiting[kKeptImageClicks];
int waitingCount = 0;

void RemoveAt(int index)
{
    for (int i = index + 1; i < waitingCount; ++i)
        waiting[i - 1] = waiting[i];
    --waitingCount;
}

}  // namespace

void RecordImageClick(int slot, WindowHandle window, int x, int y)
{
    if (waitingCount == kKeptImageClicks)
        RemoveAt(0);
    waiting[waitingCount++] = {slot, window, x, y};
}

bool TakeImageClick(int slot, WindowHandle window, int& x, int& y)
{
    for (int i = 0; i < waitingCount; ++i) {
        if (waiting[i].slot != slot)
            continue;
        if (waiting[i].window != window) {  // the slot's earlier window: nobody's click now
            RemoveAt(i--);
            continue;
        }
        x = waiting[i].x;
        y = waiting[i].y;
        RemoveAt(i);
        return true;
    }
    return false;
}

void ForgetImageClicks() { waitingCount = 0; }

int KRT_GetImageClick(int slot, int* x, int* y)
{
    if (slot < 0 || slot >= kImageSlots || !ImageTable[slot].inUse)
        return 0;
    int cx = 0, cy = 0;
    if (!TakeImageClick(slot, ImageTable[slot].window, cx, cy))
        return 0;
    if (x)
        *x = cx;
    if (y)
        *y = cy;
    return 1;
}
