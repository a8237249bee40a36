// The picture blocks of the clipboard, free of the window system.  The block the library writes
// is a packed device-independent bitmap: a 40-byte header, for an 8-bit image its 256-entry
// colour table, then the rows from the bottom up, 24-bit for a 32-bit image.  A block read from
// the clipboard was put there by any program and may hold any bytes: it is checked whole
// against its size before anything past its header is read.
#pragma once
#include <cstddef>
#include <cstdint>

#include "imaging/pixel_view.h"

constexpr std::size_t kDibHeaderBytes = 40;
constexpr std::size_t kDibPaletteBytes = 256 * 4;

// Bytes per row of the written block: 3 x width (32-bit images) or width bytes, rounded up to
// a multiple of 4.
std::size_t ClipboardDibStride(int width, int depth);
// 40 + stride x height, plus the colour table for an 8-bit image; 0 for an empty view.
std::size_t ClipboardDibSize(const PixelView& view);

// Writes the block of `view` into `block` (ClipboardDibSize bytes).  `palette` holds the 256
// colour-table entries of an 8-bit image as 0x00RRGGBB words (bytes blue, green, red, 0); it is
// not read for a 32-bit image.
void WriteClipboardDib(const PixelView& view, const std::uint32_t* palette, unsigned char* block);

// Where the parts of a checked block are.  Offsets count from the block's first byte; every
// part lies wholly inside the block when `valid` is set.
struct DibLayout {
    bool valid = false;
    int width = 0;
    int rows = 0;          // the height as a count (a negative height means top-down rows)
    bool topDown = false;
    int bitCount = 0;      // 1, 4, 8, 16, 24 or 32
    bool bitFields = false;  // three colour masks follow the header
    std::size_t coloursOffset = 0;
    int colourCount = 0;   // colour-table entries, 4 bytes each, at coloursOffset
    std::size_t bitsOffset = 0;  // the first row as stored
    std::size_t stride = 0;      // bytes per stored row
    std::size_t imageBytes = 0;  // stride x rows
};

// Checks a packed bitmap block of `size` bytes: the header size (40, 52, 56, 108 or 124 bytes),
// width above 0, height not 0 (negative: top-down), one plane, 1, 4, 8, 16, 24 or 32 bits,
// uncompressed rows (or three colour masks for 16 and 32 bits, each a run of set bits inside
// the pixel, no two overlapping), at most 256 and at most 2^bits colours, no colour profile,
// and the colour table and every row inside the block.  Anything else is not a picture.
DibLayout CheckClipboardDib(const unsigned char* bytes, std::size_t size);
