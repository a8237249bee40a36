// Test patterns over the whole current image.  Each pixel gets exactly the colour that setting
// it on its own would store (the whole word, or the low byte of an 8-bit image), and the pen
// position ends on the last pixel, as if every pixel had been set in turn from the top-left.
// But the work is done by rows: a pattern's colour depends on its column through one small
// table and on its row through one or two numbers, so a row whose numbers equal the row
// above's is a copy of it, and within a row a run of columns with equal numbers shares one
// colour.  So the square roots and the hue conversions are done once per distinct colour, not
// once per pixel.
#include "imaging/test_patterns.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "imaging/colour_maths.h"
#include "imaging/drawing_state.h"
#include "imaging/pixel_view.h"
#include "krtlib.h"

namespace {

std::size_t RowBytes(const PixelView& view)
{
    return static_cast<std::size_t>(view.width) * (view.depth == 8 ? 1 : 4);
}

void StoreRow(const PixelView& view, int y, const std::uint32_t* colours)
{
    if (view.depth == 8) {
        unsigned char* out = view.row(y);
        for (int x = 0; x < view.width; ++x)
            out[x] = static_cast<unsigned char>(colours[x]);
    } else {
        std::memcpy(view.row(y), colours, RowBytes(view));
    }
}

// The current image when a pattern can cover it, else an empty view.
PixelView PatternView()
{
    const PixelView view = CurrentPixelView();
    return view.empty() || view.width <= 0 || view.height <= 0 ? PixelView{} : view;
}

// Fills every row of the view: fillRow(y, colours) computes row y, unless rowKey(y) equals
// the key of the row above, whose pixels are then copied.
template <class RowKey, class FillRow>
void FillRows(const PixelView& view, RowKey rowKey, FillRow fillRow)
{
    std::vector<std::uint32_t> colours(static_cast<std::size_t>(view.width));
    auto previous = rowKey(0);
    for (int y = 0; y < view.height; ++y) {
        const auto key = rowKey(y);
        if (y > 0 && key == previous) {
            std::memcpy(view.row(y), view.row(y - 1), RowBytes(view));
            continue;
        }
        fillRow(y, colours.data());
        StoreRow(view, y, colours.data());
        previous = key;
    }
    PenPosition = {view.width - 1, view.height - 1};
}

// column[x] = scale * (x - centre) / width for every column (the pattern's horizontal number).
std::vector<int> ColumnTable(int width, int scale, int centre)
{
    std::vector<int> column(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        column[x] = scale * (x - centre) / width;
    return column;
}

// Writes colourOf(column[x]) across a row, computing it once per run of equal numbers.
template <class ColourOf>
void FillByColumn(const std::vector<int>& column, std::uint32_t* colours, ColourOf colourOf)
{
    std::uint32_t colour = 0;
    for (std::size_t x = 0; x < column.size(); ++x) {
        if (x == 0 || column[x] != column[x - 1])
            colour = static_cast<std::uint32_t>(colourOf(column[x]));
        colours[x] = colour;
    }
}

constexpr int Clamp(int t) { return t < 0 ? 0 : t >= 255 ? 255 : t; }
constexpr int Div16(int t) { return (t + 32768) / 65536; }

// The chroma-plane patterns: each channel is Y16 + u * perU + v * perV, where u is the
// horizontal offset from the centre and v the vertical one (both about -127 to 127).
struct ChromaWeights {
    int perU[3];  // red, green, blue
    int perV[3];
};
constexpr ChromaWeights kYCrCbWeights = {{0, -22544, 116130}, {-91881, 46793, 0}};
constexpr ChromaWeights kYuvWeights = {{0, -25952, 132973}, {-74711, 38076, 0}};
constexpr ChromaWeights kYiqWeights = {{42998, -44872, 118292}, {-62187, 17334, 73859}};

int ChromaPlaneColour(const ChromaWeights& w, int u, int v)
{
    // Black at the centre, brighter with the distance from it.
    const int y16 = static_cast<int>(std::sqrt(5.0 * v * v + 5.0 * u * u)) * 65536;
    int channel[3];
    for (int k = 0; k < 3; ++k)
        channel[k] = Clamp(Div16(y16 + w.perU[k] * u + w.perV[k] * v));
    return colour::Rgb(channel[0], channel[1], channel[2]);
}

void PatternChromaPlane(const ChromaWeights& weights)
{
    const PixelView view = PatternView();
    if (view.empty())
        return;
    const std::vector<int> u = ColumnTable(view.width, 255, view.width / 2);
    const int h = view.height;
    auto vOfRow = [h](int y) { return 255 * (y - h / 2) / h; };
    FillRows(view, vOfRow, [&](int y, std::uint32_t* colours) {
        const int v = vOfRow(y);
        FillByColumn(u, colours, [&](int uOfColumn) { return ChromaPlaneColour(weights, uOfColumn, v); });
    });
}

struct SaturationAndValue {
    int s, v;
    bool operator==(const SaturationAndValue& o) const { return s == o.s && v == o.v; }
};

}  // namespace

void PatternRgb()
{
    const PixelView view = PatternView();
    if (view.empty())
        return;
    const int w = view.width, h = view.height;
    // Red by column, green by row, blue by the diagonal x + y.
    std::vector<std::uint32_t> red(static_cast<std::size_t>(w)), blue(static_cast<std::size_t>(w) + h - 1);
    for (int x = 0; x < w; ++x)
        red[x] = static_cast<std::uint32_t>(255 * x / w) << 16;
    for (int d = 0; d < w + h - 1; ++d)
        blue[d] = static_cast<std::uint32_t>(255 - 255 * d / (w + h));
    FillRows(view, [](int y) { return y; }, [&](int y, std::uint32_t* colours) {
        const std::uint32_t green = static_cast<std::uint32_t>(255 * y / h) << 8;
        for (int x = 0; x < w; ++x)
            colours[x] = red[x] | green | blue[x + y];
    });
}

void PatternHsv()
{
    const PixelView view = PatternView();
    if (view.empty())
        return;
    const std::vector<int> hue = ColumnTable(view.width, 359, 0);
    const int n = view.height / 2;
    // White at the top to full colour mid-way, then to black at the bottom.  A one-row image
    // has no halves (n = 0): its row is the full colour.
    auto shadeOfRow = [n](int y) {
        if (y < n)
            return SaturationAndValue{255 * y / n, 255};
        return SaturationAndValue{255, n == 0 ? 255 : 255 - 255 * (y - n) / n};
    };
    FillRows(view, shadeOfRow, [&](int y, std::uint32_t* colours) {
        const SaturationAndValue shade = shadeOfRow(y);
        FillByColumn(hue, colours, [&](int h) { return colour::RgbOfHsv(shade.v, shade.s, h); });
    });
}

void PatternYCrCb() { PatternChromaPlane(kYCrCbWeights); }
void PatternYuv() { PatternChromaPlane(kYuvWeights); }
void PatternYiq() { PatternChromaPlane(kYiqWeights); }

void DrawGreyRamps()
{
    const PixelView view = PatternView();
    if (view.empty())
        return;
    const std::vector<int> grey = ColumnTable(view.width, 255, 0);
    const int upperRows = view.height / 2;
    FillRows(view, [upperRows](int y) { return y < upperRows; }, [&](int y, std::uint32_t* colours) {
        for (int x = 0; x < view.width; ++x)
            colours[x] = static_cast<std::uint32_t>(y < upperRows ? grey[x] : 255 - grey[x]) * 0x010101u;
    });
}
