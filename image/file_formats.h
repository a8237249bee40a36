// The image file formats: their MIME types and extensions, the dialogs' filter lists, and
// making sure a file name ends in its format's extension.
#pragma once

enum ImageFormat { FormatBmp = 0, FormatJpeg = 1, FormatGif = 2, FormatPng = 3, FormatTiff = 4 };
constexpr int kImageFormatCount = 5;

constexpr const wchar_t* kFormatMime[kImageFormatCount] = {L"image/bmp", L"image/jpeg", L"image/gif",
                                                           L"image/png", L"image/tiff"};
constexpr const wchar_t* kFormatExtension[kImageFormatCount] = {L".bmp", L".jpg", L".gif", L".png",
                                                                L".tif"};

struct FileFilter {
    const char* text;
    const char* pattern;
};
constexpr FileFilter kOpenFilters[] = {
    {"All Files (*.*)", "*.*"},
    {"BMP (*.BMP;*.RLE;*.DIB)", "*.BMP;*.RLE;*.DIB"},
    {"JPEG (*.JPG;*.JPEG;*.JPE)", "*.JPG;*.JPEG;*.JPE"},
    {"CompuServe GIF (*.GIF)", "*.GIF"},
    {"PNG (*.PNG)", "*.PNG"},
    {"TIFF (*.TIF;*.TIFF)", "*.TIF;*.TIFF"},
    {"WMF (*.WMF)", "*.WMF"},
    {"EMF (*.EMF)", "*.EMF"},
    {"ICO (*.ICO)", "*.ICO"},
};
constexpr int kOpenFilterCount = sizeof kOpenFilters / sizeof kOpenFilters[0];
constexpr int kSaveFilterCount = 6;  // the first six: no WMF, EMF or ICO
static_assert(kOpenFilterCount == 9, "nine open filters");

// The format "&Save as" writes for a save-dialog filter index (counted from 1), or -1.
inline int FormatOfSaveFilter(int filterIndex)
{
    switch (filterIndex) {
    case 1:
    case 2: return FormatBmp;
    case 3: return FormatJpeg;
    case 4: return FormatGif;
    case 5: return FormatPng;
    case 6: return FormatTiff;
    default: return -1;
    }
}

// Appends `extension` (4 characters, lower case) unless the name's last 4 characters, in
// lower case, already equal it.  A name with no room for the extension within `capacity`
// units (terminator included) is left as it is and the result is false: a cut extension
// would name another file.
template <class Char>
bool EnsureExtension(Char* name, int capacity, const Char* extension)
{
    int length = 0;
    while (name[length])
        ++length;
    int extensionLength = 0;
    while (extension[extensionLength])
        ++extensionLength;
    if (length >= 4 && extensionLength == 4) {
        bool same = true;
        for (int i = 0; same && i < 4; ++i) {
            Char c = name[length - 4 + i];
            if (c >= 'A' && c <= 'Z')
                c = static_cast<Char>(c - 'A' + 'a');
            same = c == extension[i];
        }
        if (same)
            return true;
    }
    if (length + extensionLength + 1 > capacity)
        return false;
    for (int i = 0; i < extensionLength; ++i)
        name[length++] = extension[i];
    name[length] = 0;
    return true;
}
