// Lines and rectangles on the current image.  The pen position ends where the last line of
// each shape, drawn one line at a time, would leave it.
#include <algorithm>
#include <cstdint>

#include "imaging/drawing_state.h"
#include "imaging/raster.h"
#include "krtlib.h"

namespace {

struct Corners {
    int x0, y0, x1, y1;  // x0 <= x1, y0 <= y1
};

Corners Ordered(int xa, int ya, int xb, int yb)
{
    return {std::min(xa, xb), std::min(ya, yb), std::max(xa, xb), std::max(ya, yb)};
}

// b - a without overflow, for corners anywhere in the 32-bit plane.
std::int64_t Extent(int a, int b) { return std::int64_t{b} - a; }

}  // namespace

void KRT_DrawLine(int x1, int y1, int x2, int y2, int colour)
{
    PenPosition = {x2, y2};
    const PixelView view = CurrentPixelView();
    PlotLine(view, x1, y1, x2, y2, WriteOp(view, colour));
}

void XorLine(int x1, int y1, int x2, int y2)
{
    PenPosition = {x2, y2};
    const PixelView view = CurrentPixelView();
    PlotLine(view, x1, y1, x2, y2, InvertOp(view));
}

void DrawBox(int xa, int ya, int xb, int yb)
{
    const PixelView view = CurrentPixelView();
    const PixelOp op = WriteOp(view, DrawingColour);
    PlotHorizontal(view, xa, xb, ya, op);
    PlotVertical(view, xb, ya, yb, op);
    PlotHorizontal(view, xb, xa, yb, op);
    PlotVertical(view, xa, yb, ya, op);
    PenPosition = {xa, ya};
}

void XorBox(int xa, int ya, int xb, int yb)
{
    const Corners c = Ordered(xa, ya, xb, yb);
    const PixelView view = CurrentPixelView();
    const PixelOp op = InvertOp(view);
    PlotHorizontal(view, c.x0, c.x1, c.y0, op);
    PenPosition = {c.x1, c.y0};
    if (c.y1 != c.y0) {
        PlotHorizontal(view, c.x0, c.x1, c.y1, op);
        PenPosition = {c.x1, c.y1};
    }
    if (Extent(c.y0, c.y1) > 1) {
        PlotVertical(view, c.x0, c.y0 + 1, c.y1 - 1, op);
        // A box one pixel wide has one side, not the same side inverted twice.
        if (c.x1 != c.x0)
            PlotVertical(view, c.x1, c.y0 + 1, c.y1 - 1, op);
        PenPosition = {c.x1, c.y1 - 1};
    }
}

void FillBox(int xa, int ya, int xb, int yb)
{
    // The four edges and the interior rows together cover the whole rectangle.
    const Corners c = Ordered(xa, ya, xb, yb);
    const PixelView view = CurrentPixelView();
    PlotRect(view, c.x0, c.y0, c.x1, c.y1, WriteOp(view, DrawingColour));
    if (Extent(c.x0, c.x1) >= 2 && Extent(c.y0, c.y1) >= 2)
        PenPosition = {c.x1 - 1, c.y1 - 1};  // end of the last interior row
    else
        PenPosition = {c.x0, c.y0};  // end of the fourth edge
}

void XorFillBox(int xa, int ya, int xb, int yb)
{
    const Corners c = Ordered(xa, ya, xb, yb);
    const PixelView view = CurrentPixelView();
    PlotRect(view, c.x0, c.y0, c.x1, c.y1, InvertOp(view));
    PenPosition = {c.x1, c.y1};
}
