// Console text drawn from cached glyph cells.  A console draws printable ASCII in the fixed OEM
// font, whose glyphs fill whole cells of one size and never reach outside them: a run of such
// characters is its glyph cells side by side.  Each colour pair's 95 cells are drawn once by
// the window system into a picture of their own and kept as pixels, so that a print copies
// cells instead of asking the window system to lay out and render text again; under Wine that
// call costs several microseconds even for a short line, more than the rest of a print.
#pragma once
#include <windows.h>

#include <cstdint>

// A 32-bit top-down pixel buffer to draw into, clipped to width x rows.
struct GlyphTarget {
    std::uint32_t* pixels;
    int width;
    int rows;
};

// Draws `units` at (x, y) of the target in `font` (the console's font, cells of cellWidth x
// cellHeight) with opaque text and background colours, exactly as TextOutW draws them.  Returns
// false, drawing nothing, when a unit is not printable ASCII or the font's cells are not the
// whole story (a glyph wider than its cell, a cell of another size); the caller then draws with
// TextOutW.
bool DrawCachedGlyphs(const GlyphTarget& target, int x, int y, const wchar_t* units, int count, HFONT font,
                      int cellWidth, int cellHeight, COLORREF text, COLORREF back);
