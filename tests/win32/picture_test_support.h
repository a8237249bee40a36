// Helpers of the transform and clipboard tests: images filled with asymmetric pictures, their
// pixels read back whole, and an 8-bit palette whose colours are all different.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "image/image_window.h"
#include "image_test_support.h"
#include "menu_capture.h"

// The picture every test image starts with: PatternColour, or an index pattern for 8 bits.
inline unsigned PictureValue(int x, int y, int depth)
{
    return depth == 8 ? static_cast<unsigned>(x * 7 + y * 13 + x * y) & 0xFF : PatternColour(x, y);
}

// Entry i: red i, green 255 - i, blue 3i: no two alike, none a grey.
inline std::vector<RGBQUAD> DistinctPalette()
{
    std::vector<RGBQUAD> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {static_cast<BYTE>(3 * i), static_cast<BYTE>(255 - i), static_cast<BYTE>(i), 0};
    return palette;
}

// An image window holding the picture (and, for 8 bits, the distinct palette); its window.
inline HWND PictureWindow(int slot, const char* name, int x, int y, int width, int height, int depth = 32,
                          bool fill = true)
{
    HWND window = nullptr;
    RunOnUserThread([&] {
        if (CreateImageWindow(slot, name, x, y, width, height, 100, depth, ScreenFit) != 0)
            return;
        window = ImageTable[slot].window;
        if (depth == 8)
            KRT_SetPalette(DistinctPalette().data(), 256);
        for (int py = 0; fill && py < height; ++py)
            for (int px = 0; px < width; ++px)
                PutPixel(px, py, static_cast<int>(PictureValue(px, py, depth)));
        KRT_RefreshImage(slot);
    });
    return window;
}

// A slot's pixels row by row (0x00RRGGBB, or indices).
inline std::vector<unsigned> PixelsOf(int slot)
{
    std::vector<unsigned> pixels;
    RunOnUserThread([&] {
        GdiFlush();
        const ImageRecord& r = ImageTable[slot];
        for (int y = 0; y < r.height; ++y)
            for (int x = 0; x < r.width; ++x)
                pixels.push_back(PixelOf(slot, x, y));
    });
    return pixels;
}

// The first place where a slot's pixels differ from expected(x, y), or "" when none does.
template <class Expected>
std::string FirstWrongPixel(int slot, Expected expected)
{
    const std::vector<unsigned> pixels = PixelsOf(slot);
    const int width = ImageTable[slot].width;
    for (size_t i = 0; i < pixels.size(); ++i) {
        const int x = static_cast<int>(i % width), y = static_cast<int>(i / width);
        if (pixels[i] != (expected(x, y) & (ImageTable[slot].bitDepth == 8 ? 0xFFu : 0xFFFFFFu)))
            return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
    }
    return "";
}

inline bool SamePalette(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b)
{
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        if (a[i].rgbRed != b[i].rgbRed || a[i].rgbGreen != b[i].rgbGreen || a[i].rgbBlue != b[i].rgbBlue)
            return false;
    return a.size() == b.size();
}

inline RECT OuterRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}
