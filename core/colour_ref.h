// Library colours are 0x00RRGGBB; the window system's COLORREF is 0x00BBGGRR.
#pragma once
#include <windows.h>

inline COLORREF ToColorRef(int rgb)
{
    return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

inline int FromColorRef(COLORREF colour)
{
    return (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
}
