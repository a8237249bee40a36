// Raster kernels over a PixelView: single points, clipped horizontal and vertical spans and
// lines.  Each writes a value or inverts, and produces exactly the pixels the per-pixel
// definitions give (every point of the shape that lies inside the image, each once), but
// clips a span or a line once instead of testing every pixel.
#pragma once
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "imaging/fill_words.h"
#include "imaging/pixel_view.h"

enum class PixelMode { Write, Invert };

struct PixelOp {
    PixelMode mode;
    std::uint32_t value;  // the stored value, or the inversion mask
};

inline PixelOp WriteOp(const PixelView& view, int colour) { return {PixelMode::Write, StoredValue(view, colour)}; }
inline PixelOp InvertOp(const PixelView& view) { return {PixelMode::Invert, InversionMask(view)}; }

// A point; nothing when outside.
void PlotPoint(const PixelView& view, int x, int y, PixelOp op);
// (xa, y) to (xb, y) and (x, ya) to (x, yb), both ends included, ends in either order.
void PlotHorizontal(const PixelView& view, int xa, int xb, int y, PixelOp op);
void PlotVertical(const PixelView& view, int x, int ya, int yb, PixelOp op);
// Every pixel of the rectangle with corners (x0, y0) and (x1, y1), x0 <= x1 and y0 <= y1.
void PlotRect(const PixelView& view, int x0, int y0, int x1, int y1, PixelOp op);
// The line from (x1, y1) to (x2, y2), both ends included; a line and its reverse cover the
// same pixels and no pixel is visited twice.
void PlotLine(const PixelView& view, int x1, int y1, int x2, int y2, PixelOp op);

// ---- Pixel access by kind, for loops that want the op resolved once ---------------------------
template <class P>
struct PixelWriter {
    using Pixel = P;
    P value;
    void operator()(P* p) const { *p = value; }
    void span(P* p, std::ptrdiff_t n) const { std::fill_n(p, n, value); }
};

template <>
inline void PixelWriter<std::uint32_t>::span(std::uint32_t* p, std::ptrdiff_t n) const
{
    FillWords(p, n, value);
}

template <class P>
struct PixelInverter {
    using Pixel = P;
    P mask;
    void operator()(P* p) const { *p ^= mask; }
    void span(P* p, std::ptrdiff_t n) const
    {
        for (std::ptrdiff_t i = 0; i < n; ++i)
            p[i] ^= mask;
    }
};

// Calls body(access) with the PixelWriter or PixelInverter of the view's pixel type.
template <class Body>
void WithPixelAccess(const PixelView& view, PixelOp op, Body&& body)
{
    if (view.depth == 8) {
        if (op.mode == PixelMode::Write)
            body(PixelWriter<std::uint8_t>{static_cast<std::uint8_t>(op.value)});
        else
            body(PixelInverter<std::uint8_t>{static_cast<std::uint8_t>(op.value)});
    } else {
        if (op.mode == PixelMode::Write)
            body(PixelWriter<std::uint32_t>{op.value});
        else
            body(PixelInverter<std::uint32_t>{op.value});
    }
}

// Row y as pixels of type P.
template <class P>
P* PixelRow(const PixelView& view, int y)
{
    return reinterpret_cast<P*>(view.row(y));
}
