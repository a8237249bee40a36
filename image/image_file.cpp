// Loading image files into the current image and saving it, through GDI+, with request 9003
// and the size probe of dropped files.  Every GDI+ and GDI object made here is released on
// every path.
#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/framework.h"
#include "core/gdi_handles.h"
#include "core/mailbox.h"
#include "core/text_convert.h"
#include "image/file_formats.h"
#include "image/file_headers.h"
#include "image/image_file.h"
#include "image/image_selection.h"
#include "image/image_table.h"
#include "krtlib.h"

namespace {

constexpr LONG kPixelsPerMetre72Dpi = 2834;

// GDI+ sizes bitmaps and strides in 32-bit integers.
bool FitsGdiplus(int width, int height)
{
    return static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4 <= INT32_MAX;
}

// The decoded file's palette replaces the first entries of an 8-bit image's palette.  How many
// comes from the count inside the palette, bounded by what its byte size holds: the byte size
// alone is not enough, since decoders report a 12-byte palette with a count of 0 for a file
// that has none (JPEG, 24-bit BMP, PNG, TIFF), and the one entry it seems to hold was never
// written.
void TakeOverPalette(Gdiplus::Image& image)
{
    const INT size = image.GetPaletteSize();
    if (size <= 8)
        return;
    std::unique_ptr<BYTE[]> bytes(new (std::nothrow) BYTE[size]());
    if (!bytes)
        return;
    auto* palette = reinterpret_cast<Gdiplus::ColorPalette*>(bytes.get());
    if (image.GetPalette(palette, size) != Gdiplus::Ok)
        return;
    UINT count = palette->Count;
    if (count > static_cast<UINT>((size - 8) / 4))
        count = (size - 8) / 4;
    if (count > 256)
        count = 256;  // an 8-bit image has no more entries
    if (count == 0)
        return;
    RGBQUAD entries[256];
    for (UINT i = 0; i < count; ++i) {
        const Gdiplus::ARGB argb = palette->Entries[i];
        entries[i] = {static_cast<BYTE>(argb), static_cast<BYTE>(argb >> 8), static_cast<BYTE>(argb >> 16), 0};
    }
    KRT_SetPalette(entries, static_cast<int>(count));
}

// The top-left width x height block of a 32-bit image as a 24-bit bitmap: the top byte of
// each pixel is dropped.  A block inside the image is read where it lies; one reaching past it
// is copied out first, with zeros outside the image.
std::unique_ptr<Gdiplus::Bitmap> Block32(int width, int height)
{
    const ImageRecord& record = ImageTable[CurrentImage];
    BYTE* rows = PixelTable[CurrentImage];
    INT stride = record.width * 4;
    std::unique_ptr<UINT32[]> copy;
    if (width > record.width || height > record.height) {
        copy.reset(new (std::nothrow) UINT32[static_cast<size_t>(width) * height]);
        if (!copy)
            return nullptr;
        KRT_GetImageBlock(copy.get(), 0, 0, width, height);
        rows = reinterpret_cast<BYTE*>(copy.get());
        stride = width * 4;
    }
    Gdiplus::Bitmap wrapper(width, height, stride, PixelFormat32bppRGB, rows);
    if (wrapper.GetLastStatus() != Gdiplus::Ok)
        return nullptr;
    return std::unique_ptr<Gdiplus::Bitmap>(wrapper.Clone(0, 0, width, height, PixelFormat24bppRGB));
}

// Saves an 8-bit image's block with its palette, at 72 dpi, through a DIB section that the
// bitmap reads its bits from (so the section is made first and released last).
bool Save8(int width, int height, const wchar_t* name, const CLSID& encoder,
           const Gdiplus::EncoderParameters* parameters)
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
    const OwnedBitmap section(
        CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0));
    std::unique_ptr<BYTE[]> packed(new (std::nothrow) BYTE[static_cast<size_t>(width) * height]);
    if (!section || !bits || !packed)
        return false;
    // The block comes out with packed rows; the DIB's rows are padded to 4 bytes.
    KRT_GetImageBlock(packed.get(), 0, 0, width, height);
    const size_t stride = static_cast<size_t>(ImageStride(width, 8));
    for (int y = 0; y < height; ++y)
        std::memcpy(static_cast<BYTE*>(bits) + y * stride, packed.get() + static_cast<size_t>(y) * width, width);
    Gdiplus::Bitmap bitmap(reinterpret_cast<BITMAPINFO*>(&info), bits);
    return bitmap.GetLastStatus() == Gdiplus::Ok && bitmap.Save(name, &encoder, parameters) == Gdiplus::Ok;
}

// Encodes the current image's block; false when a bitmap could not be made or the encoder
// failed.
bool Encode(int width, int height, int format, const wchar_t* name)
{
    const CLSID encoder = FindEncoder(kFormatMime[format]);
    ULONG quality = static_cast<ULONG>(jpegQuality);
    Gdiplus::EncoderParameters parameters;
    parameters.Count = 1;
    parameters.Parameter[0].Guid = Gdiplus::EncoderQuality;
    parameters.Parameter[0].NumberOfValues = 1;
    parameters.Parameter[0].Type = Gdiplus::EncoderParameterValueTypeLong;
    parameters.Parameter[0].Value = &quality;
    const Gdiplus::EncoderParameters* used = format == FormatJpeg ? &parameters : nullptr;

    if (ImageTable[CurrentImage].bitDepth == 8)
        return Save8(width, height, name, encoder, used);
    std::unique_ptr<Gdiplus::Bitmap> bitmap = Block32(width, height);
    // A GIF is encoded from indexed colours: some encoders write an empty file from 24-bit
    // data and still report success.
    if (bitmap && format == FormatGif)
        bitmap.reset(bitmap->Clone(0, 0, width, height, PixelFormat8bppIndexed));
    return bitmap && bitmap->GetLastStatus() == Gdiplus::Ok && bitmap->Save(name, &encoder, used) == Gdiplus::Ok;
}

// An empty file of its own beside the target, for the encoder to write into; its name is about
// as short as a target's can be, so that it fits wherever the target's does.  Empty when none
// could be made (a missing or read-only folder).
std::wstring MakeTemporaryFile(const wchar_t* target)
{
    const DWORD needed = GetFullPathNameW(target, 0, nullptr, nullptr);
    if (needed == 0)
        return {};
    std::vector<wchar_t> full(needed);
    wchar_t* filePart = nullptr;
    const DWORD length = GetFullPathNameW(target, needed, full.data(), &filePart);
    if (length == 0 || length >= needed || !filePart)
        return {};
    const std::wstring folder(full.data(), filePart);
    const unsigned seed = GetTickCount() ^ (GetCurrentProcessId() << 8);
    for (unsigned attempt = 0; attempt < 64; ++attempt) {
        wchar_t name[8];
        swprintf(name, 8, L"~%04X", (seed + attempt * 40503u) & 0xFFFF);
        const std::wstring candidate = folder + name;
        if (candidate.size() >= MAX_PATH)
            return {};
        const HANDLE file =
            CreateFileW(candidate.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return candidate;
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            return {};
    }
    return {};
}

// The installed encoders or decoders, in the platform's order; none when they cannot be read.
struct CodecList {
    std::unique_ptr<BYTE[]> buffer;
    UINT count = 0;

    const Gdiplus::ImageCodecInfo& At(UINT i) const
    {
        return reinterpret_cast<const Gdiplus::ImageCodecInfo*>(buffer.get())[i];
    }
};

CodecList InstalledCodecs(bool decoders)
{
    CodecList list;
    UINT size = 0;
    if ((decoders ? Gdiplus::GetImageDecodersSize(&list.count, &size)
                  : Gdiplus::GetImageEncodersSize(&list.count, &size)) != Gdiplus::Ok ||
        size == 0)
        return {};
    list.buffer.reset(new (std::nothrow) BYTE[size]);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(list.buffer.get());
    if (!codecs || (decoders ? Gdiplus::GetImageDecoders(list.count, size, codecs)
                             : Gdiplus::GetImageEncoders(list.count, size, codecs)) != Gdiplus::Ok)
        return {};
    return list;
}

// Whether the decoder that takes the file by its leading bytes (the first whose signature
// matches, as the platform chooses) is one of a format the library does not check: icons and
// metafiles, whose decoders check their files themselves.  A file that no decoder takes is no
// picture, and one that the decoder of a checked format takes must not reach it unchecked.
bool TakenByAnUncheckedDecoder(const unsigned char* bytes, std::size_t size)
{
    const CodecList decoders = InstalledCodecs(true);
    for (UINT i = 0; i < decoders.count; ++i) {
        const Gdiplus::ImageCodecInfo& decoder = decoders.At(i);
        for (DWORD s = 0; s < decoder.SigCount && decoder.SigSize <= size; ++s) {
            const BYTE* pattern = decoder.SigPattern + s * decoder.SigSize;
            const BYTE* mask = decoder.SigMask + s * decoder.SigSize;
            bool matches = true;
            for (DWORD b = 0; matches && b < decoder.SigSize; ++b)
                matches = (bytes[b] & mask[b]) == pattern[b];
            if (!matches)
                continue;
            for (const wchar_t* mime : kFormatMime)
                if (decoder.MimeType && std::wcscmp(decoder.MimeType, mime) == 0)
                    return false;
            return true;
        }
    }
    return false;
}

// The file at `path` as a stream over a copy of its bytes in memory, when it may go to the
// platform decoder: one of the five formats with a sound header, or a file that a decoder of
// another format takes (icons and metafiles).  Null otherwise.  The decoder never
// opens the file itself: given a path, it keeps the file open after some failed decodes, and
// the user could then neither replace nor delete it until the program ends.  The file is
// mapped for the checks, which touch only the pages that hold headers, directories and chunk
// lengths.
IStream* OpenCheckedImageFile(const wchar_t* path)
{
    const HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                                    nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    IStream* stream = nullptr;
    LARGE_INTEGER size = {};
    const HANDLE mapping = GetFileSizeEx(file, &size) && size.QuadPart > 0 &&
                                       static_cast<unsigned long long>(size.QuadPart) <= SIZE_MAX
                               ? CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr)
                               : nullptr;
    const void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0) : nullptr;
    if (view) {
        const auto* bytes = static_cast<const unsigned char*>(view);
        const std::size_t length = static_cast<std::size_t>(size.QuadPart);
        const FileHeader header = CheckImageFile(bytes, length);
        if (header.sound || (header.kind == FileKind::Other && TakenByAnUncheckedDecoder(bytes, length))) {
            if (const HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, length)) {
                void* to = GlobalLock(copy);
                if (to) {
                    std::memcpy(to, bytes, length);
                    GlobalUnlock(copy);
                }
                if (!to || CreateStreamOnHGlobal(copy, TRUE, &stream) != S_OK) {  // never a stream of unset bytes
                    stream = nullptr;
                    GlobalFree(copy);
                }
            }
        }
        UnmapViewOfFile(view);
    }
    if (mapping)
        CloseHandle(mapping);
    CloseHandle(file);
    return stream;
}

// A decoded picture with the stream it reads from, released after it.
struct CheckedImage {
    IStream* stream;
    std::unique_ptr<Gdiplus::Image> image;

    explicit CheckedImage(const wchar_t* path) : stream(OpenCheckedImageFile(path))
    {
        if (stream)
            image = std::make_unique<Gdiplus::Image>(stream);
    }
    ~CheckedImage()
    {
        image.reset();
        if (stream)
            stream->Release();
    }
    CheckedImage(const CheckedImage&) = delete;
    CheckedImage& operator=(const CheckedImage&) = delete;

    // Decoded, with a size the drawing can hold.
    bool Decoded() const
    {
        return image && image->GetLastStatus() == Gdiplus::Ok && DecodedSizeFits(image->GetWidth(), image->GetHeight());
    }
};

}  // namespace

CLSID FindEncoder(const wchar_t* mime)
{
    CLSID found = {};
    const CodecList encoders = InstalledCodecs(false);
    for (UINT i = 0; mime && i < encoders.count; ++i) {
        if (encoders.At(i).MimeType && std::wcscmp(encoders.At(i).MimeType, mime) == 0) {
            found = encoders.At(i).Clsid;
            break;
        }
    }
    return found;
}

int KRT_LoadImageFile(const char* name, int x, int y)
{
    EndUserThreadIfOverdue();
    if (!IsLiveImage(CurrentImage))
        return 2;
    wchar_t wide[kImageNameUnits];
    if (!WidenWhole(name, wide, kImageNameUnits))
        return 1;
    // Whatever the decoder made of the file, a size the drawing cannot hold (or a placement that
    // would carry its far edge past the coordinates) is no picture.
    const CheckedImage checked(wide);
    if (!checked.Decoded())
        return 1;
    Gdiplus::Image& image = *checked.image;
    const UINT width = image.GetWidth();
    const UINT height = image.GetHeight();
    if (static_cast<std::int64_t>(x) + width > INT32_MAX || static_cast<std::int64_t>(y) + height > INT32_MAX)
        return 1;
    const ImageRecord& record = ImageTable[CurrentImage];
    RGBQUAD palette[256];
    const bool eightBit = record.bitDepth == 8;
    if (eightBit) {
        KRT_GetPalette(palette);
        TakeOverPalette(image);
    }
    Gdiplus::Graphics surface(record.memoryDC);
    const bool drawn = surface.GetLastStatus() == Gdiplus::Ok &&
                       surface.DrawImage(&image, x, y, static_cast<INT>(width), static_cast<INT>(height)) == Gdiplus::Ok;
    // A picture the platform reads the size of but cannot draw (too large to decode, or its
    // data cut short) is a failed load, and the image keeps its palette too.
    if (!drawn && eightBit)
        KRT_SetPalette(palette, 256);
    return drawn ? 0 : 1;
}

int KRT_SaveImageFile(int height, int width, int format, const char* name)
{
    EndUserThreadIfOverdue();
    if (!IsLiveImage(CurrentImage))
        return 3;
    if (width <= 0 || height <= 0)
        return 2;
    wchar_t wide[kImageNameUnits];
    if (format < 0 || format >= kImageFormatCount || !FitsGdiplus(width, height) ||
        !WidenWhole(name, wide, kImageNameUnits) || !EnsureExtension(wide, kImageNameUnits, kFormatExtension[format]))
        return 1;
    // The encoder opens its file before it knows whether it will succeed: it writes beside the
    // target, which is replaced only by a whole file, so a failure leaves the user's file as it
    // was and nothing else behind.
    const std::wstring temporary = MakeTemporaryFile(wide);
    if (temporary.empty())
        return 1;
    if (!Encode(width, height, format, temporary.c_str()) ||
        !MoveFileExW(temporary.c_str(), wide, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileW(temporary.c_str());
        return 1;
    }
    return 0;
}

void LoadImageRequest(MailboxFields& request)
{
    // A slot that is not in use cannot be made current; loading would then go into whatever
    // image is current.
    if (KRT_SelectImage(request.slot) != 0) {
        request.result = 2;
        return;
    }
    request.result = KRT_LoadImageFile(request.path, request.x, request.y);
    RestorePreviousImage();
}

void ProbeImageSize(const wchar_t* path, UINT& width, UINT& height)
{
    const CheckedImage checked(path);
    const bool decoded = checked.Decoded();
    width = decoded ? checked.image->GetWidth() : 0;
    height = decoded ? checked.image->GetHeight() : 0;
}
