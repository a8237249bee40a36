#include "image/size_limits.h"

#include <cmath>
#include <cstdint>

#include "image/image_table.h"

namespace {

// The zoomed extent w * z / 100, clamped to [1, max].
double ClampedExtent(int extent, int zoom, int max)
{
    const double zoomed = static_cast<double>(std::int64_t{extent} * zoom) / 100.0;
    const double limited = zoomed < max ? zoomed : max;
    return limited < 1 ? 1.0 : limited;
}

// Client extent at zoom z: integer division, in 64 bits (image sizes reach 2^31).
std::int64_t ClientExtent(std::int64_t zoom, int extent) { return zoom * extent / 100; }

}  // namespace

SizeLimits GetSizeLimits(int sizeLimitMode, const ScreenMetrics& m)
{
    if (sizeLimitMode == ScreenFit)
        return {m.minTrackWidth - 2 * m.frameWidth,
                m.minTrackHeight - 2 * m.frameWidth - m.captionHeight,  // the horizontal frame width for both
                m.screenWidth, m.screenHeight - m.captionHeight};
    return {1, 1, 2 * m.screenWidth, 2 * m.screenHeight};
}

ZoomFit FitZoom(int width, int height, int zoom, int sizeLimitMode, const ScreenMetrics& metrics)
{
    if (width < 1 || height < 1)
        return {false, 0, 0, 0};
    const SizeLimits limits = GetSizeLimits(sizeLimitMode, metrics);
    const double fw = ClampedExtent(width, zoom, limits.maxWidth);
    const double fh = ClampedExtent(height, zoom, limits.maxHeight);
    const double byWidth = fw * 100.0 / width, byHeight = fh * 100.0 / height;
    std::int64_t z = static_cast<std::int64_t>(byWidth < byHeight ? byWidth : byHeight);
    std::int64_t cw = ClientExtent(z, width), ch = ClientExtent(z, height);
    if (cw < limits.minWidth || ch < limits.minHeight) {
        const double zx = std::ceil(limits.minWidth * 100.0 / width);
        const double zy = std::ceil(limits.minHeight * 100.0 / height);
        z = static_cast<std::int64_t>(zy >= zx ? zy : zx);
        cw = ClientExtent(z, width);
        ch = ClientExtent(z, height);
        if (cw > limits.maxWidth || ch > limits.maxHeight)
            return {false, 0, 0, 0};
    }
    return {true, static_cast<int>(z), static_cast<int>(cw), static_cast<int>(ch)};
}
