#include "text/glyph_cache.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <vector>

#include "core/gdi_handles.h"

namespace {

constexpr wchar_t kFirst = 0x20, kLast = 0x7E;
constexpr int kGlyphs = kLast - kFirst + 1;
constexpr std::size_t kMostAtlases = 16;  // colour pairs kept per thread

struct Atlas {
    HFONT font;
    int cellWidth, cellHeight;
    COLORREF text, back;
    bool usable;                        // the cells are exactly what TextOutW draws
    std::vector<std::uint32_t> pixels;  // kGlyphs cells side by side, top-down rows
    unsigned lastUse;
};

// A 32-bit top-down DIB of its own for drawing text into, filled with `fill`, with the font and
// colours selected; released with its DC.
struct Canvas {
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = nullptr;
    std::uint32_t* pixels = nullptr;
    HGDIOBJ oldBitmap = nullptr, oldFont = nullptr;

    Canvas(int width, int height, const Atlas& atlas, COLORREF fill)
    {
        void* bits = nullptr;
        dib = CreateTopDownDib32(nullptr, width, height, &bits);
        if (!dc || !dib || !bits)
            return;
        pixels = static_cast<std::uint32_t*>(bits);
        oldBitmap = SelectObject(dc, dib);
        oldFont = SelectObject(dc, atlas.font);
        const HBRUSH brush = CreateSolidBrush(fill);
        const RECT all = {0, 0, width, height};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        SetTextColor(dc, atlas.text);
        SetBkColor(dc, atlas.back);
        SetBkMode(dc, OPAQUE);
    }
    ~Canvas()
    {
        if (oldBitmap) {
            SelectObject(dc, oldFont);
            SelectObject(dc, oldBitmap);
        }
        if (dib)
            DeleteObject(dib);
        if (dc)
            DeleteDC(dc);
    }
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
};

// The 95 cells as the window system draws them, kept as pixels (no GDI object stays).  They are
// drawn as one run, with a margin of a cell on each side and a row above and below, and then one
// character at a time: the atlas is usable only when nothing reaches outside the run and the two
// drawings agree, that is, when every glyph stays inside its own cell and any run of them is
// its cells side by side.
void Render(Atlas& atlas)
{
    atlas.usable = false;
    const int cell = atlas.cellWidth, height = atlas.cellHeight;
    if (cell <= 0 || height <= 0)
        return;
    const int width = cell * (kGlyphs + 2), rows = height + 2;
    // A fill that is neither of the two colours.
    COLORREF fill = RGB(1, 2, 3);
    while (fill == atlas.text || fill == atlas.back)
        fill += RGB(1, 1, 1);
    Canvas whole(width, rows, atlas, fill), single(width, rows, atlas, fill);
    if (!whole.pixels || !single.pixels)
        return;
    wchar_t run[kGlyphs];
    for (int i = 0; i < kGlyphs; ++i)
        run[i] = static_cast<wchar_t>(kFirst + i);
    SIZE extent = {};
    if (!GetTextExtentPoint32W(whole.dc, run, kGlyphs, &extent) || extent.cx != cell * kGlyphs || extent.cy != height)
        return;
    TextOutW(whole.dc, cell, 1, run, kGlyphs);
    for (int i = 0; i < kGlyphs; ++i)
        TextOutW(single.dc, cell * (i + 1), 1, run + i, 1);
    GdiFlush();
    // The fill as the DIB holds it: 0x00RRGGBB.
    const std::uint32_t filled = (GetRValue(fill) << 16) | (GetGValue(fill) << 8) | GetBValue(fill);
    std::vector<std::uint32_t> cells(static_cast<std::size_t>(cell) * kGlyphs * height);
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::uint32_t a = whole.pixels[static_cast<std::size_t>(y) * width + x];
            const bool inside = y >= 1 && y <= height && x >= cell && x < cell * (kGlyphs + 1);
            if (a != single.pixels[static_cast<std::size_t>(y) * width + x] || (!inside && a != filled))
                return;
            if (inside)
                cells[static_cast<std::size_t>(y - 1) * cell * kGlyphs + (x - cell)] = a;
        }
    }
    atlas.pixels = std::move(cells);
    atlas.usable = true;
}

// Both threads print (the GUI thread the main window's prompts): the atlases are shared under a
// lock, which the caller holds while it copies from the one it gets.
std::mutex AtlasLock;
std::vector<std::unique_ptr<Atlas>> Atlases;
unsigned Uses = 0;

Atlas* FindAtlas(HFONT font, int cellWidth, int cellHeight, COLORREF text, COLORREF back)
{
    const unsigned uses = ++Uses;
    for (auto& atlas : Atlases) {
        if (atlas->font == font && atlas->cellWidth == cellWidth && atlas->cellHeight == cellHeight &&
            atlas->text == text && atlas->back == back) {
            atlas->lastUse = uses;
            return atlas.get();
        }
    }
    std::unique_ptr<Atlas> made(new Atlas{font, cellWidth, cellHeight, text, back, false, {}, uses});
    Render(*made);
    if (Atlases.size() < kMostAtlases) {
        Atlases.push_back(std::move(made));
        return Atlases.back().get();
    }
    auto oldest = std::min_element(Atlases.begin(), Atlases.end(),
                                   [](const auto& a, const auto& b) { return a->lastUse < b->lastUse; });
    *oldest = std::move(made);
    return oldest->get();
}

}  // namespace

bool DrawCachedGlyphs(const GlyphTarget& target, int x, int y, const wchar_t* units, int count, HFONT font,
                      int cellWidth, int cellHeight, COLORREF text, COLORREF back)
{
    if (!target.pixels || count <= 0 || !font)
        return false;
    for (int i = 0; i < count; ++i)
        if (units[i] < kFirst || units[i] > kLast)
            return false;
    std::lock_guard<std::mutex> hold(AtlasLock);
    const Atlas* atlas = FindAtlas(font, cellWidth, cellHeight, text, back);
    if (!atlas->usable)
        return false;
    GdiFlush();  // the window system's own drawing into the target is done before ours
    const int atlasWidth = cellWidth * kGlyphs;
    const int top = std::max(y, 0), bottom = std::min(y + cellHeight, target.rows);
    for (int i = 0; i < count; ++i) {
        const int left = x + i * cellWidth;
        const int from = std::max(left, 0), to = std::min(left + cellWidth, target.width);
        if (from >= to)
            continue;
        const int glyph = units[i] - kFirst;
        for (int row = top; row < bottom; ++row)
            std::memcpy(target.pixels + static_cast<std::size_t>(row) * target.width + from,
                        atlas->pixels.data() + static_cast<std::size_t>(row - y) * atlasWidth + glyph * cellWidth +
                            (from - left),
                        static_cast<std::size_t>(to - from) * sizeof(std::uint32_t));
    }
    return true;
}
