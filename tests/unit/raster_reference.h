// A plain per-pixel rendering of the raster layer's definitions, written for the tests and
// kept apart from the library: every shape is built from single bounds-checked pixel calls,
// exactly as the drawing rules state them.  The library's clipped span and line code must
// produce the same pixels and leave the same pen position.
#pragma once
#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

struct RefImage {
    int width = 0, height = 0, depth = 32, stride = 0;
    std::vector<std::uint8_t> bytes;
    int penX = 0, penY = 0;
    int drawingColour = 0xFFFFFF;

    RefImage(int w, int h, int d) : width(w), height(h), depth(d), stride(d == 8 ? (w + 3) / 4 * 4 : w * 4)
    {
        bytes.assign(static_cast<size_t>(stride) * h, 0);
    }

    bool Inside(int x, int y) const { return unsigned(x) < unsigned(width) && unsigned(y) < unsigned(height); }
    std::uint32_t Get(int x, int y) const
    {
        if (depth == 8)
            return bytes[size_t(y) * stride + x];
        std::uint32_t v;
        std::memcpy(&v, &bytes[size_t(y) * stride + size_t(x) * 4], 4);
        return v;
    }
    void Store(int x, int y, std::uint32_t v)
    {
        if (depth == 8)
            bytes[size_t(y) * stride + x] = std::uint8_t(v);
        else
            std::memcpy(&bytes[size_t(y) * stride + size_t(x) * 4], &v, 4);
    }

    // ---- Pixels --------------------------------------------------------------------------
    void PutPixel(int x, int y, int c)
    {
        if (Inside(x, y))
            Store(x, y, depth == 8 ? std::uint32_t(c) & 0xFF : std::uint32_t(c));
    }
    void SetPixel(int x, int y, int c) { penX = x, penY = y, PutPixel(x, y, c); }
    int ProbePixel(int x, int y) const { return Inside(x, y) ? int(Get(x, y)) : -1; }
    void XorPixelQuiet(int x, int y)
    {
        if (!Inside(x, y))
            return;
        if (depth == 8)
            Store(x, y, 255 - Get(x, y));
        else
            Store(x, y, Get(x, y) ^ 0xFFFFFFu);
    }
    void XorPixel(int x, int y) { penX = x, penY = y, XorPixelQuiet(x, y); }

    // ---- Lines ---------------------------------------------------------------------------
    template <class Plot>
    static void Line(int x1, int y1, int x2, int y2, Plot plot)
    {
        if (x1 == x2) {
            if (y1 > y2)
                std::swap(y1, y2);
            for (int y = y1; y <= y2; ++y)
                plot(x1, y);
            return;
        }
        if (y1 == y2) {
            if (x1 > x2)
                std::swap(x1, x2);
            for (int x = x1; x <= x2; ++x)
                plot(x, y1);
            return;
        }
        if (x1 > x2) {
            std::swap(x1, x2);
            std::swap(y1, y2);
        }
        const int dx = x2 - x1, dy = y2 > y1 ? y2 - y1 : y1 - y2, sy = y2 > y1 ? 1 : -1;
        int x = x1, y = y1;
        plot(x, y);
        if (dx >= dy) {
            int e = (dx + 1) / 2;
            while (x != x2) {
                e -= dy;
                x += 1;
                if (e <= 0) {
                    e += dx;
                    y += sy;
                }
                plot(x, y);
            }
        } else {
            int e = (dy + 1) / 2;
            while (y != y2) {
                e -= dx;
                y += sy;
                if (e <= 0) {
                    e += dy;
                    x += 1;
                }
                plot(x, y);
            }
        }
    }
    void DrawLine(int x1, int y1, int x2, int y2, int c)
    {
        penX = x2, penY = y2;
        Line(x1, y1, x2, y2, [&](int x, int y) { PutPixel(x, y, c); });
    }
    void XorLine(int x1, int y1, int x2, int y2)
    {
        penX = x2, penY = y2;
        Line(x1, y1, x2, y2, [&](int x, int y) { XorPixelQuiet(x, y); });
    }

    // ---- Rectangles ----------------------------------------------------------------------
    void DrawBox(int xa, int ya, int xb, int yb)
    {
        DrawLine(xa, ya, xb, ya, drawingColour);
        DrawLine(xb, ya, xb, yb, drawingColour);
        DrawLine(xb, yb, xa, yb, drawingColour);
        DrawLine(xa, yb, xa, ya, drawingColour);
    }
    void XorBox(int xa, int ya, int xb, int yb)
    {
        const int x0 = std::min(xa, xb), x1 = std::max(xa, xb), y0 = std::min(ya, yb), y1 = std::max(ya, yb);
        XorLine(x0, y0, x1, y0);
        if (y1 != y0)
            XorLine(x0, y1, x1, y1);
        if (y1 - y0 > 1) {
            XorLine(x0, y0 + 1, x0, y1 - 1);
            if (x1 != x0)  // one side for a box one pixel wide
                XorLine(x1, y0 + 1, x1, y1 - 1);
        }
    }
    void FillBox(int xa, int ya, int xb, int yb)
    {
        const int x0 = std::min(xa, xb), x1 = std::max(xa, xb), y0 = std::min(ya, yb), y1 = std::max(ya, yb);
        DrawBox(x0, y0, x1, y1);
        if (x1 - x0 >= 2 && y1 - y0 >= 2)
            for (int y = y0 + 1; y <= y1 - 1; ++y)
                DrawLine(x0 + 1, y, x1 - 1, y, drawingColour);
    }
    void XorFillBox(int xa, int ya, int xb, int yb)
    {
        const int x0 = std::min(xa, xb), x1 = std::max(xa, xb), y0 = std::min(ya, yb), y1 = std::max(ya, yb);
        for (int y = y0; y <= y1; ++y)
            XorLine(x0, y, x1, y);
    }

    // ---- Circles -------------------------------------------------------------------------
    template <class Plot>
    static void CirclePoints(int cx, int cy, int r, Plot plot)
    {
        const int limit = (5 * r) / 7;
        int i = 0, y = r, d = r;
        for (;;) {
            plot(cx - i, cy + y);
            plot(cx + i, cy - y);
            if (i != 0 && i != y) {
                plot(cx + i, cy + y);
                plot(cx - i, cy - y);
                plot(cx + y, cy - i);
                plot(cx - y, cy + i);
            }
            plot(cx + y, cy + i);
            plot(cx - y, cy - i);
            d -= 2 * i + 1;
            if (d <= 0) {
                d += 2 * y - 2;
                y -= 1;
            }
            i += 1;
            if (i > limit || i > y)
                break;
        }
    }
    template <class Span>
    static void DiscSpans(int cx, int cy, int r, Span span)  // span(row, xFrom, xTo)
    {
        const int limit = (5 * r) / 7;
        int j = 0, y = r, d = r;
        bool lowered = false;
        for (;;) {
            lowered = false;
            if (y != j) {
                span(cy + j, cx - y, cx + y);
                if (j != 0)
                    span(cy - j, cx - y, cx + y);
            }
            d -= 2 * j + 1;
            if (d <= 0) {
                span(cy + y, cx - j, cx + j);
                span(cy - y, cx - j, cx + j);
                d += 2 * y - 2;
                y -= 1;
                lowered = true;
            }
            if (j + 1 > limit || j + 1 > y)
                break;
            j += 1;
        }
        if (!lowered) {
            span(cy + y, cx - j, cx + j);
            span(cy - y, cx - j, cx + j);
        }
    }
    void DrawCircle(int cx, int cy, int r, int c)
    {
        if (r >= 0)
            CirclePoints(cx, cy, r, [&](int x, int y) { SetPixel(x, y, c); });
    }
    void XorCircle(int cx, int cy, int r)
    {
        if (r >= 0)
            CirclePoints(cx, cy, r, [&](int x, int y) { XorPixel(x, y); });
    }
    void FillCircle(int cx, int cy, int r)
    {
        if (r < 0)
            return;
        DiscSpans(cx, cy, r, [&](int row, int a, int b) { DrawLine(a, row, b, row, drawingColour); });
        DrawCircle(cx, cy, r, drawingColour);
    }
    void XorFillCircle(int cx, int cy, int r)
    {
        if (r >= 0)
            DiscSpans(cx, cy, r, [&](int row, int a, int b) { XorLine(a, row, b, row); });
    }

    // ---- Seed fill ---------------------------------------------------------------------------
    // seedCap: how many pending seeds are kept; a seed that finds the store full is not recorded
    // and its run stays armed.
    void FloodFill(int x, int y, size_t seedCap = SIZE_MAX)
    {
        if (!Inside(x, y))
            return;
        const std::uint32_t target = Get(x, y);
        const std::uint32_t fill = depth == 8 ? std::uint32_t(drawingColour) & 0xFF : std::uint32_t(drawingColour);
        if (target == fill)
            return;
        auto matches = [&](int px, int py) { return Inside(px, py) && Get(px, py) == target; };
        std::vector<std::pair<int, int>> seeds;
        for (;;) {
            while (matches(x - 1, y))
                --x;
            const int left = x;
            bool armAbove = true, armBelow = true;
            for (; matches(x, y); ++x) {
                if (armAbove && matches(x, y - 1) && seeds.size() < seedCap) {
                    seeds.push_back({x, y - 1});
                    armAbove = false;
                }
                if (!armAbove && !matches(x, y - 1))
                    armAbove = true;
                if (armBelow && matches(x, y + 1) && seeds.size() < seedCap) {
                    seeds.push_back({x, y + 1});
                    armBelow = false;
                }
                if (!armBelow && !matches(x, y + 1))
                    armBelow = true;
            }
            DrawLine(left, y, x - 1, y, drawingColour);
            do {
                if (seeds.empty())
                    return;
                x = seeds.back().first, y = seeds.back().second;
                seeds.pop_back();
            } while (!matches(x, y));
        }
    }
};
