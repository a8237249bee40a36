// Picture files a program asks about or opens in windows of their own, and what the main
// window's drop shares with them.
#include "image/picture_files.h"

#include <cstdio>

#include "core/text_convert.h"
#include "image/image_selection.h"
#include "image/image_window.h"
#include "krtlib.h"

bool ReadPictureFile(const wchar_t* name, PictureFile& picture)
{
    wchar_t full[kImageNameUnits];
    wchar_t* filePart = nullptr;
    const DWORD length = GetFullPathNameW(name, kImageNameUnits, full, &filePart);
    if (length == 0 || length >= kImageNameUnits || !filePart || !*filePart)
        return false;  // longer than the loader takes: refused, not cut
    ProbeImageSize(full, picture.width, picture.height);
    if (picture.width == 0 || picture.height == 0 || !NarrowWhole(full, picture.path, sizeof picture.path))
        return false;  // not a picture, or a path the loader could not be given
    NarrowText(filePart, -1, picture.fileName, sizeof picture.fileName);
    return true;
}

void FormatPictureTitle(char (&title)[kPictureTitleBytes], int slot, const char* fileName)
{
    std::snprintf(title, sizeof title, "%03d %s", slot, fileName);
}

int KRT_GetImageFileSize(const char* name, int* width, int* height)
{
    wchar_t wide[kImageNameUnits];
    UINT w = 0, h = 0;
    if (!WidenWhole(name, wide, kImageNameUnits))
        return 1;
    ProbeImageSize(wide, w, h);
    if (w == 0 || h == 0)
        return 1;
    if (width)
        *width = static_cast<int>(w);
    if (height)
        *height = static_cast<int>(h);
    return 0;
}

int KRT_OpenImageFile(int slot, const char* name, int x, int y)
{
    if (slot < 0 || slot >= kImageSlots)
        return 4;
    if (ImageTable[slot].inUse)
        return 1;
    wchar_t wide[kImageNameUnits];
    PictureFile picture;
    if (!WidenWhole(name, wide, kImageNameUnits) || !ReadPictureFile(wide, picture))
        return 5;
    char title[kPictureTitleBytes];
    FormatPictureTitle(title, slot, picture.fileName);
    const int created = CreateImageWindow(slot, title, x, y, static_cast<int>(picture.width),
                                          static_cast<int>(picture.height), 100, 32, ScreenFit);
    if (created != 0)
        return created;
    // The file may have changed since its size was read, or decode no further than its header.
    if (KRT_LoadImageFile(picture.path, 0, 0) != 0) {
        KRT_DestroyImage(slot);
        RestorePreviousImage();  // the creation made the slot current
        return 5;
    }
    KRT_RefreshImage(slot);
    return 0;
}
