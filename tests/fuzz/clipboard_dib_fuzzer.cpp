// Any bytes as a CF_DIB block of exactly that size: the check must never read outside them,
// and what it accepts must lie inside them.  Every byte a reader of an accepted block takes (the
// header, the masks, the colour table and every row) is read here, so that AddressSanitizer
// sees a layout that reaches past the block.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/clipboard_dib.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const DibLayout layout = CheckClipboardDib(data, size);
    if (!layout.valid)
        return 0;
    const bool inside = layout.width > 0 && layout.rows > 0 && layout.colourCount >= 0 && layout.colourCount <= 256 &&
                        layout.coloursOffset >= kDibHeaderBytes &&
                        layout.coloursOffset + 4 * static_cast<std::size_t>(layout.colourCount) <= layout.bitsOffset &&
                        layout.stride * static_cast<std::size_t>(layout.rows) == layout.imageBytes &&
                        layout.stride >= (static_cast<std::size_t>(layout.width) * layout.bitCount + 7) / 8 &&
                        layout.bitsOffset <= size && layout.imageBytes <= size - layout.bitsOffset;
    if (!inside)
        std::abort();
    volatile std::uint8_t sink = 0;
    for (std::size_t i = 0; i < layout.bitsOffset + layout.imageBytes; ++i)
        sink = sink + data[i];
    return 0;
}
