// Single pixels of the current image, and clearing a whole image.
#include <cstring>

#include "image/image_table.h"
#include "imaging/drawing_state.h"
#include "imaging/raster.h"
#include "krtlib.h"

void KRT_SetPixel(int x, int y, int colour)
{
    PenPosition = {x, y};
    PutPixel(x, y, colour);
}

void PutPixel(int x, int y, int colour)
{
    const PixelView view = CurrentPixelView();
    PlotPoint(view, x, y, WriteOp(view, colour));
}

int ProbePixel(int x, int y)
{
    const PixelView view = CurrentPixelView();
    if (view.empty() || !view.contains(x, y))
        return -1;
    if (view.depth == 8)
        return view.row(y)[x];
    return static_cast<int>(PixelRow<std::uint32_t>(view, y)[x]);
}

int KRT_GetPixel(int x, int y)
{
    const PixelView view = CurrentPixelView();
    return view.empty() || !view.contains(x, y) ? 0 : ProbePixel(x, y);
}

void XorPixel(int x, int y)
{
    PenPosition = {x, y};
    XorPixelQuiet(x, y);
}

void XorPixelQuiet(int x, int y)
{
    const PixelView view = CurrentPixelView();
    PlotPoint(view, x, y, InvertOp(view));
}

void ClearImage(int slot)
{
    const PixelView view = ViewOfSlot(slot);
    if (!view.empty())
        std::memset(view.bits, 0, static_cast<std::size_t>(view.stride) * static_cast<std::size_t>(view.height));
}
