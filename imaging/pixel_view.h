// The plain view the raster code works on: where an image's pixels are and how they are laid
// out.  Views are taken once per operation from the image table, so the drawing loops need
// neither the table nor a bounds check per pixel where a span can be clipped once.
#pragma once
#include <cstddef>
#include <cstdint>

struct PixelView {
    unsigned char* bits;  // first byte of row 0 (the top row); null for no image
    int width;
    int height;
    int depth;            // 32 or 8
    int stride;           // bytes per row

    bool empty() const { return bits == nullptr; }
    // Inside when x < width and y < height as unsigned numbers: negatives are outside.
    bool contains(int x, int y) const
    {
        return static_cast<unsigned>(x) < static_cast<unsigned>(width) &&
               static_cast<unsigned>(y) < static_cast<unsigned>(height);
    }
    unsigned char* row(int y) const { return bits + static_cast<std::ptrdiff_t>(y) * stride; }
};

// The view of a slot, or an empty view when the slot is out of range or holds no image (its
// record then has no valid size, and its old pixel pointer no memory behind it).
PixelView ViewOfSlot(int slot);
PixelView CurrentPixelView();  // ViewOfSlot(CurrentImage)

// The value storing `colour` produces: the whole word in 32-bit images, the low byte (a
// palette index) in 8-bit ones.
inline std::uint32_t StoredValue(const PixelView& view, int colour)
{
    return view.depth == 8 ? static_cast<std::uint32_t>(colour) & 0xFFu : static_cast<std::uint32_t>(colour);
}

// Inversion keeps a 32-bit word's top byte (no operation interprets it) and complements an
// 8-bit palette index (255 - index).
inline std::uint32_t InversionMask(const PixelView& view) { return view.depth == 8 ? 0xFFu : 0xFFFFFFu; }
