// Loading image files into the current image and saving it, through GDI+.  Every GDI+ and
// GDI object made here is released on every path.
#include <windows.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "core/text_convert.h"
#include "image/file_formats.h"
#include "image/image_file.h"
#include "image/image_table.h"
#include "krtlib.h"

int jpegQuality = 100;

namespace {

constexpr int kNameChars = 260;
constexpr LONG kPixelsPerMetre72Dpi = 2834;

bool CurrentInUse()
{
    return CurrentImage >= 0 && CurrentImage < kImageSlots && ImageTable[CurrentImage].inUse;
}

// The decoded file's palette replaces the first entries of an 8-bit image's palette; how many
// comes from the palette's byte size.
void TakeOverPalette(Gdiplus::Image& image)
{
    const INT size = image.GetPaletteSize();
    if (size <= 8)
        return;
    std::vector<BYTE> bytes(size);
    Gdiplus::ColorPalette* palette = reinterpret_cast<Gdiplus::ColorPalette*>(bytes.data());
    if (image.GetPalette(palette, size) != Gdiplus::Ok)
        return;
    int count = (size - 8) / 4;
    if (count > 256)
        count = 256;
    RGBQUAD entries[256];
    for (int i = 0; i < count; ++i) {
        const Gdiplus::ARGB argb = palette->Entries[i] & 0xFFFFFF;
        entries[i] = {static_cast<BYTE>(argb & 0xFF), static_cast<BYTE>((argb >> 8) & 0xFF),
                      static_cast<BYTE>((argb >> 16) & 0xFF), 0};
    }
    KRT_SetPalette(entries, count);
}

// A bitmap of the top-left width x height block of a 32-bit image, as 24-bit colour.
std::unique_ptr<Gdiplus::Bitmap> Block32(int width, int height)
{
    std::vector<UINT32> pixels;
    try {
        pixels.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    KRT_GetImageBlock(pixels.data(), 0, 0, width, height);
    Gdiplus::Bitmap wrapper(width, height, width * 4, PixelFormat32bppRGB,
                            reinterpret_cast<BYTE*>(pixels.data()));
    if (wrapper.GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return std::unique_ptr<Gdiplus::Bitmap>(wrapper.Clone(0, 0, width, height, PixelFormat24bppRGB));
}

// An 8-bit image's block with its palette, at 72 dpi.  The DIB section holding the bits must
// outlive the bitmap, so the caller keeps it.
struct IndexedBlock {
    HBITMAP section = nullptr;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    ~IndexedBlock()
    {
        bitmap.reset();
        if (section)
            DeleteObject(section);
    }
};

bool Block8(int width, int height, IndexedBlock& block)
{
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colours[256];
    } info = {};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = width;
    info.header.biHeight = -height;  // row 0 at the top
    info.header.biPlanes = 1;
    info.header.biBitCount = 8;
    info.header.biCompression = BI_RGB;
    info.header.biXPelsPerMeter = kPixelsPerMetre72Dpi;
    info.header.biYPelsPerMeter = kPixelsPerMetre72Dpi;
    KRT_GetPalette(info.colours);
    void* bits = nullptr;
    block.section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS,
                                     &bits, nullptr, 0);
    if (!block.section)
        return false;
    // The block comes out with packed rows; the DIB's rows are padded to 4 bytes.
    std::vector<BYTE> packed;
    try {
        packed.resize(static_cast<size_t>(width) * height);
    } catch (const std::bad_alloc&) {
        return false;
    }
    KRT_GetImageBlock(packed.data(), 0, 0, width, height);
    const size_t stride = static_cast<size_t>(ImageStride(width, 8));
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<BYTE*>(bits) + y * stride, packed.data() + static_cast<size_t>(y) * width,
                    width);
    block.bitmap.reset(new Gdiplus::Bitmap(reinterpret_cast<BITMAPINFO*>(&info), bits));
    return block.bitmap->GetLastStatus() == Gdiplus::Ok;
}

}  // namespace

CLSID FindEncoder(const wchar_t* mime)
{
    CLSID found = {};
    UINT count = 0, size = 0;
    if (Gdiplus::GetImageEncodersSize(&count, &size) != Gdiplus::Ok || size == 0)
        return found;
    std::vector<BYTE> buffer(size);
    Gdiplus::ImageCodecInfo* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (Gdiplus::GetImageEncoders(count, size, encoders) != Gdiplus::Ok)
        return found;
    for (UINT i = 0; i < count; ++i) {
        if (encoders[i].MimeType && std::wcscmp(encoders[i].MimeType, mime) == 0) {
            found = encoders[i].Clsid;
            break;
        }
    }
    return found;
}

int KRT_LoadImageFile(const char* name, int x, int y)
{
    if (!CurrentInUse())
        return 2;
    wchar_t wide[kNameChars];
    WidenText(name, wide, kNameChars);
    Gdiplus::Image image(wide);
    const UINT width = image.GetLastStatus() == Gdiplus::Ok ? image.GetWidth() : 0;
    const UINT height = image.GetLastStatus() == Gdiplus::Ok ? image.GetHeight() : 0;
    if (width == 0 || height == 0)
        return 1;
    const ImageRecord& record = ImageTable[CurrentImage];
    if (record.bitDepth == 8)
        TakeOverPalette(image);
    Gdiplus::Graphics surface(record.memoryDC);
    surface.DrawImage(&image, x, y, static_cast<INT>(width), static_cast<INT>(height));
    return 0;
}

int KRT_SaveImageFile(int height, int width, int format, const char* name)
{
    if (!CurrentInUse())
        return 3;
    if (width <= 0 || height <= 0)
        return 2;
    if (format < 0 || format >= kImageFormatCount)
        return 1;
    const ImageRecord& record = ImageTable[CurrentImage];
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    IndexedBlock indexed;
    Gdiplus::Bitmap* toEncode = nullptr;
    if (record.bitDepth == 32) {
        bitmap = Block32(width, height);
        // A GIF is encoded from indexed colours: some encoders write an empty file from 24-bit
        // data and still report success.
        if (bitmap && format == FormatGif)
            bitmap.reset(bitmap->Clone(0, 0, width, height, PixelFormat8bppIndexed));
        toEncode = bitmap.get();
    } else if (Block8(width, height, indexed)) {
        toEncode = indexed.bitmap.get();
    }
    if (!toEncode || toEncode->GetLastStatus() != Gdiplus::Ok)
        return 1;

    const CLSID encoder = FindEncoder(kFormatMime[format]);
    wchar_t wide[kNameChars];
    WidenText(name, wide, kNameChars);
    EnsureExtension(wide, kNameChars, kFormatExtension[format]);
    ULONG quality = static_cast<ULONG>(jpegQuality);
    Gdiplus::EncoderParameters parameters;
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    const Gdiplus::Status status =
        toEncode->Save(wide, &encoder, format == FormatJpeg ? &parameters : nullptr);
    return status == Gdiplus::Ok ? 0 : 1;
}
