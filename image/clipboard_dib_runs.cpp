// The run-length walk of clipboard pictures (BI_RLE8 and BI_RLE4).  A code is two bytes: a
// count above 0 repeats one index (RLE8) or alternates the two nibbles of the second byte, high
// first (RLE4); a count of 0 is an escape: 0 ends the line, 1 ends the picture, 2 moves right
// and up by the next two bytes, and 3 to 255 copies that many indices from the bytes that
// follow, padded to an even number of bytes.
//
// Any program may have written the runs.  Each code is read only when its bytes are there, so a
// cut or lying stream ends the walk inside the block; every code takes at least two bytes, so
// the walk ends.  Pixels are clipped at a row's right end (runs do not wrap to the next row, as
// the system draws them) and at the top row.
#include <algorithm>
#include <cstring>

#include "image/clipboard_dib.h"

namespace {

// Index `i` of a run: the byte itself, or its high then low nibble in turn.
inline unsigned char RunIndex(unsigned char value, std::size_t i, bool nibbles)
{
    if (!nibbles)
        return value;
    return static_cast<unsigned char>(i % 2 == 0 ? value >> 4 : value & 0x0F);
}

}  // namespace

void ExpandRunLengthDib(const unsigned char* bytes, const DibLayout& layout, unsigned char* rows)
{
    if (!layout.valid || !layout.runLength || !bytes || !rows)
        return;
    std::memset(rows, 0, layout.imageBytes);
    const bool nibbles = layout.runLength == 4;
    const std::size_t width = static_cast<std::size_t>(layout.width);
    const unsigned char* in = bytes + layout.bitsOffset;
    const unsigned char* const end = in + layout.runBytes;
    std::size_t x = 0;  // at most width: what lies right of the row is dropped
    int y = 0;          // rows from the bottom
    while (end - in >= 2 && y < layout.rows) {
        const unsigned count = in[0], value = in[1];
        in += 2;
        unsigned char* row = rows + static_cast<std::size_t>(y) * layout.stride;
        if (count > 0) {
            const std::size_t shown = std::min<std::size_t>(count, width - x);
            for (std::size_t i = 0; i < shown; ++i)
                row[x + i] = RunIndex(static_cast<unsigned char>(value), i, nibbles);
            x += shown;
        } else if (value == 0) {  // end of line
            x = 0;
            ++y;
        } else if (value == 1) {  // end of picture
            break;
        } else if (value == 2) {  // delta: right, then up
            if (end - in < 2)
                break;
            x = std::min<std::size_t>(x + in[0], width);
            y += in[1];
            in += 2;
        } else {  // `value` indices follow, as far as the block holds them
            const std::size_t stored = nibbles ? (value + 1) / 2 : value;
            const std::size_t present = std::min<std::size_t>(stored, static_cast<std::size_t>(end - in));
            const std::size_t indices = std::min<std::size_t>(nibbles ? 2 * present : present, value);
            const std::size_t shown = std::min(indices, width - x);
            for (std::size_t i = 0; i < shown; ++i)
                row[x + i] = RunIndex(in[nibbles ? i / 2 : i], i, nibbles);
            x += shown;
            in += std::min<std::size_t>((stored + 1) & ~std::size_t{1}, static_cast<std::size_t>(end - in));
        }
    }
}
