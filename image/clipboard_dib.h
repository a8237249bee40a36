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
    bool bitFields = false;  // BI_BITFIELDS: three colour masks at offset 40
    int runLength = 0;     // 8 or 4: BI_RLE8 or BI_RLE4 runs stand in for the rows; 0 otherwise
    std::size_t coloursOffset = 0;
    int colourCount = 0;   // colour-table entries, 4 bytes each, at coloursOffset
    std::size_t bitsOffset = 0;  // the first row as stored, or the first byte of the runs
    std::size_t stride = 0;      // bytes per stored row, or per row of the 8-bit picture the runs give
    std::size_t imageBytes = 0;  // stride x rows
    std::size_t runBytes = 0;    // the runs' bytes from bitsOffset; 0 for stored rows
};

// The most pixels a run-length picture may have.  Its runs can be a few bytes whatever its size,
// so the block's size does not bound it; this keeps the 32-bit image a paste may make of it
// within the 2^31 bytes that the platform's bitmaps count in.
constexpr std::uint64_t kMaxRunLengthPixels = (std::uint64_t{1} << 29) - 1;

// Checks a packed bitmap block of `size` bytes: the header size (40, 52, 56, 108 or 124 bytes),
// width above 0, height not 0 (negative: top-down), one plane, 1, 4, 8, 16, 24 or 32 bits,
// uncompressed rows, or three colour masks for 16 and 32 bits (each a run of set bits inside
// the pixel, no two overlapping), or run-length rows of 8 or 4 bits stored bottom-up (at least
// one code, at most kMaxRunLengthPixels), at most 256 and at most 2^bits colours, no colour
// profile, and the colour table and every stored row inside the block.  The masks follow a
// 40-byte header and are the header's own fields in the larger ones.  Anything else is not a
// picture.
DibLayout CheckClipboardDib(const unsigned char* bytes, std::size_t size);

// The picture that the runs of a checked run-length layout describe, as 8-bit rows of colour
// indices from the bottom up (`layout.stride` bytes each, `layout.imageBytes` in all, padding
// 0).  Reads only the runs' bytes and writes only those rows.  Pixels the runs skip (a delta,
// an early end of line or of the picture, runs that stop short) keep index 0; what would land
// right of a row's end or above the top row is dropped.
void ExpandRunLengthDib(const unsigned char* bytes, const DibLayout& layout, unsigned char* rows);
