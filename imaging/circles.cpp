// Circle outlines and filled discs on the current image.  A negative radius draws nothing
// and leaves the pen position alone.
#include <algorithm>
#include <cstdint>

#include "imaging/circle_walk.h"
#include "imaging/drawing_state.h"
#include "imaging/raster.h"
#include "krtlib.h"

namespace {

using Wide = std::int64_t;

StepRange Intersect(StepRange a, StepRange b) { return {std::max(a.first, b.first), std::min(a.last, b.last)}; }

// Circle coordinates can leave the 32-bit range; the pen keeps their low 32 bits.
PenPositionFields Pen(Wide x, Wide y) { return {static_cast<int>(x), static_cast<int>(y)}; }

// Whether the walk is so much longer than the image that jumping to the steps near it pays.
bool LongWalk(const PixelView& view, int r)
{
    return Wide{r} * 5 / 7 > 4 * (Wide{view.width} + view.height) + 256;
}

bool BoundsInside(const PixelView& view, int cx, int cy, int r)
{
    return Wide{cx} - r >= 0 && Wide{cx} + r < view.width && Wide{cy} - r >= 0 && Wide{cy} + r < view.height;
}

template <bool kChecked, class Access>
void Point(const PixelView& view, Wide x, Wide y, Access access)
{
    using P = typename Access::Pixel;
    if (!kChecked || (static_cast<std::uint64_t>(x) < static_cast<std::uint64_t>(view.width) &&
                      static_cast<std::uint64_t>(y) < static_cast<std::uint64_t>(view.height)))
        access(PixelRow<P>(view, static_cast<int>(y)) + x);
}

// One step of the outline: the eight mirror points, or four of them on the axes and on the
// diagonal, so that no point is plotted twice for r >= 1.
template <bool kChecked, class Access>
void OutlineStep(const PixelView& view, Wide cx, Wide cy, const CircleStep& s, Access access)
{
    const Wide i = s.i, y = s.y;
    Point<kChecked>(view, cx - i, cy + y, access);
    Point<kChecked>(view, cx + i, cy - y, access);
    if (i != 0 && i != y) {
        Point<kChecked>(view, cx + i, cy + y, access);
        Point<kChecked>(view, cx - i, cy - y, access);
        Point<kChecked>(view, cx + y, cy - i, access);
        Point<kChecked>(view, cx - y, cy + i, access);
    }
    Point<kChecked>(view, cx + y, cy + i, access);
    Point<kChecked>(view, cx - y, cy - i, access);
}

template <class Access>
void Span(const PixelView& view, Wide y, Wide xa, Wide xb, Access access)
{
    using P = typename Access::Pixel;
    if (static_cast<std::uint64_t>(y) >= static_cast<std::uint64_t>(view.height))
        return;
    xa = std::max<Wide>(xa, 0);
    xb = std::min<Wide>(xb, Wide{view.width} - 1);
    if (xa <= xb)
        access.span(PixelRow<P>(view, static_cast<int>(y)) + xa, static_cast<std::ptrdiff_t>(xb - xa + 1));
}

// One step of the disc: the rows cy +- j from cx - y to cx + y (one row at j = 0, none where
// the row is the diagonal's), and where this step lowers y the rows cy +- y from cx - j to
// cx + j.
template <class Access>
void DiscStep(const PixelView& view, Wide cx, Wide cy, const CircleStep& s, Access access)
{
    const Wide j = s.i, y = s.y;
    if (y != j) {
        Span(view, cy + j, cx - y, cx + y, access);
        if (j != 0)
            Span(view, cy - j, cx - y, cx + y, access);
    }
    if (s.lowers()) {
        Span(view, cy + y, cx - j, cx + j, access);
        Span(view, cy - y, cx - j, cx + j, access);
    }
}

// The outline; returns the last point plotted.
PenPositionFields Outline(const PixelView& view, int cx, int cy, int r, PixelOp op)
{
    CircleStep last = {0, r, r};
    if (!LongWalk(view, r)) {
        if (view.empty())
            last = WalkCircle(r, [](const CircleStep&) {});
        else
            WithPixelAccess(view, op, [&](auto access) {
                if (BoundsInside(view, cx, cy, r))
                    last = WalkCircle(r, [&](const CircleStep& s) { OutlineStep<false>(view, cx, cy, s, access); });
                else
                    last = WalkCircle(r, [&](const CircleStep& s) { OutlineStep<true>(view, cx, cy, s, access); });
            });
    } else {
        // Only the steps whose points can land inside: column offset i and row offset y, or
        // the other way round, both within reach of the image.
        const CircleWalk walk(r);
        const StepRange dx = OffsetsInside(cx, view.width), dy = OffsetsInside(cy, view.height);
        const std::vector<StepRange> ranges = {Intersect(dx, walk.StepsWithY(dy.first, dy.last)),
                                               Intersect(dy, walk.StepsWithY(dx.first, dx.last))};
        WithPixelAccess(view, op, [&](auto access) {
            walk.Visit(ranges, [&](const CircleStep& s) { OutlineStep<true>(view, cx, cy, s, access); });
        });
        last = walk.Last();
    }
    return Pen(Wide{cx} - last.y, Wide{cy} - last.i);
}

// The disc as horizontal spans, every row from cy - r to cy + r once for r >= 1; returns the
// end of the last span.
PenPositionFields Disc(const PixelView& view, int cx, int cy, int r, PixelOp op)
{
    CircleStep last = {0, r, r};
    WithPixelAccess(view, op, [&](auto access) {
        if (!LongWalk(view, r)) {
            last = WalkCircle(r, [&](const CircleStep& s) {
                if (!view.empty())
                    DiscStep(view, cx, cy, s, access);
            });
        } else {
            const CircleWalk walk(r);
            const StepRange dy = OffsetsInside(cy, view.height);
            walk.Visit({dy, walk.StepsWithY(dy.first, dy.last)},
                       [&](const CircleStep& s) { DiscStep(view, cx, cy, s, access); });
            last = walk.Last();
        }
        // The rows at the final y, unless the last step already drew them.
        if (!last.lowers() && !view.empty()) {
            Span(view, Wide{cy} + last.y, Wide{cx} - last.i, Wide{cx} + last.i, access);
            Span(view, Wide{cy} - last.y, Wide{cx} - last.i, Wide{cx} + last.i, access);
        }
    });
    return Pen(Wide{cx} + last.i, Wide{cy} - last.y);
}

}  // namespace

void KRT_DrawCircle(int cx, int cy, int r, int colour)
{
    if (r < 0)
        return;
    const PixelView view = CurrentPixelView();
    PenPosition = Outline(view, cx, cy, r, WriteOp(view, colour));
}

void XorCircle(int cx, int cy, int r)
{
    if (r < 0)
        return;
    const PixelView view = CurrentPixelView();
    PenPosition = Outline(view, cx, cy, r, InvertOp(view));
}

void FillCircle(int cx, int cy, int r)
{
    if (r < 0)
        return;
    const PixelView view = CurrentPixelView();
    const PixelOp op = WriteOp(view, DrawingColour);
    Disc(view, cx, cy, r, op);
    PenPosition = Outline(view, cx, cy, r, op);
}

void XorFillCircle(int cx, int cy, int r)
{
    if (r < 0)
        return;
    const PixelView view = CurrentPixelView();
    PenPosition = Disc(view, cx, cy, r, InvertOp(view));
}
