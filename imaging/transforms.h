// Geometric work on whole images, free of the window system: quarter turns, mirror flips,
// inversion, a block copied out with its outside cleared, and the rounding of scaled sides.
// 32-bit images move whole words, 8-bit images index bytes (rows `stride` bytes apart).
#pragma once
#include <cstdint>

#include "imaging/pixel_view.h"

// A side scaled by perMille thousandths, rounded to nearest: (side * perMille + 500) / 1000.
int ScaledSide(int side, int perMille);

enum class Turn { Clockwise, CounterClockwise };

// Writes `source`, a packed block of width x height elements (rows of `width` elements; words
// or bytes by target.depth), turned by a quarter into `target`, which is height wide and width
// high.  With W' = height and H' = width, target (x', y') takes source element
// (W' - 1 - x') * H' + y' clockwise and (x' + 1) * H' - 1 - y' counter-clockwise.
void TurnQuarter(const void* source, int width, int height, const PixelView& target, Turn turn);

// In place: (x, y) takes the old value of (width - 1 - x, y), or of (x, height - 1 - y).
void FlipHorizontal(const PixelView& view);
void FlipVertical(const PixelView& view);

// In place: every colour bit complemented (a palette index becomes 255 - index; a 32-bit
// word keeps its fourth byte, which nothing interprets).
void InvertAll(const PixelView& view);

// target (x, y) takes source (left + x, top + y) where that lies inside the source, else 0.
// Both views have the same depth.
void CopyBlockOut(const PixelView& source, int left, int top, const PixelView& target);
