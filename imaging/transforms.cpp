#include "imaging/transforms.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
#include <emmintrin.h>
#endif

namespace {

// Where target pixel (x, y) of a quarter turn comes from in the packed source.  Along a target
// row the source steps by a whole row; along a target column it steps by one element (up for
// a left turn).
template <class P>
struct TurnSource {
    const P* source;
    std::ptrdiff_t rowLength;  // the source width, which is the target height
    int targetWidth;
    Turn turn;
    const P* at(int x, int y) const
    {
        return turn == Turn::Clockwise ? source + (targetWidth - 1 - x) * rowLength + y
                                       : source + (x + 1) * rowLength - 1 - y;
    }
};

// One B x B block of target pixels, rows y to y + B - 1 and columns x to x + B - 1, element by
// element.
template <class P, int B>
void TurnBlockPlain(const TurnSource<P>& s, const PixelView& target, int x, int y)
{
    for (int j = 0; j < B; ++j) {
        P* out = reinterpret_cast<P*>(target.row(y + j)) + x;
        for (int i = 0; i < B; ++i)
            out[i] = *s.at(x + i, y + j);
    }
}

#if defined(__SSE2__) || defined(_M_X64) || defined(_M_AMD64)
// A block is B source rows of B elements each: loaded whole, transposed in registers and stored
// as B target rows.  A left turn reads its source rows backwards, so its transposed rows come
// out in reverse order.
void TurnBlockWords(const TurnSource<std::uint32_t>& s, const PixelView& target, int x, int y)
{
    const int first = s.turn == Turn::Clockwise ? y : y + 3;  // the lowest address of each row part
    const __m128i r0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.at(x, first)));
    const __m128i r1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.at(x + 1, first)));
    const __m128i r2 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.at(x + 2, first)));
    const __m128i r3 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s.at(x + 3, first)));
    const __m128i a = _mm_unpacklo_epi32(r0, r1), b = _mm_unpacklo_epi32(r2, r3);
    const __m128i c = _mm_unpackhi_epi32(r0, r1), d = _mm_unpackhi_epi32(r2, r3);
    const __m128i rows[4] = {_mm_unpacklo_epi64(a, b), _mm_unpackhi_epi64(a, b), _mm_unpacklo_epi64(c, d),
                             _mm_unpackhi_epi64(c, d)};
    for (int j = 0; j < 4; ++j) {
        const int row = s.turn == Turn::Clockwise ? y + j : y + 3 - j;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(reinterpret_cast<std::uint32_t*>(target.row(row)) + x), rows[j]);
    }
}

void TurnBlockBytes(const TurnSource<std::uint8_t>& s, const PixelView& target, int x, int y)
{
    const int first = s.turn == Turn::Clockwise ? y : y + 7;
    __m128i r[8];
    for (int k = 0; k < 8; ++k)
        r[k] = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s.at(x + k, first)));
    const __m128i a0 = _mm_unpacklo_epi8(r[0], r[1]), a1 = _mm_unpacklo_epi8(r[2], r[3]);
    const __m128i a2 = _mm_unpacklo_epi8(r[4], r[5]), a3 = _mm_unpacklo_epi8(r[6], r[7]);
    const __m128i b0 = _mm_unpacklo_epi16(a0, a1), b1 = _mm_unpackhi_epi16(a0, a1);
    const __m128i b2 = _mm_unpacklo_epi16(a2, a3), b3 = _mm_unpackhi_epi16(a2, a3);
    // Two transposed rows of 8 bytes in each.
    const __m128i pairs[4] = {_mm_unpacklo_epi32(b0, b2), _mm_unpackhi_epi32(b0, b2), _mm_unpacklo_epi32(b1, b3),
                              _mm_unpackhi_epi32(b1, b3)};
    for (int j = 0; j < 8; ++j) {
        const __m128i pair = pairs[j / 2];
        const int row = s.turn == Turn::Clockwise ? y + j : y + 7 - j;
        _mm_storel_epi64(reinterpret_cast<__m128i*>(target.row(row) + x), j % 2 ? _mm_srli_si128(pair, 8) : pair);
    }
}
#else
void TurnBlockWords(const TurnSource<std::uint32_t>& s, const PixelView& target, int x, int y)
{
    TurnBlockPlain<std::uint32_t, 4>(s, target, x, y);
}
void TurnBlockBytes(const TurnSource<std::uint8_t>& s, const PixelView& target, int x, int y)
{
    TurnBlockPlain<std::uint8_t, 8>(s, target, x, y);
}
#endif

// A quarter turn read in the order of the index formula would jump a whole source row for
// every target pixel and miss the cache each time.  Square tiles keep the source rows a tile
// reads in the cache while its target rows are written, and within a tile whole blocks move
// at once; the formula fixes only the result.  The columns and rows that no whole block
// covers go element by element.
constexpr int kTile = 64;

template <class P, int B>
void TurnTiled(const P* source, int width, int height, const PixelView& target, Turn turn,
               void (*block)(const TurnSource<P>&, const PixelView&, int, int))
{
    const TurnSource<P> s{source, width, height, turn};
    const int targetWidth = height, targetHeight = width;
    const int blockedWidth = targetWidth - targetWidth % B, blockedHeight = targetHeight - targetHeight % B;
    for (int ty = 0; ty < blockedHeight; ty += kTile) {
        const int yEnd = std::min(ty + kTile, blockedHeight);
        for (int tx = 0; tx < blockedWidth; tx += kTile) {
            const int xEnd = std::min(tx + kTile, blockedWidth);
            for (int y = ty; y < yEnd; y += B)
                for (int x = tx; x < xEnd; x += B)
                    block(s, target, x, y);
        }
    }
    for (int y = 0; y < targetHeight; ++y) {
        P* out = reinterpret_cast<P*>(target.row(y));
        for (int x = y < blockedHeight ? blockedWidth : 0; x < targetWidth; ++x)
            out[x] = *s.at(x, y);
    }
}

// Both halves of a row walked by index, which the compiler turns into vector swaps with a
// reversing shuffle.
template <class P>
void FlipRows(const PixelView& view)
{
    const int half = view.width / 2;
    for (int y = 0; y < view.height; ++y) {
        P* left = reinterpret_cast<P*>(view.row(y));
        P* right = left + view.width - 1;
        for (int i = 0; i < half; ++i) {
            const P t = left[i];
            left[i] = right[-i];
            right[-i] = t;
        }
    }
}

template <class P>
void InvertSpan(P* pixels, std::ptrdiff_t count, P mask)
{
    for (std::ptrdiff_t i = 0; i < count; ++i)
        pixels[i] = static_cast<P>(pixels[i] ^ mask);
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
        TurnTiled<std::uint8_t, 8>(static_cast<const std::uint8_t*>(source), width, height, target, turn,
                                   TurnBlockBytes);
    else
        TurnTiled<std::uint32_t, 4>(static_cast<const std::uint32_t*>(source), width, height, target, turn,
                                    TurnBlockWords);
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
    if (view.depth == 8) {
        for (int y = 0; y < view.height; ++y)
            InvertSpan(view.row(y), view.width, std::uint8_t{0xFF});
    } else if (view.stride == view.width * 4) {  // rows without padding: one span
        InvertSpan(reinterpret_cast<std::uint32_t*>(view.bits),
                   static_cast<std::ptrdiff_t>(view.width) * view.height, InversionMask(view));
    } else {
        for (int y = 0; y < view.height; ++y)
            InvertSpan(reinterpret_cast<std::uint32_t*>(view.row(y)), view.width, InversionMask(view));
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
