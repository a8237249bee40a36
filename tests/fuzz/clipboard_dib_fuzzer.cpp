// Any bytes as a CF_DIB block of exactly that size: the check must never read outside them,
// and what it accepts must lie inside them.  Every byte a reader of an accepted block takes (the
// header, the masks, the colour table and every row) is read here, so that AddressSanitizer
// sees a layout that reaches past the block.  Run-length pictures are expanded from a copy that
// ends where the runs end, into rows of exactly the layout's size, so that the walk can neither
// read past its runs nor write past its picture unseen.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "image/clipboard_dib.h"

namespace {

// Larger pictures are only checked: expanding them costs time, not coverage.
constexpr std::size_t kMostExpandedBytes = std::size_t{1} << 18;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DibLayout layout = CheckClipboardDib(data, size);
    if (!layout.valid)
        return 0;
    const std::size_t stored = layout.runLength ? layout.runBytes : layout.imageBytes;
    const int rowBits = layout.runLength ? 8 : layout.bitCount;  // runs give 8-bit rows
    const bool inside = layout.width > 0 && layout.rows > 0 && layout.colourCount >= 0 && layout.colourCount <= 256 &&
                        layout.coloursOffset >= kDibHeaderBytes &&
                        layout.coloursOffset + 4 * static_cast<std::size_t>(layout.colourCount) <= layout.bitsOffset &&
                        (!layout.bitFields || layout.bitsOffset >= kDibHeaderBytes + 12) &&
                        layout.stride * static_cast<std::size_t>(layout.rows) == layout.imageBytes &&
                        layout.stride >= (static_cast<std::size_t>(layout.width) * rowBits + 7) / 8 &&
                        (!layout.runLength || (!layout.topDown && layout.runBytes >= 2 &&
                                               layout.runLength == layout.bitCount)) &&
                        layout.bitsOffset <= size && stored <= size - layout.bitsOffset;
    if (!inside)
        std::abort();
    volatile std::uint8_t sink = 0;
    for (std::size_t i = 0; i < layout.bitsOffset + stored; ++i)
        sink = sink + data[i];
    if (layout.runLength && layout.imageBytes <= kMostExpandedBytes) {
        const std::size_t end = layout.bitsOffset + layout.runBytes;
        std::unique_ptr<std::uint8_t[]> block(new std::uint8_t[end]);
        std::memcpy(block.get(), data, end);
        std::unique_ptr<std::uint8_t[]> rows(new std::uint8_t[layout.imageBytes]);
        ExpandRunLengthDib(block.get(), layout, rows.get());
        // 4-bit runs give indices below 16, and the rows' padding stays 0.
        for (std::size_t i = 0; i < layout.imageBytes; ++i) {
            const bool padding = i % layout.stride >= static_cast<std::size_t>(layout.width);
            if ((layout.runLength == 4 && rows[i] > 15) || (padding && rows[i] != 0))
                std::abort();
        }
    }
    return 0;
}
