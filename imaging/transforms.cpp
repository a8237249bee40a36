#include "imaging/transforms.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// A quarter turn read in the order of the index formula would jump a whole source row for
// every target pixel and miss the cache each time.  Square tiles keep the rows a tile reads
// in the cache while the tile's target rows are written; the formula fixes only the result.
constexpr int kTileBytes = 128;

template <class P>
void TurnTiled(const P* source, int width, int height, const PixelView& target, Turn turn)
{
    constexpr int tile = kTileBytes / static_cast<int>(sizeof(P)) < 16 ? 16 : kTileBytes / static_cast<int>(sizeof(P));
    const int targetWidth = height;                         // W'
    const std::ptrdiff_t targetHeight = width;              // H', also the source row length
    for (int ty = 0; ty < targetHeight; ty += tile) {
        const int yEnd = static_cast<int>(std::min<std::ptrdiff_t>(ty + tile, targetHeight));
        for (int tx = 0; tx < targetWidth; tx += tile) {
            const int xEnd = std::min(tx + tile, targetWidth);
            for (int y = ty; y < yEnd; ++y) {
                P* out = reinterpret_cast<P*>(target.row(y));
                if (turn == Turn::Clockwise) {
                    const P* in = source + (targetWidth - 1 - tx) * targetHeight + y;
                    for (int x = tx; x < xEnd; ++x, in -= targetHeight)
                        out[x] = *in;
                } else {
                    const P* in = source + (tx + 1) * targetHeight - 1 - y;
                    for (int x = tx; x < xEnd; ++x, in += targetHeight)
                        out[x] = *in;
                }
            }
        }
    }
}

template <class P>
void FlipRows(const PixelView& view)
{
    for (int y = 0; y < view.height; ++y) {
        P* row = reinterpret_cast<P*>(view.row(y));
        std::reverse(row, row + view.width);
    }
}

}  // namespace

int ScaledSide(int side, int perMille)
{
    return static_cast<int>((static_cast<long long>(side) * perMille + 500) / 1000);
}

void TurnQuarter(const void* source, int width, int height, const PixelView& target, Turn turn)
{
    if (!source || target.empty() || width <= 0 || height <= 0 || target.width != height || target.height != width)
        return;
    if (target.depth == 8)
        TurnTiled(static_cast<const std::uint8_t*>(source), width, height, target, turn);
    else
        TurnTiled(static_cast<const std::uint32_t*>(source), width, height, target, turn);
}

void FlipHorizontal(const PixelView& view)
{
    if (view.empty())
        return;
    if (view.depth == 8)
        FlipRows<std::uint8_t>(view);
    else
        FlipRows<std::uint32_t>(view);
}

void FlipVertical(const PixelView& view)
{
    if (view.empty())
        return;
    const std::size_t bytes = static_cast<std::size_t>(view.width) * (view.depth == 8 ? 1 : 4);
    for (int top = 0, bottom = view.height - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(view.row(top), view.row(top) + bytes, view.row(bottom));
}

void InvertAll(const PixelView& view)
{
    if (view.empty())
        return;
    const std::uint32_t mask = InversionMask(view);
    for (int y = 0; y < view.height; ++y) {
        if (view.depth == 8) {
            std::uint8_t* row = view.row(y);
            for (int x = 0; x < view.width; ++x)
                row[x] = static_cast<std::uint8_t>(row[x] ^ mask);
        } else {
            std::uint32_t* row = reinterpret_cast<std::uint32_t*>(view.row(y));
            for (int x = 0; x < view.width; ++x)
                row[x] ^= mask;
        }
    }
}

void CopyBlockOut(const PixelView& source, int left, int top, const PixelView& target)
{
    if (target.empty() || source.depth != target.depth)
        return;
    const std::ptrdiff_t element = target.depth == 8 ? 1 : 4;
    // Target columns [first, end) lie over source columns inside the source.
    const long long firstColumn = std::max<long long>(0, -static_cast<long long>(left));
    const long long endColumn = std::min<long long>(target.width, static_cast<long long>(source.width) - left);
    for (int y = 0; y < target.height; ++y) {
        unsigned char* out = target.row(y);
        const long long sourceY = static_cast<long long>(top) + y;
        if (source.empty() || sourceY < 0 || sourceY >= source.height || firstColumn >= endColumn) {
            std::memset(out, 0, static_cast<std::size_t>(target.width * element));
            continue;
        }
        const std::size_t lead = static_cast<std::size_t>(firstColumn * element);
        const std::size_t inside = static_cast<std::size_t>((endColumn - firstColumn) * element);
        std::memset(out, 0, lead);
        std::memcpy(out + lead, source.row(static_cast<int>(sourceY)) + (left + firstColumn) * element, inside);
        std::memset(out + lead + inside, 0, static_cast<std::size_t>(target.width * element) - lead - inside);
    }
}
