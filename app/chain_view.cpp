// How the editor shows its chain: over a fresh copy of image 0 in image 1, with the band
// outline, a cross and a circle per point, and the selected point's position and radius in the
// console.
#include "chain_view.h"

#include <algorithm>
#include <cstring>

#include "krtlib.h"

namespace {

constexpr int kChordColour = 0x444444;
constexpr int kDiameterColour = 0x000000;
constexpr int kCrossColour = 0xFFFFFF;
constexpr int kCircleColour = 0xFFFFFF;
constexpr int kSelectedColour = 0xFFFF00;

// One row of image 0 into one row of the target, `width` pixels: 32-bit words and 8-bit
// indexes as they are, an 8-bit row into a 32-bit target through image 0's palette, and a
// 32-bit row into an 8-bit target by the low byte of each colour, as drawing would store it.
void CopyRow(unsigned char* to, int toDepth, const unsigned char* from, int fromDepth, int width,
             const unsigned* palette)
{
    if (toDepth == fromDepth) {
        std::memcpy(to, from, static_cast<size_t>(width) * (toDepth / 8));
    } else if (toDepth == 32) {
        for (int x = 0; x < width; ++x)
            std::memcpy(to + x * 4, &palette[from[x]], 4);
    } else {
        for (int x = 0; x < width; ++x)
            to[x] = from[x * 4];
    }
}

// The target (image 1, or whatever image is current) gets a fresh copy of image 0 where image
// 0 has pixels and black elsewhere: a larger image 1, kept from an earlier run, would otherwise
// keep old frames around the copy, and a dragged chain would leave trails there.
void CopyBackground()
{
    const int target = CurrentImage;
    if (target <= 0 || target >= kImageSlots || !ImageTable[target].inUse)
        return;  // image 0 itself is current: it already is its own background
    const ImageRecord& canvas = ImageTable[target];
    const ImageRecord& source = ImageTable[0];
    const int toStride = ImageStride(canvas.width, canvas.bitDepth);
    if (source.inUse && source.bitDepth == canvas.bitDepth && source.width == canvas.width &&
        source.height == canvas.height) {
        // The editor's usual case, image 1 made the size of image 0: the rows lie end to end in
        // both, and one block copy is the whole background.
        std::memcpy(PixelTable[target], PixelTable[0], static_cast<size_t>(toStride) * canvas.height);
        return;
    }
    unsigned palette[256] = {};  // an entry (blue, green, red, 0) is a 0x00RRGGBB word in memory
    if (source.inUse && source.bitDepth == 8 && KRT_SelectImage(0) == 0) {
        KRT_GetPalette(reinterpret_cast<RGBQUAD*>(palette));
        RestorePreviousImage();
    }
    const int width = source.inUse ? std::min(canvas.width, source.width) : 0;
    const int height = source.inUse ? std::min(canvas.height, source.height) : 0;
    const int fromStride = source.inUse ? ImageStride(source.width, source.bitDepth) : 0;
    const size_t copied = static_cast<size_t>(width) * (canvas.bitDepth / 8);
    for (int y = 0; y < canvas.height; ++y) {
        unsigned char* row = PixelTable[target] + static_cast<size_t>(y) * toStride;
        const size_t filled = y < height ? copied : 0;
        if (filled)
            CopyRow(row, canvas.bitDepth, PixelTable[0] + static_cast<size_t>(y) * fromStride, source.bitDepth,
                    width, palette);
        std::memset(row + filled, 0, toStride - filled);
    }
}

void DrawCross(const ChainPoint& p)
{
    KRT_DrawLine(p.x - 2, p.y - 2, p.x + 2, p.y + 2, kCrossColour);
    KRT_DrawLine(p.x - 2, p.y + 2, p.x + 2, p.y - 2, kCrossColour);
}

}  // namespace

// The background copied afresh from image 0, the band outline, each point's cross and circle,
// then the window and the two status lines.
void DrawChain(const ChainState& chain)
{
    KRT_SelectImage(1);
    CopyBackground();
    const ChainPoint& first = chain.points[0];
    const ChainPoint& last = chain.points[chain.pointCount - 1];
    KRT_DrawLine(first.x, first.y, last.x, last.y, kChordColour);
    const ChainBand band = BandOf(first, last);
    KRT_DrawLine(first.x, first.y, band.q1x, band.q1y, kChordColour);
    KRT_DrawLine(first.x, first.y, band.q2x, band.q2y, kChordColour);
    KRT_DrawLine(band.q1x, band.q1y, band.q2x, band.q2y, kDiameterColour);
    KRT_DrawLine(last.x, last.y, band.r1x, band.r1y, kChordColour);
    KRT_DrawLine(last.x, last.y, band.r2x, band.r2y, kChordColour);
    KRT_DrawLine(band.r1x, band.r1y, band.r2x, band.r2y, kDiameterColour);
    KRT_DrawLine(band.q1x, band.q1y, band.r1x, band.r1y, kChordColour);
    KRT_DrawLine(band.q2x, band.q2y, band.r2x, band.r2y, kChordColour);
    for (int i = 0; i < chain.pointCount; ++i) {
        const ChainPoint& p = chain.points[i];
        DrawCross(p);
        KRT_DrawCircle(p.x, p.y, p.radius, i == chain.selectedPoint ? kSelectedColour : kCircleColour);
    }
    KRT_RefreshImage(1);
    KRT_ClearTextWindow();
    KRT_Print("pos: %d\n", chain.selectedPoint);
    KRT_Print("r: %d\n", chain.points[chain.selectedPoint].radius);
}

