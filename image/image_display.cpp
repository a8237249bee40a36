// Showing an image: the redraw from its pixels, the title, the stretch mode and the palette
// of 8-bit images.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "core/framework.h"
#include "core/text_convert.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "image/image_window.h"
#include "krtlib.h"

namespace {

void FormatTitle(char* buffer, const char* name, int zoom, int bitDepth, bool halftone)
{
    char suffix[48];
    std::snprintf(suffix, sizeof suffix, bitDepth == 8 ? "(%d%%)[8bit]%s" : "(%d%%)%s", zoom, halftone ? "*" : "");
    std::string shown = name ? name : "";
    TruncateNarrow(&shown[0], kImageTitleChars - 1 - static_cast<int>(std::strlen(suffix)));
    std::snprintf(buffer, kImageTitleChars, "%s%s", shown.c_str(), suffix);
}

bool LiveEightBitImage(int slot) { return ImageTable[slot].bitDepth == 8; }

}  // namespace

void FormatImageTitle(char* buffer, const char* name, int zoom, int bitDepth)
{
    FormatTitle(buffer, name, zoom, bitDepth, false);
}

void UpdateImageTitle(int slot)
{
    if (!IsLiveImage(slot))
        return;
    const ImageRecord& record = ImageTable[slot];
    char title[kImageTitleChars];
    FormatTitle(title, record.name, record.zoom, record.bitDepth, GetStretchBltMode(record.memoryDC) == HALFTONE);
    wchar_t wide[kImageTitleChars];
    WidenText(title, wide, kImageTitleChars);
    SetWindowTextW(record.window, wide);
}

int KRT_RefreshImage(int slot)
{
    EndUserThreadIfOverdue();
    if (!IsLiveImage(slot))
        return 1;
    // Straight onto the window's own DC, outside any paint cycle: the user program sees its
    // drawing as soon as it asks.
    const ImageRecord& r = ImageTable[slot];
    if (r.zoom == 100)
        BitBlt(r.windowDC, 0, 0, r.width, r.height, r.memoryDC, 0, 0, SRCCOPY);
    else
        StretchBlt(r.windowDC, 0, 0, r.clientWidth, r.clientHeight, r.memoryDC, 0, 0, r.width, r.height, SRCCOPY);
    return 0;
}

int GetImageStretchMode(int slot)
{
    return IsLiveImage(slot) ? GetStretchBltMode(ImageTable[slot].windowDC) : 0;
}

int KRT_SetPalette(const RGBQUAD* entries, int count)
{
    if (!IsLiveImage(CurrentImage))
        return 1;
    if (!LiveEightBitImage(CurrentImage))
        return 2;
    const ImageRecord& record = ImageTable[CurrentImage];
    if (count > 256)
        count = 256;  // the colour table has no more entries
    if (entries && count > 0)
        SetDIBColorTable(record.memoryDC, 0, static_cast<UINT>(count), entries);
    InvalidateRect(record.window, nullptr, FALSE);
    return 0;
}

int KRT_GetPalette(RGBQUAD* entries)
{
    if (!IsLiveImage(CurrentImage))
        return 1;
    if (!LiveEightBitImage(CurrentImage))
        return 2;
    if (entries)
        GetDIBColorTable(ImageTable[CurrentImage].memoryDC, 0, 256, entries);
    return 0;
}
