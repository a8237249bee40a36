// The grey test pattern.  It needs the window system only to load the grey palette, through
// the image windows' palette call, which is why it is built with the Win32 part of the library.
#include <cstdint>

#include "imaging/test_patterns.h"
#include "krtlib.h"

void PatternGrey()
{
    // Entry i is red i, green i, blue i: as a palette entry's bytes (blue, green, red, 0) that
    // is the word i * 0x010101.  The call refuses images that are not 8-bit, which keep
    // showing true colours anyway.
    std::uint32_t ramp[256];
    for (std::uint32_t i = 0; i < 256; ++i)
        ramp[i] = i * 0x010101u;
    KRT_SetPalette(reinterpret_cast<const RGBQUAD*>(ramp), 256);
    DrawGreyRamps();
}
