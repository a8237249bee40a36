// The colour conversions as the interface offers them.
#include "imaging/colour_maths.h"
#include "krtlib.h"

void RgbToHsv(int c, int* h, int* s, int* v)
{
    const colour::Hsv hsv = colour::HsvOf(c);
    if (h)
        *h = hsv.h;
    if (s)
        *s = hsv.s;
    if (v)
        *v = hsv.v;
}

int GetHue(int c) { return colour::HsvOf(c).h; }
int GetSaturation(int c) { return colour::HsvOf(c).s; }
int GetValue(int c) { return colour::HsvOf(c).v; }
int HsvToRgb(int v, int s, int h) { return colour::RgbOfHsv(v, s, h); }

int Luminance(int c) { return colour::LuminanceOf(c); }
int ChromaCr(int c) { return colour::ChromaCrOf(c); }
int ChromaCb(int c) { return colour::ChromaCbOf(c); }
int YuvU(int c) { return colour::YuvUOf(c); }
int YuvV(int c) { return colour::YuvVOf(c); }
int YiqI(int c) { return colour::YiqIOf(c); }
int YiqQ(int c) { return colour::YiqQOf(c); }
