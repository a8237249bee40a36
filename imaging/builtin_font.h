// The built-in 8 x 14 bitmap font of text drawn into images: 96 glyphs for the codes 0x20 to
// 0x7F, 14 rows each.  Bit 7 of a row is its leftmost pixel.  Capitals and digits stand on
// rows 2 to 10, x-height letters on rows 4 to 10, descenders reach row 13 and the dots of i
// and j sit in row 1; 0x20 and 0x7F are blank.
#pragma once
#include <array>
#include <cstdint>

constexpr int kGlyphWidth = 8;
constexpr int kGlyphHeight = 14;
constexpr int kFirstGlyphCode = 0x20;
constexpr int kGlyphCount = 96;

using GlyphRows = std::array<std::uint8_t, kGlyphHeight>;
using FontTable = std::array<GlyphRows, kGlyphCount>;

extern const FontTable BuiltinFont;

// The glyph of a code from 0x20 to 0x7F.
inline const GlyphRows& GlyphOf(int code) { return BuiltinFont[static_cast<unsigned>(code - kFirstGlyphCode)]; }
