// Block copies between a caller's packed buffer and the current image.  Elements are 32-bit
// words or bytes by the image's depth; the block is clipped to the image once, and copied a
// row at a time.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/pixel_view.h"
#include "krtlib.h"

void KRT_GetImageBlock(void* dst, int x0, int y0, int bw, int bh)
{
    const PixelView view = CurrentPixelView();
    if (view.empty() || !dst || bw <= 0 || bh <= 0)
        return;
    const std::size_t element = view.depth == 8 ? 1 : 4;
    const std::size_t rowBytes = static_cast<std::size_t>(bw) * element;
    // Columns i with 0 <= x0 + i < width; the rest read as 0.
    const std::int64_t first = x0 < 0 ? -std::int64_t{x0} : 0;
    const std::int64_t end = std::int64_t{view.width} - x0 < bw ? std::int64_t{view.width} - x0 : bw;
    unsigned char* out = static_cast<unsigned char*>(dst);
    for (int j = 0; j < bh; ++j, out += rowBytes) {
        const std::int64_t y = std::int64_t{y0} + j;
        if (y < 0 || y >= view.height || first >= end) {
            std::memset(out, 0, rowBytes);
            continue;
        }
        const std::size_t lead = static_cast<std::size_t>(first) * element;
        const std::size_t inside = static_cast<std::size_t>(end - first) * element;
        std::memset(out, 0, lead);
        std::memcpy(out + lead, view.row(static_cast<int>(y)) + (std::int64_t{x0} + first) * static_cast<std::int64_t>(element),
                    inside);
        std::memset(out + lead + inside, 0, rowBytes - lead - inside);
    }
}

void KRT_PutImageBlock(const void* src, int bw, int bh)
{
    const PixelView view = CurrentPixelView();
    if (view.empty() || !src || bw <= 0 || bh <= 0)
        return;
    const std::size_t element = view.depth == 8 ? 1 : 4;
    const std::size_t rowBytes = static_cast<std::size_t>(bw) * element;
    const int rows = bh < view.height ? bh : view.height;
    const std::size_t copyBytes = static_cast<std::size_t>(bw < view.width ? bw : view.width) * element;
    const unsigned char* in = static_cast<const unsigned char*>(src);
    if (rowBytes == static_cast<std::size_t>(view.stride) && copyBytes == rowBytes) {
        std::memcpy(view.bits, in, rowBytes * static_cast<std::size_t>(rows));  // rows are contiguous
        return;
    }
    for (int j = 0; j < rows; ++j, in += rowBytes)
        std::memcpy(view.row(j), in, copyBytes);
}
