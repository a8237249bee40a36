#include "examples/flyeye/flyeye_image.h"

#include <cstddef>

using std::size_t;

namespace {

constexpr int kSpacing = 24;     // distance between neighbouring facet centres
constexpr int kRowStep = 21;     // kSpacing * sqrt(3) / 2, rounded
constexpr int kFacetRadius = 11;

// Is (x, y) inside the eye's oval (centred, 300 by 220 half-axes)?  Scaled to integers.
bool InsideEye(int x, int y)
{
    const int64_t dx = x - kFlyEyeWidth / 2, dy = y - kFlyEyeHeight / 2;
    return dx * dx * 220 * 220 + dy * dy * 300 * 300 <= int64_t{300} * 300 * 220 * 220;
}

uint32_t Rgb(int r, int g, int b) { return static_cast<uint32_t>(r << 16 | g << 8 | b); }

}  // namespace

std::vector<uint32_t> MakeFlyEyePixels()
{
    std::vector<uint32_t> pixels(static_cast<size_t>(kFlyEyeWidth) * kFlyEyeHeight, Rgb(24, 12, 8));
    const int r2 = kFacetRadius * kFacetRadius;
    for (int row = -1; row * kRowStep < kFlyEyeHeight + kSpacing; ++row) {
        const int cy = row * kRowStep;
        const int offset = (row & 1) ? kSpacing / 2 : 0;
        for (int cx = offset; cx < kFlyEyeWidth + kSpacing; cx += kSpacing) {
            if (!InsideEye(cx, cy))
                continue;
            // Facets darken towards the rim of the eye and redden towards its bottom.
            const int rim = (cx - kFlyEyeWidth / 2) * (cx - kFlyEyeWidth / 2) / 400 +
                            (cy - kFlyEyeHeight / 2) * (cy - kFlyEyeHeight / 2) / 220;
            const int light = 230 - (rim > 150 ? 150 : rim);
            const int warm = 40 + cy * 80 / kFlyEyeHeight;
            for (int y = cy - kFacetRadius; y <= cy + kFacetRadius; ++y) {
                for (int x = cx - kFacetRadius; x <= cx + kFacetRadius; ++x) {
                    if (x < 0 || y < 0 || x >= kFlyEyeWidth || y >= kFlyEyeHeight)
                        continue;
                    const int d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
                    if (d2 > r2)
                        continue;
                    // Brightest a little above and left of the centre, like a reflection.
                    const int hx = x - cx + 3, hy = y - cy + 3;
                    const int h2 = hx * hx + hy * hy;
                    const int shade = light * (2 * r2 - (h2 < 2 * r2 ? h2 : 2 * r2)) / (2 * r2);
                    const int r = shade * (160 + warm) / 255 + 20;
                    const int g = shade * 120 / 255 + 10;
                    const int b = shade * 60 / 255 + 5;
                    pixels[static_cast<size_t>(y) * kFlyEyeWidth + x] =
                        Rgb(r > 255 ? 255 : r, g > 255 ? 255 : g, b > 255 ? 255 : b);
                }
            }
        }
    }
    return pixels;
}

std::vector<uint8_t> MakeFlyEyeBmp()
{
    const std::vector<uint32_t> pixels = MakeFlyEyePixels();
    const uint32_t stride = (kFlyEyeWidth * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * kFlyEyeHeight;
    std::vector<uint8_t> file(54 + imageSize, 0);
    auto put16 = [&](size_t at, uint32_t v) { file[at] = v & 0xFF; file[at + 1] = (v >> 8) & 0xFF; };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF); put16(at + 2, v >> 16); };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, static_cast<uint32_t>(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, kFlyEyeWidth);
    put32(22, kFlyEyeHeight);  // positive: bottom row first
    put16(26, 1);
    put16(28, 24);
    put32(34, imageSize);
    put32(38, 2835);  // 72 dots per inch
    put32(42, 2835);
    for (int y = 0; y < kFlyEyeHeight; ++y) {
        uint8_t* row = &file[54 + static_cast<size_t>(kFlyEyeHeight - 1 - y) * stride];
        for (int x = 0; x < kFlyEyeWidth; ++x) {
            const uint32_t p = pixels[static_cast<size_t>(y) * kFlyEyeWidth + x];
            row[3 * x] = p & 0xFF;
            row[3 * x + 1] = (p >> 8) & 0xFF;
            row[3 * x + 2] = (p >> 16) & 0xFF;
        }
    }
    return file;
}
