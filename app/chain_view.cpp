// How the editor shows its chain: over a fresh copy of image 0 in image 1, with the band
// outline, a cross and a circle per point, and the selected point's position and radius in the
// console.
#include "app/chain_view.h"

#include "image/image_table.h"
#include "krtlib.h"

namespace {

constexpr int kChordColour = 0x444444;
constexpr int kDiameterColour = 0x000000;
constexpr int kCrossColour = 0xFFFFFF;
constexpr int kCircleColour = 0xFFFFFF;
constexpr int kSelectedColour = 0xFFFF00;

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
    const ImageRecord& background = ImageTable[0];
    // Image 0's own size bounds the copy, and only 32-bit pixels are copied as 32-bit words:
    // an image 1 of another size, or an 8-bit image 0, must not make the copy read past image
    // 0's pixels.
    if (background.inUse && background.bitDepth == 32)
        KRT_PutImageBlock(PixelTable[0], background.width, background.height);
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

