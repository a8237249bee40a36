// Reading a row of the current image, and plotting rows as channel profiles and as paths in
// the (Cb, Cr) plane.  The plots draw through the pixel layer, so points outside the plot
// window are dropped, and they join each point to the previous one through the pen position.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "imaging/colour_maths.h"
#include "imaging/drawing_state.h"
#include "imaging/pixel_view.h"
#include "krtlib.h"

namespace {

constexpr int kProfileRows = 127;  // a full-scale sample plots on row 0, zero on row 127

// A channel flag, the value it reads from a 32-bit sample and the value that plots on row 0.
// The flags are tested in this order and the first one present wins; the bytes flag comes last.
struct ChannelRow {
    int flag;
    int (*value)(int c);
    int fullScale;
};
constexpr ChannelRow kProfileChannels[] = {
    {KRT_PROFILE_RED, colour::RedOf, 255},
    {KRT_PROFILE_GREEN, colour::GreenOf, 255},
    {KRT_PROFILE_BLUE, colour::BlueOf, 255},
    {KRT_PROFILE_HUE, [](int c) { return colour::HsvOf(c).h; }, 359},
    {KRT_PROFILE_SATURATION, [](int c) { return colour::HsvOf(c).s; }, 255},
    {KRT_PROFILE_VALUE, [](int c) { return colour::HsvOf(c).v; }, 255},
    {KRT_PROFILE_LUMINANCE, colour::LuminanceOf, 255},
    {KRT_PROFILE_CR, [](int c) { return colour::ChromaCrOf(c) + 128; }, 255},
    {KRT_PROFILE_CB, [](int c) { return colour::ChromaCbOf(c) + 128; }, 255},
};

const ChannelRow* ChannelOf(int flags)
{
    for (const ChannelRow& channel : kProfileChannels)
        if (flags & channel.flag)
            return &channel;
    return nullptr;
}

std::int32_t WordAt(const void* samples, int i)
{
    std::int32_t word;
    std::memcpy(&word, static_cast<const unsigned char*>(samples) + static_cast<std::size_t>(i) * 4, 4);
    return word;
}

// Sample i of a profile in its channel: a 32-bit sample's channel, or the byte itself.  Without
// any channel flag the value is 0 (callers always pass one).
int ProfileSample(const void* samples, int i, const ChannelRow* channel, int flags)
{
    if (channel)
        return channel->value(WordAt(samples, i));
    if (flags & KRT_PROFILE_BYTES)
        return static_cast<const unsigned char*>(samples)[i];
    return 0;
}

// The first point of a path is a single pixel; each further point is joined to the pen
// position, where the previous point left it.
void PathPoint(bool first, int x, int y, int colour)
{
    if (first)
        KRT_SetPixel(x, y, colour);
    else
        KRT_DrawLine(PenPosition.x, PenPosition.y, x, y, colour);
}

// The (Cb, Cr) point of a sample: x = 128 + Cb, y = 128 - Cr.
void CrCbPoint(const void* samples, int i, bool first, int colour)
{
    const int c = WordAt(samples, i);
    PathPoint(first, 128 + colour::ChromaCbOf(c), 128 - colour::ChromaCrOf(c), colour);
}

void CrCbAxesAndLabels()
{
    KRT_DrawLine(0, 128, 256, 128, 0x808080);
    KRT_DrawLine(128, 0, 128, 256, 0x808080);
    KRT_SetTextCursor(110, 16, 110);
    krt_tc = 0xFF8888;
    KRT_DrawTextF("Cr");
    KRT_SetTextCursor(238, 144, 238);
    krt_tc = 0x8888FF;
    KRT_DrawTextF("Cb");
}

}  // namespace

void ReadImageRow(void* dst, int y, int count)
{
    const PixelView view = CurrentPixelView();
    if (view.empty() || !dst || count <= 0)
        return;
    const std::size_t element = view.depth == 8 ? 1 : 4;
    const int inside = static_cast<unsigned>(y) < static_cast<unsigned>(view.height)
                           ? (count < view.width ? count : view.width)
                           : 0;
    unsigned char* out = static_cast<unsigned char*>(dst);
    if (inside > 0)
        std::memcpy(out, view.row(y), static_cast<std::size_t>(inside) * element);
    std::memset(out + static_cast<std::size_t>(inside) * element, 0, static_cast<std::size_t>(count - inside) * element);
}

void PlotProfile(const void* samples, int xOffset, int count, int flags, int colour)
{
    if (count <= 0 || !samples)
        return;
    const bool dots = (flags & KRT_PROFILE_DOTS) != 0;
    if (!dots && !(flags & KRT_PROFILE_CONNECTED))
        return;
    // One channel for the whole call, so a hue profile is scaled by 359 from its first sample on.
    const ChannelRow* channel = ChannelOf(flags);
    const int divisor = channel ? channel->fullScale : 255;
    for (int i = 0; i < count; ++i) {
        const int v = ProfileSample(samples, i, channel, flags);
        const int x = xOffset + i;
        const int y = kProfileRows - v * kProfileRows / divisor;
        if (dots)
            KRT_SetPixel(x, y, colour);
        else
            PathPoint(i == 0, x, y, colour);
    }
}

void PlotCrCbRow(const void* samples, int count)
{
    CrCbAxesAndLabels();
    if (!samples)
        return;
    int colour = 0xFFFFFF;
    for (int i = 0; i < count; ++i) {
        CrCbPoint(samples, i, i == 0, colour);
        colour ^= 0x00FF00;  // white and magenta by turns
    }
}

void PlotCrCbArea(int rows, const void* block, int columns)
{
    CrCbAxesAndLabels();
    if (!block)
        return;
    for (int r = 0; r < rows; ++r)
        for (int j = 0; j < columns; ++j)
            CrCbPoint(block, r * columns + j, j == 0, 0xFFFFFF);
}
