// The library's colour arithmetic on 0x00RRGGBB words (the top byte is ignored): hue,
// saturation and value and back, and the fixed-point luminance and colour differences of the
// YCrCb, YUV and YIQ models.  Everything is 32-bit integer arithmetic with fixed constants and
// rounding, because the pixel report prints these numbers and the plots draw them: they must
// come out the same everywhere.  "/" on ints truncates toward zero, which the formulas rely on
// for their negative numerators.
#pragma once

namespace colour {

constexpr int RedOf(int c) { return (c >> 16) & 255; }
constexpr int GreenOf(int c) { return (c >> 8) & 255; }
constexpr int BlueOf(int c) { return c & 255; }
constexpr int Rgb(int r, int g, int b) { return r * 65536 + g * 256 + b; }

struct Hsv {
    int h;  // 0 to 359
    int s;  // the spread max - min, 0 to 255 (not a ratio)
    int v;  // the largest channel, 0 to 255
};

// Six sectors by which channel is largest and which smallest, tested in this order (ties go to
// the first that matches).  Each sector counts up from its start with the channel that rises
// through it, so truncation always lands toward the sector's start.
constexpr Hsv HsvOf(int c)
{
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    const int max = r > g ? (r > b ? r : b) : (g > b ? g : b);
    const int min = r < g ? (r < b ? r : b) : (g < b ? g : b);
    const int s = max - min;
    int h = 0;
    if (s != 0) {
        if (max == r && min == b)
            h = 60 * (g - b) / s;
        else if (max == g && min == b)
            h = 60 * (g - r) / s + 60;
        else if (max == g && min == r)
            h = 60 * (b - r) / s + 120;
        else if (max == b && min == r)
            h = 60 * (b - g) / s + 180;
        else if (max == b && min == g)
            h = 60 * (r - g) / s + 240;
        else  // max == r && min == g
            h = 60 * (r - b) / s + 300;
    }
    return {h, s, max};
}

// The inverse for v and s from 0 to 255 and h from 0 to 359: the largest and smallest channels
// come back exactly; the one between them may fall short of (or, in the falling sectors, go past)
// the original by the truncations of both directions.
constexpr int RgbOfHsv(int v, int s, int h)
{
    const int m = v - s < 0 ? 0 : v - s;
    const int d = v - m;
    if (h <= 59)
        return Rgb(v, d * h / 60 + m, m);
    if (h <= 119)
        return Rgb(d * (60 - (h - 60)) / 60 + m, v, m);
    if (h <= 179)
        return Rgb(m, v, d * (h - 120) / 60 + m);
    if (h <= 239)
        return Rgb(m, d * (60 - (h - 180)) / 60 + m, v);
    if (h <= 299)
        return Rgb(d * (h - 240) / 60 + m, m, v);
    return Rgb(v, m, d * (60 - (h - 300)) / 60 + m);
}

// The usual weights scaled by 65536, rounded by adding half before the shift or division.
constexpr int LuminanceOf(int c) { return (19595 * RedOf(c) + 38470 * GreenOf(c) + 7471 * BlueOf(c) + 32768) >> 16; }
constexpr int ChromaCrOf(int c) { return (32768 * RedOf(c) - 27460 * GreenOf(c) - 5308 * BlueOf(c) + 32768) / 65536; }
constexpr int ChromaCbOf(int c) { return (32768 * BlueOf(c) - 11076 * RedOf(c) - 21692 * GreenOf(c) + 32768) / 65536; }
constexpr int YuvUOf(int c) { return (28574 * BlueOf(c) - 9634 * RedOf(c) - 18940 * GreenOf(c) + 32768) / 65536; }
constexpr int YuvVOf(int c) { return (40305 * RedOf(c) - 33751 * GreenOf(c) - 6554 * BlueOf(c) + 32768) / 65536; }
constexpr int YiqIOf(int c) { return (39053 * RedOf(c) - 18022 * GreenOf(c) - 21037 * BlueOf(c) + 32768) / 65536; }
constexpr int YiqQOf(int c) { return (13533 * RedOf(c) - 32565 * GreenOf(c) + 19032 * BlueOf(c) + 32768) / 65536; }

}  // namespace colour
