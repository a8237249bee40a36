#include "imaging/raster.h"

#include <cstdint>

namespace {

// Integers wide enough for any difference of two 32-bit coordinates.
using Wide = std::int64_t;
using UWide = std::uint64_t;

// The part of [lo, hi] that lies in [0, limit), as a possibly empty range.
struct Range {
    Wide first;
    Wide last;
    bool empty() const { return first > last; }
};

Range Clip(Wide lo, Wide hi, int limit) { return {std::max<Wide>(lo, 0), std::min<Wide>(hi, Wide{limit} - 1)}; }

// The line in Bresenham form: k steps along the major axis from 0 to length; the minor axis
// advances m(k) = (k * minorLength + length - e0) / length times by step k, where
// e0 = (length + 1) / 2 is the starting error.  The error steps when it reaches 0 or below,
// which is what this closed form counts.
struct LineWalk {
    Wide majorStart, minorStart;  // coordinates at k = 0
    int majorSign, minorSign;
    UWide length, minorLength;    // length >= minorLength > 0
    UWide e0;
};

UWide MinorSteps(const LineWalk& w, UWide k) { return (k * w.minorLength + w.length - w.e0) / w.length; }

// The k for which the major coordinate lies in [0, majorLimit) and the minor one in
// [0, minorLimit).
Range VisibleSteps(const LineWalk& w, int majorLimit, int minorLimit)
{
    // Along the major axis the coordinate moves by one per step.
    Range k{0, static_cast<Wide>(w.length)};
    if (w.majorSign > 0) {
        k.first = std::max(k.first, -w.majorStart);
        k.last = std::min(k.last, Wide(majorLimit) - 1 - w.majorStart);
    } else {
        k.first = std::max(k.first, w.majorStart - (Wide(majorLimit) - 1));
        k.last = std::min(k.last, w.majorStart);
    }
    // The minor count m must keep the minor coordinate inside.
    Wide mLo, mHi;
    if (w.minorSign > 0) {
        mLo = -w.minorStart;
        mHi = Wide(minorLimit) - 1 - w.minorStart;
    } else {
        mLo = w.minorStart - (Wide(minorLimit) - 1);
        mHi = w.minorStart;
    }
    mLo = std::max<Wide>(mLo, 0);
    mHi = std::min<Wide>(mHi, static_cast<Wide>(w.minorLength));
    if (k.empty() || mLo > mHi)
        return {1, 0};
    // m(k) >= mLo  <=>  k * minorLength >= (mLo - 1) * length + e0
    if (mLo > 0) {
        const UWide need = (static_cast<UWide>(mLo) - 1) * w.length + w.e0;
        k.first = std::max(k.first, static_cast<Wide>((need + w.minorLength - 1) / w.minorLength));
    }
    // m(k) <= mHi  <=>  k * minorLength <= mHi * length + e0 - 1
    const UWide bound = static_cast<UWide>(mHi) * w.length + w.e0 - 1;
    k.last = std::min(k.last, static_cast<Wide>(bound / w.minorLength));
    return k;
}

template <class Access>
void WalkLine(const PixelView& view, const LineWalk& w, bool xMajor, Access access)
{
    using P = typename Access::Pixel;
    const Range k = VisibleSteps(w, xMajor ? view.width : view.height, xMajor ? view.height : view.width);
    if (k.empty())
        return;
    const UWide m = MinorSteps(w, static_cast<UWide>(k.first));
    const Wide major = w.majorStart + w.majorSign * k.first;
    const Wide minor = w.minorStart + w.minorSign * static_cast<Wide>(m);
    const int x = static_cast<int>(xMajor ? major : minor);
    const int y = static_cast<int>(xMajor ? minor : major);
    const std::ptrdiff_t rowStep = view.stride / static_cast<std::ptrdiff_t>(sizeof(P));
    const std::ptrdiff_t majorStep = xMajor ? w.majorSign : w.majorSign * rowStep;
    const std::ptrdiff_t minorStep = xMajor ? w.minorSign * rowStep : w.minorSign;
    // The error at step k.first, in (0, length]; computed modulo 2^64, where it is exact.
    Wide e = static_cast<Wide>(w.e0 + m * w.length - static_cast<UWide>(k.first) * w.minorLength);
    const Wide length = static_cast<Wide>(w.length);
    const Wide minorLength = static_cast<Wide>(w.minorLength);
    P* p = PixelRow<P>(view, y) + x;
    for (Wide step = k.first;; ++step) {
        access(p);
        if (step == k.last)
            break;
        e -= minorLength;
        if (e <= 0) {
            e += length;
            p += minorStep;
        }
        p += majorStep;
    }
}

}  // namespace

void PlotPoint(const PixelView& view, int x, int y, PixelOp op)
{
    if (view.empty() || !view.contains(x, y))
        return;
    WithPixelAccess(view, op, [&](auto access) {
        using P = typename decltype(access)::Pixel;
        access(PixelRow<P>(view, y) + x);
    });
}

void PlotHorizontal(const PixelView& view, int xa, int xb, int y, PixelOp op)
{
    if (view.empty() || static_cast<unsigned>(y) >= static_cast<unsigned>(view.height))
        return;
    const Range x = Clip(std::min(xa, xb), std::max(xa, xb), view.width);
    if (x.empty())
        return;
    WithPixelAccess(view, op, [&](auto access) {
        using P = typename decltype(access)::Pixel;
        access.span(PixelRow<P>(view, y) + x.first, static_cast<std::ptrdiff_t>(x.last - x.first + 1));
    });
}

void PlotVertical(const PixelView& view, int x, int ya, int yb, PixelOp op)
{
    if (view.empty() || static_cast<unsigned>(x) >= static_cast<unsigned>(view.width))
        return;
    const Range y = Clip(std::min(ya, yb), std::max(ya, yb), view.height);
    if (y.empty())
        return;
    WithPixelAccess(view, op, [&](auto access) {
        using P = typename decltype(access)::Pixel;
        const std::ptrdiff_t rowStep = view.stride / static_cast<std::ptrdiff_t>(sizeof(P));
        P* p = PixelRow<P>(view, static_cast<int>(y.first)) + x;
        for (Wide row = y.first; row <= y.last; ++row, p += rowStep)
            access(p);
    });
}

void PlotRect(const PixelView& view, int x0, int y0, int x1, int y1, PixelOp op)
{
    if (view.empty())
        return;
    const Range x = Clip(x0, x1, view.width);
    const Range y = Clip(y0, y1, view.height);
    if (x.empty() || y.empty())
        return;
    WithPixelAccess(view, op, [&](auto access) {
        using P = typename decltype(access)::Pixel;
        for (Wide row = y.first; row <= y.last; ++row)
            access.span(PixelRow<P>(view, static_cast<int>(row)) + x.first,
                        static_cast<std::ptrdiff_t>(x.last - x.first + 1));
    });
}

void PlotLine(const PixelView& view, int x1, int y1, int x2, int y2, PixelOp op)
{
    if (view.empty())
        return;
    if (x1 == x2) {
        PlotVertical(view, x1, y1, y2, op);
        return;
    }
    if (y1 == y2) {
        PlotHorizontal(view, x1, x2, y1, op);
        return;
    }
    if (x1 > x2) {  // always left to right, so that a line and its reverse agree
        std::swap(x1, x2);
        std::swap(y1, y2);
    }
    const UWide dx = static_cast<UWide>(Wide{x2} - x1);
    const UWide dy = static_cast<UWide>(y2 > y1 ? Wide{y2} - y1 : Wide{y1} - y2);
    const int sy = y2 > y1 ? 1 : -1;
    const bool xMajor = dx >= dy;
    LineWalk w;
    if (xMajor)
        w = {x1, y1, 1, sy, dx, dy, (dx + 1) / 2};
    else
        w = {y1, x1, sy, 1, dy, dx, (dy + 1) / 2};
    WithPixelAccess(view, op, [&](auto access) { WalkLine(view, w, xMajor, access); });
}
